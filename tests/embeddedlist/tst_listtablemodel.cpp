// The table over the current list: headers, cells, and the change signals views rely on.
#include "embeddedlist/ListStore.h"
#include "embeddedlist/ListTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace barlink::embeddedlist;

class TestListTableModel : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ListStore> m_store;
    std::unique_ptr<ListTableModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester; // checks every signal the model sends

    // The cell of a row under the column headed by the field number.
    [[nodiscard]] QString cell(int row, int field) const
    {
        for (int column = 0; column < m_model->columnCount(); ++column) {
            const QString heading = m_model->headerData(column, Qt::Horizontal).toString();
            if (heading.section(QLatin1Char(' '), 0, 0) == QString::number(field))
                return m_model->index(row, column).data().toString();
        }
        return QStringLiteral("<no column>");
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<ListStore>(m_dir->path());
        m_model = std::make_unique<ListTableModel>(m_store.get());
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

    void cells_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        const QString station = QStringLiteral("#161=forpunte.CNC;#162=;#171=3;#282= ;#279=;");
        QTest::newRow("program") << station << 161 << "forpunte.CNC";
        QTest::newRow("missing field") << "#161=P;" << 168 << "";
    }
    void cells()
    {
        QFETCH(QString, row);
        QFETCH(int, field);
        m_store->addRow(row);
        QTEST(cell(0, field), "value");
        QCOMPARE(m_model->index(0, 0).data(Qt::ToolTipRole).toString(), row);
        QCOMPARE(m_model->columnCount(), 18);
    }

    void addLineInsertsOneRow()
    {
        m_store->addRow(QStringLiteral("#161=A;"));
        QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
        QSignalSpy columns(m_model.get(), &QAbstractItemModel::columnsInserted);
        QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
        m_store->addRow(QStringLiteral("#161=B;"));
        m_store->addRow(QStringLiteral("#161=C;#900=x;"));
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(inserted.at(0).at(1).toInt(), 1);
        QCOMPARE(inserted.at(1).at(2).toInt(), 2);
        QCOMPARE(columns.count(), 1);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(cell(1, 161), QStringLiteral("B"));
        QCOMPARE(cell(2, 900), QStringLiteral("x"));
        QCOMPARE(m_model->headerData(18, Qt::Horizontal).toString(), QStringLiteral("900"));
        QCOMPARE(m_model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("161 Program"));
        QCOMPARE(m_model->headerData(5, Qt::Horizontal).toString(), QStringLiteral("171 Field"));
    }

    void changes_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("firstProgram");
        QTest::newRow("set keeps extra column") << "set" << 19 << "Z";
        QTest::newRow("set drops extra column") << "set plain" << 18 << "Z";
        QTest::newRow("delete drops extra column") << "delete" << 18 << "B";
        QTest::newRow("clear") << "clear" << 18 << "<no row>";
        QTest::newRow("append") << "append" << 19 << "A";
    }
    void changes()
    {
        QFETCH(QString, change);
        m_store->addRow(QStringLiteral("#161=A;#900=x;"));
        m_store->addRow(QStringLiteral("#161=B;"));
        QCOMPARE(cell(0, 161), QStringLiteral("A")); // fills the cache before the change
        if (change.startsWith(u"set"))
            m_store->setRow(
                0, change == u"set" ? QStringLiteral("#161=Z;#900=y;") : QStringLiteral("#161=Z;"));
        else if (change == u"delete")
            m_store->removeRow(0);
        else if (change == u"clear")
            m_store->clear();
        else
            m_store->appendRows({QStringLiteral("#161=C;")});
        QTEST(m_model->columnCount(), "columns");
        QCOMPARE(m_model->rowCount(), m_store->rowCount());
        QTEST(m_model->rowCount() ? cell(0, 161) : QStringLiteral("<no row>"), "firstProgram");
    }
};

QTEST_GUILESS_MAIN(TestListTableModel)
#include "tst_listtablemodel.moc"
