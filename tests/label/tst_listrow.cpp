// The row text built from the current item, and adding it to the list manager
// with its one recovery.

#include "FaultyListManager.h"
#include "base/CurrentItem.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"
#include "label/ListRow.h"
#include "listmanager/ListManagerLink.h"

#include <QTemporaryDir>
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
        QTest::newRow("third code")            << "S"   << "20"  << "3 0 20";
        QTest::newRow("first code")            << "N"   << "20"  << "1 0 20";
        QTest::newRow("36th code, even")       << "R/1" << "20"  << "36 1 20";
        QTest::newRow("blank run field")       << " "   << "20"  << "37 0 20";
        QTest::newRow("lower case is no code") << "s"   << "20"  << "37 0 20";
        QTest::newRow("zero Z is sent empty")  << "M1"  << "0"   << "8 1 ";
        QTest::newRow("text Z is sent empty")  << "M1"  << "abc" << "8 1 ";
        QTest::newRow("half Z unchanged")      << "M1"  << "0.5" << "8 1 0.5";
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
        item.dimX = QStringLiteral("600");
        item.dimY = QStringLiteral("600");
        item.dimZ = dimZ;
        const QStringList f = fields.split(QLatin1Char(' '));
        QCOMPARE(
            label::buildListRow(item),
            QStringLiteral("#161=forpunte.CNC;#162= ;#164=1;#165=1;#281=;#171=%1;#284=%2;#285=;"
                           "#280=;#168=600;#169=600;#170=%3;#282= ;#283=;#223= ;#277=;#278=;"
                           "#279=;")
                .arg(f[0], f[1], f[2]));
        if (dimZ == QLatin1String("0"))
            QVERIFY(item.dimZ.isEmpty()); // blanked in the item too
    }

    void valuesAreSentUnprotected()
    {
        base::CurrentItem item;
        item.programName = QStringLiteral("A;#B.CNC");
        const QString row = label::buildListRow(item);
        QVERIFY(row.startsWith(QStringLiteral("#161=A;#B.CNC;#162=;#164=;")));
        QVERIFY(row.contains(QStringLiteral("#282=;#283=;#223=;")));
    }

    void addRecoversOnceAndKeepsEarlierRows()
    {
        QTemporaryDir dir;
        auto store = std::make_shared<embeddedlist::ListStore>(dir.path());
        embeddedlist::EmbeddedListManagerProvider embedded(store);
        testing::ListManagerFaults faults;
        testing::FaultyProvider provider(embedded, faults);
        listmanager::ListManagerLink link;
        link.setApplication(provider.createApplication());
        link.setCurrentList(link.application()->newList());

        base::CurrentItem item;
        item.resetItem();
        label::addListRow(item, link, provider);
        QCOMPARE(store->rowCount(), 1);

        faults.failNext(QStringLiteral("AddLine"), 1);
        label::addListRow(item, link, provider);
        QCOMPARE(store->rowCount(), 2);
        QVERIFY(link.lateBoundList());

        faults.failNext(QStringLiteral("AddLine"), 2);
        QVERIFY_THROWS_EXCEPTION(Error, label::addListRow(item, link, provider));
        QCOMPARE(store->rowCount(), 2);
    }

    void noListIsAnError()
    {
        QTemporaryDir dir;
        auto store = std::make_shared<embeddedlist::ListStore>(dir.path());
        embeddedlist::EmbeddedListManagerProvider provider(store);
        listmanager::ListManagerLink link;
        base::CurrentItem item;
        QVERIFY_THROWS_EXCEPTION(Error, label::addListRow(item, link, provider));
        QCOMPARE(store->rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_ListRow)
#include "tst_listrow.moc"
