// A cutting list through barlink-label --sheet to a PDF (a roll, then sheets), the PDF rendered
// and every barcode read back by decoders that have nothing to do with the encoder, and the
// decoded bytes scanned into a station on a pseudo-terminal: every piece must become its rows.

#include "ManualClock.h"
#include "PtyPair.h"
#include "SheetRun.h"
#include "StationRig.h"
#include "label/FieldCodes.h"
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

        // 30 rows of seven kinds, and the rows each should give in the list manager. Without a
        // work field the station chooses S within 1000 x 600, N beyond; a program whose name
        // begins with MIR gives a mirrored row (A within those limits, M beyond) and a normal
        // one.
        QByteArray list = "Piece;Program;Length;Width;Thickness;Field;Qty;Order\r\n";
        QStringList expected, byName;
        const auto f = [](const char *code) {
            return QString::number(label::FieldCodes::position(QString::fromLatin1(code)));
        };
        for (int i = 0; i < 30; ++i) {
            const int x = 300 + i * 47, y = 200 + i * 23, quantity = i % 4 == 0 ? 2 : 1;
            const QString n = QString::number(i);
            const QString dims = QStringLiteral("%1x%2x18").arg(x).arg(y);
            QString line, row;
            switch (i % 7) {
            case 0: // segments, field and dimensions
                line = QStringLiteral("Door %1;DOOR%1;%2;%3;18;N1").arg(n).arg(x).arg(y);
                row = QStringLiteral("DOOR%1.CNC f%2 %3 r1").arg(n, f("N1"), dims);
                break;
            case 1: // segments, the field chosen by size
                line = QStringLiteral("Shelf-%1;;%2;%3;18;").arg(n).arg(x).arg(y);
                row = QStringLiteral("Shelf-%1.CNC f%2 %3 r1")
                          .arg(n, f(x <= 1000 && y <= 600 ? "S" : "N"), dims);
                break;
            case 2: // program barcode
                line = QStringLiteral("Panel %1;PANEL;%2;%3;18;M").arg(n).arg(x).arg(y);
                row = QStringLiteral("PANEL f%1 %2 r1 c:PANEL").arg(f("M"), dims);
                break;
            case 3: // a mirrored pair
                line = QStringLiteral("Side %1;MIRSIDE%1;%2;%3;18;").arg(n).arg(x).arg(y);
                for (int copy = 0; copy < quantity; ++copy) {
                    const bool small = x <= 1000 && y <= 600;
                    byName << QStringLiteral("MIRSIDE%1.CNC f%2 %3 r1")
                                  .arg(n, f(small ? "A" : "M"), dims)
                           << QStringLiteral("MIRSIDE%1.CNC f%2 %3 r1")
                                  .arg(n, f(small ? "S" : "N"), dims);
                }
                break;
            case 4: // compressed program barcode, the field given
                line = QStringLiteral("Big %1;BIG;%2;%3;18;R").arg(n).arg(x).arg(y);
                row = QStringLiteral("BIG f%1 %2 r1 c:BIG").arg(f("R"), dims);
                break;
            case 5: // one segment: the field alone
                line = QStringLiteral("Lid %1;LID%1;;;;T1").arg(n);
                row = QStringLiteral("LID%1.CNC f%2 xx r1").arg(n, f("T1"));
                break;
            default: // the plain name
                line = QStringLiteral("Strip %1;;;;;").arg(n);
                for (int copy = 0; copy < quantity; ++copy)
                    byName << QStringLiteral("Strip %1.CNC f%2 xx r1").arg(n, f("S"));
            }
            list += (line + QStringLiteral(";%1;Order %2\r\n").arg(quantity).arg(i)).toUtf8();
            for (int copy = 0; copy < quantity && !row.isEmpty(); ++copy)
                expected << row;
        }
        QVERIFY(writeBytes(root + "/list.csv", list));

        int status = -1;
        const QByteArray summary = run(QStringLiteral(BARLINK_LABEL_BINARY),
                                       {"--sheet",
                                        root + "/list.csv",
                                        "--programs",
                                        root + "/cnc",
                                        "--label",
                                        "100x50mm",
                                        "-o",
                                        root + "/labels.pdf"},
                                       &status);
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
        QCOMPARE(run(QStringLiteral(BARLINK_LABEL_BINARY),
                     {"--sheet",
                      root + "/list.csv",
                      "--programs",
                      root + "/cnc",
                      "-o",
                      root + "/sheets.pdf"}),
                 QByteArray("38 labels on 2 sheets\n"));
        const labeltool::SheetLayout sheet = labeltool::sheetLayouts().front();
        for (qsizetype label = 0; label < scans.size(); ++label) {
            const QRectF cell
                = sheet.contentRect(int(label % sheet.perPage())).adjusted(-1, -1, 1, 1);
            const auto px = [](double mm) { return QString::number(qRound(mm * 300 / 25.4)); };
            const QString page = QString::number(label / sheet.perPage() + 1);
            run(QStringLiteral("pdftoppm"),
                {"-r",
                 "300",
                 "-gray",
                 "-png",
                 "-singlefile",
                 "-f",
                 page,
                 "-l",
                 page,
                 "-x",
                 px(cell.x()),
                 "-y",
                 px(cell.y()),
                 "-W",
                 px(cell.width()),
                 "-H",
                 px(cell.height()),
                 root + "/sheets.pdf",
                 root + "/cell"});
            QByteArrayList symbols = decodeCode128(root + "/cell.png");
            if (matrix.contains(label))
                symbols = {run(QStringLiteral("dmtxread"), {"-n", "-N1", root + "/cell.png"})};
            QByteArrayList onRoll = scans[label];
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
