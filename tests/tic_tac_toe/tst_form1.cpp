// The game window on the test clock, with scripted message boxes: the layout, the
// click rule, the pointer, the win check and the scores.
#include "board.h"
#include "support/sandbox.h"
#include "support/scripted.h"
#include "tic_tac_toe/form1.h"
#include "tic_tac_toe/program.h"
#include "forms/colors.h"
#include "forms/msgbox.h"
#include "forms/program.h"
#include <QPointer>
#include <QtTest>
#include <memory>

using gridlark::Form1;

namespace {

struct NamedLine {
    const char *name;
    int cells[3];
};

// The eight lines in the order the game examines them.
const NamedLine Lines[8] = {
    {"left column", {1, 2, 3}},  {"top row", {1, 4, 7}},     {"falling diagonal", {1, 5, 9}},
    {"middle row", {2, 5, 8}},   {"bottom row", {3, 6, 9}},  {"rising diagonal", {3, 5, 7}},
    {"middle column", {4, 5, 6}}, {"right column", {7, 8, 9}},
};

bool hasLine(const QList<int> &cells)
{
    for (const NamedLine &line : Lines) {
        if (cells.contains(line.cells[0]) && cells.contains(line.cells[1]) && cells.contains(line.cells[2]))
            return true;
    }
    return false;
}

// Cells not on the line, `count` of them, that hold no line of their own.
QList<int> offLine(const NamedLine &line, int count)
{
    QList<int> free;
    for (int c = 1; c <= 9; ++c) {
        if (c != line.cells[0] && c != line.cells[1] && c != line.cells[2])
            free << c;
    }
    // Every choice of `count` cells, first found wins.
    const int n = int(free.size());
    for (int mask = 0; mask < (1 << n); ++mask) {
        QList<int> pick;
        for (int i = 0; i < n; ++i) {
            if (mask & (1 << i))
                pick << free.at(i);
        }
        if (pick.size() == count && !hasLine(pick))
            return pick;
    }
    return {};
}

// The moves of a game in which `winner` completes `line` with the last move.
QList<int> gameWonOn(const NamedLine &line, QChar winner)
{
    const QList<int> own = {line.cells[0], line.cells[1], line.cells[2]};
    QList<int> moves;
    if (winner == QLatin1Char('X')) {
        const QList<int> other = offLine(line, 2);
        moves = {own[0], other[0], own[1], other[1], own[2]};
    } else {
        const QList<int> other = offLine(line, 3);
        moves = {other[0], own[0], other[1], own[1], other[2], own[2]};
    }
    return moves;
}

} // namespace

class TstGridlark : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;   // first, before anything reads the environment

    std::unique_ptr<forms::TestClock> clock;
    std::unique_ptr<tavtest::ScriptedMsgBoxes> boxes;
    QPointer<Form1> form;

    QString board() const { return gridlarktest::board(form); }
    QString turn() const
    {
        return QStringLiteral("%1%2").arg(form->XTurn ? "X" : "-", form->OTurn ? "O" : "-");
    }
    void clickAt(QWidget *control) { gridlarktest::clickAt(form, control); }
    void click(int cell) { clickAt(form->clickCell(cell)); }
    // Moves as a player makes them, a tick of every timer between two clicks.
    void play(const QList<int> &cells)
    {
        for (int c : cells) {
            click(c);
            clock->advance(50);
        }
    }
    void clickAll(const QList<int> &cells)
    {
        for (int c : cells)
            click(c);
    }

private slots:
    void initTestCase() { forms::setProgram(gridlark::programInfo()); }
    void init()
    {
        clock = std::make_unique<forms::TestClock>();
        boxes = std::make_unique<tavtest::ScriptedMsgBoxes>();
        form = new Form1;
        form->showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
    void cleanup()
    {
        delete form;
        boxes.reset();
        clock.reset();
    }

    void windowLayout();
    void controlPlaces_data();
    void controlPlaces();
    void clickCellsLieInFrontOfMarks();
    void startUp();
    void clickRule_data();
    void clickRule();
    void pointerShowsWhoseTurn();
    void lineWins_data();
    void lineWins();
    void announcementOpenWhileTimersRun();
    void twoLinesAtOnceCountOnce();
    void xCheckedBeforeO();
    void fullBoardWithoutLine();
    void firstMoveAfterWin_data();
    void firstMoveAfterWin();
    void scoresAddUp();
    void highestScoreStays_data();
    void highestScoreStays();
    void creditBoxLeavesGameAsItWas();
};

