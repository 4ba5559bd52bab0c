// Faults planted around a whole station while labels are scanned through its polling tick:
// every list manager member it calls fails, once or until the fault is lifted; the disk fills
// up, a folder path runs through a plain file, a file is /dev/full, a list file is a folder or
// a fifo. The station keeps running; the label is recovered (AddLine's one retry, the
// operator's Retry at start-up) or abandoned with a message; while a disk fault lasts no file
// outside the list manager's changes (no half-written program beside the old one, the
// companion CSV and the collecting file as they were); no row goes in twice, the retries end,
// nothing of an abandoned item reaches the next one, and once the fault is lifted the next
// item goes through whole.
//
// Permissions do not stop root, so the disk faults are made in ways that stop anyone: a file
// size limit (RLIMIT_FSIZE: a write past it fails part way, as on a full disk), a path through
// a plain file, /dev/full, a folder or a fifo where a file is expected.

#include "StationRig.h"
#include "embeddedlist/RunState.h"
#include "program/ProgramBarcode.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace barlink;
using namespace barlink::testing;

namespace {

using Rig = StationRig<FakeScannerPort>;

const QString Err440 = unexpectedErrorText(Error(440, QStringLiteral("Automation error")));
const QString Err91 = unexpectedErrorText(
    Error(91, QStringLiteral("Object variable or With block variable not set")));

// Markers in a label list: the planned faults start, or are lifted.
const QByteArray FailMark = "<fail>";
const QByteArray OkMark = "<ok>";

// Two segments with dimensions no other label carries: if they turn up in a later row, the
// abandoned item leaked into it.
const QByteArrayList ProgItem = {"%12PROG.CNC N1 X", "%22611 411 19"};
const QByteArray After = "%19AFTER.CNC N";

// While it lives, no file of this process may grow beyond `bytes`.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    [[nodiscard]] bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    bool m_set = false;
    void (*m_oldHandler)(int) = nullptr;
};

// The regular files under root with their bytes (their size, beyond 1 MB), but the list
// manager's own (data/) and the instance lock (run/).
QMap<QString, QByteArray> filesUnder(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = it.next().mid(root.size() + 1);
        if (relative.startsWith(QLatin1String("data/"))
            || relative.startsWith(QLatin1String("run/")))
            continue;
        files.insert(relative,
                     it.fileInfo().size() > (1 << 20) ? QByteArray::number(it.fileInfo().size())
                                                      : readBytes(it.filePath()));
    }
    return files;
}

// Makes `what` under root: "path=bytes" a file, "kind:path" what cannot be read as
// a list file ("gone", "folder", "fifo", "huge", "unreadable").
void make(const QString &root, const QString &what)
{
    const qsizetype equals = what.indexOf(u'=');
    if (equals > 0) {
        QVERIFY(writeBytes(root + u'/' + what.left(equals), what.mid(equals + 1).toLatin1()));
        return;
    }
    const QString kind = what.section(u':', 0, 0);
    const QString path = root + u'/' + what.section(u':', 1);
    QVERIFY(QFile::remove(path));
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("huge")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(65) << 20)); // sparse
    } else if (kind == QLatin1String("unreadable")) {
        QVERIFY(writeBytes(path, "#161=A.CNC;\r\n"));
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    }
}

// A program barcode for PB1 whose program text has `textBytes` characters.
QByteArray programLabel(int textBytes)
{
    QByteArray text = "G71 X800 Y600 Z18\r\n(PB1)\r\n";
    while (text.size() < textBytes)
        text += "N10 G1 X100 Y100\r\n";
    text.truncate(textBytes);
    return "PB1^X800^Y600^Z18!" + text;
}

QString programAbandoned(const QString &reason)
{
    return program::ProgramBarcode::abandonedText(reason);
}

} // namespace

class tst_StationFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faultWhileScanning_data();
    void faultWhileScanning();
    void settingsFileNotWritten();
    void listManagerListNotRead_data();
    void listManagerListNotRead();
};

