// The station's journal file: what it keeps, what it forgets, how it rides out a file it
// cannot write, what the window's filters show, and the CSV export. (A crash: tst_journalcrash,
// and an entry committed before its "ACK": tst_journaledscans.)
#include "FilterCases.h"
#include "JournalFile.h"
#include "ManualClock.h"
#include "Tables.h"
#include "TestSupport.h"

#include "journal/Connection.h"
#include "journal/CsvExport.h"
#include "journal/ExportCommand.h"
#include "journal/Journal.h"
#include "journal/LocalFile.h"
#include "journal/SpillFile.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

using namespace barlink::journal;
using barlink::testing::columns;
using barlink::testing::fetch;
using barlink::testing::JournalFile;
using barlink::testing::readBytes;
using barlink::testing::writeBytes;

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

// A file of the first version at path, holding one entry (local number 7, "LOST"), its
// user_version set to version.
bool makeVersion1(const QString &path, int version)
{
    const Connection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.database();
    db.setDatabaseName(path);
    if (!db.open())
        return false;
    QSqlQuery query(db);
    for (const char *sql :
         {"CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT, time INTEGER NOT NULL, "
          "station TEXT NOT NULL, source TEXT NOT NULL, label TEXT NOT NULL, kind TEXT NOT NULL, "
          "outcome TEXT NOT NULL, reason TEXT, field TEXT, program TEXT, x TEXT, y TEXT, z TEXT, "
          "rows INTEGER)",
          "CREATE INDEX entries_time ON entries (time, (label || char(31) || ifnull(reason, '') "
          "|| char(31) || ifnull(field, '') || char(31) || ifnull(program, '')))",
          "CREATE INDEX entries_outcome_time ON entries (outcome, time)",
          "CREATE TABLE forwarded (server TEXT PRIMARY KEY, last_id INTEGER NOT NULL)",
          "INSERT INTO entries VALUES (7, 1738367998123, 'S-1', 'station', 'LOST', "
          "'station-event', 'event', NULL, NULL, NULL, NULL, NULL, NULL, NULL)"}) {
        if (!query.exec(QString::fromLatin1(sql)))
            return false;
    }
    return query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

// Whether the search index holds every entry of the file once and nothing else (SQLite
// reports it malformed otherwise).
bool indexMatchesEntries(const QSqlDatabase &db)
{
    return QSqlQuery(db).exec(QStringLiteral(
        "INSERT INTO entries_search (entries_search, rank) VALUES ('integrity-check', 1)"));
}

// What an export said on its error stream and wrote.
struct Exported
{
    int status = -1;
    QString said;
    QByteArray csv;

    // The label of each entry written.
    [[nodiscard]] QStringList labels() const
    {
        QStringList labels;
        for (const QStringList &record : parseCsv(QString::fromUtf8(csv)).mid(1))
            labels << record.value(3);
        return labels;
    }
};

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
    // Every entry of the file, in the order they were written.
    [[nodiscard]] std::vector<Entry> stored() const { return JournalFile(path()).entries(); }
    [[nodiscard]] QStringList storedLabels() const { return JournalFile(path()).labels(); }
    [[nodiscard]] QString spillPath() const { return m_dir->filePath(QStringLiteral("spill")); }
    // Runs --export-journal with options on the station's file to out (by default a new file),
    // and reads back what it wrote.
    [[nodiscard]] Exported exportJournal(const QStringList &options, QString out = {}) const
    {
        if (out.isEmpty()) {
            out = m_dir->filePath(QStringLiteral("out.csv"));
            QFile::remove(out);
        }
        Exported exported;
        QTextStream err(&exported.said);
        exported.status = runExportJournal(QStringList{"--export-journal", out} + options,
                                           {path(), {}, spillPath()},
                                           err)
                              .value_or(-1);
        err.flush();
        if (QFileInfo(out).isFile())
            exported.csv = readBytes(out);
        return exported;
    }
    // A device node of our own that acts as /dev/name (mknod needs root; others write to the
    // system's, which they cannot replace).
    [[nodiscard]] QString device(const char *name, unsigned minor) const
    {
        const QString node = m_dir->filePath(QString::fromLatin1(name));
#ifdef Q_OS_LINUX
        if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, minor)) == 0)
            return node;