void TstGridlark::windowLayout()
{
    QCOMPARE(form->caption(), QStringLiteral("Tic Tac Toe"));
    QCOMPARE(form->size(), QSize(396, 320));   // 5940 x 4800 twips
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QCOMPARE(form->borderStyle(), forms::BorderStyle::FixedSingle);
    QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(form->startUpPosition(), forms::StartUpPosition::CenterScreen);
    QCOMPARE(form->palette().color(QPalette::Window), QColor(Qt::white));
    QVERIFY(!form->windowIcon().isNull());
    QVERIFY(!form->Image10->picture().isNull());

    for (forms::Label *score : {form->Label3, form->Label4}) {
        QCOMPARE(score->font().family(), QStringLiteral("Comic Sans MS"));
        QCOMPARE(score->font().pointSize(), 36);
        QVERIFY(score->font().bold());
        QVERIFY(score->alignment() & Qt::AlignHCenter);
        QCOMPARE(score->palette().color(QPalette::Window), QColor(Qt::white));
    }
    QCOMPARE(form->Frame1->title(), QStringLiteral("Player X"));
    QCOMPARE(form->Frame2->title(), QStringLiteral("Player O"));
    QCOMPARE(form->Label3->parentWidget(), form->Frame1);
    QCOMPARE(form->Label4->parentWidget(), form->Frame2);

    QCOMPARE(form->Label1->text(), QStringLiteral("Game by"));
    QVERIFY(form->Label1->alignment() & Qt::AlignRight);
    QCOMPARE(form->Label2->text(), QStringLiteral("Brambleton"));
    QVERIFY(form->Label2->font().underline());
    QCOMPARE(form->Label2->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    for (forms::Timer *t : {form->Timer1, form->Timer2, form->Timer3}) {
        QCOMPARE(t->interval(), 50);
        QVERIFY(t->isEnabled());
    }
}

void TstGridlark::controlPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");   // left, top, width, height
    QTest::newRow("banner") << "Image10" << QRect(480, 120, 3372, 612);
    QTest::newRow("cell 1") << "Image1" << QRect(480, 840, 1092, 1092);
    QTest::newRow("cell 5") << "Image5" << QRect(1560, 1920, 1212, 1212);
    QTest::newRow("cell 8") << "Image8" << QRect(2760, 1920, 1092, 1212);
    QTest::newRow("X 2") << "X2" << QRect(600, 2040, 852, 972);
    QTest::newRow("X 6") << "X6" << QRect(1680, 3240, 972, 852);
    QTest::newRow("X 9") << "X9" << QRect(2880, 3240, 852, 852);
    QTest::newRow("O 1") << "O1" << QRect(600, 960, 840, 840);
    QTest::newRow("O 4") << "O4" << QRect(1680, 960, 960, 840);
    QTest::newRow("O 8") << "O8" << QRect(2880, 2040, 840, 960);
    QTest::newRow("frame X") << "Frame1" << QRect(4080, 840, 1692, 1572);
    QTest::newRow("frame O") << "Frame2" << QRect(4080, 2640, 1692, 1572);
    QTest::newRow("score X, in its frame") << "Label3" << QRect(120, 240, 1452, 1212);
    QTest::newRow("credit lead-in") << "Label1" << QRect(600, 4320, 1452, 252);
    QTest::newRow("credit name") << "Label2" << QRect(2160, 4320, 1452, 252);
}

void TstGridlark::controlPlaces()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    auto *control = form->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), (forms::TwipsRect{twips.x(), twips.y(), twips.width(), twips.height()}).toPixels());
}

void TstGridlark::clickCellsLieInFrontOfMarks()
{
    // With both kinds of mark shown in a cell, whatever lies under its middle is still
    // the click cell, for every cell.
    for (int c = 1; c <= 9; ++c) {
        form->xMark(c)->show();
        form->oMark(c)->show();
        forms::ImageBox *cell = form->clickCell(c);
        QCOMPARE(form->childAt(cell->geometry().center()), cell);
        QVERIFY(form->xMark(c)->geometry().intersects(cell->geometry()));
    }
    // The grid lines run along the cells' edges.
    QCOMPARE(form->Line1->geometry().center().x(), forms::px(1560));
    QCOMPARE(form->Line3->geometry().center().y(), forms::px(1920));
}