void tst_StationFaults::faultWhileScanning_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QStringList>("files");   // made before start-up, see make()
    QTest::addColumn<QStringList>("failing"); // members, as the fault injector names them;
                                              // "limit:N", "GCodePath=P", "CSVOutPath=P"
    QTest::addColumn<int>("times");           // -1: until the <ok> mark
    QTest::addColumn<QStringList>("answers"); // to the start-up question, in order
    QTest::addColumn<QByteArrayList>("labels");
    QTest::addColumn<QStringList>("rows"); // in short, see rowSummaries()
    QTest::addColumn<int>("acks");
    QTest::addColumn<QStringList>("prompts"); // "<root>/" stands for the station's folder
    QTest::addColumn<QString>("counted");     // a member whose calls are counted ...
    QTest::addColumn<int>("calls");           // ... and how often it must have been called
    QTest::addColumn<QString>("runState");

    const QStringList none;
    const auto plus = [](QByteArrayList a, const QByteArrayList &b) { return a << b; };
    // A list manager member fails.
    const auto member = [&](const char *name,
                            const QByteArray &keys,
                            const QString &failing,
                            int times,
                            const QStringList &answers,
                            const QByteArrayList &labels,
                            const QStringList &rows,
                            int acks,
                            const QStringList &prompts,
                            int calls,
                            const char *runState = "idle") {
        QTest::newRow(name) << keys << none << failing.split(u',') << times << answers << labels
                            << rows << acks << prompts << failing.section(u',', 0, 0) << calls
                            << QString(runState);
    };
    // The disk fails between the marks.
    const auto disk = [&](const char *name,
                          const QStringList &files,
                          const QString &failing,
                          const QByteArrayList &labels,
                          const QStringList &rows,
                          int acks,
                          const QStringList &prompts) {
        QTest::newRow(name) << QByteArray() << files
                            << (failing.isEmpty() ? none : QStringList{failing}) << -1 << none
                            << labels << rows << acks << prompts << QString() << 0
                            << QStringLiteral("idle");
    };
    const QString one = QStringLiteral("ONE.CNC f1 xx r999");
    const QString prog = QStringLiteral("PROG.CNC f7 611x411x19 r1");
    const QString after = QStringLiteral("AFTER.CNC f1 xx r999");

    // clang-format off
    // Start-up: the Application and the list.
    member("CreateApplication once", {}, "CreateApplication", 1, none, {"%19ONE.CNC N"}, {one}, 1,
           {Err440}, 2);
    member("CreateApplication always, operator gives up", {}, "CreateApplication", -1, {"cancel"},
           {"%19ONE.CNC N"}, none, 0, {Err440, app::Startup::noListText(Err440), Err91}, 2);
    member("NewList once, operator retries", {}, "NewList", 1, {"retry"}, {"%19ONE.CNC N"}, {one},
           1, {app::Startup::noListText(Err440)}, 2);
    member("NewList always, operator retries twice then gives up", {}, "NewList", -1,
           {"retry", "retry", "cancel"}, {"%19ONE.CNC N"}, none, 0,
           {app::Startup::noListText(Err440), app::Startup::noListText(Err440),
            app::Startup::noListText(Err440), Err91}, 3);

    // Adding the row, with its one recovery through the late-bound list.
    member("AddLine once: recovered", {}, "AddLine", 1, none, plus(ProgItem, {After}),
           {prog, after}, 2, none, 3);
    member("AddLine always: one retry, then abandoned", {}, "AddLine", -1, none,
           plus(ProgItem, {OkMark, After}), {after}, 1, {Err440}, 3);
    member("AddLine once on a mirror piece: both rows", SelectionKeys + MirrorKeys, "AddLine", 1,
           none, {"%12MIRDOOR.CNC N X", "%22500 300 18"},
           {"MIRDOOR.CNC f3 500x300x18 r1", "MIRDOOR.CNC f4 500x300x18 r1"}, 2, none, 3);
    member("CreateObject fails during the recovery", {}, "AddLine,CreateObject", 1, none,
           plus(ProgItem, {After}), {after}, 1, {Err440}, 2);
    member("late-bound Visible fails during the recovery", {}, "AddLine,Helicon.ExeList.Visible",
           1, none, plus(ProgItem, {After}), {after}, 1, {Err440}, 2);
    member("AddLine always on a program barcode", {}, "AddLine", -1, none,
           {"PB1^X800^Y600^Z18!G71 X800 Y600 Z18\r\n(PB1)\r\nN1\r\n", OkMark, After}, {after}, 1,
           {programAbandoned("the list manager failed to add the row: " + Err440)}, 3);

    // Clearing the list: the first label after start-up, "%CLEAR%", automatic clear, and
    // the clear before a list load (whose failure is ignored).
    member("ClearList once on the first label", {}, "ClearList", 1, none,
           plus({ProgItem[0]}, ProgItem), {prog}, 1, {Err440}, 2);
    member("ClearList always on the first labels", {}, "ClearList", -1, none,
           plus(ProgItem, {OkMark, After}), {after}, 1, {Err440, Err440}, 3);
    member("ClearList on %CLEAR%", {}, "ClearList", -1, none,
           {"%19ONE.CNC N", FailMark, "%CLEAR%", OkMark, After}, {one, after}, 2, {Err440}, 2);
    member("ClearList on automatic clear", "AutoClear= 1", "ClearList", -1, none,
           plus(plus({"%19ONE.CNC N", FailMark}, ProgItem), {OkMark, After}), {after}, 2,
           {Err440}, 4);
    member("ClearList before a list load is ignored", {}, "ClearList", -1, none,
           {"%19ONE.CNC N", FailMark, "%01PANEL1"}, {"A.CNC f3 xx r", "B.CNC f6 xx r"}, 1, none,
           2);

    // The list commands and the list load.
    member("OpenList ends quietly", {}, "OpenList", -1, none,
           {"%19ONE.CNC N", FailMark, "%01PANEL1", OkMark, After}, {after}, 2, none, 1);
    member("StartList on %START%", {}, "StartList", -1, none,
           {"%19ONE.CNC N", FailMark, "%START%", OkMark, After}, {one, after}, 2, {Err440}, 1);
    member("StartList after an added row", "AutoStart= 1", "StartList", -1, none,
           {FailMark, "%19ONE.CNC N", OkMark, After}, {one, after}, 1,
           {Err440 + QStringLiteral(". Rows of this item already added: 1.")}, 2, "running");
    member("HoldList on %STOP%", {}, "HoldList", -1, none,
           {"%START%", FailMark, "%STOP%", OkMark, After}, {after}, 1, {Err440}, 1, "running");
    member("EndList on %END%", {}, "EndList", -1, none,
           {"%START%", FailMark, "%END%", OkMark, After}, {after}, 1, {Err440}, 1, "running");
    member("Setpoint on %SETPOINT%", {}, "Setpoint", -1, none,
           {FailMark, "%SETPOINT%", "%SETP%", OkMark, After}, {after}, 1, {Err440, Err440}, 2);

    // The program file: the old one stays whole, nothing half written beside it.
    const QStringList oldProgram{"gcode/PB1=G71 X1 Y1 Z1\r\n(OLD)\r\n"};
    const QByteArray program = programLabel(20000);
    const QString pb1 = QStringLiteral("PB1 f37 800x600x18 r1 c:PB1");
    disk("g-code folder path runs through a plain file", oldProgram + QStringList{"plainfile=x"},
         "GCodePath=<root>/plainfile/", {FailMark, program, OkMark, program}, {pb1}, 0,
         {programAbandoned("the program file <root>/plainfile/PB1 could not be written (Not a directory).")});
    disk("disk fills up while the program is written", oldProgram, "limit:4096",
         {FailMark, program, OkMark, program}, {pb1}, 0,
         {programAbandoned("the program file <root>/gcode/PB1 could not be written (Unknown error).")});

    // The collecting file: the companion CSV stays where it was, and the item whose program
    // named it is abandoned whole.
    const QStringList csv{"collected.csv=EARLIER;LINE;WRITTEN;BEFORE\r\n",
                          "csvin/PROG.CSV=PROG;1;600;400\r\n"};
    const QByteArrayList segments = {"%22600 400 18", "%12PROG.CNC N1 X"};
    const QString full = QStringLiteral("Unexpected error # 61 occured: Disk full");
    const QString progCsv = QStringLiteral("PROG.CNC f7 600x400x18 r1");
    disk("collecting file on /dev/full, segment label", csv, "CSVOutPath=/dev/full",
         plus(plus({FailMark}, segments), plus({OkMark}, segments)), {progCsv}, 1, {full});
    disk("collecting file on /dev/full, plain name", csv, "CSVOutPath=/dev/full",
         {FailMark, "%R%", "PROG", OkMark, "%R%", "PROG"},
         {QStringLiteral("PROG.CNC f6 xx r1")}, 1, {full});
    disk("disk fills up while the collecting file grows", csv, "limit:35",
         plus(plus({FailMark}, segments), plus({OkMark}, segments)), {progCsv}, 1,
         {QStringLiteral("Unexpected error # 75 occured: Path/File access error")});

    // The list manager's list cannot grow: no part of the row in the list or its file.
    disk("list manager's list cannot grow", none, "limit:150",
         plus(plus({"%19ONE.CNC N", FailMark}, ProgItem), plus({OkMark}, ProgItem)), {one, prog},
         2, {QStringLiteral("Unexpected error # 57 occured: Device I/O error")});

    // A list file that cannot be read: only a missing one is the operator's business. The list
    // was cleared for the list that was to come, as a list label always does.
    const QByteArrayList listLoad{"%19ONE.CNC N", "%01PANEL1", "%19TWO.CNC N"};
    const QStringList two{QStringLiteral("TWO.CNC f1 xx r999")};
    disk("list file missing", {"gone:lists/PANEL1.LST"}, {}, listLoad, two, 2,
         {QStringLiteral("List File <root>/lists/PANEL1.LST Not Found")});
    disk("list file a folder", {"folder:lists/PANEL1.LST"}, {}, listLoad, two, 2, none);
    disk("list file a fifo with no writer", {"fifo:lists/PANEL1.LST"}, {}, listLoad, two, 2, none);
    disk("list file larger than any list", {"huge:lists/PANEL1.LST"}, {}, listLoad, two, 2, none);
    disk("list file not readable", {"unreadable:lists/PANEL1.LST"}, {}, listLoad, two, 2, none);
    // clang-format on
}

