#include "about/frmabout.h"
#include "forms/msgbox.h"
#include "forms/pictures.h"
#include "forms/program.h"
#include "shell/launch.h"
#include <QFile>
#include <QKeyEvent>
#include <QPointer>

namespace about {

const char *const frmAbout::SysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char *const frmAbout::SysInfoValue = "PATH";
const char *const frmAbout::SysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char *const frmAbout::SysInfoLocationValue = "MSINFO";
const char *const frmAbout::UnavailableText = "System Information Is Unavailable At This Time";

namespace {
// Read access plus the rights to query and set values, create and enumerate subkeys,
// be told of changes and create links.
constexpr std::uint32_t KeyAllAccess = 0x2003F;
constexpr int BufferSize = 1024;

const QString LauncherFont = QStringLiteral("Trebuchet MS");
const QString EditorFont = QStringLiteral("MS Sans Serif");

forms::Label *label(QWidget *parent, const char *name, const QString &caption, forms::TwipsRect rect,
                    Configuration configuration)
{
    auto *l = new forms::Label(parent, QLatin1String(name), caption, rect);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (configuration == Configuration::Launcher) {
        l->setTransparent(true);
        forms::setForeColor(l, 0x00FFFFFF);
        forms::setFont(l, LauncherFont, 8.25);
    } else {
        forms::setForeColor(l, 0x00000000);
        forms::setFont(l, EditorFont, 8.25, true);
    }
    return l;
}

// The icon sizes its box to the picture.
void setIcon(forms::ImageBox *box, const QString &path)
{
    if (!QFile::exists(path))
        return;   // a program that carries no such picture
    const QPixmap picture = forms::picture(path, QSize(32, 32));
    if (picture.isNull())
        return;
    box->setPicture(picture);
    box->resize(32, 32);
}
} // namespace

frmAbout::frmAbout(Configuration configuration, QWidget *parent)
    : forms::Form(parent), m_configuration(configuration)
{
    setObjectName(QStringLiteral("frmAbout"));
    setShowInTaskbar(false);
    setStartUpPosition(forms::StartUpPosition::CenterOwner);   // the screen when it has no owner
    if (configuration == Configuration::Launcher)
        createLauncherControls();
    else
        createEditorControls();
    const QString buttonFont = configuration == Configuration::Launcher ? LauncherFont : EditorFont;
    forms::setFont(cmdOK, buttonFont, 8.25);
    forms::setFont(cmdSysInfo, buttonFont, 8.25);
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    setFocusProxy(cmdOK);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::unload);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

void frmAbout::createLauncherControls()
{
    const auto c = Configuration::Launcher;
    setCaption(QStringLiteral("About"));
    setBorderStyle(forms::BorderStyle::FixedToolWindow);
    setClientSizeTwips(5730, 3555);
    setBackColor(0x00000000);

    picIcon = new forms::ImageBox(this, QStringLiteral("picIcon"), QStringLiteral("Icon"), {240, 240, 480, 480});
    setIcon(picIcon, QStringLiteral(":/launcher/pictures/icon.svg"));
    lblTitle = label(this, "lblTitle", QStringLiteral("Application Title"), {1050, 240, 3885, 480}, c);
    lblVersion = label(this, "lblVersion", QStringLiteral("Version"), {1050, 780, 3885, 225}, c);
    lblDescription = label(this, "lblDescription",
                           QStringLiteral("Designed and written for Brambleton Software by "
                                          "Marek Lindqvist, Ana Sorel and Tomas Brey."),
                           {1050, 1125, 3885, 1170}, c);
    lblDisclaimer = label(this, "lblDisclaimer", QString(), {255, 2625, 3870, 825}, c);
    cmdOK = new forms::CommandButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"), {4245, 2625, 1260, 345});
    cmdSysInfo = new forms::CommandButton(this, QStringLiteral("cmdSysInfo"), QStringLiteral("&System Info..."),
                                          {4260, 3075, 1245, 345});
    Line1[1] = new forms::Line(this, QStringLiteral("Line1(1)"), {90, 2445}, {5654, 2445}, 0x00808080, 1);
    Line1[0] = new forms::Line(this, QStringLiteral("Line1(0)"), {105, 2460}, {5654, 2460}, 0x00FFFFFF, 2);
}

void frmAbout::createEditorControls()
{
    const auto c = Configuration::Editor;
    setCaption(QStringLiteral("Quillet"));
    setBorderStyle(forms::BorderStyle::FixedDialog);
    setClientSizeTwips(6840, 3630);

    picIcon = new forms::ImageBox(this, QStringLiteral("picIcon"), QStringLiteral("Icon"), {240, 240, 540, 540});
    forms::setBackColor(picIcon, 0x00C0C0C0);
    setIcon(picIcon, QStringLiteral(":/appicon/appicon.svg"));
    lblTitle = label(this, "lblTitle", QStringLiteral("Application Title"), {1050, 240, 3885, 480}, c);
    lblVersion = label(this, "lblVersion", QStringLiteral("Version"), {1050, 780, 3885, 225}, c);
    lblDescription = label(this, "lblDescription", QStringLiteral("Free DownLoad"), {1050, 1125, 3885, 1170}, c);
    lblDisclaimer = label(this, "lblDisclaimer",
                          QStringLiteral("Copyright \u00A9 2005 Brambleton Software. All rights reserved."),
                          {240, 2625, 6375, 225}, c);
    Label1 = label(this, "Label1", QStringLiteral("E-mail: quillet@brambleton.example"), {1320, 2880, 2985, 195}, c);
    Label1->setWordWrap(false);
    Label1->adjustSize();   // sizes itself to its text
    cmdOK = new forms::CommandButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"), {5280, 840, 1260, 345});
    cmdSysInfo = new forms::CommandButton(this, QStringLiteral("cmdSysInfo"), QStringLiteral("&System Info..."),
                                          {5280, 1320, 1245, 345});
    Line1[1] = new forms::Line(this, QStringLiteral("Line1(1)"), {360, 2430}, {6360, 2430}, 0x00808080, 1);
    Line1[0] = new forms::Line(this, QStringLiteral("Line1(0)"), {360, 2445}, {6360, 2445}, 0x00FFFFFF, 2);
}

void frmAbout::formLoad()
{
    const forms::ProgramInfo &program = forms::program();
    if (m_configuration == Configuration::Launcher) {
        setCaption(QStringLiteral("About ") + program.title);
        lblVersion->setCaption(forms::versionText(program));
        lblTitle->setCaption(program.title);
    } else {
        // The editor's box keeps its own name whatever the program title.
        lblVersion->setCaption(forms::versionText(program));
        lblTitle->setCaption(QStringLiteral("Quillet [ Free Edition ]"));
    }
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    // OK is the default button and the cancel button. Enter on the focused System Info
    // button presses that one instead, as it would on any dialog.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (focusWidget() == cmdSysInfo)
            cmdSysInfo->click();
        else
            cmdOK->click();
        return;
    case Qt::Key_Escape:
        cmdOK->click();
        return;
    default:
        forms::Form::keyPressEvent(event);
    }
}

