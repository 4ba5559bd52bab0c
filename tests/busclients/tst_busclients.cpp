// The list manager's clients over the bus, against the real barlink-listmanager on a private
// bus: the station's list watch (what the List badge shows) follows the list through every
// change another client makes, sees the list manager killed at once and reads the list again
// when it is back; the "Runlist TEST" console calls the list manager's members over the bus;
// the README's adapter example serves the interface to the same clients.

#include "PrivateBus.h"
#include "app/MainWindow.h"
#include "base/Settings.h"
#include "listmanager/BusListManager.h"
#include "listmanager/BusListWatch.h"
#include "listmanager/BusNames.h"
#include "listmanager/ListManagerLink.h"
#include "listmanagerproxy.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <vector>

using namespace barlink;
using namespace barlink::listmanager;

namespace barlink::listmanager {
char *toString(const ListState &state)
{
    return QTest::toString(QStringLiteral("reach %1 opened %2 rows %3 inRun %4 exeRow %5 %6 %7")
                               .arg(int(state.reach))
                               .arg(state.opened)
                               .arg(state.rows)
                               .arg(state.inRun)
                               .arg(state.exeRow)
                               .arg(state.service, state.detail));
}
} // namespace barlink::listmanager

namespace {

const QString Service = QString::fromLatin1(bus::serviceName);

} // namespace

class tst_BusClients : public QObject
{
    Q_OBJECT

    // The bus's folder and the list manager's data, new for each test.
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testing::PrivateBus> m_bus;
    // The programs the test started on the bus, ended before it.
    std::vector<std::unique_ptr<QProcess>> m_programs;
    // Another client of the list manager, with a connection of its own.
    std::unique_ptr<OrgBarlinkListManagerApplicationInterface> m_application;
    std::unique_ptr<OrgBarlinkListManagerExeListInterface> m_list;

