// A whole station, headless, on the embedded list manager: its start-up and shutdown, and the
// faults planted around it while labels are scanned through its polling tick. Every list
// manager member it calls fails, once or until the fault is lifted; the disk fills up, a folder
// path runs through a plain file, a file is /dev/full, a list file is a folder or a fifo. The
// station keeps running; the label is recovered (AddLine's one retry, the operator's Retry at
// start-up) or abandoned with a message; while a disk fault lasts no file outside the list
// manager's changes (no half-written program beside the old one, the companion CSV and the
// collecting file as they were); no row goes in twice, the retries end, nothing of an abandoned
// item reaches the next one, and once the fault is lifted the next item goes through whole.
//
// Permissions do not stop root, so the disk faults are made in ways that stop anyone: a file
// size limit (a write past it fails part way, as on a full disk), a path through a plain file,
// /dev/full, a folder or a fifo where a file is expected.
//
// The real program is also asked to end by the system (SIGTERM, SIGINT, SIGHUP), which it does
// as when its main window is closed; and it runs with the real list manager as a program of its
// own on a session bus the test starts, the list manager killed, hung and absent (rows read
// back over the bus, as any other client reads them).

#include "BarlinkProcess.h"
#include "JournalFile.h"
#include "ManualClock.h"
#include "PtyPair.h"
#include "Tables.h"
#include "embeddedlist/RunState.h"
#include "listmanager/BusListManager.h"
#include "listmanager/ListManagerLink.h"
#include "listmanagerproxy.h"
#include "program/ProgramBarcode.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace barlink;
using namespace barlink::testing;
using Answer = base::Prompter::Answer;

namespace {

using Rig = StationRig<FakeScannerPort>;

const QString Err440 = base::unexpectedErrorText(base::Error(440, "Automation error"));
const QString Err91
    = base::unexpectedErrorText(base::Error(91, "Object variable or With block variable not set"));
const QString NoList = app::Startup::noListText(Err440);

// Markers in a label list: the planned faults start, or are lifted.
const QByteArray FailMark = "<fail>";
const QByteArray OkMark = "<ok>";

// Two segments with dimensions no other label carries: if they turn up in a later row, the
// abandoned item leaked into it.
const QByteArrayList ProgItem = {"%12PROG.CNC N1 X", "%22611 411 19"};
const QByteArray After = "%19AFTER.CNC N";

// How long the real programs on their bus may take.
constexpr int BusWait = 20000;

// The rows of the current list, read over the bus.
QStringList busRows(PrivateBus &bus)
{
    OrgBarlinkListManagerExeListInterface list(
        QStringLiteral("org.barlink.ListManager"), QStringLiteral("/ExeList/1"), bus.connection());
    QStringList rows;
    const int count = list.rows();
    for (int line = 1; line <= count; ++line)
        rows << rowSummaries({list.GetLine(line).value()});
    return rows;
}

// Scans one label that makes one item and waits for its answer ("ACK\r").
bool scanItem(BarlinkProcess &barlink, PtyPair &pty, const QByteArray &program)
{
    const QByteArray acks = pty.received() + "ACK\r";
    if (!pty.write("%19" + program + " N"))
        return false;
    const QDeadlineTimer deadline(BusWait);
    while (pty.received() != acks && !deadline.hasExpired())
        (void)barlink.waitForLog("\n", 50);
    return pty.received() == acks;
}

// One row of the fault table.
struct Case
{
    QByteArray keys;
    // files: made before start-up, see make(); failing: members as the fault injector names
    // them, "limit:N", "Key=path"
    QStringList files, failing;
    int times = -1;        // -1: until the <ok> mark
    QList<Answer> answers; // to the start-up question, in order
    QByteArrayList labels;
    QStringList rows; // in short, see rowSummaries()
    int acks = 0;
    QStringList prompts; // "<root>" stands for the station's folder
    int calls = 0;       // how often the first failing member was called
    QString runState = QStringLiteral("idle");
};

// The files under root but the list manager's own (data/) and the instance lock (run/).
QMap<QString, QByteArray> stationFiles(const QString &root)
{
    return filesUnder(root, {QStringLiteral("data/"), QStringLiteral("run/")});
}

// Makes `what` under root: "path=bytes" a file, "kind:path" what cannot be read as a list file
// ("gone", "folder", "fifo", "huge", "unreadable").
void make(const QString &root, const QString &what)
{
    const bool plain = what.contains(u'=');
    const QString kind = what.section(u':', 0, 0);
    QFile file(root + u'/' + (plain ? what.section(u'=', 0, 0) : what.section(u':', 1)));
    file.remove();
    if (plain)
        QVERIFY(writeBytes(file.fileName(), what.section(u'=', 1).toLatin1()));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(file.fileName()));
    else if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(file.fileName()).constData(), 0600), 0);
    else if (kind == QLatin1String("huge"))
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(65) << 20)); // sparse
    else if (kind == QLatin1String("unreadable"))
        QVERIFY(writeBytes(file.fileName(), "#161=A.CNC;\r\n")
                && file.setPermissions(QFile::WriteOwner));
}

