// What the scanner hears when a label is refused, and the double-scan guard: label bytes go
// in at the scanner end of a pseudo-terminal, rows come out of the embedded list manager.
#include "ManualClock.h"
#include "PtyPair.h"
#include "StationRig.h"
#include "Tables.h"
#include "base/StatusTexts.h"

#include <QTemporaryDir>

#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

constexpr int Patience = 10000;
const QByteArray DefaultField = "FieldCode_DFN=N\r\n";

// A station on a pseudo-terminal whose poller, pauses and double-scan window run in simulated
// time.
struct Bench
{
    explicit Bench(const QByteArray &keys)
    {
        if (!pty.isValid())
            return;
        valid = PtyStation::prepare(dir.path(), pty.slavePath(), SelectionKeys + keys);
        // The station's pauses (after "ACK") pass on the same clock, as they keep its events
        // running.
        rig = std::make_unique<PtyStation>(dir.path(),
                                           RigPlan{.realPauses = true, .clock = &clock});
        valid = valid && rig->start();
        QObject::connect(&rig->station,
                         &app::Station::labelHandled,
                         [this](const QString &, const base::LabelOutcome &outcome) {
                             using R = base::LabelOutcome::Result;
                             outcomes << (outcome.result == R::Refused   ? QStringLiteral("refused")
                                          : outcome.result == R::Waiting ? QStringLiteral("waiting")
                                                                         : QStringLiteral("taken"));
                         });
    }

    // Scans one label at `atMs` on the station's clock (or at once, when the pauses of the label
    // before took it past that) and waits until it is handled.
    void scan(const QByteArray &label, qint64 atMs)
    {
        clock.advance(std::max<qint64>(0, atMs - clock.now()));
        const qsizetype handled = outcomes.size();
        // "typed:LABEL" is typed in the main window instead.
        const bool typed = label.startsWith("typed:");
        if (typed)
            rig->station.typeLabel(QString::fromLatin1(label.mid(6)));
        QVERIFY(rig->writeUntilHandled(
            pty, clock, typed ? QByteArrayList{} : QByteArrayList{label}, [&] {
                return outcomes.size() > handled;
            }));
        QVERIFY(!app::StationProbe(rig->station).gate().isBusy());
    }

    QTemporaryDir dir;
    PtyPair pty;
    base::ManualClock clock;
    std::unique_ptr<PtyStation> rig;
    bool valid = false;
    QStringList outcomes;
};

// "LABEL@ms"
QPair<QByteArray, qint64> timed(const QByteArray &scan)
{
    const qsizetype at = scan.lastIndexOf('@');
    return {scan.left(at), scan.mid(at + 1).toLongLong()};
}

} // namespace

class tst_RefusalFeedback : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scannerHears_data();
    void scannerHears();
};

void tst_RefusalFeedback::scannerHears_data()
{
    // scans: "LABEL@ms", the station's clock at the scan
    columns<QByteArray, QByteArrayList, QStringList, int, QByteArray>(
        {"keys", "scans", "outcomes", "rows", "heard"});

    const QByteArray reply = "RefuseReply=\\x07NO\\r\\n\r\n";
    const QByteArray guard = DefaultField + "DuplicateSeconds=5\r\n";
    // clang-format off
    QTest::addRow("by default a refusal sends nothing") << DefaultField << QByteArrayList{"%7x@0", "DEMO@0", "DEMO@0"} << QStringList{"refused", "taken", "taken"} << 2 << QByteArray("ACK\rACK\r");
    QTest::addRow("a refusal hears the reply, a row its ACK") << DefaultField + reply << QByteArrayList{"%7x@0", "DEMO@0"} << QStringList{"refused", "taken"} << 1 << QByteArray("\x07NO\r\nACK\r");
    QTest::addRow("a malformed reply is not used") << DefaultField + "RefuseReply=\\q\r\n" << QByteArrayList{"%7x@0"} << QStringList{"refused"} << 0 << QByteArray();
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

void tst_RefusalFeedback::scannerHears()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArrayList, scans);
    QFETCH(QStringList, outcomes);
    QFETCH(int, rows);
    QFETCH(QByteArray, heard);

    Bench bench(keys);
    if (!bench.pty.isValid())
        QSKIP("no pseudo-terminal available");
    QVERIFY(bench.valid);
    for (const QByteArray &scan : scans) {
        const auto [label, at] = timed(scan);
        bench.scan(label, at);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(bench.outcomes, outcomes);
    if (keys.contains("DuplicateSeconds=5")) // every refusal is the guard's, and says so
        QCOMPARE(bench.rig->display.statusHistory.count(base::DoubleScanGuard::statusText()),
                 outcomes.count(QStringLiteral("refused")));
    QCOMPARE(bench.rig->store->rows().size(), rows);
    QTRY_COMPARE_WITH_TIMEOUT(bench.pty.received(), heard, Patience);
    // A malformed reply holds nothing up in a message box: it is a settings problem, which the
    // status line tells once start-up is done.
    QVERIFY(bench.rig->prompter.shown.isEmpty());
    const bool malformed = keys.contains("\\q");
    const QList<base::Reason> &problems = bench.rig->station.settings().problems;
    QCOMPARE(
        std::any_of(problems.begin(),
                    problems.end(),
                    [](const base::Reason &p) { return p.english().contains(u"RefuseReply=\\q"); }),
        malformed);
    QCOMPARE(bench.rig->display.statusHistory.contains(app::Station::settingsProblemsStatus(1)),
             malformed);
}

QTEST_GUILESS_MAIN(tst_RefusalFeedback)
#include "tst_refusalfeedback.moc"
