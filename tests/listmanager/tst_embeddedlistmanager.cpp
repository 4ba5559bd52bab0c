// The embedded list manager as the station and the test console reach it:
// Application, ExeList, the late-bound list and the provider, with planned failures.
#include "ListTestSupport.h"

#include "program/listmanager/EmbeddedApplication.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListStore.h"
#include "program/listmanager/RowFields.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <map>
#include <memory>

using namespace barlink::listmanager;
using namespace barlink::listmanager::test;

class TestEmbeddedListManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void newListKeepsRows();
    void lineMembers();
    void lineOutOfRange_data();
    void lineOutOfRange();
    void openAndAppendList();
    void missingListFile_data();
    void missingListFile();
    void runCommands_data();
    void runCommands();
    void windowSwitches();
    void columnsAndColInfo();
    void closeQuitAndPlainAnswers();
    void memberFails_data();
    void memberFails();
    void failureNamesAnObject();
    void failingMemberChangesNothing();
    void withheldList();
    void provider();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<ListStore> m_store;
    std::shared_ptr<Application> m_app;
    std::shared_ptr<ExeList> m_list;
    std::shared_ptr<LateBoundList> m_lateBound;
};

void TestEmbeddedListManager::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_shared<ListStore>(m_dir->path());
    EmbeddedListManagerProvider provider(m_store);
    m_app = provider.createApplication();
    m_list = m_app->newList();
    m_lateBound = provider.createObject(QStringLiteral("Helicon.ExeList"));
    QVERIFY(m_list);
}

void TestEmbeddedListManager::newListKeepsRows()
{
    m_list->addLine(QStringLiteral("a"));
    const auto again = m_app->newList();
    QVERIFY(again);
    QCOMPARE(again->rows(), 1);
    QCOMPARE(m_app->listOpened(), 1);
}

void TestEmbeddedListManager::lineMembers()
{
    for (const char *row : {"one", "two", "three"})
        m_list->addLine(QString::fromLatin1(row));
    m_list->setLine(2, QStringLiteral("TWO"));
    QCOMPARE(m_list->getLine(2), QStringLiteral("TWO"));
    m_list->delLine(1);
    QCOMPARE(m_list->rows(), 2);
    QCOMPARE(m_list->getLine(1), QStringLiteral("TWO"));
    QCOMPARE(m_list->getLine(2), QStringLiteral("three"));
    m_list->clearList();
    QCOMPARE(m_list->rows(), 0);
}

void TestEmbeddedListManager::lineOutOfRange_data()
{
    QTest::addColumn<qint32>("line");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -1;
    QTest::newRow("lowest") << std::numeric_limits<qint32>::min();
    QTest::newRow("past the end") << 3;
}

void TestEmbeddedListManager::lineOutOfRange()
{
    QFETCH(qint32, line);
    m_list->addLine(QStringLiteral("a"));
    m_list->addLine(QStringLiteral("b"));
    QString description;
    QCOMPARE(errorNumber([&] { (void)m_list->getLine(line); }, &description), 9);
    QCOMPARE(description, QStringLiteral("Subscript out of range"));
    QCOMPARE(errorNumber([&] { m_list->setLine(line, QStringLiteral("x")); }), 9);
    QCOMPARE(errorNumber([&] { m_list->delLine(line); }), 9);
    QCOMPARE(m_store->rows(), (QStringList{"a", "b"}));
}

void TestEmbeddedListManager::openAndAppendList()
{
    const QString path = m_dir->filePath(QStringLiteral("PANEL1.LST"));
    QVERIFY(writeBytes(path, "#161=A;\r\n\r\n#161=B;\n"));
    m_list->addLine(QStringLiteral("old"));
    const auto opened = m_app->openList(path);
    QVERIFY(opened);
    QCOMPARE(opened->rows(), 2);
    QCOMPARE(m_list->getLine(1), QStringLiteral("#161=A;"));
    m_list->appendList(path);
    QCOMPARE(m_store->rows(), (QStringList{"#161=A;", "#161=B;", "#161=A;", "#161=B;"}));
}

