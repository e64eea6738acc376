// The player window on real MP3 files, played through a silent output.
#include "mp3player/form1.h"
#include "mp3player/program.h"
#include "mci/mci.h"
#include "mp3fixtures.h"
#include "support/sandbox.h"
#include "support/scripted.h"
#include "forms/timer.h"
#include "forms/twips.h"
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QtTest>

using mp3player::Form1;

namespace {

// The buttons as the user sees them: Open, Pause (enabled, caption), Close, Back, Exit.
struct Buttons {
    bool open, pause;
    QString caption;
    bool close, back, exit;
    bool operator==(const Buttons &o) const
    {
        return open == o.open && pause == o.pause && caption == o.caption && close == o.close
               && back == o.back && exit == o.exit;
    }
};

const Buttons Idle{true, false, QStringLiteral("Pause"), false, false, true};
const Buttons DialogUp{false, false, QStringLiteral("Pause"), false, false, false};
const Buttons Chosen{false, true, QStringLiteral("Pause"), true, true, true};
const Buttons Paused{false, true, QStringLiteral("Play"), true, true, true};

} // namespace

namespace QTest {
template <>
char *toString(const Buttons &b)
{
    return qstrdup(QStringLiteral("open=%1 pause=%2 \"%3\" close=%4 back=%5 exit=%6")
                       .arg(b.open).arg(b.pause).arg(b.caption).arg(b.close).arg(b.back).arg(b.exit)
                       .toUtf8().constData());
}
} // namespace QTest

class TestForm1 : public QObject {
    Q_OBJECT
public:
    TestForm1()
    {
        mci::setAudioOutput(QStringLiteral("null"));
        forms::setProgram(mp3player::programInfo());
    }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout();
    void stateTable();
    void openDialogRequest();
    void loopRestartsEndedFile();
    void loopLeavesPausedFileAlone();
    void loopWithoutFileOnlyAsks();
    void checkBoxAndTimerAgree();
    void isPlayingOnlyWhilePlaying();
    void refusedOpenShowsTheErrorText();
    void noShortNameMeansEmptyName();
    void vanishedFileIsSkipped();
    void awkwardPathsPlay_data();
    void awkwardPathsPlay();
    void closingTheWindowClosesTheDevice_data();
    void closingTheWindowClosesTheDevice();
    void realEventLoop();

private:
    Buttons buttons() const;
    QByteArray mode() const;
    QList<QByteArray> commandsOtherThan(const QByteArray &skipped) const;
    void chooseFile(const QString &path);

    tavtest::Sandbox m_sandbox;
    QString m_long, m_short;
    QPointer<Form1> m_form;
    QList<QByteArray> m_commands;
    std::unique_ptr<forms::TestClock> m_clock;
    std::unique_ptr<tavtest::ScriptedMsgBoxes> m_boxes;
    std::unique_ptr<tavtest::ScriptedFileDialogs> m_dialogs;
};

Buttons TestForm1::buttons() const
{
    return {m_form->Command1->isEnabled(), m_form->Command2->isEnabled(), m_form->Command2->text(),
            m_form->Command3->isEnabled(), m_form->Command4->isEnabled(), m_form->Command5->isEnabled()};
}

QByteArray TestForm1::mode() const
{
    char answer[30];
    mci::sendString("status MP3Play mode", answer, sizeof answer);
    return answer;
}

QList<QByteArray> TestForm1::commandsOtherThan(const QByteArray &skipped) const
{
    QList<QByteArray> result;
    for (const QByteArray &c : m_commands)
        if (c != skipped)
            result << c;
    return result;
}

void TestForm1::chooseFile(const QString &path)
{
    m_dialogs->choose(path);
    m_form->Command1->click();
}

void TestForm1::initTestCase()
{
    QString error;
    m_long = m_sandbox.path() + QStringLiteral("/media/long.mp3");
    m_short = m_sandbox.path() + QStringLiteral("/media/short.mp3");
    QVERIFY2(tavtest::makeMp3(m_long, 30, &error), qPrintable(error));
    QVERIFY2(tavtest::makeMp3(m_short, 0.3, &error), qPrintable(error));
}

