#pragma once
// A stopwatch for start-up benchmarks that run a program's own start-up in process:
// prints the milliseconds from a moment taken by the caller just before it started this
// process (nanoseconds since the epoch, on the command line) to the end of the watched
// window's first paint, then ends the program.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace bench {

inline long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// The start moment from the command line, or now.
inline long long startFromArguments(int argc, char *argv[])
{
    return argc > 1 ? std::atoll(argv[1]) : nowNs();
}

class FirstPaint : public QObject {
public:
    explicit FirstPaint(long long startNs) : m_start(startNs) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Runs once the paint has been flushed to the window.
            QTimer::singleShot(0, [this] {
                std::printf("%.2f\n", double(nowNs() - m_start) / 1e6);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    long long m_start;
    bool m_seen = false;
};

} // namespace bench
