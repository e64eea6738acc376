#pragma once
// Timers with a millisecond interval and an enabled flag, ticking on the GUI thread.
//
// A Timer runs on the real event loop, or, while a TestClock exists, on a clock that
// only moves when the test advances it, so tests never wait on the wall clock.
#include <QObject>
#include <QTimer>

namespace forms {

class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject *parent = nullptr, int intervalMs = 0, bool enabled = false);
    ~Timer() override;

    int interval() const { return m_interval; }
    // Changing the interval of a running timer starts its count again from now.
    void setInterval(int ms);
    bool isEnabled() const { return m_enabled; }
    // Enabling starts the count from now: the first tick comes one interval later.
    void setEnabled(bool enabled);

    // The shortest interval the real event loop is asked for. Shorter intervals tick
    // as often as this allows, like the platform timers the programs were written for,
    // whose clock ticks 64 times a second: a 1 ms poll costs 64 wake-ups a second, not 1000.
    static constexpr int MinimumRealInterval = 16;

signals:
    // The Timer event. A tick that comes due while the previous one is still being
    // handled (its handler waits in a message box, say) is dropped, so a handler never
    // runs inside itself.
    void tick();

private:
    friend class TestClock;
    void arm();
    void fire();

    int m_interval = 0;
    bool m_enabled = false;
    bool m_inTick = false;
    QTimer m_real;
    qint64 m_due = -1;     // on the test clock: when the next tick is due
    quint64 m_order = 0;   // creation order breaks ties between timers due together
};

// While one exists, every Timer runs on this clock instead of the real one.
class TestClock {
public:
    TestClock();
    ~TestClock();
    TestClock(const TestClock &) = delete;
    TestClock &operator=(const TestClock &) = delete;

    qint64 now() const { return m_now; }
    // Moves the clock forward, running every tick that falls due on the way, in time
    // order, each at its own moment.
    void advance(qint64 ms);

    static TestClock *current();

private:
    qint64 m_now = 0;
};

} // namespace forms
