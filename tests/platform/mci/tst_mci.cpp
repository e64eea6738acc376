// The media control interface on real MP3 files, played through a silent output.
#include "mci/mci.h"
#include "mp3fixtures.h"
#include "support/sandbox.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>
#include <sys/stat.h>

using namespace mci;

class TestMci : public QObject {
    Q_OBJECT
public:
    TestMci() { setAudioOutput(QStringLiteral("null")); }

private slots:
    void initTestCase();
    void cleanup();

    void playPauseStopAndClose();
    void commandWordsIgnoreCase_data();
    void commandWordsIgnoreCase();
    void endOfFileReadsStopped();
    void playFromPosition();
    void errorCodes_data();
    void errorCodes();
    void oneAliasOneDevice();
    void refusesFilesItCannotPlay_data();
    void refusesFilesItCannotPlay();
    void answerMustFitItsBuffer();
    void everyCodeHasAText();
    void reportsAudioStart();

    void shortPathIsOneSafeWord_data();
    void shortPathIsOneSafeWord();
    void shortPathOfMissingFileOrSmallBuffer();
    void shortPathFolderIsPrivate();
    void shortPathFallsBackToCache();

private:
    static Error send(const QByteArray &command, QByteArray *answer = nullptr);
    static QByteArray mode(const QByteArray &device);
    static QByteArray quoted(const QString &path) { return '"' + QFile::encodeName(path) + '"'; }

    tavtest::Sandbox m_sandbox;
    QString m_long;    // 30 s
    QString m_short;   // a third of a second
};

Error TestMci::send(const QByteArray &command, QByteArray *answer)
{
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    const Error e = sendString(command.constData(), buffer, sizeof buffer, nullptr);
    if (answer)
        *answer = QByteArray(buffer);
    return e;
}

QByteArray TestMci::mode(const QByteArray &device)
{
    QByteArray answer;
    send("status " + device + " mode", &answer);
    return answer;
}

void TestMci::initTestCase()
{
    QString error;
    m_long = m_sandbox.path() + QStringLiteral("/media/long.mp3");
    m_short = m_sandbox.path() + QStringLiteral("/media/short.mp3");
    QVERIFY2(tavtest::makeMp3(m_long, 30, &error), qPrintable(error));
    QVERIFY2(tavtest::makeMp3(m_short, 0.3, &error), qPrintable(error));
}

void TestMci::cleanup()
{
    for (const char *alias : {"a", "b", "mp3play", "d"})
        send(QByteArray("close ") + alias);
    QCOMPARE(openDeviceCount(), 0);
}

void TestMci::playPauseStopAndClose()
{
    QCOMPARE(send("open " + quoted(m_long) + " type MPEGVideo alias a"), Err::None);
    QCOMPARE(mode("a"), QByteArray("stopped"));
    QCOMPARE(send("play a"), Err::None);
    QCOMPARE(mode("a"), QByteArray("playing"));
    QCOMPARE(send("pause a"), Err::None);
    QCOMPARE(mode("a"), QByteArray("paused"));
    QCOMPARE(send("play a"), Err::None);
    QCOMPARE(mode("a"), QByteArray("playing"));
    QCOMPARE(send("stop a"), Err::None);
    QCOMPARE(mode("a"), QByteArray("stopped"));
    QCOMPARE(send("pause a"), Err::None);   // nothing to pause: stays stopped
    QCOMPARE(mode("a"), QByteArray("stopped"));
    QCOMPARE(send("play a from 0"), Err::None);
    QCOMPARE(mode("a"), QByteArray("playing"));
    QCOMPARE(send("close a"), Err::None);
    QCOMPARE(openDeviceCount(), 0);
    QByteArray answer;
    QCOMPARE(send("status a mode", &answer), Err::InvalidDeviceName);
    QCOMPARE(answer, QByteArray());   // a refused query leaves the empty text
}

void TestMci::commandWordsIgnoreCase_data()
{
    QTest::addColumn<QByteArray>("open");
    QTest::addColumn<QByteArray>("device");
    QTest::newRow("as the player writes them") << QByteArray("open %1 type MPEGVideo Alias MP3Play") << QByteArray("MP3Play");
    QTest::newRow("upper case") << QByteArray("OPEN %1 TYPE MPEGVIDEO ALIAS MP3PLAY") << QByteArray("mp3play");
    QTest::newRow("mixed, tabs, trailing blanks") << QByteArray("oPeN\t%1\ttYpE mpegvideo aLiAs mP3pLaY       ") << QByteArray("MP3PLAY");
    QTest::newRow("no type") << QByteArray("open %1 alias MP3Play") << QByteArray("Mp3Play");
}

