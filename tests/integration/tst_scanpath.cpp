// The whole scanner path of a running station: label bytes go in at the scanner end of a
// pseudo-terminal, rows come out of the embedded list manager, and "ACK" comes back at the
// scanner end.

#include "PtyPair.h"
#include "StationRig.h"
#include "base/StatusTexts.h"
#include "embeddedlist/RunState.h"
#include "program/CompressedLabel.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace barlink;
using namespace barlink::testing;

namespace {

constexpr int PollMs = PtyStation::PollMs;
// How long anything may take to show up; generous, as the machine is shared.
constexpr int Patience = 10000;
// The pieces of one label follow each other well within the two quiet intervals that end it.
constexpr int PieceGapMs = 30;

const QByteArray Ack("ACK\r");

// A row in full as the list manager receives it. Until the station first resets the item,
// 282 and 223 are empty; after that they are blank (`reset`).
struct Row
{
    const char *name;
    int field;
    int parity = 0; // 284
    const char *dims = "  ";
    const char *comment = "";
    int repeat = 1;
    bool reset = false;

    operator QString() const
    {
        const QStringList xyz = QString::fromLatin1(dims).split(QLatin1Char(' '));
        // clang-format off
        return QStringLiteral("#161=%1;#162=%2;#164=%3;#165=1;#281=;#171=%4;#284=%5;#285=;#280=;"
                              "#168=%6;#169=%7;#170=%8;#282=%9;#283=;#223=%9;#277=;#278=;#279=;")
            .arg(QString::fromLatin1(name), QString::fromLatin1(comment), QString::number(repeat),
                 QString::number(field), QString::number(parity), xyz[0], xyz[1], xyz[2],
                 QString::fromLatin1(reset ? " " : ""));
        // clang-format on
    }
};

const Row Prog{.name = "PROG.CNC", .field = 7, .dims = "600 400 18"};

// The compressed label that carries text, as the scanner sends it; without "|", which scan()
// takes for a gap.
QByteArray compressedScan(const QString &text)
{
    QByteArray bytes;
    for (int level = 9; level >= 0 && (bytes.isEmpty() || bytes.contains('|')); --level)
        bytes = program::makeCompressedLabel(text, level).toLatin1();
    return bytes;
}

// True once the poller has handed on a label since the status history had `mark` entries,
// and nothing is left in its buffer or in hand.
bool handledSince(PtyStation &rig, qsizetype mark)
{
    const QStringList &history = rig.display.statusHistory;
    bool read = false;
    for (qsizetype i = mark; i < history.size() && !read; ++i)
        read = history[i].startsWith(base::status::readingLabel());
    return read && rig.station.poller().scanBuffer().isEmpty() && !rig.station.gate().isBusy();
}

// Sends one scan as the scanner would: "|" splits it into pieces sent with short gaps.
// Returns once the station has handled it, together with whatever came in the same burst,
// so that the next scan is a label of its own.
void scan(PtyStation &rig, PtyPair &pty, const QByteArray &bytes)
{
    const qsizetype mark = rig.display.statusHistory.size();
    const QList<QByteArray> pieces = bytes.split('|');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            QTest::qWait(PieceGapMs);
        QVERIFY(pty.write(pieces[i]));
    }
    QTRY_VERIFY2_WITH_TIMEOUT(handledSince(rig, mark), bytes.constData(), Patience);
}

} // namespace

class tst_ScanPath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(PtyStation::prepare(root(), {}));
        QVERIFY(writeBytes(root() + QStringLiteral("/gcode/PROG9.CNC"),
                           "KTQ 2.0\r\n;;LEFT DOOR \r\nN1\r\nDIM UN=800 Y=600 Z=18\r\n"));
    }

    void scanPath_data();
    void scanPath();
    void labelScannedDuringThePause();

