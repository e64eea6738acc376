#include "launcher/form7.h"
#include "about/frmabout.h"
#include "launcher/progress.h"
#include "forms/colors.h"
#include "forms/pictures.h"
#include "forms/program.h"

namespace launcher {

Form7::Form7(QWidget *parent) : forms::Form(parent)
{
    setObjectName(QStringLiteral("Form7"));
    setCaption(QString());
    setAccessibleName(QStringLiteral("Closing Tavolin"));
    setBorderStyle(forms::BorderStyle::None);
    setShowInTaskbar(false);
    setClientSizeTwips(5550, 3210);
    setStartUpPosition(forms::StartUpPosition::CenterScreen);
    setPicture(forms::picture(QStringLiteral(":/launcher/pictures/closing.svg"), size()));

    Label1 = new forms::Label(this, QStringLiteral("Label1"), QStringLiteral("Thank you for using Tavolin."),
                              {1680, 2040, 2295, 735});
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setTransparent(true);
    forms::setForeColor(Label1, forms::SystemColor::HighlightText);
    forms::setFont(Label1, QStringLiteral("Trebuchet MS"), 12, true);

    Label2 = new forms::Label(this, QStringLiteral("Label2"), QStringLiteral("About Tavolin"), {120, 2640, 1455, 255});
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setTransparent(true);
    forms::setForeColor(Label2, 0x00FFFFFF);
    forms::setFont(Label2, QStringLiteral("Trebuchet MS"), 8.25, true);
    Label2->setCursor(Qt::PointingHandCursor);

    ProgressBar1 = new forms::ProgressBar(this, QStringLiteral("ProgressBar1"), QStringLiteral("Closing"),
                                          {120, 2880, 5295, 255}, 0, 100);
    Timer1 = new forms::Timer(this, 50, false);

    connect(Timer1, &forms::Timer::tick, this, &Form7::timerTick);
    connect(Label2, &forms::Label::clicked, this, &Form7::showAbout);
}

void Form7::formLoad()
{
    // The bar starts filling when the screen is loaded.
    Timer1->setEnabled(true);
}

void Form7::formUnload()
{
    // An unloaded screen never ends the program.
    Timer1->setEnabled(false);
}

void Form7::timerTick()
{
    if (stepProgress(ProgressBar1) == ProgressTick::Completed) {
        // The tick after the bar is full ends the program.
        Timer1->setEnabled(false);
        forms::endProgram();
    }
}

void Form7::showAbout()
{
    // The screen goes first, so its timer can no longer end the program; the About box
    // is then the launcher's last window, and closing it ends the program.
    unload();
    (new about::frmAbout(about::Configuration::Launcher))->showModeless();
}

} // namespace launcher