void TestMci::commandWordsIgnoreCase()
{
    QFETCH(QByteArray, open);
    QFETCH(QByteArray, device);
    QCOMPARE(send(open.replace("%1", QFile::encodeName(m_long))), Err::None);
    QCOMPARE(send("PLAY " + device), Err::None);
    QCOMPARE(mode(device.toLower()), QByteArray("playing"));
    QCOMPARE(send("Pause " + device), Err::None);
    QCOMPARE(mode(device.toUpper()), QByteArray("paused"));
    QCOMPARE(send("CLOSE " + device), Err::None);
    QCOMPARE(openDeviceCount(), 0);
}

void TestMci::endOfFileReadsStopped()
{
    QCOMPARE(send("open " + quoted(m_short) + " type MPEGVideo alias a"), Err::None);
    QElapsedTimer sounding;
    sounding.start();
    QCOMPARE(send("play a"), Err::None);
    QTRY_COMPARE_WITH_TIMEOUT(mode("a"), QByteArray("stopped"), 5000);
    // Ended only once its sound has played out, not when the last of it was handed
    // to the output: a busy machine makes this longer, never shorter.
    QVERIFY2(sounding.elapsed() >= 250, qPrintable(QString::number(sounding.elapsed())));
    // Played again from the start, by "play from 0" and by a plain "play" alike.
    QCOMPARE(send("play a from 0"), Err::None);
    QCOMPARE(mode("a"), QByteArray("playing"));
    QTRY_COMPARE_WITH_TIMEOUT(mode("a"), QByteArray("stopped"), 5000);
    QCOMPARE(send("play a"), Err::None);
    QCOMPARE(mode("a"), QByteArray("playing"));
    QTRY_COMPARE_WITH_TIMEOUT(mode("a"), QByteArray("stopped"), 5000);
}

void TestMci::playFromPosition()
{
    QCOMPARE(send("open " + quoted(m_long) + " alias a"), Err::None);
    QByteArray length;
    QCOMPARE(send("status a length", &length), Err::None);
    QVERIFY2(qAbs(length.toInt() - 30000) < 200, length.constData());
    QCOMPARE(send("play a from 20000"), Err::None);
    QByteArray position;
    QTRY_VERIFY((send("status a position", &position), position.toInt() >= 20000));
    QCOMPARE(send("pause a"), Err::None);
    QCOMPARE(send("play a from 0"), Err::None);
    QTRY_VERIFY((send("status a position", &position), position.toInt() < 20000));
    QCOMPARE(mode("a"), QByteArray("playing"));
}

void TestMci::errorCodes_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<Error>("expected");
    const QByteArray file = QFile::encodeName(m_long);
    const QByteArray missing = QFile::encodeName(m_sandbox.path() + QStringLiteral("/media/gone.mp3"));
    const QByteArray folder = QFile::encodeName(m_sandbox.path() + QStringLiteral("/media"));
    QTest::newRow("empty") << QByteArray("") << Err::MissingCommandString;
    QTest::newRow("blanks") << QByteArray("   ") << Err::MissingCommandString;
    QTest::newRow("unknown command") << QByteArray("fly d") << Err::UnrecognizedCommand;
    QTest::newRow("open nothing") << QByteArray("open") << Err::MissingDeviceName;
    QTest::newRow("open with an empty name") << QByteArray("open  type MPEGVideo Alias MP3Play") << Err::FilenameRequired;
    QTest::newRow("unclosed quote") << QByteArray("open \"" + file + " alias b") << Err::NoClosingQuote;
    QTest::newRow("missing file") << "open " + missing + " alias b" << Err::FileNotFound;
    QTest::newRow("folder") << "open " + folder + " alias b" << Err::InvalidFile;
    QTest::newRow("unknown type") << "open " + file + " type waveaudio alias b" << Err::CannotLoadDriver;
    QTest::newRow("alias without name") << "open " + file + " type MPEGVideo alias" << Err::MissingStringArgument;
    QTest::newRow("alias twice") << "open " + file + " alias b alias c" << Err::DuplicateFlags;
    QTest::newRow("unknown keyword") << "open " + file + " colour red" << Err::UnrecognizedKeyword;
    QTest::newRow("device not open") << QByteArray("play nosuch") << Err::InvalidDeviceName;
    QTest::newRow("play without device") << QByteArray("play") << Err::MissingDeviceName;
    QTest::newRow("from without number") << QByteArray("play d from") << Err::MissingParameter;
    QTest::newRow("from not a number") << QByteArray("play d from ten") << Err::BadInteger;
    QTest::newRow("from negative") << QByteArray("play d from -5") << Err::BadInteger;
    QTest::newRow("from beyond the end") << QByteArray("play d from 99999999") << Err::OutOfRange;
    QTest::newRow("play to") << QByteArray("play d to 5") << Err::UnrecognizedKeyword;
    QTest::newRow("pause with more") << QByteArray("pause d now") << Err::UnrecognizedKeyword;
    QTest::newRow("status without item") << QByteArray("status d") << Err::MissingParameter;
    QTest::newRow("status unknown item") << QByteArray("status d volume") << Err::UnrecognizedKeyword;
    QTest::newRow("quoted keyword is a value") << QByteArray("status d \"mode\"") << Err::UnrecognizedKeyword;
}

