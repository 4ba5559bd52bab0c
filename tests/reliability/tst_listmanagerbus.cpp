// The list manager as a program of its own, on a session bus the test starts: the real station
// and the real list manager, the list manager killed, hung and absent. Rows are read back over
// the bus, as any other client reads them.

#include "BarlinkProcess.h"
#include "PtyPair.h"
#include "Tables.h"
#include "listmanager/BusListManager.h"
#include "listmanager/ListManagerLink.h"
#include "listmanagerproxy.h"

#include <QTimer>

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>

using namespace barlink;
using namespace barlink::testing;

namespace {

constexpr int Wait = 20000;

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

} // namespace

class tst_ListManagerBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed (scripts/install-deps.sh)");
        m_dir.emplace();
        QVERIFY(m_pty.emplace().isValid());
    }
    void cleanup()
    {
        m_pty.reset();
        m_dir.reset();
    }

    void itemReachesTheListManagerProgram_data();
    void itemReachesTheListManagerProgram();
    void killedDuringAddLine_data();
    void killedDuringAddLine();
    void hungDuringAddLine();
    void noSessionBus();

private:
    // Scans one label that makes one item and waits for the answer ("ACK\r"), or for `log`.
    bool scan(BarlinkProcess &barlink, const QByteArray &program)
    {
        const QByteArray acks = m_pty->received() + "ACK\r";
        if (!m_pty->write("%19" + program + " N"))
            return false;
        const QDeadlineTimer deadline(Wait);
        while (m_pty->received() != acks && !deadline.hasExpired())
            (void)barlink.waitForLog("\n", 50);
        return m_pty->received() == acks;
    }

    std::optional<QTemporaryDir> m_dir;
    std::optional<PtyPair> m_pty;
};

// A scanned item becomes a row of the list manager, a process of its own started at the
// station's first call: by the bus from its service file (the package), or by the station from
// beside its own program (the build tree, the demo: no service file). The station's end leaves
// it running, its list whole.
void tst_ListManagerBus::itemReachesTheListManagerProgram_data()
{
    columns<bool>({"serviceFile"});
    QTest::newRow("started by the bus") << true;
    QTest::newRow("started by the station") << false;
}

void tst_ListManagerBus::itemReachesTheListManagerProgram()
{
    const bool serviceFile = fetch<bool>("serviceFile");
    BarlinkProcess barlink(m_dir->path(), m_pty->slavePath());
    if (!serviceFile)
        QVERIFY(QFile::remove(m_dir->path()
                              + QStringLiteral("/bus/services/org.barlink.ListManager.service")));
    QVERIFY2(barlink.start(), barlink.log().constData());
    QVERIFY2(scan(barlink, "ONE.CNC"), barlink.log().constData());
    // The program's standard error is a pipe of its own: its line may come after the "ACK".
    const QByteArray starting = "barlink.listmanager.bus: starting";
    QCOMPARE(serviceFile ? barlink.log().contains(starting) : barlink.waitForLog(starting, 5000),
             !serviceFile);
    const pid_t listManager = barlink.bus().owner();
    QVERIFY(listManager != 0);
    QVERIFY(listManager != pid_t(barlink.process().processId()));
    QCOMPARE(busRows(barlink.bus()), QStringList{"ONE.CNC f1 xx r999"});

    barlink.process().terminate();
    QVERIFY(barlink.process().waitForFinished(Wait));
    QCOMPARE(barlink.bus().owner(), listManager);
    QCOMPARE(busRows(barlink.bus()), QStringList{"ONE.CNC f1 xx r999"});
}

// The list manager dies while an AddLine is on its way: before the row is stored, or after it
// reached the disk but before the answer. The station starts it again, asks whether the row
// got in, and adds it only if not; "ACK" comes once the row is in, and it is in once.
void tst_ListManagerBus::killedDuringAddLine_data()
{
    columns<QString>({"fault"});
    QTest::newRow("before the row is stored") << QStringLiteral("die-before-add");
    QTest::newRow("after the row is stored, before the answer") << QStringLiteral("die-after-add");
}

void tst_ListManagerBus::killedDuringAddLine()
{
    const QString fault = fetch<QString>("fault");
    BarlinkProcess barlink(m_dir->path(), m_pty->slavePath());
    // The first list manager, started by hand with the fault; the bus starts the next one.
    QProcess faulty;
    QProcessEnvironment env = barlink.process().processEnvironment();
    env.insert(QStringLiteral("BARLINK_LISTMANAGER_FAULT"), fault);
    faulty.setProcessEnvironment(env);
    faulty.start(QStringLiteral(BARLINK_LISTMANAGER_BINARY), {QStringLiteral("--hidden")});
    const pid_t first = barlink.bus().awaitOwner();
    QCOMPARE(first, pid_t(faulty.processId()));

    QVERIFY2(barlink.start(), barlink.log().constData());
    QVERIFY2(scan(barlink, "ONE.CNC"), barlink.log().constData());
    QVERIFY(faulty.waitForFinished(Wait));
    QCOMPARE(faulty.exitStatus(), QProcess::CrashExit);
    QVERIFY(barlink.bus().owner() != first);
    QCOMPARE(busRows(barlink.bus()), QStringList{"ONE.CNC f1 xx r999"});
    QVERIFY2(scan(barlink, "TWO.CNC"), barlink.log().constData());
    QCOMPARE(busRows(barlink.bus()), (QStringList{"ONE.CNC f1 xx r999", "TWO.CNC f1 xx r999"}));
}

// The station's link to a list manager that hangs with an AddLine in hand: each call gives up
// after its bound while the event loop keeps running, and the row fails with the reason. Once
// the list manager runs again it stores the row; the same row tried again (the operator scans
// the item again: it got no "ACK") finds it there and is not added a second time.
void tst_ListManagerBus::hungDuringAddLine()
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
    hanging.waitForFinished(Wait);
}

// Without a session bus the station says so at start, plainly, and what to do; it does not
// hang waiting for one.
void tst_ListManagerBus::noSessionBus()
{
    BarlinkProcess barlink(m_dir->path(), m_pty->slavePath());
    QProcessEnvironment env = barlink.process().processEnvironment();
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.remove(QStringLiteral("DISPLAY"));
    barlink.process().setProcessEnvironment(env);
    QVERIFY2(barlink.start("barlink.app.prompt: message box: "), barlink.log().constData());
    QVERIFY2(barlink.waitForLog("no session bus"), barlink.log().constData());
    QVERIFY2(barlink.log().contains("dbus-run-session"), barlink.log().constData());
}

QTEST_GUILESS_MAIN(tst_ListManagerBus)
#include "tst_listmanagerbus.moc"
