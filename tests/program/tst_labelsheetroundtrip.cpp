// A cutting list through barlink-label --sheet to a PDF (a roll, then sheets), the PDF rendered
// and every barcode read back by decoders that have nothing to do with the encoder, and the
// decoded bytes scanned into a station on a pseudo-terminal: every piece must become its rows.

#include "ManualClock.h"
#include "PtyPair.h"
#include "SheetRun.h"
#include "StationRig.h"
#include "program/CompressedLabelDecoder.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

// Runs a program; its standard output, or nothing when it could not run or failed.
QByteArray run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    if (exitCode)
        *exitCode = process.exitCode();
    return process.readAllStandardOutput();
}

// A program file and its comment line.
QByteArray programFile(const QByteArray &comment, int moves)
{
    QByteArray text = "G71 X900 Y700 Z20\r\n(" + comment + ")\r\n";
    for (int i = 0; i < moves; ++i)
        text += "G1 X" + QByteArray::number(i % 97 * 9) + " Y" + QByteArray::number(i % 13 * 40)
                + "\r\n";
    return text + "M30\r\n";
}

// A label as the station reads it: a compressed one expanded (the sheets' smaller labels
// compress what fits the roll as it is).
QByteArray expanded(const QByteArray &label)
{
    if (!label.startsWith('\xF1'))
        return label;
    return program::CompressedLabelDecoder().decode(QString::fromLatin1(label)).text.toLatin1();
}

// The Code 128 symbols of an image, one a line; none when there is none.
QByteArrayList decodeCode128(const QString &image)
{
    QByteArray lines = run(QStringLiteral("zbarimg"), {"--raw", "-q", "--nodbus", image});
    if (lines.isEmpty())
        return {};
    lines.chop(1);
    return lines.split('\n');
}

} // namespace

