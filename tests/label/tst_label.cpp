// The label grammar: commands, field-code labels, plain names and segments, the completion of
// an item and what reaches the list manager and the scanner; the row text, the mirror trigger,
// the field codes, list labels and the companion CSV file.

#include "../text/Tables.h"
#include "DispatcherRig.h"
#include "app/EventLoopPacer.h"
#include "fieldsel/AutoSelSettings.h"
#include "label/CompanionCsv.h"
#include "label/FieldCodes.h"
#include "label/ListFileLoader.h"
#include "label/ListRow.h"
#include "label/MirrorMatch.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTimer>

using namespace barlink;
using namespace barlink::testing;
using fieldsel::MirrorAction;
using fieldsel::TriggerSource;

namespace {

// A label dispatcher on its parts.
struct Rig : DispatcherRig
{
    using DispatcherRig::DispatcherRig;
    label::LabelDispatcher dispatcher{context, sender};

    // Copies the companion CSV file, and gives the error number thrown (0 for none).
    int copyCsv(const QString &programName)
    {
        return errorNumber([&] { label::copyCompanionCsv(settings, programName, prompter); });
    }
    [[nodiscard]] QString csvIn(const QString &name) const
    {
        QDir().mkpath(settings.csvInPath);
        return settings.csvInPath + u'/' + name;
    }
};

} // namespace

