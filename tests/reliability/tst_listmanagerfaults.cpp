// Every list manager member the station calls fails in turn, once and for good, while labels
// are scanned: the station keeps running, the label is either recovered (AddLine's one retry,
// the operator's Retry at start-up) or abandoned with a message, no row goes in twice, the
// retries end, and once the fault is gone the next item goes through whole.

#include "StationRig.h"
#include "app/Startup.h"
#include "embeddedlist/RunState.h"
#include "program/ProgramBarcode.h"

#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

const QString Err440 = unexpectedErrorText(Error(440, QStringLiteral("Automation error")));
const QString Err91 = unexpectedErrorText(
    Error(91, QStringLiteral("Object variable or With block variable not set")));

// Markers in a label list: the planned fault starts, or stops.
const QByteArray FailMark = "<fail>";
const QByteArray OkMark = "<ok>";

// Two segments with dimensions no other label carries: if they turn up in a later row, the
// abandoned item leaked into it.
const QByteArrayList ProgItem = {"%12PROG.CNC N1 X", "%22611 411 19"};
const QByteArray After = "%19AFTER.CNC N";
const QString AfterBlankDims = QStringLiteral("#168=;#169=;#170=;");

// Norm and Mirror rows for program names that begin with "MIR".
const QByteArray MirrorItemKeys = SelectionKeys + MirrorKeys;

QString programAbandoned(const QString &what, const QString &error)
{
    return program::ProgramBarcode::abandonedText(
        QStringLiteral("the list manager failed to %1: %2").arg(what, error));
}

} // namespace

class tst_ListManagerFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void memberFails_data();
    void memberFails();
};

