// A cutting list of 10,000 rows made into a PDF of label sheets: read, planned, arranged and
// drawn, as barlink-label --sheet does. Rows of every kind: two segment labels, one, a plain
// name and a program barcode. Target: under 10 s for the whole list.

#include "BenchSupport.h"
#include "SheetRun.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace barlink;

namespace {

QByteArray cuttingList(int rows)
{
    QByteArray list = "Piece;Program;Length;Width;Thickness;Field;Qty;Material;Order\r\n";
    for (int i = 0; i < rows; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray x = QByteArray::number(200 + i % 1400);
        const QByteArray y = QByteArray::number(100 + i % 700);
        switch (i % 4) {
        case 0:
            list += "Door " + n + ";DOOR" + n + ';' + x + ';' + y + ";18;N1;1;Oak;Order " + n;
            break;
        case 1:
            list += "Lid " + n + ";LID" + n + ";;;;T1;1;;";
            break;
        case 2:
            list += "STRIP" + n + ";;;;;;1;;";
            break;
        default:
            list += "Panel " + n + ";PANEL;" + x + ';' + y + ";18;M;1;Birch;Order " + n;
        }
        list += "\r\n";
    }
    return list;
}

void BM_CuttingListToPdf(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString listPath = dir.filePath(QStringLiteral("list.csv"));
    QFile list(listPath);
    if (!list.open(QIODevice::WriteOnly) || list.write(cuttingList(int(state.range(0)))) < 0) {
        state.SkipWithError("cannot write the list");
        return;
    }
    list.close();
    QFile program(dir.filePath(QStringLiteral("PANEL.CNC")));
    if (!program.open(QIODevice::WriteOnly)
        || program.write("G71 X900 Y700 Z20\r\n(PANEL)\r\nG0 X1 Y1\r\nM30\r\n") < 0) {
        state.SkipWithError("cannot write the program");
        return;
    }
    program.close();
    const labeltool::SheetJob job{listPath,
                                  dir.filePath(QStringLiteral("labels.pdf")),
                                  dir.path(),
                                  labeltool::sheetLayouts().front(),
                                  203};
    for (auto _ : state) {
        const labeltool::SheetReport report = labeltool::makeSheets(job, {});
        if (!report.error.isEmpty() || !report.leftOut.isEmpty()) {
            state.SkipWithError("the list did not make its labels");
            return;
        }
        state.counters["pages"] = report.pages;
    }
    state.counters["pdf_MB"] = double(QFileInfo(job.outputPath).size()) / 1e6;
}

} // namespace

BENCHMARK(BM_CuttingListToPdf)
    ->ArgName("rows")
    ->Arg(10000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

BARLINK_BENCHMARK_MAIN(QGuiApplication)
