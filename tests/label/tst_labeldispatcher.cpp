// The label grammar: commands, field-code labels, plain names and segments, the
// completion of an item, and what reaches the list manager and the scanner.

#include "Fakes.h"
#include "app/Options.h"
#include "app/Settings.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelector.h"
#include "label/CurrentItem.h"
#include "label/LabelDispatcher.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListManagerLink.h"
#include "program/listmanager/ListStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

// One field of a row: "#171=3;" -> "3"; a null text when the field is missing.
QString rowField(const QString &row, int number)
{
    const QString key = QLatin1Char('#') + QString::number(number) + QLatin1Char('=');
    const qsizetype at = row.indexOf(key);
    if (at < 0)
        return {};
    const qsizetype start = at + key.size();
    return row.mid(start, row.indexOf(QLatin1Char(';'), start) - start);
}

// A short description of a row for the tables: program, work field number, dimensions, repeat.
QString summary(const QString &row)
{
    return QStringLiteral("%1 f%2 %3x%4x%5 r%6")
        .arg(rowField(row, 161), rowField(row, 171), rowField(row, 168), rowField(row, 169),
             rowField(row, 170), rowField(row, 164));
}

struct Rig
{
    explicit Rig(const QByteArray &ini)
        : root(dir.path())
        , store(std::make_shared<listmanager::ListStore>(root + QStringLiteral("/data")))
        , provider(store)
        , autoSel(settings)
        , selector(autoSel)
        , dispatcher({settings, options, display, pacer, prompter, item, link, provider, port,
                      autoSel, selector})
    {
        settings.settingsFilePath = root + QStringLiteral("/KTQ.INI");
        settings.gcodePath = root + QStringLiteral("/product/");
        settings.listPath = root + QStringLiteral("/product/lsx/");
        settings.csvInPath = root + QStringLiteral("/csv");
        settings.csvOutPath = root + QStringLiteral("/out.csv");
        QDir(root).mkpath(QStringLiteral("product/lsx"));
        QFile file(settings.settingsFilePath);
        if (file.open(QIODevice::WriteOnly))
            file.write("[GESTBCOD]\r\n" + ini);
        file.close();
        link.setApplication(provider.createApplication());
        link.setCurrentList(link.application()->newList());
        port.open(QStringLiteral("/dev/pts/1"), QStringLiteral("9600,N,8,1"));
        item.clearListPending = true;
    }

    QStringList rowSummaries() const
    {
        QStringList list;
        for (const QString &row : store->rows())
            list << summary(row);
        return list;
    }

    QTemporaryDir dir;
    QString root;
    app::Settings settings;
    app::Options options;
    FakeDisplay display;
    InstantPacer pacer;
    ScriptedPrompter prompter;
    label::CurrentItem item;
    FakeScannerPort port;
    std::shared_ptr<listmanager::ListStore> store;
    listmanager::EmbeddedListManagerProvider provider;
    listmanager::ListManagerLink link;
    fieldsel::AutoSelSettingsProvider autoSel;
    fieldsel::FieldSelector selector;
    label::LabelDispatcher dispatcher;
};

// Field codes for the automatic selection: S for a piece that fits, N otherwise; M mirrored.
const QByteArray SelectionKeys = "FieldCode_FFS=S\r\nFieldFlag_FFS= 1\r\nFieldCode_FFA=A\r\n"
                                 "FieldFlag_FFA= 1\r\nFieldCode_SFN=N\r\nFieldCode_SFM=M\r\n"
                                 "HalfLimitX=1000\r\nHalfLimitY=600\r\n";

} // namespace

