// The row text built from the current item, and adding it to the list manager
// with its one recovery.

#include "label/CurrentItem.h"
#include "program/ListRow.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListManagerLink.h"
#include "program/listmanager/ListStore.h"

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
        QTest::addColumn<QString>("expected");

        const QString head = QStringLiteral("#161=forpunte.CNC;#162= ;#164=1;#165=1;#281=;");
        const QString tail = QStringLiteral("#282= ;#283=;#223= ;#277=;#278=;#279=;");
        QTest::newRow("third code") << "S" << "20"
                                    << head + "#171=3;#284=0;#285=;#280=;#168=600;#169=600;#170=20;"
                                           + tail;
        QTest::newRow("first code") << "N" << "20"
                                    << head + "#171=1;#284=0;#285=;#280=;#168=600;#169=600;#170=20;"
                                           + tail;
        QTest::newRow("36th code, even") << "R/1" << "20"
                                         << head
                                                + "#171=36;#284=1;#285=;#280=;#168=600;#169=600;"
                                                  "#170=20;"
                                                + tail;
        QTest::newRow("blank run field") << " " << "20"
                                         << head
                                                + "#171=37;#284=0;#285=;#280=;#168=600;#169=600;"
                                                  "#170=20;"
                                                + tail;
        QTest::newRow("zero Z is sent empty") << "M1" << "0"
                                              << head
                                                     + "#171=8;#284=1;#285=;#280=;#168=600;#169=600;"
                                                       "#170=;"
                                                     + tail;
        QTest::newRow("text Z is sent empty") << "M1" << "abc"
                                              << head
                                                     + "#171=8;#284=1;#285=;#280=;#168=600;#169=600;"
                                                       "#170=;"
                                                     + tail;
        QTest::newRow("half Z unchanged") << "M1" << "0.5"
                                          << head
                                                 + "#171=8;#284=1;#285=;#280=;#168=600;#169=600;"
                                                   "#170=0.5;"
                                                 + tail;
        QTest::newRow("lower case is no code") << "s" << "20"
                                               << head
                                                      + "#171=37;#284=0;#285=;#280=;#168=600;"
                                                        "#169=600;#170=20;"
                                                      + tail;
    }

    void buildsTheRow()
    {
        QFETCH(QString, runField);
        QFETCH(QString, dimZ);
        label::CurrentItem item;
        item.resetItem();
        item.programName = QStringLiteral("forpunte.CNC");
        item.runField = runField;
        item.dimX = QStringLiteral("600");
        item.dimY = QStringLiteral("600");
        item.dimZ = dimZ;
        QTEST(program::buildListRow(item), "expected");
        if (dimZ == QLatin1String("0"))
            QVERIFY(item.dimZ.isEmpty()); // blanked in the item too
    }

    void valuesAreSentUnprotected()
    {
        label::CurrentItem item;
        item.programName = QStringLiteral("A;#B.CNC");
        const QString row = program::buildListRow(item);
        QVERIFY(row.startsWith(QStringLiteral("#161=A;#B.CNC;#162=;#164=;")));
        QVERIFY(row.contains(QStringLiteral("#282=;#283=;#223=;")));
    }

    void addRecoversOnceAndKeepsEarlierRows()
    {
        QTemporaryDir dir;
        auto store = std::make_shared<listmanager::ListStore>(dir.path());
        listmanager::EmbeddedListManagerProvider provider(store);
        listmanager::ListManagerLink link;
        link.setApplication(provider.createApplication());
        link.setCurrentList(link.application()->newList());

        label::CurrentItem item;
        item.resetItem();
        program::addListRow(item, link, provider);
        QCOMPARE(store->rowCount(), 1);

        store->failures().failNext(QStringLiteral("AddLine"), 1);
        program::addListRow(item, link, provider);
        QCOMPARE(store->rowCount(), 2);
        QVERIFY(link.lateBoundList());

        store->failures().failNext(QStringLiteral("AddLine"), 2);
        QVERIFY_THROWS_EXCEPTION(Error, program::addListRow(item, link, provider));
        QCOMPARE(store->rowCount(), 2);
    }

    void noListIsAnError()
    {
        QTemporaryDir dir;
        auto store = std::make_shared<listmanager::ListStore>(dir.path());
        listmanager::EmbeddedListManagerProvider provider(store);
        listmanager::ListManagerLink link;
        label::CurrentItem item;
        QVERIFY_THROWS_EXCEPTION(Error, program::addListRow(item, link, provider));
        QCOMPARE(store->rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_ListRow)
#include "tst_listrow.moc"
