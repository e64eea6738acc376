#pragma once
// The game window. It holds the whole game: the board is nothing but the shown or
// hidden state of the marks X1..X9 and O1..O9, the turn is the two flags XTurn and
// OTurn, and the scores are two signed 16-bit counts.
//
// Cells are numbered column by column: 1, 2, 3 is the left column from top to bottom,
// 4, 5, 6 the middle column and 7, 8, 9 the right column.
//
// Three 50 ms timers drive the game besides the clicks: Timer1 shows whose turn it is
// with the mouse pointer, Timer2 finds a completed line, announces it, clears the
// board and counts the win, and Timer3 writes both scores into their labels.
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/timer.h"
#include <QtGlobal>
#include <array>

namespace gridlark {

class Form1 : public forms::Form {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    forms::ImageBox *Image10;                                  // the banner
    forms::ImageBox *X1, *X2, *X3, *X4, *X5, *X6, *X7, *X8, *X9;
    forms::ImageBox *O1, *O2, *O3, *O4, *O5, *O6, *O7, *O8, *O9;
    forms::ImageBox *Image1, *Image2, *Image3, *Image4, *Image5, *Image6, *Image7, *Image8,
        *Image9;                                               // the click cells, in front
    forms::Line *Line1, *Line2, *Line3, *Line4;
    forms::Frame *Frame1, *Frame2;
    forms::Label *Label3, *Label4;                             // the scores of X and O
    forms::Label *Label1, *Label2;                             // the credit line
    forms::Timer *Timer1, *Timer2, *Timer3;

    bool XTurn = false;
    bool OTurn = false;
    // Games won. A win that finds its player's count at 32767, the largest it can hold,
    // is announced and clears the board as any other, and the count stays at 32767.
    qint16 XScore = 0;
    qint16 OScore = 0;

    // The cell's marks and click cell, by cell number 1..9.
    forms::ImageBox *xMark(int cell) const { return m_x.at(cell - 1); }
    forms::ImageBox *oMark(int cell) const { return m_o.at(cell - 1); }
    forms::ImageBox *clickCell(int cell) const { return m_cells.at(cell - 1); }

    // Clears the board: every O mark is hidden, then every X mark. Turn and scores stay.
    void lösch();

    // The text of the credit box.
    static QString creditText();

    // The eight lines in the order the win check examines them, first with the X marks,
    // then with the O marks.
    static const int Lines[8][3];

protected:
    void formLoad() override;

private:
    void createControls();
    void cellClick(int cell);
    void pointerTick();
    void winCheckTick();
    void scoreTick();
    void creditClick();

    std::array<forms::ImageBox *, 9> m_x{}, m_o{}, m_cells{};
};

} // namespace gridlark
