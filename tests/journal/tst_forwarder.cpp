// Forwarding to the shop-wide table, on a private PostgreSQL server: order, a server that goes
// away while the station goes on, a restart that lost its mark, and the table read back.
#include "FilterCases.h"
#include "PgServer.h"

#include "journal/Connection.h"
#include "journal/CsvExport.h"
#include "journal/Forwarder.h"
#include "journal/Journal.h"
#include "journal/LocalFile.h"
#include "journal/ServerTable.h"

#include <QBuffer>
#include <QFile>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <latch>
#include <memory>
#include <thread>
#include <vector>

using namespace barlink::journal;

class TestForwarder : public QObject
{
    Q_OBJECT

    std::unique_ptr<PgServer> m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    // Short waits, and batches small enough that every test crosses several.
    static constexpr Forwarder::Timing Quick{50, 400, 7};

    [[nodiscard]] QString path() const { return m_dir->filePath(QStringLiteral("journal.sqlite")); }

    // The first column of every row sql gives on the server, on a connection of its own (the
    // server may have been restarted since the last one) that does not make the table.
    [[nodiscard]] QStringList onServer(const char *sql) const
    {
        const Connection connection(QStringLiteral("QPSQL"));
        QSqlDatabase db = connection.database();
        db.setConnectOptions(m_server->connectionString());
        QStringList column;
        if (!db.open())
            return {db.lastError().text()};
        QSqlQuery query(db);
        if (!query.exec(QString::fromLatin1(sql)))
            return {query.lastError().text()};
        while (query.next())
            column << query.value(0).toString();
        return column;
    }
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
    void forwardFilterCases() const
    {
        Journal journal(path(), QStringLiteral("S"), 0);
        journal.open();
        for (const Entry &entry : filtercases::entries())
            journal.append(entry);
        Forwarder forwarder(path(), m_server->connectionString(), Quick);
        QTRY_COMPARE(count(), QString::number(filtercases::entries().size()));
    }
    static void append(Journal &journal, int from, int to)
    {
        for (const QString &label : numbers(from, to)) {
            Entry entry;
            entry.label = label;
            journal.append(entry);
        }
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
    }
    void cleanupTestCase() { m_server.reset(); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_server->running() || m_server->start());
        QCOMPARE(onServer("DROP TABLE IF EXISTS barlink_journal"), QStringList());
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

            QVERIFY(m_server->stop());
            append(journal, 21, 50);
            QTRY_COMPARE(stalled.size(), 1);
            QTest::qWait(500); // retries fail
            QCOMPARE(stalled.size(), 1);
            QCOMPARE(resumed.size(), 0);
            QVERIFY(m_server->start());
            QTRY_COMPARE_WITH_TIMEOUT(count(), QStringLiteral("50"), 10000);
            QTRY_COMPARE(resumed.size(), 1);
        }
        const Connection local(QStringLiteral("QSQLITE"));
        QSqlDatabase db = local.database();
        QCOMPARE(openLocalFile(db, path(), Durability::Checkpoints), QString());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("DELETE FROM forwarded")));
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
        Journal journal(path(), QStringLiteral("S"), 0);
        journal.open();
        append(journal, 1, 1);
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
        QByteArray exported[2];
        for (const Store store : {Store::Local, Store::Server}) {
            const bool server = store == Store::Server;
            const Connection connection(server ? QStringLiteral("QPSQL")
                                               : QStringLiteral("QSQLITE"));
            QSqlDatabase db = connection.database();
            QCOMPARE(server ? openServer(db, m_server->connectionString())
                            : openLocalFile(db, path(), Durability::Checkpoints),
                     QString());
            QBuffer out(&exported[int(server)]);
            QVERIFY(out.open(QIODevice::WriteOnly));
            QCOMPARE(exportCsv(db, store, {}, out), qint64(filtercases::entries().size()));
        }
        QCOMPARE(exported[1], exported[0]);
    }
};

QTEST_GUILESS_MAIN(TestForwarder)
#include "tst_forwarder.moc"
