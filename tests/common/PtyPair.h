#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal pair for tests: the program under test opens slavePath() as its
// serial device; the test plays the other end through the master. Both ends are raw
// (no echo, no line editing). Link the test with `util`.
class PtyPair
{
public:
    PtyPair()
    {
        if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) {
            m_master = m_slave = -1;
            return;
        }
        for (const int fd : {m_master, m_slave}) {
            termios mode{};
            if (::tcgetattr(fd, &mode) == 0) {
                ::cfmakeraw(&mode);
                ::tcsetattr(fd, TCSANOW, &mode);
            }
        }
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        char name[256] = {};
        if (::ttyname_r(m_slave, name, sizeof name) == 0)
            m_slavePath = QString::fromLocal8Bit(name);
    }
    ~PtyPair()
    {
        closeMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    [[nodiscard]] bool isValid() const { return m_master >= 0 && !m_slavePath.isEmpty(); }
    [[nodiscard]] int masterFd() const { return m_master; }
    // Kept open by the pair so the master stays usable while the device is closed.
    [[nodiscard]] int slaveFd() const { return m_slave; }
    [[nodiscard]] QString slavePath() const { return m_slavePath; }

    // Sends bytes as the scanner would; true when all were written.
    bool write(const QByteArray &bytes)
    {
        qsizetype done = 0;
        while (m_master >= 0 && done < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
            if (n < 0 && errno != EINTR && errno != EAGAIN)
                return false;
            done += std::max<ssize_t>(n, 0);
        }
        return done == bytes.size();
    }

    // Everything received at the master so far (reads without blocking), so that
    // QTRY_COMPARE(pty.received(), expected) waits until it has all arrived.
    [[nodiscard]] QByteArray received()
    {
        char buffer[4096];
        for (ssize_t n; m_master >= 0 && (n = ::read(m_master, buffer, sizeof buffer)) > 0;)
            m_received.append(buffer, n);
        return m_received;
    }

    // The scanner goes away: the device side sees a hang-up.
    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1, m_slave = -1;
    QString m_slavePath;
    QByteArray m_received;
};

// A pseudo-terminal pair named pty in a test function, which is skipped where none can be had.
#define NEED_PTY(pty)                                                                              \
    PtyPair pty;                                                                                   \
    if (!pty.isValid())                                                                            \
    QSKIP("no pseudo-terminal available")
