// The real program dies (SIGKILL) right after the scanner was told "ACK": the journal holds an
// entry for every label up to that "ACK" (the one that waited for the rest of its item, and
// each row acknowledged); also when another program held the journal file locked, so that the
// entries went to the spill file, and are taken into the journal, once, when the program
// starts again. A label with no "ACK" of its own is not awaited: its entry is written once it
// has been handled, after its "label" log line, and a kill may come between the two.

#include "BarlinkProcess.h"
#include "PtyPair.h"
#include "journal/Connection.h"
#include "journal/EntryQuery.h"
#include "journal/LocalFile.h"
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
};

namespace {

// The labels of the entries of the journal file (station events apart), oldest first.
QStringList journaledLabels(const QString &path, QStringList *events = nullptr)
{
    const journal::Connection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.database();
    if (!journal::openLocalFile(db, path, journal::Durability::Checkpoints).isEmpty())
        return {QStringLiteral("unreadable")};
    QStringList labels;
    for (const journal::Entry &e : journal::readEntries(db, journal::Store::Local, {}, 0)) {
        if (e.kind == journal::Kind::StationEvent) {
            if (events)
                events->prepend(e.label);
            continue;
        }
        labels.prepend(QStringLiteral("%1 %2 %3 %4")
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
    QTest::addColumn<bool>("locked"); // by another program, through SQLite, while scanning
    QTest::newRow("journal file written") << false;
    QTest::newRow("journal file locked: spill file") << true;
}

void tst_JournalCrash::killedAfterAck()
{
    QFETCH(bool, locked);
    constexpr int Patience = 20000;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
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

    const QStringList expected{"CRASH %22600 400 18 waiting 0",
                               "CRASH %12MIRITEM.CNC N X taken 1",
                               "CRASH %12MIRITEM.CNC N X taken 1"};
    if (!locked) {
        QCOMPARE(journaledLabels(journalPath), expected);
        return;
    }
    // Every acknowledged entry was on the disk in the spill file before its "ACK".
    QStringList spilled;
    for (const journal::Entry &e : journal::SpillFile(spillPath).read().entries) {
        if (e.kind != journal::Kind::StationEvent)
            spilled << QStringLiteral("%1 %2").arg(e.label).arg(e.rows.value_or(0));
    }
    QCOMPARE(spilled,
             (QStringList{"%22600 400 18 0", "%12MIRITEM.CNC N X 1", "%12MIRITEM.CNC N X 1"}));
    QVERIFY(lockerDb.rollback());
    lockerDb.close();

    // Started again, the program takes them into the journal file, once, and says so there.
    QVERIFY2(barlink.start(), barlink.log().constData());
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(spillPath), Patience);
    QStringList events;
    QCOMPARE(journaledLabels(journalPath, &events), expected);
    QVERIFY2(events.contains(QStringLiteral("journal-back")), qPrintable(events.join(u' ')));
}

QTEST_GUILESS_MAIN(tst_JournalCrash)
#include "tst_journalcrash.moc"
