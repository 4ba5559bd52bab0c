// The scanner goes away (its pseudo-terminal's other end is closed, as when a USB scanner is
// unplugged) at different moments of a label, and comes back under the same device link:
// the status line says so, the station idles while it waits, it reads again without a
// restart, and the labels scanned afterwards give exactly the rows they should.

#include "PtyPair.h"
#include "StationRig.h"

#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

constexpr int Patience = 10000;

// Counts every event the application delivers while it lives: a station that spins on a
// dead device handles thousands a second, an idle one a few timer events.
class EventCounter : public QObject
{
public:
    EventCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~EventCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    [[nodiscard]] int count() const { return m_count; }

protected:
    bool eventFilter(QObject *, QEvent *) override
    {
        ++m_count;
        return false;
    }

private:
    int m_count = 0;
};

using Rig = PtyStation;

// True once the station has nothing in hand: the buffer empty, no label being handled.
bool idle(Rig &rig)
{
    return rig.station.poller().scanBuffer().isEmpty() && !rig.station.gate().isBusy();
}

// Sends one label and waits until the station has handled it.
void scan(Rig &rig, PtyPair &pty, const QByteArray &label)
{
    const qsizetype mark = rig.display.statusHistory.size();
    QVERIFY(pty.write(label));
    QTRY_VERIFY2_WITH_TIMEOUT(
        rig.display.statusHistory.size() > mark && idle(rig), label.constData(), Patience);
}

} // namespace

class tst_ScannerLoss : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void goesAwayAndComesBack_data();
    void goesAwayAndComesBack();
};

void tst_ScannerLoss::goesAwayAndComesBack_data()
{
    QTest::addColumn<QByteArrayList>("before"); // labels handled before the loss
    QTest::addColumn<QByteArray>("cutOff");     // what the scanner had sent of the next one
    QTest::addColumn<int>("losses");            // unplugged and plugged in this often
    QTest::addColumn<QByteArrayList>("after");  // labels scanned once it is back
    QTest::addColumn<QStringList>("rows");      // in short: a cut-off label leaks into none of them
    QTest::addColumn<int>("acks");

    const QByteArrayList item = {"%12PROG.CNC N1 X", "%22600 400 18"};
    const QString prog = QStringLiteral("PROG.CNC f7 600x400x18 r1");
    QTest::newRow("between two items")
        << item << QByteArray() << 1 << QByteArrayList{"%19NEXT.CNC N"}
        << QStringList{prog, "NEXT.CNC f1 xx r999"} << 2;
    QTest::newRow("between the segments of an item")
        << QByteArrayList{item[0]} << QByteArray() << 1 << QByteArrayList{item[1]}
        << QStringList{prog} << 1;
    QTest::newRow("in the middle of the first segment")
        << QByteArrayList{} << QByteArray("%12PROG.C") << 1 << item << QStringList{prog} << 1;
    QTest::newRow("in the middle of the last segment")
        << QByteArrayList{item[0]} << QByteArray("%22600 4") << 1 << QByteArrayList{item[1]}
        << QStringList{prog} << 1;
    QTest::newRow("three times in a row, mid-label")
        << QByteArrayList{} << QByteArray("%12PR") << 3 << item << QStringList{prog} << 1;
}

void tst_ScannerLoss::goesAwayAndComesBack()
{
    QFETCH(QByteArrayList, before);
    QFETCH(QByteArray, cutOff);
    QFETCH(int, losses);
    QFETCH(QByteArrayList, after);
    QFETCH(QStringList, rows);
    QFETCH(int, acks);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.path();
    auto pty = std::make_unique<PtyPair>();
    if (!pty->isValid())
        QSKIP("no pseudo-terminal available");
    // The settings name a link, as a udev rule names a USB scanner, so that the device comes
    // back under the same name.
    const QString link = root + QStringLiteral("/scanner");
    QVERIFY(QFile::link(pty->slavePath(), link));
    QVERIFY(Rig::prepare(root, link));
    Rig rig(root);
    QVERIFY(rig.start());
    rig.station.portControl().setReconnectInterval(200);

    QByteArray received;
    for (const QByteArray &label : before)
        scan(rig, *pty, label);
    for (int loss = 0; loss < losses; ++loss) {
        if (!cutOff.isEmpty()) {
            QVERIFY(pty->write(cutOff));
            QTRY_VERIFY_WITH_TIMEOUT(!rig.station.poller().scanBuffer().isEmpty(), Patience);
        }
        received += pty->received();
        pty->closeMaster();

        QTRY_VERIFY_WITH_TIMEOUT(!rig.port.isOpen(), Patience);
        QCOMPARE(rig.display.status(),
                 app::PortControl::deviceLostText(link, QStringLiteral("device disconnected")));
        QVERIFY(rig.station.portControl().isReconnecting());
        QVERIFY(rig.prompter.shown.isEmpty());

        // While it waits, the station handles a few timer events a second (ticks and
        // reconnection attempts), not the flood of errors a dead device keeps raising.
        {
            EventCounter events;
            QTest::qWait(1000);
            QVERIFY2(events.count() < 200, qPrintable(QString::number(events.count())));
        }
        QVERIFY(!rig.port.isOpen());

        // Plugged in again: a new device behind the same link.
        pty = std::make_unique<PtyPair>();
        QVERIFY(pty->isValid());
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(pty->slavePath(), link));
        QTRY_VERIFY_WITH_TIMEOUT(rig.port.isOpen(), Patience);
        QCOMPARE(rig.display.status(), app::PortControl::openText(link));
        QVERIFY(!rig.station.portControl().isReconnecting());
    }

    for (const QByteArray &label : after)
        scan(rig, *pty, label);
    QTRY_COMPARE_WITH_TIMEOUT(rig.rows(), rows, Patience);
    QTRY_COMPARE_WITH_TIMEOUT(
        received + pty->received(), QByteArray("ACK\r").repeated(acks), Patience);
    QVERIFY(rig.prompter.shown.isEmpty());
    // Nothing is left pending: the poller has stopped.
    QTRY_VERIFY_WITH_TIMEOUT(!rig.station.poller().isTicking(), Patience);
}

QTEST_GUILESS_MAIN(tst_ScannerLoss)
#include "tst_scannerloss.moc"