// A program barcode for PB1 whose program text has `textBytes` characters.
QByteArray programLabel(int textBytes)
{
    QByteArray text = "G71 X800 Y600 Z18\r\n(PB1)\r\n";
    while (text.size() < textBytes)
        text += "N10 G1 X100 Y100\r\n";
    return "PB1^X800^Y600^Z18!" + text.left(textBytes);
}

// The journal of the program run in root, oldest entry first: a label as the journal keeps it, a
// station event by its name ("start", "end", ...).
QStringList journalLabels(const QString &root)
{
    return JournalFile(root + QStringLiteral("/data/barlink/journal.sqlite")).labels();
}

// The lock file QSerialPort keeps for an open device: "/dev/pts/3" has "/var/lock/LCK..pts_3".
QString portLockFile(const QString &device)
{
    return QStringLiteral("/var/lock/LCK..") + QString(device).remove(0, 5).replace(u'/', u'_');
}

} // namespace

Q_DECLARE_METATYPE(Case)

class tst_StationFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        QVERIFY(Rig::prepare(m_dir->path(), "/dev/pts/99", "Settings=19200,E,7,2"));
    }
    void startUp_data();
    void startUp();
    void secondCopyEnds();
    void unusableSettingsFolderIsReported();
    void portNotOpenedAsksForItsSettings();
    void faultWhileScanning_data();
    void faultWhileScanning();
    void settingsFileNotWritten();
    void listManagerListNotRead();
    void settingsProblemsHoldNothingBack();
    void scannerFreedDuringStartup();
    void endsOnSignal_data();
    void endsOnSignal();
    void instanceLockStaysInTheUsersFolders();
    void itemReachesTheListManagerProgram_data();
    void itemReachesTheListManagerProgram();
    void killedDuringAddLine_data();
    void killedDuringAddLine();
    void hungDuringAddLine();
    void noSessionBus();

private:
    std::optional<QTemporaryDir> m_dir;
};

// Start-up and shutdown; the wait for a list that the list manager has not handed out yet.
void tst_StationFaults::startUp_data()
{
    // withheld: lists, -1: NewList fails; commandLine: a text on the command line, no list asked
    // for; answers: to the question for a list; waited: the intervals of the wait for a list
    // (rounds of 3), on the station's clock
    columns<int, bool, QList<Answer>, int>({"withheld", "commandLine", "answers", "waited"});
    QTest::newRow("whole sequence") << 0 << false << QList<Answer>{} << 0;
    QTest::newRow("command line text requests no list") << -1 << true << QList<Answer>{} << 0;
    QTest::newRow("list within the first round") << 2 << false << QList<Answer>{} << 2;
    QTest::newRow("no list, operator goes on")
        << 100 << false << QList<Answer>{Answer::Cancel} << 3;
    QTest::newRow("no list, retry, then list") << 4 << false << QList<Answer>{Answer::Retry} << 4;
}
void tst_StationFaults::startUp()
{
    const int withheld = fetch<int>("withheld");
    const bool commandLine = fetch<bool>("commandLine");
    const QList<Answer> &answers = fetch<QList<Answer>>("answers");
    base::ManualClock clock;
    Rig rig(m_dir->path(), {.clock = &clock});
    rig.faults.setFailing(QStringLiteral("NewList"), withheld < 0);
    rig.faults.withholdList(withheld);
    rig.prompter.answers.append(answers);
    QCOMPARE(rig.station.start(!commandLine), app::Startup::Outcome::Running);
    QCOMPARE(clock.now(), qint64(fetch<int>("waited")));
    QCOMPARE(rig.prompter.texts(), QStringList(answers.size(), app::Startup::noListText({})));
    for (const auto &shown : std::as_const(rig.prompter.shown))
        QCOMPARE(shown.buttons, base::Prompter::Buttons::RetryCancel);
    QCOMPARE(rig.port.openedDevice, QStringLiteral("/dev/pts/99"));
    QCOMPARE(rig.display.currentSettings, QStringLiteral("/dev/pts/99:19200,E,7,2"));
    QCOMPARE(bool(app::StationProbe(rig.station).link().currentList()),
             !commandLine && !answers.contains(Answer::Cancel));
    if (answers.contains(Answer::Cancel))
        QCOMPARE(rig.display.status(), app::Startup::noListStatus());
    QVERIFY(app::StationProbe(rig.station).link().application()
            && rig.station.item().clearListPending);
    rig.station.shutdown();
    QVERIFY(!rig.port.isOpen() && !app::StationProbe(rig.station).link().application());
    QVERIFY(!app::StationProbe(rig.station).link().currentList());
}

void tst_StationFaults::secondCopyEnds()
{
    Rig first(m_dir->path());
    QCOMPARE(first.station.start(true), app::Startup::Outcome::Running);
    Rig second(m_dir->path());
    QCOMPARE(second.station.start(true), app::Startup::Outcome::AlreadyRunning);
    QCOMPARE(second.prompter.texts(), QStringList{"the BarCode Program is already running!"});
    QCOMPARE(second.prompter.shown.first().icon, base::Prompter::Icon::Warning);
    QCOMPARE(second.port.openCalls, 0);
    QVERIFY(first.port.isOpen());
}

