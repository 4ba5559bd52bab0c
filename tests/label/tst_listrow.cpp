// The row text built from the current item. Adding it to the list manager, with its one
// recovery, is tested with every list manager member failing in tst_listmanagerfaults.

#include "base/CurrentItem.h"
#include "label/ListRow.h"

#include <QTest>

using namespace barlink;

class tst_ListRow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildsTheRow_data()
    {
        QTest::addColumn<QString>("runField");
        QTest::addColumn<QString>("dimZ");
        QTest::addColumn<QString>("fields"); // 171, 284 and 170
        // clang-format off
        QTest::newRow("third code")           << "S"   << "20"  << "3 0 20";
        QTest::newRow("36th code, even")      << "R/1" << "20"  << "36 1 20";
        QTest::newRow("no code")              << " "   << "20"  << "37 0 20";
        QTest::newRow("zero Z is sent empty") << "M1"  << "0"   << "8 1 ";
        QTest::newRow("half Z unchanged")     << "M1"  << "0.5" << "8 1 0.5";
        // clang-format on
    }

    void buildsTheRow()
    {
        QFETCH(QString, runField);
        QFETCH(QString, dimZ);
        QFETCH(QString, fields);
        base::CurrentItem item;
        item.resetItem();
        item.programName = QStringLiteral("forpunte.CNC");
        item.runField = runField;
        item.dimX = item.dimY = QStringLiteral("600");
        item.dimZ = dimZ;
        const QStringList f = fields.split(QLatin1Char(' '));
        QCOMPARE(
            label::buildListRow(item),
            QStringLiteral("#161=forpunte.CNC;#162= ;#164=1;#165=1;#281=;#171=%1;#284=%2;#285=;"
                           "#280=;#168=600;#169=600;#170=%3;#282= ;#283=;#223= ;#277=;#278=;"
                           "#279=;")
                .arg(f[0], f[1], f[2]));
        QCOMPARE(item.dimZ, f[2].isEmpty() ? QString() : dimZ); // blanked in the item too
    }

    void valuesAreSentUnprotected()
    {
        base::CurrentItem item;
        item.programName = QStringLiteral("A;#B.CNC");
        const QString row = label::buildListRow(item);
        QVERIFY(row.startsWith(QStringLiteral("#161=A;#B.CNC;#162=;#164=;")));
        QVERIFY(row.contains(QStringLiteral("#282=;#283=;#223=;")));
    }
};

QTEST_GUILESS_MAIN(tst_ListRow)
#include "tst_listrow.moc"