void TestForm1::init()
{
    m_clock = std::make_unique<forms::TestClock>();
    m_boxes = std::make_unique<tavtest::ScriptedMsgBoxes>();
    m_dialogs = std::make_unique<tavtest::ScriptedFileDialogs>();
    m_form = new Form1;
    m_form->showModeless();
    m_commands.clear();
    mci::setCommandObserver([this](const QByteArray &command, mci::Error) { m_commands << command; });
}

void TestForm1::cleanup()
{
    if (m_form)
        m_form->unload();
    QTRY_VERIFY(!m_form);
    mci::setCommandObserver({});
    QCOMPARE(mci::openDeviceCount(), 0);
    m_dialogs.reset();
    m_boxes.reset();
    m_clock.reset();
}

void TestForm1::layout()
{
    QCOMPARE(m_form->caption(), QStringLiteral("Mp3 Player"));
    QCOMPARE(m_form->borderStyle(), forms::BorderStyle::FixedSingle);
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!m_form->windowIcon().isNull());
    QCOMPARE(m_form->size(), QSize(forms::px(4425), forms::px(1230)));
    const struct {
        QWidget *control;
        const char *caption;
        forms::TwipsRect rect;
    } controls[] = {
        {m_form->Command1, "Open", {120, 120, 975, 375}},  {m_form->Command3, "Close", {1200, 120, 975, 375}},
        {m_form->Check1, "Loop", {2400, 120, 855, 255}},   {m_form->Command2, "Pause", {120, 600, 975, 375}},
        {m_form->Command4, "Back", {1200, 600, 975, 375}}, {m_form->Command5, "Exit", {2400, 600, 975, 375}},
    };
    for (const auto &c : controls) {
        QCOMPARE(static_cast<QAbstractButton *>(c.control)->text(), QString::fromLatin1(c.caption));
        QCOMPARE(c.control->geometry(), c.rect.toPixels());
        QCOMPARE(c.control->font().family(), QStringLiteral("Arial"));
        QVERIFY(c.control->font().bold());
        QCOMPARE(c.control->font().pointSizeF(), 8.25);
    }
    QCOMPARE(m_form->Picture1->pos(), QPoint(forms::px(3720), forms::px(120)));
    QVERIFY(!m_form->Picture1->picture().isNull());
    QVERIFY(!m_form->Picture1->hasBorder());
    QCOMPARE(m_form->Timer1->interval(), 1);
    QVERIFY(!m_form->Timer1->isEnabled());
    QCOMPARE(m_form->Check1->value(), 0);
    QCOMPARE(buttons(), Idle);
}

void TestForm1::stateTable()
{
    // Open, then cancel: back to idle, nothing sent.
    Buttons whileDialogUp{};
    forms::setFileDialogHandler([&](const forms::FileDialogRequest &) {
        whileDialogUp = buttons();
        return forms::FileDialogResult{};
    });
    m_form->Command1->click();
    QCOMPARE(whileDialogUp, DialogUp);
    QCOMPARE(buttons(), Idle);
    QVERIFY(m_commands.isEmpty());

    // Open and choose: playing.
    forms::setFileDialogHandler([&](const forms::FileDialogRequest &) {
        whileDialogUp = buttons();
        return forms::FileDialogResult{true, m_long, 1};
    });
    m_form->Command1->click();
    QCOMPARE(whileDialogUp, DialogUp);
    QCOMPARE(buttons(), Chosen);
    QCOMPARE(mode(), QByteArray("playing"));
    QCOMPARE(m_form->currentFile(), m_long);

    // Pause, Play, Pause again, then Back: plays from the start with "Pause" shown.
    m_form->Command2->click();
    QCOMPARE(buttons(), Paused);
    QCOMPARE(mode(), QByteArray("paused"));
    m_form->Command2->click();
    QCOMPARE(buttons(), Chosen);
    QCOMPARE(mode(), QByteArray("playing"));
    m_form->Command2->click();
    m_commands.clear();
    m_form->Command4->click();
    QCOMPARE(m_commands, (QList<QByteArray>{"stop MP3Play", "play MP3Play from 0"}));
    QCOMPARE(buttons(), Chosen);
    QCOMPARE(mode(), QByteArray("playing"));

    // Close while paused: idle, caption reset, device closed.
    m_form->Command2->click();
    m_commands.clear();
    m_form->Command3->click();
    QCOMPARE(m_commands, (QList<QByteArray>{"stop MP3Play", "close MP3Play"}));
    QCOMPARE(buttons(), Idle);
    QCOMPARE(mci::openDeviceCount(), 0);

    // The next file starts unpaused.
    m_form->Command1->click();
    QCOMPARE(buttons(), Chosen);
    QCOMPARE(mode(), QByteArray("playing"));

    // Exit ends it all.
    m_form->Command5->click();
    QTRY_VERIFY(!m_form);
    QCOMPARE(mci::openDeviceCount(), 0);
    forms::setFileDialogHandler(nullptr);
}