void tst_StationFaults::faultWhileScanning()
{
    QFETCH(QByteArray, keys);
    QFETCH(QStringList, files);
    QFETCH(QStringList, failing);
    QFETCH(int, times);
    QFETCH(QStringList, answers);
    QFETCH(QByteArrayList, labels);
    QFETCH(QStringList, rows);
    QFETCH(int, acks);
    QFETCH(QStringList, prompts);
    QFETCH(QString, counted);
    QFETCH(int, calls);
    QFETCH(QString, runState);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.path();
    QVERIFY(Rig::prepare(root, QStringLiteral("/dev/scanner"), keys));
    QVERIFY(writeBytes(root + QStringLiteral("/lists/PANEL1.LST"),
                       "#161=A.CNC;#171=3;\r\n#161=B.CNC;#171=6;\r\n"));
    if (files.join(u' ').contains(QLatin1String("unreadable:")) && ::geteuid() == 0)
        QSKIP("permissions do not stop root");
    for (const QString &file : files) {
        make(root, file);
        if (QTest::currentTestFailed())
            return;
    }

    Rig rig(root);
    for (const QString &answer : answers) {
        rig.prompter.answers.enqueue(answer == QLatin1String("retry")
                                         ? base::Prompter::Answer::Retry
                                         : base::Prompter::Answer::Cancel);
    }
    std::optional<FileSizeLimit> limit;
    base::Settings beforeFault;
    QMap<QString, QByteArray> filesBeforeFault;
    bool diskFault = false;
    const auto startFaults = [&] {
        beforeFault = rig.station.settings();
        filesBeforeFault = filesUnder(root);
        for (QString fault : failing) {
            fault.replace(QStringLiteral("<root>"), root);
            const QString value = fault.section(u'=', 1);
            diskFault = diskFault || fault.contains(u'=') || fault.startsWith(u"limit:");
            if (fault.startsWith(u"limit:"))
                limit.emplace(rlim_t(fault.mid(6).toInt()));
            else if (fault.startsWith(u"GCodePath="))
                rig.station.settings().gcodePath = value;
            else if (fault.startsWith(u"CSVOutPath="))
                rig.station.settings().csvOutPath = value;
            else if (times < 0)
                rig.faults.setFailing(fault, true);
            else
                rig.faults.failNext(fault, times);
        }
    };

    if (!labels.contains(FailMark))
        startFaults();
    QVERIFY(rig.start());
    for (const QByteArray &label : labels) {
        if (label == FailMark) {
            startFaults();
        } else if (label == OkMark) {
            // While a disk fault lasted, no file outside the list manager's changed.
            QVERIFY(!limit || limit->isSet());
            if (diskFault)
                QCOMPARE(filesUnder(root), filesBeforeFault);
            limit.reset();
            rig.station.settings() = beforeFault;
            rig.faults.reset();
        } else {
            // No fault may reach the event loop, and the label never stays in hand.
            rig.scanWithTicks(label);
            QVERIFY2(rig.station.poller().scanBuffer().isEmpty(), label.constData());
            QVERIFY(!rig.station.gate().isBusy());
        }
    }

    QCOMPARE(rig.rows(), rows);
    QCOMPARE(rig.port.sent, QByteArray("ACK\r").repeated(acks));
    QCOMPARE(rig.prompter.texts(), prompts.replaceInStrings(QStringLiteral("<root>"), root));
    if (!counted.isEmpty())
        QCOMPARE(rig.faults.calls(counted), calls);
    QCOMPARE(embeddedlist::runStateName(rig.store->runState()), runState);
    // What the list shows is what its files hold.
    QCOMPARE(embeddedlist::ListStore(rig.store->folder()).rows(), rig.store->rows());
}

