#pragma once

#include <chrono>
#include <mutex>
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

} // namespace barlink::journal
