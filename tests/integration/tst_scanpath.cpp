// The whole scanner path of a running station: label bytes go in at the scanner end of a
// pseudo-terminal, rows come out of the embedded list manager, and "ACK" comes back at the
// scanner end.

#include "Fakes.h"
#include "PtyPair.h"
#include "app/EventLoopPacer.h"
#include "app/PortControl.h"
#include "app/Station.h"
#include "app/StatusTexts.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListStore.h"
#include "program/listmanager/RunState.h"
#include "scanner/SerialScannerPort.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include <sys/resource.h>

using namespace barlink;
using namespace barlink::testing;

namespace {

constexpr int PollMs = 100;
// How long anything may take to show up; generous, as the machine is shared.
constexpr int Patience = 10000;
// The pieces of one label follow each other well within one poll interval.
constexpr int PieceGapMs = 30;

const QByteArray Ack("ACK\r");

// The rows the scenarios expect, written out in full as the list manager receives them.
// Items before the first reset carry empty values for 162 (unless a program comment was
// read), 282 and 223; later items carry a blank in 282 and 223.
const QString ProgRow = QStringLiteral("#161=PROG.CNC;#162=;#164=1;#165=1;#281=;#171=7;#284=0;"
                                       "#285=;#280=;#168=600;#169=400;#170=18;#282=;#283=;"
                                       "#223=;#277=;#278=;#279=;");
const QString DefaultFieldRow = QStringLiteral(
    "#161=PROG1.CNC;#162=;#164=1;#165=1;#281=;#171=3;#284=0;#285=;#280=;#168=;#169=;#170=;"
    "#282=;#283=;#223=;#277=;#278=;#279=;");
const QString FieldCodePlainRow = QStringLiteral(
    "#161=PANEL.CNC;#162=;#164=1;#165=1;#281=;#171=6;#284=1;#285=;#280=;#168=;#169=;#170=;"
    "#282=;#283=;#223=;#277=;#278=;#279=;");
const QString FieldCodeSegmentsRow = QStringLiteral(
    "#161=DOOR.CNC;#162=;#164=1;#165=1;#281=;#171=16;#284=1;#285=;#280=;#168=600;#169=400;"
    "#170=18;#282=;#283=;#223=;#277=;#278=;#279=;");
const QString ApostropheRow = QStringLiteral(
    "#161=ABC.CNC;#162=;#164=1;#165=1;#281=;#171=1;#284=0;#285=;#280=;#168=;#169=;#170=;"
    "#282=;#283=;#223=;#277=;#278=;#279=;");
const QString RepeatRow = QStringLiteral(
    "#161=PROG9.CNC;#162=LEFT DOOR ;#164=999;#165=1;#281=;#171=1;#284=0;#285=;#280=;"
    "#168=800;#169=600;#170=18;#282=;#283=;#223=;#277=;#278=;#279=;");
const QString NextRow = QStringLiteral(
    "#161=NEXT.CNC;#162=;#164=1;#165=1;#281=;#171=3;#284=0;#285=;#280=;#168=700;#169=200;"
    "#170=9;#282= ;#283=;#223= ;#277=;#278=;#279=;");
const QString BlankFieldRow = QStringLiteral(
    "#161=NEXT.CNC;#162=;#164=1;#165=1;#281=;#171=37;#284=0;#285=;#280=;#168=700;#169=200;"
    "#170=9;#282= ;#283=;#223= ;#277=;#278=;#279=;");
const QString PanelAfterResetRow = QStringLiteral(
    "#161=PANEL.CNC;#162= ;#164=1;#165=1;#281=;#171=6;#284=1;#285=;#280=;#168=;#169=;#170=;"
    "#282= ;#283=;#223= ;#277=;#278=;#279=;");
const QString MirrorNormalRow = QStringLiteral(
    "#161=MIRDOOR.CNC;#162=;#164=1;#165=1;#281=;#171=3;#284=0;#285=;#280=;#168=500;"
    "#169=300;#170=18;#282=;#283=;#223=;#277=;#278=;#279=;");
const QString MirrorMirroredRow = QStringLiteral(
    "#161=MIRDOOR.CNC;#162=;#164=1;#165=1;#281=;#171=6;#284=1;#285=;#280=;#168=500;"
    "#169=300;#170=18;#282=;#283=;#223=;#277=;#278=;#279=;");
const QString AfterMirrorRow
    = QStringLiteral("#161=PLAIN.CNC;#162=;#164=1;#165=1;#281=;#171=3;#284=0;#285=;#280=;#168=500;"
                     "#169=300;#170=18;#282= ;#283=;#223= ;#277=;#278=;#279=;");

// Norm and Mirror on program names that begin with "MIR"; the four front fields enabled.
const QByteArray MirrorKeys
    = "AutoSelSetting=1\nPNameMSel=0\nPNameNandMText=MIR\n"
      "PNameNandMLR=-1\nPNameNandMCPos=1\n"
      "HalfLimitX=1000\nHalfLimitY=600\n"
      "FieldCode_FFS=S\nFieldFlag_FFS= 1\nFieldCode_FFT=T\nFieldFlag_FFT= 1\n"
      "FieldCode_FFA=A\nFieldFlag_FFA= 1\nFieldCode_FFR=R\nFieldFlag_FFR= 1\n"
      "FieldCode_SFN=N\nFieldCode_SFM=M\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The station's settings file: the scanner on `device`, polled every 100 ms, folders
// inside `root`, neither automatic clear nor automatic start; `keys` ("Key=Value" lines)
// add keys or override these.
void writeSettings(const QString &root, const QString &device, const QByteArray &keys)
{
    QMap<QByteArray, QByteArray> values{
        {"CommDevice", device.toLocal8Bit()},
        {"CommPollTime", QByteArray::number(PollMs)},
        {"Settings", "9600,N,8,1"},
        {"GCodePath", root.toLocal8Bit() + "/gcode/"},
        {"ListPath", root.toLocal8Bit() + "/lists/"},
        {"CSVInPath", root.toLocal8Bit() + "/csvin"},
        {"CSVOutPath", root.toLocal8Bit() + "/collected.csv"},
        {"AutoClear", " 0"},
        {"AutoStart", " 0"},
    };
    for (const QByteArray &line : keys.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1));
    }
    QByteArray ini = "[GESTBCOD]\r\n";
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        ini += it.key() + '=' + it.value() + "\r\n";
    writeFile(root + QStringLiteral("/program/KTQ.INI"), ini);
}

