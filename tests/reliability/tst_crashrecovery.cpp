// The real program dies (SIGKILL) right after the scanner was told "ACK": every row it
// acknowledged is in the list when the list manager's files are read again, whole and in
// order, and a restart of the program keeps them.

#include "BarlinkProcess.h"
#include "PtyPair.h"

#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

constexpr int Patience = 20000;
const QByteArray Ack = "ACK\r";

} // namespace

class tst_CrashRecovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedAfterAck_data();
    void killedAfterAck();
};

void tst_CrashRecovery::killedAfterAck_data()
{
    QTest::addColumn<int>("items");       // two-segment items ITEM1.CNC ... scanned in turn
    QTest::addColumn<QByteArray>("half"); // a label of one more item, taken before the kill

    QTest::newRow("eight items back to back") << 8 << QByteArray();
    QTest::newRow("an item and half of the next") << 1 << QByteArray("%12HALF.CNC N1 X");
}

void tst_CrashRecovery::killedAfterAck()
{
    QFETCH(int, items);
    QFETCH(QByteArray, half);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    BarlinkProcess barlink(dir.path(), pty.slavePath());
    QVERIFY2(barlink.start(), barlink.log().constData());

    // Each label waits until the one before it has been taken, as a scanner operator waits
    // for the beep; the second ends the item, and its "ACK" is awaited.
    const auto take = [&](const QByteArray &label) {
        return pty.write(label)
               && barlink.waitForLog("barlink.label: label \"" + label + '"', Patience);
    };
    QStringList expected;
    for (int i = 1; i <= items; ++i) {
        const QByteArray name = "ITEM" + QByteArray::number(i) + ".CNC";
        QVERIFY2(take("%12" + name + " N1 X"), barlink.log().constData());
        QVERIFY(pty.write("%22600 400 18"));
        QTRY_COMPARE_WITH_TIMEOUT(pty.received(), Ack.repeated(i), Patience);
        expected << QString::fromLatin1(name + " f7 600x400x18 r1");
    }
    if (!half.isEmpty())
        QVERIFY2(take(half), barlink.log().constData());
    QCOMPARE(pty.received(), Ack.repeated(items));
    barlink.kill();
    QCOMPARE(barlink.process().exitStatus(), QProcess::CrashExit);

    // Every acknowledged row is there, whole, in order; nothing else is.
    QCOMPARE(rowSummaries(embeddedlist::ListStore(barlink.listFolder()).rows()), expected);

    // The program starts again on the same list and keeps it; the time it is given to
    // settle is what would show a start-up that empties the list.
    QVERIFY2(barlink.start(), barlink.log().constData());
    QTest::qWait(1000);
    QCOMPARE(barlink.process().state(), QProcess::Running);
    barlink.kill();
    QCOMPARE(rowSummaries(embeddedlist::ListStore(barlink.listFolder()).rows()), expected);
}

QTEST_GUILESS_MAIN(tst_CrashRecovery)
#include "tst_crashrecovery.moc"
