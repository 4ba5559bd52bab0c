// What the current item's reset keeps, the 36 work field codes and the pause lengths.

#include "app/EventLoopPacer.h"
#include "base/CurrentItem.h"
#include "label/FieldCodes.h"

#include <QSet>
#include <QTest>
#include <QTimer>

using namespace barlink;

class tst_CurrentItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What a reset blanks shows in the row text (tst_listrow), the variables by letter in the
    // program header (tst_programbarcode); what it keeps is the label context: the comment,
    // the fixed run field and the last program.
    void resetKeepsTheLabelContext()
    {
        base::CurrentItem item;
        QVERIFY(item.runField.isEmpty()); // before the first reset: empty, not a blank
        item.programComment = QStringLiteral("DOOR");
        item.runFieldFixed = true;
        item.lastProgramName = QStringLiteral("LAST.CNC");
        item.resetItem();
        QCOMPARE(item.runField, QStringLiteral(" "));
        QCOMPARE(item.programComment, QStringLiteral("DOOR"));
        QVERIFY(item.runFieldFixed);
        QCOMPARE(item.lastProgramName, QStringLiteral("LAST.CNC"));
    }

    // Position 0: not a field code.
    void fieldCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("position");
        const auto row = [](const char *code, int position) {
            QTest::addRow("%s", *code ? code : "empty") << QString::fromLatin1(code) << position;
        };
        // clang-format off
        row("N", 1);    row("S", 3);     row("M1", 8);    row("R/", 18);   row("A1/", 22);
        row("T/0", 29); row("R/1", 36);  row("n", 0);     row("N ", 0);    row("", 0);
        row("T/2", 0);  row("Q", 0);
        // clang-format on
    }
    void fieldCodes()
    {
        QFETCH(QString, code);
        QFETCH(int, position);
        QCOMPARE(label::FieldCodes::position(code), position);
        QCOMPARE(label::FieldCodes::isFieldCode(code), position != 0);
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
        QCOMPARE(codes.size(), 36);
        QVERIFY(label::FieldCodes::code(0).isEmpty());
        QVERIFY(label::FieldCodes::code(37).isEmpty());
    }

    void pauseLengths_data()
    {
        QTest::addColumn<float>("seconds");
        QTest::addColumn<int>("ms");
        QTest::newRow("0.6 s") << 0.6f << 600;
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
