// The real program dies (SIGKILL) right after the scanner was told "ACK": the journal holds an
// entry for every row acknowledged, and the label taken in after it, and no other row.

#include "BarlinkProcess.h"
#include "PtyPair.h"
#include "journal/Connection.h"
#include "journal/EntryQuery.h"
#include "journal/LocalFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

class tst_JournalCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedAfterAck();
};

void tst_JournalCrash::killedAfterAck()
{
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

    for (const QByteArray label : {"%12MIRITEM.CNC N X", "%22600 400 18", "%12HALF.CNC N1 X"}) {
        QVERIFY(pty.write(label));
        QVERIFY2(barlink.waitForLog("barlink.label: label \"" + label + '"', Patience),
                 barlink.log().constData());
    }
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray("ACK\rACK\r"), Patience);
    barlink.kill();
    QCOMPARE(barlink.process().exitStatus(), QProcess::CrashExit);

    const journal::Connection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.database();
    QCOMPARE(journal::openLocalFile(db,
                                    dir.path() + QStringLiteral("/data/barlink/journal.sqlite"),
                                    journal::Durability::Checkpoints),
             QString());
    QStringList labels;
    for (const journal::Entry &e : journal::readEntries(db, journal::Store::Local, {}, 0)) {
        if (e.kind != journal::Kind::StationEvent)
            labels.prepend(QStringLiteral("%1 %2 %3 %4")
                               .arg(e.station,
                                    e.label,
                                    journal::storedName(e.outcome),
                                    QString::number(e.rows.value_or(0))));
    }
    QCOMPARE(labels,
             (QStringList{"CRASH %12MIRITEM.CNC N X waiting 0",
                          "CRASH %22600 400 18 taken 1",
                          "CRASH %22600 400 18 taken 1",
                          "CRASH %12HALF.CNC N1 X waiting 0"}));
}

QTEST_GUILESS_MAIN(tst_JournalCrash)
#include "tst_journalcrash.moc"
