#include "dvdplayer/form2.h"
#include "dvdplayer/program.h"
#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    forms::setProgram(dvdplayer::programInfo());
    auto *panel = new dvdplayer::Form2;
    panel->showModeless();
    const int code = app.exec();
    // Windows closed on the way out delete themselves on the next turn of the loop;
    // let that happen so each DVD control shuts its player down before the program ends.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
