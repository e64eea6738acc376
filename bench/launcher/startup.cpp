// Tavolin's start-up exactly as its main() does it, plus a stopwatch: prints the
// milliseconds from the moment given on the command line (taken by the caller just
// before it started this process) to the end of the main window's first paint.
#include "launcher/form1.h"
#include "launcher/program.h"
#include "webview/webbrowser.h"
#include "firstpaint.h"
#include <QApplication>

int main(int argc, char *argv[])
{
    const long long start = bench::startFromArguments(argc, argv);
    webview::WebBrowser::prepareApplication();
    QApplication app(argc, argv);
    forms::setProgram(launcher::programInfo());
    auto *main = new launcher::Form1;
    bench::FirstPaint probe(start);
    main->installEventFilter(&probe);
    main->showModeless();
    return app.exec();
}
