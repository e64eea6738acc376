#include "tic_tac_toe/form1.h"
#include "tic_tac_toe/program.h"
#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    forms::setProgram(gridlark::programInfo());
    auto *game = new gridlark::Form1;
    game->showModeless();
    return app.exec();
}
