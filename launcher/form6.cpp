#include "launcher/form6.h"
#include "forms/colors.h"
#include "forms/pictures.h"

namespace launcher {

const char *const Form6::MarketAddress = "http://www.brambleton.example/market/";

Form6::Form6(QWidget *parent) : forms::Form(parent)
{
    setObjectName(QStringLiteral("Form6"));
    setCaption(QStringLiteral("Tavolin Online MarketPlace"));
    setBorderStyle(forms::BorderStyle::FixedToolWindow);
    setShowInTaskbar(false);
    setClientSizeTwips(5550, 5820);
    setStartUpPosition(forms::StartUpPosition::CenterOwner);
    setBackColor(0x00FFFFFF);
    setPicture(forms::picture(QStringLiteral(":/launcher/pictures/background.svg"), size()));

    WebBrowser1 = new webview::WebBrowser(this, QStringLiteral("WebBrowser1"), {120, 120, 5295, 4695});
    Label1 = new forms::Label(this, QStringLiteral("Label1"),
                              QStringLiteral("** Internet Connection Required. Please be sure you are connected "
                                             "to the internet before accessing the MarketPlace."),
                              {120, 4920, 5295, 615});
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setTransparent(true);
    forms::setForeColor(Label1, forms::SystemColor::HighlightText);
    forms::setFont(Label1, QStringLiteral("Trebuchet MS"), 9);
    Command1 = new forms::CommandButton(this, QStringLiteral("Command1"), QStringLiteral("Refresh"),
                                        {240, 5520, 1335, 255});
    Command2 = new forms::CommandButton(this, QStringLiteral("Command2"), QStringLiteral("Close"),
                                        {3840, 5520, 1335, 255});

    for (forms::CommandButton *b : {Command1, Command2})
        forms::setFont(b, QStringLiteral("Trebuchet MS"), 8.25);

    connect(Command1, &QPushButton::clicked, WebBrowser1, &webview::WebBrowser::Refresh);
    connect(Command2, &QPushButton::clicked, this, &Form6::unload);
}

void Form6::formLoad()
{
    // No check for a connection first: being online is left to the user, as the note says.
    WebBrowser1->Navigate(QLatin1String(MarketAddress));
}

} // namespace launcher