    [[nodiscard]] QString otherConnectionName() const
    {
        return QStringLiteral("other-%1").arg(quintptr(m_bus.get()));
    }
    // The other client's proxies for the list manager that holds `service`.
    void useService(const QString &service)
    {
        const QDBusConnection other = QDBusConnection::connectToBus(
            QString::fromUtf8(m_bus->address()), otherConnectionName());
        m_application = std::make_unique<OrgBarlinkListManagerApplicationInterface>(
            service, QStringLiteral("/Application"), other);
        m_list = std::make_unique<OrgBarlinkListManagerExeListInterface>(
            service, QStringLiteral("/ExeList/1"), other);
    }
    // Starts a program on the bus and waits until it holds `name`.
    void startOnBus(const QString &program, const QStringList &arguments, const QString &name)
    {
        auto &process = *m_programs.emplace_back(std::make_unique<QProcess>());
        process.setProcessEnvironment(m_bus->env(testing::PrivateBus::programEnv(m_dir->path())));
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, arguments);
        QVERIFY2(process.waitForStarted(10'000), qPrintable(program));
        QVERIFY2(m_bus->awaitOwner(0, 20'000, name) != 0, qPrintable(name));
    }
    void startListManager()
    {
        startOnBus(QStringLiteral(LISTMANAGER_BINARY), {QStringLiteral("--hidden")}, Service);
    }
    // The state as a fresh read of the list manager tells it.
    [[nodiscard]] ListState readState() const
    {
        ListState state;
        state.reach = Reach::Reached;
        state.opened = m_application->listOpened() > 0;
        state.rows = m_list->rows();
        state.inRun = m_list->listInRun();
        state.exeRow = m_list->exeRow();
        return state;
    }
    // Runs the steps separated by blanks through the other client: new, add, del:N, set:N,
    // clear, append (a list file of three rows), start, hold, end.
    void run(const QString &script)
    {
        for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
            const QString name = step.section(u':', 0, 0);
            const int line = step.section(u':', 1).toInt();
            QDBusPendingReply<> reply;
            if (name == QLatin1String("new"))
                reply = m_application->NewList();
            else if (name == QLatin1String("add"))
                reply
                    = m_list->AddLine(QStringLiteral("#161=P%1.CNC;#168=600;").arg(m_list->rows()));
            else if (name == QLatin1String("del"))
                reply = m_list->DelLine(line);
            else if (name == QLatin1String("set"))
                reply = m_list->SetLine(line, QStringLiteral("#161=SET.CNC;"));
            else if (name == QLatin1String("clear"))
                reply = m_list->ClearList();
            else if (name == QLatin1String("append"))
                reply = m_list->AppendList(listFile());
            else if (name == QLatin1String("start"))
                reply = m_application->StartList();
            else if (name == QLatin1String("hold"))
                reply = m_application->HoldList();
            else if (name == QLatin1String("end"))
                reply = m_application->EndList();
            else
                QFAIL(qPrintable(QStringLiteral("no step ") + step));
            reply.waitForFinished();
            QVERIFY2(!reply.isError(), qPrintable(step + u' ' + reply.error().message()));
        }
    }
    [[nodiscard]] QString listFile() const
    {
        const QString path = m_dir->filePath(QStringLiteral("three.lst"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("#161=A.CNC;\r\n#161=B.CNC;\r\n#161=C.CNC;\r\n");
        return path;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        // No service file: the test starts the list manager itself, and sees it absent.
        m_bus = std::make_unique<testing::PrivateBus>(m_dir->path(), QString());
        QVERIFY2(m_bus->isValid(), "dbus-daemon did not start (Debian package dbus-daemon)");
        useService(Service);
    }
    void cleanup()
    {
        m_list.reset();
        m_application.reset();
        QDBusConnection::disconnectFromBus(otherConnectionName());
        for (auto &program : m_programs) {
            program->kill();
            program->waitForFinished(10'000);
        }
        m_programs.clear();
        m_bus.reset();
    }

    // Whatever another client does to the list, the watch ends where a fresh read of the
    // list manager does, from the signals alone.
    void watchFollowsTheList_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("rows");
        QTest::newRow("rows added") << "new add add add" << 3;
        QTest::newRow("rows removed") << "new add add add del:1 del:2" << 1;
        QTest::newRow("cleared") << "new add add clear" << 0;
        QTest::newRow("list file appended") << "new add append" << 4;
        QTest::newRow("row replaced") << "new add add set:2" << 2;
        QTest::newRow("started") << "new add add start" << 2;
        QTest::newRow("held") << "new add start hold" << 1;
        QTest::newRow("ended") << "new add start end" << 1;
        QTest::newRow("started, then emptied") << "new add start clear add" << 1;
    }
    void watchFollowsTheList()
    {
        QFETCH(QString, script);
        QFETCH(int, rows);
        startListManager();
        BusListWatch watch(m_bus->connection(), Service);
        QTRY_COMPARE(watch.state().reach, Reach::Reached);
        run(script);
        const ListState expected = readState();
        QCOMPARE(expected.rows, rows);
        QTRY_COMPARE(watch.state(), expected);
    }

    // Made before the list manager runs, the watch says so; it reads the list when the list
    // manager takes its name, and shows at once, in the List badge too, that the list manager
    // was killed; started again, it is read again with the rows it kept.
    void watchSeesTheListManagerGoAndComeBack()
    {
        BusListWatch watch(m_bus->connection(), Service);
        app::MainWindow window;
        connect(&watch, &ListWatch::stateChanged, &window, &app::MainWindow::setListState);
        const auto badge = [&window] {
            return window.findChild<QLabel *>(QStringLiteral("lblListState"))->text();
        };
        QCOMPARE(watch.state().reach, Reach::NotRunning);
        QCOMPARE(watch.state().service, Service);

        startListManager();
        run(QStringLiteral("new add add"));
        QTRY_COMPARE(watch.state(), readState());
        QCOMPARE(badge(), QStringLiteral("Idle \u00b7 2 rows"));

        QVERIFY(m_bus->killListManager());
        QTRY_COMPARE(watch.state().reach, Reach::NotRunning);
        QCOMPARE(badge(), QStringLiteral("list manager not running"));

        startListManager();
        QTRY_COMPARE(watch.state().reach, Reach::Reached);
        QCOMPARE(watch.state().rows, 2);
        QCOMPARE(watch.state(), readState());
        QVERIFY(badge().endsWith(QStringLiteral("2 rows")));
    }

    // A list manager that is stopped (SIGSTOP) does not answer the watch's read within its
    // bound: the badge says so; let go on (SIGCONT), its next signal has the list read again.
    void watchSeesTheListManagerHangAndGoOn()
    {
        startListManager();
        run(QStringLiteral("new add"));
        const pid_t pid = m_bus->owner();
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        BusListWatch watch(m_bus->connection(), Service, 200);
        QTRY_COMPARE(watch.state().reach, Reach::NotAnswering);
        QCOMPARE(::kill(pid, SIGCONT), 0);
        run(QStringLiteral("add"));
        QTRY_COMPARE(watch.state(), readState());
        QCOMPARE(watch.state().rows, 2);
    }

    // A client of the list manager program, which the bus starts at the first call: its
    // members reach it, and its failures come back as the errors of their numbers.
    void errorsComeBackByNumber()
    {
        m_list.reset();
        m_application.reset();
        QDBusConnection::disconnectFromBus(otherConnectionName());
        m_bus.reset();
        m_bus
            = std::make_unique<testing::PrivateBus>(m_dir->filePath(QStringLiteral("activating")),
                                                    QStringLiteral(LISTMANAGER_BINARY),
                                                    testing::PrivateBus::programEnv(m_dir->path()));
        QVERIFY(m_bus->isValid());
        listmanager::BusListManagerProvider provider(
            [] { return listmanager::BusListManagerProvider::Target{Service}; },
            m_bus->connection());
        QCOMPARE(m_bus->owner(), pid_t(0));
        const std::shared_ptr<ExeList> list = provider.createApplication()->newList();
        QVERIFY(m_bus->owner() != 0);
        list->addLine(QStringLiteral("#161=ONE.CNC;"));
        QCOMPARE(list->getLine(1), QStringLiteral("#161=ONE.CNC;"));
        try {
            (void)list->getLine(9);
            QFAIL("no error for a line past the end");
        } catch (const base::Error &error) {
            QCOMPARE(error.number(), int(base::Error::SubscriptOutOfRange));
            QCOMPARE(error.description(), QStringLiteral("Subscript out of range"));
        }
        // A station's placing of the window reaches it; a text size no station has is refused.
        QStringList answers;
        for (double scale : {2.0, 9.0}) {
            std::as_const(provider).listManager()->placeWindowBeside(
                QRect(0, 0, 600, 400), QRect(0, 0, 600, 200), scale, true, [&](const QString &why) {
                    answers << why;
                });
        }
        QTRY_COMPARE(
            answers,
            QStringList({QString(), QStringLiteral("Invalid procedure call or argument")}));
    }

    // The README's adapter example, a machine control's stand-in serving the interface from the
    // XML under a name of its own: the station's own client adds and clears its rows, and the
    // watch the List badge follows sees them, told nothing but the adapter's name.
    void adapterExampleTakesRows()
    {
        const QString python = QStringLiteral("/usr/bin/python3");
        if (QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import gi")}) != 0)
            QSKIP("the adapter example needs /usr/bin/python3 with python3-gi");
        const QString adapter = QStringLiteral("org.example.Control.ListManager");
        startOnBus(python,
                   {QStringLiteral(ADAPTER_EXAMPLE), QStringLiteral(LISTMANAGER_XML), adapter},
                   adapter);
        useService(adapter);
        BusListWatch watch(m_bus->connection(), adapter);
        QTRY_COMPARE(watch.state().reach, Reach::Reached);
        QCOMPARE(watch.state().rows, 0);

        // The station's own client, told only the adapter's name, as ListManagerService does.
        listmanager::BusListManagerProvider provider(
            [adapter] { return listmanager::BusListManagerProvider::Target{adapter}; },
            m_bus->connection());
        listmanager::ListManagerLink link;
        link.setApplication(provider.createApplication());
        link.setCurrentList(link.application()->newList());
        const QString row = QStringLiteral("#161=PROG.CNC;#168=600;#169=400;#170=18;");
        link.addRow(row, provider);
        link.addRow(row, provider);
        QTRY_COMPARE(watch.state().rows, 2);
        QCOMPARE(m_list->GetLine(2).value(), row);
        (void)link.clearHostList();
        QTRY_COMPARE(watch.state().rows, 0);
        // What the adapter does not do is a bus error of its own number.
        QDBusPendingReply<> viewWorks = m_list->ViewWorks();
        viewWorks.waitForFinished();
        QCOMPARE(viewWorks.error().name(), QStringLiteral("org.barlink.ListManager.Error.E438"));
    }
};

QTEST_MAIN(tst_BusClients)
#include "tst_busclients.moc"