void tst_ListManagerFaults::memberFails_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QStringList>("failing"); // members, as the fault injector names them
    QTest::addColumn<int>("times");           // -1: until the <ok> mark
    QTest::addColumn<QStringList>("answers"); // to the start-up question, in order
    QTest::addColumn<QByteArrayList>("labels");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("acks");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QString>("counted"); // a member whose calls are counted ...
    QTest::addColumn<int>("calls");       // ... and how often it must have been called
    QTest::addColumn<QString>("runState");

    const QStringList none;
    const auto plus = [](QByteArrayList a, const QByteArrayList &b) { return a << b; };

    // Start-up: the Application and the list.
    QTest::newRow("CreateApplication once")
        << QByteArray() << QStringList{"CreateApplication"} << 1 << none
        << QByteArrayList{"%19ONE.CNC N"} << QStringList{"ONE.CNC"} << 1 << QStringList{Err440}
        << "CreateApplication" << 2 << "idle";
    QTest::newRow("CreateApplication always, operator gives up")
        << QByteArray() << QStringList{"CreateApplication"} << -1 << QStringList{"cancel"}
        << QByteArrayList{"%19ONE.CNC N"} << none << 0
        << QStringList{Err440, app::Startup::noListText(Err440), Err91} << "CreateApplication" << 2
        << "idle";
    QTest::newRow("NewList once, operator retries")
        << QByteArray() << QStringList{"NewList"} << 1 << QStringList{"retry"}
        << QByteArrayList{"%19ONE.CNC N"} << QStringList{"ONE.CNC"} << 1
        << QStringList{app::Startup::noListText(Err440)} << "NewList" << 2 << "idle";
    QTest::newRow("NewList always, operator retries twice then gives up")
        << QByteArray() << QStringList{"NewList"} << -1 << QStringList{"retry", "retry", "cancel"}
        << QByteArrayList{"%19ONE.CNC N"} << none << 0
        << QStringList{app::Startup::noListText(Err440),
                       app::Startup::noListText(Err440),
                       app::Startup::noListText(Err440),
                       Err91}
        << "NewList" << 3 << "idle";

    // Adding the row, with its one recovery through the late-bound list.
    QTest::newRow("AddLine once: recovered")
        << QByteArray() << QStringList{"AddLine"} << 1 << none << plus(ProgItem, {After})
        << QStringList{"PROG.CNC", "AFTER.CNC"} << 2 << none << "AddLine" << 3 << "idle";
    QTest::newRow("AddLine always: one retry, then abandoned")
        << QByteArray() << QStringList{"AddLine"} << -1 << none << plus(ProgItem, {OkMark, After})
        << QStringList{"AFTER.CNC"} << 1 << QStringList{Err440} << "AddLine" << 3 << "idle";
    QTest::newRow("AddLine once on a mirror piece: both rows")
        << MirrorItemKeys << QStringList{"AddLine"} << 1 << none
        << QByteArrayList{"%12MIRDOOR.CNC N X", "%22500 300 18"}
        << QStringList{"MIRDOOR.CNC", "MIRDOOR.CNC"} << 2 << none << "AddLine" << 3 << "idle";
    QTest::newRow("CreateObject fails during the recovery")
        << QByteArray() << QStringList{"AddLine", "CreateObject"} << 1 << none
        << plus(ProgItem, {After}) << QStringList{"AFTER.CNC"} << 1 << QStringList{Err440}
        << "AddLine" << 2 << "idle";
    QTest::newRow("late-bound Visible fails during the recovery")
        << QByteArray() << QStringList{"AddLine", "Helicon.ExeList.Visible"} << 1 << none
        << plus(ProgItem, {After}) << QStringList{"AFTER.CNC"} << 1 << QStringList{Err440}
        << "AddLine" << 2 << "idle";
    QTest::newRow("AddLine always on a program barcode")
        << QByteArray() << QStringList{"AddLine"} << -1 << none
        << QByteArrayList{"PB1^X800^Y600^Z18!G71 X800 Y600 Z18\r\n(PB1)\r\nN1\r\n", OkMark, After}
        << QStringList{"AFTER.CNC"} << 1
        << QStringList{programAbandoned(QStringLiteral("add the row"), Err440)} << "AddLine" << 3
        << "idle";

    // Clearing the list: the first label after start-up, "%CLEAR%", automatic clear, and
    // the clear before a list load (whose failure is ignored).
    QTest::newRow("ClearList once on the first label")
        << QByteArray() << QStringList{"ClearList"} << 1 << none << plus({ProgItem[0]}, ProgItem)
        << QStringList{"PROG.CNC"} << 1 << QStringList{Err440} << "ClearList" << 2 << "idle";
    QTest::newRow("ClearList always on the first labels")
        << QByteArray() << QStringList{"ClearList"} << -1 << none << plus(ProgItem, {OkMark, After})
        << QStringList{"AFTER.CNC"} << 1 << QStringList{Err440, Err440} << "ClearList" << 3
        << "idle";
    QTest::newRow("ClearList on %CLEAR%")
        << QByteArray() << QStringList{"ClearList"} << -1 << none
        << QByteArrayList{"%19ONE.CNC N", FailMark, "%CLEAR%", OkMark, After}
        << QStringList{"ONE.CNC", "AFTER.CNC"} << 2 << QStringList{Err440} << "ClearList" << 2
        << "idle";
    QTest::newRow("ClearList on automatic clear")
        << QByteArray("AutoClear= 1") << QStringList{"ClearList"} << -1 << none
        << plus(plus({"%19ONE.CNC N", FailMark}, ProgItem), {OkMark, After})
        << QStringList{"AFTER.CNC"} << 2 << QStringList{Err440} << "ClearList" << 4 << "idle";
    QTest::newRow("ClearList before a list load is ignored")
        << QByteArray() << QStringList{"ClearList"} << -1 << none
        << QByteArrayList{"%19ONE.CNC N", FailMark, "%01PANEL1"} << QStringList{"A.CNC", "B.CNC"}
        << 1 << none << "ClearList" << 2 << "idle";

    // The list commands and the list load.
    QTest::newRow("OpenList ends quietly")
        << QByteArray() << QStringList{"OpenList"} << -1 << none
        << QByteArrayList{"%19ONE.CNC N", FailMark, "%01PANEL1", OkMark, After}
        << QStringList{"AFTER.CNC"} << 2 << none << "OpenList" << 1 << "idle";
    QTest::newRow("StartList on %START%")
        << QByteArray() << QStringList{"StartList"} << -1 << none
        << QByteArrayList{"%19ONE.CNC N", FailMark, "%START%", OkMark, After}
        << QStringList{"ONE.CNC", "AFTER.CNC"} << 2 << QStringList{Err440} << "StartList" << 1
        << "idle";
    QTest::newRow("StartList after an added row")
        << QByteArray("AutoStart= 1") << QStringList{"StartList"} << -1 << none
        << QByteArrayList{FailMark, "%19ONE.CNC N", OkMark, After}
        << QStringList{"ONE.CNC", "AFTER.CNC"} << 1
        << QStringList{Err440 + QStringLiteral(". Rows of this item already added: 1.")}
        << "StartList" << 2 << "running";
    QTest::newRow("HoldList on %STOP%")
        << QByteArray() << QStringList{"HoldList"} << -1 << none
        << QByteArrayList{"%START%", FailMark, "%STOP%", OkMark, After} << QStringList{"AFTER.CNC"}
        << 1 << QStringList{Err440} << "HoldList" << 1 << "running";
    QTest::newRow("EndList on %END%")
        << QByteArray() << QStringList{"EndList"} << -1 << none
        << QByteArrayList{"%START%", FailMark, "%END%", OkMark, After} << QStringList{"AFTER.CNC"}
        << 1 << QStringList{Err440} << "EndList" << 1 << "running";
    QTest::newRow("Setpoint on %SETPOINT%")
        << QByteArray() << QStringList{"Setpoint"} << -1 << none
        << QByteArrayList{FailMark, "%SETPOINT%", "%SETP%", OkMark, After}
        << QStringList{"AFTER.CNC"} << 1 << QStringList{Err440, Err440} << "Setpoint" << 2
        << "idle";
}

