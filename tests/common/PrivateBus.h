#pragma once

// A session bus of a test's own: a dbus-daemon started for the test, whose service folder lets
// it start the list manager program (bus activation) as the installed service file does. The
// test's programs reach it through DBUS_SESSION_BUS_ADDRESS (env()), and the test itself
// through connection(). The list manager it started is killed with it.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>
#include <sys/types.h>

namespace barlink::testing {

class PrivateBus
{
public:
    // `folder` holds the bus's configuration; `listManager` is the program the bus starts for
    // the name org.barlink.ListManager (none when empty); `env` the environment the bus and
    // what it starts run in.
    PrivateBus(const QString &folder,
               const QString &listManager,
               QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
    {
        QDir(folder).mkpath(QStringLiteral("services"));
        const QString config = folder + QStringLiteral("/session.conf");
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
            "<auth>EXTERNAL</auth><servicedir>"
            + folder.toUtf8()
            + "/services</servicedir><policy context=\"default\">"
              "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
              "<allow own=\"*\"/></policy></busconfig>\n");
        file.close();
        if (!listManager.isEmpty())
            setActivatable(folder, listManager);
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        m_daemon.setProcessEnvironment(env);
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + config,
                        QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        const QDeadlineTimer deadline(10000);
        while (!m_address.contains('\n') && !deadline.hasExpired()
               && m_daemon.state() != QProcess::NotRunning) {
            m_daemon.waitForReadyRead(50);
            m_address += m_daemon.readAllStandardOutput();
        }
        m_address = m_address.trimmed();
        if (m_address.isEmpty())
            return;
        m_name = QStringLiteral("privatebus-%1").arg(quintptr(this));
        m_connection = QDBusConnection::connectToBus(QString::fromUtf8(m_address), m_name);
    }
    ~PrivateBus()
    {
        killListManager();
        QDBusConnection::disconnectFromBus(m_name);
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // The service file the installed package holds, pointing at `program`.
    static bool setActivatable(const QString &folder, const QString &program)
    {
        QFile service(folder + QStringLiteral("/services/org.barlink.ListManager.service"));
        return service.open(QIODevice::WriteOnly)
               && service.write("[D-BUS Service]\nName=org.barlink.ListManager\nExec="
                                + program.toUtf8() + " --hidden\n")
                      > 0;
    }

    [[nodiscard]] bool isValid() const { return m_connection.isConnected(); }
    [[nodiscard]] QByteArray address() const { return m_address; }
    [[nodiscard]] QDBusConnection connection() const { return m_connection; }
    // `env` with this bus as the session bus.
    [[nodiscard]] QProcessEnvironment env(QProcessEnvironment env) const
    {
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(m_address));
        return env;
    }

    // The environment for the list manager and other programs a test starts: no screen, and
    // the list kept under root/data.
    [[nodiscard]] static QProcessEnvironment programEnv(const QString &root)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    // The process that owns `name`; 0 when none does.
    [[nodiscard]] pid_t owner(const QString &name = QStringLiteral("org.barlink.ListManager")) const
    {
        const QDBusReply<uint> pid = m_connection.interface()->servicePid(name);
        return pid.isValid() ? pid_t(pid.value()) : 0;
    }
    // Waits until `name` has an owner other than `not`; returns it (0 when none came).
    [[nodiscard]] pid_t awaitOwner(pid_t not_ = 0,
                                   int timeoutMs = 20000,
                                   const QString &name
                                   = QStringLiteral("org.barlink.ListManager")) const
    {
        const QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            const pid_t pid = owner(name);
            if ((pid != 0 && pid != not_) || deadline.hasExpired())
                return pid != not_ ? pid : 0;
            QThread::msleep(20);
        }
    }
    // kill -9 of the list manager; true when there was one. Waits until the bus has seen it go.
    bool killListManager()
    {
        const pid_t pid = owner();
        if (pid == 0)
            return false;
        ::kill(pid, SIGCONT);
        ::kill(pid, SIGKILL);
        const QDeadlineTimer deadline(10000);
        while (owner() == pid && !deadline.hasExpired())
            QThread::msleep(10);
        return true;
    }

private:
    QProcess m_daemon;
    QByteArray m_address;
    QString m_name;
    QDBusConnection m_connection{QString()};
};

} // namespace barlink::testing
