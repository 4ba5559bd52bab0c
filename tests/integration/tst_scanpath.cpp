// The whole scanner path of a running station: label bytes go in at the scanner end of a
// pseudo-terminal, rows come out of the embedded list manager, and "ACK" comes back at the
// scanner end, also when the scanner goes away and comes back. The poller's quiet intervals,
// the port's reconnection and the pauses run in simulated time.

#include "ManualClock.h"
#include "PtyPair.h"
#include "StationRig.h"
#include "Tables.h"
#include "app/TryRun.h"
#include "base/StatusTexts.h"
#include "embeddedlist/RunState.h"
#include "program/CompressedLabel.h"
#include "text/EscapedBytes.h"

#include <QAbstractEventDispatcher>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

// How long anything may take to show up; generous, as the machine is shared.
constexpr int Patience = 10000;
const QByteArray Ack("ACK\r");
const QByteArray FieldN = "FieldCode_DFN=N\r\n";

// A row in full as the list manager receives it; dims "X Y Z". Until the station first resets
// the item, 282 and 223 are empty; after that they are blank (`reset`).
// clang-format off
QString row(const char *name, int field, const char *dims = "  ", int parity = 0, const char *comment = "",
            int repeat = 1, bool reset = false)
{
    const QStringList xyz = QString::fromLatin1(dims).split(u' ');
    return QStringLiteral("#161=%1;#162=%2;#164=%3;#165=1;#281=;#171=%4;#284=%5;#285=;#280=;"
                          "#168=%6;#169=%7;#170=%8;#282=%9;#283=;#223=%9;#277=;#278=;#279=;")
        .arg(name, comment, QString::number(repeat), QString::number(field), QString::number(parity))
        .arg(xyz[0], xyz[1], xyz[2], reset ? " " : "");
}
// clang-format on

const QString Prog = row("PROG.CNC", 7, "600 400 18");

// The compressed label that carries text, as the scanner sends it; without "|", which scan()
// takes for a gap.
QByteArray compressedScan(const QString &text)
{
    QByteArray bytes;
    for (int level = 9; level >= 0 && (bytes.isEmpty() || bytes.contains('|')); --level)
        bytes = program::makeCompressedLabel(text, level).toLatin1();
    return bytes;
}

// Sends one scan as the scanner would and returns once the station has handled it, together
// with whatever came in the same burst, so that the next scan is a label of its own: "|" splits
// it into pieces that come one poll interval apart.
void scan(PtyStation &rig, PtyPair &pty, const QByteArray &bytes, base::ManualClock &clock)
{
    QVERIFY2(rig.writeUntilHandled(pty, clock, bytes.split('|')), bytes.constData());
}

// The real port, counting the characters the station has read from it, so that a test knows
// when what it wrote has reached the station.
class CountingPort : public scanner::ScannerPort
{
public:
    CountingPort()
    {
        connect(&m_port, &ScannerPort::deviceLost, this, &ScannerPort::deviceLost);
        connect(&m_port, &ScannerPort::bytesArrived, this, &ScannerPort::bytesArrived);
    }
    void open(const QString &device, const QString &lineSettings) override
    {
        m_port.open(device, lineSettings);
    }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    qint64 bytesWaiting() override { return m_port.bytesWaiting(); }
    QByteArray readAll() override
    {
        QByteArray bytes = m_port.readAll();
        read += bytes.size();
        return bytes;
    }
    void discardInput() override
    {
        read += m_port.bytesWaiting();
        m_port.discardInput();
    }
    void write(const QByteArray &bytes) override { m_port.write(bytes); }

    qint64 read = 0;

private:
    scanner::SerialScannerPort m_port;
};

} // namespace

class tst_ScanPath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(PtyStation::prepare(root(), {}));
        QVERIFY(writeBytes(root() + "/gcode/PROG9.CNC",
                           "KTQ 2.0\r\n;;LEFT DOOR \r\nN1\r\nDIM UN=800 Y=600 Z=18\r\n"));
    }

    void scanPath_data();
    void scanPath();
    void labelScannedDuringThePause();
    void stationAndTryAgree_data();
    void stationAndTryAgree();
    void scannerHears_data();
    void scannerHears();