class tst_LabelSheetRoundTrip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        for (const char *tool : {"pdftoppm", "dmtxread", "zbarimg"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP("pdftoppm, dmtxread or zbarimg is not installed (poppler-utils, dmtx-utils, "
                      "zbar-tools)");
        }
        QTemporaryDir dir;
        const QString root = dir.path();
        QVERIFY(QDir(root).mkpath(QStringLiteral("cnc")));
        QVERIFY(writeBytes(root + "/cnc/PANEL.CNC", programFile("PANEL", 2)));
        // Too long for one Data Matrix on a 100 x 50 label: compressed.
        QVERIFY(writeBytes(root + "/cnc/BIG.CNC", programFile("BIG", 130)));

        // 30 rows of seven kinds, and the rows each should give in the list manager: the list
        // row (%n its number, %x %y its size) and the list manager's rows (%d the dimensions;
        // f is the field's place: N 1, M 2, S 3, A 4, R 6, N1 7, T1 11). Without a work field
        // the station chooses S within 1000 x 600, N beyond (%s); a program whose name begins
        // with MIR gives a mirrored row (A or M, %m) and a normal one. Those and the plain names
        // go to a station that matches MIR in program names (by name).
        struct Kind
        {
            const char *line;
            const char *rows;
            bool byName = false;
        };
        const Kind kinds[] = {
            {"Door %n;DOOR%n;%x;%y;18;N1", "DOOR%n.CNC f7 %d r1"},   // segments
            {"Shelf-%n;;%x;%y;18;", "Shelf-%n.CNC f%s %d r1"},       // the field by size
            {"Panel %n;PANEL;%x;%y;18;M", "PANEL f2 %d r1 c:PANEL"}, // program barcode
            {"Side %n;MIRSIDE%n;%x;%y;18;",
             "MIRSIDE%n.CNC f%m %d r1|MIRSIDE%n.CNC f%s %d r1",
             true},
            {"Big %n;BIG;%x;%y;18;R", "BIG f6 %d r1 c:BIG"},  // compressed on the roll
            {"Lid %n;LID%n;;;;T1", "LID%n.CNC f11 xx r1"},    // one segment
            {"Strip %n;;;;;", "Strip %n.CNC f3 xx r1", true}, // plain name
        };
        QByteArray list = "Piece;Program;Length;Width;Thickness;Field;Qty;Order\r\n";
        QStringList expected, byName;
        for (int i = 0; i < 30; ++i) {
            const Kind &kind = kinds[i % 7];
            const int x = 300 + i * 47, y = 200 + i * 23, quantity = i % 4 == 0 ? 2 : 1;
            const bool small = x <= 1000 && y <= 600;
            const auto filled = [&](const char *pattern) {
                return QString::fromLatin1(pattern)
                    .replace("%n", QString::number(i))
                    .replace("%x", QString::number(x))
                    .replace("%y", QString::number(y))
                    .replace("%d", QStringLiteral("%1x%2x18").arg(x).arg(y))
                    .replace("%s", small ? "3" : "1")
                    .replace("%m", small ? "4" : "2");
            };
            list += (filled(kind.line) + QStringLiteral(";%1;Order %2\r\n").arg(quantity).arg(i))
                        .toUtf8();
            for (int copy = 0; copy < quantity; ++copy)
                (kind.byName ? byName : expected) += filled(kind.rows).split(u'|');
        }
        QVERIFY(writeBytes(root + "/list.csv", list));

        int status = -1;
        const QString label = QStringLiteral(BARLINK_LABEL_BINARY);
        const QString sheetArguments
            = QStringLiteral("--sheet %1/list.csv --programs %1/cnc -o %1/");
        const QByteArray summary = run(
            label, (sheetArguments.arg(root) + "labels.pdf --label 100x50mm").split(u' '), &status);
        QVERIFY2(status == 0, summary.constData());
        run(QStringLiteral("pdftoppm"),
            {"-r", "200", "-gray", "-png", root + "/labels.pdf", root + "/page"});
        QStringList pages = QDir(root).entryList({"page-*.png"}, QDir::Files, QDir::Name);
        QCOMPARE(pages.size(), 38); // one label a page: 30 rows, 8 of them twice

        // Each label's symbols as the decoders read them: the Code 128 symbols, one a line, or
        // else the one Data Matrix, byte for byte.
        QList<QByteArrayList> scans;
        QList<qsizetype> matrix; // the labels that carry a Data Matrix
        for (const QString &page : std::as_const(pages)) {
            const QString path = root + u'/' + page;
            const QByteArrayList lines = decodeCode128(path);
            if (!lines.isEmpty()) {
                scans << lines;
            } else {
                matrix << scans.size();
                scans << QByteArrayList{run(QStringLiteral("dmtxread"), {"-n", "-N1", path})};
            }
            QVERIFY2(!scans.last().first().isEmpty(), qPrintable(page));
        }
        // The same labels on the default sheets, with their smaller modules, each read from its
        // place on the sheet.
        QCOMPARE(run(label, (sheetArguments.arg(root) + "sheets.pdf").split(u' ')),
                 QByteArray("38 labels on 2 sheets\n"));
        const labeltool::SheetLayout sheet = labeltool::sheetLayouts().front();
        for (qsizetype i = 0; i < scans.size(); ++i) {
            const QRectF cell = sheet.contentRect(int(i % sheet.perPage())).adjusted(-1, -1, 1, 1);
            const auto px = [](double mm) { return QString::number(qRound(mm * 300 / 25.4)); };
            const QString page = QString::number(i / sheet.perPage() + 1);
            run(QStringLiteral("pdftoppm"),
                QStringLiteral("-r 300 -gray -png -singlefile -f %1 -l %1 -x %2 -y %3 -W %4 -H %5 "
                               "%6/sheets.pdf %6/cell")
                    .arg(
                        page, px(cell.x()), px(cell.y()), px(cell.width()), px(cell.height()), root)
                    .split(u' '));
            QByteArrayList symbols = decodeCode128(root + "/cell.png");
            if (matrix.contains(i))
                symbols = {run(QStringLiteral("dmtxread"), {"-n", "-N1", root + "/cell.png"})};
            QByteArrayList onRoll = scans[i];
            for (QByteArrayList *list : {&symbols, &onRoll}) {
                for (QByteArray &symbol : *list)
                    symbol = expanded(symbol);
            }
            std::sort(symbols.begin(), symbols.end());
            std::sort(onRoll.begin(), onRoll.end());
            QCOMPARE(symbols, onRoll);
        }
        QVERIFY(std::any_of(scans.begin(), scans.end(), [](const QByteArrayList &symbols) {
            return symbols.first().startsWith('\xF1'); // compressed
        }));

        // The mirrored pieces and the plain names go to a station that matches MIR in program
        // names (and so takes a plain name without a work field); as that station chooses the
        // field of every piece by size, the others go to one that takes their fields.
        QList<QStringList> rows;
        for (const bool mirror : {false, true}) {
            const QString folder = root + (mirror ? "/mirror" : "/plain");
            PtyPair pty;
            QVERIFY(pty.isValid());
            QVERIFY(PtyStation::prepare(
                folder, pty.slavePath(), SelectionKeys + (mirror ? MirrorKeys : "")));
            base::ManualClock clock;
            PtyStation rig(folder, {.clock = &clock});
            QVERIFY(rig.start());
            for (const QByteArrayList &symbols : std::as_const(scans)) {
                const bool plainName
                    = !symbols.first().contains('%') && !symbols.first().contains('^');
                if ((plainName || symbols.join().contains("MIR")) != mirror)
                    continue;
                for (const QByteArray &symbol : symbols)
                    QVERIFY2(rig.writeUntilHandled(pty, clock, {symbol}), symbol.constData());
            }
            QVERIFY2(rig.prompter.shown.isEmpty(), qPrintable(rig.prompter.texts().join('|')));
            rows << rig.rows();
            rig.station.shutdown();
        }
        QCOMPARE(rows.first(), expected);
        // Which of a pair comes first is the field selection's business.
        std::sort(rows.last().begin(), rows.last().end());
        std::sort(byName.begin(), byName.end());
        QCOMPARE(rows.last(), byName);
    }
};

QTEST_GUILESS_MAIN(tst_LabelSheetRoundTrip)
#include "tst_labelsheetroundtrip.moc"
