#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

// A session bus of the test's own: a dbus-daemon started with a configuration in a temporary
// folder (its socket and its folder of service files there too), so that plain ctest works
// with no bus of the desktop's and nothing the test does reaches one. Stopped when the object
// goes, with every program the test started on it.
class PrivateBus
{
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty() || !m_dir.isValid()) {
            m_failure = QStringLiteral("dbus-daemon is not installed (Debian package dbus-daemon)");
            return;
        }
        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly) || !QDir().mkpath(servicesFolder())) {
            m_failure = QStringLiteral("the bus's configuration cannot be written");
            return;
        }
        config.write(QStringLiteral(R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <servicedir>%2</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)")
                         .arg(m_dir.path(), servicesFolder())
                         .toUtf8());
        config.close();
        m_daemon.setProgram(daemon);
        m_daemon.setArguments({QStringLiteral("--config-file=") + config.fileName(),
                               QStringLiteral("--nofork"),
                               QStringLiteral("--print-address=1")});
        m_daemon.start();
        if (!m_daemon.waitForStarted(10'000) || !m_daemon.waitForReadyRead(10'000)) {
            m_failure = QStringLiteral("dbus-daemon did not start: ")
                        + QString::fromLocal8Bit(m_daemon.readAllStandardError());
            return;
        }
        m_address = QString::fromLatin1(m_daemon.readLine()).trimmed();
        m_connectionName = QStringLiteral("privatebus-") + m_dir.path();
    }
    ~PrivateBus()
    {
        for (QProcess *program : m_programs) {
            program->kill();
            program->waitForFinished(5'000);
            delete program;
        }
        if (!m_connectionName.isEmpty())
            QDBusConnection::disconnectFromBus(m_connectionName);
        m_daemon.kill();
        m_daemon.waitForFinished(5'000);
    }
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    [[nodiscard]] bool running() const { return !m_address.isEmpty(); }
    // Why it is not running.
    [[nodiscard]] const QString &failure() const { return m_failure; }
    // What DBUS_SESSION_BUS_ADDRESS says to the programs on it.
    [[nodiscard]] const QString &address() const { return m_address; }
    // Where the bus looks for the service files of the names it starts programs for.
    [[nodiscard]] QString servicesFolder() const { return m_dir.filePath(QStringLiteral("services")); }
    // A folder that lives as long as the bus.
    [[nodiscard]] QString folder() const { return m_dir.path(); }

    // The test's own connection to the bus (one per bus, made at the first call).
    [[nodiscard]] QDBusConnection connection() const
    {
        return QDBusConnection::connectToBus(m_address, m_connectionName);
    }
    // A connection of its own, as another program would have: it sees its own calls go over
    // the bus.
    [[nodiscard]] QDBusConnection otherConnection(const QString &name) const
    {
        return QDBusConnection::connectToBus(m_address, m_connectionName + u'-' + name);
    }

    // The environment of a program on this bus: its session bus is this one.
    [[nodiscard]] QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    // Starts a program on this bus and waits until it holds `name` on it (at most 20 s).
    // The program is the bus's: it goes when the bus goes, unless the test ends it first.
    QProcess *startService(const QString &program,
                           const QStringList &arguments,
                           const QString &name,
                           const QProcessEnvironment &env)
    {
        auto *process = new QProcess;
        m_programs.push_back(process);
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(program, arguments);
        if (!process->waitForStarted(10'000))
            return process;
        waitForOwner(name, true);
        return process;
    }
    // Waits (at most 20 s) until `name` has an owner on this bus, or has none.
    bool waitForOwner(const QString &name, bool owned) const
    {
        const QDBusConnectionInterface *daemon = connection().interface();
        QDeadlineTimer deadline(20'000);
        while (!deadline.hasExpired()) {
            if (daemon->isServiceRegistered(name).value() == owned)
                return true;
            QTest::qWait(10);
        }
        return false;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QString m_connectionName;
    QString m_failure;
    std::vector<QProcess *> m_programs;
};
