// The DVD player's two windows, driven as a user would, on a disc authored for the
// tests (null picture and sound) and with no disc.
#include "dvdplayer/form1.h"
#include "dvdplayer/form2.h"
#include "dvdplayer/program.h"
#include "settings/settings.h"
#include "support/sandbox.h"
#include "support/scripted.h"
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <cmath>

using dvd::DvdControl;
using dvdplayer::Form1;
using dvdplayer::Form2;
namespace Member = dvd::Member;

// Records the order in which windows are shown.
class ShowOrder : public QObject {
public:
    QStringList windows;
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Show && object->isWidgetType() && static_cast<QWidget *>(object)->isWindow())
            windows << object->objectName();
        return false;
    }
};

class TestDvdPlayer : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;
    forms::TestClock clock;
    QPointer<Form2> panel;

    void useDisc()
    {
        settings::saveSetting(QStringLiteral("DVD Player"), QStringLiteral("Drive"), QStringLiteral("Device"),
                              QStringLiteral(TEST_DVD));
    }
    void noDisc()
    {
        settings::saveSetting(QStringLiteral("DVD Player"), QStringLiteral("Drive"), QStringLiteral("Device"),
                              sandbox.path() + QStringLiteral("/empty-drive"));
    }
    Form2 *start()
    {
        panel = new Form2;
        panel->showModeless();
        return panel;
    }
    // Starts on the test disc and waits until the disc is open.
    Form2 *startOnDisc()
    {
        useDisc();
        start();
        DvdControl *control = panel->existingVideoWindow()->DVD;
        if (!QTest::qWaitFor([&] { return control->state() == DvdControl::State::Loaded; }, 10000))
            return nullptr;
        return panel;
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static QString initialDisplay() { return QStringLiteral("--  -  --  -  --"); }

private slots:
    void initTestCase()
    {
        forms::setProgram(dvdplayer::programInfo());
        DvdControl::setDefaultOutputs(DvdControl::Outputs::None);
        QVERIFY(QFile::exists(QStringLiteral(TEST_DVD "/VIDEO_TS/VIDEO_TS.IFO")));
    }
    void cleanup()
    {
        DvdControl::setRequestHook({});
        if (panel)
            panel->unload();
        settle();
        QVERIFY(!panel);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!qobject_cast<forms::Form *>(w), qPrintable(w->objectName()));
    }

    void startUp()
    {
        ShowOrder shown;
        qApp->installEventFilter(&shown);
        QVERIFY(startOnDisc());
        qApp->removeEventFilter(&shown);
        QCOMPARE(shown.windows, (QStringList{QStringLiteral("Form1"), QStringLiteral("Form2")}));
        Form1 *video = panel->existingVideoWindow();
        QVERIFY(video && video->isVisible());
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->caption(), QStringLiteral("Controls--MOVIE"));
        QCOMPARE(panel->Label2->caption(), initialDisplay());
        QCOMPARE(video->caption(), QStringLiteral("Varrow's DVD Player"));
        QCOMPARE(video->borderStyle(), forms::BorderStyle::FixedToolWindow);
        QVERIFY(!video->isMovable() && !panel->isMovable());
        QVERIFY(!video->showInTaskbar() && panel->showInTaskbar());
        QCOMPARE(video->size(), QSize(forms::px(9465), forms::px(6840)));
        QVERIFY(!video->windowIcon().isNull());
        QVERIFY(panel->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(panel->windowFlags() & Qt::WindowMaximizeButtonHint));
        // The control takes the window's outer size as it is when the window loads, so it
        // covers the whole inner area.
        QVERIFY(video->DVD->pos().isNull());
        QVERIFY(video->DVD->width() >= video->width() && video->DVD->height() >= video->height());
        // The panel sits a quarter across and two thirds down the screen.
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        const QPoint at = Form2::placement(int(forms::twips(screen.width())), int(forms::twips(screen.height())));
        QCOMPARE(panel->pos(), QPoint(forms::px(at.x()), forms::px(at.y())));

        QVERIFY(panel->Command8->isEnabled());
        clock.advance(1);
        QVERIFY(!panel->Command8->isEnabled());
    }

    void placement_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("1024 x 768") << QSize(15360, 11520) << QPoint(3840, 7680);
        QTest::newRow("1280 x 1024") << QSize(19200, 15360) << QPoint(4800, 10240);
        QTest::newRow("odd sizes") << QSize(15001, 11251) << QPoint(3750, 7501);
    }
    void placement()
    {
        QFETCH(QSize, screen);
        QFETCH(QPoint, expected);
        QCOMPARE(Form2::placement(screen.width(), screen.height()), expected);
    }

    void closeAndReopenTheVideoWindow()
    {
        QVERIFY(startOnDisc());
        clock.advance(1);
        QPointer<Form1> first = panel->existingVideoWindow();
        first->unload();
        settle();
        QVERIFY(!first);
        QVERIFY(panel->isVisible());

        clock.advance(1);
        QVERIFY(panel->Command8->isEnabled());
        // The poll itself brought a fresh video window back, hidden and loaded.
        Form1 *again = panel->existingVideoWindow();
        QVERIFY(again && !again->isVisible() && again->isLoaded());
        QVERIFY(again->DVD->width() >= again->width() && again->DVD->height() >= again->height());

        QTest::mouseClick(panel->Command8, Qt::LeftButton);
        QVERIFY(again->isVisible());
        QCOMPARE(panel->existingVideoWindow(), again);
        clock.advance(1);
        QVERIFY(!panel->Command8->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(again->DVD->state(), DvdControl::State::Loaded, 10000);
    }

    void minimizeAndRestore()
    {
        QVERIFY(startOnDisc());
        Form1 *video = panel->existingVideoWindow();
        const struct { const char *caption; forms::WindowState state; } steps[] = {
            {"Maximize", forms::WindowState::Normal},
            {"Minimize", forms::WindowState::Minimized},
            {"Maximize", forms::WindowState::Normal},
            {"Minimize", forms::WindowState::Minimized},
        };
        for (const auto &step : steps) {
            QTest::mouseClick(panel->Command1, Qt::LeftButton);
            QCOMPARE(panel->Command1->text(), QLatin1String(step.caption));
            QCOMPARE(video->windowStateValue(), step.state);
            clock.advance(1);
            // Minimized counts as visible: the open button stays off.
            QVERIFY(!panel->Command8->isEnabled());
        }
        QCOMPARE(panel->existingVideoWindow(), video);
    }

    void requests_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("member");
        QTest::newRow("Play >") << QStringLiteral("Command3") << int(Member::Play);
        QTest::newRow("blank (pause)") << QStringLiteral("Command2") << int(Member::Pause);
        QTest::newRow("blank (stop)") << QStringLiteral("Command4") << int(Member::Stop);
        QTest::newRow("Scene >") << QStringLiteral("Command5") << int(Member::PlayNextChapter);
        QTest::newRow("< Scene") << QStringLiteral("Command6") << int(Member::PlayPrevChapter);
    }
    void requests()
    {
        QFETCH(QString, button);
        QFETCH(int, member);
        tavtest::ScriptedMsgBoxes boxes;
        QVERIFY(startOnDisc());
        DvdControl *control = panel->existingVideoWindow()->DVD;
        QList<int> sent;
        DvdControl::setRequestHook([&](int m, dvd::InvokeKind kind, const QVariantList &args) -> std::optional<dvd::Reply> {
            if (kind == dvd::InvokeKind::Method && args.isEmpty())
                sent << m;
            return std::nullopt;
        });
        QTest::mouseClick(panel->findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(sent, QList<int>{member});
        QVERIFY(boxes.shown.isEmpty());
        if (member == Member::Play)
            QTRY_VERIFY_WITH_TIMEOUT(control->position() > 0.2, 10000);
        if (member == Member::PlayNextChapter)
            QTRY_COMPARE_WITH_TIMEOUT(control->get(Member::CurrentChapter).value.toInt(), 2, 10000);
        QCOMPARE(panel->caption(), QStringLiteral("Controls--MOVIE"));
        QCOMPARE(panel->Label2->caption(), initialDisplay());
    }

    void requestsWithoutDisc_data() { requests_data(); }
    void requestsWithoutDisc()
    {
        QFETCH(QString, button);
        tavtest::ScriptedMsgBoxes boxes;
        noDisc();
        start();
        QTest::mouseClick(panel->findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{Form2::MessageA});
        QCOMPARE(boxes.shown.first().title, QStringLiteral("DVD Player"));
        QCOMPARE(boxes.shown.first().buttons, 0);
        QCOMPARE(panel->caption(), QStringLiteral("Controls--MOVIE"));
        QCOMPARE(panel->Label2->caption(), initialDisplay());
        QCOMPARE(panel->Command7->text(), QStringLiteral("Mute"));
        QVERIFY(panel->Timer1->isEnabled());
    }

    void messagesAsWritten()
    {
        QCOMPARE(Form2::MessageA, QStringLiteral("Please insert a DVD disk.  Our program has found that there isn't a "
                                                 "disk in the DVD drive and/or there isn't a DVD drive."));
        QCOMPARE(Form2::MessageB, QStringLiteral("Please insert a DVD disk.  Our program found no DVD disk or no DVD "
                                                 "drive in/on your system."));
    }

    void muteClickedTwice()
    {
        tavtest::ScriptedMsgBoxes boxes;
        QVERIFY(startOnDisc());
        DvdControl *control = panel->existingVideoWindow()->DVD;
        QVariantList written;
        DvdControl::setRequestHook([&](int m, dvd::InvokeKind kind, const QVariantList &args) -> std::optional<dvd::Reply> {
            if (m == Member::Mute && kind == dvd::InvokeKind::PropertyPut)
                written << args;
            return std::nullopt;
        });
        QTest::mouseClick(panel->Command7, Qt::LeftButton);
        QCOMPARE(panel->Command7->text(), QStringLiteral("Unmute"));
        QVERIFY(control->isMuted());
        QTest::mouseClick(panel->Command7, Qt::LeftButton);
        QCOMPARE(panel->Command7->text(), QStringLiteral("Mute"));
        QVERIFY(!control->isMuted());
        QCOMPARE(written, (QVariantList{true, false}));
        QVERIFY(boxes.shown.isEmpty());
    }

    void muteFailsWithoutDisc()
    {
        tavtest::ScriptedMsgBoxes boxes;
        noDisc();
        start();
        QTest::mouseClick(panel->Command7, Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{Form2::MessageA});
        QCOMPARE(panel->Command7->text(), QStringLiteral("Mute"));
    }

    void refreshShowsChapterAndPosition()
    {
        tavtest::ScriptedMsgBoxes boxes;
        QVERIFY(startOnDisc());
        DvdControl *control = panel->existingVideoWindow()->DVD;
        clock.advance(9999);
        QCOMPARE(panel->caption(), QStringLiteral("Controls--MOVIE"));
        QCOMPARE(panel->Label2->caption(), initialDisplay());
        clock.advance(1);
        QCOMPARE(panel->caption(), QStringLiteral("Control--MOVIE (1)"));
        QCOMPARE(panel->Label2->caption(), QStringLiteral("00:00:00"));

        QTest::mouseClick(panel->Command3, Qt::LeftButton);
        QTest::mouseClick(panel->Command5, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(control->get(Member::CurrentChapter).value.toInt(), 2, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(control->position() >= 2.0, 10000);
        clock.advance(10000);
        QCOMPARE(panel->caption(), QStringLiteral("Control--MOVIE (2)"));
        QVERIFY2(QRegularExpression(QStringLiteral("^00:00:0[2-9]$")).match(panel->Label2->caption()).hasMatch(),
                 qPrintable(panel->Label2->caption()));
        QVERIFY(boxes.shown.isEmpty());
        QVERIFY(panel->Timer1->isEnabled());
    }

    void refreshFailsForGood()
    {
        tavtest::ScriptedMsgBoxes boxes;
        noDisc();
        start();
        bool enabledWhileOpen = false;
        QString displayWhileOpen;
        boxes.whileOpen = [&](const forms::MsgBoxRequest &) {
            enabledWhileOpen = panel->Timer1->isEnabled();
            displayWhileOpen = panel->Label2->caption();
            clock.advance(20000);   // a tick that comes due while the box is up is dropped
        };
        clock.advance(10000);
        QCOMPARE(boxes.texts(), QStringList{Form2::MessageB});
        QCOMPARE(boxes.shown.first().title, QStringLiteral("DVD Player"));
        QVERIFY(enabledWhileOpen);
        QCOMPARE(displayWhileOpen, QStringLiteral("NO DVD"));
        QVERIFY(!panel->Timer1->isEnabled());
        QCOMPARE(panel->caption(), QStringLiteral("Controls--MOVIE"));

        // A disc put in later plays, but the display stays as it is.
        boxes.whileOpen = nullptr;
        useDisc();
        QTest::mouseClick(panel->Command3, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(panel->existingVideoWindow()->DVD->state() == DvdControl::State::Loaded, 10000);
        clock.advance(60000);
        QCOMPARE(boxes.texts(), QStringList{Form2::MessageB});
        QCOMPARE(panel->Label2->caption(), QStringLiteral("NO DVD"));
        QCOMPARE(panel->caption(), QStringLiteral("Controls--MOVIE"));
    }

    void refreshFailsAtTheSecondRead()
    {
        tavtest::ScriptedMsgBoxes boxes;
        QVERIFY(startOnDisc());
        DvdControl::setRequestHook([](int m, dvd::InvokeKind, const QVariantList &) -> std::optional<dvd::Reply> {
            if (m == Member::CurrentTime)
                return dvd::Reply::failure(QStringLiteral("read error"));
            return std::nullopt;
        });
        clock.advance(10000);
        QCOMPARE(panel->caption(), QStringLiteral("Control--MOVIE (1)"));
        QCOMPARE(panel->Label2->caption(), QStringLiteral("NO DVD"));
        QCOMPARE(boxes.texts(), QStringList{Form2::MessageB});
        QVERIFY(!panel->Timer1->isEnabled());
    }

    // What the two reads give is converted: a whole number for the caption, a text for
    // the display. A value that does not convert fails the refresh.
    void refreshConversions_data()
    {
        QTest::addColumn<QVariant>("chapter");
        QTest::addColumn<QVariant>("position");
        QTest::addColumn<QString>("caption");   // the panel's caption after the refresh
        QTest::addColumn<QString>("display");   // "NO DVD" when the refresh failed
        const QString initial = QStringLiteral("Controls--MOVIE"), failed = QStringLiteral("NO DVD");
        const QVariant x = QStringLiteral("x");
        QTest::newRow("numbers") << QVariant(7) << QVariant(QStringLiteral("01:02:03")) << QStringLiteral("Control--MOVIE (7)") << QStringLiteral("01:02:03");
        QTest::newRow("number as text") << QVariant(QStringLiteral(" 12 ")) << QVariant(5) << QStringLiteral("Control--MOVIE (12)") << QStringLiteral("5");
        QTest::newRow("half rounds to even, down") << QVariant(2.5) << QVariant(QString()) << QStringLiteral("Control--MOVIE (2)") << QString();
        QTest::newRow("half rounds to even, up") << QVariant(3.5) << x << QStringLiteral("Control--MOVIE (4)") << QStringLiteral("x");
        QTest::newRow("negative") << QVariant(-1.4) << x << QStringLiteral("Control--MOVIE (-1)") << QStringLiteral("x");
        QTest::newRow("largest") << QVariant(qlonglong(2147483647)) << x << QStringLiteral("Control--MOVIE (2147483647)") << QStringLiteral("x");
        QTest::newRow("too large") << QVariant(qlonglong(2147483648LL)) << x << initial << failed;
        QTest::newRow("not a number") << QVariant(QStringLiteral("abc")) << x << initial << failed;
        QTest::newRow("not finite") << QVariant(std::nan("")) << x << initial << failed;
        QTest::newRow("empty value") << QVariant() << x << initial << failed;
        QTest::newRow("position empty") << QVariant(3) << QVariant() << QStringLiteral("Control--MOVIE (3)") << failed;
        QTest::newRow("position a list") << QVariant(3) << QVariant(QVariantList{1, 2}) << QStringLiteral("Control--MOVIE (3)") << failed;
    }
    void refreshConversions()
    {
        QFETCH(QVariant, chapter);
        QFETCH(QVariant, position);
        QFETCH(QString, caption);
        QFETCH(QString, display);
        tavtest::ScriptedMsgBoxes boxes;
        noDisc();
        start();
        DvdControl::setRequestHook([&](int m, dvd::InvokeKind, const QVariantList &) -> std::optional<dvd::Reply> {
            if (m == Member::CurrentChapter)
                return dvd::Reply::success(chapter);
            if (m == Member::CurrentTime)
                return dvd::Reply::success(position);
            return std::nullopt;
        });
        clock.advance(10000);
        QCOMPARE(panel->caption(), caption);
        QCOMPARE(panel->Label2->caption(), display);
        const bool failed = display == QStringLiteral("NO DVD");
        QCOMPARE(boxes.texts(), failed ? QStringList{Form2::MessageB} : QStringList());
        QCOMPARE(panel->Timer1->isEnabled(), !failed);
    }

    // Closing the panel takes the video window with it, and the event loop returns.
    void closingThePanelEndsTheProgram()
    {
        QVERIFY(startOnDisc());
        QPointer<Form1> video = panel->existingVideoWindow();
        QVERIFY(video->isVisible());
        bool timedOut = false;
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [&] { timedOut = true; QCoreApplication::exit(1); });
        guard.start(10000);
        QTimer::singleShot(0, panel, [this] { panel->unload(); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!timedOut);
        settle();
        QVERIFY(!panel);
        QVERIFY(!video);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    // On the real event loop, with real message boxes: message A is up when the status
    // refresh comes due, so message B opens inside it. Each box closes in its turn.
    void realMessageBoxesNest()
    {
        noDisc();
        start();
        QStringList seen;
        bool refreshed = false;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (seen.isEmpty() || seen.last() != box->text() || box->text() == Form2::MessageB)
                seen << box->text();
            if (box->text() == Form2::MessageA && !refreshed) {
                refreshed = true;
                QTimer::singleShot(0, this, [&] { clock.advance(10000); });
                return;
            }
            box->button(QMessageBox::Ok)->click();
        });
        poll.start();
        QTimer::singleShot(0, panel->Command3, [&] { panel->Command3->click(); });
        QTRY_VERIFY_WITH_TIMEOUT(!panel->Timer1->isEnabled() && !QApplication::activeModalWidget() && seen.size() >= 3, 10000);
        poll.stop();
        QCOMPARE(seen, (QStringList{Form2::MessageA, Form2::MessageB, Form2::MessageA}));
        QCOMPARE(panel->Label2->caption(), QStringLiteral("NO DVD"));
        QVERIFY(panel->isVisible());
    }
};

QTEST_MAIN(TestDvdPlayer)
#include "tst_dvdplayer.moc"
