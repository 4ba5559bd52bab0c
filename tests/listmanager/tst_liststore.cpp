// The store of the embedded list manager: what reaches the disk, and what a restart finds.
#include "ListTestSupport.h"

#include "program/listmanager/ListFile.h"
#include "program/listmanager/ListStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace barlink::listmanager;
using namespace barlink::listmanager::test;

class TestListStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void emptyFolderHasNoList();
    void restartKeepsListAndRunState();
    void addLineAppendsOneLine();
    void thousandAddsMatchReload();
    void rewritesReplaceTheFile_data();
    void rewritesReplaceTheFile();
    void tornLastRowIsDroppedAndRepaired();
    void stateFileFormat();
    void unknownStateReadsIdle();
    void unwritableFolderChangesNothing();

private:
    [[nodiscard]] QString listPath() const { return m_dir->filePath(QStringLiteral("current.lst")); }
    [[nodiscard]] QString statePath() const { return m_dir->filePath(QStringLiteral("listmanager.json")); }
    std::unique_ptr<ListStore> restart() { return std::make_unique<ListStore>(m_dir->path()); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestListStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestListStore::emptyFolderHasNoList()
{
    ListStore store(m_dir->filePath(QStringLiteral("sub/barlink")));
    QVERIFY(!store.hasList());
    QCOMPARE(store.rowCount(), 0);
    QCOMPARE(store.runState(), RunState::Idle);
    store.openCurrentList();
    QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("sub/barlink/current.lst"))));
}

void TestListStore::restartKeepsListAndRunState()
{
    {
        ListStore store(m_dir->path());
        store.addRow(QStringLiteral("#161=A.CNC;"));
        store.addRow(QStringLiteral(u"#161=é;"));
        store.addRow(QString());
        store.runCommand(RunCommand::Start);
        store.runCommand(RunCommand::Hold);
        store.addSetpoint();
        store.addSetpoint();
    }
    const auto store = restart();
    QVERIFY(store->hasList());
    QVERIFY(store->listOpen());
    QCOMPARE(store->rows(), (QStringList{"#161=A.CNC;", QStringLiteral(u"#161=é;"), ""}));
    QCOMPARE(store->runState(), RunState::Held);
    QCOMPARE(store->setpoints(), 2);
}

void TestListStore::addLineAppendsOneLine()
{
    ListStore store(m_dir->path());
    store.addRow(QStringLiteral("first"));
    const QByteArray before = readBytes(listPath());
    store.addRow(QStringLiteral(u"#161=ñ;"));
    QCOMPARE(readBytes(listPath()), before + QByteArray("#161=\xf1;\r\n"));
}

void TestListStore::thousandAddsMatchReload()
{
    ListStore store(m_dir->path());
    QStringList expected;
    for (int i = 0; i < 1000; ++i) {
        expected.append(QStringLiteral("#161=P%1.CNC;#168=%2;").arg(i).arg(i % 7));
        store.addRow(expected.last());
    }
    QCOMPARE(store.rows(), expected);
    QCOMPARE(readBytes(listPath()), encodeRows(expected));
    QCOMPARE(restart()->rows(), expected);
}

void TestListStore::rewritesReplaceTheFile_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("clear") << "clear" << QStringList{};
    QTest::newRow("remove") << "remove" << QStringList{"a", "c"};
    QTest::newRow("set") << "set" << QStringList{"a", "B", "c"};
    QTest::newRow("open") << "open" << QStringList{"x", "y"};
    QTest::newRow("append") << "append" << QStringList{"a", "b", "c", "x", "y"};
}

void TestListStore::rewritesReplaceTheFile()
{
    QFETCH(QString, change);
    QFETCH(QStringList, rows);

    const QString file = m_dir->filePath(QStringLiteral("other.lst"));
    QVERIFY(writeBytes(file, "x\r\n\r\ny\n"));
    ListStore store(m_dir->path());
    for (const char *row : {"a", "b", "c"})
        store.addRow(QString::fromLatin1(row));

    if (change == u"clear")
        store.clear();
    else if (change == u"remove")
        store.removeRow(1);
    else if (change == u"set")
        store.setRow(1, QStringLiteral("B"));
    else if (change == u"open")
        store.openListFile(file);
    else
        store.appendListFile(file);

    QCOMPARE(store.rows(), rows);
    QCOMPARE(readBytes(listPath()), encodeRows(rows));
    store.addRow(QStringLiteral("after"));
    QCOMPARE(restart()->rows(), rows + QStringList{"after"});
}

void TestListStore::tornLastRowIsDroppedAndRepaired()
{
    QVERIFY(writeBytes(listPath(), "a\r\nb\r\n#161=PR"));
    {
        ListStore store(m_dir->path());
        QCOMPARE(store.rows(), (QStringList{"a", "b"}));
        QCOMPARE(readBytes(listPath()), QByteArray("a\r\nb\r\n"));
        store.addRow(QStringLiteral("c"));
    }
    QCOMPARE(restart()->rows(), (QStringList{"a", "b", "c"}));
}

void TestListStore::stateFileFormat()
{
    ListStore store(m_dir->path());
    store.runCommand(RunCommand::Start);
    store.addSetpoint();
    const QJsonObject object = QJsonDocument::fromJson(readBytes(statePath())).object();
    QCOMPARE(object.value(QStringLiteral("state")).toString(), QStringLiteral("running"));
    QCOMPARE(object.value(QStringLiteral("setpoints")).toInt(), 1);
    QCOMPARE(object.size(), 2);
}

void TestListStore::unknownStateReadsIdle()
{
    QVERIFY(writeBytes(statePath(), R"({"state": "flying", "setpoints": 4})"));
    const auto store = restart();
    QCOMPARE(store->runState(), RunState::Idle);
    QCOMPARE(store->setpoints(), 4);
}

void TestListStore::unwritableFolderChangesNothing()
{
    // A regular file where the folder should be: nothing can be written below it.
    const QString blocked = m_dir->filePath(QStringLiteral("blocked"));
    QVERIFY(writeBytes(blocked, "x"));
    ListStore store(blocked);
    QSignalSpy appended(&store, &ListStore::rowsAppended);
    QVERIFY(errorNumber([&] { store.addRow(QStringLiteral("a")); }) != 0);
    QVERIFY(errorNumber([&] { store.runCommand(RunCommand::Start); }) != 0);
    QVERIFY(errorNumber([&] { store.addSetpoint(); }) != 0);
    QCOMPARE(store.rowCount(), 0);
    QCOMPARE(store.runState(), RunState::Idle);
    QCOMPARE(store.setpoints(), 0);
    QCOMPARE(appended.count(), 0);
}

QTEST_GUILESS_MAIN(TestListStore)
#include "tst_liststore.moc"
