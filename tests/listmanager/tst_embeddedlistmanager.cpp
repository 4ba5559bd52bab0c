// The embedded list manager as the station and the test console reach it: Application,
// ExeList, the late-bound list, the provider, planned failures, and the station's link.
#include "TestSupport.h"

#include "program/listmanager/EmbeddedApplication.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListManagerLink.h"
#include "program/listmanager/ListStore.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <map>
#include <memory>

using namespace barlink::listmanager;
using namespace barlink::testing;

namespace {

using MemberCall = std::function<void(Application &, ExeList &, LateBoundList &)>;

// Members of each kind by their automation names, each called once: every member passes
// through the same planned-failure check, so one of a kind stands for the others.
const std::map<QString, MemberCall> &members()
{
    // clang-format off
    static const std::map<QString, MemberCall> calls{
        {"Connected",  [](auto &a, auto &, auto &) { (void)a.connected(); }},
        {"StartList",  [](auto &a, auto &, auto &) { a.startList(); }},
        {"OpenList",   [](auto &a, auto &, auto &) { (void)a.openList(QString()); }},
        {"NewList",    [](auto &a, auto &, auto &) { (void)a.newList(); }},
        {"Rows",       [](auto &, auto &l, auto &) { (void)l.rows(); }},
        {"AddLine",    [](auto &, auto &l, auto &) { l.addLine(QStringLiteral("x")); }},
        {"AppendList", [](auto &, auto &l, auto &) { l.appendList(QString()); }},
        {"Clear",      [](auto &, auto &, auto &b) { b.clear(); }},
    };
    // clang-format on
    return calls;
}

} // namespace