private:
    [[nodiscard]] QString root() const { return m_dir->path(); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ScanPath::scanPath_data()
{
    columns<QByteArray, QByteArrayList, QStringList, QString, int>(
        {"keys", "scans", "rows", "runState", "acks"});
    const QString prog9 = row("PROG9.CNC", 1, "800 600 18", 0, "LEFT DOOR ", 999);
    const QStringList mirror{row("MIRDOOR.CNC", 3, "500 300 18"),
                             row("MIRDOOR.CNC", 4, "500 300 18", 1),
                             row("PLAIN.CNC", 3, "500 300 18", 0, "", 1, true)};

    const QByteArray first = "%12PROG.CNC N1 X", last = "%22600 400 18", lost = "<lost>";
    // clang-format off
    QTest::newRow("two-segment item in pieces") << QByteArray() << QByteArrayList{"%12PROG|.CNC N1| X", "%22600| 400 18"} << QStringList{Prog} << "idle" << 1;
    // The label after a compressed one in the same burst, past the scanner's line end, is
    // handled after it.
    QTest::newRow("compressed label, then a command in the same burst") << QByteArray() << QByteArrayList{compressedScan("%19PROG9.CNC N") + "\r%START%"} << QStringList{prog9} << "running" << 1;
    QTest::newRow("clear without half item clears the list") << QByteArray() << QByteArrayList{first, last, "%CLE|AR%"} << QStringList{} << "idle" << 1;
    QTest::newRow("norm and mirror, then a normal piece") << SelectionKeys + MirrorKeys << QByteArrayList{"%12MIRDOOR.CNC N X", "%22500 300 18", "%12PLAIN.CNC N X", "%22500 300 18"} << mirror << "idle" << 3;
    // The scanner goes away at different moments of a label.
    QTest::newRow("lost between two items") << QByteArray() << QByteArrayList{first, last, lost, "%19NEXT.CNC N"} << QStringList{Prog, row("NEXT.CNC", 1, "  ", 0, "", 999, true)} << "idle" << 2;
    QTest::newRow("lost in the middle of the last segment") << QByteArray() << QByteArrayList{first, "<cut>%22600 4", lost, last} << QStringList{Prog} << "idle" << 1;
    QTest::newRow("lost three times in a row, mid-label") << QByteArray() << QByteArrayList{"<cut>%12PR", lost, "<cut>%12PR", lost, "<cut>%12PR", lost, first, last} << QStringList{Prog} << "idle" << 1;
    // clang-format on
}

// Scans as the scanner sends them; "<cut>" before one: the scanner goes away before its end,
// "<lost>": the scanner goes away (its pseudo-terminal's other end is closed, as when a USB
// scanner is unplugged) and comes back under the same device link. While it is away the status
// line says so and the station idles; it reads again without a restart, and a cut-off label
// leaks into no row.
void tst_ScanPath::scanPath()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArrayList, scans);
    QFETCH(QStringList, rows);
    QFETCH(QString, runState);

    auto pty = std::make_unique<PtyPair>();
    if (!pty->isValid())
        QSKIP("no pseudo-terminal available");
    // The settings name a link, as a udev rule names a USB scanner.
    const QString link = root() + QStringLiteral("/scanner");
    QVERIFY(QFile::link(pty->slavePath(), link));
    QVERIFY(PtyStation::prepare(root(), link, keys));
    base::ManualClock clock;
    PtyStation rig(root(), {.realPauses = true, .clock = &clock});
    // A list kept from before: the first label clears it.
    rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
    QVERIFY(rig.start());

    QByteArray received;
    for (const QByteArray &bytes : scans) {
        if (bytes.startsWith("<cut>")) {
            QVERIFY(pty->write(bytes.mid(5)));
            QTRY_VERIFY_WITH_TIMEOUT(
                !app::StationProbe(rig.station).poller().scanBuffer().isEmpty(), Patience);
        } else if (bytes == "<lost>") {
            received += pty->received();
            pty->closeMaster();
            QTRY_VERIFY_WITH_TIMEOUT(!rig.port.isOpen(), Patience);
            QCOMPARE(rig.display.status(),
                     app::PortControl::deviceLostText(
                         link, base::Reason(base::Reason::Code::DeviceDisconnected)));
            // While it waits, the dead device raises nothing: turns of the event loop find no
            // event to handle, where an error or a notifier left behind would give one each.
            int busyTurns = 0;
            for (int turn = 0; turn < 100; ++turn)
                busyTurns += QCoreApplication::eventDispatcher()->processEvents({});
            QVERIFY2(busyTurns < 20, qPrintable(QString::number(busyTurns)));
            // A try while the device is away fails quietly, and the next is 2 s later (its
            // bounds: tst_mainwindow's portWaitsForItsDevice).
            clock.advance(2000);
            QVERIFY(!rig.port.isOpen());
            // Plugged in again: a new device behind the same link.
            pty = std::make_unique<PtyPair>();
            QVERIFY(QFile::remove(link) && QFile::link(pty->slavePath(), link));
            clock.advance(2000);
            QVERIFY(rig.port.isOpen());
            QCOMPARE(rig.display.status(), app::PortControl::openText(link));
        } else {
            scan(rig, *pty, bytes, clock);
        }
        if (QTest::currentTestFailed())
            return;
    }

    QTRY_COMPARE_WITH_TIMEOUT(rig.store->rows(), rows, Patience);
    QFETCH(int, acks);
    QTRY_COMPARE_WITH_TIMEOUT(received + pty->received(), Ack.repeated(acks), Patience);
    QCOMPARE(embeddedlist::runStateName(rig.store->runState()), runState);
    QVERIFY(rig.prompter.shown.isEmpty());
    // Nothing is handled twice: with nothing pending the station does not even wake.
    QVERIFY(!app::StationProbe(rig.station).poller().isTicking());
    // What the list manager was told has reached its files.
    const embeddedlist::ListStore reloaded(rig.store->folder());
    QCOMPARE(reloaded.rows(), rows);
    QCOMPARE(embeddedlist::runStateName(reloaded.runState()), runState);
}

