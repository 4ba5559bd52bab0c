#include "VirtualPty.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace barlink::scan {

namespace {

void makeRaw(int fd)
{
    termios mode{};
    if (::tcgetattr(fd, &mode) == 0) {
        ::cfmakeraw(&mode);
        ::tcsetattr(fd, TCSANOW, &mode);
    }
}

} // namespace

std::unique_ptr<VirtualPty> VirtualPty::create(const QString &linkPath, QString *error)
{
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        *error = QStringLiteral("cannot make a pseudo-terminal: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    }
    char name[256] = {};
    if (const int failed = ::ttyname_r(slave, name, sizeof name); failed != 0) {
        *error = QStringLiteral("the pseudo-terminal has no device name: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(failed)));
        ::close(master);
        ::close(slave);
        return nullptr;
    }
    std::unique_ptr<VirtualPty> pty(new VirtualPty(master, slave, QString::fromLocal8Bit(name)));

    if (!linkPath.isEmpty()) {
        const QFileInfo existing(linkPath);
        if (existing.isSymLink()) {
            QFile::remove(linkPath);
        } else if (existing.exists()) {
            *error = QStringLiteral("%1 exists and is not a symbolic link; not replacing it")
                         .arg(linkPath);
            return nullptr;
        }
        if (!QFile::link(pty->m_devicePath, linkPath)) {
            *error = QStringLiteral("cannot make the link %1").arg(linkPath);
            return nullptr;
        }
        pty->m_linkPath = linkPath;
    }
    return pty;
}

VirtualPty::VirtualPty(int master, int slave, QString devicePath)
    : m_master(master)
    , m_slave(slave)
    , m_devicePath(std::move(devicePath))
{
    makeRaw(m_master);
    makeRaw(m_slave);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &VirtualPty::readMaster);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &VirtualPty::writeMaster);
}

VirtualPty::~VirtualPty()
{
    // Remove the link only while it still leads to this pseudo-terminal: another run
    // may have taken the name over.
    if (!m_linkPath.isEmpty() && QFileInfo(m_linkPath).symLinkTarget() == m_devicePath)
        QFile::remove(m_linkPath);
    delete m_readNotifier;
    delete m_writeNotifier;
    ::close(m_master);
    ::close(m_slave);
}

void VirtualPty::send(const QByteArray &bytes)
{
    m_unsent += bytes;
    writeMaster();
}

void VirtualPty::readMaster()
{
    char buffer[4096];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n > 0) {
        Q_EMIT received(QByteArray(buffer, n));
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        // Not expected while the device end is held open; never poll a dead line.
        m_readNotifier->setEnabled(false);
    }
}

void VirtualPty::writeMaster()
{
    while (!m_unsent.isEmpty()) {
        const ssize_t n = ::write(m_master, m_unsent.constData(), size_t(m_unsent.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // line full: wait until it takes more
        m_unsent.remove(0, n);
    }
    m_writeNotifier->setEnabled(!m_unsent.isEmpty());
}

} // namespace barlink::scan
