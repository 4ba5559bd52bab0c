#pragma once

// The real barlink program, run offscreen in a folder of its own: its settings, data and
// runtime folders (XDG_*) and its home all lie under one root, and the scanner is a
// pseudo-terminal the test plays. The program logs to standard error what the test waits for
// (the scanner port opened, each label it takes).

#include "StationRig.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

namespace barlink::testing {

class BarlinkProcess
{
public:
    // `root` must exist; `device` is the scanner's device; `keys` as for writeStationSettings.
    BarlinkProcess(QString root, const QString &device, const QByteArray &keys = {})
        : m_root(std::move(root))
    {
        for (const char *folder : {"config/barlink", "data", "run", "home"})
            QDir(m_root).mkpath(QLatin1String(folder));
        QFile::setPermissions(m_root + QStringLiteral("/run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_settingsWritten = makeStationFolders(m_root)
                            && writeStationSettings(settingsPath(), m_root, device, keys);
    }
    ~BarlinkProcess() { kill(); }
    BarlinkProcess(const BarlinkProcess &) = delete;
    BarlinkProcess &operator=(const BarlinkProcess &) = delete;

    [[nodiscard]] QString settingsPath() const
    {
        return m_root + QStringLiteral("/config/barlink/KTQ.INI");
    }
    // Where the embedded list manager keeps its list.
    [[nodiscard]] QString listFolder() const { return m_root + QStringLiteral("/data/barlink"); }

    // Starts the program; true once it has opened the scanner port.
    [[nodiscard]] bool start(int timeoutMs = 20000)
    {
        if (!m_settingsWritten)
            return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_root + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root + QStringLiteral("/run"));
        env.insert(QStringLiteral("HOME"), m_root + QStringLiteral("/home"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"),
                   QStringLiteral("barlink.scanner.debug=true\nbarlink.label.debug=true"));
        env.remove(QStringLiteral("BARLINK_TEST_CONSOLE"));
        m_process.setProcessEnvironment(env);
        m_process.setProgram(QStringLiteral(BARLINK_BINARY));
        m_log.clear();
        m_process.start();
        if (!m_process.waitForStarted(timeoutMs))
            return false;
        return waitForLog("barlink.scanner: opened", timeoutMs);
    }

    // True once the program's standard error holds `text` (since the last start).
    [[nodiscard]] bool waitForLog(const QByteArray &text, int timeoutMs = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!log().contains(text)) {
            if (m_process.state() != QProcess::Running || clock.elapsed() > timeoutMs)
                return false;
            m_process.waitForReadyRead(50);
        }
        return true;
    }

    [[nodiscard]] QByteArray log()
    {
        m_log += m_process.readAllStandardError();
        return m_log;
    }

    // The program dies at once, as in a crash or a power cut of the program alone.
    void kill()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(10000);
    }

    [[nodiscard]] QProcess &process() { return m_process; }

private:
    QString m_root;
    bool m_settingsWritten = false;
    QProcess m_process;
    QByteArray m_log;
};

} // namespace barlink::testing
