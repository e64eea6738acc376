#include "mp3player/form1.h"
#include "mp3player/program.h"
#include "forms/msgbox.h"
#include "forms/pictures.h"
#include "mci/mci.h"
#include <QApplication>
#include <QFile>
#include <QPointer>
#include <cstring>

namespace mp3player {

namespace {

const QByteArray Alias = QByteArrayLiteral("MP3Play");

// Commands whose answer is not looked at: no return buffer, no callback window.
void send(const QByteArray &command)
{
    mci::sendString(command.constData(), nullptr, 0, nullptr);
}

// Text assigned to a fixed field: cut at its length or filled out with blanks.
QByteArray fixedField(QByteArray text, int length)
{
    text.truncate(length);
    return text + QByteArray(length - text.size(), ' ');
}

} // namespace

Form1::Form1(QWidget *parent) : forms::Form(parent)
{
    createControls();
    connectEvents();
}

void Form1::createControls()
{
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Mp3 Player"));
    setBorderStyle(forms::BorderStyle::FixedSingle);
    setMinButton(false);
    setMaxButton(false);
    setClientSizeTwips(4425, 1230);
    setStartUpPosition(forms::StartUpPosition::Manual, QPoint(345, 630));
    setWindowIcon(forms::icon(QStringLiteral(":/appicon/appicon.svg")));

    Command1 = new forms::CommandButton(this, QStringLiteral("Command1"), QStringLiteral("Open"), {120, 120, 975, 375});
    Command3 = new forms::CommandButton(this, QStringLiteral("Command3"), QStringLiteral("Close"), {1200, 120, 975, 375});
    Check1 = new forms::CheckBox(this, QStringLiteral("Check1"), QStringLiteral("Loop"), {2400, 120, 855, 255});
    Picture1 = new forms::ImageBox(this, QStringLiteral("Picture1"), QStringLiteral("Mp3 Player"), {3720, 120, 480, 480});
    Command2 = new forms::CommandButton(this, QStringLiteral("Command2"), QStringLiteral("Pause"), {120, 600, 975, 375});
    Command4 = new forms::CommandButton(this, QStringLiteral("Command4"), QStringLiteral("Back"), {1200, 600, 975, 375});
    Command5 = new forms::CommandButton(this, QStringLiteral("Command5"), QStringLiteral("Exit"), {2400, 600, 975, 375});
    for (QWidget *control : {static_cast<QWidget *>(Command1), static_cast<QWidget *>(Command3),
                             static_cast<QWidget *>(Check1), static_cast<QWidget *>(Command2),
                             static_cast<QWidget *>(Command4), static_cast<QWidget *>(Command5)})
        forms::setFont(control, QStringLiteral("Arial"), 8.25, true);

    // The picture box takes the size of its picture, the 32 x 32 icon, and no border.
    const QPixmap icon = forms::picture(QStringLiteral(":/appicon/appicon.svg"), QSize(32, 32));
    Picture1->setStretch(false);
    Picture1->setPicture(icon);
    Picture1->resize(icon.deviceIndependentSize().toSize());

    Command3->setEnabled(false);
    Command2->setEnabled(false);
    Command4->setEnabled(false);
    Check1->setValue(0);
    Timer1 = new forms::Timer(this, 1, false);

    m_openFile.mode = forms::FileDialogRequest::Open;
    m_openFile.filterIndex = 0;
}

void Form1::connectEvents()
{
    connect(Command1, &QPushButton::clicked, this, &Form1::command1Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::command2Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::command3Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::command4Click);
    connect(Command5, &QPushButton::clicked, this, [this] { unload(); });
    connect(Check1, &QCheckBox::clicked, this, &Form1::checkClick);
    connect(Timer1, &forms::Timer::tick, this, &Form1::timer1Timer);
}

// Open: no second file while one is chosen, and no leaving while the dialog is up.
void Form1::command1Click()
{
    Command1->setEnabled(false);
    Command5->setEnabled(false);
    showOpenDialog();
}

void Form1::showOpenDialog()
{
    m_openFile.owner = this;
    m_openFile.filter = QStringLiteral("mp3 (*.mp3)|*.mp3");
    m_openFile.fileName.clear();
    m_openFile.fileMustExist = true;
    m_openFile.hideReadOnly = true;

    // Let the window catch up with what is pending before the dialog takes over; the
    // window may be closed while it does, and then there is nothing left to open.
    QPointer<Form1> self(this);
    QCoreApplication::processEvents();
    if (!self || m_unloaded)
        return;

    const forms::FileDialogResult chosen = forms::showFileDialog(m_openFile);
    if (!self || m_unloaded)
        return;
    if (chosen.accepted) {
        m_openFile.filterIndex = chosen.filterIndex;
        m_currentFile = chosen.fileName;
        MP3Play(m_currentFile);
        if (!self || m_unloaded)
            return;
        Command2->setEnabled(true);
        Command3->setEnabled(true);
        Command4->setEnabled(true);
    } else {
        Command1->setEnabled(true);
    }
    Command5->setEnabled(true);
}

// Pause/Play: the caption says what a click will do.
void Form1::command2Click()
{
    if (Command2->text() != QLatin1String("Pause")) {
        Command2->setText(QStringLiteral("Pause"));
        MP3UnPause();
    } else {
        Command2->setText(QStringLiteral("Play"));
        MP3Pause();
    }
}

void Form1::command3Click()
{
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    Command4->setEnabled(false);
    Command1->setEnabled(true);
    Command2->setText(QStringLiteral("Pause"));
    MP3Stop();
}

void Form1::command4Click()
{
    MP3Restart();
    Command2->setText(QStringLiteral("Pause"));
}

// The box has already changed when this runs; the timer follows the click and the
// box is set to agree with the timer.
void Form1::checkClick()
{
    Timer1->setEnabled(!Timer1->isEnabled());
    Check1->setValue(Timer1->isEnabled() ? 1 : 0);
}

// Loop: a chosen file that is not playing and that the user has not paused is
// played again from the start.
void Form1::timer1Timer()
{
    const bool playing = IsPlaying();
    const bool fileChosen = !Command1->isEnabled();
    const bool notPaused = Command2->text() == QLatin1String("Pause");
    if (!playing && fileChosen && notPaused)
        command4Click();
}

void Form1::formUnload()
{
    m_unloaded = true;
    Timer1->setEnabled(false);
    MP3Stop();
}

void Form1::MP3Play(const QString &sFileName)
{
    if (mci::ordinaryFileName(sFileName).isEmpty())
        return;   // gone since it was chosen: nothing to play, nothing to say

    char shortName[255] = {};
    const unsigned long n = mci::getShortPathName(QFile::encodeName(sFileName).constData(), shortName,
                                                  sizeof shortName);
    // A short form that did not fit the field counts as none.
    const QByteArray name = n < sizeof shortName ? QByteArray(shortName, int(n)) : QByteArray();

    const QByteArray command = fixedField("open " + name + " type MPEGVideo Alias " + Alias, 255);
    const mci::Error error = mci::sendString(command.constData(), nullptr, 0, nullptr);
    if (error != 0) {
        char errorText[128] = {};
        mci::getErrorString(error, errorText, sizeof errorText);
        forms::msgBox(QString::fromLocal8Bit(errorText), forms::MsgBoxStyle::OkOnly | forms::MsgBoxStyle::Critical,
                      programInfo().title, QString(), 0, this);
        return;
    }
    send("play " + Alias);
}

void Form1::MP3Pause() { send("pause " + Alias); }

void Form1::MP3UnPause() { send("play " + Alias); }

void Form1::MP3Stop()
{
    send("stop " + Alias);
    send("close " + Alias);
}

void Form1::MP3Restart()
{
    send("stop " + Alias);
    send("play " + Alias + " from 0");
}

bool Form1::IsPlaying()
{
    // Sent on every tick of the loop timer: the command text is made once.
    static const QByteArray query = "status " + Alias + " mode";
    mci::sendString(query.constData(), m_mode, sizeof m_mode, nullptr);
    return std::memcmp(m_mode, "playing", 7) == 0;
}

} // namespace mp3player