void tst_ScanPath::labelScannedDuringThePause()
{
    NEED_PTY(pty);
    QVERIFY(PtyStation::prepare(root(), pty.slavePath()));
    base::ManualClock clock;
    PtyStation rig(root(), {.realPauses = true, .clock = &clock});
    QVERIFY(rig.start());
    scan(rig, pty, "%12PROG.CNC N1 X", clock);
    // Once the item's row is in the list the station pauses with the label still in hand; the
    // operator scans the next label a poll interval into that pause.
    bool busyWhenScanned = false;
    const std::unique_ptr<base::Timer> intoThePause = clock.makeTimer();
    intoThePause->setSingleShot(true);
    intoThePause->setInterval(PtyStation::PollMs);
    QObject::connect(intoThePause.get(), &base::Timer::timeout, [&] {
        busyWhenScanned = app::StationProbe(rig.station).gate().isBusy();
        QVERIFY(pty.write("%R%"));
    });
    QObject::connect(rig.store.get(),
                     &embeddedlist::ListStore::rowsAppended,
                     intoThePause.get(),
                     &base::Timer::start,
                     Qt::SingleShotConnection);
    scan(rig, pty, "%22600 400 18", clock);
    QVERIFY(busyWhenScanned);
    // Taken from the port once the pause is over, and handled as any label.
    const QString readR = base::status::readingLabel() + QStringLiteral("%R%");
    QTRY_VERIFY_WITH_TIMEOUT(rig.display.statusHistory.contains(readR)
                                 || !app::StationProbe(rig.station).poller().scanBuffer().isEmpty()
                                 || rig.port.bytesWaiting() != 0,
                             Patience);
    clock.advance(3 * PtyStation::PollMs);
    QVERIFY(rig.display.statusHistory.contains(readR));
    scan(rig, pty, "PANEL", clock);

    const QString panel = row("PANEL.CNC", 6, "  ", 1, " ", 1, true);
    QCOMPARE(rig.store->rows(), (QStringList{Prog, panel}));
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), Ack.repeated(2), Patience);
    QVERIFY(!app::StationProbe(rig.station).poller().isTicking());
}

