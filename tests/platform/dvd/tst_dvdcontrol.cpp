// The DVD control on a disc authored for the tests, and with no disc at all.
#include "dvd/disc.h"
#include "dvd/dvdcontrol.h"
#include "dvd/videosurface.h"
#include "settings/settings.h"
#include "support/sandbox.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>
#include <clocale>
#include <memory>

using dvd::DvdControl;
using dvd::InvokeKind;
namespace Member = dvd::Member;

Q_DECLARE_METATYPE(dvd::DiscState)
Q_DECLARE_METATYPE(dvd::InvokeKind)

class TestDvdControl : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;

    void useSource(const QString &source)
    {
        settings::saveSetting(QStringLiteral("DVD Player"), QStringLiteral("Drive"), QStringLiteral("Device"), source);
    }
    QString disc() const { return QStringLiteral(TEST_DVD); }
    // A control on the test disc, opened and ready.
    std::unique_ptr<DvdControl> openControl()
    {
        useSource(disc());
        auto control = std::make_unique<DvdControl>();
        if (control->state() != DvdControl::State::Opening)
            return nullptr;
        if (!QTest::qWaitFor([&] { return control->state() == DvdControl::State::Loaded; }, 10000))
            return nullptr;
        return control;
    }
    static int chapter(DvdControl &control) { return control.get(Member::CurrentChapter).value.toInt(); }