void frmAbout::StartSysInfo()
{
    QPointer<frmAbout> self(this);
    try {
        QString path;
        if (GetKeyValue(registry::HKEY_LOCAL_MACHINE, QLatin1String(SysInfoKey), QLatin1String(SysInfoValue), path)) {
            // The command is started as given, without checking that the program exists.
            if (shell::startProgram(path))
                return;
        } else if (GetKeyValue(registry::HKEY_LOCAL_MACHINE, QLatin1String(SysInfoLocationKey),
                               QLatin1String(SysInfoLocationValue), path)
                   && !shell::ordinaryFileName(path + QStringLiteral("\\MSINFO32.EXE")).isEmpty()) {
            path += QStringLiteral("\\MSINFO32.EXE");
            if (shell::startProgram(path))
                return;
        }
    } catch (const std::exception &) {
        // Any failure on the way is reported by the one message below.
    }
    if (self)
        forms::msgBox(QLatin1String(UnavailableText), forms::MsgBoxStyle::OkOnly, QString(), QString(), 0, this);
}

bool frmAbout::GetKeyValue(registry::Key KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                           QString &KeyVal)
{
    registry::Key hKey = 0;
    // The key is closed on every way out, the failed cut included.
    struct Closer {
        registry::Key &key;
        ~Closer() { registry::closeKey(key); }
    } closer{hKey};

    if (registry::openKey(KeyRoot, KeyName.toLocal8Bit(), 0, KeyAllAccess, &hKey) != registry::Result::Success) {
        KeyVal.clear();
        return false;
    }
    QByteArray buffer(BufferSize, '\0');
    std::uint32_t count = BufferSize;
    std::uint32_t type = 0;
    if (registry::queryValue(hKey, SubKeyRef.toLocal8Bit(), nullptr, &type,
                             reinterpret_cast<unsigned char *>(buffer.data()), &count)
        != registry::Result::Success) {
        KeyVal.clear();
        return false;
    }

    // Cut the buffer to length. The 8-bit code page has one byte per character, so the
    // cut counts bytes.
    QByteArray cut;
    if (m_configuration == Configuration::Editor) {
        // Everything before the first NUL.
        const int nul = buffer.indexOf('\0');
        if (nul < 0)
            throw CutError("the value fills the whole buffer");
        cut = buffer.left(nul);
    } else {
        // The byte count says how much is the value; a NUL at its end is left off.
        if (count == 0)
            throw CutError("the value is empty");
        cut = buffer.at(int(count) - 1) == '\0' ? buffer.left(int(count) - 1) : buffer.left(int(count));
    }

    switch (type) {
    case registry::Type::Text:
        KeyVal = QString::fromLocal8Bit(cut);
        break;
    case registry::Type::Number:
        // The bytes from the last to the first, each in upper-case hexadecimal without
        // leading zeros; the general formatting of such a text with no pattern leaves it
        // as it is.
        for (int i = cut.size() - 1; i >= 0; --i)
            KeyVal += QString::number(uchar(cut.at(i)), 16).toUpper();
        KeyVal = QStringLiteral("&h") + KeyVal;
        break;
    default:
        break;   // any other type leaves KeyVal as it was
    }
    return true;
}

} // namespace about