class tst_LabelDispatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void grammar_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QString>("results");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("status");

        const QByteArray sel = SelectionKeys;
        const QByteArray dfn = SelectionKeys + "FieldCode_DFN=t\r\n";
        const QByteArray byName = SelectionKeys + "AutoSelSetting=1\r\n";
        const QString ready = QStringLiteral("Ready.");
        const QString waiting = QStringLiteral(" Waiting for next barcode...");

        QTest::newRow("two segments") << sel << QStringList{"%12PROG.CNC N1 X", "%22600 400 18"}
                                      << "FT" << QStringList{"PROG.CNC f7 600x400x18 r1"} << ready;
        QTest::newRow("first segment waits") << sel << QStringList{"%12PROG.CNC N1 X"} << "F"
                                             << QStringList{} << waiting;
        QTest::newRow("segments in any order")
            << sel << QStringList{"%22600 400 18", "%12PROG.CNC S1"} << "FT"
            << QStringList{"PROG.CNC f9 600x400x18 r1"} << ready;
        QTest::newRow("program without a space keeps its name")
            << sel << QStringList{"%11PROG"} << "T" << QStringList{"PROG f3 xx r1"} << ready;
        QTest::newRow("count 9 repeats 999") << sel << QStringList{"%19PROG.CNC N"} << "T"
                                             << QStringList{"PROG.CNC f1 xx r999"} << ready;
        QTest::newRow("same segment twice")
            << sel << QStringList{"%12PROG.CNC N", "%12OTHER.CNC M"} << "FF" << QStringList{}
            << "Barcode Formating Error.  %12OTHER.CNC M";
        QTest::newRow("blank before the dimensions")
            << sel << QStringList{"%21 600 400 18"} << "T" << QStringList{" f1 x600x400 r1"}
            << ready;
        QTest::newRow("count 0 never completes")
            << sel << QStringList{"%10PROG.CNC N", "%20600 400 18"} << "FF" << QStringList{}
            << waiting;
        QTest::newRow("dollar label completes by its count")
            << sel << QStringList{"%12PROG.CNC N", "$21"} << "FT" << QStringList{"PROG.CNC f1 xx r1"}
            << ready;
        QTest::newRow("type 5 is not taken in")
            << sel << QStringList{"%51abc"} << "F" << QStringList{}
            << "Barcode Formating Error.  %51abc";
        QTest::newRow("percent alone is not taken in")
            << sel << QStringList{"%"} << "F" << QStringList{} << "Barcode Formating Error.  %";
        QTest::newRow("field-code label") << sel << QStringList{"%N1/%"} << "T" << QStringList{}
                                          << ready;
        QTest::newRow("field code then plain name")
            << sel << QStringList{"*R*", "PANEL"} << "TT" << QStringList{"PANEL.CNC f6 xx r1"}
            << ready;
        QTest::newRow("inner part of a plain text is a field code")
            << sel << QStringList{"ANB", "PANEL"} << "TT" << QStringList{"PANEL.CNC f1 xx r1"}
            << ready;
        QTest::newRow("plain name without a field")
            << sel << QStringList{"PANEL"} << "F" << QStringList{} << "Run Field Not Selected";
        QTest::newRow("plain name with default field, upper case")
            << dfn << QStringList{"panel.cnc"} << "T" << QStringList{"panel.cnc f5 xx r1"} << ready;
        QTest::newRow("plain name selected automatically")
            << byName << QStringList{"PANEL"} << "T" << QStringList{"PANEL.CNC f3 xx r1"} << ready;
        QTest::newRow("plain name completes a half-collected item")
            << sel << QStringList{"%22600 400 18", "%S%", "PANEL"} << "FTT"
            << QStringList{"PANEL.CNC f3 600x400x18 r1"} << ready;
        QTest::newRow("run field chosen from the dimensions")
            << sel << QStringList{"%22500 300 18", "%12PROG.CNC  X"} << "FT"
            << QStringList{"PROG.CNC f3 500x300x18 r1"} << ready;
        QTest::newRow("too large for the half limits")
            << sel << QStringList{"%22500 700 18", "%12PROG.CNC  X"} << "FT"
            << QStringList{"PROG.CNC f1 500x700x18 r1"} << ready;
        QTest::newRow("fixed field is not replaced by the segment")
            << sel << QStringList{"%A%", "%12PROG.CNC N1 X", "%22600 400 18"} << "TFT"
            << QStringList{"PROG.CNC f4 600x400x18 r1"} << ready;
        QTest::newRow("unsafe plain name") << dfn << QStringList{"../ETC/PASSWD"} << "F"
                                           << QStringList{}
                                           << "Name refused: ../ETC/PASSWD reaches outside its folder.";
        QTest::newRow("unsafe program segment")
            << sel << QStringList{"%12/TMP/X.CNC N"} << "F" << QStringList{}
            << "Name refused: /TMP/X.CNC reaches outside its folder.";
        QTest::newRow("subfolder name stays allowed")
            << dfn << QStringList{"JOBS/PANEL"} << "T" << QStringList{"JOBS/PANEL.CNC f5 xx r1"}
            << ready;
    }

    void grammar()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, labels);
        QFETCH(QString, results);

        Rig rig(ini);
        QString got;
        for (const QString &label : labels)
            got += rig.dispatcher.interpretLabel(label) ? QLatin1Char('T') : QLatin1Char('F');
        QCOMPARE(got, results);
        QTEST(rig.rowSummaries(), "rows");
        QTEST(rig.display.status(), "status");
        QFETCH(QStringList, rows);
        QCOMPARE(rig.port.sent, QByteArray("ACK\r").repeated(rows.size()));
    }

    void commands_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("setpoints");
        QTest::newRow("start") << "%START%" << "running" << 0;
        QTest::newRow("stop") << "%STOP%" << "held" << 0;
        QTest::newRow("end") << "%END%" << "ended" << 0;
        QTest::newRow("setpoint") << "%SETPOINT%" << "running" << 1;
        QTest::newRow("setp") << "%SETP%" << "running" << 1;
    }

    void commands()
    {
        QFETCH(QString, label);
        Rig rig(SelectionKeys);
        QVERIFY(rig.dispatcher.interpretLabel(QStringLiteral("%START%")));
        QVERIFY(rig.dispatcher.interpretLabel(label));
        QTEST(listmanager::runStateName(rig.store->runState()), "state");
        QTEST(int(rig.store->setpoints()), "setpoints");
        QCOMPARE(rig.display.status(), QStringLiteral("Ready."));
        QCOMPARE(rig.pacer.pauses.last(), 0.6f);
        QVERIFY(rig.port.sent.isEmpty()); // commands get no "ACK"
    }

    void firstLabelClearsTheList()
    {
        Rig rig(SelectionKeys);
        rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
        QVERIFY(rig.dispatcher.interpretLabel(QStringLiteral("%STOP%")));
        QCOMPARE(rig.store->rowCount(), 0);
        QVERIFY(!rig.item.clearListPending);
        rig.store->addRow(QStringLiteral("#161=KEPT.CNC;"));
        QVERIFY(rig.dispatcher.interpretLabel(QStringLiteral("%STOP%")));
        QCOMPARE(rig.store->rowCount(), 1);
    }

    void clear_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("rowsAfter");
        QTest::addColumn<QString>("segments");
        QTest::newRow("nothing collected clears the list") << QStringList{"%11DONE"} << 0 << "";
        QTest::newRow("half-collected item is dropped")
            << QStringList{"%11DONE", "%12PROG.CNC N"} << 1 << "";
    }

    void clear()
    {
        QFETCH(QStringList, before);
        Rig rig(SelectionKeys);
        for (const QString &label : before)
            (void)rig.dispatcher.interpretLabel(label);
        QVERIFY(rig.dispatcher.interpretLabel(QStringLiteral("%CLEAR%")));
        QTEST(int(rig.store->rowCount()), "rowsAfter");
        QTEST(rig.dispatcher.segmentsSeen(), "segments");
        QCOMPARE(rig.item.programName, QStringLiteral(" "));
        QVERIFY(std::none_of(rig.display.segments.begin(), rig.display.segments.end(),
                             [](bool lit) { return lit; }));
    }

    void mirrorPieceIsSentTwice()
    {
        const QByteArray ini = SelectionKeys
                               + "AutoSelSetting=1\r\nPNameMSel=0\r\nPNameNandMText=MI\r\n"
                                 "PNameNandMLR=-1\r\nPNameNandMCPos=1\r\n";
        Rig rig(ini);
        QVERIFY(!rig.dispatcher.interpretLabel(QStringLiteral("%12MIRROR.CNC  X")));
        QVERIFY(rig.dispatcher.interpretLabel(QStringLiteral("%22500 300 18")));
        QCOMPARE(rig.rowSummaries(),
                 (QStringList{"MIRROR.CNC f3 500x300x18 r1", "MIRROR.CNC f4 500x300x18 r1"}));
        QCOMPARE(rig.port.sent, QByteArray("ACK\rACK\r"));
        QVERIFY(!rig.display.autoFieldSelection);
        QCOMPARE(rig.item.lastProgramName, QStringLiteral("MIRROR.CNC"));
    }

    void missingListFile()
    {
        Rig rig(SelectionKeys);
        QVERIFY(!rig.dispatcher.interpretLabel(QStringLiteral("%Q%")));
        QCOMPARE(rig.prompter.texts(),
                 QStringList{QStringLiteral("List File ") + rig.settings.listPath
                             + QStringLiteral(".LST Not Found")});
        QVERIFY(rig.dispatcher.segmentsSeen().isEmpty());
        QCOMPARE(rig.store->rowCount(), 0);
    }

    void failedAddIsNotAcknowledged()
    {
        Rig rig(SelectionKeys);
        rig.store->failures().failNext(QStringLiteral("AddLine"), 2);
        QVERIFY_THROWS_EXCEPTION(Error,
                                 rig.dispatcher.interpretLabel(QStringLiteral("%19PROG.CNC N")));
        QCOMPARE(rig.store->rowCount(), 0);
        QVERIFY(rig.port.sent.isEmpty());
        QVERIFY(rig.dispatcher.interpretLabel(QStringLiteral("%19PROG.CNC N")));
        QCOMPARE(rig.store->rowCount(), 1);
        QCOMPARE(rig.port.sent, QByteArray("ACK\r"));
    }
};

QTEST_GUILESS_MAIN(tst_LabelDispatcher)
#include "tst_labeldispatcher.moc"
