#include "editor/frmmain.h"
#include "editor/program.h"
#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    forms::setProgram(editor::programInfo());
    auto *main = new editor::frmMain;
    main->showModeless();
    return app.exec();
}