void TestMci::errorCodes()
{
    QFETCH(QByteArray, command);
    QFETCH(Error, expected);
    QCOMPARE(send("open " + quoted(m_long) + " alias d"), Err::None);
    QByteArray answer;
    QCOMPARE(send(command, &answer), expected);
    QCOMPARE(answer, QByteArray());
    QCOMPARE(openDeviceCount(), 1);        // nothing else was opened
    QCOMPARE(mode("d"), QByteArray("stopped"));   // and the open device is untouched
}

void TestMci::oneAliasOneDevice()
{
    QCOMPARE(send("open " + quoted(m_long) + " alias a"), Err::None);
    QCOMPARE(send("open " + quoted(m_short) + " alias A"), Err::DuplicateAlias);
    QCOMPARE(openDeviceCount(), 1);
    QCOMPARE(send("open " + quoted(m_short) + " alias b"), Err::None);
    QCOMPARE(send("play a"), Err::None);
    QCOMPARE(mode("a"), QByteArray("playing"));
    QCOMPARE(mode("b"), QByteArray("stopped"));
    QCOMPARE(send("close a"), Err::None);
    QCOMPARE(send("open " + quoted(m_short) + " alias a"), Err::None);

    // Without an alias the file's name is the device's name.
    const QByteArray plain = QFile::encodeName(m_short);
    QCOMPARE(send("open " + plain), Err::None);
    QCOMPARE(send("open " + plain), Err::DeviceOpen);
    QCOMPARE(mode(plain), QByteArray("stopped"));
    QCOMPARE(send("close " + plain), Err::None);
}

void TestMci::refusesFilesItCannotPlay_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("text") << QByteArray("this is not a sound file\n");
    QTest::newRow("empty") << QByteArray();
    // A "file" that is a playlist naming other files: none of them is fetched.
    QTest::newRow("playlist") << QByteArray("#EXTM3U\nhttp://127.0.0.1:9/elsewhere.mp3\n/etc/hostname\n");
}

void TestMci::refusesFilesItCannotPlay()
{
    QFETCH(QByteArray, content);
    const QString file = m_sandbox.writeFile(QStringLiteral("media/bad.mp3"), content);
    const Error e = send("open " + quoted(file) + " type MPEGVideo alias b");
    QCOMPARE(e, Err::InvalidFile);
    QVERIFY(!errorText(e).isEmpty());
    QCOMPARE(openDeviceCount(), 0);
}

void TestMci::answerMustFitItsBuffer()
{
    QCOMPARE(send("open " + quoted(m_long) + " alias a"), Err::None);
    char small[5] = {'x', 'x', 'x', 'x', 'x'};
    QCOMPARE(sendString("status a mode", small, sizeof small), Err::ParamOverflow);
    QCOMPARE(small[0], '\0');
    char exact[8];
    QCOMPARE(sendString("status a mode", exact, sizeof exact), Err::None);
    QCOMPARE(QByteArray(exact), QByteArray("stopped"));
    QCOMPARE(sendString("status a mode", nullptr, 0), Err::ParamOverflow);
    // Commands with nothing to answer leave the empty text.
    char buffer[30];
    std::memset(buffer, 'x', sizeof buffer);
    QCOMPARE(sendString("play a", buffer, sizeof buffer), Err::None);
    QCOMPARE(buffer[0], '\0');
}

