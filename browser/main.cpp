#include "browser/form1.h"
#include "browser/program.h"
#include "webview/webbrowser.h"
#include <QApplication>
#include <QPointer>

int main(int argc, char *argv[])
{
    webview::WebBrowser::prepareApplication();
    QApplication app(argc, argv);
    forms::setProgram(browser::programInfo());
    QPointer<browser::Form1> window = new browser::Form1;
    window->showModeless();
    const int result = app.exec();
    // The page goes before the web engine does; after File > Exit the window is still here.
    delete window.data();
    return result;
}