void TestEmbeddedListManager::missingListFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << "NOPE.LST";
    QTest::newRow("empty name") << "";
}

void TestEmbeddedListManager::missingListFile()
{
    QFETCH(QString, name);
    const QString path = name.isEmpty() ? QString() : m_dir->filePath(name);
    m_list->addLine(QStringLiteral("kept"));
    QString description;
    QCOMPARE(errorNumber([&] { (void)m_app->openList(path); }, &description), 53);
    QCOMPARE(description, QStringLiteral("File not found"));
    QCOMPARE(errorNumber([&] { m_list->appendList(path); }), 53);
    QCOMPARE(m_store->rows(), QStringList{"kept"});
}

void TestEmbeddedListManager::runCommands_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("inRun");
    QTest::addColumn<qint32>("exeRow");

    QTest::newRow("fresh") << "" << "idle" << false << 0;
    QTest::newRow("start") << "S" << "running" << true << 1;
    QTest::newRow("hold") << "SH" << "held" << false << 1;
    QTest::newRow("restart after hold") << "SHS" << "running" << true << 1;
    QTest::newRow("end") << "SE" << "ended" << false << 0;
    QTest::newRow("hold when idle") << "H" << "idle" << false << 0;
    QTest::newRow("end when idle") << "E" << "idle" << false << 0;
}

void TestEmbeddedListManager::runCommands()
{
    QFETCH(QString, commands);
    QFETCH(QString, state);
    QFETCH(bool, inRun);
    QFETCH(qint32, exeRow);

    m_list->addLine(QStringLiteral("#161=P;"));
    for (QChar command : commands) {
        if (command == u'S')
            m_app->startList();
        else if (command == u'H')
            m_app->holdList();
        else
            m_app->endList();
    }
    QCOMPARE(runStateName(m_store->runState()), state);
    QCOMPARE(m_list->listInRun(), inRun);
    QCOMPARE(m_list->exeRow(), exeRow);
    QCOMPARE(runStateName(ListStore(m_dir->path()).runState()), state);
}

void TestEmbeddedListManager::windowSwitches()
{
    QSignalSpy visible(m_store.get(), &ListStore::visibleChanged);
    QSignalSpy windowState(m_store.get(), &ListStore::windowStateChanged);
    QSignalSpy onTop(m_store.get(), &ListStore::showOnTopChanged);

    m_app->setVisible(!m_app->visible());
    m_app->setWindowState(Application::Maximized);
    m_app->showOnTop(true);
    m_app->enableOpenList(false);
    m_app->enableSaveList(false);
    m_app->enableNewList(false);
    m_list->setVisible(false);

    QCOMPARE(visible.count(), 1);
    QCOMPARE(windowState.takeFirst().at(0).toInt(), 2);
    QCOMPARE(onTop.takeFirst().at(0).toBool(), true);
    QVERIFY(!m_store->openListEnabled() && !m_store->saveListEnabled() && !m_store->newListEnabled());
    QVERIFY(!m_list->visible());
    m_lateBound->setVisible(true);
    QVERIFY(m_list->visible());
    QCOMPARE(errorNumber([&] { m_app->setWindowState(3); }), 5);
    QCOMPARE(m_store->windowState(), 2);
}

void TestEmbeddedListManager::columnsAndColInfo()
{
    QCOMPARE(m_list->columns(), qint16(18));
    m_list->addLine(QStringLiteral("#161=P;#900=x;#162=;#300=y;"));
    QStringList expected;
    for (int number : standardFieldNumbers())
        expected.append(QString::number(number));
    expected << QStringLiteral("900") << QStringLiteral("300");
    QCOMPARE(m_list->colInfo(), expected);
    QCOMPARE(m_list->colInfo().first(), QStringLiteral("161"));
    QCOMPARE(m_list->columns(), qint16(20));
}

