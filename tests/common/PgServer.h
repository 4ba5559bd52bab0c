#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

// A private PostgreSQL server for tests and benchmarks: a cluster made by initdb in a
// temporary folder, reached only through a Unix socket there (no TCP, so its port number is
// free whatever it is), trusting every user. Run as root, the programs run as the system user
// "postgres", since initdb refuses root. Stopped when the object goes.
class PgServer
{
public:
    PgServer()
    {
        // The last version folder that has the programs (Debian installs one).
        const QDir versions("/usr/lib/postgresql");
        for (const QString &version :
             versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            if (QFile::exists(versions.filePath(version + "/bin/initdb")))
                m_bin = versions.filePath(version + "/bin/");
        m_failure = QStringLiteral("initdb is not installed (Debian package postgresql)");
        const QString initdb = QStringLiteral("-A trust -U barlink -E UTF8 --no-locale --no-sync");
        if (installed() && m_dir.isValid() && runAsPostgres() && run("initdb", initdb.split(u' ')))
            start();
    }
    ~PgServer() { stop(); }

    [[nodiscard]] bool installed() const { return !m_bin.isEmpty(); }
    [[nodiscard]] bool running() const { return m_running; }
    // Why it is not running, with the programs' output.
    [[nodiscard]] const QString &failure() const { return m_failure; }
    // For libpq, and so for the JournalServer setting.
    [[nodiscard]] QString connectionString() const
    {
        return QStringLiteral("host=%1 port=5432 dbname=postgres user=barlink").arg(m_dir.path());
    }
    // The folder of its socket.
    [[nodiscard]] QString socketFolder() const { return m_dir.path(); }
    // The first column of every row sql gives, on a connection of its own (the server may have
    // been restarted since the last one); the error's text when it fails.
    [[nodiscard]] QStringList query(const QString &sql) const
    {
        const QString name = QStringLiteral("pgserver query %1").arg(quintptr(this));
        QStringList column;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setConnectOptions(connectionString());
            QSqlQuery query(db);
            if (!db.open())
                column << db.lastError().text();
            else if (!query.exec(sql))
                column << query.lastError().text();
            while (query.next())
                column << query.value(0).toString();
        }
        QSqlDatabase::removeDatabase(name);
        return column;
    }

    bool start()
    {
        const QString options
            = QStringLiteral("-k %1 -c listen_addresses='' -c fsync=off").arg(m_dir.path());
        m_running = run("pg_ctl", {"-o", options, "-l", m_dir.filePath("log"), "-w", "start"});
        return m_running;
    }
    bool stop()
    {
        m_running = m_running && !run("pg_ctl", {"-m", "fast", "-w", "stop"});
        return !m_running;
    }

private:
    // As root, the folder goes to the user postgres, who runs the programs through runuser.
    bool runAsPostgres()
    {
        if (::geteuid() != 0)
            return true;
        m_failure = QStringLiteral("run as root, the server needs the user postgres and runuser");
        const passwd *user = ::getpwnam("postgres");
        m_runuser = QStandardPaths::findExecutable("runuser", {"/usr/sbin", "/sbin"});
        return user && !m_runuser.isEmpty()
               && ::chown(QFile::encodeName(m_dir.path()).constData(), user->pw_uid, user->pw_gid)
                      == 0;
    }

    // Runs one of the server's programs on the cluster's folder.
    bool run(const char *program, const QStringList &arguments)
    {
        QStringList command{m_bin + QLatin1String(program), "-D", m_dir.filePath("data")};
        if (!m_runuser.isEmpty())
            command = QStringList{m_runuser, "-u", "postgres", "--"} + command;
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        const QString executable = command.takeFirst();
        process.start(executable, command + arguments);
        const bool ok = process.waitForFinished(120000)
                        && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        m_failure = QString::fromLocal8Bit(program + (": " + process.readAll()));
        return ok;
    }

    QTemporaryDir m_dir;
    QString m_bin, m_runuser, m_failure;
    bool m_running = false;
};

// Another program's transaction on the server that holds tables locked (ACCESS EXCLUSIVE) until
// it goes; the server ends it after idleSeconds, should a test hang on it.
class TableLock
{
public:
    TableLock(const QString &server, const char *tables, int idleSeconds = 20)
        : m_name(QStringLiteral("table lock %1").arg(quintptr(this)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        db.setConnectOptions(server);
        QSqlQuery query(db);
        m_held = db.open()
                 && query.exec(QStringLiteral("SET idle_in_transaction_session_timeout = %1")
                                   .arg(idleSeconds * 1000))
                 && db.transaction()
                 && query.exec(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE")
                                   .arg(QLatin1String(tables)));
    }
    ~TableLock()
    {
        QSqlDatabase::database(m_name, false).close(); // the transaction rolls back
        QSqlDatabase::removeDatabase(m_name);
    }
    TableLock(const TableLock &) = delete;
    TableLock &operator=(const TableLock &) = delete;

    [[nodiscard]] bool held() const { return m_held; }

private:
    QString m_name;
    bool m_held = false;
};
