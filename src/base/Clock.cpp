#include "Clock.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace barlink::base {

namespace {

class RealTimer : public Timer
{
public:
    RealTimer()
    {
        // Precise: a coarse timer may drift 5% either way, and the poller counts the quiet
        // that ends a label in whole intervals.
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &Timer::timeout);
    }
    void start() override
    {
        m_timer.setSingleShot(isSingleShot());
        m_timer.start(interval());
    }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

class RealClock : public Clock
{
public:
    std::unique_ptr<Timer> makeTimer() override { return std::make_unique<RealTimer>(); }
    void wait(int ms) override
    {
        if (ms <= 0)
            return;
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
    qint64 now() const override { return m_started.elapsed(); }

private:
    QElapsedTimer m_started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
};

} // namespace

Clock &Clock::real()
{
    static RealClock clock;
    return clock;
}

} // namespace barlink::base
