// The table over the current list: headers, cells, and the change signals views rely on.
#include "ListTestSupport.h"

#include "program/listmanager/ListStore.h"
#include "program/listmanager/ListTableModel.h"
#include "program/listmanager/RowFields.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace barlink::listmanager;
using namespace barlink::listmanager::test;

class TestListTableModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void headersAreFieldNumbers();
    void cells_data();
    void cells();
    void addLineInsertsOneRow();
    void newFieldAddsColumn();
    void changes_data();
    void changes();

private:
    [[nodiscard]] QString cell(int row, int field) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ListStore> m_store;
    std::unique_ptr<ListTableModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

void TestListTableModel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<ListStore>(m_dir->path());
    m_model = std::make_unique<ListTableModel>(m_store.get());
    m_tester = std::make_unique<QAbstractItemModelTester>(
        m_model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

QString TestListTableModel::cell(int row, int field) const
{
    const int column = int(m_store->columns().numbers().indexOf(field));
    return m_model->data(m_model->index(row, column)).toString();
}

void TestListTableModel::headersAreFieldNumbers()
{
    QCOMPARE(m_model->columnCount(), 18);
    const QList<int> &numbers = standardFieldNumbers();
    for (int column = 0; column < 18; ++column) {
        QCOMPARE(m_model->headerData(column, Qt::Horizontal).toString(), QString::number(numbers[column]));
        QCOMPARE(m_model->fieldNumber(column), numbers[column]);
    }
    QCOMPARE(m_model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("161"));
    QCOMPARE(m_model->headerData(17, Qt::Horizontal).toString(), QStringLiteral("279"));
}

void TestListTableModel::cells_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");

    const QString station = QStringLiteral("#161=forpunte.CNC;#162=;#164=1;#165=2;#281=;#171=3;#284=0;"
                                           "#285=;#280=;#168=600;#169=600;#170=20;#282= ;#283=;#223= ;"
                                           "#277=;#278=;#279=;");
    QTest::newRow("program") << station << 161 << "forpunte.CNC";
    QTest::newRow("work field") << station << 171 << "3";
    QTest::newRow("last dimension") << station << 170 << "20";
    QTest::newRow("blank value") << station << 282 << " ";
    QTest::newRow("last field") << station << 279 << "";
    QTest::newRow("missing field") << "#161=P;" << 168 << "";
    QTest::newRow("unprotected ;") << "#161=A;B;#162=c;" << 161 << "A;B";
}

void TestListTableModel::cells()
{
    QFETCH(QString, row);
    QFETCH(int, field);
    QFETCH(QString, value);
    m_store->addRow(row);
    QCOMPARE(cell(0, field), value);
    QCOMPARE(m_model->data(m_model->index(0, 0), Qt::ToolTipRole).toString(), row);
}

void TestListTableModel::addLineInsertsOneRow()
{
    m_store->addRow(QStringLiteral("#161=A;"));
    QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
    m_store->addRow(QStringLiteral("#161=B;"));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 1);
    QCOMPARE(inserted.at(0).at(2).toInt(), 1);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(m_model->rowCount(), 2);
    QCOMPARE(cell(1, 161), QStringLiteral("B"));
}

void TestListTableModel::newFieldAddsColumn()
{
    QSignalSpy columns(m_model.get(), &QAbstractItemModel::columnsInserted);
    m_store->addRow(QStringLiteral("#161=A;#900=x;"));
    QCOMPARE(columns.count(), 1);
    QCOMPARE(m_model->columnCount(), 19);
    QCOMPARE(m_model->headerData(18, Qt::Horizontal).toString(), QStringLiteral("900"));
    QCOMPARE(cell(0, 900), QStringLiteral("x"));
}

void TestListTableModel::changes_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("firstProgram");

    QTest::newRow("set keeps extra column") << "set" << 19 << "Z";
    QTest::newRow("delete drops extra column") << "delete" << 18 << "B";
    QTest::newRow("clear") << "clear" << 18 << "";
    QTest::newRow("append") << "append" << 19 << "A";
}

void TestListTableModel::changes()
{
    QFETCH(QString, change);
    QFETCH(int, columns);
    QFETCH(QString, firstProgram);

    m_store->addRow(QStringLiteral("#161=A;#900=x;"));
    m_store->addRow(QStringLiteral("#161=B;"));
    QVERIFY(cell(0, 161) == u"A"); // cached before the change
    if (change == u"set")
        m_store->setRow(0, QStringLiteral("#161=Z;#900=y;"));
    else if (change == u"delete")
        m_store->removeRow(0);
    else if (change == u"clear")
        m_store->clear();
    else
        m_store->appendRows({QStringLiteral("#161=C;")});

    QCOMPARE(m_model->columnCount(), columns);
    QCOMPARE(m_model->rowCount(), m_store->rowCount());
    if (m_model->rowCount() > 0)
        QCOMPARE(cell(0, 161), firstProgram);
}

QTEST_GUILESS_MAIN(TestListTableModel)
#include "tst_listtablemodel.moc"