#endif
        return QStringLiteral("/dev/") + QLatin1String(name);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
    }

    // Each field comes back as written, a missing one as missing (no rows is not zero rows), a
    // reason with its code and the reasons within it, from the journal file and the spill file;
    // the journal stamps time and station where there are none.
    void entriesRoundTrip()
    {
        using barlink::base::Reason;
        Entry full = entry(QStringLiteral("Tür € 日本"), Outcome::Failed, Kind::Compressed);
        full.source = Source::Manual;
        full.reason = Reason(
            Reason::Code::AtPath, Reason(Reason::Code::FileNotFound), QStringLiteral("/d/\"; x"));
        QVERIFY(SpillFile::entryOf(SpillFile::line(full)) == full);
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
        columns<int>({"version"});
        QTest::newRow("version 1") << 1;
        QTest::newRow("newer than this program") << 99;
    }
    // A file of the first version is taken up with its entries under their stored names; a
    // newer one is left alone.
    void existingFiles()
    {
        QVERIFY(makeVersion1(path(), fetch<int>("version")));
        write({entry(QStringLiteral("M"))});
        if (fetch<int>("version") > localSchemaVersion()) {
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
        JournalFile file(path());
        QSqlDatabase &db = file.db();
        QCOMPARE(readEntries(db, Store::Local, {.text = "los"}, 0).size(), std::size_t(1));
        QCOMPARE(localFileId(db).size(), 32);
        // Its old entry counts as indexed, the new one is added.
        QCOMPARE(indexSearchText(db, 10), 1);
        QVERIFY(indexMatchesEntries(db));
    }

    void retention_data()
    {
        // written: days before the clock's time, in the order written; forwardedUpTo: the
        // server's mark; -1: no server
        columns<QList<int>, int, int, QStringList>(
            {"written", "journalDays", "forwardedUpTo", "kept"});
        const QList<int> inOrder{800, 401, 399, 1};
        QTest::newRow("400 days") << inOrder << 400 << -1 << QStringList{"399", "1"};
        QTest::newRow("0 keeps all") << inOrder << 0 << -1 << QStringList{"800", "401", "399", "1"};
        QTest::newRow("server has none")
            << inOrder << 1 << 0 << QStringList{"800", "401", "399", "1"};
        QTest::newRow("server has the oldest")
            << inOrder << 400 << 1 << QStringList{"401", "399", "1"};
        QTest::newRow("server has all") << inOrder << 1 << 4 << QStringList{"1"};
        // A session with the clock set back two years wrote between younger entries.
        QTest::newRow("clock set back")
            << QList<int>{800, 3, 730, 730, 2} << 400 << -1 << QStringList{"3", "730", "730", "2"};
        QTest::newRow("clock set back, first")
            << QList<int>{730, 3, 800} << 400 << -1 << QStringList{"3", "800"};
    }
    // Entries older than the kept number of days go when the journal is opened, in the order
    // written up to the first younger one; with a server, only those it has.
    void retention()
    {
        const int forwardedUpTo = fetch<int>("forwardedUpTo");
        barlink::base::ManualClock clock;
        clock.setCurrentTime(QDateTime(QDate(2026, 6, 1), QTime(12, 0), Qt::UTC));
        QList<Entry> entries;
        for (int days : fetch<QList<int>>("written")) {
            entries << entry(QString::number(days));
            entries.last().time = clock.currentTime().toUTC().addSecs(-days * 86400 + 3600);
        }
        write(entries);
        const QString server = forwardedUpTo < 0 ? QString() : QStringLiteral("host=shop");
        const Connection connection(QStringLiteral("QSQLITE"));
        QSqlDatabase db = connection.database();
        QCOMPARE(openLocalFile(db, path(), Durability::Checkpoints), QString());
        if (forwardedUpTo > 0) {
            QVERIFY(QSqlQuery(db).exec(
                QStringLiteral("INSERT INTO forwarded VALUES ('host=shop', %1), ('other', 4)")
                    .arg(forwardedUpTo)));
        }
        // The two oldest are in the search index when entries go, the others not yet.
        QCOMPARE(indexSearchText(db, 2), 2);
        {
            Journal journal(path(), "HERE", fetch<int>("journalDays"), {}, nullptr, clock);
            journal.setServer(server);
            journal.open();
        }
        QTEST(storedLabels(), "kept");
        QVERIFY(indexSearchText(db, 10) >= 0);
        QVERIFY(indexMatchesEntries(db));
    }

    void unwritableThenWritable_data()
    {
        // replaceByFolder, else locked by another connection; spill: the spill file: "",
        // "writable", "unwritable"; place: while the file cannot be written
        columns<bool, QString, int, JournalState::Place, QStringList>(
            {"replaceByFolder", "spill", "held", "place", "labels"});
        using P = JournalState::Place;
        const QString held = QStringLiteral("entries-held");
        const QString back = QStringLiteral("journal-back");
        // clang-format off
        QTest::newRow("folder, spill file") << true << "writable" << 100 << P::SpillFile << QStringList{"B", "C", "D", back};
        QTest::newRow("locked, spill file") << false << "writable" << 100 << P::SpillFile << QStringList{"A", "B", "C", "D", back};
        QTest::newRow("locked, no spill file") << false << "" << 100 << P::Memory << QStringList{"A", "B", "C", "D", held};
        QTest::newRow("locked, spill file unwritable") << false << "unwritable" << 100 << P::Memory << QStringList{"A", "B", "C", "D", held};
        QTest::newRow("locked, oldest held dropped") << false << "" << 2 << P::Memory << QStringList{"A", "C", "D", held, "entries-lost"};
        // clang-format on
    }
    // Neither way depends on file permissions, which do not stop root. The journal is tried
    // again by open(), not by waiting for its timer.
    void unwritableThenWritable()
    {
        const bool replaceByFolder = fetch<bool>("replaceByFolder");
        const QString &spill = fetch<QString>("spill");
        const int held = fetch<int>("held");
        const JournalState::Place place = fetch<JournalState::Place>("place");
        const QStringList &labels = fetch<QStringList>("labels");
        // The lock is held until the test lets go: a write need not wait long for it.
        Journal journal(
            path(),
            "HERE",
            0,
            {.retryMilliseconds = 600000, .heldEntries = held, .lockWaitMilliseconds = 10});
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
                QCOMPARE(SpillFile(spillPath).countEntries(), 3);
            QVERIFY(replaceByFolder ? QDir().rmdir(path()) : db.rollback());
        }
        journal.open();
        QTRY_VERIFY(journal.isAvailable());
        // Entries that went past the bound are told until the operator has seen them.
        JournalState after;
        after.lostUnacknowledged = labels.last() == u"entries-lost" ? 1 : 0;
        QCOMPARE(journal.state(), after);
        QCOMPARE(states.last().first().value<JournalState>(), after);
        QVERIFY(!QFile::exists(spillPath));
        QCOMPARE(storedLabels(), labels);
        if (labels.last() == u"entries-lost")
            QCOMPARE(stored().back().reason.english(),
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
            return QTest::qWaitFor([&] { return journal.isAvailable(); })
                   && !QFile::exists(spillPath);
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

    void spillFileWithoutName_data()
    {
        // before: the spill file's bytes before the station spills ("-": none; "full": the
        // first append finds the disk full); spilled: labels appended while the journal file
        // is locked; labels: the journal file's afterwards; lost: lines counted as lost
        columns<QByteArray, QStringList, QStringList, int>({"before", "spilled", "labels", "lost"});
        const QByteArray a = SpillFile::line(entry("A"));
        const QString back = QStringLiteral("journal-back"), lost = QStringLiteral("entries-lost");
        // clang-format off
        QTest::newRow("first append on a full disk") << QByteArray("full") << QStringList{"C", "D"} << QStringList{"C", "entries-held", "D", back} << 0;
        QTest::newRow("empty file") << QByteArray() << QStringList{"C", "D"} << QStringList{"C", "D", back} << 0;
        QTest::newRow("garbled") << QByteArray("\x01\x02garbage\n{\"time\":1}\n") + a + "{\"cut" << QStringList{"C"} << QStringList{"A", lost, back, "C", back} << 3;
        // clang-format on
    }
    // A spill file that does not begin with its name line loses no entry it holds or is given:
    // an empty one gets its name line first, any other is set aside and a new one begun; every
    // line that reads as an entry is taken in once, the others counted in "entries-lost" and
    // told until acknowledged.
    void spillFileWithoutName()
    {
        const QByteArray &before = fetch<QByteArray>("before");
        const QString spillPath = m_dir->filePath(QStringLiteral("state/journal.spill"));
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("state"))));
        if (before != "-" && before != "full")
            QVERIFY(barlink::testing::writeBytes(spillPath, before));
        {
            Journal journal(
                path(), "HERE", 0, {.retryMilliseconds = 600000, .lockWaitMilliseconds = 10});
            journal.setSpillPath(spillPath);
            journal.open();
            QTRY_VERIFY(journal.isAvailable());
            const Connection locker(QStringLiteral("QSQLITE"));
            QSqlDatabase db = locker.database();
            db.setDatabaseName(path());
            QVERIFY(db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")));
            for (const QString &label : fetch<QStringList>("spilled")) {
                if (before == "full" && label == u"C") {
                    // No file of this process may grow: the spill file's first write fails.
                    const barlink::testing::FileSizeLimit full(0);
                    QVERIFY(full.isSet());
                    journal.append(entry(label));
                    QCOMPARE(journal.state().place, JournalState::Place::Memory);
                    QCOMPARE(QFileInfo(spillPath).size(), 0);
                } else {
                    journal.append(entry(label));
                }
            }
            db.rollback();
        }
        Journal journal(path(), "HERE", 0, {.retryMilliseconds = 600000});
        journal.setSpillPath(spillPath);
        journal.open();
        QTRY_VERIFY(journal.isAvailable());
        QCOMPARE(storedLabels(), fetch<QStringList>("labels"));
        QCOMPARE(SpillFile(spillPath).waiting(), QStringList());
        const int lost = fetch<int>("lost");
        QCOMPARE(journal.state().lostUnacknowledged, lost);
        if (lost > 0)
            QVERIFY(stored()[1].reason.english().endsWith(
                QStringLiteral(" that could not be read: 3")));
        journal.acknowledgeLost();
        QCOMPARE(journal.state(), JournalState());
    }

    // A spill file that cannot be read (no read permission, which stops root too once its
    // rights are dropped) keeps its entries and is told, with the reason, while the journal
    // file takes new entries; once it can be read, its entries go in.
    void unreadableSpillFile()
    {
        const QString spillPath = m_dir->filePath(QStringLiteral("journal.spill"));
        QCOMPARE(SpillFile(spillPath).append({entry("A"), entry("B")}), QString());
        QVERIFY(QFile::setPermissions(spillPath, QFile::WriteOwner));
        Journal journal(path(), "HERE", 0, {.retryMilliseconds = 10});
        journal.setSpillPath(spillPath);
        {
            const barlink::testing::WithoutFileRights rights;
            QVERIFY(rights.isSet());
            journal.open();
            QTRY_VERIFY(journal.isAvailable());
            journal.append(entry("NEW"));
            QVERIFY2(journal.state().spillUnreadable.endsWith(u": Permission denied"),
                     qPrintable(journal.state().spillUnreadable));
            QCOMPARE(journal.state().place, JournalState::Place::File);
        }
        QCOMPARE(storedLabels(), (QStringList{"spill-unreadable", "NEW"}));
        // Set aside, so that entries spilled meanwhile go to a new file.
        const QStringList waiting = SpillFile(spillPath).waiting();
        QCOMPARE(waiting.size(), 1);
        QVERIFY(QFile::setPermissions(waiting[0], QFile::ReadOwner | QFile::WriteOwner));
        QTRY_COMPARE(
            storedLabels(),
            (QStringList{"spill-unreadable", "NEW", "A", "B", "journal-back", "spill-readable"}));
        QTRY_COMPARE(journal.state(), JournalState());
        QCOMPARE(SpillFile(spillPath).waiting(), QStringList());
    }

    // With another connection holding a read transaction open, checkpoints cannot empty the
    // write-ahead log, which grows, and the state says so; once it lets go, the log is brought
    // back to its bound without another entry.
    void logEmptiedOnceReaderLeaves()
    {
        constexpr qint64 Bound = 64 * 1024;
        const QString log = path() + QStringLiteral("-wal");
        Journal journal(path(),
                        "HERE",
                        0,
                        {.retryMilliseconds = 10, .idleMilliseconds = 10, .logBytes = Bound});
        journal.open();
        QTRY_VERIFY(journal.isAvailable());
        journal.append(entry(QStringLiteral("FIRST")));
        {
            const Connection reader(QStringLiteral("QSQLITE"));
            QSqlDatabase db = reader.database();
            db.setDatabaseName(path());
            QVERIFY(db.open() && db.transaction());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("SELECT count(*) FROM entries")) && query.next());
            for (int n = 0; n < 75; ++n) {
                journal.append(entry(QString::number(n)));
                QCoreApplication::processEvents();
            }
            QVERIFY(QFileInfo(log).size() > 4 * Bound);
            QTRY_VERIFY(journal.state().untidyLogBytes > 4 * Bound);
            query.finish();
            QVERIFY(db.rollback());
        }
        QTRY_VERIFY(QFileInfo(log).size() <= Bound);
        QTRY_COMPARE(journal.state(), JournalState());
        // Journaled when it began and when it ended.
        const QStringList labels = storedLabels();
        QCOMPARE(labels.count(QStringLiteral("log-untidy")), 1);
        QCOMPARE(labels.last(), QStringLiteral("log-tidied"));
    }

    void damagedFileMovedAside_data()
    {
        columns<qint64>({"at"}); // where garbage overwrites the file; -1: no database
        QTest::newRow("not a database") << qint64(-1);
        QTest::newRow("schema page overwritten") << qint64(100);
    }
    // A damaged journal file is moved aside once, a new one (with a new identity) takes the
    // entries and says first why it is new.
    void damagedFileMovedAside()
    {
        const qint64 at = fetch<qint64>("at");
        if (at >= 0) {
            write({entry("OLD")});
            QVERIFY(QSqlQuery(JournalFile(path()).db())
                        .exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
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
        QCOMPARE(storedLabels(), (QStringList{"journal-damaged", "NEW"}));
        for (const Entry &e : stored()) {
            if (e.label == u"journal-damaged")
                QVERIFY(e.reason.english().contains(QFileInfo(asidePath).fileName()));
        }
    }

    // The write-ahead log stays small while entries come; when they stop, they are added to
    // the search index; the log is emptied when the journal closes.
    void writeAheadLogBounded()
    {
        // Far fewer entries than a checkpoint by count needs: only the bound keeps the log small.
        constexpr qint64 Bound = 64 * 1024;
        const QString log = path() + QStringLiteral("-wal");
        {
            Journal journal(path(), "HERE", 0, {.idleMilliseconds = 20, .logBytes = Bound});
            journal.open();
            for (int n = 0; n < 30; ++n) {
                journal.append(entry(QString::number(n)));
                QCoreApplication::processEvents();
                QVERIFY2(QFileInfo(log).size() < 2 * Bound, qPrintable(QString::number(n)));
            }
            const Connection connection(QStringLiteral("QSQLITE"));
            QSqlDatabase db = connection.database();
            QCOMPARE(openLocalFile(db, path(), Durability::Checkpoints), QString());
            QTRY_VERIFY(indexMatchesEntries(db));
            QVERIFY(QFileInfo(log).size() <= Bound);
        }
        QCOMPARE(QFileInfo(log).size(), 0);
        QCOMPARE(stored().size(), std::size_t(30));
    }

    void filters_data()
    {
        filtercases::addRows();
    }
    // While the station's journal has not added the entries to the search index yet, and
    // once it has, in batches.
    void filters()
    {
        Journal journal(path(), "HERE", 0, {.idleMilliseconds = 600000});
        journal.open();
        for (const Entry &e : filtercases::entries())
            journal.append(e);
        JournalFile file(path());
        QSqlDatabase &db = file.db();
        filtercases::check(db, Store::Local);
        QCOMPARE(indexSearchText(db, 4), 4);
        QCOMPARE(indexSearchText(db, 4), 2);
        QVERIFY(indexMatchesEntries(db));
        filtercases::check(db, Store::Local);
    }

    // The export parses back field for field; the shared line maker writes the same bytes.
    void exportCsv()
    {
        Entry old = entry(QStringLiteral("OLD"));
        old.time = QDateTime(QDate(2025, 1, 30), QTime(), Qt::UTC).addMSecs(-1);
        Entry tricky = entry(escapeControls(u"a,b \"c\"\x1d\x85\x7f"), Outcome::Refused);
        tricky.time = old.time.addMSecs(1);
        tricky.reason = barlink::base::Reason::text(QStringLiteral("line\r\nbreak"));
        tricky.program = QStringLiteral("Tür.CNC");
        tricky.x = QStringLiteral("1,5");
        tricky.rows = 2;
        write({old, tricky, stationEventEntry(StationEvent::PortLost, {}, QStringLiteral("gone"))});
        QTextStream err(stderr);
        QVERIFY(!runExportJournal({"--version"}, {path(), {}, {}}, err));
        const Exported exported = exportJournal({"--since", "2025-01-30"});
        QCOMPARE(exported.status, 0);
        const QList<QStringList> records = parseCsv(QString::fromUtf8(exported.csv));
        QCOMPARE(records.size(), 3);
        QCOMPARE(records[0].join(u','), CsvHeader);
        QCOMPARE(records[1].join(u'|'),
                 "2025-01-30T00:00:00.000Z|S-1|scanner|a,b \"c\"<GS><U+0085><DEL>|plain-name|"
                 "refused|line\r\nbreak||Tür.CNC|1,5|||2");
        QCOMPARE(
            records[2].mid(1, 7),
            (QStringList{"HERE", "station", "port-lost", "station-event", "event", "gone", ""}));
    }

    void exportDays_data()
    {
        columns<QStringList, int, QStringList>({"options", "status", "labels"});
        // clang-format off
        QTest::newRow("since: from 00:00 UTC") << QStringList{"--since", "2026-12-07"} << 0 << QStringList{"h0", "h5", "h24-1ms", "h24"};
        QTest::newRow("until: the whole day") << QStringList{"--until", "2026-12-07"} << 0 << QStringList{"h-1", "h0", "h5", "h24-1ms"};
        QTest::newRow("until before since") << QStringList{"--since", "2026-12-07", "--until", "2026-12-06"} << 2 << QStringList();
        QTest::newRow("not a day") << QStringList{"--until", "2026-02-30"} << 2 << QStringList();
        // clang-format on
    }
    // Days are UTC days, as the times written are, wherever the station is (here 6 hours west
    // of UTC, where local midnight is 06:00Z); --until includes its day.
    void exportDays()
    {
        const QDateTime midnight(QDate(2026, 12, 7), QTime(0, 0), Qt::UTC);
        QList<Entry> entries;
        for (const auto &[label, ms] : {std::pair{"h-1", -3600'000},
                                        {"h0", 0},
                                        {"h5", 5 * 3600'000},
                                        {"h24-1ms", 24 * 3600'000 - 1},
                                        {"h24", 24 * 3600'000}}) {
            entries << entry(QString::fromLatin1(label));
            entries.last().time = midnight.addMSecs(ms);
        }
        write(entries);
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "<-06>6");
        const Exported exported = exportJournal(fetch<QStringList>("options"));
        zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
        QTEST(exported.status, "status");
        QTEST(exported.labels(), "labels");
    }

    void exportSpreadsheetCells_data()
    {
        // column: of the CSV (3 label, 6 reason, ...); the cell comes from a label or a setting.
        columns<int, QString, bool, QString>({"column", "stored", "raw", "written"});
        const QString link = QStringLiteral("-3+HYPERLINK(\"http://e.vil\")");
        // clang-format off
        QTest::newRow("label =") << 3 << "=1+2" << false << "'=1+2";
        QTest::newRow("label, quoted after the guard") << 3 << "=HYPERLINK(\"http://x\",\"y\")" << false << "'=HYPERLINK(\"http://x\",\"y\")";
        QTest::newRow("reason +") << 6 << "+SUM(A1)" << false << "'+SUM(A1)";
        QTest::newRow("program, tab") << 8 << "\t=A1" << false << "'\t=A1";
        QTest::newRow("station @") << 1 << "@SUM(1+1)" << false << "'@SUM(1+1)";
        QTest::newRow("field, CR") << 7 << "\r=A1" << false << "'\r=A1";
        QTest::newRow("x -A1") << 9 << "-A1" << false << "'-A1";
        QTest::newRow("z, a link after a number") << 11 << link << false << "'" + link;
        QTest::newRow("y -3.5") << 10 << "-3.5" << false << "-3.5";
        QTest::newRow("x -3.") << 9 << "-3." << false << "'-3.";
        QTest::newRow("reason -") << 6 << "-" << false << "'-";
        QTest::newRow("z --raw") << 11 << link << true << link;
        // clang-format on
    }
    // A cell that comes from outside (a label, a setting) and that a spreadsheet would run as a
    // formula is written after a "'", unless --raw; a negative number alone is left as it is.
    // The station's file, read through SQLite, and the line maker of the server's export write
    // the same bytes.
    void exportSpreadsheetCells()
    {
        const int column = fetch<int>("column");
        const QString &stored = fetch<QString>("stored");
        const bool raw = fetch<bool>("raw");
        Entry e = entry(QStringLiteral("L"));
        QString reason;
        QString *const texts[] = {&e.station,
                                  nullptr,
                                  &e.label,
                                  nullptr,
                                  nullptr,
                                  &reason,
                                  &e.field,
                                  &e.program,
                                  &e.x,
                                  &e.y,
                                  &e.z};
        *texts[column - 1] = stored;
        e.reason = barlink::base::Reason::text(reason);
        write({e});
        const Exported exported = exportJournal(raw ? QStringList{"--raw"} : QStringList());
        QCOMPARE(exported.status, 0);
        const QList<QStringList> records = parseCsv(QString::fromUtf8(exported.csv));
        QCOMPARE(records.size(), 2);
        QTEST(records[1][column], "written");
        QCOMPARE(exported.csv.mid(CsvHeader.size() + 2),
                 csvLine(e, raw ? Cells::Raw : Cells::Guarded));
    }

    void exportTargets_data()
    {
        // target: where the export writes, made by the test; said: what the error stream says.
        columns<QString, int, QString>({"target", "status", "said"});
        const QString refused = QStringLiteral("which an export never writes over");
        // clang-format off
        QTest::newRow("the journal by ..") << "folder/../journal.sqlite" << 1 << refused;
        QTest::newRow("a link to the journal") << "link to journal" << 1 << refused;
        QTest::newRow("a hard link to the journal") << "hard link to journal" << 1 << refused;
        QTest::newRow("its log") << "journal.sqlite-wal" << 1 << refused;
        QTest::newRow("a link to its log, not there") << "link to log" << 1 << refused;
        QTest::newRow("its -shm") << "journal.sqlite-shm" << 1 << refused;
        QTest::newRow("the spill file") << "spill" << 1 << refused;
        QTest::newRow("a device that takes all") << "null" << 0 << "";
        QTest::newRow("a device that is full") << "full" << 1 << "No space left on device";
        QTest::newRow("a file cut short by a size limit") << "out.csv" << 1 << "File too large";
        // clang-format on
    }
    // The export never writes over the journal's files or the spill file, by whatever name;
    // a device stays a device (written directly, never replaced by a file renamed over it); a
    // write that fails gives the system's reason and status 1, and a plain file keeps its old
    // bytes. Nothing else in the folder changes.
    void exportTargets()
    {
        write({});
        QVERIFY(QSqlQuery(JournalFile(path()).db())
                    .exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                         "FROM n WHERE i < 300) INSERT INTO entries (time, station, "
                                         "source, label, kind, outcome) SELECT i, 'S-1', 'scanner', "
                                         "printf('%-300d', i), 'plain-name', 'taken' FROM n")));
        QVERIFY(QFileInfo(path()).size() > 65536);
        const QString name = fetch<QString>("target");
        QString target = m_dir->filePath(name);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
        QVERIFY(writeBytes(spillPath(), "spilled entries\n"));
        QVERIFY(writeBytes(m_dir->filePath(QStringLiteral("out.csv")), "old,bytes\r\n"));
        const bool isDevice = name == u"null" || name == u"full";
        if (isDevice)
            target = device(name == u"null" ? "null" : "full", name == u"null" ? 3 : 7);
        else if (name == u"link to journal")
            QVERIFY(QFile::link(path(), target));
        else if (name == u"link to log")
            QVERIFY(QFile::link(QStringLiteral("journal.sqlite-wal"), target));
        else if (name == u"hard link to journal")
            QCOMPARE(::link(QFile::encodeName(path()).constData(),
                            QFile::encodeName(target).constData()),
                     0);
        const auto filesNow = [this] {
            // A read-only open may leave an empty log and a -shm beside the journal.
            QMap<QString, QByteArray> files = barlink::testing::filesUnder(m_dir->path());
            files.remove(QStringLiteral("journal.sqlite-shm"));
            if (files.value(QStringLiteral("journal.sqlite-wal")).isEmpty())
                files.remove(QStringLiteral("journal.sqlite-wal"));
            return files;
        };
        const QMap<QString, QByteArray> before = filesNow();

        std::optional<barlink::testing::FileSizeLimit> limit;
        if (name == u"out.csv") // room for a -shm beside the journal, not for the export
            QVERIFY(limit.emplace(65536).isSet());
        const Exported exported = exportJournal({}, target);
        limit.reset();

        QTEST(exported.status, "status");
        const QString &said = fetch<QString>("said");
        QVERIFY2(said.isEmpty() ? exported.said.isEmpty() : exported.said.contains(said),
                 qPrintable(exported.said));
        QCOMPARE(filesNow(), before);
        if (isDevice) {
            struct stat info
            {
            };
            QCOMPARE(::stat(QFile::encodeName(target).constData(), &info), 0);
            QVERIFY(S_ISCHR(info.st_mode));
        }
    }

    void exportFile_data()
    {
        // files: the station's files copied for --journal FILE: 1 the file, 2 with its log, 3
        // with its log and -shm; 0 a file of the first version, in a folder left writable. garbled:
        // pages of the copy to overwrite with garbage, with the first local number and the number
        // of entries each holds.
        columns<int, QString>({"files", "garbled"});
        const char *leaves
            = "SELECT pageno, total - ncell + 1, ncell FROM (SELECT pageno, ncell, sum(ncell) "
              "OVER (ORDER BY path) AS total, row_number() OVER (ORDER BY path) AS n FROM dbstat "
              "WHERE name = 'entries' AND pagetype = 'leaf') WHERE n IN (4, 9)";
        // clang-format off
        QTest::newRow("closed file") << 1 << "";
        QTest::newRow("a station's log and -shm") << 3 << "";
        QTest::newRow("log without its -shm") << 2 << "";
        QTest::newRow("version 1, not migrated") << 0 << "";
        QTest::newRow("two pages of entries") << 1 << leaves;
        QTest::newRow("two pages of entries, newest in the log") << 3 << leaves;
        QTest::newRow("the page leading to the entries") << 1 << "SELECT pageno, 0, 0 FROM dbstat WHERE name = 'entries' AND path = '/'";
        QTest::newRow("the first page") << 1 << "SELECT 1, 0, 0";
        QTest::newRow("a page of the time index") << 1 << "SELECT pageno, 0, 0 FROM dbstat WHERE name = 'entries_time' AND pagetype = 'leaf' LIMIT 1 OFFSET 2";
        // clang-format on
    }
    // --journal FILE is exported without writing to it, its folder or its log, and without
    // being migrated. A file with pages overwritten by garbage gives every entry of its intact
    // pages, oldest first (those before the damage as SQLite reads them, the others page by
    // page), says how many it lost, and ends with status 1. A folder of mode 0555 stops root
    // too: the capabilities that let root past file permissions are dropped from this
    // thread's effective set while it exports.
    void exportFile()
    {
        const int files = fetch<int>("files");
        const QString folder = m_dir->filePath(QStringLiteral("copy"));
        const QString copy = folder + QStringLiteral("/journal.sqlite");
        QVERIFY(QDir().mkdir(folder));
        const auto label
            = [](int number) { return QStringLiteral("E%1").arg(number, 4, 10, QLatin1Char('0')); };
        QStringList labels{"LOST"};
        qsizetype lost = 0;
        std::unique_ptr<Journal> station; // holds its log while its files are copied
        if (files == 0) {
            QVERIFY(makeVersion1(copy, 1));
        } else {
            labels.clear();
            std::vector<quint32> pages;
            {
                JournalFile file(path());
                QSqlQuery query(file.db());
                QVERIFY(query.exec(QStringLiteral(
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
                    "INSERT INTO entries (time, station, source, label, kind, outcome, reason) "
                    "SELECT 1765000000000 + i * 60000, 'S-1', 'scanner', printf('E%04d', i), "
                    "'plain-name', 'refused', CASE i WHEN 300 THEN hex(zeroblob(3000)) ELSE "
                    "'no field is free for this piece' END FROM n")));
                for (int number = 1; number <= 600; ++number)
                    labels << label(number);
                QVERIFY(fetch<QString>("garbled").isEmpty()
                        || query.exec(fetch<QString>("garbled")));
                while (query.isActive() && query.next()) {
                    pages.push_back(query.value(0).toUInt());
                    for (int i = 0; i < query.value(2).toInt(); ++i)
                        labels.removeOne(label(query.value(1).toInt() + i));
                }
            }
            lost = 600 - labels.size();
            station = std::make_unique<Journal>(path(), QStringLiteral("HERE"), 0);
            station->open();
            for (const char *newest : {"NEW1", "NEW2"}) {
                Entry e = entry(QString::fromLatin1(newest));
                e.time = QDateTime(QDate(2030, 1, 1), QTime(0, 0), Qt::UTC);
                station->append(e);
                if (files > 1)
                    labels << e.label;
            }
            // A station's files as they are while it runs (or after a crash).
            for (const QString &suffix : QStringList{"", "-wal", "-shm"}.mid(0, files))
                QVERIFY(QFile::copy(path() + suffix, copy + suffix));
            QFile file(copy);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QRandomGenerator garbage(42);
            for (const quint32 page : pages) {
                QByteArray bytes(4096, Qt::Uninitialized);
                garbage.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
                QVERIFY(file.seek(qint64(page - 1) * 4096) && file.write(bytes) == bytes.size());
            }
        }
        const QMap<QString, QByteArray> before = barlink::testing::filesUnder(folder);
        for (const QString &name : before.keys())
            QVERIFY(files == 0 || QFile::setPermissions(folder + u'/' + name, QFile::ReadOwner));
        QVERIFY(files == 0 || QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        bool writable = true;
        Exported exported;
        {
            const barlink::testing::WithoutFileRights rights;
            QVERIFY(rights.isSet());
            writable = QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly)
                       || QFile(copy).open(QIODevice::ReadWrite);
            exported = exportJournal({"--journal", copy});
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(writable, files == 0);
        const bool damaged = !fetch<QString>("garbled").isEmpty();
        QCOMPARE(exported.status, damaged ? 1 : 0);
        QCOMPARE(exported.said.isEmpty(), !damaged);
        QVERIFY2(!damaged
                     || exported.said.contains(QStringLiteral(": %1 entries could not be read, %2 "
                                                              "were written to ")
                                                   .arg(lost)
                                                   .arg(labels.size())),
                 qPrintable(exported.said));
        QCOMPARE(exported.labels(), labels);
        QCOMPARE(before.size(), std::max(files, 1));
        for (auto file = before.cbegin(); file != before.cend(); ++file)
            QCOMPARE(readBytes(folder + u'/' + file.key()), file.value());
        // A reason that runs on to another page.
        const QList<QStringList> records = parseCsv(QString::fromUtf8(exported.csv));
        if (files != 0)
            QCOMPARE(records.value(labels.indexOf(label(300)) + 1).value(6), QString(6000, u'0'));
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