void TestMci::everyCodeHasAText()
{
    const Error codes[] = {Err::None, Err::InvalidDeviceId, Err::UnrecognizedKeyword, Err::UnrecognizedCommand,
                           Err::Hardware, Err::InvalidDeviceName, Err::OutOfMemory, Err::DeviceOpen,
                           Err::CannotLoadDriver, Err::MissingCommandString, Err::ParamOverflow,
                           Err::MissingStringArgument, Err::BadInteger, Err::Internal, Err::MissingParameter,
                           Err::UnsupportedFunction, Err::FileNotFound, Err::DeviceNotReady, Err::OutOfRange,
                           Err::DuplicateAlias, Err::MissingDeviceName, Err::NoClosingQuote, Err::DuplicateFlags,
                           Err::InvalidFile, Err::FilenameRequired, Err::ExtraCharacters};
    QSet<QString> seen;
    for (Error code : codes) {
        char text[128];
        QVERIFY(getErrorString(code, text, sizeof text));
        // The whole text fits the player's 128-character buffer.
        QVERIFY2(std::strlen(text) < 127, text);
        QVERIFY(std::strlen(text) > 10);
        QVERIFY2(!seen.contains(QString::fromUtf8(text)), text);
        seen.insert(QString::fromUtf8(text));
    }
    char text[128];
    QVERIFY(!getErrorString(12345, text, sizeof text));
    QVERIFY(std::strlen(text) > 0);
    char tiny[6];
    QVERIFY(getErrorString(Err::FileNotFound, tiny, sizeof tiny));
    QCOMPARE(QByteArray(tiny), QByteArray("The f"));
}

void TestMci::reportsAudioStart()
{
    QList<QPair<QByteArray, DeviceEvent>> events;
    setEventObserver([&](const QByteArray &name, DeviceEvent e) { events.append({name, e}); });
    QCOMPARE(send("open " + quoted(m_long) + " alias MP3Play"), Err::None);
    QCOMPARE(send("play mp3play"), Err::None);
    QTRY_COMPARE_WITH_TIMEOUT(events.size(), 1, 5000);
    QCOMPARE(events.at(0).first, QByteArray("MP3Play"));
    QCOMPARE(events.at(0).second, DeviceEvent::AudioStarted);
    QCOMPARE(send("close MP3Play"), Err::None);

    // A file shorter than the sound buffers still reports its start before its end.
    events.clear();
    QCOMPARE(send("open " + quoted(m_short) + " alias b"), Err::None);
    QCOMPARE(send("play b"), Err::None);
    QTRY_COMPARE_WITH_TIMEOUT(events.size(), 2, 5000);
    setEventObserver({});
    QCOMPARE(events.at(0).second, DeviceEvent::AudioStarted);
    QCOMPARE(events.at(1).second, DeviceEvent::Ended);
}

void TestMci::shortPathIsOneSafeWord_data()
{
    QTest::addColumn<QString>("relative");
    const QString longFolder(120, QLatin1Char('f'));
    QTest::newRow("plain") << QStringLiteral("media/plain-name_1.mp3");
    QTest::newRow("blanks") << QStringLiteral("My Music/Best of  2005/01 The Song.mp3");
    QTest::newRow("long folder names") << longFolder + QLatin1Char('/') + longFolder + QStringLiteral("/song.mp3");
    QTest::newRow("quotes") << QStringLiteral("say \"hello\" it's/\"quoted\".mp3");
    QTest::newRow("non-ASCII") << QStringLiteral("Müsik/Ünïcødé ☃ песня.mp3");
    QTest::newRow("keyword injection") << QStringLiteral("x.mp3 type MPEGVideo Alias Evil.mp3");
    QTest::newRow("keywords as words") << QStringLiteral("alias/type.mp3");
    QTest::newRow("quote injection") << QStringLiteral("a\" alias Evil \".mp3");
    QTest::newRow("no extension") << QStringLiteral("folder with blank/song");
    QTest::newRow("line end after the name") << QStringLiteral("media/song.mp3\n");
}

