#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class QSqlDatabase;

namespace barlink::journal {

// Cuts a connection to the server from another thread: its socket is shut down, so that a call
// that waits on the server returns at once with an error (the server rolls back what was under
// way). The thread that owns the connection says which one is open; any thread may cut it.
class ConnectionBreaker
{
public:
    // db's open connection may be cut from now on; after cut(), it is cut at once.
    void watch(const QSqlDatabase &db);
    // The connection is about to be closed (its socket may then be another's).
    void forget();
    // Cuts the connection watched now, and every one watched later.
    void cut();
    // Cuts the connection watched now only.
    void cutCurrent();
    [[nodiscard]] bool isCut() const;

private:
    // Shuts the socket down for both directions (the system's shutdown()).
    static void shutDown(int socket);

    mutable std::mutex m_mutex;
    int m_socket = -1;
    bool m_cut = false;
};

// Cuts the breaker's connection when `bound` has passed before this goes: a bound on a whole
// conversation with the server that no server, however stuck, can stretch.
class CutAfter
{
public:
    CutAfter(ConnectionBreaker &breaker, std::chrono::milliseconds bound);

private:
    std::jthread m_watch; // stopped and joined when this goes
};

// Bounds each call on a server connection from a thread of its own: a call that has not ended
// `bound` after it began has its connection cut (ConnectionBreaker::cutCurrent()), so that a
// server that stopped answering altogether (its statement bounds are its own to keep) fails
// the call instead of holding it for ever.
class CallWatch
{
public:
    explicit CallWatch(ConnectionBreaker &breaker);
    ~CallWatch();
    CallWatch(const CallWatch &) = delete;
    CallWatch &operator=(const CallWatch &) = delete;

    // A call begins (or the next of a series): it must end within bound.
    void begin(std::chrono::milliseconds bound);
    // No call is under way; fired() is false again.
    void end();
    // Whether a call's connection was cut since the last end().
    [[nodiscard]] bool fired() const;

private:
    using Clock = std::chrono::steady_clock;

    ConnectionBreaker &m_breaker;
    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::optional<Clock::time_point> m_deadline;
    bool m_fired = false;
    std::jthread m_watch; // last: stopped and joined first
};

} // namespace barlink::journal