// A station as the program puts it together, on the real serial port adapter and the
// embedded list manager, with the operator's windows faked.
struct Rig
{
    Rig(const QString &root, bool realPauses)
        : store(std::make_shared<listmanager::ListStore>(root + QStringLiteral("/data")))
        , provider(store)
        , station({display,
                   prompter,
                   realPauses ? static_cast<app::Pacer &>(eventLoopPacer) : instantPacer,
                   port,
                   provider},
                  root + QStringLiteral("/program"),
                  root + QStringLiteral("/windows"))
    {
        station.setInstanceLockDir(root + QStringLiteral("/run"));
        station.setListWait(3, 1);
    }

    FakeDisplay display;
    ScriptedPrompter prompter;
    InstantPacer instantPacer;
    app::EventLoopPacer eventLoopPacer;
    scanner::SerialScannerPort port;
    std::shared_ptr<listmanager::ListStore> store;
    listmanager::EmbeddedListManagerProvider provider;
    app::Station station;
};

// True once the poller has handed on a label since the status history had `mark`
// entries, and nothing is left in its buffer or in hand.
bool handledSince(Rig &rig, qsizetype mark)
{
    const QStringList &history = rig.display.statusHistory;
    bool read = false;
    for (qsizetype i = mark; i < history.size() && !read; ++i)
        read = history[i].startsWith(app::status::readingLabel());
    return read && rig.station.poller().scanBuffer().isEmpty() && !rig.station.gate().isBusy();
}