void TestMci::shortPathIsOneSafeWord()
{
    QFETCH(QString, relative);
    const QString path = m_sandbox.path() + QLatin1Char('/') + relative;
    QVERIFY(tavtest::copyFile(m_short, path));

    char buffer[255];
    const unsigned long n = getShortPathName(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    QVERIFY(n > 0 && n < sizeof buffer);
    const QByteArray name(buffer, int(n));
    QCOMPARE(QByteArray(buffer), name);
    static const QRegularExpression plainWord(QRegularExpression::anchoredPattern(QStringLiteral("/[A-Za-z0-9._+/-]+")));
    QVERIFY2(plainWord.match(QString::fromLatin1(name)).hasMatch(), name.constData());
    QCOMPARE(QFileInfo(QFile::decodeName(name)).canonicalFilePath(), QFileInfo(path).canonicalFilePath());

    // The command made from it, as the player makes it, fits its field and opens the
    // file under the alias it names, and under no other.
    const QByteArray command = "open " + name + " type MPEGVideo Alias MP3Play";
    QVERIFY(command.size() <= 255);
    QCOMPARE(send(command), Err::None);
    QCOMPARE(openDeviceCount(), 1);
    QCOMPARE(mode("MP3Play"), QByteArray("stopped"));
    QCOMPARE(send("status Evil mode"), Err::InvalidDeviceName);

    // The same file gets the same short name again.
    char again[255];
    QCOMPARE(getShortPathName(QFile::encodeName(path).constData(), again, sizeof again), n);
    QCOMPARE(QByteArray(again), name);
}

void TestMci::shortPathOfMissingFileOrSmallBuffer()
{
    char buffer[255];
    std::memset(buffer, 'x', sizeof buffer);
    const QByteArray missing = QFile::encodeName(m_sandbox.path() + QStringLiteral("/no such/file.mp3"));
    QCOMPARE(getShortPathName(missing.constData(), buffer, sizeof buffer), 0ul);
    QCOMPARE(getShortPathName("", buffer, sizeof buffer), 0ul);
    QCOMPARE(getShortPathName(nullptr, buffer, sizeof buffer), 0ul);

    const QString path = m_sandbox.path() + QStringLiteral("/media/with blank.mp3");
    QVERIFY(tavtest::copyFile(m_short, path));
    char full[255];
    const unsigned long n = getShortPathName(QFile::encodeName(path).constData(), full, sizeof full);
    QVERIFY(n > 0);
    char small[8];
    std::memset(small, 'x', sizeof small);
    QCOMPARE(getShortPathName(QFile::encodeName(path).constData(), small, sizeof small), n + 1);
    QCOMPARE(small[0], 'x');   // nothing written when it does not fit
}

void TestMci::shortPathFolderIsPrivate()
{
    const QString runtime = m_sandbox.path() + QStringLiteral("/runtime");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    const QString first = m_sandbox.path() + QStringLiteral("/media/first song.mp3");
    const QString second = m_sandbox.path() + QStringLiteral("/media/second song.mp3");
    QVERIFY(tavtest::copyFile(m_short, first));
    QVERIFY(tavtest::copyFile(m_short, second));
    char buffer[255];
    QVERIFY(getShortPathName(QFile::encodeName(first).constData(), buffer, sizeof buffer) > 0);
    const QString link = QFile::decodeName(buffer);
    QCOMPARE(QFileInfo(link).absolutePath(), runtime + QStringLiteral("/tavolin-mci"));
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(QFileInfo(link).absolutePath()).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 0777), 0700);

    // A link whose file is gone is cleared away when the next one is made.
    QVERIFY(QFile::remove(first));
    QVERIFY(getShortPathName(QFile::encodeName(second).constData(), buffer, sizeof buffer) > 0);
    QVERIFY(!QFileInfo(link).isSymLink());

    // A folder of that name that is open to others is closed to them before use.
    const QString folder = QFileInfo(link).absolutePath();
    QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
    QVERIFY(getShortPathName(QFile::encodeName(second).constData(), buffer, sizeof buffer) > 0);
    QCOMPARE(::stat(QFile::encodeName(folder).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 0777), 0700);
}

void TestMci::shortPathFallsBackToCache()
{
    // A runtime folder whose own path is not plain is not used; the cache folder is.
    const QString odd = m_sandbox.path() + QStringLiteral("/run time");
    QDir().mkpath(odd);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(odd));
    const QString path = m_sandbox.path() + QStringLiteral("/media/third song.mp3");
    QVERIFY(tavtest::copyFile(m_short, path));
    char buffer[255];
    QVERIFY(getShortPathName(QFile::encodeName(path).constData(), buffer, sizeof buffer) > 0);
    QCOMPARE(QFileInfo(QFile::decodeName(buffer)).absolutePath(),
             m_sandbox.path() + QStringLiteral("/cache/tavolin-mci"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_sandbox.path() + QStringLiteral("/runtime")));
}

QTEST_GUILESS_MAIN(TestMci)
#include "tst_mci.moc"
