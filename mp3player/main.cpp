#include "mp3player/form1.h"
#include "mp3player/program.h"
#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    forms::setProgram(mp3player::programInfo());
    auto *player = new mp3player::Form1;
    player->showModeless();
    return app.exec();
}
