// The game on the real event loop: real timers, real message boxes, closed from a
// QTimer as a player would close them. Ticks keep coming while a box is open; each
// completed line must still be announced and counted once.
#include "board.h"
#include "support/sandbox.h"
#include "tic_tac_toe/form1.h"
#include "tic_tac_toe/program.h"
#include "forms/program.h"
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

using gridlark::Form1;

class TstGridlarkEventLoop : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;   // first, before anything reads the environment

    struct Seen {
        QString text, title, boardWhenShown, boardAfterClick;
    };
    QList<Seen> seen;
    QPointer<Form1> form;
    QTimer watcher;
    QPointer<QMessageBox> current;
    static constexpr int keepOpenMs = 400;

    QString board() const { return gridlarktest::board(form); }
    void clickAt(QWidget *control) { gridlarktest::clickAt(form, control); }
    void play(const QList<int> &cells)
    {
        for (int c : cells) {
            clickAt(form->clickCell(c));
            QTest::qWait(20);
        }
    }

    // Looks for a box every few milliseconds. A new one is recorded, clicked around
    // (a click on the board must not get through), and its OK button is clicked a
    // while later, long enough for every timer to come due several times.
    void watch()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == current)
            return;
        current = box;
        Seen s{box->text(), box->windowTitle(), board(), QString()};
        clickAt(form->clickCell(9));
        s.boardAfterClick = board();
        seen << s;
        // Boxes piling up on each other mean a fault: close them at once, so the test
        // ends with a failure rather than waiting on a tower of boxes.
        QTimer::singleShot(seen.size() > 3 ? 0 : keepOpenMs, box, [box] {
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
        });
    }

private slots:
    void initTestCase()
    {
        forms::setProgram(gridlark::programInfo());
        connect(&watcher, &QTimer::timeout, this, &TstGridlarkEventLoop::watch);
        watcher.start(10);
    }
    void init()
    {
        seen.clear();
        form = new Form1;
        form->showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
    void cleanup()
    {
        QVERIFY(!QApplication::activeModalWidget());
        delete form;
    }

    void lineAnnouncedAndCountedOnce();
    void creditBoxLeavesGameAsItWas();
};

void TstGridlarkEventLoop::lineAnnouncedAndCountedOnce()
{
    play({1, 2, 4, 5, 7});   // X completes the top row
    QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 1, 3000);
    QCOMPARE(seen[0].text, QStringLiteral("Player X wins"));
    QCOMPARE(seen[0].title, QStringLiteral("The End"));
    QCOMPARE(seen[0].boardWhenShown, QStringLiteral("XO.XO.X.."));
    QCOMPARE(seen[0].boardAfterClick, seen[0].boardWhenShown);   // the window took no click

    QTRY_COMPARE_WITH_TIMEOUT(form->Label3->text(), QStringLiteral("1"), 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), 3000);
    // A few more rounds of every timer: nothing more is announced or counted.
    QTest::qWait(300);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(form->XScore, qint16(1));
    QCOMPARE(form->OScore, qint16(0));
    QCOMPARE(form->Label4->text(), QStringLiteral("0"));
    QCOMPARE(board(), QStringLiteral("........."));
    QVERIFY(form->Timer2->isEnabled());
    QCOMPARE(forms::mousePointer(form), 12);   // O begins the next game

    // The next win comes through as well: O on the middle column.
    play({4, 1, 5, 2, 6});
    QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 2, 3000);
    QCOMPARE(seen[1].text, QStringLiteral("Player O wins"));
    QTRY_COMPARE_WITH_TIMEOUT(form->Label4->text(), QStringLiteral("1"), 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), 3000);
    QTest::qWait(200);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(form->XScore, qint16(1));
    QCOMPARE(form->OScore, qint16(1));
}

void TstGridlarkEventLoop::creditBoxLeavesGameAsItWas()
{
    play({5, 1, 9});
    QTest::qWait(100);
    const QString before = board();
    QCOMPARE(before, QStringLiteral("O...X...X"));

    clickAt(form->Label2);
    QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 1, 3000);
    QCOMPARE(seen[0].text, QStringLiteral("Email to brambleton@brambleton.example"));
    QCOMPARE(seen[0].title, QStringLiteral("EMail"));
    QCOMPARE(seen[0].boardAfterClick, before);
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), 3000);
    QCOMPARE(board(), before);
    QVERIFY(!form->XTurn);
    QVERIFY(form->OTurn);
    QCOMPARE(form->XScore, qint16(0));
    QCOMPARE(form->OScore, qint16(0));
}

QTEST_MAIN(TstGridlarkEventLoop)
#include "tst_eventloop.moc"
