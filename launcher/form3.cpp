#include "launcher/form3.h"
#include "forms/colors.h"
#include "forms/msgbox.h"
#include "forms/pictures.h"
#include <QPointer>

namespace launcher {

const char *const Form3::NoteText = "NOTE : Tavolin's Security does not protect any software not supported by "
                                    "Norvel. Includes but not limited to Microsoft Windows.";
const char *const Form3::SavedText = "Settings Saved";

namespace {
forms::Label *noteLabel(QWidget *parent, const char *name, const char *caption, forms::TwipsRect rect)
{
    auto *label = new forms::Label(parent, QLatin1String(name), QLatin1String(caption), rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTransparent(true);
    forms::setForeColor(label, forms::SystemColor::ButtonFace);
    forms::setFont(label, QStringLiteral("Trebuchet MS"), 8.25);
    return label;
}
} // namespace

Form3::Form3(QWidget *parent) : forms::Form(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setCaption(QStringLiteral("System Security"));
    setBorderStyle(forms::BorderStyle::FixedToolWindow);
    setShowInTaskbar(false);
    setClientSizeTwips(3675, 2640);
    setStartUpPosition(forms::StartUpPosition::CenterScreen);
    setPicture(forms::picture(QStringLiteral(":/launcher/pictures/controlpanel.svg"), size()));

    // Wider than the window: its right end is clipped.
    Label1 = noteLabel(this, "Label1", "Please select your desire system security.", {120, 120, 4815, 255});
    Command1 = new forms::CommandButton(this, QStringLiteral("Command1"), QStringLiteral("Low Security"),
                                        {120, 480, 3495, 255});
    Command2 = new forms::CommandButton(this, QStringLiteral("Command2"), QStringLiteral("Default Setting"),
                                        {120, 840, 3495, 255});
    Command3 = new forms::CommandButton(this, QStringLiteral("Command3"), QStringLiteral("High Security"),
                                        {120, 1200, 3495, 255});
    for (forms::CommandButton *b : {Command1, Command2, Command3})
        forms::setFont(b, QStringLiteral("Trebuchet MS"), 8.25);
    Line1 = new forms::Line(this, QStringLiteral("Line1"), {120, 1560}, {3600, 1560}, forms::SystemColor::ButtonFace);
    Label2 = noteLabel(this, "Label2",
                       "NOTE : Having High Security, may slow down your computer performance. Having Low "
                       "Security will improve your systems performance.",
                       {120, 1680, 3495, 975});
    Label2->setWordWrap(true);

    for (forms::CommandButton *b : {Command1, Command2, Command3})
        connect(b, &QPushButton::clicked, this, &Form3::chooseLevel);
}

void Form3::chooseLevel()
{
    QPointer<Form3> self(this);
    forms::msgBox(QLatin1String(SavedText));
    if (self)
        unload();
}

} // namespace launcher
