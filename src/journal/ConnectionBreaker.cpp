#include "ConnectionBreaker.h"

#include "ServerTable.h"

#include <condition_variable>

namespace barlink::journal {

void ConnectionBreaker::watch(const QSqlDatabase &db)
{
    const std::lock_guard lock(m_mutex);
    m_socket = serverSocket(db);
    if (m_cut && m_socket >= 0)
        shutDown(m_socket);
}

void ConnectionBreaker::forget()
{
    const std::lock_guard lock(m_mutex);
    m_socket = -1;
}

void ConnectionBreaker::cut()
{
    const std::lock_guard lock(m_mutex);
    m_cut = true;
    if (m_socket >= 0)
        shutDown(m_socket);
}

void ConnectionBreaker::cutCurrent()
{
    const std::lock_guard lock(m_mutex);
    if (m_socket >= 0)
        shutDown(m_socket);
}

bool ConnectionBreaker::isCut() const
{
    const std::lock_guard lock(m_mutex);
    return m_cut;
}

CutAfter::CutAfter(ConnectionBreaker &breaker, std::chrono::milliseconds bound)
    : m_watch([&breaker, bound](const std::stop_token &stop) {
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        if (!wake.wait_for(lock, stop, bound, [&stop] { return stop.stop_requested(); }))
            breaker.cut();
    })
{}

CallWatch::CallWatch(ConnectionBreaker &breaker)
    : m_breaker(breaker)
    , m_watch([this](const std::stop_token &stop) {
        std::unique_lock lock(m_mutex);
        while (!stop.stop_requested()) {
            if (!m_deadline) {
                m_changed.wait(lock, stop, [this] { return m_deadline.has_value(); });
                continue;
            }
            const Clock::time_point deadline = *m_deadline;
            if (m_changed.wait_until(
                    lock, stop, deadline, [this, deadline] { return m_deadline != deadline; }))
                continue; // ended, or the next call began
            if (stop.stop_requested())
                break;
            m_deadline.reset();
            m_fired = true;
            m_breaker.cutCurrent();
        }
    })
{}

CallWatch::~CallWatch() = default;

void CallWatch::begin(std::chrono::milliseconds bound)
{
    bool wasIdle = false;
    {
        const std::lock_guard lock(m_mutex);
        wasIdle = !m_deadline;
        m_deadline = Clock::now() + bound;
    }
    // A watch that waits for an earlier deadline finds the later one when it wakes: a series
    // of calls (a batch of entries) wakes it once, not once a call.
    if (wasIdle)
        m_changed.notify_one();
}

void CallWatch::end()
{
    const std::lock_guard lock(m_mutex);
    m_deadline.reset();
    m_fired = false;
}

bool CallWatch::fired() const
{
    const std::lock_guard lock(m_mutex);
    return m_fired;
}

} // namespace barlink::journal
