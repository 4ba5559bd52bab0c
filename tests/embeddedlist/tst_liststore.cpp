// The store of the embedded list manager: what reaches the disk, and what a restart finds.
#include "TestSupport.h"

#include "embeddedlist/ListFile.h"
#include "embeddedlist/ListStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace barlink::embeddedlist;
using namespace barlink::testing;

class TestListStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    [[nodiscard]] QString path(const char *name) const
    {
        return m_dir->filePath(QString::fromLatin1(name));
    }
    [[nodiscard]] std::unique_ptr<ListStore> restart() const
    {
        return std::make_unique<ListStore>(m_dir->path());
    }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void restartKeepsListAndRunState()
    {
        QVERIFY(!restart()->hasList());
        {
            ListStore store(m_dir->path());
            store.addRow(QStringLiteral(u"#161=é;"));
            store.addRow(QString());
            store.runCommand(RunCommand::Start);
            store.runCommand(RunCommand::Hold);
            store.addSetpoint();
            store.addSetpoint();
        }
        const QJsonObject state
            = QJsonDocument::fromJson(readBytes(path("listmanager.json"))).object();
        QCOMPARE(state, (QJsonObject{{"state", "held"}, {"setpoints", 2}}));
        const auto store = restart();
        QVERIFY(store->hasList() && store->listOpen());
        QCOMPARE(store->rows(), (QStringList{QStringLiteral(u"#161=é;"), ""}));
        QCOMPARE(store->runState(), RunState::Held);
        QCOMPARE(store->setpoints(), 2);
    }

    // An added row is appended: the file grows by that one line and nothing else changes.
    void addLineAppendsOneLine()
    {
        ListStore store(m_dir->path());
        QStringList expected;
        for (int i = 0; i < 1000; ++i) {
            const QByteArray before = readBytes(path("current.lst"));
            expected.append(QStringLiteral(u"#161=P%1ñ;#168=%2;").arg(i).arg(i % 7));
            store.addRow(expected.last());
            QCOMPARE(readBytes(path("current.lst")), before + expected.last().toLatin1() + "\r\n");
        }
        QCOMPARE(restart()->rows(), expected);
    }

    void rewritesReplaceTheFile_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("clear") << "clear" << QStringList{};
        QTest::newRow("remove") << "remove" << QStringList{"a", "c"};
        QTest::newRow("set") << "set" << QStringList{"a", "B", "c"};
        QTest::newRow("open") << "open" << QStringList{"x", "y"};
        QTest::newRow("append") << "append" << QStringList{"a", "b", "c", "x", "y"};
    }
    void rewritesReplaceTheFile()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, rows);
        QVERIFY(writeBytes(path("other.lst"), "x\r\n\r\ny\n"));
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
            store.openListFile(path("other.lst"));
        else
            store.appendListFile(path("other.lst"));

        QCOMPARE(store.rows(), rows);
        QCOMPARE(readBytes(path("current.lst")), encodeRows(rows));
        store.addRow(QStringLiteral("after")); // appends to the new file, not the replaced one
        QCOMPARE(restart()->rows(), rows + QStringList{"after"});
    }

    void tornLastRowIsDroppedAndRepaired()
    {
        QVERIFY(writeBytes(path("current.lst"), "a\r\nb\r\n#161=PR"));
        {
            ListStore store(m_dir->path());
            QCOMPARE(store.rows(), (QStringList{"a", "b"}));
            QCOMPARE(readBytes(path("current.lst")), QByteArray("a\r\nb\r\n"));
            store.addRow(QStringLiteral("c"));
        }
        QCOMPARE(restart()->rows(), (QStringList{"a", "b", "c"}));
    }

    void unknownStateReadsIdle()
    {
        QVERIFY(writeBytes(path("listmanager.json"), R"({"state": "flying", "setpoints": 4})"));
        QCOMPARE(restart()->runState(), RunState::Idle);
        QCOMPARE(restart()->setpoints(), 4);
    }

    void unwritableFolderChangesNothing()
    {
        QVERIFY(writeBytes(path("blocked"), "x")); // a file where the folder should be
        ListStore store(path("blocked"));
        QSignalSpy appended(&store, &ListStore::rowsAppended);
        QVERIFY(errorNumber([&] { store.addRow(QStringLiteral("a")); }) != 0);
        QVERIFY(errorNumber([&] { store.runCommand(RunCommand::Start); }) != 0);
        QVERIFY(errorNumber([&] { store.addSetpoint(); }) != 0);
        QCOMPARE(store.rowCount(), 0);
        QCOMPARE(store.runState(), RunState::Idle);
        QCOMPARE(store.setpoints(), 0);
        QCOMPARE(appended.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestListStore)
#include "tst_liststore.moc"