void tst_ListManagerFaults::memberFails()
{
    QFETCH(QByteArray, keys);
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
    QVERIFY(StationRig<FakeScannerPort>::prepare(root, QStringLiteral("/dev/scanner"), keys));
    QVERIFY(writeBytes(root + QStringLiteral("/lists/PANEL1.LST"),
                       "#161=A.CNC;#171=3;\r\n#161=B.CNC;#171=6;\r\n"));

    StationRig<FakeScannerPort> rig(root);
    ListManagerFaults &faults = rig.faults;
    const auto startFaults = [&] {
        for (const QString &member : failing) {
            if (times < 0)
                faults.setFailing(member, true);
            else
                faults.failNext(member, times);
        }
    };
    for (const QString &answer : answers) {
        rig.prompter.answers.enqueue(answer == QLatin1String("retry")
                                         ? base::Prompter::Answer::Retry
                                         : base::Prompter::Answer::Cancel);
    }

    if (!labels.contains(FailMark))
        startFaults();
    QVERIFY(rig.start());

    for (const QByteArray &label : labels) {
        if (label == FailMark) {
            startFaults();
            continue;
        }
        if (label == OkMark) {
            faults.reset();
            continue;
        }
        // No fault may reach the event loop, and the label never stays in hand.
        rig.scanWithTicks(label);
        QVERIFY2(rig.station.poller().scanBuffer().isEmpty(), label.constData());
        QVERIFY(!rig.station.gate().isBusy());
    }

    QCOMPARE(rig.rowNames(), rows);
    QCOMPARE(rig.port.sent, QByteArray("ACK\r").repeated(acks));
    QCOMPARE(rig.prompter.texts(), prompts);
    QCOMPARE(rig.faults.calls(counted), calls);
    QCOMPARE(embeddedlist::runStateName(rig.store->runState()), runState);
    if (rows.endsWith(QStringLiteral("AFTER.CNC"))) {
        // Nothing of an abandoned item reaches the next one.
        QVERIFY2(rig.store->rows().constLast().contains(AfterBlankDims),
                 qPrintable(rig.store->rows().constLast()));
    }
    // What the list shows is what its files hold.
    const embeddedlist::ListStore reloaded(rig.store->folder());
    QCOMPARE(reloaded.rows(), rig.store->rows());
}

QTEST_GUILESS_MAIN(tst_ListManagerFaults)
#include "tst_listmanagerfaults.moc"