void tst_ScanPath::stationAndTryAgree_data()
{
    // refused: what the status line and the try's account say of the refusal; empty: taken.
    columns<QByteArray, QByteArrayList, QStringList, QByteArray, QString>(
        {"keys", "scans", "rows", "heard", "refused"});
    const QString p = row("P.CNC", 1), p2 = row("P.CNC", 1, "  ", 0, "", 1, true),
                  q2 = row("Q.CNC", 1, "  ", 0, "", 1, true);
    const QByteArray no = "NO\r", scanned = "%11P.CNC N";
    const QString controlInField
        = QStringLiteral("Work field refused: N<U+%1> holds a control character");
    const QString noProgram = QStringLiteral("no program is named");
    // clang-format off
    QTest::newRow("CR LF CR LF")    << QByteArray() << QByteArrayList{scanned + "\r\n\r\n"} << QStringList{p} << Ack << QString();
    QTest::newRow("tab")            << QByteArray() << QByteArrayList{scanned + "\t"} << QStringList{} << no << controlInField.arg("0009");
    QTest::newRow("NUL")            << QByteArray() << QByteArrayList{scanned + QByteArray(1, '\0')} << QStringList{} << no << controlInField.arg("0000");
    QTest::newRow("DEL")            << QByteArray() << QByteArrayList{scanned + "\x7f"} << QStringList{} << no << controlInField.arg("007F");
    // The scanner triggered twice within the quiet interval: two labels, not one glued.
    QTest::newRow("double trigger") << QByteArray() << QByteArrayList{scanned + "\r" + scanned + "\r"} << QStringList{p, p2} << Ack + Ack << QString();
    QTest::newRow("LabelEnd ETX: two labels in one burst") << QByteArray("LabelEnd=\\x03") << QByteArrayList{scanned + "\x03%11Q.CNC N\x03"} << QStringList{p, q2} << Ack + Ack << QString();
    // A CR LF scanner, LabelEnd CR: each LF comes 2 ms after its CR, in a read of its own.
    QTest::newRow("LabelEnd CR, the LF read alone") << QByteArray("LabelEnd=\\r") << QByteArrayList{scanned + "\r|\n|%11Q.CNC N\r|\n"} << QStringList{p, q2} << Ack + Ack << QString();
    QTest::newRow("LabelEnd=13 is not used") << QByteArray("LabelEnd=13") << QByteArrayList{"%12P.CNC N X", "%22600 413 18"} << QStringList{row("P.CNC", 1, "600 413 18")} << Ack << QString();
    QTest::newRow("! alone")        << QByteArray("FieldCode_DFN=N") << QByteArrayList{"!"} << QStringList{} << no << noProgram;
    QTest::newRow("dimensions alone, repeat count") << QByteArray() << QByteArrayList{"%29600 400 18"} << QStringList{} << no << noProgram;
    // clang-format on
}