// A port that cannot be opened: on the operator's word the station asks its window for the port
// settings dialog. The list manager's window is shown on request.
void tst_StationFaults::portNotOpenedAsksForItsSettings()
{
    Rig rig(m_dir->path());
    rig.port.failOpen = true;
    // "Open the port settings?" when the device is not there.
    rig.prompter.answers << Answer::Yes;
    QSignalSpy dialogWanted(&rig.station, &app::Station::portSettingsRequested);
    (void)rig.station.start(true);
    QCOMPARE(dialogWanted.size(), 1);
    listmanager::ListManagerLink &link = app::StationProbe(rig.station).link();
    if (link.application())
        link.application()->setVisible(false);
    rig.station.showList();
    QVERIFY(link.application() && link.application()->visible());
}

// The settings folder a symbolic link to itself: looking into it fails, which is reported, and
// start-up goes on.
void tst_StationFaults::unusableSettingsFolderIsReported()
{
    QTemporaryDir root;
    QVERIFY(QFile::link(root.filePath("windows"), root.filePath("windows")));
    Rig rig(root.path());
    QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
    QCOMPARE(rig.prompter.texts(),
             QStringList{"Unexpected error # 52 occured: Bad file name or number"});
    QVERIFY(app::StationProbe(rig.station).link().currentList());
    QVERIFY(rig.station.item().clearListPending);
}

