// Labels for a cutting list: the list as read from its file, what each row's barcodes hold or
// why the row is left out, where the labels sit on the sheets, and the printer commands of a
// roll checked against the label size.

#include "CuttingList.h"
#include "PiecePlan.h"
#include "SheetRun.h"
#include "Tables.h"
#include "ZplLabels.h"

#include <QRegularExpression>
#include <QTest>

using namespace barlink::labeltool;
using namespace barlink::testing;

namespace {

// Rows in short: "line:name|program|x|y|z|field|quantity"; problems "line:reason".
QStringList summaries(const CuttingList &list)
{
    QStringList out;
    for (const CuttingRow &row : list.rows) {
        out << QString::number(row.line) + u':'
                   + row.values.mid(0, int(CuttingColumn::Quantity) + 1).join(u'|');
    }
    for (const LineProblem &problem : list.problems)
        out << QString::number(problem.line) + u':' + problem.reason;
    return out;
}

CuttingRow row(const QStringList &values)
{
    CuttingRow r;
    r.line = 2;
    for (qsizetype i = 0; i < values.size(); ++i)
        r.values[i] = values[i];
    return r;
}

} // namespace

class tst_LabelSheets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cuttingList_data()
    {
        columns<QByteArray, QStringList, QStringList>({"bytes", "rows", "unknown"});
        // clang-format off
        QTest::newRow("German, semicolons, Windows-1252, decimal comma kept as written")
            << QByteArray("Teil;Programm;L\xe4nge;Breite;St\xe4rke;Arbeitsfeld;Anzahl\r\nT\xfcr \x80;P1;600;400,5;18;N1;2\r\n")
            << QStringList{QString::fromUtf8("2:Tür €|P1|600|400,5|18|N1|2")} << QStringList{};
        QTest::newRow("Italian, commas, quoted separators, quotes and a line end")
            << QByteArray("Nome,Programma,Lunghezza,Larghezza,Spessore,Campo,Quantit\xc3\xa0\n"
                          "\"Anta, \"\"sx\"\"\",P2,1,2,3,M,1\n\"due\nrighe\",P3,,,,,\n\nultimo,P4,,,,,5\n")
            << QStringList{"2:Anta, \"sx\"|P2|1|2|3|M|1", "3:due\nrighe|P3|||||", "6:ultimo|P4|||||5"}
            << QStringList{};
        QTest::newRow("English with a byte order mark; unknown columns named once; a name given twice")
            << QByteArray("\xef\xbb\xbfPart name,Colour,Length,Colour,Qty,Piece\nDoor,red,5,blue,3,Other\n")
            << QStringList{"2:Door||5||||3"} << QStringList{"Colour"};
        QTest::newRow("a quote never closed is a problem of its line")
            << QByteArray("name;x\nA;1\n\"B;2\nC;3\n") << QStringList{"2:A||1||||", "3:a quoted field is never closed"}
            << QStringList{};
        QTest::newRow("no known column: no header") << QByteArray("foo,bar\n1,2\n")
            << QStringList{} << QStringList{"foo", "bar"};
        // clang-format on
    }
    void cuttingList()
    {
        const CuttingList list = readCuttingList(fetch<QByteArray>("bytes"));
        const QStringList &rows = fetch<QStringList>("rows");
        QCOMPARE(list.ok(), !rows.isEmpty());
        QCOMPARE(summaries(list), rows);
        QTEST(list.unknownColumns, "unknown");
    }

    void plan_data()
    {
        // values: name, program, x, y, z, field, quantity
        // symbols: the barcodes' texts joined by "|", "~" + start for a compressed one; or the
        // refusal
        columns<QStringList, QByteArray, QString>({"values", "program", "symbols"});
        const QByteArray program = "G71 X900 Y700 Z20\r\n(LEFT DOOR)\r\nM30\r\n";
        QByteArray big;
        for (int i = 0; i < 40; ++i)
            big += "G1 X100 Y100\r\n";
        QByteArray huge;
        for (int i = 0; i < 3000; ++i)
            huge += QByteArray::number(i * 7919 % 10007) + "\r\n";
        // clang-format off
        QTest::newRow("segments: field and dimensions, decimal comma") << QStringList{"Door", "DOOR", "600", "400,5", "18", "n1"} << QByteArray() << "%12DOOR N1|%22600 400.5 18";
        QTest::newRow("segments: no field, a dimension missing") << QStringList{"Door", "", "600", "", "18"} << QByteArray() << "%12Door P|%22600 0 18";
        QTest::newRow("segment: field only") << QStringList{"Door", "", "", "", "", "M"} << QByteArray() << "%11Door M";
        QTest::newRow("plain name") << QStringList{"LID"} << QByteArray() << "LID";
        QTest::newRow("program barcode") << QStringList{"Door", "P1", "800", "", "18", "N"} << program << QString("P1^UN^X800^Z18!" + program.chopped(2));
        QTest::newRow("program barcode compressed when it would not fit") << QStringList{"Door", "P1"} << big << QString("~\u00f1");
        QTest::newRow("program too long even compressed") << QStringList{"Door", "P1"} << huge << "program is too long for the label even compressed";
        QTest::newRow("name with ;") << QStringList{"A;B", "P"} << QByteArray() << "name holds ';'";
        QTest::newRow("program with a control character") << QStringList{"A", "P\tQ"} << QByteArray() << "program holds a control character";
        QTest::newRow("dimension with an exponent") << QStringList{"A", "", "1", "2", "1e3"} << QByteArray() << "Z is not a number";
        QTest::newRow("quantity 0") << QStringList{"A", "", "1", "2", "3", "", "0"} << QByteArray() << "quantity is no whole number from 1 to 9999";
        QTest::newRow("no work field code") << QStringList{"A", "", "", "", "", "Q"} << QByteArray() << "work field \"Q\" is no work field code";
        QTest::newRow("what the station reads as a segment label") << QStringList{"A%B"} << QByteArray() << "\"A%B\" holds \"%\" or \"$\", which makes it a segment label";
        // clang-format on
    }
    void plan()
    {
        const QByteArray &program = fetch<QByteArray>("program");
        const QString &symbols = fetch<QString>("symbols");
        // A label holds up to 300 characters.
        const FitsOnLabel fits = [](const LabelText &label) { return label.text.size() <= 300; };
        const PieceOutcome outcome
            = planPiece(row(fetch<QStringList>("values")),
                        program.isEmpty() ? std::nullopt : std::optional(program),
                        fits);
        if (!outcome.plan) {
            QCOMPARE(outcome.refusal, symbols);
            return;
        }
        QStringList texts;
        for (const LabelText &symbol : outcome.plan->symbols)
            texts << symbol.text;
        if (symbols.startsWith(u'~')) {
            QVERIFY(outcome.plan->compressed);
            QVERIFY2(texts.join(u'|').startsWith(symbols.mid(1)), qPrintable(texts.join(u'|')));
        } else {
            QCOMPARE(texts.join(u'|'), symbols);
        }
    }

    // The content of every label of a sheet lies within its label and out of the printer's
    // margin, and the labels are centred on the page (which every sheet of these layouts is).
    void sheetGeometry()
    {
        for (const SheetLayout &layout : sheetLayouts() + QList{*rollLayout("100x50mm")}) {
            const QRectF page(QPointF(0, 0), layout.page);
            const double margin = layout.pageMargin;
            QRectF all;
            for (int i = 0; i < layout.perPage(); ++i) {
                const QRectF label(layout.origin.x() + (i % layout.columns) * layout.pitch.width(),
                                   layout.origin.y() + (i / layout.columns) * layout.pitch.height(),
                                   layout.label.width(),
                                   layout.label.height());
                all |= label;
                const QRectF content(layout.contentRect(i).topLeft(), layout.contentSize());
                QVERIFY(label.contains(content)
                        && page.adjusted(margin, margin, -margin, -margin).contains(content));
            }
            QVERIFY2(qAbs(all.center().x() - page.center().x()) < 0.05
                         && qAbs(all.center().y() - page.center().y()) < 0.05
                         && page.adjusted(-0.01, -0.01, 0.01, 0.01).contains(all),
                     qPrintable(layout.name));
        }
    }

    // The commands of a roll at both resolutions: one ^XA...^XZ per label, the label size in
    // dots, every field and every symbol on the label, modules no smaller than scanners read.
    void zpl_data()
    {
        columns<int, QString>({"dpi", "label"});
        QTest::newRow("203 dpi, 100 x 50") << 203 << "100x50mm";
        QTest::newRow("300 dpi, 60 x 30") << 300 << "60x30mm";
        QTest::newRow("300 dpi, 50 x 45: the symbol leaves room for the text") << 300 << "50x45mm";
    }
    void zpl()
    {
        const int dpi = fetch<int>("dpi");
        const SheetLayout layout = *rollLayout(fetch<QString>("label"));
        const QByteArray program = QByteArray("G71 X900 Y700 Z20\r\n").repeated(20);
        QList<PrintedPiece> pieces;
        for (const auto &[values, file] :
             {std::pair{QStringList{"Door^1", "DOOR", "600", "400", "18", "N1", "2"}, QByteArray()},
              {QStringList{"Panel", "P~1", "", "", "", "", "1"}, program}}) {
            const PieceOutcome outcome
                = planPiece(row(values),
                            file.isEmpty() ? std::nullopt : std::optional(file),
                            [](const LabelText &) { return true; });
            QVERIFY2(outcome.plan, qPrintable(outcome.refusal));
            pieces << PrintedPiece{
                *outcome.plan,
                arrangeLabel(layout.contentSize(), outcome.plan->symbols, zplDot(dpi))};
            QVERIFY(pieces.last().arrangement.ok());
        }
        const QByteArray zpl = zplLabels(layout, dpi, pieces);
        const auto dots = [dpi](double mm) { return qRound(mm * dpi / 25.4); };
        const QByteArray flat = zpl.split('\n').join();
        QByteArrayList labels;
        for (const auto &m :
             QRegularExpression(R"(\^XA.*?\^XZ)").globalMatch(QString::fromLatin1(flat)))
            labels << m.captured(0).toLatin1();
        QCOMPARE(labels.size(), 3);
        QCOMPARE(labels.join(), flat);
        const int width = dots(layout.label.width()), height = dots(layout.label.height());
        static const QRegularExpression field(
            R"(\^FO(\d+),(\d+)(?:\^A0N,(\d+),\d+\^FB(\d+)|\^BY(\d+),3,(\d+)\^BCN|\^BXN,(\d+),200,(\d+),(\d+),6)[^\^]*\^FH\^FD([^\^~]*)\^FS)");
        for (int i = 0; i < 3; ++i) {
            const QByteArray &label = labels[i];
            const PrintedPiece &piece = pieces[i / 2];
            QVERIFY(label.startsWith("^XA^PW" + QByteArray::number(width) + "^LL"
                                     + QByteArray::number(height)));
            QList<QByteArray> symbols;
            qsizetype fields = 0;
            for (const QRegularExpressionMatch &m : field.globalMatch(QString::fromLatin1(label))) {
                ++fields;
                int right = m.captured(1).toInt(), bottom = m.captured(2).toInt();
                if (!m.captured(3).isEmpty()) {
                    QVERIFY(m.captured(4).toInt() >= 0.3 * width);
                    right += m.captured(4).toInt();
                    bottom += m.captured(3).toInt();
                    continue;
                }
                // The symbol's bytes, the hex escapes undone.
                QByteArray data = m.captured(10).toLatin1();
                for (qsizetype at = data.indexOf('_'); at >= 0; at = data.indexOf('_', at + 1))
                    data.replace(at, 3, QByteArray::fromHex(data.mid(at + 1, 2)));
                symbols << data;
                const PlacedSymbol &placed = piece.arrangement.symbols.value(symbols.size() - 1);
                const int module
                    = m.captured(5).isEmpty() ? m.captured(7).toInt() : m.captured(5).toInt();
                if (!m.captured(5).isEmpty()) { // Code 128, its quiet zones on the label
                    QVERIFY(module * 25.4 / dpi >= 0.25 && right >= 10 * module);
                    right += module * int(placed.shape.width - 10);
                    bottom += m.captured(6).toInt();
                } else {
                    QVERIFY(module * 25.4 / dpi >= 0.33);
                    QCOMPARE(m.captured(8).toInt(), int(placed.shape.width) - 2);
                    right += module * m.captured(8).toInt();
                    bottom += module * m.captured(9).toInt();
                }
                QVERIFY2(right <= width && bottom <= height, qPrintable(m.captured(0)));
            }
            QCOMPARE(fields, label.count("^FO"));
            QList<QByteArray> planned;
            for (const LabelText &symbol : piece.plan.symbols)
                planned << symbol.bytes();
            QCOMPARE(symbols, planned);
        }
    }

    void summary_data()
    {
        columns<QList<LineProblem>, QString, QString, int>(
            {"leftOut", "error", "summary", "status"});
        // clang-format off
        QTest::newRow("all made") << QList<LineProblem>{} << QString() << "96 labels on 4 sheets" << 0;
        QTest::newRow("two left out") << QList<LineProblem>{{7, "name holds ';'"}, {31, "Z is not a number"}} << QString() << "96 labels on 4 sheets, 2 rows left out: line 7 name holds ';', line 31 Z is not a number" << 2;
        QTest::newRow("status capped") << QList<LineProblem>(150, {9, "x"}) << QString() << QString() << 99;
        QTest::newRow("nothing written") << QList<LineProblem>{{3, "x"}} << "cannot write" << QString() << 100;
        // clang-format on
    }
    void summary()
    {
        SheetReport report;
        report.leftOut = fetch<QList<LineProblem>>("leftOut");
        report.error = fetch<QString>("error");
        report.labels = 96;
        report.pages = 4;
        const QString &summary = fetch<QString>("summary");
        if (!summary.isEmpty())
            QCOMPARE(summaryLine(report, sheetLayouts().front()), summary);
        QTEST(sheetExitStatus(report), "status");
    }
};

QTEST_GUILESS_MAIN(tst_LabelSheets)
#include "tst_labelsheets.moc"