// The same scans through the station on its pseudo-terminal (its rows, what the scanner
// hears, its status line) and through "barlink --try" on the same settings: the same rows,
// and a refusal said by both. A "|" in a scan is a pause of 2 ms, the bytes before it read
// by the station first. Every refusal hears RefuseReply.
void tst_ScanPath::stationAndTryAgree()
{
    QFETCH(QByteArrayList, scans);
    QFETCH(QStringList, rows);
    QFETCH(QString, refused);
    NEED_PTY(pty);
    QVERIFY(PtyStation::prepare(
        root(), pty.slavePath(), fetch<QByteArray>("keys") + "\r\nRefuseReply=NO\\r"));
    base::ManualClock clock;
    StationRig<CountingPort> rig(root(), {.clock = &clock});
    QVERIFY(rig.start());
    QStringList arguments{QStringLiteral("barlink"), QStringLiteral("--try")};
    qint64 written = 0;
    for (const QByteArray &scan : scans) {
        for (const QByteArray &piece : scan.split('|')) {
            QVERIFY(pty.write(piece));
            written += piece.size();
            QTRY_COMPARE_WITH_TIMEOUT(rig.port.read, written, Patience);
            clock.advance(2);
        }
        clock.advance(10 * PtyStation::PollMs);
        arguments << text::escapeBytes(QByteArray(scan).replace('|', ""));
    }
    QCOMPARE(rig.store->rows(), rows);
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), fetch<QByteArray>("heard"), Patience);
    const QString shown = rig.display.statusHistory.join(u'\n');
    QVERIFY2(refused.isEmpty() || shown.contains(refused), qPrintable(shown));

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int status = app::runTryCommand(
        arguments, root() + "/program", root() + "/windows", outStream, errStream);
    QCOMPARE(out, rows.isEmpty() ? QString() : rows.join(u'\n') + u'\n');
    QCOMPARE(status, refused.isEmpty() ? 0 : 1);
    QVERIFY2(err.contains(refused), qPrintable(err));
}

// What the scanner hears when a label is refused, and the double-scan guard; the guard's
// window and the pauses run on the station's clock.
void tst_ScanPath::scannerHears_data()
{
    // scans: "LABEL@ms", the station's clock at the scan; "typed:LABEL" typed in the window
    columns<QByteArray, QByteArrayList, QStringList, int, QByteArray>(
        {"keys", "scans", "outcomes", "rows", "heard"});

    const QByteArray reply = "RefuseReply=\\x07NO\\r\\n\r\n";
    const QByteArray guard = FieldN + "DuplicateSeconds=5\r\n";
    // clang-format off
    QTest::addRow("by default a refusal sends nothing") << FieldN << QByteArrayList{"%7x@0", "DEMO@0", "DEMO@0"} << QStringList{"refused", "taken", "taken"} << 2 << QByteArray("ACK\rACK\r");
    QTest::addRow("a refusal hears the reply, a row its ACK") << FieldN + reply << QByteArrayList{"%7x@0", "DEMO@0"} << QStringList{"refused", "taken"} << 1 << QByteArray("\x07NO\r\nACK\r");
    QTest::addRow("a malformed reply is not used") << FieldN + "RefuseReply=\\q\r\n" << QByteArrayList{"%7x@0"} << QStringList{"refused"} << 0 << QByteArray();
    QTest::addRow("a name scanned twice within the window: refused, with the reply") << guard + reply << QByteArrayList{"DEMO@0", "DEMO@5000"} << QStringList{"taken", "refused"} << 1 << QByteArray("ACK\r\x07NO\r\n");
    // The window runs from the rows added, not from after the pauses that follow them.
    QTest::addRow("the same name later than the window is taken") << guard << QByteArrayList{"DEMO@0", "DEMO@5001"} << QStringList{"taken", "taken"} << 2 << QByteArray("ACK\rACK\r");
    QTest::addRow("the window runs from the item taken, not the one refused") << guard << QByteArrayList{"DEMO@0", "DEMO@4000", "DEMO@6000"} << QStringList{"taken", "refused", "taken"} << 2 << QByteArray("ACK\rACK\r");
    QTest::addRow("another name within the window is taken") << guard << QByteArrayList{"DEMO@0", "OTHER@100"} << QStringList{"taken", "taken"} << 2 << QByteArray("ACK\rACK\r");
    QTest::addRow("an item of two labels scanned twice: refused at its last label") << guard << QByteArrayList{"%12P.CNC N X@0", "%22600 400 18@0", "%12P.CNC N X@100", "%22600 400 18@200"} << QStringList{"waiting", "taken", "waiting", "refused"} << 1 << QByteArray("ACK\r");
    QTest::addRow("a field-code label before the repeat makes no other piece") << guard << QByteArrayList{"%S%@0", "DEMO@0", "DEMO@200"} << QStringList{"taken", "taken", "refused"} << 1 << QByteArray("ACK\r");
    QTest::addRow("the scan after a refusal is taken: a second identical panel") << guard << QByteArrayList{"DEMO@0", "DEMO@100", "DEMO@200", "DEMO@300"} << QStringList{"taken", "refused", "taken", "refused"} << 2 << QByteArray("ACK\rACK\r");
    QTest::addRow("a typed label is never refused as scanned twice") << guard << QByteArrayList{"DEMO@0", "typed:DEMO@100"} << QStringList{"taken", "taken"} << 2 << QByteArray("ACK\rACK\r");
    QTest::addRow("a list command between two items makes the second deliberate") << guard << QByteArrayList{"DEMO@0", "%STOP%@100", "DEMO@200"} << QStringList{"taken", "taken", "taken"} << 2 << QByteArray("ACK\rACK\r");
    // clang-format on
}