// An option switch the settings file cannot take: the operator hears of it at once, the file
// keeps every byte, no stray copy is left, and the station goes on.
void tst_StationFaults::settingsFileNotWritten()
{
    QTemporaryDir dir;
    QVERIFY(Rig::prepare(dir.path(), QStringLiteral("/dev/scanner")));
    Rig rig(dir.path());
    QVERIFY(rig.start());
    const QMap<QString, QByteArray> before = filesUnder(dir.path());
    {
        const FileSizeLimit limit(1);
        QVERIFY(limit.isSet());
        rig.station.options().setValueByUser(base::Options::AutoClear, 1);
    }
    QCOMPARE(rig.prompter.shown.size(), 1);
    QCOMPARE(rig.prompter.shown.constFirst().icon, base::Prompter::Icon::Critical);
    QVERIFY2(rig.prompter.texts().constFirst().startsWith(QStringLiteral("Unexpected error #")),
             qPrintable(rig.prompter.texts().constFirst()));
    QCOMPARE(filesUnder(dir.path()), before);
    rig.scanWithTicks("%19ONE.CNC N");
    QCOMPARE(rig.store->rowCount(), 1);
}

void tst_StationFaults::listManagerListNotRead_data()
{
    QTest::addColumn<bool>("fifo"); // else: no permission to read
    QTest::newRow("no permission to read") << false;
    QTest::newRow("a fifo") << true;
}

// The list manager's list is there but cannot be read: it refuses to start on an empty list,
// which would replace the one on disk at the first change.
void tst_StationFaults::listManagerListNotRead()
{
    QFETCH(bool, fifo);
    QTemporaryDir dir;
    const QString listFile = dir.filePath(QStringLiteral("current.lst"));
    if (fifo) {
        QCOMPARE(::mkfifo(QFile::encodeName(listFile).constData(), 0600), 0);
    } else {
        if (::geteuid() == 0)
            QSKIP("permissions do not stop root");
        QVERIFY(writeBytes(listFile, "#161=ONE.CNC;\r\n"));
        QVERIFY(QFile::setPermissions(listFile, QFile::WriteOwner));
    }
    QVERIFY_THROWS_EXCEPTION(Error, embeddedlist::ListStore store(dir.path()));
    if (!fifo) {
        QVERIFY(QFile::setPermissions(listFile, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(readBytes(listFile), QByteArray("#161=ONE.CNC;\r\n"));
    }
}

QTEST_GUILESS_MAIN(tst_StationFaults)
#include "tst_stationfaults.moc"