void TestEmbeddedListManager::closeQuitAndPlainAnswers()
{
    QVERIFY(m_app->connected());
    QCOMPARE(m_app->accessLevel(), EmbeddedApplication::fixedAccessLevel);
    QCOMPARE(m_list->repetitions(), 1);

    m_list->addLine(QStringLiteral("a"));
    m_list->listClose(false);
    QCOMPARE(m_app->listOpened(), 1);
    m_list->listClose(true);
    QCOMPARE(m_app->listOpened(), 0);
    QCOMPARE(m_app->newList()->rows(), 1);
    QCOMPARE(m_app->listOpened(), 1);

    m_app->quit(true);
    QVERIFY(m_store->quitRequested());
    QVERIFY(!m_app->visible());
    m_app->setpoint();
    QCOMPARE(m_store->setpoints(), 1);
}

// Every member by its automation name, each called once.
static const std::map<QString, std::function<void(Application &, ExeList &, LateBoundList &)>> &members()
{
    static const std::map<QString, std::function<void(Application &, ExeList &, LateBoundList &)>> calls{
        {"Application.Visible", [](auto &a, auto &, auto &) { a.setVisible(true); }},
        {"Connected", [](auto &a, auto &, auto &) { (void)a.connected(); }},
        {"AccessLevel", [](auto &a, auto &, auto &) { (void)a.accessLevel(); }},
        {"WindowState", [](auto &a, auto &, auto &) { a.setWindowState(0); }},
        {"ListOpened", [](auto &a, auto &, auto &) { (void)a.listOpened(); }},
        {"Quit", [](auto &a, auto &, auto &) { a.quit(true); }},
        {"OpenList", [](auto &a, auto &, auto &) { (void)a.openList(QString()); }},
        {"NewList", [](auto &a, auto &, auto &) { (void)a.newList(); }},
        {"StartList", [](auto &a, auto &, auto &) { a.startList(); }},
        {"HoldList", [](auto &a, auto &, auto &) { a.holdList(); }},
        {"EndList", [](auto &a, auto &, auto &) { a.endList(); }},
        {"Setpoint", [](auto &a, auto &, auto &) { a.setpoint(); }},
        {"EnableOpenList", [](auto &a, auto &, auto &) { a.enableOpenList(true); }},
        {"EnableSaveList", [](auto &a, auto &, auto &) { a.enableSaveList(true); }},
        {"EnableNewList", [](auto &a, auto &, auto &) { a.enableNewList(true); }},
        {"ShowOnTop", [](auto &a, auto &, auto &) { a.showOnTop(false); }},
        {"ListInRun", [](auto &, auto &l, auto &) { (void)l.listInRun(); }},
        {"ExeList.Visible", [](auto &, auto &l, auto &) { (void)l.visible(); }},
        {"Columns", [](auto &, auto &l, auto &) { (void)l.columns(); }},
        {"Rows", [](auto &, auto &l, auto &) { (void)l.rows(); }},
        {"Repetitions", [](auto &, auto &l, auto &) { (void)l.repetitions(); }},
        {"ExeRow", [](auto &, auto &l, auto &) { (void)l.exeRow(); }},
        {"ColInfo", [](auto &, auto &l, auto &) { (void)l.colInfo(); }},
        {"AddLine", [](auto &, auto &l, auto &) { l.addLine(QStringLiteral("x")); }},
        {"DelLine", [](auto &, auto &l, auto &) { l.delLine(1); }},
        {"GetLine", [](auto &, auto &l, auto &) { (void)l.getLine(1); }},
        {"SetLine", [](auto &, auto &l, auto &) { l.setLine(1, QStringLiteral("y")); }},
        {"AppendList", [](auto &, auto &l, auto &) { l.appendList(QString()); }},
        {"ClearList", [](auto &, auto &l, auto &) { l.clearList(); }},
        {"ViewWorks", [](auto &, auto &l, auto &) { l.viewWorks(); }},
        {"ViewWorksThrought", [](auto &, auto &l, auto &) { l.viewWorksThrought(); }},
        {"ListClose", [](auto &, auto &l, auto &) { l.listClose(true); }},
        {"Helicon.ExeList.Visible", [](auto &, auto &, auto &b) { b.setVisible(true); }},
        {"Clear", [](auto &, auto &, auto &b) { b.clear(); }},
    };
    return calls;
}