void TestForm1::openDialogRequest()
{
    // The filter chosen in one dialog is offered by the next.
    QList<forms::FileDialogRequest> requests;
    forms::setFileDialogHandler([&](const forms::FileDialogRequest &request) {
        requests << request;
        return forms::FileDialogResult{false, QString(), 1};
    });
    m_form->Command1->click();
    forms::setFileDialogHandler([&](const forms::FileDialogRequest &request) {
        requests << request;
        return forms::FileDialogResult{true, m_long, 1};
    });
    m_form->Command1->click();
    forms::setFileDialogHandler(nullptr);

    QCOMPARE(requests.size(), 2);
    for (const forms::FileDialogRequest &r : requests) {
        QCOMPARE(r.mode, forms::FileDialogRequest::Open);
        QCOMPARE(r.filter, QStringLiteral("mp3 (*.mp3)|*.mp3"));
        QVERIFY(r.fileMustExist);
        QVERIFY(r.hideReadOnly);
        QVERIFY(r.title.isEmpty());
        QCOMPARE(r.owner, m_form.data());
    }
    QCOMPARE(requests.at(0).filterIndex, 0);
    QCOMPARE(requests.at(1).filterIndex, 0);   // a cancelled dialog chose nothing
}

void TestForm1::loopRestartsEndedFile()
{
    m_form->Check1->click();
    chooseFile(m_short);
    QTRY_COMPARE_WITH_TIMEOUT(mode(), QByteArray("stopped"), 5000);
    m_commands.clear();
    m_clock->advance(1);
    QCOMPARE(m_commands, (QList<QByteArray>{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
    QCOMPARE(mode(), QByteArray("playing"));
    QCOMPARE(buttons(), Chosen);
    // And again when it has ended once more.
    QTRY_COMPARE_WITH_TIMEOUT(mode(), QByteArray("stopped"), 5000);
    m_commands.clear();
    m_clock->advance(1);
    QVERIFY(m_commands.contains("play MP3Play from 0"));
}

void TestForm1::loopLeavesPausedFileAlone()
{
    // A file long enough that it cannot end before the pause reaches it, however
    // busy the machine: a paused file is no more "playing" than an ended one, so a
    // loop that forgot the user's pause would start it again here.
    m_form->Check1->click();
    chooseFile(m_long);
    m_form->Command2->click();
    QCOMPARE(buttons(), Paused);
    m_commands.clear();
    m_clock->advance(50);
    QVERIFY(!m_commands.isEmpty());
    QCOMPARE(commandsOtherThan("status MP3Play mode"), QList<QByteArray>());
    QCOMPARE(mode(), QByteArray("paused"));
    QCOMPARE(buttons(), Paused);
}

void TestForm1::loopWithoutFileOnlyAsks()
{
    m_form->Check1->click();
    m_clock->advance(100);
    QVERIFY(m_commands.size() >= 10);
    QCOMPARE(commandsOtherThan("status MP3Play mode"), QList<QByteArray>());
    QCOMPARE(buttons(), Idle);
    // Loop survives Close: with the file closed it only asks again.
    chooseFile(m_long);
    m_form->Command3->click();
    m_commands.clear();
    m_clock->advance(100);
    QCOMPARE(commandsOtherThan("status MP3Play mode"), QList<QByteArray>());
    QVERIFY(m_form->Timer1->isEnabled());
}

void TestForm1::checkBoxAndTimerAgree()
{
    for (int i = 0; i < 3; ++i) {
        m_form->Check1->click();
        QVERIFY(m_form->Timer1->isEnabled());
        QCOMPARE(m_form->Check1->value(), 1);
        m_form->Check1->click();
        QVERIFY(!m_form->Timer1->isEnabled());
        QCOMPARE(m_form->Check1->value(), 0);
    }
}

void TestForm1::isPlayingOnlyWhilePlaying()
{
    QVERIFY(!m_form->IsPlaying());   // nothing open
    chooseFile(m_long);
    QVERIFY(m_form->IsPlaying());
    m_form->MP3Pause();
    QVERIFY(!m_form->IsPlaying());
    m_form->MP3UnPause();
    QVERIFY(m_form->IsPlaying());
    m_form->MP3Restart();
    QVERIFY(m_form->IsPlaying());
    m_form->MP3Stop();
    QVERIFY(!m_form->IsPlaying());
    m_form->MP3Stop();   // nothing open: nothing to see
    QVERIFY(m_boxes->shown.isEmpty());

    // A short file may already be over by the time it is asked about on a busy
    // machine, so only its end is certain.
    m_form->MP3Play(m_short);
    QTRY_VERIFY_WITH_TIMEOUT(!m_form->IsPlaying(), 5000);   // ended
    m_form->MP3Stop();
}

void TestForm1::refusedOpenShowsTheErrorText()
{
    const QString bad = m_sandbox.writeFile(QStringLiteral("media/not a song.mp3"), "no sound in here\n");
    chooseFile(bad);
    QCOMPARE(m_boxes->shown.size(), 1);
    const forms::MsgBoxRequest box = m_boxes->shown.at(0);
    QCOMPARE(box.text, mci::errorText(mci::Err::InvalidFile));
    QCOMPARE(box.title, QStringLiteral("Mp3 Player"));
    QCOMPARE(box.buttons, forms::MsgBoxStyle::OkOnly | forms::MsgBoxStyle::Critical);
    QCOMPARE(m_commands.size(), 1);   // the open only: no play
    QVERIFY(m_commands.at(0).startsWith("open "));
    QCOMPARE(mci::openDeviceCount(), 0);
    QCOMPARE(buttons(), Chosen);
    m_form->Command3->click();
    QCOMPARE(buttons(), Idle);
    QCOMPARE(m_boxes->shown.size(), 1);   // Close says nothing about the device not being open
}

void TestForm1::noShortNameMeansEmptyName()
{
    // With no private folder for links, a path with blanks has no short form.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), cache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_RUNTIME_DIR", "");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_sandbox.path() + QStringLiteral("/no cache")));
    const QString path = m_sandbox.path() + QStringLiteral("/media/a song.mp3");
    QVERIFY(tavtest::copyFile(m_long, path));
    chooseFile(path);
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("XDG_CACHE_HOME", cache);

    QCOMPARE(m_commands.size(), 1);
    QCOMPARE(m_commands.at(0), QByteArray("open  type MPEGVideo Alias MP3Play").leftJustified(255, ' '));
    QCOMPARE(m_boxes->texts(), QStringList{mci::errorText(mci::Err::FilenameRequired)});
    QCOMPARE(buttons(), Chosen);
}

void TestForm1::vanishedFileIsSkipped()
{
    const QString path = m_sandbox.path() + QStringLiteral("/media/gone.mp3");
    QVERIFY(tavtest::copyFile(m_short, path));
    forms::setFileDialogHandler([&](const forms::FileDialogRequest &) {
        QFile::remove(path);   // gone between the choice and the open
        return forms::FileDialogResult{true, path, 1};
    });
    m_form->Command1->click();
    forms::setFileDialogHandler(nullptr);
    QVERIFY(m_commands.isEmpty());
    QVERIFY(m_boxes->shown.isEmpty());
    QCOMPARE(buttons(), Chosen);
    m_form->Command3->click();
    QCOMPARE(buttons(), Idle);
}

void TestForm1::awkwardPathsPlay_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("blanks") << QStringLiteral("My Music/Best of 2005/01 The Song.mp3");
    QTest::newRow("keyword injection") << QStringLiteral("x.mp3 type MPEGVideo Alias Evil.mp3");
    QTest::newRow("quote injection") << QStringLiteral("a\" alias Evil \".mp3");
    QTest::newRow("non-ASCII and quotes") << QStringLiteral("Müsik/\"Ünïcødé\" ☃.mp3");
    QTest::newRow("long folders") << QString(100, QLatin1Char('d')) + QLatin1Char('/') + QString(100, QLatin1Char('e'))
                                         + QLatin1Char('/') + QString(40, QLatin1Char('f')) + QStringLiteral(" g.mp3");
}

void TestForm1::awkwardPathsPlay()
{
    QFETCH(QString, relative);
    const QString path = m_sandbox.path() + QLatin1Char('/') + relative;
    QVERIFY(tavtest::copyFile(m_long, path));
    chooseFile(path);
    QVERIFY(m_boxes->shown.isEmpty());
    QCOMPARE(mode(), QByteArray("playing"));
    QCOMPARE(mci::openDeviceCount(), 1);
    const QByteArray open = m_commands.value(0);
    QCOMPARE(open.size(), 255);
    QVERIFY2(open.trimmed().endsWith(" type MPEGVideo Alias MP3Play"), open.constData());
    // The name is one word: the command has its six words and no more.
    QCOMPARE(open.simplified().split(' ').size(), 6);
    QCOMPARE(mci::sendString("status Evil mode", nullptr, 0), mci::Err::InvalidDeviceName);
}

void TestForm1::closingTheWindowClosesTheDevice_data()
{
    QTest::addColumn<bool>("byExit");
    QTest::newRow("Exit") << true;
    QTest::newRow("close box") << false;
}

void TestForm1::closingTheWindowClosesTheDevice()
{
    QFETCH(bool, byExit);
    chooseFile(m_long);
    QCOMPARE(mode(), QByteArray("playing"));
    m_commands.clear();
    if (byExit)
        m_form->Command5->click();
    else
        m_form->close();
    QCOMPARE(m_commands, (QList<QByteArray>{"stop MP3Play", "close MP3Play"}));
    QCOMPARE(mci::openDeviceCount(), 0);
    QTRY_VERIFY(!m_form);
}

// No scripted boxes or dialogs and no test clock: the real dialog, the real message
// box and the loop timer ticking on the real event loop inside both.
void TestForm1::realEventLoop()
{
    m_dialogs.reset();
    m_boxes.reset();
    m_clock.reset();
    m_form->Check1->click();   // Loop on: the timer ticks inside the nested loops
    const QString bad = m_sandbox.writeFile(QStringLiteral("media/real bad.mp3"), "no sound\n");

    bool dialogSeen = false, boxSeen = false;
    QString boxText;
    QTimer driver;
    connect(&driver, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            dialogSeen = true;
            // Typed into the name box, as a user would.
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(bad);
            QMetaObject::invokeMethod(dialog, "accept");
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxSeen = true;
            boxText = box->text();
            QCOMPARE(box->windowTitle(), QStringLiteral("Mp3 Player"));
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->button(QMessageBox::Ok)->click();
        }
    });
    driver.start(50);
    m_form->Command1->click();   // returns once the dialog and the box are done
    driver.stop();

    QVERIFY(dialogSeen);
    QVERIFY(boxSeen);
    QCOMPARE(boxText, mci::errorText(mci::Err::InvalidFile));
    QCOMPARE(buttons(), Chosen);
    QCOMPARE(mci::openDeviceCount(), 0);
    // The loop timer kept asking while the box was up, and asks on.
    QTRY_VERIFY(m_commands.count("status MP3Play mode") >= 3);
    m_form->Command3->click();
    QCOMPARE(buttons(), Idle);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
