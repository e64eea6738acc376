// Browser's start-up exactly as its main() does it, plus a stopwatch: prints the
// milliseconds from the moment given on the command line (taken by the caller just
// before it started this process) to the end of the window's first paint.
#include "browser/form1.h"
#include "browser/program.h"
#include "webview/webbrowser.h"
#include "firstpaint.h"
#include <QApplication>

int main(int argc, char *argv[])
{
    const long long start = bench::startFromArguments(argc, argv);
    webview::WebBrowser::prepareApplication();
    QApplication app(argc, argv);
    forms::setProgram(browser::programInfo());
    auto *window = new browser::Form1;
    bench::FirstPaint probe(start);
    window->installEventFilter(&probe);
    window->showModeless();
    const int result = app.exec();
    delete window;
    return result;
}
