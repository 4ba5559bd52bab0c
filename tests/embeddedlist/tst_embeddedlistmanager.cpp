// The embedded list manager as the station and the test console reach it: Application,
// ExeList, the late-bound list, the provider, and the station's link.
#include "TestSupport.h"

#include "embeddedlist/EmbeddedApplication.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "listmanager/ListManagerLink.h"
#include "embeddedlist/ListStore.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using namespace barlink::embeddedlist;
using namespace barlink::listmanager;
using namespace barlink::testing;

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

    // Reading a list file is in tst_listformat and tst_testconsolewindow; a missing one fails
    // and changes nothing.
    void missingListFile()
    {
        const QString missing = m_dir->filePath(QStringLiteral("NOPE.LST"));
        QString description;
        QCOMPARE(errorNumber([&] { (void)m_app->openList(missing); }, &description), 53);
        QCOMPARE(description, QStringLiteral("File not found"));
        QCOMPARE(errorNumber([&] { m_list->appendList(missing); }), 53);
        QCOMPARE(m_store->rowCount(), 2);
    }

    // Run states are in tst_listformat and tst_liststore; here what the list reports of them.
    void runCommands()
    {
        ListManagerLink link;
        link.setApplication(m_app);
        link.hostListStart();
        QVERIFY(m_list->listInRun());
        QCOMPARE(m_list->exeRow(), 1);
        link.hostListStop();
        QVERIFY(!m_list->listInRun());
        QCOMPARE(m_list->exeRow(), 1);
        link.hostListEnd();
        QCOMPARE(m_list->exeRow(), 0);
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
