// The station's journal file: what it keeps, what it forgets, how it rides out a file it
// cannot write, what the window's filters show, and the CSV export. (A crash: tst_journalcrash,
// and an entry committed before its "ACK": tst_journaledscans.)
#include "FilterCases.h"

#include "journal/Connection.h"
#include "journal/CsvExport.h"
#include "journal/ExportCommand.h"
#include "journal/Journal.h"
#include "journal/LocalFile.h"
#include "journal/SpillFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace barlink::journal;

Q_DECLARE_METATYPE(barlink::journal::JournalState::Place)

namespace {

Entry entry(const QString &label, Outcome outcome = Outcome::Taken, Kind kind = Kind::PlainName)
{
    Entry e;
    e.time = QDateTime(QDate(2025, 1, 31), QTime(23, 59, 58, 123), Qt::UTC);
    e.station = QStringLiteral("S-1");
    e.label = label;
    e.outcome = outcome;
    e.kind = kind;
    return e;
}

// Records as RFC 4180 has them (quoted fields may hold commas, doubled quotes and line
// breaks; every record ends with CR LF); an empty list for anything else.
QList<QStringList> parseCsv(const QString &text)
{
    static const QRegularExpression field(
        QStringLiteral("(?:\"((?:[^\"]|\"\")*)\"|([^,\"\r\n]*))(,|\r\n)"));
    QList<QStringList> records{{}};
    qsizetype at = 0;
    for (QRegularExpressionMatch m; at < text.size(); at = m.capturedEnd()) {
        m = field.match(text,
                        at,
                        QRegularExpression::NormalMatch,
                        QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            return {};
        records.last() << (m.hasCaptured(1)
                               ? m.captured(1).replace(QStringLiteral("\"\""), QStringLiteral("\""))
                               : m.captured(2));
        if (m.captured(3) != u",")
            records << QStringList();
    }
    records.removeLast();
    return records;
}

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    [[nodiscard]] QString path() const { return m_dir->filePath(QStringLiteral("journal.sqlite")); }

    void write(const QList<Entry> &entries, int journalDays = 0, const QString &server = {}) const
    {
        Journal journal(path(), QStringLiteral("HERE"), journalDays);
        journal.setServer(server);
        journal.open();
        for (const Entry &e : entries)
            journal.append(e);
    }
    // Every entry of the file, oldest first.
    [[nodiscard]] std::vector<Entry> stored() const
    {
        const Connection connection(QStringLiteral("QSQLITE"));
        QSqlDatabase db = connection.database();
        if (!openLocalFile(db, path(), Durability::Checkpoints).isEmpty())
            return {};
        std::vector<Entry> entries = readEntries(db, Store::Local, {}, 0);
        std::reverse(entries.begin(), entries.end());
        return entries;
    }
    // The labels of the entries in the order they were written.
    [[nodiscard]] QStringList storedLabels() const
    {
        const Connection connection(QStringLiteral("QSQLITE"));
        QSqlDatabase db = connection.database();
        QSqlQuery query(db);
        QStringList labels;
        if (openLocalFile(db, path(), Durability::Checkpoints).isEmpty()
            && query.exec(QStringLiteral("SELECT label FROM entries ORDER BY id"))) {
            while (query.next())
                labels << query.value(0).toString();
        }
        return labels;
    }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // Each field comes back as written, a missing one as missing (no rows is not zero rows);
    // the journal stamps time and station where there are none.
    void entriesRoundTrip()
    {
        Entry full = entry(QStringLiteral("Tür € 日本"), Outcome::Failed, Kind::Compressed);
        full.source = Source::Manual;
        full.reason = QStringLiteral("Error 53");
        full.field = QStringLiteral("2");
        full.program = QStringLiteral("DOOR.CNC");
        full.x = QStringLiteral("800");
        full.y = QStringLiteral("600.5");
        full.z = QStringLiteral("18");
        full.rows = 0;
        const QDateTime before = QDateTime::currentDateTimeUtc();
        write({full,
               entry(QStringLiteral("#1/3"), Outcome::Waiting),
               stationEventEntry(StationEvent::ListCleared, 12)});
        QList<Entry> expected{full,
                              entry(QStringLiteral("#1/3"), Outcome::Waiting),
                              stationEventEntry(StationEvent::ListCleared, 12)};
        const std::vector<Entry> read = stored();
        QCOMPARE(read.size(), std::size_t(3));
        QVERIFY(read[2].time >= before && read[2].time <= QDateTime::currentDateTimeUtc());
        expected[2].time = read[2].time;
        expected[2].station = QStringLiteral("HERE");
        for (qsizetype i = 0; i < expected.size(); ++i) {
            expected[i].localNumber = i + 1;
            QVERIFY2(read[std::size_t(i)] == expected[i],
                     csvLine(read[std::size_t(i)]).constData());
        }
    }

    void existingFiles_data()
    {
        QTest::addColumn<int>("version");
        QTest::newRow("version 1") << 1;
        QTest::newRow("newer than this program") << 99;
    }
    // A file of the first version is taken up with its entries under their stored names; a
    // newer one is left alone.
    void existingFiles()
    {
        QFETCH(int, version);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "v1");
            db.setDatabaseName(path());
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const char *sql :
                 {"CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT, time INTEGER NOT "
                  "NULL, station TEXT NOT NULL, source TEXT NOT NULL, label TEXT NOT NULL, kind "
                  "TEXT NOT NULL, outcome TEXT NOT NULL, reason TEXT, field TEXT, program TEXT, x "
                  "TEXT, y TEXT, z TEXT, rows INTEGER)",
                  "CREATE INDEX entries_time ON entries (time, (label || char(31) || "
                  "ifnull(reason, "
                  "'') || char(31) || ifnull(field, '') || char(31) || ifnull(program, '')))",
                  "CREATE INDEX entries_outcome_time ON entries (outcome, time)",
                  "CREATE TABLE forwarded (server TEXT PRIMARY KEY, last_id INTEGER NOT NULL)",
                  "INSERT INTO entries VALUES (7, 1738367998123, 'S-1', 'station', 'LOST', "
                  "'station-event', 'event', NULL, NULL, NULL, NULL, NULL, NULL, NULL)"})
                QVERIFY(query.exec(QString::fromLatin1(sql)));
            QVERIFY(query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version)));
        }
        QSqlDatabase::removeDatabase("v1");
        write({entry(QStringLiteral("M"))});
        if (version > localSchemaVersion()) {
            QCOMPARE(stored().size(), std::size_t(0));
            return;
        }
        const std::vector<Entry> read = stored();
        QCOMPARE(read.size(), std::size_t(2));
        QCOMPARE(read[0].localNumber, qint64(7));
        QCOMPARE(csvLine(read[0]),
                 "2025-01-31T23:59:58.123Z,S-1,station,LOST,station-event,event,,,,,,,\r\n");
        QCOMPARE(read[1].localNumber, qint64(8));
        // The old entry is found by its text (through the index of three-character pieces),
        // and the file has its identity.
        const Connection connection(QStringLiteral("QSQLITE"));
        QSqlDatabase db = connection.database();
        QCOMPARE(openLocalFile(db, path(), Durability::Checkpoints), QString());
        QCOMPARE(readEntries(db, Store::Local, {.text = "los"}, 0).size(), std::size_t(1));
        QCOMPARE(localFileId(db).size(), 32);
    }

    void retention_data()
    {
        QTest::addColumn<int>("journalDays");
        QTest::addColumn<int>("forwardedUpTo"); // the server's mark; -1: no server
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("400 days") << 400 << -1 << QStringList{"399", "1"};
        QTest::newRow("1 day") << 1 << -1 << QStringList{"1"};
        QTest::newRow("0 keeps all") << 0 << -1 << QStringList{"800", "401", "399", "1"};
        QTest::newRow("server has none") << 1 << 0 << QStringList{"800", "401", "399", "1"};
        QTest::newRow("server has the oldest") << 400 << 1 << QStringList{"401", "399", "1"};
        QTest::newRow("server has all") << 1 << 4 << QStringList{"1"};
    }
    // Entries older than the kept number of days go when the journal is opened; with a server,
    // only those it has.
    void retention()
    {
        QFETCH(int, journalDays);
        QFETCH(int, forwardedUpTo);
        QFETCH(QStringList, kept);
        QList<Entry> entries;
        for (int days : {800, 401, 399, 1}) {
            entries << entry(QString::number(days));
            entries.last().time = QDateTime::currentDateTimeUtc().addSecs(-days * 86400 + 3600);
        }
        write(entries);
        const QString server = forwardedUpTo < 0 ? QString() : QStringLiteral("host=shop");
        if (forwardedUpTo > 0) {
            const Connection connection(QStringLiteral("QSQLITE"));
            QSqlDatabase db = connection.database();
            QCOMPARE(openLocalFile(db, path(), Durability::Checkpoints), QString());
            QVERIFY(QSqlQuery(db).exec(
                QStringLiteral("INSERT INTO forwarded VALUES ('host=shop', %1), ('other', 4)")
                    .arg(forwardedUpTo)));
        }
        write({}, journalDays, server);
        QCOMPARE(storedLabels(), kept);
    }

    void unwritableThenWritable_data()
    {
        QTest::addColumn<bool>("replaceByFolder"); // else: locked by another connection
        QTest::addColumn<QString>("spill");        // the spill file: "", "writable", "unwritable"
        QTest::addColumn<int>("held");
        QTest::addColumn<JournalState::Place>("place"); // while the file cannot be written
        QTest::addColumn<QStringList>("labels");
        using P = JournalState::Place;
        const QString held = QStringLiteral("entries-held");
        const QString back = QStringLiteral("journal-back");
        QTest::newRow("folder, spill file")
            << true << "writable" << 100 << P::SpillFile << QStringList{"B", "C", "D", back};
        QTest::newRow("locked, spill file")
            << false << "writable" << 100 << P::SpillFile << QStringList{"A", "B", "C", "D", back};
        QTest::newRow("locked, no spill file")
            << false << "" << 100 << P::Memory << QStringList{"A", "B", "C", "D", held};
        QTest::newRow("locked, spill file unwritable")
            << false << "unwritable" << 100 << P::Memory << QStringList{"A", "B", "C", "D", held};
        QTest::newRow("locked, oldest held dropped")
            << false << "" << 2 << P::Memory << QStringList{"A", "C", "D", held, "entries-lost"};
    }
    // Neither way depends on file permissions, which do not stop root. The journal is tried
    // again by open(), not by waiting for its timer.
    void unwritableThenWritable()
    {
        QFETCH(bool, replaceByFolder);
        QFETCH(QString, spill);
        QFETCH(int, held);
        QFETCH(JournalState::Place, place);
        QFETCH(QStringList, labels);
        Journal journal(path(), "HERE", 0, {.retryMilliseconds = 600000, .heldEntries = held});
        const QString spillPath = spill == u"writable"
                                      ? m_dir->filePath(QStringLiteral("state/journal.spill"))
                                      : m_dir->filePath(QStringLiteral("journal.sqlite/x.spill"));
        if (!spill.isEmpty())
            journal.setSpillPath(spillPath);
        QSignalSpy states(&journal, &Journal::stateChanged);
        journal.open();
        journal.append(entry(QStringLiteral("A")));
        {
            const Connection locker(QStringLiteral("QSQLITE"));
            QSqlDatabase db = locker.database();
            db.setDatabaseName(path());
            if (replaceByFolder) {
                for (const char *suffix : {"", "-wal", "-shm"})
                    QFile::remove(path() + QLatin1String(suffix));
                QVERIFY(QDir().mkdir(path()));
            } else {
                QVERIFY(db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")));
            }
            for (const char *label : {"B", "C", "D"})
                journal.append(entry(QString::fromLatin1(label)));
            journal.open(); // a try that fails
            QCOMPARE(journal.state().place, place);
            QCOMPARE(journal.state().spilled, place == JournalState::Place::SpillFile ? 3 : 0);
            const int inMemory = place == JournalState::Place::Memory ? qMin(held, 3) : 0;
            QCOMPARE(journal.state().held, inMemory);
            // Told at each change: the first failure, and each entry kept aside.
            QCOMPARE(states.size(), 4);
            if (place == JournalState::Place::SpillFile)
                QCOMPARE(SpillFile(spillPath).read().entries.size(), std::size_t(3));
            QVERIFY(replaceByFolder ? QDir().rmdir(path()) : db.rollback());
        }
        journal.open();
        QCOMPARE(journal.state(), JournalState());
        QCOMPARE(states.last().first().value<JournalState>(), JournalState());
        QVERIFY(!QFile::exists(spillPath));
        QCOMPARE(storedLabels(), labels);
        if (labels.last() == u"entries-lost")
            QCOMPARE(stored().back().reason,
                     "entries lost while the journal could not be written: 1");
    }

    // Entries of a spill file go into the journal file once: a spill file that comes back
    // (its removal lost in a crash) adds only what it gained; a line cut short is counted.
    void spillFileTakenOnce()
    {
        const QString spillPath = m_dir->filePath(QStringLiteral("journal.spill"));
        SpillFile spill(spillPath);
        QCOMPARE(spill.append({entry("A"), entry("B\nB"), entry("C")}), QString());
        QFile file(spillPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray copy = file.readAll();
        file.close();
        const auto take = [&] {
            Journal journal(path(), "HERE", 0);
            journal.setSpillPath(spillPath);
            journal.open();
            return journal.isAvailable() && !QFile::exists(spillPath);
        };
        QVERIFY(take());
        const QStringList once{"A", "B\nB", "C", "journal-back"};
        QCOMPARE(storedLabels(), once);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(copy + "{\"time\":") > 0);
        file.close();
        QVERIFY(take());
        QCOMPARE(storedLabels(), once);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(copy + "{\"time\":") > 0);
        file.close();
        QCOMPARE(spill.append({entry("D")}), QString());
        QVERIFY(take());
        QCOMPARE(storedLabels(), once + QStringList({"D", "entries-lost", "journal-back"}));
    }

    void damagedFileMovedAside_data()
    {
        QTest::addColumn<qint64>("at"); // where garbage overwrites the file; -1: no database
        QTest::newRow("not a database") << qint64(-1);
        QTest::newRow("schema page overwritten") << qint64(100);
    }
    // A damaged journal file is moved aside once, a new one (with a new identity) takes the
    // entries and says first why it is new.
    void damagedFileMovedAside()
    {
        QFETCH(qint64, at);
        if (at >= 0) {
            write({entry("OLD")});
            const Connection connection(QStringLiteral("QSQLITE"));
            QSqlDatabase db = connection.database();
            QCOMPARE(openLocalFile(db, path(), Durability::Checkpoints), QString());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
        }
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(qMax(at, 0)) && file.write(QByteArray(4000, 'x')) == 4000);
        file.close();
        Journal journal(path(), "HERE", 0, {.retryMilliseconds = 600000});
        QSignalSpy aside(&journal, &Journal::movedAside);
        journal.open();
        journal.append(entry(QStringLiteral("NEW")));
        QVERIFY(journal.isAvailable());
        QCOMPARE(aside.size(), 1);
        const QString asidePath = aside.first().first().toString();
        QVERIFY2(QFileInfo(asidePath).fileName().startsWith(u"journal-damaged-"),
                 qPrintable(asidePath));
        QVERIFY(QFileInfo(asidePath).fileName().endsWith(u".sqlite"));
        QCOMPARE(storedLabels(), (QStringList{"journal-damaged", "NEW"}));
        for (const Entry &e : stored()) {
            if (e.label == u"journal-damaged")
                QVERIFY(e.reason.contains(QFileInfo(asidePath).fileName()));
        }
    }

    // The write-ahead log stays small while entries come, and is emptied when they stop.
    void writeAheadLogBounded()
    {
        constexpr qint64 Bound = 256 * 1024;
        Journal journal(path(), "HERE", 0, {.idleMilliseconds = 20, .logBytes = Bound});
        journal.open();
        qint64 largest = 0;
        for (int n = 0; n < 600; ++n) {
            journal.append(entry(QString::number(n)));
            QCoreApplication::processEvents();
            largest = qMax(largest, QFileInfo(path() + QStringLiteral("-wal")).size());
        }
        QVERIFY2(largest < 2 * Bound, qPrintable(QString::number(largest)));
        QTRY_COMPARE(QFileInfo(path() + QStringLiteral("-wal")).size(), 0);
        QCOMPARE(stored().size(), std::size_t(600));
    }

    void filters_data() { filtercases::addRows(); }
    void filters()
    {
        write(filtercases::entries());
        const Connection connection(QStringLiteral("QSQLITE"));
        QSqlDatabase db = connection.database();
        QCOMPARE(openLocalFile(db, path(), Durability::Checkpoints), QString());
        filtercases::check(db, Store::Local);
    }

    // The export parses back field for field; --since keeps the entries from that local day on.
    void exportCsv()
    {
        const QDateTime since = QDate(2025, 1, 30).startOfDay();
        Entry old = entry(QStringLiteral("OLD"));
        old.time = since.addMSecs(-1);
        Entry tricky = entry(escapeControls(u"a,b \"c\"\x1d\x85\x7f"), Outcome::Refused);
        tricky.time = since;
        tricky.reason = QStringLiteral("line\r\nbreak");
        tricky.program = QStringLiteral("Tür.CNC");
        tricky.x = QStringLiteral("1,5");
        tricky.rows = 2;
        write({old, tricky, stationEventEntry(StationEvent::PortLost, {}, QStringLiteral("gone"))});
        const QString out = m_dir->filePath(QStringLiteral("out.csv"));
        QVERIFY(!runExportJournal({"--version"}, {path(), {}}));
        QCOMPARE(runExportJournal({"--export-journal", out, "--since", "2025-02-30"}, {path(), {}}),
                 2);
        QVERIFY(!QFile::exists(out));
        QCOMPARE(runExportJournal({"--export-journal", out, "--since", "2025-01-30"}, {path(), {}}),
                 0);
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QStringList> records = parseCsv(QString::fromUtf8(file.readAll()));
        QCOMPARE(records.size(), 3);
        QCOMPARE(records[0].join(u','), CsvHeader);
        QCOMPARE(records[1],
                 (QStringList{since.toUTC().toString(Qt::ISODateWithMs),
                              "S-1",
                              "scanner",
                              "a,b \"c\"<GS><U+0085><DEL>",
                              "plain-name",
                              "refused",
                              "line\r\nbreak",
                              "",
                              "Tür.CNC",
                              "1,5",
                              "",
                              "",
                              "2"}));
        QCOMPARE(
            records[2].mid(1, 7),
            (QStringList{"HERE", "station", "port-lost", "station-event", "event", "gone", ""}));
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