private slots:
    void initTestCase()
    {
        DvdControl::setDefaultOutputs(DvdControl::Outputs::None);
        QVERIFY2(QFile::exists(disc() + QStringLiteral("/VIDEO_TS/VIDEO_TS.IFO")), "the test disc was not authored");
    }
    void cleanup() { DvdControl::setRequestHook({}); }

    void probe_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<dvd::DiscState>("expected");
        const QString root = sandbox.path();
        QDir().mkpath(root + QStringLiteral("/empty"));
        sandbox.writeFile(QStringLiteral("bogus/VIDEO_TS/VIDEO_TS.IFO"), QByteArray(4096, 'x'));
        sandbox.writeFile(QStringLiteral("bogus.iso"), QByteArray(64 * 1024, '\0'));
        QTest::newRow("nothing named, no drive") << QString() << dvd::DiscState::NoSource;
        QTest::newRow("missing") << root + QStringLiteral("/not-there") << dvd::DiscState::Missing;
        QTest::newRow("folder without VIDEO_TS") << root + QStringLiteral("/empty") << dvd::DiscState::Unreadable;
        QTest::newRow("VIDEO_TS with a broken IFO") << root + QStringLiteral("/bogus") << dvd::DiscState::Unreadable;
        QTest::newRow("image that is no DVD") << root + QStringLiteral("/bogus.iso") << dvd::DiscState::Unreadable;
        QTest::newRow("device that is no drive") << QStringLiteral("/dev/null") << dvd::DiscState::Unreadable;
        QTest::newRow("test disc") << disc() << dvd::DiscState::Ready;
        QTest::newRow("its VIDEO_TS folder") << disc() + QStringLiteral("/VIDEO_TS") << dvd::DiscState::Ready;
    }
    void probe()
    {
        QFETCH(QString, source);
        QFETCH(dvd::DiscState, expected);
        QCOMPARE(dvd::probeDisc(source), expected);
    }

    void defaultDrive_data()
    {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QStringList{QStringLiteral("null")} << QString();
        QTest::newRow("first sr") << QStringList{QStringLiteral("sr1"), QStringLiteral("sr0")} << QStringLiteral("sr0");
        QTest::newRow("numbered, not sorted as text") << QStringList{QStringLiteral("sr10"), QStringLiteral("sr2")}
                                                      << QStringLiteral("sr2");
        QTest::newRow("dvd before sr") << QStringList{QStringLiteral("sr0"), QStringLiteral("dvd")} << QStringLiteral("dvd");
        QTest::newRow("not a drive name") << QStringList{QStringLiteral("srx"), QStringLiteral("sr")} << QString();
    }
    void defaultDrive()
    {
        QFETCH(QStringList, devices);
        QFETCH(QString, expected);
        QTemporaryDir dev;
        for (const QString &name : devices)
            QFile(dev.path() + QLatin1Char('/') + name).open(QIODevice::WriteOnly);
        QCOMPARE(dvd::defaultDrive(dev.path()), expected.isEmpty() ? QString() : dev.path() + QLatin1Char('/') + expected);
    }

    void settingsNameTheDisc()
    {
        useSource(QStringLiteral("  /media/films/movie.iso "));
        QCOMPARE(dvd::discSource(), QStringLiteral("/media/films/movie.iso"));
        useSource(QString());
        QCOMPARE(dvd::discSource(), dvd::defaultDrive());
    }

    // Every request fails, quickly and without harm, when there is no disc to play.
    void requestsFailWithoutDisc_data()
    {
        QTest::addColumn<QString>("source");
        sandbox.writeFile(QStringLiteral("bogus2/VIDEO_TS/VIDEO_TS.IFO"), QByteArray(4096, 'x'));
        QTest::newRow("missing") << sandbox.path() + QStringLiteral("/not-there");
        QTest::newRow("no DVD on it") << sandbox.path() + QStringLiteral("/bogus2");
    }
    void requestsFailWithoutDisc()
    {
        QFETCH(QString, source);
        useSource(source);
        DvdControl control;
        QCOMPARE(control.state(), DvdControl::State::Idle);
        for (int member : {Member::Play, Member::Pause, Member::Stop, Member::PlayNextChapter, Member::PlayPrevChapter}) {
            const dvd::Reply reply = control.call(member);
            QVERIFY2(!reply, qPrintable(QString::number(member)));
            QVERIFY(!reply.error.isEmpty());
        }
        QVERIFY(!control.get(Member::CurrentChapter));
        QVERIFY(!control.get(Member::CurrentTime));
        QVERIFY(!control.put(Member::Mute, true));
        QCOMPARE(control.state(), DvdControl::State::Idle);
    }

    void misuseFails_data()
    {
        QTest::addColumn<int>("member");
        QTest::addColumn<dvd::InvokeKind>("kind");
        QTest::addColumn<QVariantList>("args");
        QTest::newRow("unknown member") << 99 << InvokeKind::Method << QVariantList();
        QTest::newRow("play read as a value") << int(Member::Play) << InvokeKind::PropertyGet << QVariantList();
        QTest::newRow("play with an argument") << int(Member::Play) << InvokeKind::Method << QVariantList{1};
        QTest::newRow("chapter written") << int(Member::CurrentChapter) << InvokeKind::PropertyPut << QVariantList{3};
        QTest::newRow("mute called") << int(Member::Mute) << InvokeKind::Method << QVariantList();
        QTest::newRow("mute written a word") << int(Member::Mute) << InvokeKind::PropertyPut << QVariantList{QStringLiteral("maybe")};
        QTest::newRow("mute written a list") << int(Member::Mute) << InvokeKind::PropertyPut << QVariantList{QVariant(QVariantList{true})};
        QTest::newRow("mute written nothing") << int(Member::Mute) << InvokeKind::PropertyPut << QVariantList{QVariant()};
    }
    void misuseFails()
    {
        QFETCH(int, member);
        QFETCH(dvd::InvokeKind, kind);
        QFETCH(QVariantList, args);
        auto control = openControl();
        QVERIFY(control);
        QVERIFY(!control->invoke(member, kind, args));
        QCOMPARE(control->state(), DvdControl::State::Loaded);
        QVERIFY(!control->isMuted());
    }

    void opensPausedAtTheStart()
    {
        auto control = openControl();
        QVERIFY(control);
        QVERIFY(control->isPaused());
        QCOMPARE(control->chapterCount(), 3);
        QCOMPARE(control->get(Member::CurrentChapter).value, QVariant(1));
        QCOMPARE(control->get(Member::CurrentTime).value, QVariant(QStringLiteral("00:00:00")));
    }

    void playsThroughTheChapters()
    {
        auto control = openControl();
        QVERIFY(control);
        QVERIFY(control->call(Member::Play));
        QVERIFY(!control->isPaused());
        QTRY_VERIFY_WITH_TIMEOUT(control->position() > 0.2, 10000);

        QVERIFY(control->call(Member::PlayNextChapter));
        QTRY_COMPARE_WITH_TIMEOUT(chapter(*control), 2, 10000);
        QVERIFY(control->call(Member::PlayNextChapter));
        QTRY_COMPARE_WITH_TIMEOUT(chapter(*control), 3, 10000);
        // At the last chapter "next" stays there: the disc is not ended.
        QVERIFY(control->call(Member::PlayNextChapter));
        QCOMPARE(chapter(*control), 3);
        QVERIFY(control->call(Member::Pause));
        QVERIFY(control->isPaused());
        QVERIFY(control->call(Member::PlayPrevChapter));
        QTRY_COMPARE_WITH_TIMEOUT(chapter(*control), 2, 10000);
        QCOMPARE(control->state(), DvdControl::State::Loaded);
        QVERIFY(control->call(Member::PlayPrevChapter));
        QTRY_COMPARE_WITH_TIMEOUT(chapter(*control), 1, 10000);
        QVERIFY(control->call(Member::PlayPrevChapter));
        QCOMPARE(chapter(*control), 1);
        QCOMPARE(control->state(), DvdControl::State::Loaded);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                    .match(control->get(Member::CurrentTime).value.toString()).hasMatch());
    }

    void stopGoesBackToTheStart()
    {
        auto control = openControl();
        QVERIFY(control);
        QVERIFY(control->call(Member::Play));
        QVERIFY(control->call(Member::PlayNextChapter));
        QTRY_COMPARE_WITH_TIMEOUT(chapter(*control), 2, 10000);
        QVERIFY(control->call(Member::Stop));
        // While the disc opens again it reports its start.
        QCOMPARE(control->get(Member::CurrentChapter).value, QVariant(1));
        QTRY_COMPARE_WITH_TIMEOUT(control->state(), DvdControl::State::Loaded, 10000);
        QVERIFY(control->isPaused());
        QCOMPARE(chapter(*control), 1);
        QVERIFY(control->position() < 1.0);
        QVERIFY(control->call(Member::Play));
        QTRY_VERIFY_WITH_TIMEOUT(control->position() > 0.2, 10000);
    }

    void chapterStepsWhileOpeningAreKept()
    {
        useSource(disc());
        DvdControl control;
        QCOMPARE(control.state(), DvdControl::State::Opening);
        QVERIFY(control.call(Member::PlayNextChapter));
        QVERIFY(control.call(Member::PlayNextChapter));
        QTRY_COMPARE_WITH_TIMEOUT(control.state(), DvdControl::State::Loaded, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(chapter(control), 3, 10000);
    }

    void mute_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("muted");
        QTest::newRow("true") << QVariant(true) << true;
        QTest::newRow("false") << QVariant(false) << false;
        QTest::newRow("-1") << QVariant(-1) << true;
        QTest::newRow("0") << QVariant(0) << false;
        QTest::newRow("text True") << QVariant(QStringLiteral("True")) << true;
        QTest::newRow("text false") << QVariant(QStringLiteral("false")) << false;
    }
    void mute()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, muted);
        auto control = openControl();
        QVERIFY(control);
        QVERIFY(control->put(Member::Mute, !muted));
        QCOMPARE(control->isMuted(), !muted);
        QVERIFY(control->put(Member::Mute, value));
        QCOMPARE(control->isMuted(), muted);
        QCOMPARE(control->invoke(Member::Mute, InvokeKind::PropertyGet).value, QVariant(muted));
    }

    // A desktop in a language that writes 1,5 for one and a half still plays discs.
    void playsUnderALocaleWithADecimalComma()
    {
        const QByteArray name = "de_DE.UTF-8";
        QTemporaryDir locales;
        if (!std::setlocale(LC_NUMERIC, name.constData())) {
            // Not installed: compile it for this test, if the tools are there.
            QProcess::execute(QStringLiteral("localedef"), {QStringLiteral("-i"), QStringLiteral("de_DE"),
                                                            QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                                            locales.path() + QLatin1Char('/') + QString::fromLatin1(name)});
            qputenv("LOCPATH", QFile::encodeName(locales.path()));
            if (!std::setlocale(LC_NUMERIC, name.constData())) {
                qunsetenv("LOCPATH");
                QSKIP("no German locale to test with");
            }
        }
        QCOMPARE(QByteArray(std::localeconv()->decimal_point), QByteArray(","));
        auto control = openControl();
        QVERIFY(control);
        QVERIFY(control->call(Member::Play));
        QTRY_VERIFY_WITH_TIMEOUT(control->position() > 0.2, 10000);
        control.reset();
        std::setlocale(LC_NUMERIC, "C");
        qunsetenv("LOCPATH");
    }

    // Windows close while the disc is still being opened, or while it plays.
    void destroyedAtAnyMoment()
    {
        useSource(disc());
        for (int i = 0; i < 3; ++i) {
            auto control = std::make_unique<DvdControl>();
            if (i == 1)
                QVERIFY(control->call(Member::Play));
            if (i == 2)
                QTRY_COMPARE_WITH_TIMEOUT(control->state(), DvdControl::State::Loaded, 10000);
        }
        QCoreApplication::processEvents();
    }

    void hookAnswersInsteadOfTheControl()
    {
        auto control = openControl();
        QVERIFY(control);
        QList<int> seen;
        DvdControl::setRequestHook([&](int member, InvokeKind, const QVariantList &) -> std::optional<dvd::Reply> {
            seen << member;
            if (member == Member::CurrentTime)
                return dvd::Reply::failure(QStringLiteral("the disc went away"));
            return std::nullopt;
        });
        QCOMPARE(control->get(Member::CurrentChapter).value, QVariant(1));
        QVERIFY(!control->get(Member::CurrentTime));
        QCOMPARE(seen, (QList<int>{Member::CurrentChapter, Member::CurrentTime}));
    }

    // With a screen to show it on, the control paints the disc's frames.
    void showsThePicture()
    {
        useSource(disc());
        DvdControl::setDefaultOutputs(DvdControl::Outputs::Screen);
        auto control = std::make_unique<DvdControl>();
        DvdControl::setDefaultOutputs(DvdControl::Outputs::None);
        control->resize(360, 240);
        control->show();
        auto *surface = control->findChild<dvd::VideoSurface *>();
        QVERIFY(surface && surface->isReady());
        QTRY_COMPARE_WITH_TIMEOUT(control->state(), DvdControl::State::Loaded, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(surface->framesDrawn() > 0, 10000);
        // The colour bars: the left-most bar is light grey, the second yellow.
        QTRY_VERIFY_WITH_TIMEOUT(control->grab().toImage().pixelColor(60, 40).red() > 150, 10000);
        const QColor yellow = control->grab().toImage().pixelColor(75, 40);
        QVERIFY2(yellow.red() > 150 && yellow.green() > 150 && yellow.blue() < 90, qPrintable(yellow.name()));
    }
};

QTEST_MAIN(TestDvdControl)
#include "tst_dvdcontrol.moc"
