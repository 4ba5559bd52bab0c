// The label grammar: commands, field-code labels, plain names and segments, the completion of
// an item, and what reaches the list manager and the scanner.

#include "DispatcherRig.h"
#include "embeddedlist/RunState.h"

#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

// A label dispatcher on its parts.
struct Rig : DispatcherRig
{
    using DispatcherRig::DispatcherRig;
    label::LabelDispatcher dispatcher{context, sender};
};

} // namespace

class tst_LabelDispatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void grammar_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QStringList>("labels");
        // Per label: F when it did not complete an item, T when it did and nothing was sent,
        // or the number of "ACK"s it sent.
        QTest::addColumn<QString>("results");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("status");
        // labels and rows: separated by "|".
        // clang-format off
        const auto add = [](const char *name, const QByteArray &keys, const char *labels,
                            const char *results, const char *rows,
                            const QString &status = "Ready.") {
            const auto list = [](const char *text) {
                return *text ? QString::fromLatin1(text).split('|') : QStringList();
            };
            QTest::newRow(name) << keys << list(labels) << results << list(rows) << status;
        };
        // clang-format on
        const QByteArray sel = SelectionKeys;
        const QByteArray dfn = SelectionKeys + "FieldCode_DFN=t\r\n";
        // Norm and mirror for comments that begin with "MIR".
        const QByteArray cmt = SelectionKeys
                               + "AutoSelSetting=2\r\nCommentMSel=0\r\nCommentNandMText=MIR\r\n"
                                 "CommentNandMLR=-1\r\nCommentNandMCPos=1\r\n";
        const QString badly = QStringLiteral("Barcode Formating Error.  ");
        const QString refused = QStringLiteral("Name refused: %1 reaches outside its folder.");

        // clang-format off
        add("segments in any order", sel, "%22600 400 18|%12PROG.CNC S1",
            "F1", "PROG.CNC f9 600x400x18 r1");
        add("program without a space keeps its name", sel, "%11PROG", "1", "PROG f3 xx r1");
        add("same segment twice", sel, "%12PROG.CNC N|%12OTHER.CNC M",
            "FF", "", badly + "%12OTHER.CNC M");
        add("blank before the dimensions", sel, "%21 600 400 18", "1", " f1 x600x400 r1");
        add("count 0 never completes", sel, "%10PROG.CNC N|%20600 400 18",
            "FF", "", " Waiting for next barcode...");
        add("dollar label completes by its count", sel, "%12PROG.CNC N|$21",
            "F1", "PROG.CNC f1 xx r1");
        add("type 5 is not taken in", sel, "%51abc", "F", "", badly + "%51abc");
        add("percent alone is not taken in", sel, "%", "F", "", badly + "%");
        add("field code in any wrapping, then plain name", sel, "*R*|PANEL",
            "T1", "PANEL.CNC f6 xx r1");
        add("inner part of a plain text is a field code", sel, "ANB|PANEL",
            "T1", "PANEL.CNC f1 xx r1");
        add("plain name without a field", sel, "PANEL", "F", "", "Run Field Not Selected");
        add("plain name with default field, upper case", dfn, "panel.cnc",
            "1", "panel.cnc f5 xx r1");
        add("plain name selected automatically", sel + "AutoSelSetting=1\r\n", "PANEL",
            "1", "PANEL.CNC f3 xx r1");
        add("plain name completes a half-collected item", sel, "%22600 400 18|%S%|PANEL", "FT1",
            "PANEL.CNC f3 600x400x18 r1");
        add("too large for the half limits", sel, "%22500 700 18|%12PROG.CNC  X",
            "F1", "PROG.CNC f1 500x700x18 r1");
        add("fixed field is not replaced by the segment", sel, "%A%|%12PROG.CNC N1 X|%22600 400 18",
            "TF1",
            "PROG.CNC f4 600x400x18 r1");
        add("clear drops the half item, keeps the list", sel, "%11DONE|%12PROG.CNC N|%CLEAR%",
            "1FT", "DONE f3 xx r1");
        // The reset blanks the field a field-code label fixed, but the field stays fixed: the
        // next item keeps the blank field and no field selection runs.
        add("clear keeps the field fixed", sel,
            "%R%|%12HALF.CNC N1 X|%CLEAR%|%12NEXT.CNC S X|%22700 200 9",
            
            "TFTF1", "NEXT.CNC f37 700x200x9 r1");
        add("unsafe plain name", dfn, "../ETC/PASSWD", "F", "", refused.arg("../ETC/PASSWD"));
        add("unsafe program segment", sel, "%12/TMP/X.CNC N", "F", "", refused.arg("/TMP/X.CNC"));
        add("subfolder name stays allowed", dfn, "JOBS/PANEL", "1", "JOBS/PANEL.CNC f5 xx r1");
        // An item with all its dimensions reads no program file for them; its comment is
        // still its own program's, so it is not mirrored for the comment of the program
        // before it.
        add("no-space program segment, its own comment", cmt,
            "%12MIRA.CNC X|%22600 400 18|%12PLAIN.CNC|%22600 400 18", "F2F1",
            "MIRA.CNC f3 600x400x18 r1 c:MIRROR A|MIRA.CNC f4 600x400x18 r1 c:MIRROR A|"
            "PLAIN.CNC f3 600x400x18 r1");
        add("dimension from the file in the compact form", sel, "%12PLAIN.CNC N|%22600 400 0",
            "F1", "PLAIN.CNC f1 600x400x.5 r1 c:PLAIN DOOR");
        add("plain name, its own comment", cmt, "%12MIRA.CNC X|%22600 400 18|%22600 400 18|PLAIN",
            "F2F1",
            "MIRA.CNC f3 600x400x18 r1 c:MIRROR A|MIRA.CNC f4 600x400x18 r1 c:MIRROR A|"
            "PLAIN.CNC f3 600x400x18 r1");
        // clang-format on
    }

    void grammar()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QStringList, labels);
        QFETCH(QStringList, rows);

        Rig rig(keys);
        QVERIFY(writeBytes(rig.settings.gcodePath + "MIRA.CNC",
                           "G71 X900 Y700 Z20\r\n(MIRROR A)\r\nM30\r\n"));
        QVERIFY(writeBytes(rig.settings.gcodePath + "PLAIN.CNC",
                           "G71 X900 Y700 Z0.5\r\n(PLAIN DOOR)\r\nM30\r\n"));
        QString got;
        for (const QString &label : labels) {
            const qsizetype sent = rig.port.sent.size();
            const bool completed = rig.dispatcher.interpretLabel(label);
            const auto acks = rig.port.sent.mid(sent).count("ACK\r");
            got += QLatin1Char(!completed ? 'F' : acks == 0 ? 'T' : char('0' + acks));
        }
        QTEST(got, "results");
        QCOMPARE(rig.rows(), rows);
        QTEST(rig.display.status(), "status");
        // Indicators show the segments collected; the last item's name is kept.
        for (int i = 0; i < 5; ++i)
            QCOMPARE(rig.display.segments[std::size_t(i)],
                     rig.dispatcher.segmentsSeen().contains(QString::number(i)));
        QVERIFY(!rig.display.autoFieldSelection);
        if (!rows.isEmpty())
            QCOMPARE(rig.item.lastProgramName, rows.last().section(' ', 0, 0).trimmed());
    }

    void commands_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("setpoints");
        QTest::newRow("start") << "%START%"
                               << "running" << 0;
        QTest::newRow("stop") << "%STOP%"
                              << "held" << 0;
        QTest::newRow("end") << "%END%"
                             << "ended" << 0;
        QTest::newRow("setpoint") << "%SETPOINT%"
                                  << "running" << 1;
        QTest::newRow("setp") << "%SETP%"
                              << "running" << 1;
    }

    void commands()
    {
        QFETCH(QString, label);
        Rig rig;
        QVERIFY(rig.dispatcher.interpretLabel(QStringLiteral("%START%")));
        QVERIFY(rig.dispatcher.interpretLabel(label));
        QTEST(embeddedlist::runStateName(rig.store->runState()), "state");
        QTEST(int(rig.store->setpoints()), "setpoints");
        QCOMPARE(rig.display.status(), QStringLiteral("Ready."));
        QCOMPARE(rig.pacer.pauses.last(), 0.6f);
        QVERIFY(rig.port.sent.isEmpty()); // commands get no "ACK"
    }

    void failedAddIsNotAcknowledged()
    {
        Rig rig;
        rig.faults.failNext(QStringLiteral("AddLine"), 2);
        QVERIFY_THROWS_EXCEPTION(Error,
                                 rig.dispatcher.interpretLabel(QStringLiteral("%19PROG.CNC N")));
        QCOMPARE(rig.store->rowCount(), 0);
        QVERIFY(rig.port.sent.isEmpty());
        QVERIFY(rig.dispatcher.interpretLabel(QStringLiteral("%19PROG.CNC N")));
        QCOMPARE(rig.rows(), QStringList{"PROG.CNC f1 xx r999"});
        QCOMPARE(rig.port.sent, QByteArray("ACK\r"));
    }
};

QTEST_GUILESS_MAIN(tst_LabelDispatcher)
#include "tst_labeldispatcher.moc"
