#include "launcher/form9.h"
#include "launcher/form1.h"
#include "launcher/program.h"
#include "settings/settings.h"

namespace launcher {

Form9::Form9(QWidget *parent) : forms::Form(parent)
{
    setObjectName(QStringLiteral("Form9"));
    setCaption(QString());
    setAccessibleName(QStringLiteral("Programs"));
    setBorderStyle(forms::BorderStyle::None);
    setShowInTaskbar(false);
    setBackColor(0x00000000);
    setClientSizeTwips(6675, 4935);
    setStartUpPosition(forms::StartUpPosition::CenterOwner);

    // The view reaches 60 twips past the right edge; the window clips it.
    WebBrowser1 = new webview::WebBrowser(this, QStringLiteral("WebBrowser1"), {0, 0, 6735, 4455});
    Command1 = new forms::CommandButton(this, QStringLiteral("Command1"), QStringLiteral("Close Window"),
                                        {2280, 4560, 1935, 255});
    Text1 = new forms::TextBox(this, QStringLiteral("Text1"), QStringLiteral("Category"), {480, 4560, 735, 285});
    Text1->hide();

    connect(Command1, &QPushButton::clicked, this, &Form9::unload);
}

QString Form9::folderFor(const QString &value)
{
    for (const Form1::Category &c : Form1::Categories) {
        if (value == QLatin1String(c.value))
            return QLatin1String(c.folder);
    }
    return {};
}

void Form9::formLoad()
{
    Text1->setText(settings::getSetting(SettingsApplication, SettingsSection, SettingsKey, QString()));
    const QString folder = folderFor(Text1->text());
    if (!folder.isEmpty())
        WebBrowser1->Navigate(folder);
}

} // namespace launcher
