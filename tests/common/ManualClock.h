#pragma once

#include "base/Clock.h"

#include <algorithm>
#include <vector>

namespace barlink::base {

// Simulated time, for tests: nothing fires until the time is moved on, and then every timer that
// falls due on the way fires at its time, earliest (then first started) first. A pause of label
// handling moves the time on in the same way, as the real one keeps the event loop running.
class ManualClock : public Clock
{
public:
    std::unique_ptr<Timer> makeTimer() override { return std::make_unique<ManualTimer>(*this); }
    void wait(int ms) override { advance(ms); }

    // A handler may move the time on further (a pause); time never goes back.
    void advance(qint64 ms)
    {
        const qint64 until = m_now + ms;
        for (ManualTimer *next = nextDue(until); next; next = nextDue(until)) {
            m_now = std::max(m_now, next->due);
            next->active = !next->isSingleShot();
            next->due = m_now + std::max(1, next->interval());
            Q_EMIT next->timeout(); // may delete the timer or start others
        }
        m_now = std::max(m_now, until);
    }
    [[nodiscard]] qint64 now() const override { return m_now; }
    // The time of day moves on with the simulated time from where a test sets it.
    [[nodiscard]] QDateTime currentTime() const override { return m_epoch.addMSecs(m_now); }
    void setCurrentTime(const QDateTime &time) { m_epoch = time.addMSecs(-m_now); }

private:
    struct ManualTimer : Timer
    {
        explicit ManualTimer(ManualClock &clock)
            : clock(clock)
        {
            clock.m_timers.push_back(this);
        }
        ~ManualTimer() override { std::erase(clock.m_timers, this); }
        void start() override
        {
            due = clock.m_now + std::max(0, interval());
            order = ++clock.m_starts;
            active = true;
        }
        void stop() override { active = false; }
        bool isActive() const override { return active; }

        ManualClock &clock;
        qint64 due = 0, order = 0;
        bool active = false;
    };

    ManualTimer *nextDue(qint64 until) const
    {
        ManualTimer *next = nullptr;
        for (ManualTimer *t : m_timers)
            if (t->active && t->due <= until
                && (!next || std::pair(t->due, t->order) < std::pair(next->due, next->order)))
                next = t;
        return next;
    }

    std::vector<ManualTimer *> m_timers;
    qint64 m_now = 0, m_starts = 0;
    QDateTime m_epoch{QDate(2026, 1, 5), QTime(8, 0)};
};

} // namespace barlink::base