void TstGridlark::startUp()
{
    QCOMPARE(board(), QStringLiteral("........."));
    QCOMPARE(turn(), QStringLiteral("X-"));
    QCOMPARE(form->XScore, qint16(0));
    QCOMPARE(form->OScore, qint16(0));
    QCOMPARE(form->Label3->text(), QStringLiteral("0"));
    QCOMPARE(form->Label4->text(), QStringLiteral("0"));
    // Nothing is announced on an empty board.
    clock->advance(1000);
    QVERIFY(boxes->shown.isEmpty());
}

void TstGridlark::clickRule_data()
{
    QTest::addColumn<QList<int>>("before");    // moves that set the board up
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("turn");
    // Board before: after the moves X5 (O to move) or X5, O1 (X to move).
    QTest::newRow("X on an empty cell") << QList<int>{5, 1} << 9 << "O...X...X" << "-O";
    QTest::newRow("X on its own mark passes") << QList<int>{5, 1} << 5 << "O...X...." << "-O";
    QTest::newRow("X on an O is refused") << QList<int>{5, 1} << 1 << "O...X...." << "X-";
    QTest::newRow("O on an empty cell") << QList<int>{5} << 3 << "..O.X...." << "X-";
    QTest::newRow("O on an X is refused") << QList<int>{5} << 5 << "....X...." << "-O";
    QTest::newRow("O on its own mark passes") << QList<int>{5, 1, 9} << 1 << "O...X...X" << "X-";
}

void TstGridlark::clickRule()
{
    QFETCH(QList<int>, before);
    QFETCH(int, cell);
    QFETCH(QString, board);
    QFETCH(QString, turn);
    play(before);
    click(cell);
    QCOMPARE(this->board(), board);
    QCOMPARE(this->turn(), turn);
    clock->advance(500);
    QVERIFY(boxes->shown.isEmpty());   // a refused click gives no sign
}

void TstGridlark::pointerShowsWhoseTurn()
{
    // The default pointer until the first tick.
    clock->advance(49);
    QCOMPARE(forms::mousePointer(form), 0);
    clock->advance(1);
    QCOMPARE(forms::mousePointer(form), 2);
    QCOMPARE(form->cursor().shape(), Qt::CrossCursor);

    click(5);                                   // O to move
    QCOMPARE(forms::mousePointer(form), 2);     // until the next tick
    clock->advance(50);
    QCOMPARE(forms::mousePointer(form), 12);
    QCOMPARE(form->cursor().shape(), Qt::ForbiddenCursor);

    click(5);                                   // refused: O still to move
    clock->advance(50);
    QCOMPARE(forms::mousePointer(form), 12);

    click(1);                                   // X to move
    clock->advance(50);
    QCOMPARE(forms::mousePointer(form), 2);

    // The tick sets the pointer again even where nothing changed.
    form->unsetCursor();
    clock->advance(50);
    QCOMPARE(form->cursor().shape(), Qt::CrossCursor);
}

void TstGridlark::lineWins_data()
{
    QTest::addColumn<QList<int>>("moves");
    QTest::addColumn<QString>("winner");
    for (const NamedLine &line : Lines) {
        for (const char *player : {"X", "O"}) {
            QTest::addRow("%s, %s", player, line.name) << gameWonOn(line, QLatin1Char(*player)) << player;
        }
    }
}

