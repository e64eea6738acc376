#include "forms/timer.h"
#include <QList>
#include <QPointer>
#include <algorithm>

namespace forms {

namespace {
QList<Timer *> &allTimers()
{
    static QList<Timer *> timers;
    return timers;
}
TestClock *g_testClock = nullptr;
quint64 g_nextOrder = 0;
} // namespace

Timer::Timer(QObject *parent, int intervalMs, bool enabled)
    : QObject(parent), m_interval(intervalMs), m_enabled(enabled), m_order(g_nextOrder++)
{
    allTimers().append(this);
    connect(&m_real, &QTimer::timeout, this, &Timer::fire);
    arm();
}

Timer::~Timer() { allTimers().removeOne(this); }

void Timer::setInterval(int ms)
{
    m_interval = ms;
    arm();
}

void Timer::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    arm();
}

void Timer::arm()
{
    const bool running = m_enabled && m_interval > 0;
    if (g_testClock) {
        m_real.stop();
        m_due = running ? g_testClock->now() + m_interval : -1;
        return;
    }
    m_due = -1;
    if (!running) {
        m_real.stop();
        return;
    }
    const int ms = std::max(m_interval, MinimumRealInterval);
    m_real.setTimerType(ms < 100 ? Qt::PreciseTimer : Qt::CoarseTimer);
    m_real.start(ms);
}

void Timer::fire()
{
    if (m_inTick || !m_enabled || m_interval <= 0)
        return;
    QPointer<Timer> alive(this);  // a handler may unload the window that owns the timer
    m_inTick = true;
    emit tick();
    if (alive)
        m_inTick = false;
}

TestClock::TestClock()
{
    g_testClock = this;
    for (Timer *t : allTimers())
        t->arm();
}

TestClock::~TestClock()
{
    g_testClock = nullptr;
    for (Timer *t : allTimers())
        t->arm();
}

TestClock *TestClock::current() { return g_testClock; }

void TestClock::advance(qint64 ms)
{
    const qint64 target = m_now + ms;
    for (;;) {
        Timer *next = nullptr;
        for (Timer *t : allTimers()) {
            if (t->m_due < 0 || t->m_due > target)
                continue;
            if (!next || t->m_due < next->m_due
                || (t->m_due == next->m_due && t->m_order < next->m_order))
                next = t;
        }
        if (!next)
            break;
        m_now = next->m_due;
        next->m_due += next->m_interval;  // the following tick, unless the handler re-arms
        next->fire();
    }
    // A handler may itself advance the clock (time passing while its message box is
    // open); the clock never goes back to this call's target once it is past it.
    if (target > m_now)
        m_now = target;
}

} // namespace forms
