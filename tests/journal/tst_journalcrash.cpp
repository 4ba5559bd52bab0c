// The real program dies (SIGKILL) right after the scanner was told "ACK": the list holds every
// row acknowledged, whole, and keeps them through a restart, and the journal holds an entry for
// every label up to that "ACK" (the one that waited for the rest of its item, and each row
// acknowledged); also when another program held the journal file locked, so that the
// entries went to the spill file, and are taken into the journal, once, when the program
// starts again. A label with no "ACK" of its own is not awaited: its entry is written once it
// has been handled, after its "label" log line, and a kill may come between the two.
// Also: the program asked to end (SIGTERM) while its shop server holds up the forwarder ends
// in time, and what the server did not have goes at the next start.

#include "BarlinkProcess.h"
#include "JournalFile.h"
#include "PgServer.h"
#include "PtyPair.h"
#include "Tables.h"
#include "embeddedlist/ListStore.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>

#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

class tst_JournalCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedAfterAck_data();
    void killedAfterAck();
    void endsWhileShopServerBlocked();
};

namespace {

// The labels of the entries of the journal file (station events apart), oldest first.
QStringList journaledLabels(const QString &path, QStringList *events = nullptr)
{
    QStringList labels;
    for (const journal::Entry &e : JournalFile(path).entries()) {
        if (e.kind == journal::Kind::StationEvent) {
            if (events)
                events->append(e.label);
            continue;
        }
        labels.append(QStringLiteral("%1 %2 %3 %4")
                          .arg(e.station,
                               e.label,
                               journal::storedName(e.outcome),
                               QString::number(e.rows.value_or(0))));
    }
    return labels;
}

} // namespace

void tst_JournalCrash::killedAfterAck_data()
{
    columns<bool>({"locked"}); // by another program, through SQLite, while scanning
    QTest::newRow("journal file written") << false;
    QTest::newRow("journal file locked: spill file") << true;
}

