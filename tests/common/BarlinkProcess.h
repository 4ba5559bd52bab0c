#pragma once

// The real barlink program, run offscreen in a folder of its own: its settings, data and
// runtime folders (XDG_*) and its home all lie under one root, and the scanner is a
// pseudo-terminal the test plays. It runs on a session bus of its own, which starts the real
// list manager program when Barlink first calls it (the list manager keeps its list under the
// same root). The program logs to standard error what the test waits for
// (the scanner port opened, each label it takes, the windows start-up shows).

#include "PrivateBus.h"
#include "StationRig.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <csignal>

namespace barlink::testing {

class BarlinkProcess
{
public:
    // `root` must exist; `device` is the scanner's device; `keys` as for StationRig::prepare.
    // The pause after each item is short: the list manager here has each row in when it
    // answers the call, and a test scans its next label as soon as the last one was answered.
    BarlinkProcess(QString root, const QString &device, const QByteArray &keys = {})
        : m_root(std::move(root))
    {
        for (const char *folder : {"config/barlink", "data", "home"})
            QDir(m_root).mkpath(QLatin1String(folder));
        m_ready = StationRig<>::prepare(m_root, device, "ItemPauseMs=50\r\n" + keys)
                  && QFile::rename(m_root + QStringLiteral("/program/KTQ.INI"),
                                   m_root + QStringLiteral("/config/barlink/KTQ.INI"))
                  && QFile::setPermissions(m_root + QStringLiteral("/run"),
                                           QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_root + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_STATE_HOME"), m_root + QStringLiteral("/state"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root + QStringLiteral("/run"));
        env.insert(QStringLiteral("HOME"), m_root + QStringLiteral("/home"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"),
                   QStringLiteral("barlink.scanner.debug=true\nbarlink.label.debug=true\n"
                                  "barlink.app.startup.debug=true\n"
                                  "barlink.app.prompt.debug=true\n"
                                  "barlink.listmanager.bus.info=true"));
        env.remove(QStringLiteral("BARLINK_TEST_CONSOLE"));
        m_bus = std::make_unique<PrivateBus>(
            m_root + QStringLiteral("/bus"), QStringLiteral(BARLINK_LISTMANAGER_BINARY), env);
        m_ready = m_ready && m_bus->isValid();
        m_process.setProcessEnvironment(m_bus->env(env));
        m_process.setProgram(QStringLiteral(BARLINK_BINARY));
        // The signals that end the program are its own to handle, even when the tests were
        // started with one of them ignored (nohup).
        m_process.setChildProcessModifier([] {
            for (const int number : {SIGTERM, SIGINT, SIGHUP})
                std::signal(number, SIG_DFL);
        });
    }
    ~BarlinkProcess() { kill(); }
    BarlinkProcess(const BarlinkProcess &) = delete;
    BarlinkProcess &operator=(const BarlinkProcess &) = delete;

    // The session bus Barlink and the list manager run on.
    [[nodiscard]] PrivateBus &bus() { return *m_bus; }

    // Where the list manager keeps its list.
    [[nodiscard]] QString listFolder() const { return m_root + QStringLiteral("/data/barlink"); }

    // Starts the program; true once it has opened the scanner port, or once its standard
    // error holds `awaited` when given.
    [[nodiscard]] bool start(const QByteArray &awaited = "barlink.scanner: opened")
    {
        m_log.clear();
        if (m_ready)
            m_process.start();
        return m_ready && m_process.waitForStarted() && waitForLog(awaited);
    }

    // True once the program's standard error holds `text` (since the last start).
    [[nodiscard]] bool waitForLog(const QByteArray &text, int timeoutMs = 20000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!log().contains(text)) {
            if (m_process.state() != QProcess::Running || deadline.hasExpired())
                return false;
            m_process.waitForReadyRead(50);
        }
        return true;
    }

    [[nodiscard]] QByteArray log() { return m_log += m_process.readAllStandardError(); }

    // The program dies at once, as in a crash or a power cut of the program alone.
    void kill()
    {
        if (m_process.state() != QProcess::NotRunning)
            m_process.kill(), m_process.waitForFinished(10000);
    }

    [[nodiscard]] QProcess &process() { return m_process; }

private:
    QString m_root;
    bool m_ready = false;
    std::unique_ptr<PrivateBus> m_bus;
    QProcess m_process;
    QByteArray m_log;
};

} // namespace barlink::testing