void tst_StationFaults::faultWhileScanning_data()
{
    QTest::addColumn<Case>("c");
    const QStringList none;
    const Answer R = Answer::Retry, C = Answer::Cancel;
    const auto abandoned
        = [](const QString &why) { return QStringLiteral("Program barcode abandoned: ") + why; };
    const auto plus = [](QByteArrayList a, const QByteArrayList &b) { return a << b; };
    // clang-format off
    // A list manager member fails.
    const auto member = [&](const char *name, const QByteArray &keys, const QString &failing, int times,
                            const QList<Answer> &answers, const QByteArrayList &labels, const QStringList &rows,
                            int acks, const QStringList &prompts, int calls, const char *runState = "idle") {
        QTest::newRow(name) << Case{keys, none, failing.split(u','), times, answers, labels, rows, acks,
                                    prompts, calls, QString::fromLatin1(runState)};
    };
    // The disk fails between the marks.
    const auto disk = [&](const char *name, const QStringList &files, const QString &failing,
                          const QByteArrayList &labels, const QStringList &rows, int acks,
                          const QStringList &prompts) {
        QTest::newRow(name) << Case{{}, files, failing.isEmpty() ? none : QStringList{failing}, -1, {},
                                    labels, rows, acks, prompts};
    };
    const QString one = "ONE.CNC f1 xx r999", prog = "PROG.CNC f7 611x411x19 r1", after = "AFTER.CNC f1 xx r999";

    // Start-up: the Application and the list.
    member("CreateApplication once", {}, "CreateApplication", 1, {}, {"%19ONE.CNC N"}, {one}, 1, {Err440}, 2);
    member("CreateApplication always, operator gives up", {}, "CreateApplication", -1, {C}, {"%19ONE.CNC N"}, none, 0, {Err440, app::Startup::noListText(Err440), Err91}, 2);
    member("NewList once, operator retries", {}, "NewList", 1, {R}, {"%19ONE.CNC N"}, {one}, 1, {NoList}, 2);
    member("NewList always, operator retries twice then gives up", {}, "NewList", -1, {R, R, C}, {"%19ONE.CNC N"}, none, 0, {NoList, NoList, NoList, Err91}, 3);

    // Adding the row, with its one recovery through the late-bound list.
    member("AddLine once: recovered", {}, "AddLine", 1, {}, plus(ProgItem, {After}), {prog, after}, 2, none, 3);
    member("AddLine always: one retry, then abandoned", {}, "AddLine", -1, {}, plus(ProgItem, {OkMark, After}), {after}, 1, {Err440}, 3);
    member("AddLine once on a mirror piece: both rows", SelectionKeys + MirrorKeys, "AddLine", 1, {}, {"%12MIRDOOR.CNC N X", "%22500 300 18"}, {"MIRDOOR.CNC f3 500x300x18 r1", "MIRDOOR.CNC f4 500x300x18 r1"}, 2, none, 3);
    member("CreateObject fails during the recovery", {}, "AddLine,CreateObject", 1, {}, plus(ProgItem, {After}), {after}, 1, {Err440}, 2);
    member("late-bound Visible fails during the recovery", {}, "AddLine,Helicon.ExeList.Visible", 1, {}, plus(ProgItem, {After}), {after}, 1, {Err440}, 2);
    member("AddLine always on a program barcode", {}, "AddLine", -1, {}, {"PB1^X800^Y600^Z18!G71 X800 Y600 Z18\r\n(PB1)\r\nN1\r\n", OkMark, After}, {after}, 1, {abandoned("the list manager failed to add the row: " + Err440)}, 3);

    // Clearing the list: the first item after start-up (the item fails with its clear, which
    // stays pending), "%CLEAR%", automatic clear (not again after the first clear), and the
    // clear before a list load, segment or program barcode (whose failure ends the label before
    // the load: the list keeps its row, and gets no list on top of it).
    member("ClearList once on the first item", {}, "ClearList", 1, {}, plus(ProgItem, ProgItem), {prog}, 1, {Err440}, 2);
    member("ClearList always on the first item", {}, "ClearList", -1, {}, plus(ProgItem, {OkMark, After}), {after}, 1, {Err440}, 2);
    member("ClearList on %CLEAR%", {}, "ClearList", -1, {}, {"%19ONE.CNC N", FailMark, "%CLEAR%", OkMark, After}, {one, after}, 2, {Err440}, 2);
    member("ClearList on automatic clear", "AutoClear= 1", "ClearList", -1, {}, plus(plus({"%19ONE.CNC N", FailMark}, ProgItem), {OkMark, After}), {after}, 2, {Err440}, 3);
    member("ClearList before a list load", {}, "ClearList", -1, {}, {"%19ONE.CNC N", FailMark, "%01PANEL1"}, {one}, 1, {Err440}, 2);
    member("ClearList before a program barcode list load", {}, "ClearList", -1, {}, {"%19ONE.CNC N", FailMark, "*%00PANEL1^^"}, {one}, 1, {abandoned("the list manager failed to clear the list: " + Err440)}, 2);

    // The list commands and the list load.
    member("OpenList ends quietly", {}, "OpenList", -1, {}, {"%19ONE.CNC N", FailMark, "%01PANEL1", OkMark, After}, {after}, 2, none, 1);
    member("StartList on %START%", {}, "StartList", -1, {}, {"%19ONE.CNC N", FailMark, "%START%", OkMark, After}, {one, after}, 2, {Err440}, 1);
    member("StartList after an added row", "AutoStart= 1", "StartList", -1, {}, {FailMark, "%19ONE.CNC N", OkMark, After}, {one, after}, 1, {Err440 + QStringLiteral(". Rows of this item already added: 1.")}, 2, "running");
    member("StartList after a program barcode's row", "AutoStart= 1", "StartList", -1, {}, {FailMark, programLabel(30), OkMark, After}, {"PB1 f37 800x600x18 r1 c:PB1", after}, 1, {abandoned("the list manager failed to start the list: " + Err440) + QStringLiteral(". Rows of this item already added: 1.")}, 2, "running");
    member("HoldList on %STOP%", {}, "HoldList", -1, {}, {"%START%", FailMark, "%STOP%", OkMark, After}, {after}, 1, {Err440}, 1, "running");
    member("EndList on %END%", {}, "EndList", -1, {}, {"%START%", FailMark, "%END%", OkMark, After}, {after}, 1, {Err440}, 1, "running");
    member("Setpoint on %SETPOINT%", {}, "Setpoint", -1, {}, {FailMark, "%SETPOINT%", "%SETP%", OkMark, After}, {after}, 1, {Err440, Err440}, 2);

    // The program file: the old one stays whole, nothing half written beside it.
    const QStringList oldProgram{"gcode/PB1=G71 X1 Y1 Z1\r\n(OLD)\r\n"};
    const QByteArray program = programLabel(20000);
    const QString pb1 = QStringLiteral("PB1 f37 800x600x18 r1 c:PB1");
    disk("g-code folder path runs through a plain file", oldProgram + QStringList{"plainfile=x"}, "GCodePath=<root>/plainfile/", {FailMark, program, OkMark, program}, {pb1}, 0, {abandoned("the program file <root>/plainfile/PB1 could not be written (Not a directory).")});
    disk("disk fills up while the program is written", oldProgram, "limit:4096", {FailMark, program, OkMark, program}, {pb1}, 0, {abandoned("the program file <root>/gcode/PB1 could not be written (Unknown error).")});

    // The collecting file: the companion CSV stays where it was, and the item whose program
    // named it is abandoned whole.
    const QStringList csv{"collected.csv=EARLIER;LINE;WRITTEN;BEFORE\r\n", "csvin/PROG.CSV=PROG;1;600;400\r\n"};
    const QByteArrayList twice{FailMark, "%22600 400 18", "%12PROG.CNC N1 X", OkMark, "%22600 400 18", "%12PROG.CNC N1 X"};
    const QString full = "Unexpected error # 61 occured: Disk full", progCsv = "PROG.CNC f7 600x400x18 r1";
    disk("collecting file on /dev/full, segment label", csv, "CSVOutPath=/dev/full", twice, {progCsv}, 1, {full});
    disk("collecting file on /dev/full, plain name", csv, "CSVOutPath=/dev/full", {FailMark, "%R%", "PROG", OkMark, "%R%", "PROG"}, {"PROG.CNC f6 xx r1"}, 1, {full});
    disk("disk fills up while the collecting file grows", csv, "limit:35", twice, {progCsv}, 1, {"Unexpected error # 75 occured: Path/File access error"});

    // The list manager's list cannot grow: no part of the row in the list or its file.
    disk("list manager's list cannot grow", none, "limit:150", plus(plus({"%19ONE.CNC N", FailMark}, ProgItem), plus({OkMark}, ProgItem)), {one, prog}, 2, {"Unexpected error # 57 occured: Device I/O error"});

    // A list file that cannot be read: only a missing one is the operator's business. The list
    // was cleared for the list that was to come, as a list label always does.
    const QByteArrayList load{"%19ONE.CNC N", "%01PANEL1", "%19TWO.CNC N"};
    const QStringList two{"TWO.CNC f1 xx r999"};
    disk("list file missing", {"gone:lists/PANEL1.LST"}, {}, load, two, 2, {"List File <root>/lists/PANEL1.LST Not Found"});
    for (const char *kind : {"folder", "fifo", "huge", "unreadable"})
        disk(kind, {kind + QStringLiteral(":lists/PANEL1.LST")}, {}, load, two, 2, none);
    // clang-format on
}

