// The windows the main window's entries open: System Control, Security Setup, the
// closing screen and the About box, each reached through its entry on the main window.
#include "launcher/form1.h"
#include "launcher/form2.h"
#include "launcher/form3.h"
#include "launcher/form7.h"
#include "launcher/program.h"
#include "about/frmabout.h"
#include "forms/program.h"
#include "forms/timer.h"
#include "support/sandbox.h"
#include "support/windows.h"
#include "support/scripted.h"
#include <QDirIterator>
#include <QMessageBox>
#include <QtTest>

using namespace launcher;
using about::frmAbout;

namespace {
using tavtest::openWindow;

int visibleWindows()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += w->isVisible() ? 1 : 0;
    return n;
}

// Every file under a folder with its content, to see that nothing was stored.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files.insert(path, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    return files;
}
} // namespace

class TestLauncherWindows : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;   // first: nothing may read the real settings
    QPointer<Form1> main;
    int ended = 0;

    void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

    Form2 *openSystemControl()
    {
        click(main->Label2);
        return openWindow<Form2>();
    }

private slots:
    void initTestCase()
    {
        forms::setProgram(programInfo());
        forms::Form::setModalShowBlocks(false);   // the tests drive the modal windows themselves
        forms::setEndProgramHandler([this] { ++ended; });
    }

    void init()
    {
        ended = 0;
        main = new Form1;
        main->showModeless();
    }

    void cleanup()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *f = qobject_cast<forms::Form *>(w); f && f != main)
                f->unload();
        if (main)
            main->unload();
        QTRY_VERIFY(main.isNull());
        QTRY_COMPARE(visibleWindows(), 0);
    }

    // ---- System Control

    void systemControlOpensAsDesigned()
    {
        Form2 *f = openSystemControl();
        QVERIFY(f);
        QVERIFY(f->isShownModally());
        QCOMPARE(f->caption(), QStringLiteral("System Control"));
        QCOMPARE(f->borderStyle(), forms::BorderStyle::FixedToolWindow);
        QCOMPARE(f->size(), QSize(336, 194));   // 5040 x 2910 twips
        QCOMPARE(f->Timer1->interval(), 2000);
        QVERIFY(!f->Timer1->isEnabled());
        QCOMPARE(f->ProgressBar1->value(), 0.0f);
        QCOMPARE(f->ProgressBar1->max(), 100.0f);
        QVERIFY(f->Command1->isEnabled() && f->Command2->isEnabled() && f->Command4->isEnabled());
    }

    // Each row: what happens in this opening before the run, the run's button, and what
    // the run then looks like: its interval, which run buttons are enabled, and when
    // (after the click) the completion is announced.
    void runs_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("fullEnabled");
        QTest::addColumn<bool>("lowEnabled");
        QTest::addColumn<int>("announceAfter");
        QTest::newRow("Full") << QStringList() << "full" << 2000 << true << false << 202000;
        QTest::newRow("Low") << QStringList() << "low" << 1000 << false << true << 101000;
        QTest::newRow("Low, Stop, Full steps at 1000 ms")
            << QStringList{"low", "wait 5000", "stop"} << "full" << 1000 << true << false << 101000;
        QTest::newRow("Full, Stop, Low") << QStringList{"full", "wait 9000", "stop"} << "low" << 1000 << false
                                         << true << 101000;
        QTest::newRow("Full again after completion: one interval later")
            << QStringList{"full", "wait 202000"} << "full" << 2000 << true << false << 2000;
        QTest::newRow("Low again after completion")
            << QStringList{"low", "wait 101000"} << "low" << 1000 << false << true << 1000;
    }

    void runs()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, button);
        QFETCH(int, interval);
        QFETCH(bool, fullEnabled);
        QFETCH(bool, lowEnabled);
        QFETCH(int, announceAfter);

        forms::TestClock clock;
        tavtest::ScriptedMsgBoxes boxes;
        Form2 *f = openSystemControl();
        QVERIFY(f);
        QList<qint64> announced;   // when each message came, and whether the timer was off
        boxes.whileOpen = [&](const forms::MsgBoxRequest &r) {
            QVERIFY(!f->Timer1->isEnabled());
            if (r.text == QLatin1String(Form2::CompletedText))
                announced << clock.now();
        };
        for (const QString &step : before) {
            if (step == "full")
                f->Command1->click();
            else if (step == "low")
                f->Command2->click();
            else if (step == "stop")
                f->Command4->click();
            else
                clock.advance(step.section(' ', 1).toInt());
        }
        announced.clear();
        const qint64 start = clock.now();
        const QStringList shownBefore = boxes.texts();
        (button == "full" ? f->Command1 : f->Command2)->click();

        QVERIFY(f->Timer1->isEnabled());
        QCOMPARE(f->Timer1->interval(), interval);
        QCOMPARE(f->Command1->isEnabled(), fullEnabled);
        QCOMPARE(f->Command2->isEnabled(), lowEnabled);
        QVERIFY(f->Command4->isEnabled());

        if (announceAfter > interval) {
            clock.advance(interval);
            QCOMPARE(f->ProgressBar1->value(), 1.0f);   // one step per tick, from empty
            clock.advance(announceAfter - interval - 1);
        } else {
            clock.advance(announceAfter - 1);
        }
        QCOMPARE(boxes.texts(), shownBefore);   // not yet
        QCOMPARE(f->ProgressBar1->value(), 100.0f);
        clock.advance(1);
        QCOMPARE(announced, QList<qint64>{start + announceAfter});
        QCOMPARE(boxes.texts().mid(shownBefore.size()), QStringList{Form2::CompletedText});
        QCOMPARE(boxes.shown.last().buttons, forms::MsgBoxStyle::OkOnly);
        QCOMPARE(boxes.shown.last().title, QStringLiteral("Tavolin 2005"));

        // Completed: timer off, bar full, the run's buttons as during the run.
        QVERIFY(!f->Timer1->isEnabled());
        QCOMPARE(f->ProgressBar1->value(), 100.0f);
        QCOMPARE(f->Command1->isEnabled(), fullEnabled);
        QCOMPARE(f->Command2->isEnabled(), lowEnabled);
        clock.advance(600000);
        QCOMPARE(announced.size(), 1);
    }

    void stop_data()
    {
        QTest::addColumn<QString>("run");   // empty: no run going
        QTest::addColumn<int>("interval");  // kept by Stop
        QTest::newRow("no run") << QString() << 2000;
        QTest::newRow("mid Full run") << "full" << 2000;
        QTest::newRow("mid Low run") << "low" << 1000;
    }

    void stop()
    {
        QFETCH(QString, run);
        QFETCH(int, interval);
        forms::TestClock clock;
        tavtest::ScriptedMsgBoxes boxes;
        Form2 *f = openSystemControl();
        QVERIFY(f);
        if (!run.isEmpty()) {
            (run == "full" ? f->Command1 : f->Command2)->click();
            clock.advance(30000);
            QVERIFY(f->ProgressBar1->value() > 0.0f);
        }
        // The timer is off before the message; the bar empties and the buttons come back
        // only once it is answered.
        boxes.whileOpen = [&](const forms::MsgBoxRequest &) {
            QVERIFY(!f->Timer1->isEnabled());
            clock.advance(10000);   // time passes while the message is open
        };
        f->Command4->click();
        QCOMPARE(boxes.texts(), QStringList{Form2::StoppedText});
        QCOMPARE(f->ProgressBar1->value(), 0.0f);
        QVERIFY(f->Command1->isEnabled() && f->Command2->isEnabled());
        QVERIFY(!f->Timer1->isEnabled());
        QCOMPARE(f->Timer1->interval(), interval);
        boxes.whileOpen = nullptr;
        clock.advance(300000);
        QCOMPARE(boxes.texts().size(), 1);
    }

    // Closing in the middle of a run says nothing, and the next opening starts afresh,
    // at 2000 ms even after a Low run.
    void closingMidRunAndReopening()
    {
        forms::TestClock clock;
        tavtest::ScriptedMsgBoxes boxes;
        QPointer<Form2> first = openSystemControl();
        first->Command2->click();
        clock.advance(50000);
        QCOMPARE(first->ProgressBar1->value(), 50.0f);
        first->close();   // the close box
        clock.advance(500000);
        QVERIFY(boxes.shown.isEmpty());
        QTRY_VERIFY(!first);

        Form2 *second = openSystemControl();
        QVERIFY(second);
        QCOMPARE(second->Timer1->interval(), 2000);
        QVERIFY(!second->Timer1->isEnabled());
        QCOMPARE(second->ProgressBar1->value(), 0.0f);
        QVERIFY(second->Command1->isEnabled() && second->Command2->isEnabled());
        second->Command1->click();
        clock.advance(202000);
        QCOMPARE(boxes.texts(), QStringList{Form2::CompletedText});
    }

    // ---- Security Setup

    void securityNoteComesFirst()
    {
        tavtest::ScriptedMsgBoxes boxes;
        bool windowDuringNote = true;
        boxes.whileOpen = [&](const forms::MsgBoxRequest &) { windowDuringNote = openWindow<Form3>() != nullptr; };
        for (int opening = 0; opening < 2; ++opening) {
            boxes.clear();
            click(main->Label3);
            QCOMPARE(boxes.texts(), QStringList{Form3::NoteText});
            QCOMPARE(boxes.shown.first().title, QStringLiteral("Tavolin 2005"));
            QVERIFY(!windowDuringNote);
            Form3 *f = openWindow<Form3>();
            QVERIFY(f);
            QVERIFY(f->isShownModally());
            QCOMPARE(f->caption(), QStringLiteral("System Security"));
            QCOMPARE(f->size(), QSize(245, 176));   // 3675 x 2640 twips
            f->close();   // the close box: no message
            QCOMPARE(boxes.texts().size(), 1);
            QTRY_VERIFY(!openWindow<Form3>());
        }
    }

    void securityLevels_data()
    {
        QTest::addColumn<int>("level");
        QTest::newRow("Low Security") << 1;
        QTest::newRow("Default Setting") << 2;
        QTest::newRow("High Security") << 3;
    }

    void securityLevels()
    {
        QFETCH(int, level);
        tavtest::ScriptedMsgBoxes boxes;
        const auto storedBefore = snapshot(sandbox.path());
        click(main->Label3);
        QPointer<Form3> f = openWindow<Form3>();
        QVERIFY(f);
        bool openDuringMessage = false;
        boxes.whileOpen = [&](const forms::MsgBoxRequest &) { openDuringMessage = f && f->isVisible(); };
        (level == 1 ? f->Command1 : level == 2 ? f->Command2 : f->Command3)->click();
        QCOMPARE(boxes.texts(), (QStringList{Form3::NoteText, Form3::SavedText}));
        QVERIFY(openDuringMessage);   // closed only once the message is answered
        QTRY_VERIFY(!f);
        QCOMPARE(snapshot(sandbox.path()), storedBefore);   // nothing stored anywhere

        // The next opening looks the same: no level is remembered.
        click(main->Label3);
        Form3 *again = openWindow<Form3>();
        QVERIFY(again);
        QVERIFY(!again->Command1->isDown() && !again->Command2->isDown() && !again->Command3->isDown());
    }

    // ---- The About box from the copyright line

    void copyrightLineShowsAboutModal()
    {
        click(main->Label12);
        frmAbout *box = openWindow<frmAbout>();
        QVERIFY(box);
        QVERIFY(box->isShownModally());
        QVERIFY(!box->parentWidget());   // no owner
        QCOMPARE(box->configuration(), about::Configuration::Launcher);
        QCOMPARE(box->caption(), QStringLiteral("About Tavolin 2005"));
        QCOMPARE(box->lblVersion->caption(), QStringLiteral("Version 1.0.12"));
        box->cmdOK->click();
        QTRY_VERIFY(!openWindow<frmAbout>());
        QVERIFY(main->isVisible());
    }

    // ---- The closing screen

    void exitUnloadsMainWindowFirst()
    {
        forms::TestClock clock;
        bool screenWhenMainWent = true;
        connect(main, &forms::Form::unloaded, this, [&] { screenWhenMainWent = openWindow<Form7>() != nullptr; });
        click(main->Label1);
        QVERIFY(!screenWhenMainWent);
        QTRY_VERIFY(!main);
        Form7 *screen = openWindow<Form7>();
        QVERIFY(screen);
        QVERIFY(screen->isShownModally());
        QCOMPARE(screen->size(), QSize(370, 214));   // 5550 x 3210 twips
        QVERIFY(screen->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(screen->ProgressBar1->value(), 0.0f);
        QVERIFY(screen->Timer1->isEnabled());
        QCOMPARE(screen->Timer1->interval(), 50);
    }

    void closingScreenEndsOnThe101stTick()
    {
        forms::TestClock clock;
        click(main->Label1);
        Form7 *screen = openWindow<Form7>();
        QVERIFY(screen);
        clock.advance(50);
        QCOMPARE(screen->ProgressBar1->value(), 1.0f);
        clock.advance(4950);   // 100 ticks: full, not yet ended
        QCOMPARE(screen->ProgressBar1->value(), 100.0f);
        QCOMPARE(ended, 0);
        clock.advance(49);
        QCOMPARE(ended, 0);
        clock.advance(1);       // the 101st tick, at 5050 ms
        QCOMPARE(ended, 1);
        QVERIFY(!screen->Timer1->isEnabled());
        QCOMPARE(visibleWindows(), 0);
        clock.advance(10000);
        QCOMPARE(ended, 1);
        QTRY_VERIFY(!main);     // the main window never came back
    }

    void aboutLeavesThroughTheAboutBox()
    {
        forms::TestClock clock;
        click(main->Label1);
        QPointer<Form7> screen = openWindow<Form7>();
        QVERIFY(screen);
        clock.advance(2500);
        QCOMPARE(screen->ProgressBar1->value(), 50.0f);
        click(screen->Label2);
        QVERIFY(!screen || !screen->isVisible());
        frmAbout *box = openWindow<frmAbout>();
        QVERIFY(box);
        QVERIFY(!box->isShownModally());
        QVERIFY(!box->parentWidget());
        QCOMPARE(box->caption(), QStringLiteral("About Tavolin 2005"));
        clock.advance(60000);   // the stopped bar never ends the program
        QCOMPARE(ended, 0);
        QTRY_VERIFY(!screen);
        QCOMPARE(visibleWindows(), 1);   // the About box is the launcher's last window
        QVERIFY(!main);
        box->cmdOK->click();
        QTRY_COMPARE(visibleWindows(), 0);
    }

    // On the real event loop and real timers: Exit, then "About Tavolin" on the closing
    // screen, then Escape on the About box. The program ends because its last window
    // closed, not by the closing screen's timer. Nothing is scripted.
    void realEventLoopAboutPath()
    {
        forms::Form::setModalShowBlocks(true);
        QStringList steps;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&] {
            if (main && main->isVisible() && steps.isEmpty()) {
                steps << "exit";
                // Queued: the closing screen's modal loop must not run inside this timer.
                QTimer::singleShot(0, main->Label1, [this] { click(main->Label1); });
            } else if (auto *screen = qobject_cast<Form7 *>(QApplication::activeModalWidget());
                       screen && steps.size() == 1 && screen->ProgressBar1->value() >= 10.0f) {
                steps << "about";
                QTimer::singleShot(0, screen->Label2, [this, screen] { click(screen->Label2); });
            } else if (auto *box = openWindow<frmAbout>(); box && steps.size() == 2) {
                steps << "escape";
                box->activateWindow();
                QTest::keyClick(box->cmdOK, Qt::Key_Escape);
            }
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [] { QCoreApplication::exit(1); });
        guard.start(20000);
        poll.start();
        const int result = QApplication::exec();   // ends when the last window has closed
        forms::Form::setModalShowBlocks(false);
        QCOMPARE(steps, (QStringList{"exit", "about", "escape"}));
        QCOMPARE(ended, 0);   // not by the closing screen
        QCOMPARE(result, 0);  // and not by the guard
        QCOMPARE(visibleWindows(), 0);
    }
};

QTEST_MAIN(TestLauncherWindows)
#include "tst_windows.moc"