class tst_Label : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void grammar_data()
    {
        columns<QByteArray, QStringList>({"keys", "labels"});
        // Per label: F when it did not complete an item, T when it did and nothing was sent,
        // or the number of "ACK"s it sent.
        columns<QString, QStringList, QString>({"results", "rows", "status"});
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
        add("segments in any order", sel, "%22600 400 18|%12PROG.CNC S1", "F1", "PROG.CNC f9 600x400x18 r1");
        add("program without a space keeps its name", sel, "%11PROG", "1", "PROG f3 xx r1");
        add("same segment twice", sel, "%12PROG.CNC N|%12OTHER.CNC M", "FF", "", badly + "%12OTHER.CNC M");
        add("blank before the dimensions", sel, "%21 600 400 18", "1", " f1 x600x400 r1");
        add("count 0 never completes", sel, "%10PROG.CNC N|%20600 400 18", "FF", "", " Waiting for next barcode...");
        add("dollar label completes by its count", sel, "%12PROG.CNC N|$21", "F1", "PROG.CNC f1 xx r1");
        add("count 9: one segment, repeated", sel, "%19PROG.CNC N", "1", "PROG.CNC f1 xx r999");
        add("type 5 is not taken in", sel, "%51abc", "F", "", badly + "%51abc");
        add("percent alone is not taken in", sel, "%", "F", "", badly + "%");
        add("field code in any wrapping, then plain name", sel, "*R*|PANEL", "T1", "PANEL.CNC f6 xx r1");
        add("inner part of a plain text is a field code", sel, "ANB|PANEL", "T1", "PANEL.CNC f1 xx r1");
        add("plain name without a field", sel, "PANEL", "F", "", "Run Field Not Selected");
        add("plain name with default field, upper case", dfn, "panel.cnc", "1", "panel.cnc f5 xx r1");
        add("plain name selected automatically", sel + "AutoSelSetting=1\r\n", "PANEL", "1", "PANEL.CNC f3 xx r1");
        add("plain name completes a half-collected item", sel, "%22600 400 18|%S%|PANEL", "FT1", "PANEL.CNC f3 600x400x18 r1");
        add("too large for the half limits", sel, "%22500 700 18|%12PROG.CNC  X", "F1", "PROG.CNC f1 500x700x18 r1");
        add("fixed field is not replaced by the segment", sel, "%A%|%12PROG.CNC N1 X|%22600 400 18", "TF1", "PROG.CNC f4 600x400x18 r1");
        add("clear drops the half item, keeps the list", sel, "%11DONE|%12PROG.CNC N|%CLEAR%", "1FT", "DONE f3 xx r1");
        // The reset blanks the field a field-code label fixed, but the field stays fixed: the
        // next item keeps the blank field and no field selection runs.
        add("clear keeps the field fixed", sel, "%R%|%12HALF.CNC N1 X|%CLEAR%|%12NEXT.CNC S X|%22700 200 9", "TFTF1", "NEXT.CNC f37 700x200x9 r1");
        add("unsafe plain name", dfn, "../ETC/PASSWD", "F", "", refused.arg("../ETC/PASSWD"));
        add("unsafe program segment", sel, "%12/TMP/X.CNC N", "F", "", refused.arg("/TMP/X.CNC"));
        add("subfolder name stays allowed", dfn, "JOBS/PANEL", "1", "JOBS/PANEL.CNC f5 xx r1");
        // An item with all its dimensions reads no program file for them; its comment is
        // still its own program's, so it is not mirrored for the comment of the program
        // before it.
        add("no-space program segment, its own comment", cmt, "%12MIRA.CNC X|%22600 400 18|%12PLAIN.CNC|%22600 400 18", "F2F1", "MIRA.CNC f3 600x400x18 r1 c:MIRROR A|MIRA.CNC f4 600x400x18 r1 c:MIRROR A|PLAIN.CNC f3 600x400x18 r1");
        add("dimension from the file in the compact form", sel, "%12PLAIN.CNC N|%22600 400 0", "F1", "PLAIN.CNC f1 600x400x.5 r1 c:PLAIN DOOR");
        add("plain name, its own comment", cmt, "%12MIRA.CNC X|%22600 400 18|%22600 400 18|PLAIN", "F2F1", "MIRA.CNC f3 600x400x18 r1 c:MIRROR A|MIRA.CNC f4 600x400x18 r1 c:MIRROR A|PLAIN.CNC f3 600x400x18 r1");
        // clang-format on
    }

    void grammar()
    {
        Rig rig(fetch<QByteArray>("keys"));
        QVERIFY(writeBytes(rig.settings.gcodePath + "MIRA.CNC",
                           "G71 X900 Y700 Z20\r\n(MIRROR A)\r\nM30\r\n"));
        QVERIFY(writeBytes(rig.settings.gcodePath + "PLAIN.CNC",
                           "G71 X900 Y700 Z0.5\r\n(PLAIN DOOR)\r\nM30\r\n"));
        QString got;
        for (const QString &label : fetch<QStringList>("labels")) {
            const qsizetype sent = rig.port.sent.size();
            const bool completed = rig.dispatcher.interpretLabel(label);
            const auto acks = rig.port.sent.mid(sent).count("ACK\r");
            got += QLatin1Char(!completed ? 'F' : acks == 0 ? 'T' : char('0' + acks));
        }
        QTEST(got, "results");
        QTEST(rig.rows(), "rows");
        QTEST(rig.display.status(), "status");
        // Indicators show the segments collected; the last item's name is kept.
        for (int i = 0; i < 5; ++i)
            QCOMPARE(rig.display.segments[std::size_t(i)],
                     rig.dispatcher.segmentsSeen().contains(QString::number(i)));
        QVERIFY(!rig.display.autoFieldSelection);
        if (!rig.rows().isEmpty())
            QCOMPARE(rig.item.lastProgramName, rig.rows().last().section(' ', 0, 0).trimmed());
    }

    // The outcome is "loaded", "prompt:" and the warning shown (<lists> is the list folder),
    // or "status:" and the status line of a failure without a message box.
    void listFile_data()
    {
        // fileOnDisk: in the list folder
        // openListError: planned failure of OpenList; -1: no list manager
        columns<QString, QString, int, QString>(
            {"listName", "fileOnDisk", "openListError", "outcome"});
        const int automation = ListManagerFaults::automationError().number();
        // clang-format off
        QTest::newRow("loaded")             << "PANEL1" << "PANEL1.LST" << 0 << "loaded";
        QTest::newRow("lower case on disk") << "PANEL1" << "panel1.lst" << 0 << "loaded";
        QTest::newRow("subfolder")          << "sub\\P" << "sub/P.LST"  << 0 << "loaded";
        QTest::newRow("not found")          << "PANEL2" << "PANEL1.LST" << 0 << "prompt:List File <lists>PANEL2.LST Not Found";
        QTest::newRow("suffix doubled")     << "A.LST"  << "A.LST"      << 0 << "prompt:List File <lists>A.LST.LST Not Found";
        QTest::newRow("list manager says not found") << "PANEL1" << "PANEL1.LST" << 53 << "prompt:List File <lists>PANEL1.LST Not Found";
        QTest::newRow("other failure is silent") << "PANEL1" << "PANEL1.LST" << automation << "status:Ready.";
        QTest::newRow("no list manager")    << "PANEL1" << "PANEL1.LST" << -1 << "status:Ready.";
        QTest::newRow("outside the folder") << "../PANEL1" << "PANEL1.LST" << 0 << "status:Name refused: ../PANEL1 reaches outside its folder.";
        // clang-format on
    }
    void listFile()
    {
        const int openListError = fetch<int>("openListError");
        QString outcome = fetch<QString>("outcome");
        DispatcherRig rig;
        const QString lists = rig.settings.listPath;
        QVERIFY(QDir().mkpath(lists + "sub"));
        QVERIFY(writeBytes(lists + fetch<QString>("fileOnDisk"), "#161=A.CNC;\r\n#161=B.CNC;\r\n"));
        // A file of the same name just outside the list folder must not be reached.
        QVERIFY(writeBytes(rig.root + QStringLiteral("/PANEL1.LST"), "#161=OUT.CNC;\r\n"));
        rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
        if (openListError < 0)
            rig.link.release();
        if (openListError > 0)
            rig.faults.failNext(
                QStringLiteral("OpenList"), 1, Error(openListError, QStringLiteral("planned")));
        rig.display.setStatus(QStringLiteral("busy"));
        rig.display.segments.fill(true);

        label::ListFileLoader loader(rig.settings, rig.link, rig.display, rig.pacer, rig.prompter);
        const base::LabelOutcome result = loader.loadListFile(fetch<QString>("listName"));

        const bool loaded = outcome == QLatin1String("loaded");
        // What the journal records: taken, refused (a name outside the folder) or failed.
        using Result = base::LabelOutcome::Result;
        QCOMPARE(result.result,
                 loaded                              ? Result::Taken
                 : outcome.startsWith("status:Name") ? Result::Refused
                                                     : Result::Failed);
        const QStringList loadedRows{"#161=A.CNC;", "#161=B.CNC;"};
        QCOMPARE(rig.store->rows(), loaded ? loadedRows : QStringList{"#161=OLD.CNC;"});
        // A failure pauses, clears the segment indicators and ends on a status line.
        QCOMPARE(rig.pacer.pauses, loaded ? QList<float>{} : QList<float>{0.6f});
        QCOMPARE(rig.display.segments[0], loaded);
        QCOMPARE(rig.display.segments[4], loaded);
        const bool prompt = outcome.startsWith(QLatin1String("prompt:"));
        QCOMPARE(rig.display.status(),
                 loaded   ? QStringLiteral("busy")
                 : prompt ? QStringLiteral("Ready.")
                          : outcome.mid(7));
        QCOMPARE(rig.prompter.texts(),
                 prompt ? QStringList{outcome.mid(7).replace("<lists>", lists)} : QStringList{});
        if (prompt) {
            QCOMPARE(result.reason, rig.prompter.texts().value(0));
            QCOMPARE(rig.prompter.shown.first().icon, base::Prompter::Icon::Warning);
            QCOMPARE(rig.prompter.shown.first().buttons, base::Prompter::Buttons::Ok);
        }
    }

    // The row text built from the current item; adding it to the list manager, with its one
    // recovery, is tested with every list manager member failing in tst_stationfaults.
    void buildsTheRow_data()
    {
        // fields: 171, 284 and 170
        // clang-format off
        columns<QString, QString, QString>({"runField", "dimZ", "fields"});
        QTest::newRow("third code")           << "S"   << "20"  << "3 0 20";
        QTest::newRow("36th code, even")      << "R/1" << "20"  << "36 1 20";
        QTest::newRow("no code")              << " "   << "20"  << "37 0 20";
        QTest::newRow("zero Z is sent empty") << "M1"  << "0"   << "8 1 ";
        QTest::newRow("half Z unchanged")     << "M1"  << "0.5" << "8 1 0.5";
        // clang-format on
    }
    void buildsTheRow()
    {
        const QStringList f = fetch<QString>("fields").split(QLatin1Char(' '));
        base::CurrentItem item;
        item.resetItem();
        item.programName = QStringLiteral("forpunte.CNC");
        item.runField = fetch<QString>("runField");
        item.dimX = item.dimY = QStringLiteral("600");
        item.dimZ = fetch<QString>("dimZ");
        QCOMPARE(
            label::buildListRow(item),
            QStringLiteral("#161=forpunte.CNC;#162= ;#164=1;#165=1;#281=;#171=%1;#284=%2;#285=;"
                           "#280=;#168=600;#169=600;#170=%3;#282= ;#283=;#223= ;#277=;#278=;"
                           "#279=;")
                .arg(f[0], f[1], f[2]));
        QCOMPARE(item.dimZ, f[2].isEmpty() ? QString() : fetch<QString>("dimZ")); // in the item too
        // Values are sent unprotected.
        item.programName = QStringLiteral("A;#B.CNC");
        QVERIFY(label::buildListRow(item).startsWith(QStringLiteral("#161=A;#B.CNC;#162= ;")));
    }

    // What a reset blanks shows in the row text above and the variables by letter in the
    // program header (tst_program); what it keeps is the label context: the comment, the fixed
    // run field and the last program. Before the first reset, fields are empty, not blank.
    void resetKeepsTheLabelContext()
    {
        base::CurrentItem item;
        QVERIFY(item.runField.isEmpty());
        QVERIFY(label::buildListRow(item).contains(QStringLiteral("#282=;#283=;#223=;")));
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
        columns<QString, int>({"code", "position"});
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
        const int position = fetch<int>("position");
        QCOMPARE(label::FieldCodes::position(fetch<QString>("code")), position);
        QCOMPARE(label::FieldCodes::isFieldCode(fetch<QString>("code")), position != 0);
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
        columns<float, int>({"seconds", "ms"});
        QTest::newRow("0.6 s") << 0.6f << 600;
        QTest::newRow("below half a millisecond") << 0.0004f << 0;
        QTest::newRow("rounded up") << 0.0017f << 2;
        QTest::newRow("negative") << -1.0f << 0;
    }
    void pauseLengths() { QTEST(app::EventLoopPacer::milliseconds(fetch<float>("seconds")), "ms"); }

    void pauseKeepsEventsRunning()
    {
        app::EventLoopPacer pacer;
        bool ran = false;
        QTimer::singleShot(1, [&] { ran = true; });
        pacer.pause(0.05f);
        QVERIFY(ran);
    }

    void mirrorMatch_data()
    {
        // text: the program name, or the comment for source Comment
        columns<int, bool, QString, int, bool, QString, bool, QString>({"source",
                                                                        "normAndMirror",
                                                                        "trigger",
                                                                        "position",
                                                                        "fromLeft",
                                                                        "text",
                                                                        "twice",
                                                                        "runField"});
        const int name = int(TriggerSource::ProgramName);
        const int comment = int(TriggerSource::Comment);
        const int barcode = int(TriggerSource::Barcode);
        // Program name triggers of two characters have the maximum 11, from the right
        // position v looks at n - 11 + v.
        // clang-format off
        QTest::newRow("left: match")               << name    << false << "MR"  << 5  << true  << "PROGMR.CNC"    << false << "W";
        QTest::newRow("case ignored")              << name    << false << "mr"  << 5  << true  << "progMr.cnc"    << false << "W";
        QTest::newRow("source trimmed")            << name    << false << "MR"  << 5  << true  << "  PROGMR.CNC " << false << "W";
        QTest::newRow("trigger not trimmed")       << name    << false << "MR " << 5  << true  << "PROGMR.CNC"    << false << "P";
        QTest::newRow("fewer characters remain")   << name    << false << "MR"  << 4  << true  << "PROM"          << false << "P";
        QTest::newRow("past the end")              << name    << false << "MR"  << 11 << true  << "PROGMR"        << false << "P";
        QTest::newRow("norm and mirror: match")    << name    << true  << "MR"  << 5  << true  << "PROGMR.CNC"    << true  << "W";
        QTest::newRow("norm and mirror: no match") << name    << true  << "MR"  << 1  << true  << "PROGMR.CNC"    << false << "P";
        QTest::newRow("empty trigger")             << name    << true  << ""    << 1  << true  << "PROG"          << false << " ";
        QTest::newRow("trigger longer than source")<< name    << false << "ABC" << 1  << true  << " AB "          << false << " ";
        QTest::newRow("star anywhere")             << name    << true  << "*Z"  << 3  << true  << "PROG"          << true  << "W";
        QTest::newRow("star needs the length")     << name    << false << "*Z"  << 1  << true  << "A"             << false << " ";
        QTest::newRow("right: match")              << name    << false << "MR"  << 6  << false << "PROGMR.CNC"    << false << "W";
        QTest::newRow("right: one off")            << name    << false << "MR"  << 7  << false << "PROGMR.CNC"    << false << "P";
        QTest::newRow("right: start 1")            << name    << false << "MR"  << 10 << false << "MR"            << false << "W";
        QTest::newRow("right: start 0")            << name    << false << "MR"  << 8  << false << "MRX"           << false << "P";
        QTest::newRow("right: at maximum, start n")<< name    << false << "R"   << 12 << false << "PR"            << false << "P";
        QTest::newRow("comment")                   << comment << false << "MIR" << 7  << true  << "PANEL MIRROR"  << false << "W";
        QTest::newRow("comment from right")        << comment << true  << "MIR" << 18 << false << "PANEL MIRROR"  << true  << "W";
        QTest::newRow("barcode: no test")          << barcode << true  << "*"   << 1  << true  << ""              << false << " ";
        // clang-format on
    }
    void mirrorMatch()
    {
        const int source = fetch<int>("source"), position = fetch<int>("position");
        fieldsel::AutoSelSettings settings;
        settings.setSource(TriggerSource(source));
        settings.setAction(fetch<bool>("normAndMirror") ? MirrorAction::NormAndMirror
                                                        : MirrorAction::Mirror);
        settings.placeText();
        settings.setTriggerText(fetch<QString>("trigger"));
        settings.setTriggerPosition(qint16(position));
        settings.setFromLeft(fetch<bool>("fromLeft"));
        QCOMPARE(int(settings.triggerPosition()), position);

        base::CurrentItem item;
        item.resetItem();
        // The other text holds the trigger everywhere, so reading the wrong one shows.
        const QString decoy = QStringLiteral("MRMRMIRMIRMIRMIRMIR");
        const bool isComment = source == int(TriggerSource::Comment);
        item.programName = isComment ? decoy : fetch<QString>("text");
        item.programComment = isComment ? fetch<QString>("text") : decoy;
        QTEST(label::matchMirrorSpec(settings, item), "twice");
        QTEST(item.runField, "runField");
    }

    // Moving a program's companion CSV file into the collecting file: copied byte for byte; a
    // last line end that is not CR LF becomes one.
    void companionCsv_data()
    {
        // companion: the file on disk
        // collectedBefore: empty: no collecting file
        // collected: empty: none written
        columns<QString, QString, QByteArray, QByteArray, QByteArray>(
            {"programName", "companion", "content", "collectedBefore", "collected"});
        using B = QByteArray;
        // clang-format off
        QTest::newRow("lone CR")       << "PROG.CNC" << "PROG.CSV" << B("a;b\r")     << B() << B("a;b\r\n");
        QTest::newRow("two line ends") << "PROG.CNC" << "PROG.CSV" << B("a\r\n\r\n") << B() << B("a\r\n\r\n");
        QTest::newRow("LF CR: only the CR goes") << "PROG.CNC" << "PROG.CSV" << B("a\n\r") << B() << B("a\n\r\n");
        QTest::newRow("inner bytes as they are") << "PROG.CNC" << "PROG.CSV" << B("x\r\n\xe9\0y\n", 7) << B() << B("x\r\n\xe9\0y\r\n", 8);
        QTest::newRow("empty")         << "PROG.CNC" << "PROG.CSV" << B()            << B() << B("\r\n");
        QTest::newRow("appended")      << "PROG.CNC" << "PROG.CSV" << B("2\r\n")     << B("1\r\n") << B("1\r\n2\r\n");
        QTest::newRow("lower-case .cnc") << "prog.cnc" << "prog.CSV" << B("a")       << B() << B("a\r\n");
        QTest::newRow("lower-case file on disk") << "PROG.CNC" << "prog.csv" << B("a") << B() << B("a\r\n");
        QTest::newRow("other program's file") << "PROG.CNC" << "PROG2.CSV" << B("a") << B() << B();
        // clang-format on
    }
    void companionCsv()
    {
        const QString &programName = fetch<QString>("programName");
        const QByteArray &collected = fetch<QByteArray>("collected");
        Rig rig;
        const QString companion = rig.csvIn(fetch<QString>("companion"));
        QVERIFY(writeBytes(companion, fetch<QByteArray>("content")));
        if (!fetch<QByteArray>("collectedBefore").isEmpty())
            QVERIFY(writeBytes(rig.settings.csvOutPath, fetch<QByteArray>("collectedBefore")));

        QCOMPARE(rig.copyCsv(programName), 0);
        QCOMPARE(readBytes(rig.settings.csvOutPath), collected);
        QCOMPARE(QFile::exists(rig.settings.csvOutPath), !collected.isEmpty());
        QCOMPARE(QFile::exists(companion), collected.isEmpty()); // moved
        QCOMPARE(rig.copyCsv(programName), 0);                   // a second scan finds nothing more
        QCOMPARE(readBytes(rig.settings.csvOutPath), collected);
        QVERIFY(rig.prompter.shown.isEmpty());
    }

    void companionCsvFailureKeepsIt_data()
    {
        // collectingFile: "<tmp>" for the test folder
        columns<QString, QString, qint64, int>(
            {"programName", "collectingFile", "companionSize", "error"});
        // clang-format off
        QTest::newRow("disk full")          << "PROG.CNC"    << "/dev/full"          << qint64(10) << int(Error::DiskFull);
        QTest::newRow("folder missing")     << "PROG.CNC"    << "<tmp>/none/out.csv" << qint64(10) << int(Error::PathNotFound);
        QTest::newRow("companion too large") << "PROG.CNC"   << "<tmp>/out.csv" << label::maxCompanionCsvBytes + 1 << int(Error::OutOfMemory);
        QTest::newRow("name outside the folder") << "../PROG.CNC" << "<tmp>/out.csv"  << qint64(10) << 0;
        // clang-format on
    }
    void companionCsvFailureKeepsIt()
    {
        const QString &programName = fetch<QString>("programName");
        QString collectingFile = fetch<QString>("collectingFile");
        const qint64 companionSize = fetch<qint64>("companionSize");
        const bool device = collectingFile.startsWith("/dev/");
        if (device && !QFile::exists(collectingFile))
            QSKIP("no /dev/full here");
        if (device) // opening a device to append seeks, and Qt says so
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot call seek"));
        Rig rig;
        rig.settings.csvOutPath = collectingFile.replace("<tmp>", rig.root);
        // The companion of "../PROG.CNC" would lie beside the companion folder.
        const QString companion = rig.csvIn(programName.chopped(4) + ".CSV");
        {
            QFile f(companion);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(companionSize)); // sparse
        }
        QTEST(rig.copyCsv(programName), "error");
        QCOMPARE(QFileInfo(companion).size(), companionSize);
        if (!device)
            QVERIFY(!QFile::exists(rig.settings.csvOutPath));
    }
};

QTEST_GUILESS_MAIN(tst_Label)
#include "tst_label.moc"