void tst_StationFaults::faultWhileScanning()
{
    QFETCH(Case, c);
    const QString root = m_dir->path();
    QVERIFY(Rig::prepare(root, QStringLiteral("/dev/scanner"), c.keys));
    QVERIFY(writeBytes(root + "/lists/PANEL1.LST", "#161=A.CNC;#171=3;\r\n#161=B.CNC;#171=6;\r\n"));
    if (c.files.join(u' ').contains(u"unreadable:") && ::geteuid() == 0)
        QSKIP("permissions do not stop root");
    for (const QString &file : std::as_const(c.files))
        make(root, file);
    if (QTest::currentTestFailed())
        return;

    Rig rig(root);
    rig.prompter.answers.append(c.answers);
    bool failed = false;
    QObject::connect(&rig.station,
                     &app::Station::labelHandled,
                     [&failed](const QString &, const base::LabelOutcome &outcome) {
                         failed = outcome.result == base::LabelOutcome::Result::Failed;
                     });
    std::optional<FileSizeLimit> limit;
    base::Settings beforeFault;
    QMap<QString, QByteArray> filesBeforeFault;
    const auto startFaults = [&] {
        beforeFault = rig.station.settings();
        filesBeforeFault = stationFiles(root);
        for (QString fault : std::as_const(c.failing)) {
            const QString value = fault.replace(QStringLiteral("<root>"), root).section(u'=', 1);
            if (fault.startsWith(u"limit:"))
                limit.emplace(fault.mid(6).toInt());
            else if (fault.startsWith(u"GCodePath="))
                app::StationProbe(rig.station).settings().gcodePath = value;
            else if (fault.startsWith(u"CSVOutPath="))
                app::StationProbe(rig.station).settings().csvOutPath = value;
            else if (c.times < 0)
                rig.faults.setFailing(fault, true);
            else
                rig.faults.failNext(fault, c.times);
        }
    };

    if (!c.labels.contains(FailMark))
        startFaults();
    QVERIFY(rig.start());
    for (const QByteArray &label : std::as_const(c.labels)) {
        if (label == FailMark) {
            startFaults();
        } else if (label == OkMark) {
            // While a disk fault lasted, no file outside the list manager's changed.
            QVERIFY(!limit || limit->isSet());
            if (c.calls == 0) // a disk fault
                QCOMPARE(stationFiles(root), filesBeforeFault);
            limit.reset();
            app::StationProbe(rig.station).settings() = beforeFault;
            rig.faults.reset();
        } else {
            // No fault may reach the event loop, and the label never stays in hand.
            failed = false;
            rig.scanWithTicks(label);
            QVERIFY2(app::StationProbe(rig.station).poller().scanBuffer().isEmpty(),
                     label.constData());
            QVERIFY(!app::StationProbe(rig.station).gate().isBusy());
            // A label that failed lights nothing: the operator scans it again.
            if (failed)
                QVERIFY2(!std::ranges::count(rig.display.segments, true), label.constData());
        }
    }

    QCOMPARE(rig.rows(), c.rows);
    QCOMPARE(rig.port.sent, QByteArray("ACK\r").repeated(c.acks));
    QCOMPARE(rig.prompter.texts(), c.prompts.replaceInStrings(QStringLiteral("<root>"), root));
    if (c.calls)
        QCOMPARE(rig.faults.calls(c.failing.first()), c.calls);
    QCOMPARE(embeddedlist::runStateName(rig.store->runState()), c.runState);
    // What the list shows is what its files hold.
    QCOMPARE(embeddedlist::ListStore(rig.store->folder()).rows(), rig.store->rows());
}

// An option switch the settings file cannot take: the operator hears of it at once, the file
// keeps every byte, no stray copy is left, and the station goes on.
void tst_StationFaults::settingsFileNotWritten()
{
    Rig rig(m_dir->path());
    QVERIFY(rig.start());
    const QMap<QString, QByteArray> before = stationFiles(m_dir->path());
    {
        const FileSizeLimit limit(1);
        QVERIFY(limit.isSet());
        rig.station.options().setValueByUser(base::Options::AutoClear, 1);
    }
    QCOMPARE(rig.prompter.shown.size(), 1);
    QCOMPARE(rig.prompter.shown[0].icon, base::Prompter::Icon::Critical);
    QVERIFY(rig.prompter.shown[0].text.startsWith(u"Unexpected error #"));
    QCOMPARE(stationFiles(m_dir->path()), before);
    rig.scanWithTicks("%19ONE.CNC N");
    QCOMPARE(rig.store->rowCount(), 1);
}

