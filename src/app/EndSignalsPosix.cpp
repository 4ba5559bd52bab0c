#include "EndSignals.h"

#include <QLoggingCategory>
#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

#include <sys/socket.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcEnd, "barlink.app.end", QtWarningMsg)

namespace barlink::app {

namespace {

constexpr std::array EndSignalNumbers{SIGTERM, SIGINT, SIGHUP};

// What the handler may touch, on whichever thread the system runs it: a lock-free flag and a
// descriptor, nothing else.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> s_requested{0}; // the first signal taken; 0: none yet
int s_writeEnd = -1;
// What each signal did before, put back when the object goes.
std::array<struct sigaction, EndSignalNumbers.size()> s_before{};
std::array<bool, EndSignalNumbers.size()> s_handled{};

extern "C" void onEndSignal(int number)
{
    if (s_requested.exchange(number) != 0) {
        // Asked again while ending: the signal's own action, which ends the program now.
        struct sigaction fallback = {};
        fallback.sa_handler = SIG_DFL;
        ::sigemptyset(&fallback.sa_mask);
        ::sigaction(number, &fallback, nullptr);
        ::raise(number);
        return;
    }
    const int savedErrno = errno;
    const char byte = static_cast<char>(number);
    // The socket does not block: a full one already holds a request.
    [[maybe_unused]] const ssize_t written = ::write(s_writeEnd, &byte, 1);
    errno = savedErrno;
}

sigset_t endSignalSet()
{
    sigset_t set;
    ::sigemptyset(&set);
    for (const int number : EndSignalNumbers)
        ::sigaddset(&set, number);
    return set;
}

QString signalName(int number)
{
    switch (number) {
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    default:
        return QStringLiteral("signal %1").arg(number);
    }
}

} // namespace

EndSignals::EndSignals(QObject *parent)
    : QObject(parent)
{
    int ends[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) {
        qCWarning(lcEnd) << "no socket pair, SIGTERM, SIGINT and SIGHUP end at once:"
                         << std::strerror(errno);
        return;
    }
    m_socket = ends[0];
    s_writeEnd = ends[1];
    s_requested = 0;
    m_notifier = new QSocketNotifier(m_socket, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EndSignals::takeRequest);

    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    // One handler at a time; a system call that a signal interrupts is started again.
    action.sa_mask = endSignalSet();
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < EndSignalNumbers.size(); ++i) {
        const int number = EndSignalNumbers[i];
        // A signal ignored when the program started (nohup) stays ignored.
        if (::sigaction(number, nullptr, &s_before[i]) != 0 || s_before[i].sa_handler == SIG_IGN)
            continue;
        s_handled[i] = ::sigaction(number, &action, nullptr) == 0;
    }
}

EndSignals::~EndSignals()
{
    if (m_socket < 0)
        return;
    // From here on the signals do what they did before: for an ending program, end it now.
    for (std::size_t i = 0; i < EndSignalNumbers.size(); ++i) {
        if (std::exchange(s_handled[i], false))
            ::sigaction(EndSignalNumbers[i], &s_before[i], nullptr);
    }
    delete m_notifier;
    ::close(std::exchange(s_writeEnd, -1));
    ::close(m_socket);
}

void EndSignals::takeRequest()
{
    char byte = 0;
    if (::read(m_socket, &byte, 1) != 1)
        return;
    const QString name = signalName(static_cast<unsigned char>(byte));
    qCInfo(lcEnd).noquote() << name << "received: Barlink ends as when its window is closed";
    Q_EMIT endRequested(name);
}

} // namespace barlink::app