// Sends one scan as the scanner would: "|" splits it into pieces sent with short gaps.
// Returns once the station has handled it, together with whatever came in the same burst,
// so that the next scan is a label of its own.
void scan(Rig &rig, PtyPair &pty, const QByteArray &bytes)
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

// Processor time this process has used, user and system, in seconds.
double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

class tst_ScanPath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void scanPath_data();
    void scanPath();
    void labelScannedDuringThePause();
    void scannerGoesAwayAndComesBack();

private:
    [[nodiscard]] QString root() const { return m_dir->path(); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ScanPath::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char *folder : {"program", "windows", "gcode", "lists", "csvin"})
        QVERIFY(QDir(root()).mkpath(QLatin1String(folder)));
    writeFile(root() + QStringLiteral("/gcode/PROG9.CNC"),
              "KTQ 2.0\r\n;;LEFT DOOR \r\nN1\r\nDIM UN=800 Y=600 Z=18\r\n");
    writeFile(root() + QStringLiteral("/lists/PANEL1.LST"),
              "#161=A.CNC;#171=3;\r\n#161=B.CNC;#171=6;\r\n");
}

void tst_ScanPath::scanPath_data()
{
    QTest::addColumn<bool>("realPauses");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QByteArrayList>("scans");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("runState");
    QTest::addColumn<int>("acks");
    QTest::addColumn<QStringList>("prompts");

    // Scenarios run with pauses that return at once. Those with several labels on the way
    // run with the real pauses too, during which window events (and scanner ticks) go on
    // while the station still holds the label in hand.
    const QByteArrayList paced = {"two-segment item in pieces",
                                  "start and stop in one burst",
                                  "clear discards the half item",
                                  "norm and mirror, then a normal piece"};
    const auto add = [&paced](const char *name,
                              const QByteArray &keys,
                              const QStringList &before,
                              const QByteArrayList &scans,
                              const QStringList &rows,
                              const char *runState,
                              int acks,
                              const QStringList &prompts = {}) {
        for (bool real : {false, true}) {
            if (real && !paced.contains(name))
                continue;
            QTest::addRow("%s, %s", name, real ? "real pauses" : "instant pauses")
                << real << keys << before << scans << rows << QString::fromLatin1(runState) << acks
                << prompts;
        }
    };

    add("two-segment item", {}, {}, {"%12PROG.CNC N1 X", "%22600 400 18"}, {ProgRow}, "idle", 1);
    add("two-segment item in pieces",
        {},
        {},
        {"%12PROG|.CNC N1| X", "%22600| 400 18"},
        {ProgRow},
        "idle",
        1);
    add("plain name with default field and auto start",
        "FieldCode_DFN=S\nAutoStart= 1",
        {},
        {"PROG1"},
        {DefaultFieldRow},
        "running",
        1);
    add("field code, then plain name", {}, {}, {"%R%", "PANEL"}, {FieldCodePlainRow}, "idle", 1);
    add("field code fixes the field of segments",
        {},
        {},
        {"%A/%", "%12DOOR.CNC N1 X", "%22600 400 18"},
        {FieldCodeSegmentsRow},
        "idle",
        1);
    add("start and stop in one burst", {}, {}, {"%START%%STOP%"}, {}, "held", 0);
    add("apostrophe label", {}, {}, {"'ABC$123"}, {ApostropheRow}, "idle", 1);
    add("count 9 with program file", {}, {}, {"%19PROG9.CNC N"}, {RepeatRow}, "idle", 1);
    add("clear without half item clears the list",
        {},
        {},
        {"%12PROG.CNC N1 X", "%22600 400 18", "%CLE|AR%"},
        {},
        "idle",
        1);
    add("clear discards the half item",
        {},
        {},
        {"%12PROG.CNC N1 X",
         "%22600 400 18",
         "%12HALF.CNC N1 X",
         "%CLEAR%",
         "%12NEXT.CNC S X",
         "%22700 200 9"},
        {ProgRow, NextRow},
        "idle",
        2);
    // The reset blanks the field a field-code label fixed, but the field stays fixed: the
    // next item keeps the blank field and no field selection runs.
    add("clear keeps the field fixed",
        {},
        {},
        {"%R%", "%12HALF.CNC N1 X", "%CLEAR%", "%12NEXT.CNC S X", "%22700 200 9"},
        {BlankFieldRow},
        "idle",
        1);
    add("norm and mirror, then a normal piece",
        MirrorKeys,
        {},
        {"%12MIRDOOR.CNC N X", "%22500 300 18", "%12PLAIN.CNC N X", "%22500 300 18"},
        {MirrorNormalRow, MirrorMirroredRow, AfterMirrorRow},
        "idle",
        3);
    add("list label for a missing list",
        {},
        {},
        {"%01NOPE"},
        {},
        "idle",
        0,
        {QStringLiteral("List File <root>/lists/NOPE.LST Not Found")});
    add("list label loads a list",
        {},
        {},
        {"%01PANEL1"},
        {QStringLiteral("#161=A.CNC;#171=3;"), QStringLiteral("#161=B.CNC;#171=6;")},
        "idle",
        0);
    add("first label clears the list kept from before",
        {},
        {QStringLiteral("#161=OLD1.CNC;"), QStringLiteral("#161=OLD2.CNC;")},
        {"%STOP%"},
        {},
        "idle",
        0);
}

