// The station's hold on the list manager: the list commands and the release at shutdown.
#include "ListTestSupport.h"

#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListManagerLink.h"
#include "program/listmanager/ListStore.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace barlink::listmanager;
using namespace barlink::listmanager::test;

class TestListManagerLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void clearHostList_data();
    void clearHostList();
    void commands_data();
    void commands();
    void releaseOrder();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<ListStore> m_store;
    std::unique_ptr<EmbeddedListManagerProvider> m_provider;
};

void TestListManagerLink::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_shared<ListStore>(m_dir->path());
    m_provider = std::make_unique<EmbeddedListManagerProvider>(m_store);
}

void TestListManagerLink::clearHostList_data()
{
    QTest::addColumn<bool>("commandLineEmpty");
    QTest::addColumn<bool>("holdsList");
    QTest::addColumn<int>("error");
    QTest::addColumn<qint32>("rowsAfter");

    QTest::newRow("empty command line, list held") << true << true << 0 << 0;
    QTest::newRow("empty command line, no list") << true << false << 91 << 2;
    QTest::newRow("command line text, list held") << false << true << 0 << 2;
    QTest::newRow("command line text, no list") << false << false << 0 << 2;
}

void TestListManagerLink::clearHostList()
{
    QFETCH(bool, commandLineEmpty);
    QFETCH(bool, holdsList);
    QFETCH(int, error);
    QFETCH(qint32, rowsAfter);

    m_store->addRow(QStringLiteral("a"));
    m_store->addRow(QStringLiteral("b"));
    ListManagerLink link;
    link.setCommandLineEmpty(commandLineEmpty);
    link.setApplication(m_provider->createApplication());
    if (holdsList)
        link.setCurrentList(link.application()->newList());

    QString description;
    QCOMPARE(errorNumber([&] { link.clearHostList(); }, &description), error);
    if (error)
        QCOMPARE(description, QStringLiteral("Object variable or With block variable not set"));
    QCOMPARE(m_store->rowCount(), rowsAfter);
}

void TestListManagerLink::commands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("state");
    QTest::addColumn<qint32>("setpoints");

    QTest::newRow("start") << "start" << "running" << 0;
    QTest::newRow("stop") << "stop" << "held" << 0;
    QTest::newRow("end") << "end" << "ended" << 0;
    QTest::newRow("setpoint") << "setpoint" << "running" << 1;
}

void TestListManagerLink::commands()
{
    QFETCH(QString, command);
    QFETCH(QString, state);
    QFETCH(qint32, setpoints);

    ListManagerLink link;
    const auto send = [&] {
        if (command == u"start")
            link.hostListStart();
        else if (command == u"stop")
            link.hostListStop();
        else if (command == u"end")
            link.hostListEnd();
        else
            link.setpoint();
    };
    QCOMPARE(errorNumber(send), 91);

    link.setApplication(m_provider->createApplication());
    link.hostListStart();
    send();
    QCOMPARE(runStateName(m_store->runState()), state);
    QCOMPARE(m_store->setpoints(), setpoints);

    m_store->failures().failNext(QStringLiteral("StartList"), 1);
    QCOMPARE(errorNumber([&] { link.hostListStart(); }), 440);
}

// Stand-ins that note when they are let go.
struct Journal
{
    QStringList released;
    template<typename T>
    std::shared_ptr<T> track(std::shared_ptr<T> object, const QString &name)
    {
        return std::shared_ptr<T>(object.get(), [this, object, name](T *) mutable {
            released.append(name);
            object.reset();
        });
    }
};

void TestListManagerLink::releaseOrder()
{
    Journal journal;
    ListManagerLink link;
    const auto app = m_provider->createApplication();
    link.setApplication(journal.track(app, QStringLiteral("application")));
    link.setCurrentList(journal.track(app->newList(), QStringLiteral("list")));
    link.setLateBoundList(journal.track(m_provider->createObject(QStringLiteral("Helicon.ExeList")),
                                        QStringLiteral("late-bound")));
    link.release();
    QCOMPARE(journal.released, (QStringList{"late-bound", "list", "application"}));
    QVERIFY(!link.application() && !link.currentList() && !link.lateBoundList());
    QCOMPARE(errorNumber([&] { link.hostListStart(); }), 91);
}

QTEST_GUILESS_MAIN(TestListManagerLink)
#include "tst_listmanagerlink.moc"
