#include "launcher/form2.h"
#include "launcher/progress.h"
#include "forms/colors.h"
#include "forms/msgbox.h"
#include "forms/pictures.h"
#include <QPointer>

namespace launcher {

const char *const Form2::CompletedText = "System Control is has been completed.";
const char *const Form2::StoppedText = "You have stopped System Control.";

Form2::Form2(QWidget *parent) : forms::Form(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setCaption(QStringLiteral("System Control"));
    setBorderStyle(forms::BorderStyle::FixedToolWindow);
    setShowInTaskbar(false);
    setClientSizeTwips(5040, 2910);
    setStartUpPosition(forms::StartUpPosition::CenterScreen);
    setPicture(forms::picture(QStringLiteral(":/launcher/pictures/controlpanel.svg"), size()));

    Label1 = new forms::Label(this, QStringLiteral("Label1"),
                              QStringLiteral("Tavolin's System Control allows you to customize your system. "
                                             "By choosing Control Full, your system will run files and programs "
                                             "faster than before."),
                              {120, 120, 4935, 855});
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setTransparent(true);
    forms::setForeColor(Label1, forms::SystemColor::HighlightText);
    forms::setFont(Label1, QStringLiteral("Trebuchet MS"), 8.25);

    Command1 = new forms::CommandButton(this, QStringLiteral("Command1"), QStringLiteral("Run System Control Full"),
                                        {1440, 1080, 2295, 255});
    Command2 = new forms::CommandButton(this, QStringLiteral("Command2"), QStringLiteral("Run System Control Low"),
                                        {1440, 1560, 2295, 255});
    Line1 = new forms::Line(this, QStringLiteral("Line1"), {360, 1920}, {4800, 1920}, forms::SystemColor::Menu);
    ProgressBar1 = new forms::ProgressBar(this, QStringLiteral("ProgressBar1"), QStringLiteral("System Control progress"),
                                          {240, 2040, 4695, 255}, 0, 100);
    Command4 = new forms::CommandButton(this, QStringLiteral("Command4"), QStringLiteral("Stop System Control"),
                                        {1440, 2400, 2295, 255});
    for (forms::CommandButton *b : {Command1, Command2, Command4})
        forms::setFont(b, QStringLiteral("Trebuchet MS"), 8.25);
    Timer1 = new forms::Timer(this, 2000, false);

    connect(Command1, &QPushButton::clicked, this, &Form2::runFull);
    connect(Command2, &QPushButton::clicked, this, &Form2::runLow);
    connect(Command4, &QPushButton::clicked, this, &Form2::stopRun);
    connect(Timer1, &forms::Timer::tick, this, &Form2::timerTick);
}

void Form2::runFull()
{
    // Full keeps the interval the timer has: 2000 ms, or 1000 ms after a Low run.
    Timer1->setEnabled(true);
    Command2->setEnabled(false);
}

void Form2::runLow()
{
    Timer1->setEnabled(true);
    Command1->setEnabled(false);
    Timer1->setInterval(1000);
}

void Form2::stopRun()
{
    Timer1->setEnabled(false);
    QPointer<Form2> self(this);
    forms::msgBox(QLatin1String(StoppedText));
    if (!self)
        return;
    ProgressBar1->setValue(0.0f);
    Command1->setEnabled(true);
    Command2->setEnabled(true);
}

void Form2::timerTick()
{
    if (stepProgress(ProgressBar1) == ProgressTick::Completed) {
        // The timer is off before the message, so no tick comes while it is open.
        Timer1->setEnabled(false);
        forms::msgBox(QLatin1String(CompletedText));
    }
}

void Form2::formUnload()
{
    // Closing in the middle of a run ends it without a word.
    Timer1->setEnabled(false);
}

} // namespace launcher
