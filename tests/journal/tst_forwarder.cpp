// Forwarding to the shop-wide table, on a private PostgreSQL server: order, a server that goes
// away while the station goes on, a restart that lost its mark, the table read back, what the
// station says while it cannot forward, both forms of connection string, and the stations'
// rows that the shop's status reads.
#include "FilterCases.h"
#include "JournalFile.h"
#include "PgServer.h"
#include "Tables.h"

#include "journal/Connection.h"
#include "journal/CsvExport.h"
#include "journal/Forwarder.h"
#include "journal/Journal.h"
#include "journal/ServerTable.h"
#include "journal/ShopStatus.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QUrl>

#include <atomic>
#include <csignal>
#include <latch>
#include <memory>
#include <thread>
#include <vector>

using namespace barlink::journal;
using barlink::testing::columns;
using barlink::testing::fetch;
using barlink::testing::JournalFile;

namespace {

// Forwarding attempts that failed, counted from the journal's debug log (written by the
// forwarding thread); other messages go on to Qt's handler.
std::atomic<int> failedAttempts{0};
QtMessageHandler qtHandler = nullptr;
void countFailedAttempts(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(u"forwarding stopped:"))
        ++failedAttempts;
    else if (qtHandler)
        qtHandler(type, context, text);
}

} // namespace

class TestForwarder : public QObject
{
    Q_OBJECT

    std::unique_ptr<PgServer> m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    bool m_filterCasesForwarded = false;
    // Short waits, batches small enough that every test crosses several, and the station's
    // row written often.
    static constexpr Forwarder::Timing Quick{50, 400, 7, 100};

    [[nodiscard]] QString path() const { return m_dir->filePath(QStringLiteral("journal.sqlite")); }

    [[nodiscard]] QStringList onServer(const char *sql) const { return m_server->query(sql); }
    [[nodiscard]] QString count() const
    {
        return onServer("SELECT count(*) FROM barlink_journal").value(0);
    }