void TstGridlark::lineWins()
{
    QFETCH(QList<int>, moves);
    QFETCH(QString, winner);
    QCOMPARE(moves.size(), winner == "X" ? 5 : 6);

    // All but the last move: nothing is announced.
    play(moves.mid(0, moves.size() - 1));
    QVERIFY(boxes->shown.isEmpty());

    QString boardWhileOpen;
    boxes->whileOpen = [&](const forms::MsgBoxRequest &) { boardWhileOpen = board(); };
    click(moves.last());
    const QString full = board();
    clock->advance(50);

    QCOMPARE(boxes->texts(), QStringList{QStringLiteral("Player %1 wins").arg(winner)});
    QCOMPARE(boxes->shown.first().title, QStringLiteral("The End"));
    QCOMPARE(boxes->shown.first().buttons, forms::MsgBoxStyle::OkOnly);
    QCOMPARE(boardWhileOpen, full);              // the line stays visible while it is open
    QCOMPARE(board(), QStringLiteral("........."));
    QCOMPARE(form->XScore, qint16(winner == "X" ? 1 : 0));
    QCOMPARE(form->OScore, qint16(winner == "O" ? 1 : 0));
    clock->advance(50);
    QCOMPARE(form->Label3->text(), winner == "X" ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(form->Label4->text(), winner == "O" ? QStringLiteral("1") : QStringLiteral("0"));
}

void TstGridlark::announcementOpenWhileTimersRun()
{
    // The other timers keep ticking while the box is open, and the win check may come
    // due many times meanwhile: still one announcement and one point.
    QStringList labelsWhileOpen;
    int pointerWhileOpen = -1;
    qint64 closedAt = -1;
    boxes->whileOpen = [&](const forms::MsgBoxRequest &) {
        form->Label3->setCaption(QStringLiteral("?"));
        clock->advance(1000);
        labelsWhileOpen << form->Label3->text();
        pointerWhileOpen = forms::mousePointer(form);
        closedAt = clock->now();
    };
    play({1, 2, 4, 5, 7});
    QVERIFY(clock->now() >= closedAt);             // time spent in the box stays spent
    QCOMPARE(boxes->texts(), QStringList{"Player X wins"});
    QCOMPARE(labelsWhileOpen, QStringList{"0"});   // Timer3 went on
    QCOMPARE(pointerWhileOpen, 12);                // Timer1 went on
    QCOMPARE(form->XScore, qint16(1));
    QVERIFY(form->Timer2->isEnabled());
    clock->advance(1000);
    QCOMPARE(boxes->shown.size(), 1);
    QCOMPARE(form->Label3->text(), QStringLiteral("1"));
}

void TstGridlark::twoLinesAtOnceCountOnce()
{
    // X on cell 1 completes the left column and the top row together.
    play({2, 5, 3, 6, 4, 8, 7, 9});
    QVERIFY(boxes->shown.isEmpty());
    QCOMPARE(board(), QStringLiteral(".XXXOOXOO"));
    play({1});
    QCOMPARE(boxes->texts(), QStringList{"Player X wins"});
    QCOMPARE(form->XScore, qint16(1));
    QCOMPARE(form->OScore, qint16(0));
    clock->advance(500);
    QCOMPARE(boxes->shown.size(), 1);
    QCOMPARE(form->Label3->text(), QStringLiteral("1"));
}

void TstGridlark::xCheckedBeforeO()
{
    // Faster than a tick, X completes the left column and O the middle column: the
    // board holds both lines when the check comes, and only X's is announced.
    clickAll({1, 4, 2, 5, 3, 6});
    QCOMPARE(board(), QStringLiteral("XXXOOO..."));
    clock->advance(50);
    QCOMPARE(boxes->texts(), QStringList{"Player X wins"});
    QCOMPARE(board(), QStringLiteral("........."));
    QCOMPARE(form->XScore, qint16(1));
    QCOMPARE(form->OScore, qint16(0));
}

void TstGridlark::fullBoardWithoutLine()
{
    //   X O X
    //   X O O
    //   O X X
    play({1, 4, 7, 5, 2, 8, 6, 3, 9});
    const QString full = QStringLiteral("XXOOOXXOX");
    QCOMPARE(board(), full);
    clock->advance(2000);
    QVERIFY(boxes->shown.isEmpty());
    QCOMPARE(board(), full);
    QCOMPARE(form->XScore, qint16(0));
    QCOMPARE(form->OScore, qint16(0));

    // O to move: an X refuses, an O only passes the turn; no mark can be added.
    QCOMPARE(turn(), QStringLiteral("-O"));
    click(1);
    QCOMPARE(turn(), QStringLiteral("-O"));
    click(3);
    QCOMPARE(turn(), QStringLiteral("X-"));
    for (int c = 1; c <= 9; ++c)
        click(c);
    clock->advance(200);
    QCOMPARE(board(), full);
    QVERIFY(boxes->shown.isEmpty());
}

void TstGridlark::firstMoveAfterWin_data()
{
    QTest::addColumn<QList<int>>("moves");         // clicked without a tick between them
    QTest::addColumn<QString>("turnAfter");
    QTest::addColumn<QString>("firstMark");        // of a click on cell 5 after the win
    QTest::newRow("X wins, O begins") << QList<int>{1, 5, 4, 9, 7} << "-O" << "....O....";
    QTest::newRow("O wins, X begins") << QList<int>{2, 1, 6, 4, 8, 7} << "X-" << "....X....";
    // O passes the turn back on its own mark before the tick finds X's line.
    QTest::newRow("X wins, O passes first") << QList<int>{1, 5, 4, 9, 7, 5} << "X-" << "....X....";
}

void TstGridlark::firstMoveAfterWin()
{
    QFETCH(QList<int>, moves);
    QFETCH(QString, turnAfter);
    QFETCH(QString, firstMark);
    clickAll(moves);
    clock->advance(50);
    QCOMPARE(boxes->shown.size(), 1);
    QCOMPARE(board(), QStringLiteral("........."));
    QCOMPARE(turn(), turnAfter);
    click(5);
    QCOMPARE(board(), firstMark);
}

void TstGridlark::scoresAddUp()
{
    play({1, 2, 4, 5, 7});          // X wins on the top row; O begins
    play({2, 1, 5, 3, 8});          // O wins on the middle row; X begins
    play({3, 1, 5, 2, 7});          // X wins on the rising diagonal; O begins
    play({9, 1, 8, 2, 7});          // O wins on the right column
    QCOMPARE(boxes->texts(),
             (QStringList{"Player X wins", "Player O wins", "Player X wins", "Player O wins"}));
    QCOMPARE(form->Label3->text(), QStringLiteral("2"));
    QCOMPARE(form->Label4->text(), QStringLiteral("2"));

    // A new run starts from nothing.
    delete form;
    form = new Form1;
    form->showModeless();
    clock->advance(50);
    QCOMPARE(form->Label3->text(), QStringLiteral("0"));
    QCOMPARE(form->Label4->text(), QStringLiteral("0"));
}

void TstGridlark::highestScoreStays_data()
{
    QTest::addColumn<QList<int>>("first");    // a win, then one more for the same player
    QTest::addColumn<QList<int>>("second");
    QTest::addColumn<QString>("winner");
    // X wins the top row, then O begins and X wins the left column.
    QTest::newRow("X") << QList<int>{1, 2, 4, 5, 7} << QList<int>{9, 1, 8, 2, 6, 3} << "X";
    // O wins the top row twice, X beginning both games.
    QTest::newRow("O") << QList<int>{2, 1, 6, 4, 8, 7} << QList<int>{2, 1, 6, 4, 8, 7} << "O";
}

void TstGridlark::highestScoreStays()
{
    QFETCH(QList<int>, first);
    QFETCH(QList<int>, second);
    QFETCH(QString, winner);
    form->XScore = 32766;
    form->OScore = 32766;
    qint16 &score = winner == "X" ? form->XScore : form->OScore;
    forms::Label *label = winner == "X" ? form->Label3 : form->Label4;

    play(first);                                 // reaches the highest count
    QCOMPARE(score, qint16(32767));
    play(second);                                // a win beyond it: announced, cleared, not counted
    QCOMPARE(boxes->shown.size(), 2);
    QCOMPARE(boxes->shown.last().text, QStringLiteral("Player %1 wins").arg(winner));
    QCOMPARE(board(), QStringLiteral("........."));
    QCOMPARE(score, qint16(32767));
    clock->advance(50);
    QCOMPARE(label->text(), QStringLiteral("32767"));
    QCOMPARE(form->Label3->text().toInt() + form->Label4->text().toInt(), 32767 + 32766);
}

void TstGridlark::creditBoxLeavesGameAsItWas()
{
    play({1, 2, 4, 5, 7});          // X has won once
    play({5, 1});                   // O began: O to move
    const QString before = board();
    const QString turnBefore = turn();

    QString boardWhileOpen;
    boxes->whileOpen = [&](const forms::MsgBoxRequest &) {
        clock->advance(500);
        boardWhileOpen = board();
    };
    clickAt(form->Label2);
    QCOMPARE(boxes->shown.size(), 2);
    const forms::MsgBoxRequest &credit = boxes->shown.last();
    QCOMPARE(credit.text, QStringLiteral("Email to brambleton@brambleton.example"));
    QCOMPARE(credit.title, QStringLiteral("EMail"));
    QCOMPARE(credit.buttons, forms::MsgBoxStyle::OkOnly);
    QCOMPARE(boardWhileOpen, before);
    QCOMPARE(board(), before);
    QCOMPARE(turn(), turnBefore);
    QCOMPARE(form->XScore, qint16(1));
    QCOMPARE(form->OScore, qint16(0));
    clock->advance(50);
    QCOMPARE(form->Label3->text(), QStringLiteral("1"));
    QCOMPARE(forms::mousePointer(form), 12);

    // The lead-in words are no link.
    clickAt(form->Label1);
    QCOMPARE(boxes->shown.size(), 2);
}

QTEST_MAIN(TstGridlark)
#include "tst_form1.moc"