class TestEmbeddedListManager : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<ListStore> m_store;
    std::unique_ptr<EmbeddedListManagerProvider> m_provider;
    std::shared_ptr<Application> m_app;
    std::shared_ptr<ExeList> m_list;
    std::shared_ptr<LateBoundList> m_lateBound;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_shared<ListStore>(m_dir->path());
        m_provider = std::make_unique<EmbeddedListManagerProvider>(m_store);
        m_app = m_provider->createApplication();
        m_list = m_app->newList();
        m_lateBound = m_provider->createObject(QStringLiteral("Helicon.ExeList"));
        QVERIFY(m_list);
        m_list->addLine(QStringLiteral("one"));
        m_list->addLine(QStringLiteral("two"));
    }

    void lineMembers()
    {
        m_list->addLine(QStringLiteral("three"));
        m_list->setLine(2, QStringLiteral("TWO"));
        m_list->delLine(1);
        QCOMPARE(m_store->rows(), (QStringList{"TWO", "three"}));
        QCOMPARE(m_list->getLine(2), QStringLiteral("three"));
        QCOMPARE(m_app->newList()->rows(), 2); // handing the list out again keeps its rows
        m_list->clearList();
        QCOMPARE(m_list->rows(), 0);
    }

    void lineOutOfRange_data()
    {
        QTest::addColumn<qint32>("line");
        QTest::newRow("zero") << 0;
        QTest::newRow("lowest") << std::numeric_limits<qint32>::min();
        QTest::newRow("past the end") << 3;
    }
    void lineOutOfRange()
    {
        QFETCH(qint32, line);
        QString description;
        QCOMPARE(errorNumber([&] { (void)m_list->getLine(line); }, &description), 9);
        QCOMPARE(description, QStringLiteral("Subscript out of range"));
        QCOMPARE(errorNumber([&] { m_list->setLine(line, QStringLiteral("x")); }), 9);
        QCOMPARE(errorNumber([&] { m_list->delLine(line); }), 9);
        QCOMPARE(m_store->rows(), (QStringList{"one", "two"}));
    }

    void openAndAppendList()
    {
        const QString path = m_dir->filePath(QStringLiteral("PANEL1.LST"));
        QVERIFY(writeBytes(path, "#161=A;\r\n\r\n#161=B;\n"));
        QCOMPARE(m_app->openList(path)->rows(), 2);
        m_list->appendList(path);
        QCOMPARE(m_store->rows(), (QStringList{"#161=A;", "#161=B;", "#161=A;", "#161=B;"}));

        QString description;
        const QString missing = m_dir->filePath(QStringLiteral("NOPE.LST"));
        QCOMPARE(errorNumber([&] { (void)m_app->openList(missing); }, &description), 53);
        QCOMPARE(description, QStringLiteral("File not found"));
        QCOMPARE(errorNumber([&] { m_list->appendList(missing); }), 53);
        QCOMPARE(m_store->rowCount(), 4);
    }

    void runCommands_data()
    {
        QTest::addColumn<QString>("commands"); // S start, H hold, E end
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("inRun");
        QTest::addColumn<qint32>("exeRow");
        // clang-format off
        QTest::newRow("start") << "S"  << "running" << true  << 1;
        QTest::newRow("hold")  << "SH" << "held"    << false << 1;
        QTest::newRow("end")   << "SE" << "ended"   << false << 0;
        // clang-format on
    }
    void runCommands()
    {
        QFETCH(QString, commands);
        ListManagerLink link;
        link.setApplication(m_app);
        for (QChar command : commands)
            command == u'S'   ? link.hostListStart()
            : command == u'H' ? link.hostListStop()
                              : link.hostListEnd();
        QTEST(runStateName(m_store->runState()), "state");
        QTEST(m_list->listInRun(), "inRun");
        QTEST(m_list->exeRow(), "exeRow");
        QTEST(runStateName(ListStore(m_dir->path()).runState()), "state"); // kept on disk
    }

    void switchesAndCounters()
    {
        m_app->setWindowState(Application::Maximized);
        QCOMPARE(errorNumber([&] { m_app->setWindowState(3); }), 5);
        QCOMPARE(m_store->windowState(), 2);
        m_list->setVisible(false);
        m_lateBound->setVisible(true); // the late-bound list is the same list
        QVERIFY(m_list->visible());
        m_app->setpoint();
        QCOMPARE(m_store->setpoints(), 1);
        m_list->listClose(false);
        QCOMPARE(m_app->listOpened(), 1);
        m_list->listClose(true);
        QCOMPARE(m_app->listOpened(), 0);
        QCOMPARE(m_app->newList()->rows(), 2);
        QCOMPARE(m_app->listOpened(), 1);
        m_app->quit(true);
        QVERIFY(m_store->quitRequested() && !m_app->visible());
    }

    // Columns: the 18 standard fields, then the others in the order they were met.
    void columnsAndColInfo()
    {
        QCOMPARE(m_list->columns(), qint16(18));
        m_list->addLine(QStringLiteral("#161=P;#900=x;#162=;#300=y;"));
        QCOMPARE(m_list->columns(), qint16(20));
        const QStringList info = m_list->colInfo();
        QCOMPARE(info.first(), QStringLiteral("161"));
        QCOMPARE(info.mid(18), (QStringList{"900", "300"}));
    }

    void memberFails_data()
    {
        QTest::addColumn<QString>("member");
        for (const auto &[name, call] : members())
            QTest::newRow(name.toLatin1()) << name;
    }
    void memberFails()
    {
        QFETCH(QString, member);
        const auto call = [&] { members().at(member)(*m_app, *m_list, *m_lateBound); };
        m_store->failures().failNext(
            member, 2, barlink::Error(57, QStringLiteral("Device I/O error")));
        QString description;
        QCOMPARE(errorNumber(call, &description), 57);
        QCOMPARE(description, QStringLiteral("Device I/O error"));
        QCOMPARE(errorNumber(call), 57);
        // Then the member works again; the file members fail for want of a file.
        const bool fileMember = member == u"OpenList" || member == u"AppendList";
        QCOMPARE(errorNumber(call), fileMember ? 53 : 0);
    }

    void failureRules()
    {
        auto &failures = m_store->failures();
        failures.setFailing(QStringLiteral("ExeList.Visible"), true);
        QCOMPARE(errorNumber([&] { (void)m_list->visible(); }), 440);
        QCOMPARE(errorNumber([&] { (void)m_app->visible(); }), 0);
        failures.setFailing(QStringLiteral("AddLine"), true);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(errorNumber([&] { m_list->addLine(QStringLiteral("x")); }), 440);
        QCOMPARE(m_store->rowCount(), 2); // a failing member changes nothing
        failures.setFailing(QStringLiteral("AddLine"), false);
        m_list->addLine(QStringLiteral("x"));
        failures.reset();
        QCOMPARE(errorNumber([&] { (void)m_list->visible(); }), 0);

        failures.withholdList(2);
        QVERIFY(!m_app->newList());
        QVERIFY(!m_app->newList());
        QVERIFY(m_app->newList());
    }

    void provider()
    {
        m_provider->createObject(QStringLiteral("helicon.exelist"))->clear();
        QCOMPARE(m_list->rows(), 0);
        QString description;
        QCOMPARE(
            errorNumber([&] { (void)m_provider->createObject(QStringLiteral("Helicon.Other")); },
                        &description),
            429);
        QCOMPARE(description, QStringLiteral("ActiveX component can't create object"));
        m_store->failures().failNext(QStringLiteral("CreateApplication"), 1);
        QCOMPARE(errorNumber([&] { (void)m_provider->createApplication(); }), 440);
        QVERIFY(m_provider->createApplication());
    }

    void clearHostList_data()
    {
        QTest::addColumn<bool>("commandLineEmpty");
        QTest::addColumn<bool>("holdsList");
        QTest::addColumn<int>("error");
        QTest::addColumn<qint32>("rowsAfter");
        QTest::newRow("empty command line, list held") << true << true << 0 << 0;
        QTest::newRow("empty command line, no list") << true << false << 91 << 2;
        QTest::newRow("command line text, no list") << false << false << 0 << 2;
    }
    void clearHostList()
    {
        QFETCH(bool, commandLineEmpty);
        QFETCH(bool, holdsList);
        QFETCH(int, error);
        ListManagerLink link;
        link.setCommandLineEmpty(commandLineEmpty);
        link.setApplication(m_app);
        if (holdsList)
            link.setCurrentList(m_list);
        QString description;
        QCOMPARE(errorNumber([&] { link.clearHostList(); }, &description), error);
        if (error)
            QCOMPARE(description, QStringLiteral("Object variable or With block variable not set"));
        QTEST(m_store->rowCount(), "rowsAfter");
    }

    void linkReleasesInOrder()
    {
        QStringList released;
        const auto track = [&](auto object, const char *name) {
            using T = typename decltype(object)::element_type;
            return std::shared_ptr<T>(object.get(), [&released, object, name](T *) mutable {
                released.append(QString::fromLatin1(name));
                object.reset();
            });
        };
        ListManagerLink link;
        link.setApplication(track(std::exchange(m_app, {}), "application"));
        link.setCurrentList(track(std::exchange(m_list, {}), "list"));
        link.setLateBoundList(track(std::exchange(m_lateBound, {}), "late-bound"));
        link.release();
        QCOMPARE(released, (QStringList{"late-bound", "list", "application"}));
        QVERIFY(!link.application() && !link.currentList() && !link.lateBoundList());
        QCOMPARE(errorNumber([&] { link.hostListStart(); }), 91);
        QCOMPARE(errorNumber([&] { link.setpoint(); }), 91);
    }
};

QTEST_GUILESS_MAIN(TestEmbeddedListManager)
#include "tst_embeddedlistmanager.moc"