// The list manager's list is there but cannot be read (a fifo, or no permission to read, which
// does not stop root): it refuses to start on an empty list, which would replace the one on
// disk at the first change.
void tst_StationFaults::listManagerListNotRead()
{
    for (const bool fifo : {true, false}) {
        if (!fifo && ::geteuid() == 0)
            continue;
        QTemporaryDir dir;
        const QString listFile = dir.filePath(QStringLiteral("current.lst"));
        make(dir.path(), (fifo ? "fifo:" : "unreadable:") + QStringLiteral("current.lst"));
        QVERIFY_THROWS_EXCEPTION(base::Error, embeddedlist::ListStore store(dir.path()));
        QVERIFY(QFile::setPermissions(listFile, QFile::ReadOwner | QFile::WriteOwner));
        if (!fifo)
            QCOMPARE(readBytes(listFile), QByteArray("#161=A.CNC;\r\n"));
    }
}

// Without a runtime folder the single-instance lock goes to the user's own data folder, not to
// a shared temporary folder where another user could plant its name. It changes the
// environment, so it runs last.
void tst_StationFaults::instanceLockStaysInTheUsersFolders()
{
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_DATA_HOME", m_dir->filePath("data").toLocal8Bit());
    QCOMPARE(app::InstanceCounter::defaultLockDir(), m_dir->filePath("data/barlink"));
}

// The real program with values in its settings file that it does not use as written: they are
// listed in a window that holds nothing back, and a label scanned while it is open is answered.
void tst_StationFaults::settingsProblemsHoldNothingBack()
{
    NEED_PTY(pty);
    BarlinkProcess barlink(m_dir->path(), pty.slavePath(), "RefuseReply=\\q\r\nJournalDays=1,000");
    QVERIFY2(barlink.start(), barlink.log().constData());
    QVERIFY(pty.write("%19PROG.CNC N"));
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray("ACK\r"), 20000);
    // The window was shown before the station took its first label, and nothing closes it.
    QVERIFY2(barlink.log().contains("barlink.app.startup: settings problems shown: 2"),
             barlink.log().constData());
}