void tst_JournalCrash::killedAfterAck()
{
    const bool locked = fetch<bool>("locked");
    constexpr int Patience = 20000;
    QTemporaryDir dir;
    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    // A mirror piece: two rows, two "ACK"s for one label.
    BarlinkProcess barlink(
        dir.path(), pty.slavePath(), SelectionKeys + MirrorKeys + "StationName=CRASH\r\n");
    QVERIFY2(barlink.start(), barlink.log().constData());
    const QString journalPath = dir.path() + QStringLiteral("/data/barlink/journal.sqlite");
    const QString spillPath = dir.path() + QStringLiteral("/state/barlink/journal.spill");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(journalPath), Patience);

    // Another program holds the write lock of the journal file for as long as it is open.
    const journal::Connection locker(QStringLiteral("QSQLITE"));
    QSqlDatabase lockerDb = locker.database();
    if (locked) {
        lockerDb.setDatabaseName(journalPath);
        QVERIFY(lockerDb.open());
        QVERIFY(QSqlQuery(lockerDb).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }
    // The item's dimensions first: the name completes it, and its rows are the last entries.
    for (const QByteArray label : {"%22600 400 18", "%12MIRITEM.CNC N X"}) {
        QVERIFY(pty.write(label));
        QVERIFY2(barlink.waitForLog("barlink.label: label \"" + label + '"', Patience),
                 barlink.log().constData());
    }
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray("ACK\rACK\r"), Patience);
    barlink.kill();
    QCOMPARE(barlink.process().exitStatus(), QProcess::CrashExit);
    // Both rows are in the list, whole: the first opened the list file, the second went through
    // the file kept open.
    const QStringList rows{"MIRITEM.CNC f3 600x400x18 r1", "MIRITEM.CNC f4 600x400x18 r1"};
    QCOMPARE(rowSummaries(embeddedlist::ListStore(barlink.listFolder()).rows()), rows);

    const QStringList expected{"CRASH %22600 400 18 waiting 0",
                               "CRASH %12MIRITEM.CNC N X taken 1",
                               "CRASH %12MIRITEM.CNC N X taken 1"};
    if (locked) {
        QVERIFY(lockerDb.rollback());
        lockerDb.close();
    }

    // Started again, the program keeps the list, and takes the spilled entries into the
    // journal file, once, and says so there: the entries the killed program wrote (to the
    // journal file or the spill file) are all there. A line end on its own is journaled as
    // ignored and touches no list: once it is in the journal, start-up, and anything in it that
    // would empty the list, is over.
    QVERIFY2(barlink.start(), barlink.log().constData());
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(spillPath), Patience);
    QVERIFY(pty.write("\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(journaledLabels(journalPath).size(), expected.size() + 1, Patience);
    QStringList events;
    QCOMPARE(journaledLabels(journalPath, &events).mid(0, 3), expected);
    QCOMPARE(events.contains(QStringLiteral("journal-back")), locked);
    barlink.kill();
    QCOMPARE(rowSummaries(embeddedlist::ListStore(barlink.listFolder()).rows()), rows);
}

// The shop's server holds the forwarder up (its tables locked by another program, and no
// bound of its own within the test's time): asked to end, the program waits for the forwarder
// at most its 5 s, then ends as usual, with its "end" entry. Started again once the lock is
// gone, it forwards what the server did not have.
void tst_JournalCrash::endsWhileShopServerBlocked()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        QSKIP("the QPSQL driver is missing (Debian package libqt6sql6-psql)");
    PgServer server;
    if (!server.installed())
        QSKIP(qPrintable(server.failure()));
    QVERIFY2(server.running(), qPrintable(server.failure()));
    const auto onServer = [&server](const QString &sql) {
        QString value;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "onServer");
            db.setConnectOptions(server.connectionString());
            QSqlQuery query(db);
            value = db.open() && query.exec(sql) && query.next() ? query.value(0).toString()
                                                                 : query.lastError().text();
        }
        QSqlDatabase::removeDatabase("onServer");
        return value;
    };
    QTemporaryDir dir;
    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    BarlinkProcess barlink(dir.path(),
                           pty.slavePath(),
                           "StationName=END\r\nJournalServer=" + server.connectionString().toUtf8()
                               + "\r\n");
    QVERIFY2(barlink.start(), barlink.log().constData());
    // The tables are there once the first entries went.
    QTRY_COMPARE_WITH_TIMEOUT(
        onServer("SELECT count(*) > 0 FROM barlink_journal, barlink_station"), "true", 20000);
    {
        // Locked for longer than the test waits: only the program's own bound can end it.
        TableLock lock(server.connectionString(), "barlink_journal", 120);
        QVERIFY(lock.held());
        QVERIFY(pty.write("%11LOCKED.CNC N"));
        QTRY_COMPARE_WITH_TIMEOUT(onServer("SELECT count(*) FROM pg_stat_activity WHERE "
                                           "wait_event_type = 'Lock' AND application_name = "
                                           "'barlink'"),
                                  "1",
                                  20000);
        QElapsedTimer end;
        end.start();
        QCOMPARE(::kill(pid_t(barlink.process().processId()), SIGTERM), 0);
        QVERIFY2(barlink.process().waitForFinished(15000), barlink.log().constData());
        QCOMPARE(barlink.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(barlink.process().exitCode(), 0);
        QVERIFY2(end.elapsed() < 15000, qPrintable(QString::number(end.elapsed())));
    }
    const QString journalPath = dir.path() + QStringLiteral("/data/barlink/journal.sqlite");
    const std::vector<journal::Entry> entries = JournalFile(journalPath).entries();
    QVERIFY(!entries.empty());
    QCOMPARE(entries.back().label, QStringLiteral("end"));
    QCOMPARE(onServer("SELECT count(*) FROM barlink_journal WHERE label = 'end'"), "0");

    QVERIFY2(barlink.start(), barlink.log().constData());
    QTRY_COMPARE_WITH_TIMEOUT(
        onServer("SELECT count(*) FROM barlink_journal WHERE label IN ('end', '%11LOCKED.CNC N')"),
        "2",
        20000);
    barlink.kill();
}

QTEST_GUILESS_MAIN(tst_JournalCrash)
#include "tst_journalcrash.moc"
