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

} // namespace barlink::journal