// The real program whose scanner another program holds, named by a link as a udev rule names
// it: start-up says the scanner is not there and waits. Once the holder lets go the port
// opens, the question closes by itself, and labels are taken at once, no one answering.
void tst_StationFaults::scannerFreedDuringStartup()
{
    NEED_PTY(pty);
    const QString link = m_dir->filePath(QStringLiteral("scanner"));
    QVERIFY(QFile::link(pty.slavePath(), link));
    // The lock a station takes on its scanner, held by this process.
    const int holder
        = ::open(QFile::encodeName(pty.slavePath()).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    QVERIFY(holder >= 0);
    QCOMPARE(::flock(holder, LOCK_EX | LOCK_NB), 0);
    BarlinkProcess barlink(m_dir->path(), link);
    QVERIFY2(barlink.start("barlink.app.prompt: message box: The scanner is not connected"),
             barlink.log().constData());
    QCOMPARE(::close(holder), 0);
    QVERIFY2(barlink.waitForLog("barlink.scanner: opened"), barlink.log().constData());
    for (const QByteArray label : {"%19ONE.CNC N", "%19TWO.CNC N"}) {
        const QByteArray acks = pty.received() + "ACK\r";
        QVERIFY(pty.write(label));
        QTRY_COMPARE_WITH_TIMEOUT(pty.received(), acks, 20000);
    }
    QVERIFY(barlink.log().contains("message box withdrawn"));
    QCOMPARE(rowSummaries(embeddedlist::ListStore(barlink.listFolder()).rows()),
             (QStringList{"ONE.CNC f1 xx r999", "TWO.CNC f1 xx r999"}));
}

// The real program asked to end by the system ends as when its main window is closed, a
// message box open or not: the label in hand is done, the journal's "end" comes last, the
// instance lock and the port's lock file are gone, the list is whole, the exit status is 0. A
// second signal while it ends ends it at once.
void tst_StationFaults::endsOnSignal_data()
{
    // second: 0 for none; messageBox: a message box is open when the signal comes
    columns<int, int, bool>({"first", "second", "messageBox"});
    QTest::newRow("SIGTERM") << SIGTERM << 0 << false;
    QTest::newRow("SIGTERM while a message box is open") << SIGTERM << 0 << true;
    QTest::newRow("SIGTERM then SIGINT: ends at once") << SIGTERM << SIGINT << false;
}

void tst_StationFaults::endsOnSignal()
{
    const int first = fetch<int>("first"), second = fetch<int>("second");
    const bool messageBox = fetch<bool>("messageBox");
    NEED_PTY(pty);
    const QString root = m_dir->path();
    QVERIFY(writeBytes(root + "/gcode/BAD.CNC", "G90 X10\n(DOOR)\n"));
    BarlinkProcess barlink(root, pty.slavePath());
    QVERIFY2(barlink.start(), barlink.log().constData());
    QVERIFY(pty.write("%12ITEM.CNC N1 X"));
    QVERIFY(barlink.waitForLog("barlink.label: label \"%12ITEM.CNC N1 X\""));
    QVERIFY(pty.write("%22600 400 18"));
    QTRY_COMPARE_WITH_TIMEOUT(pty.received(), QByteArray("ACK\r"), 20000);
    QStringList rows{"ITEM.CNC f7 600x400x18 r1"};
    const QString instanceLock = root + QStringLiteral("/run/BarCode.lock");
    const QString portLock = portLockFile(pty.slavePath());
    QVERIFY(QFile::exists(instanceLock));
    QVERIFY(QFile::exists(portLock));
    if (messageBox) {
        // An item of one label: the operator is told that its program is no program file, and
        // the row goes once the message is answered.
        QVERIFY(pty.write("%11BAD.CNC N"));
        QVERIFY2(barlink.waitForLog("Not a proper program file"), barlink.log().constData());
        rows << "BAD.CNC f1 xx r1";
    }

    const pid_t pid = pid_t(barlink.process().processId());
    if (second) {
        // Stopped, the program's main thread takes both signals before it runs on: the second
        // comes while it ends, whatever the machine's load. (Sent to that thread alone: sent to
        // the process, another thread could take one while the main thread goes on.)
        siginfo_t stopped{};
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        QCOMPARE(::waitid(P_PID, id_t(pid), &stopped, WSTOPPED | WNOWAIT), 0);
        QCOMPARE(::syscall(SYS_tgkill, pid, pid, first), 0);
        QCOMPARE(::syscall(SYS_tgkill, pid, pid, second), 0);
        QCOMPARE(::kill(pid, SIGCONT), 0);
    } else {
        QCOMPARE(::kill(pid, first), 0);
    }
    QVERIFY(barlink.process().waitForFinished(20000));
    const QStringList journal = journalLabels(root);
    QCOMPARE(journal.value(0), QStringLiteral("start"));
    if (second) {
        QCOMPARE(barlink.process().exitStatus(), QProcess::CrashExit);
        QVERIFY(!journal.contains(QStringLiteral("end")));
    } else {
        QVERIFY2(barlink.process().exitStatus() == QProcess::NormalExit
                     && barlink.process().exitCode() == 0,
                 barlink.log().constData());
        QCOMPARE(journal.count(QStringLiteral("end")), 1);
        QCOMPARE(journal.last(), QStringLiteral("end"));
        // The label in hand was done before the end, as though its message had been answered.
        if (messageBox)
            QCOMPARE(journal.value(journal.size() - 2), QStringLiteral("%11BAD.CNC N"));
        QCOMPARE(pty.received(), QByteArray("ACK\r").repeated(rows.size()));
        QVERIFY(!QFile::exists(instanceLock));
        QVERIFY(!QFile::exists(portLock));
    }
    QCOMPARE(rowSummaries(embeddedlist::ListStore(barlink.listFolder()).rows()), rows);
}

// A scanned item becomes a row of the list manager, a process of its own started at the
// station's first call: by the bus from its service file (the package), or by the station from
// beside its own program (the build tree, the demo: no service file). The station's end leaves
// it running, its list whole.
void tst_StationFaults::itemReachesTheListManagerProgram_data()
{
    columns<bool>({"serviceFile"});
    QTest::newRow("started by the bus") << true;
    QTest::newRow("started by the station") << false;
}

void tst_StationFaults::itemReachesTheListManagerProgram()
{
    NEED_PTY(pty);
    const bool serviceFile = fetch<bool>("serviceFile");
    BarlinkProcess barlink(m_dir->path(), pty.slavePath());
    if (!serviceFile)
        QVERIFY(QFile::remove(m_dir->path()
                              + QStringLiteral("/bus/services/org.barlink.ListManager.service")));
    QVERIFY2(barlink.start(), barlink.log().constData());
    QVERIFY2(scanItem(barlink, pty, "ONE.CNC"), barlink.log().constData());
    // The program's standard error is a pipe of its own: its line may come after the "ACK".
    const QByteArray starting = "barlink.listmanager.bus: starting";
    QCOMPARE(serviceFile ? barlink.log().contains(starting) : barlink.waitForLog(starting, 5000),
             !serviceFile);
    const pid_t listManager = barlink.bus().owner();
    QVERIFY(listManager != 0);
    QVERIFY(listManager != pid_t(barlink.process().processId()));
    QCOMPARE(busRows(barlink.bus()), QStringList{"ONE.CNC f1 xx r999"});

    barlink.process().terminate();
    QVERIFY(barlink.process().waitForFinished(BusWait));
    QCOMPARE(barlink.bus().owner(), listManager);
    QCOMPARE(busRows(barlink.bus()), QStringList{"ONE.CNC f1 xx r999"});
}

// The list manager dies while an AddLine is on its way: before the row is stored, or after it
// reached the disk but before the answer. The station starts it again, asks whether the row
// got in, and adds it only if not; "ACK" comes once the row is in, and it is in once.
void tst_StationFaults::killedDuringAddLine_data()
{
    columns<QString>({"fault"});
    QTest::newRow("before the row is stored") << QStringLiteral("die-before-add");
    QTest::newRow("after the row is stored, before the answer") << QStringLiteral("die-after-add");
}

void tst_StationFaults::killedDuringAddLine()
{
    NEED_PTY(pty);
    const QString fault = fetch<QString>("fault");
    BarlinkProcess barlink(m_dir->path(), pty.slavePath());
    // The first list manager, started by hand with the fault; the bus starts the next one.
    QProcess faulty;
    QProcessEnvironment env = barlink.process().processEnvironment();
    env.insert(QStringLiteral("BARLINK_LISTMANAGER_FAULT"), fault);
    faulty.setProcessEnvironment(env);
    faulty.start(QStringLiteral(BARLINK_LISTMANAGER_BINARY), {QStringLiteral("--hidden")});
    const pid_t first = barlink.bus().awaitOwner();
    QCOMPARE(first, pid_t(faulty.processId()));

    QVERIFY2(barlink.start(), barlink.log().constData());
    QVERIFY2(scanItem(barlink, pty, "ONE.CNC"), barlink.log().constData());
    QVERIFY(faulty.waitForFinished(BusWait));
    QCOMPARE(faulty.exitStatus(), QProcess::CrashExit);
    QVERIFY(barlink.bus().owner() != first);
    QCOMPARE(busRows(barlink.bus()), QStringList{"ONE.CNC f1 xx r999"});
    QVERIFY2(scanItem(barlink, pty, "TWO.CNC"), barlink.log().constData());
    QCOMPARE(busRows(barlink.bus()), (QStringList{"ONE.CNC f1 xx r999", "TWO.CNC f1 xx r999"}));
}

// The station's link to a list manager that hangs with an AddLine in hand: each call gives up
// after its bound while the event loop keeps running, and the row fails with the reason. Once
// the list manager runs again it stores the row; the same row tried again (the operator scans
// the item again: it got no "ACK") finds it there and is not added a second time.
void tst_StationFaults::hungDuringAddLine()
{
    PrivateBus bus(m_dir->path() + QStringLiteral("/bus"), QString());
    QVERIFY(bus.isValid());
    QProcess hanging;
    QProcessEnvironment env = bus.env(PrivateBus::programEnv(m_dir->path()));
    env.insert(QStringLiteral("BARLINK_LISTMANAGER_FAULT"), QStringLiteral("stop-at-first-add"));
    hanging.setProcessEnvironment(env);
    hanging.start(QStringLiteral(BARLINK_LISTMANAGER_BINARY), {QStringLiteral("--hidden")});
    QCOMPARE(bus.awaitOwner(), pid_t(hanging.processId()));

    listmanager::BusListManagerProvider provider(
        [] {
            return listmanager::BusListManagerProvider::Target{
                QStringLiteral("org.barlink.ListManager"), 300};
        },
        bus.connection());
    listmanager::ListManagerLink link;
    link.setApplication(provider.createApplication());
    link.setCurrentList(link.application()->newList());
    QVERIFY(link.currentList());

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(10);
    QString failure;
    try {
        link.addRow(QStringLiteral("#161=ONE.CNC;"), provider);
    } catch (const base::Error &error) {
        failure = error.description();
    }
    ticker.stop();
    QCOMPARE(failure,
             QStringLiteral("the list manager org.barlink.ListManager did not answer "
                            "within 0.3 s"));
    QVERIFY2(ticks > 0, "the event loop did not run while the list manager was waited for");

    QCOMPARE(::kill(pid_t(hanging.processId()), SIGCONT), 0);
    link.addRow(QStringLiteral("#161=ONE.CNC;"), provider);
    link.addRow(QStringLiteral("#161=TWO.CNC;"), provider);
    QCOMPARE(busRows(bus), (QStringList{"ONE.CNC f xx r", "TWO.CNC f xx r"}));
    hanging.kill();
    hanging.waitForFinished(BusWait);
}

// Without a session bus the station says so at start, plainly, and what to do; it does not
// hang waiting for one.
void tst_StationFaults::noSessionBus()
{
    NEED_PTY(pty);
    BarlinkProcess barlink(m_dir->path(), pty.slavePath());
    QProcessEnvironment env = barlink.process().processEnvironment();
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.remove(QStringLiteral("DISPLAY"));
    barlink.process().setProcessEnvironment(env);
    QVERIFY2(barlink.start("barlink.app.prompt: message box: "), barlink.log().constData());
    QVERIFY2(barlink.waitForLog("no session bus"), barlink.log().constData());
    QVERIFY2(barlink.log().contains("dbus-run-session"), barlink.log().constData());
}

QTEST_GUILESS_MAIN(tst_StationFaults)
#include "tst_stationfaults.moc"
