// Browser's start-up exactly as its main() does it, plus a stopwatch: prints the
// milliseconds from the moment given on the command line (taken by the caller just
// before it started this process) to the end of the window's first paint.
#include "browser/form1.h"
#include "browser/program.h"
#include "webview/webbrowser.h"
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {
long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

class FirstPaint : public QObject {
public:
    long long startNs;
    explicit FirstPaint(long long start) : startNs(start) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Runs once the paint has been flushed to the window.
            QTimer::singleShot(0, [this] {
                std::printf("%.2f\n", double(nowNs() - startNs) / 1e6);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }
private:
    bool m_seen = false;
};
} // namespace

int main(int argc, char *argv[])
{
    const long long start = argc > 1 ? std::atoll(argv[1]) : nowNs();
    webview::WebBrowser::prepareApplication();
    QApplication app(argc, argv);
    forms::setProgram(browser::programInfo());
    auto *window = new browser::Form1;
    FirstPaint probe(start);
    window->installEventFilter(&probe);
    window->showModeless();
    const int result = app.exec();
    delete window;
    return result;
}
