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

QStringList rowNames(const embeddedlist::ListStore &list)
{
    QStringList names;
    for (const QString &row : list.rows())
        names << rowField(row, 161);
    return names;
}

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
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<int>("items");         // two-segment items ITEM1.CNC ... scanned in turn
    QTest::addColumn<QByteArray>("prefix"); // the items' names begin with this
    QTest::addColumn<QByteArray>("half");   // a label of one more item, taken before the kill
    QTest::addColumn<int>("acks");          // acknowledgements to wait for before the kill

    QTest::newRow("eight items back to back")
        << QByteArray() << 8 << QByteArray("ITEM") << QByteArray() << 8;
    // Mirror pieces (names beginning with "MIR") go in twice, as a normal and a mirrored row.
    QTest::newRow("a mirror piece, two rows")
        << SelectionKeys + MirrorKeys << 1 << QByteArray("MIRITEM") << QByteArray() << 2;
    QTest::newRow("an item and half of the next")
        << QByteArray() << 2 << QByteArray("ITEM") << QByteArray("%12HALF.CNC N1 X") << 2;
}

void tst_CrashRecovery::killedAfterAck()
{
    QFETCH(QByteArray, keys);
    QFETCH(int, items);
    QFETCH(QByteArray, prefix);
    QFETCH(QByteArray, half);
    QFETCH(int, acks);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    BarlinkProcess barlink(dir.path(), pty.slavePath(), keys);
    QVERIFY2(barlink.start(), barlink.log().constData());

    // Each label waits until the one before it has been taken, as a scanner operator waits
    // for the beep; the second ends the item, and its "ACK" is awaited.
    const auto take = [&](const QByteArray &label) {
        return pty.write(label)
               && barlink.waitForLog("barlink.label: label \"" + label + '"', Patience);
    };
    QStringList expected;
    for (int i = 1; i <= items; ++i) {
        const QByteArray name = prefix + QByteArray::number(i) + ".CNC";
        QVERIFY2(take("%12" + name + " N1 X"), barlink.log().constData());
        QVERIFY(pty.write("%22600 400 18"));
        const int rowsOfItem = acks / items;
        const QByteArray wanted = Ack.repeated(pty.received().count(Ack) + rowsOfItem);
        QTRY_COMPARE_WITH_TIMEOUT(pty.received().right(wanted.size()), wanted, Patience);
        for (int r = 0; r < rowsOfItem; ++r)
            expected << QString::fromLatin1(name);
    }
    if (!half.isEmpty())
        QVERIFY2(take(half), barlink.log().constData());
    QCOMPARE(pty.received(), Ack.repeated(acks));
    barlink.kill();
    QCOMPARE(barlink.process().exitStatus(), QProcess::CrashExit);

    // Every acknowledged row is there, whole, in order; nothing else is.
    const embeddedlist::ListStore reloaded(barlink.listFolder());
    QCOMPARE(rowNames(reloaded), expected);
    for (const QString &row : reloaded.rows()) {
        QVERIFY2(row.contains(QLatin1String("#168=600;#169=400;#170=18;"))
                     && row.endsWith(QLatin1String("#279=;")),
                 qPrintable(row));
    }

    // The program starts again on the same list and keeps it; the time it is given to
    // settle is what would show a start-up that empties the list.
    QVERIFY2(barlink.start(), barlink.log().constData());
    QTest::qWait(1000);
    QCOMPARE(barlink.process().state(), QProcess::Running);
    barlink.kill();
    QCOMPARE(rowNames(embeddedlist::ListStore(barlink.listFolder())), expected);
}

QTEST_GUILESS_MAIN(tst_CrashRecovery)
#include "tst_crashrecovery.moc"
