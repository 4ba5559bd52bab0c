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
#include "PtyPair.h"
#include "Tables.h"
#include "embeddedlist/ListStore.h"
#include "journal/SpillFile.h"

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
    void largeSpillFileTakenInWhileScanning();
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

// Scans a mirror piece, its dimensions first, the name completing it; true once the scanner
// has heard the "ACK"s of its two rows.
bool scanMirrorPiece(BarlinkProcess &barlink, PtyPair &pty, int patience)
{
    for (const QByteArray label : {"%22600 400 18", "%12MIRITEM.CNC N X"})
        if (!pty.write(label)
            || !barlink.waitForLog("barlink.label: label \"" + label + '"', patience))
            return false;
    return QTest::qWaitFor([&pty] { return pty.received() == "ACK\rACK\r"; }, patience);
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
    NEED_PTY(pty);
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
    // Its rows are the last entries.
    QVERIFY2(scanMirrorPiece(barlink, pty, Patience), barlink.log().constData());
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

// A large spill file left by an earlier run is taken into the journal file in batches: the port
// opens and labels are answered meanwhile; killed in the middle of it, the program started
// again takes the rest, every entry exactly once, the labels answered meanwhile after them.
void tst_JournalCrash::largeSpillFileTakenInWhileScanning()
{
    constexpr int Spilled = 60000;
    constexpr int Patience = 60000;
    QTemporaryDir dir;
    NEED_PTY(pty);
    BarlinkProcess barlink(
        dir.path(), pty.slavePath(), SelectionKeys + MirrorKeys + "StationName=BIG\r\n");
    const QString journalPath = dir.path() + QStringLiteral("/data/barlink/journal.sqlite");
    const QString spillPath = dir.path() + QStringLiteral("/state/barlink/journal.spill");
    std::vector<journal::Entry> entries(Spilled);
    for (int n = 0; n < Spilled; ++n) {
        entries[std::size_t(n)].time = QDateTime::currentDateTimeUtc();
        entries[std::size_t(n)].station = QStringLiteral("BIG");
        entries[std::size_t(n)].label = QStringLiteral("S%1").arg(n);
    }
    QCOMPARE(journal::SpillFile(spillPath).append(entries), QString());
    entries.clear();

    QVERIFY2(barlink.start(), barlink.log().constData());
    QVERIFY2(scanMirrorPiece(barlink, pty, Patience), barlink.log().constData());
    // Answered while the spill file was still being taken in; killed in the middle of it.
    QVERIFY(QFile::exists(spillPath));
    barlink.kill();
    const qsizetype taken = JournalFile(journalPath).entries().size();
    QVERIFY2(taken < Spilled, qPrintable(QString::number(taken)));

    QVERIFY2(barlink.start(), barlink.log().constData());
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(spillPath), 10 * Patience);
    barlink.kill();
    QStringList events;
    const QStringList labels = journaledLabels(journalPath, &events);
    QCOMPARE(labels.size(), Spilled + 3);
    for (int n = 0; n < Spilled; ++n)
        QCOMPARE(labels[n], QStringLiteral("BIG S%1 taken 0").arg(n));
    QCOMPARE(labels.mid(Spilled),
             (QStringList{"BIG %22600 400 18 waiting 0",
                          "BIG %12MIRITEM.CNC N X taken 1",
                          "BIG %12MIRITEM.CNC N X taken 1"}));
}

QTEST_GUILESS_MAIN(tst_JournalCrash)
#include "tst_journalcrash.moc"
