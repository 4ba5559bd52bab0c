// The current item's reset, the 36 work field codes and the pause lengths.

#include "app/EventLoopPacer.h"
#include "label/CurrentItem.h"
#include "label/FieldCodes.h"

#include <QSet>
#include <QTimer>
#include <QTest>

using namespace barlink;

class tst_CurrentItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resetBlanksTheItemOnly()
    {
        label::CurrentItem item;
        QVERIFY(item.runField.isEmpty()); // before the first reset: empty, not a blank
        item.programName = QStringLiteral("P.CNC");
        item.programComment = QStringLiteral("DOOR");
        item.runFieldFixed = true;
        item.lastProgramName = QStringLiteral("LAST.CNC");
        item.itemVars[7] = QStringLiteral("9");
        item.resetItem();

        const QString blank(QLatin1Char(' '));
        for (const QString *field : {&item.programName, &item.itemComment, &item.runField,
                                     &item.dimX, &item.dimY, &item.dimZ, &item.itemExtra,
                                     &item.rowValue282, &item.rowValue223})
            QCOMPARE(*field, blank);
        for (const QString &var : item.itemVars)
            QCOMPARE(var, blank);
        QCOMPARE(item.itemRepeat, QStringLiteral("1"));
        QCOMPARE(item.itemCount, QStringLiteral("1"));
        QCOMPARE(item.programComment, QStringLiteral("DOOR"));
        QVERIFY(item.runFieldFixed);
        QCOMPARE(item.lastProgramName, QStringLiteral("LAST.CNC"));
    }

    void variablesByLetter()
    {
        label::CurrentItem item;
        *item.itemVar(QLatin1Char('I')) = QStringLiteral("i");
        *item.itemVar(QLatin1Char('E')) = QStringLiteral("e");
        QCOMPARE(item.itemVars[7], QStringLiteral("i"));
        QCOMPARE(item.itemVars[4], QStringLiteral("e"));
        QVERIFY(!item.itemVar(QLatin1Char('H')));
    }

    void fieldCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("position");
        QTest::newRow("N") << "N" << 1;
        QTest::newRow("S") << "S" << 3;
        QTest::newRow("M1") << "M1" << 8;
        QTest::newRow("R/") << "R/" << 18;
        QTest::newRow("A1/") << "A1/" << 22;
        QTest::newRow("T/0") << "T/0" << 29;
        QTest::newRow("R/0") << "R/0" << 30;
        QTest::newRow("R/1") << "R/1" << 36;
        QTest::newRow("lower case") << "n" << 0;
        QTest::newRow("lower case with suffix") << "n1" << 0;
        QTest::newRow("trailing blank") << "N " << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("other digit") << "T/2" << 0;
        QTest::newRow("unknown letter") << "Q" << 0;
    }

    void fieldCodes()
    {
        QFETCH(QString, code);
        QFETCH(int, position);
        QCOMPARE(label::FieldCodes::position(code), position);
        QCOMPARE(label::FieldCodes::isFieldCode(code), position != 0);
        if (position != 0)
            QCOMPARE(label::FieldCodes::code(position), code);
    }

    void everyCodeOnce()
    {
        QSet<QString> codes;
        for (int p = 1; p <= label::FieldCodes::Count; ++p) {
            const QString code = label::FieldCodes::code(p);
            QVERIFY(code.size() >= 1 && code.size() <= 3);
            QCOMPARE(label::FieldCodes::position(code), p);
            codes.insert(code);
        }
        QCOMPARE(codes.size(), label::FieldCodes::Count);
        QVERIFY(label::FieldCodes::code(0).isEmpty());
        QVERIFY(label::FieldCodes::code(37).isEmpty());
    }

    void pauseLengths_data()
    {
        QTest::addColumn<float>("seconds");
        QTest::addColumn<int>("ms");
        QTest::newRow("0.6 s") << 0.6f << 600;
        QTest::newRow("0.5 s") << 0.5f << 500;
        QTest::newRow("below half a millisecond") << 0.0004f << 0;
        QTest::newRow("rounded up") << 0.0017f << 2;
        QTest::newRow("negative") << -1.0f << 0;
    }

    void pauseLengths()
    {
        QFETCH(float, seconds);
        QTEST(app::EventLoopPacer::milliseconds(seconds), "ms");
    }

    void pauseKeepsEventsRunning()
    {
        app::EventLoopPacer pacer;
        bool ran = false;
        QTimer::singleShot(1, [&] { ran = true; });
        pacer.pause(0.05f);
        QVERIFY(ran);
    }
};

QTEST_GUILESS_MAIN(tst_CurrentItem)
#include "tst_currentitem.moc"