    static QStringList numbers(int from, int to)
    {
        QStringList list;
        for (int n = from; n <= to; ++n)
            list << QString::number(n);
        return list;
    }
    void forwardFilterCases()
    {
        if (std::exchange(m_filterCasesForwarded, true))
            return;
        Journal journal(path(), QStringLiteral("S"), 0);
        journal.open();
        for (const Entry &entry : filtercases::entries())
            journal.append(entry);
        Forwarder forwarder(path(), m_server->connectionString(), Quick);
        QTRY_COMPARE(count(), QString::number(filtercases::entries().size()));
    }
    // The station's journal, open, holding the entries 1 to `entries`.
    [[nodiscard]] std::unique_ptr<Journal> openJournal(int entries) const
    {
        auto journal = std::make_unique<Journal>(path(), QStringLiteral("S"), 0);
        journal->open();
        append(*journal, 1, entries);
        return journal;
    }
    static void append(Journal &journal, int from, int to)
    {
        for (const QString &label : numbers(from, to)) {
            Entry entry;
            entry.label = label;
            journal.append(entry);
        }
    }
    [[nodiscard]] StationRows stationRows() const
    {
        const Connection connection(QStringLiteral("QPSQL"));
        QSqlDatabase db = connection.database();
        if (!connectServer(db, m_server->connectionString()).isEmpty())
            return {};
        return readStationRows(db);
    }
    // Both tables made, as a station makes them.
    [[nodiscard]] bool makeTables() const
    {
        const Connection connection(QStringLiteral("QPSQL"));
        QSqlDatabase db = connection.database();
        return openServer(db, m_server->connectionString()).isEmpty()
               && openStationTable(db).isEmpty();
    }
    // The server's connection string with another user.
    [[nodiscard]] QString as(const char *user) const
    {
        return m_server->connectionString().replace("user=barlink", "user=" + QString(user));
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            QSKIP("the QPSQL driver is missing (Debian package libqt6sql6-psql)");
        m_server = std::make_unique<PgServer>();
        if (!m_server->installed())
            QSKIP(qPrintable(m_server->failure()));
        QVERIFY2(m_server->running(), qPrintable(m_server->failure()));
        QCOMPARE(onServer("CREATE ROLE station LOGIN"), QStringList());
    }
    void cleanupTestCase() { m_server.reset(); }
    void init()
    {
        // filters() and the tests after it read the entries forwarded once, by the first row.
        if (m_filterCasesForwarded)
            return;
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_server->running() || m_server->start());
        QCOMPARE(onServer("DROP TABLE IF EXISTS barlink_journal, barlink_station"), QStringList());
    }

    // The table is made on the first entry. The server stops while the station appends and
    // starts again: every entry arrives once, in local-number order, and the operator is told
    // once of each change. Then the station dies after the server took entries but before the
    // mark moved: the next run sends them again, and the server keeps one of each.
    void everyEntryOnceInOrder()
    {
        Journal journal(path(), QStringLiteral("S"), 0);
        journal.open();
        {
            Forwarder forwarder(path(), m_server->connectionString(), Quick);
            connect(&journal, &Journal::written, &forwarder, &Forwarder::wake);
            QSignalSpy stalled(&forwarder, &Forwarder::stalled);
            QSignalSpy resumed(&forwarder, &Forwarder::resumed);
            append(journal, 1, 1);
            QTRY_COMPARE(count(), QStringLiteral("1"));
            // Numbers the rows as they arrive from now on.
            QCOMPARE(onServer("ALTER TABLE barlink_journal ADD COLUMN arrival BIGSERIAL"),
                     QStringList());
            append(journal, 2, 20);
            QTRY_COMPARE(count(), QStringLiteral("20"));
            // Not one was sent twice: the server keeps no second copy, but takes a number for it.
            QCOMPARE(onServer("SELECT max(arrival) FROM barlink_journal"), QStringList{"20"});

            QVERIFY(m_server->stop());
            append(journal, 21, 50);
            QTRY_COMPARE(stalled.size(), 1);
            QTRY_COMPARE(forwarder.state().waiting, qint64(30));
            // Retries fail without another word to the operator.
            QLoggingCategory::setFilterRules(QStringLiteral("barlink.journal.debug=true"));
            qtHandler = qInstallMessageHandler(countFailedAttempts);
            const int attempts = failedAttempts;
            QTRY_VERIFY(failedAttempts >= attempts + 3);
            qInstallMessageHandler(qtHandler);
            QLoggingCategory::setFilterRules({});
            QCOMPARE(stalled.size(), 1);
            QCOMPARE(resumed.size(), 0);
            QVERIFY(forwarder.state().reason.contains("cannot connect to the server"));
            QVERIFY(m_server->start());
            QTRY_COMPARE_WITH_TIMEOUT(count(), QStringLiteral("50"), 10000);
            QTRY_COMPARE(resumed.size(), 1);
            QCOMPARE(forwarder.state(), ForwardState());
        }
        QVERIFY(QSqlQuery(JournalFile(path()).db()).exec(QStringLiteral("DELETE FROM forwarded")));
        append(journal, 51, 55);
        Forwarder forwarder(path(), m_server->connectionString(), Quick);
        connect(&journal, &Journal::written, &forwarder, &Forwarder::wake);
        QTRY_COMPARE(count(), QStringLiteral("55"));
        // The file removed: the journal makes a new one, numbered from 1 again, and the server
        // keeps its entries beside the old file's.
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(path() + QLatin1String(suffix));
        append(journal, 56, 58);
        QTRY_COMPARE(count(), QStringLiteral("58"));
        QCOMPARE(onServer("SELECT label FROM barlink_journal ORDER BY arrival"), numbers(1, 58));
    }

    // A table made before entries named their file keeps its entries, under no file; the
    // new ones go beside them although their local numbers are the same.
    void olderTableTakenUp()
    {
        QCOMPARE(onServer("CREATE TABLE barlink_journal (station TEXT NOT NULL, id BIGINT NOT "
                          "NULL, time BIGINT NOT NULL, source TEXT NOT NULL, label TEXT NOT NULL, "
                          "kind TEXT NOT NULL, outcome TEXT NOT NULL, reason TEXT, field TEXT, "
                          "program TEXT, x TEXT, y TEXT, z TEXT, rows INTEGER, "
                          "PRIMARY KEY (station, id))"),
                 QStringList());
        QCOMPARE(onServer("INSERT INTO barlink_journal VALUES "
                          "('S', 1, 0, 'scanner', 'OLD', 'plain-name', 'taken')"),
                 QStringList());
        const std::unique_ptr<Journal> journal = openJournal(1);
        Forwarder forwarder(path(), m_server->connectionString(), Quick);
        QTRY_COMPARE(count(), QStringLiteral("2"));
        QCOMPARE(onServer("SELECT label FROM barlink_journal ORDER BY file_id"),
                 (QStringList{"OLD", "1"}));
    }

    // Stations that make the table at the same moment all go on.
    void tableMadeByManyAtOnce()
    {
        for (int round = 0; round < 5; ++round) {
            QCOMPARE(onServer("DROP TABLE IF EXISTS barlink_journal"), QStringList());
            QStringList errors(4);
            std::latch ready(errors.size());
            std::vector<std::thread> stations;
            for (QString &error : errors) {
                stations.emplace_back([&] {
                    const Connection connection(QStringLiteral("QPSQL"));
                    QSqlDatabase db = connection.database();
                    ready.arrive_and_wait();
                    error = openServer(db, m_server->connectionString());
                });
            }
            for (std::thread &station : stations)
                station.join();
            QCOMPARE(errors, QStringList(4));
        }
    }

    // Forwarding that cannot start says so, with the server's or libpq's own words, and counts
    // the entries that wait as they come.
    void failureSeen_data()
    {
        columns<QString, QString>({"server", "reason"});
        const QString empty = m_server->socketFolder() + "/none"; // where no server listens
        // clang-format off
        QTest::newRow("no server") << "host=" + empty + " dbname=postgres" << "cannot connect to the server: connection to server on socket \"" + empty + "/.s.PGSQL.5432\" failed: No such file";
        QTest::newRow("bad string") << "host=" + empty + " port" << "JournalServer setting is not a connection string: missing";
        QTest::newRow("';' in a value") << m_server->connectionString() + " options='-c a=b;c'" << "the value of options holds a ';'";
        // clang-format on
    }
    void failureSeen()
    {
        const QString &reason = fetch<QString>("reason");
        const QDateTime before = QDateTime::currentDateTimeUtc();
        const std::unique_ptr<Journal> journal = openJournal(2);
        // No second try within the test: the new entry is counted as it comes.
        Forwarder forwarder(path(), fetch<QString>("server"), {60000, 60000, 7, 60000});
        connect(journal.get(), &Journal::written, &forwarder, &Forwarder::wake);
        QTRY_COMPARE(forwarder.state().waiting, qint64(2));
        QVERIFY2(forwarder.state().reason.contains(reason), qPrintable(forwarder.state().reason));
        append(*journal, 3, 3);
        QTRY_COMPARE(forwarder.state().waiting, qint64(3));
        // Since the first entry that waits.
        QVERIFY(forwarder.state().since >= before);
        QVERIFY(forwarder.state().since <= QDateTime::currentDateTimeUtc());
    }

    // Both forms of connection string reach the server, whose socket folder a URI names as a
    // parameter or percent-encoded; values reach it as they were given.
    void connectionForms_data()
    {
        columns<QString, QString>({"server", "applicationName"});
        const QString folder = m_server->socketFolder();
        const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(folder));
        // clang-format off
        QTest::newRow("URI, encoded host") << "postgresql://barlink@" + encoded + ":5432/postgres?application_name=shop%20A" << "shop A";
        QTest::newRow("quoted value") << m_server->connectionString() + " application_name='it\\'s \\\\ 5'" << "it's \\ 5";
        // clang-format on
    }
    void connectionForms()
    {
        const Connection connection(QStringLiteral("QPSQL"));
        QSqlDatabase db = connection.database();
        QCOMPARE(openServer(db, fetch<QString>("server")), QString());
        QSqlQuery query(db);
        QVERIFY(query.exec("SELECT current_setting('application_name') FROM barlink_journal "
                           "RIGHT JOIN (SELECT 1) AS one ON true"));
        QVERIFY(query.next());
        QTEST(query.value(0).toString(), "applicationName");
    }

    // Each station keeps its row while it forwards; the shop's status marks the one that
    // stopped, by the time its row was last written.
    void shopSeesEveryStation()
    {
        const QDateTime newest(QDate(2025, 3, 1), QTime(8, 30, 1, 250), Qt::UTC);
        std::unique_ptr<Forwarder> forwarders[2];
        std::unique_ptr<Journal> journals[2];
        for (int i = 0; i < 2; ++i) {
            const QString file = m_dir->filePath(QString::number(i));
            journals[i] = std::make_unique<Journal>(file, i ? "B" : "A", 0);
            journals[i]->open();
            Entry entry;
            entry.label = QStringLiteral("L");
            entry.time = newest.addSecs(i);
            journals[i]->append(entry);
            forwarders[i] = std::make_unique<Forwarder>(file, m_server->connectionString(), Quick);
        }
        QTRY_COMPARE(stationRows().rows.size(), std::size_t(2));
        const StationRow b = stationRows().rows[1];
        QCOMPARE(b.station, QStringLiteral("B"));
        QCOMPARE(b.newestEntry, newest.addSecs(1));
        QCOMPARE(b.waiting, qint64(0));
        QCOMPARE(b.version,
                 QStringLiteral("%1.%2.%3")
                     .arg(BARLINK_VERSION_MAJOR)
                     .arg(BARLINK_VERSION_MINOR)
                     .arg(BARLINK_VERSION_PATCH));
        QCOMPARE(b.fileId.size(), 32);
        forwarders[1].reset();
        const QDateTime firstA = stationRows().rows[0].lastSeen;
        const QDateTime lastB = stationRows().rows[1].lastSeen;
        // A writes its row again; B's stays.
        QTRY_VERIFY(stationRows().rows[0].lastSeen > std::max(firstA, lastB.addMSecs(1)));
        const StationRows read = stationRows();
        QCOMPARE(read.rows[1].lastSeen, lastB);

        const qint64 tenMinutes = 10 * 60000;
        const struct
        {
            qint64 afterB;
            int staleMinutes;
            ShopStatus::Exit exit;
        } cases[] = {{tenMinutes, 10, ShopStatus::AllSeen},
                     {tenMinutes + 1, 10, ShopStatus::StationStale},
                     {tenMinutes + 1, 11, ShopStatus::AllSeen}};
        for (const auto &c : cases) {
            const ShopStatus status = shopStatus(read, lastB.addMSecs(c.afterB), c.staleMinutes);
            QCOMPARE(status.exit, c.exit);
            const QStringList lines = status.text.split('\n');
            QCOMPARE(lines.size(), 5); // the verdict, the heading, A, B, and the end
            QVERIFY(lines[2].startsWith("A ") && !lines[2].contains("NOT SEEN"));
            QCOMPARE(lines[3].endsWith("NOT SEEN FOR 10 MINUTES"),
                     c.exit == ShopStatus::StationStale);
        }

        // The command, on the server's clock: both were seen a moment ago; then the server is
        // away.
        QString text;
        QTextStream out(&text);
        QCOMPARE(runShopStatus({"--shop-status"}, m_server->connectionString(), out), 0);
        QVERIFY2(text.startsWith("BARLINK SHOP OK - 2 station(s) seen in the last 10 minutes | "
                                 "stations=2 stale=0 waiting=0\n"),
                 qPrintable(text));
        QCOMPARE(runShopStatus({"--shop-status", "--stale", "0"}, {}, out), 3);
        QVERIFY(m_server->stop());
        text.clear();
        QCOMPARE(runShopStatus({"--shop-status"}, m_server->connectionString(), out), 2);
        QVERIFY2(text.startsWith("BARLINK SHOP CRITICAL - cannot connect to the server: "),
                 qPrintable(text));
        QTRY_VERIFY(!forwarders[0]->state().upToDate());
    }

    // A station that may only add and read entries forwards them once the tables are there;
    // until it may write its row, it says that the shop cannot see it.
    void limitedRights()
    {
        {
            const Connection connection(QStringLiteral("QPSQL"));
            QSqlDatabase db = connection.database();
            QCOMPARE(openServer(db, m_server->connectionString()), QString());
            QCOMPARE(openStationTable(db), QString());
        }
        QCOMPARE(onServer("GRANT SELECT, INSERT ON barlink_journal TO station"), QStringList());
        const std::unique_ptr<Journal> journal = openJournal(9);
        Forwarder forwarder(path(), as("station"), Quick);
        QTRY_COMPARE(count(), QStringLiteral("9"));
        QTRY_VERIFY(!forwarder.state().reason.isEmpty());
        QVERIFY2(forwarder.state().reason.startsWith("the shop cannot see this station: ")
                     && forwarder.state().reason.contains("permission denied for table "
                                                          "barlink_station"),
                 qPrintable(forwarder.state().reason));
        QCOMPARE(forwarder.state().waiting, qint64(0));
        QCOMPARE(onServer("GRANT SELECT, INSERT, UPDATE ON barlink_station TO station"),
                 QStringList());
        QTRY_VERIFY(forwarder.state().upToDate());
        QCOMPARE(onServer("SELECT station FROM barlink_station"), QStringList{"S"});
    }

    // With the tables locked by another connection, each call ends at its bound: forwarding
    // stops and says why (the Shop badge shows it), new entries are counted, and once the lock
    // goes every entry arrives.
    void lockedTablesStallForwarding()
    {
        QVERIFY(makeTables());
        const std::unique_ptr<Journal> journal = openJournal(4);
        auto lock = std::make_unique<TableLock>(m_server->connectionString(),
                                                "barlink_journal, barlink_station");
        QVERIFY(lock->held());
        Forwarder::Timing bounded = Quick;
        bounded.server
            = {.connectSeconds = 5, .statementMilliseconds = 400, .lockMilliseconds = 200};
        Forwarder forwarder(path(), m_server->connectionString(), bounded);
        connect(journal.get(), &Journal::written, &forwarder, &Forwarder::wake);
        QSignalSpy stalled(&forwarder, &Forwarder::stalled);
        QTRY_COMPARE(stalled.size(), 1);
        const QString reason = forwarder.state().reason;
        QVERIFY2(reason.startsWith("the server did not answer in time (400 ms for a statement, "
                                   "200 ms for a lock): ")
                     && reason.contains("lock timeout"),
                 qPrintable(reason));
        QCOMPARE(forwarder.state().waiting, qint64(4));
        append(*journal, 5, 6);
        QTRY_COMPARE(forwarder.state().waiting, qint64(6));
        lock.reset();
        QTRY_COMPARE(count(), QStringLiteral("6"));
        QTRY_VERIFY(forwarder.state().upToDate());
    }

    // A server that stops answering altogether (its process stopped, so that it keeps no bound
    // of its own) holds a call only its bound and a little more: the call's connection is cut,
    // forwarding says so, and goes on once the server answers again.
    void frozenServerStallsForwarding()
    {
        QVERIFY(makeTables());
        const std::unique_ptr<Journal> journal = openJournal(2);
        Forwarder::Timing bounded = Quick;
        bounded.server
            = {.connectSeconds = 5, .statementMilliseconds = 300, .lockMilliseconds = 200};
        bounded.callGraceMilliseconds = 700;
        Forwarder forwarder(path(), m_server->connectionString(), bounded);
        connect(journal.get(), &Journal::written, &forwarder, &Forwarder::wake);
        QSignalSpy stalled(&forwarder, &Forwarder::stalled);
        QTRY_COMPARE(count(), QStringLiteral("2"));
        const QStringList backend
            = onServer("SELECT pid FROM pg_stat_activity WHERE application_name = 'barlink'");
        QCOMPARE(backend.size(), 1);
        const pid_t pid = backend[0].toInt();
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        const auto resume = qScopeGuard([pid] { ::kill(pid, SIGCONT); });
        append(*journal, 3, 3);
        QTRY_COMPARE(stalled.size(), 1);
        ::kill(pid, SIGCONT);
        const QString reason = forwarder.state().reason;
        QVERIFY2(reason.startsWith("the server did not answer within 1000 ms: "),
                 qPrintable(reason));
        QTRY_COMPARE(count(), QStringLiteral("3"));
        QTRY_VERIFY(forwarder.state().upToDate());
    }

    // The end waits for a call that the server holds up only as long as its bound, then cuts
    // the connection; nothing the server did not confirm is lost: it goes at the next start.
    void endCutsCallThatWaits()
    {
        QVERIFY(makeTables());
        const std::unique_ptr<Journal> journal = openJournal(3);
        auto lock = std::make_unique<TableLock>(m_server->connectionString(), "barlink_journal");
        QVERIFY(lock->held());
        Forwarder::Timing patient = Quick;
        patient.server
            = {.connectSeconds = 5, .statementMilliseconds = 60000, .lockMilliseconds = 60000};
        patient.endMilliseconds = 500;
        auto forwarder = std::make_unique<Forwarder>(path(), m_server->connectionString(), patient);
        QTRY_COMPARE(onServer("SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = "
                              "'Lock' AND application_name = 'barlink'"),
                     QStringList{"1"});
        QElapsedTimer end;
        end.start();
        forwarder.reset();
        // Far within the statement's bound of a minute and the lock's 20 s: the end cut it.
        QVERIFY2(end.elapsed() < 10000, qPrintable(QString::number(end.elapsed())));
        lock.reset();
        QCOMPARE(count(), QStringLiteral("0"));
        Forwarder next(path(), m_server->connectionString(), Quick);
        QTRY_COMPARE(count(), QStringLiteral("3"));
    }

    void shopStatusCommand_data()
    {
        // setup: SQL run on the server first; locked: tables a TableLock holds; bounds: statement,
        // lock and whole answer in ms.
        columns<QString, QString, QList<int>, int, QStringList>(
            {"setup", "locked", "bounds", "exit", "said"});
        const QList<int> quick{400, 200, 10000};
        const QString station
            = "INSERT INTO barlink_station VALUES ('HERE', 'f', '8.1.0', now(), NULL, 0)";
        // clang-format off
        QTest::newRow("no table") << "DROP TABLE barlink_station" << "" << quick << 3 << QStringList{"BARLINK SHOP UNKNOWN - the table barlink_station is not on the server: no station has reported to this database\n"};
        QTest::newRow("no station") << "" << "" << quick << 3 << QStringList{"BARLINK SHOP UNKNOWN - no station has reported yet\n"};
        QTest::newRow("a last report in the future") << station + ", ('AHEAD', 'f', '8.1.0', now() + interval '5 minutes', NULL, 3)" << "" << quick << 1
            << QStringList{"BARLINK SHOP WARNING - 1 of 2 station(s) not seen for more than 10 minutes or reported from the future: AHEAD (last report in the future) | stations=2 stale=1 waiting=3", "NOT SEEN: LAST REPORT IN THE FUTURE\nHERE "};
        QTest::newRow("table locked") << station << "barlink_station" << quick << 2 << QStringList{"BARLINK SHOP CRITICAL - the server did not answer in time: ", "canceling statement due to lock timeout"};
        QTest::newRow("no answer in time") << station << "barlink_station" << QList<int>{60000, 60000, 300} << 2 << QStringList{"BARLINK SHOP CRITICAL - the server did not answer in time: no answer within 300 ms\n"};
        // clang-format on
    }
    // --shop-status gives no verdict where there is nothing to judge, counts a station whose
    // last report lies ahead of the server's clock as not seen, and answers within its bound
    // whatever holds the server up.
    void shopStatusCommand()
    {
        QVERIFY(makeTables());
        const QString &setup = fetch<QString>("setup");
        QVERIFY(setup.isEmpty() || onServer(setup.toUtf8().constData()).isEmpty());
        const QString &locked = fetch<QString>("locked");
        std::unique_ptr<TableLock> lock;
        if (!locked.isEmpty()) {
            lock = std::make_unique<TableLock>(m_server->connectionString(),
                                               locked.toUtf8().constData());
            QVERIFY(lock->held());
        }
        const QList<int> &bounds = fetch<QList<int>>("bounds");
        QString text;
        QTextStream out(&text);
        const int exit = runShopStatus({"--shop-status"},
                                       m_server->connectionString(),
                                       out,
                                       {.server = {.connectSeconds = 5,
                                                   .statementMilliseconds = bounds[0],
                                                   .lockMilliseconds = bounds[1]},
                                        .answerMilliseconds = bounds[2]})
                             .value_or(-1);
        QTEST(exit, "exit");
        for (const QString &part : fetch<QStringList>("said"))
            QVERIFY2(text.contains(part), qPrintable(text));
    }

    void filters_data() { filtercases::addRows(); }
    void filters()
    {
        forwardFilterCases();
        const Connection connection(QStringLiteral("QPSQL"));
        QSqlDatabase db = connection.database();
        QCOMPARE(openServer(db, m_server->connectionString()), QString());
        filtercases::check(db, Store::Server);
    }

    // The shop-wide export is the station's, byte for byte.
    void exportAsTheStations()
    {
        forwardFilterCases();
        const auto exported = [](const QSqlDatabase &db, Store store) {
            QByteArray bytes;
            QBuffer out(&bytes);
            out.open(QIODevice::WriteOnly);
            const bool all = exportCsv(db, store, {}, out) == qint64(filtercases::entries().size());
            return all ? bytes : QByteArray("not all entries");
        };
        const Connection connection(QStringLiteral("QPSQL"));
        QSqlDatabase server = connection.database();
        QCOMPARE(openServer(server, m_server->connectionString()), QString());
        QCOMPARE(exported(server, Store::Server), exported(JournalFile(path()).db(), Store::Local));
    }
};

QTEST_GUILESS_MAIN(TestForwarder)
#include "tst_forwarder.moc"
