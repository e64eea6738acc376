#pragma once
// What the game tests read off the window and how they click it.
#include "tic_tac_toe/form1.h"
#include <QtTest>

namespace gridlarktest {

// The board as nine characters in cell order: 'X', 'O', '.' empty, '#' both marks.
inline QString board(const gridlark::Form1 *form)
{
    QString s;
    for (int c = 1; c <= 9; ++c) {
        const bool x = !form->xMark(c)->isHidden(), o = !form->oMark(c)->isHidden();
        s += x && o ? QLatin1Char('#') : x ? QLatin1Char('X') : o ? QLatin1Char('O') : QLatin1Char('.');
    }
    return s;
}

// A real mouse click on the window at the middle of a control, so whatever lies in
// front there gets it.
inline void clickAt(gridlark::Form1 *form, QWidget *control)
{
    const QPoint at = control->mapTo(form, control->rect().center());
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}

} // namespace gridlarktest