void TestEmbeddedListManager::memberFails_data()
{
    QTest::addColumn<QString>("member");
    for (const auto &[name, call] : members())
        QTest::newRow(name.toLatin1()) << name;
}

void TestEmbeddedListManager::memberFails()
{
    QFETCH(QString, member);
    const auto &call = members().at(member);
    m_list->addLine(QStringLiteral("row"));
    m_store->failures().failNext(member, 2, barlink::Error(57, QStringLiteral("Device I/O error")));

    QString description;
    QCOMPARE(errorNumber([&] { call(*m_app, *m_list, *m_lateBound); }, &description), 57);
    QCOMPARE(description, QStringLiteral("Device I/O error"));
    QCOMPARE(errorNumber([&] { call(*m_app, *m_list, *m_lateBound); }), 57);
    // Then the member works again; the file members fail for want of a file.
    const bool fileMember = member == u"OpenList" || member == u"AppendList";
    QCOMPARE(errorNumber([&] { call(*m_app, *m_list, *m_lateBound); }), fileMember ? 53 : 0);
}

void TestEmbeddedListManager::failureNamesAnObject()
{
    m_store->failures().setFailing(QStringLiteral("ExeList.Visible"), true);
    QCOMPARE(errorNumber([&] { (void)m_list->visible(); }), 440);
    QCOMPARE(errorNumber([&] { (void)m_app->visible(); }), 0);
    m_store->failures().setFailing(QStringLiteral("Visible"), true);
    QCOMPARE(errorNumber([&] { (void)m_app->visible(); }), 440);
    QCOMPARE(errorNumber([&] { m_lateBound->setVisible(true); }), 440);
    m_store->failures().reset();
    QCOMPARE(errorNumber([&] { (void)m_list->visible(); }), 0);
}

void TestEmbeddedListManager::failingMemberChangesNothing()
{
    m_store->failures().setFailing(QStringLiteral("AddLine"), true);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(errorNumber([&] { m_list->addLine(QStringLiteral("x")); }), 440);
    QCOMPARE(m_store->rowCount(), 0);
    m_store->failures().setFailing(QStringLiteral("AddLine"), false);
    m_list->addLine(QStringLiteral("x"));
    QCOMPARE(m_store->rowCount(), 1);
}

void TestEmbeddedListManager::withheldList()
{
    m_store->failures().withholdList(2);
    QVERIFY(!m_app->newList());
    QVERIFY(!m_app->newList());
    QVERIFY(m_app->newList());
}

void TestEmbeddedListManager::provider()
{
    EmbeddedListManagerProvider provider(m_store);
    m_list->addLine(QStringLiteral("a"));
    const auto lateBound = provider.createObject(QStringLiteral("helicon.exelist"));
    QVERIFY(lateBound);
    lateBound->clear();
    QCOMPARE(m_list->rows(), 0);

    QString description;
    QCOMPARE(errorNumber([&] { (void)provider.createObject(QStringLiteral("Helicon.Other")); },
                         &description),
             429);
    QCOMPARE(description, QStringLiteral("ActiveX component can't create object"));

    m_store->failures().failNext(QStringLiteral("CreateApplication"), 1,
                                 barlink::Error(429, QStringLiteral("ActiveX component can't create object")));
    QCOMPARE(errorNumber([&] { (void)provider.createApplication(); }), 429);
    QVERIFY(provider.createApplication());
}

QTEST_GUILESS_MAIN(TestEmbeddedListManager)
#include "tst_embeddedlistmanager.moc"