void tst_ScanPath::scanPath()
{
    QFETCH(bool, realPauses);
    QFETCH(QByteArray, keys);
    QFETCH(QStringList, before);
    QFETCH(QByteArrayList, scans);
    QFETCH(QStringList, rows);
    QFETCH(QString, runState);
    QFETCH(int, acks);
    QFETCH(QStringList, prompts);

    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    writeSettings(root(), pty.slavePath(), keys);
    Rig rig(root(), realPauses);
    for (const QString &row : before)
        rig.store->addRow(row);

    QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
    QVERIFY(rig.port.isOpen());
    QCOMPARE(rig.station.settings().commPollTime, PollMs);
    rig.station.startPolling();

    for (const QByteArray &bytes : scans) {
        scan(rig, pty, bytes);
        if (QTest::currentTestFailed())
            return;
    }

    const QByteArray acknowledged = Ack.repeated(acks);
    QTRY_COMPARE_WITH_TIMEOUT(rig.store->rows(), rows, Patience);
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), acknowledged, Patience);
    QCOMPARE(listmanager::runStateName(rig.store->runState()), runState);
    prompts.replaceInStrings(QStringLiteral("<root>"), root());
    QCOMPARE(rig.prompter.texts(), prompts);

    // Nothing is handled twice: more quiet ticks add no row and no acknowledgement.
    QTest::qWait(4 * PollMs);
    QCOMPARE(rig.store->rows(), rows);
    QCOMPARE(pty.received(), acknowledged);

    // What the list manager was told has reached its files.
    const listmanager::ListStore reloaded(rig.store->folder());
    QCOMPARE(reloaded.rows(), rows);
    QCOMPARE(listmanager::runStateName(reloaded.runState()), runState);
}

