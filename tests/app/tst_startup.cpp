// Start-up and shutdown of the station, headless, against the embedded list manager.

#include "Fakes.h"
#include "FaultyListManager.h"
#include "TestSupport.h"
#include "app/Station.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;
using Answer = base::Prompter::Answer;

namespace {

// One station with its seams, on folders of its own.
struct Rig
{
    explicit Rig(const QString &root)
        : store(std::make_shared<embeddedlist::ListStore>(root + QStringLiteral("/data")))
        , embedded(store)
        , provider(embedded, faults)
        , station(display,
                  prompter,
                  pacer,
                  port,
                  provider,
                  root + QStringLiteral("/program"),
                  root + QStringLiteral("/windows"))
    {
        station.setInstanceLockDir(root + QStringLiteral("/run"));
        station.setListWait(3, 1);
    }

    FakeDisplay display;
    ScriptedPrompter prompter;
    InstantPacer pacer;
    FakeScannerPort port;
    std::shared_ptr<embeddedlist::ListStore> store;
    ListManagerFaults faults;
    embeddedlist::EmbeddedListManagerProvider embedded;
    FaultyProvider provider;
    app::Station station;
};

} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("program")));
        QVERIFY(writeBytes(m_dir.filePath(QStringLiteral("program/KTQ.INI")),
                           "[GESTBCOD]\r\nCommPort=3\r\nSettings=19200,E,7,2\r\n"
                           "CommDevice=/dev/pts/99\r\nAutoClear= 0\r\n"));
    }

    // Without a runtime folder the single-instance lock goes to the user's own data folder,
    // not to a shared temporary folder where another user could plant its name.
    void instanceLockStaysInTheUsersFolders()
    {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray data = qgetenv("XDG_DATA_HOME");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
        const QString dir = app::InstanceCounter::defaultLockDir();
        qputenv("XDG_RUNTIME_DIR", runtime);
        qputenv("XDG_DATA_HOME", data);
        QCOMPARE(dir, m_dir.filePath(QStringLiteral("data/barlink")));
    }

    void runsTheWholeSequence()
    {
        Rig rig(m_dir.path());
        QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(rig.port.openedDevice, QStringLiteral("/dev/pts/99"));
        QCOMPARE(rig.port.openedSettings, QStringLiteral("19200,E,7,2"));
        QCOMPARE(rig.display.currentSettings, QStringLiteral("/dev/pts/99:19200,E,7,2"));
        QVERIFY(rig.station.link().application() && rig.station.link().currentList());
        QVERIFY(rig.station.item().clearListPending);
        QCOMPARE(rig.station.options().value(base::Options::AutoClear), 0);

        rig.station.shutdown();
        QVERIFY(!rig.port.isOpen());
        QVERIFY(!rig.station.link().application() && !rig.station.link().currentList());
    }

    void commandLineTextRequestsNoList()
    {
        Rig rig(m_dir.path());
        rig.faults.setFailing(QStringLiteral("NewList"), true);
        QCOMPARE(rig.station.start(false), app::Startup::Outcome::Running);
        QVERIFY(rig.prompter.shown.isEmpty());
        QVERIFY(rig.station.link().application() && !rig.station.link().currentList());
        QVERIFY(rig.station.item().clearListPending);
    }

    void secondCopyEnds()
    {
        Rig first(m_dir.path());
        QCOMPARE(first.station.start(true), app::Startup::Outcome::Running);
        Rig second(m_dir.path());
        QCOMPARE(second.station.start(true), app::Startup::Outcome::AlreadyRunning);
        QCOMPARE(second.prompter.texts(), QStringList{"the BarCode Program is already running!"});
        QCOMPARE(second.prompter.shown.first().icon, base::Prompter::Icon::Warning);
        QCOMPARE(second.port.openCalls, 0);
        QVERIFY(first.port.isOpen());
    }

    void listWaitHasAWayOut_data()
    {
        QTest::addColumn<int>("withheld");
        QTest::addColumn<bool>("failNewList");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<bool>("gotList");
        // clang-format off
        QTest::newRow("list within the first round")     << 2   << false << QList<Answer>{} << true;
        QTest::newRow("no list, operator goes on")       << 100 << false << QList<Answer>{Answer::Cancel} << false;
        QTest::newRow("no list, retry, then list")       << 4   << false << QList<Answer>{Answer::Retry} << true;
        QTest::newRow("NewList fails, operator goes on") << 0   << true  << QList<Answer>{Answer::Retry, Answer::Cancel} << false;
        // clang-format on
    }
    void listWaitHasAWayOut()
    {
        QFETCH(int, withheld);
        QFETCH(bool, failNewList);
        QFETCH(QList<Answer>, answers);
        QFETCH(bool, gotList);

        Rig rig(m_dir.path());
        rig.faults.withholdList(withheld);
        rig.faults.setFailing(QStringLiteral("NewList"), failNewList);
        rig.prompter.answers.append(answers);
        QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
        QCOMPARE(rig.prompter.shown.size(), answers.size()); // every answer was asked for
        for (const auto &shown : std::as_const(rig.prompter.shown)) {
            QCOMPARE(shown.buttons, base::Prompter::Buttons::RetryCancel);
            QVERIFY(shown.text.startsWith(QStringLiteral("The list manager has not handed out")));
            QCOMPARE(shown.text.contains(QStringLiteral("Unexpected error #")), failNewList);
        }
        QCOMPARE(bool(rig.station.link().currentList()), gotList);
        if (!gotList)
            QCOMPARE(rig.display.status(), app::Startup::noListStatus());
        QVERIFY(rig.station.item().clearListPending);
    }

    void failingStepsAreReportedAndStartupGoesOn()
    {
        Rig rig(m_dir.path());
        rig.faults.setFailing(QStringLiteral("CreateApplication"), true);
        rig.prompter.answers << Answer::Ok << Answer::Cancel;
        QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
        QVERIFY(rig.prompter.texts().value(0).startsWith(QStringLiteral("Unexpected error #")));
        QVERIFY(!rig.station.link().application());
        QVERIFY(rig.station.item().clearListPending);
    }

    void portFailureOffersTheDialogAndStartupGoesOn()
    {
        Rig rig(m_dir.path());
        rig.port.failOpen = true;
        int dialogs = 0;
        app::PortControl &control = rig.station.portControl();
        QObject::connect(&control, &app::PortControl::settingsDialogRequested, [&] {
            ++dialogs;
            rig.port.failOpen = false; // the operator's choice works: OK opens the port
            QVERIFY(control.reopen().isEmpty());
        });
        QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
        QCOMPARE(dialogs, 1);
        QCOMPARE(rig.prompter.shown.size(), 1);
        QCOMPARE(rig.prompter.shown.first().text,
                 QStringLiteral("Unexpected error # 8002 occured: Invalid port number"));
        QVERIFY(rig.port.isOpen());
    }

    void settingsFileProblemsAreReportedAndStartupGoesOn_data()
    {
        QTest::addColumn<bool>("loopedFolder");
        QTest::addColumn<QString>("message");
        QTest::newRow("no settings file") << false << "File KTQ.INI Not Found";
        // The settings folder a symbolic link to itself: looking into it fails.
        QTest::newRow("settings folder unusable")
            << true << "Unexpected error # 52 occured: Bad file name or number";
    }
    void settingsFileProblemsAreReportedAndStartupGoesOn()
    {
        QFETCH(bool, loopedFolder);
        QTemporaryDir root;
        const QString windows = root.filePath(QStringLiteral("windows"));
        QVERIFY(loopedFolder ? QFile::link(windows, windows) : QDir().mkpath(windows));
        Rig rig(root.path());
        QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
        QTEST(rig.prompter.texts().value(0), "message");
        QVERIFY(rig.station.link().currentList());
        QVERIFY(rig.station.item().clearListPending);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