private:
    [[nodiscard]] QString root() const { return m_dir->path(); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ScanPath::scanPath_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QByteArrayList>("scans");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("runState");
    QTest::addColumn<int>("acks");

    const Row prog9{.name = "PROG9.CNC",
                    .field = 1,
                    .dims = "800 600 18",
                    .comment = "LEFT DOOR ",
                    .repeat = 999};
    const Row mirdoor{.name = "MIRDOOR.CNC", .field = 3, .dims = "500 300 18"};
    const QStringList mirror{
        mirdoor,
        Row{.name = "MIRDOOR.CNC", .field = 4, .parity = 1, .dims = "500 300 18"},
        Row{.name = "PLAIN.CNC", .field = 3, .dims = "500 300 18", .reset = true}};

    // clang-format off
    QTest::newRow("two-segment item in pieces") << QByteArray()
        << QByteArrayList{"%12PROG|.CNC N1| X", "%22600| 400 18"} << QStringList{Prog} << "idle" << 1;
    QTest::newRow("start and stop in one burst") << QByteArray()
        << QByteArrayList{"%START%%STOP%"} << QStringList{} << "held" << 0;
    // The label after a compressed one in the same burst, past the scanner's line end, is
    // handled after it.
    QTest::newRow("compressed label, then a command in the same burst") << QByteArray()
        << QByteArrayList{compressedScan("%19PROG9.CNC N") + "\r%START%"} << QStringList{prog9}
        << "running" << 1;
    QTest::newRow("clear without half item clears the list") << QByteArray()
        << QByteArrayList{"%12PROG.CNC N1 X", "%22600 400 18", "%CLE|AR%"} << QStringList{}
        << "idle" << 1;
    QTest::newRow("norm and mirror, then a normal piece") << SelectionKeys + MirrorKeys
        << QByteArrayList{"%12MIRDOOR.CNC N X", "%22500 300 18", "%12PLAIN.CNC N X", "%22500 300 18"}
        << mirror << "idle" << 3;
    // clang-format on
}

void tst_ScanPath::scanPath()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArrayList, scans);
    QFETCH(QStringList, rows);
    QFETCH(QString, runState);
    QFETCH(int, acks);

    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    QVERIFY(PtyStation::prepare(root(), pty.slavePath(), keys));
    PtyStation rig(root(), true);
    // A list kept from before: the first label clears it.
    rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
    QVERIFY(rig.start());

    for (const QByteArray &bytes : scans) {
        scan(rig, pty, bytes);
        if (QTest::currentTestFailed())
            return;
    }

    const QByteArray acknowledged = Ack.repeated(acks);
    QTRY_COMPARE_WITH_TIMEOUT(rig.store->rows(), rows, Patience);
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), acknowledged, Patience);
    QCOMPARE(embeddedlist::runStateName(rig.store->runState()), runState);
    QVERIFY(rig.prompter.shown.isEmpty());

    // Nothing is handled twice: with nothing pending the station does not even wake.
    QVERIFY(!rig.station.poller().isTicking());

    // What the list manager was told has reached its files.
    const embeddedlist::ListStore reloaded(rig.store->folder());
    QCOMPARE(reloaded.rows(), rows);
    QCOMPARE(embeddedlist::runStateName(reloaded.runState()), runState);
}

void tst_ScanPath::labelScannedDuringThePause()
{
    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    QVERIFY(PtyStation::prepare(root(), pty.slavePath()));
    PtyStation rig(root(), true);
    QVERIFY(rig.start());

    scan(rig, pty, "%12PROG.CNC N1 X");
    if (QTest::currentTestFailed())
        return;
    // Once the item's row is in the list the station pauses with the label still in hand;
    // the operator scans the next label during that pause.
    bool busyWhenScanned = false;
    const auto scanDuringPause = [&] {
        QTimer::singleShot(PollMs, this, [&] {
            busyWhenScanned = rig.station.gate().isBusy();
            QVERIFY(pty.write("%R%"));
        });
    };
    QObject::connect(rig.store.get(),
                     &embeddedlist::ListStore::rowsAppended,
                     this,
                     scanDuringPause,
                     Qt::SingleShotConnection);
    const qsizetype mark = rig.display.statusHistory.size();
    QVERIFY(pty.write("%22600 400 18"));
    QTRY_VERIFY_WITH_TIMEOUT(
        rig.display.statusHistory.contains(base::status::readingLabel() + QStringLiteral("%R%"))
            && handledSince(rig, mark),
        Patience);
    QVERIFY(busyWhenScanned);
    scan(rig, pty, "PANEL");

    const Row panel{.name = "PANEL.CNC", .field = 6, .parity = 1, .comment = " ", .reset = true};
    QTRY_COMPARE_WITH_TIMEOUT(rig.store->rows(), (QStringList{Prog, panel}), Patience);
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), Ack.repeated(2), Patience);
    QVERIFY(!rig.station.poller().isTicking());
}

QTEST_GUILESS_MAIN(tst_ScanPath)
#include "tst_scanpath.moc"