void tst_ScanPath::labelScannedDuringThePause()
{
    PtyPair pty;
    if (!pty.isValid())
        QSKIP("no pseudo-terminal available");
    writeSettings(root(), pty.slavePath(), {});
    Rig rig(root(), true);
    QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
    rig.station.startPolling();

    scan(rig, pty, "%12PROG.CNC N1 X");
    if (QTest::currentTestFailed())
        return;
    // Once the item's row is in the list the station pauses with the label still in hand;
    // the operator scans the next label during that pause.
    bool busyWhenScanned = false;
    QObject::connect(
        rig.store.get(),
        &listmanager::ListStore::rowsAppended,
        this,
        [&] {
            QTimer::singleShot(PollMs, this, [&] {
                busyWhenScanned = rig.station.gate().isBusy();
                QVERIFY(pty.write("%R%"));
            });
        },
        Qt::SingleShotConnection);
    const qsizetype mark = rig.display.statusHistory.size();
    QVERIFY(pty.write("%22600 400 18"));
    QTRY_VERIFY_WITH_TIMEOUT(
        rig.display.statusHistory.contains(app::status::readingLabel() + QStringLiteral("%R%"))
            && handledSince(rig, mark),
        Patience);
    QVERIFY(busyWhenScanned);
    scan(rig, pty, "PANEL");

    QTRY_COMPARE_WITH_TIMEOUT(
        rig.store->rows(), (QStringList{ProgRow, PanelAfterResetRow}), Patience);
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), Ack.repeated(2), Patience);
    QTest::qWait(4 * PollMs);
    QCOMPARE(rig.store->rowCount(), 2);
}

void tst_ScanPath::scannerGoesAwayAndComesBack()
{
    auto first = std::make_unique<PtyPair>();
    if (!first->isValid())
        QSKIP("no pseudo-terminal available");
    // The settings name a link, as a udev rule names a USB scanner, so that the device can
    // come back under the same name.
    const QString link = root() + QStringLiteral("/scanner");
    QVERIFY(QFile::link(first->slavePath(), link));
    writeSettings(root(), link, {});
    Rig rig(root(), false);
    QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
    QVERIFY(rig.port.isOpen());
    rig.station.portControl().setReconnectInterval(200);
    rig.station.startPolling();

    // The first half of an item, then the scanner is unplugged.
    scan(rig, *first, "%12PROG.CNC N1 X");
    if (QTest::currentTestFailed())
        return;
    first->closeMaster();

    QTRY_VERIFY_WITH_TIMEOUT(!rig.port.isOpen(), Patience);
    QCOMPARE(rig.display.status(),
             app::PortControl::deviceLostText(link, QStringLiteral("device disconnected")));
    QVERIFY(rig.station.portControl().isReconnecting());
    QVERIFY(rig.prompter.shown.isEmpty());

    // While the scanner is away the station idles: a port left open on a hung-up line would
    // take a whole processor.
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(1000);
    const double cpuUsed = cpuSeconds() - cpuBefore;
    const double wallSeconds = double(wall.elapsed()) / 1000.0;
    QVERIFY2(
        cpuUsed < 0.5 * wallSeconds,
        qPrintable(QStringLiteral("%1 s of processor time in %2 s").arg(cpuUsed).arg(wallSeconds)));
    QVERIFY(!rig.port.isOpen());

    // The scanner comes back under the same name: the port reopens by itself.
    PtyPair second;
    QVERIFY(second.isValid());
    QVERIFY(QFile::remove(link));
    QVERIFY(QFile::link(second.slavePath(), link));
    QTRY_VERIFY_WITH_TIMEOUT(rig.port.isOpen(), Patience);
    QCOMPARE(rig.display.status(), QStringLiteral("Scanner port %1 open again. Ready.").arg(link));
    QVERIFY(!rig.station.portControl().isReconnecting());

    // The item collected before the loss completes with the next label.
    scan(rig, second, "%22600 400 18");
    QTRY_COMPARE_WITH_TIMEOUT(rig.store->rows(), QStringList{ProgRow}, Patience);
    QTRY_COMPARE_WITH_TIMEOUT(second.received(), Ack, Patience);
    QVERIFY(rig.prompter.shown.isEmpty());
}

QTEST_GUILESS_MAIN(tst_ScanPath)
#include "tst_scanpath.moc"