void tst_ScanPath::scannerHears()
{
    QFETCH(QByteArray, keys);
    QFETCH(QStringList, outcomes);
    QFETCH(int, rows);
    QFETCH(QByteArray, heard);
    NEED_PTY(pty);
    QVERIFY(PtyStation::prepare(root(), pty.slavePath(), SelectionKeys + keys));
    base::ManualClock clock;
    PtyStation rig(root(), {.realPauses = true, .clock = &clock});
    QVERIFY(rig.start());
    QStringList heardOutcomes;
    connect(&rig.station,
            &app::Station::labelHandled,
            [&](const QString &, const base::LabelOutcome &outcome) {
                using R = base::LabelOutcome::Result;
                heardOutcomes << (outcome.result == R::Refused   ? QStringLiteral("refused")
                                  : outcome.result == R::Waiting ? QStringLiteral("waiting")
                                                                 : QStringLiteral("taken"));
            });
    for (const QByteArray &scan : fetch<QByteArrayList>("scans")) {
        const QByteArray label = scan.left(scan.lastIndexOf('@'));
        clock.advance(std::max<qint64>(0, scan.mid(label.size() + 1).toLongLong() - clock.now()));
        const qsizetype handled = heardOutcomes.size();
        const bool typed = label.startsWith("typed:");
        if (typed)
            rig.station.typeLabel(QString::fromLatin1(label.mid(6)));
        QVERIFY(rig.writeUntilHandled(
            pty, clock, typed ? QByteArrayList{} : QByteArrayList{label}, [&] {
                return heardOutcomes.size() > handled;
            }));
        QVERIFY(!app::StationProbe(rig.station).gate().isBusy());
    }
    QCOMPARE(heardOutcomes, outcomes);
    if (keys.contains("DuplicateSeconds=5")) // every refusal is the guard's, and says so
        QCOMPARE(rig.display.statusHistory.count(base::DoubleScanGuard::statusText()),
                 outcomes.count(QStringLiteral("refused")));
    QCOMPARE(rig.store->rows().size(), rows);
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), heard, Patience);
    // A malformed reply holds nothing up in a message box: it is a settings problem, which the
    // status line tells once start-up is done.
    QVERIFY(rig.prompter.shown.isEmpty());
    const bool malformed = keys.contains("\\q");
    const QList<base::Reason> &problems = rig.station.settings().problems;
    QCOMPARE(
        std::any_of(problems.begin(),
                    problems.end(),
                    [](const base::Reason &p) { return p.english().contains(u"RefuseReply=\\q"); }),
        malformed);
    QCOMPARE(rig.display.statusHistory.contains(app::Station::settingsProblemsStatus(1)),
             malformed);
}

QTEST_GUILESS_MAIN(tst_ScanPath)
#include "tst_scanpath.moc"
