#include "launcher/form1.h"
#include "launcher/program.h"
#include "webview/webbrowser.h"
#include <QApplication>

int main(int argc, char *argv[])
{
    webview::WebBrowser::prepareApplication();
    QApplication app(argc, argv);
    forms::setProgram(launcher::programInfo());
    auto *main = new launcher::Form1;
    main->showModeless();
    return app.exec();
}
