#include "SheetRun.h"

#include "ZplLabels.h"

#include "base/FileNames.h"
#include "scanner/ScanPoller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace barlink::labeltool {

namespace {

// The program file named by a row: the name as it is, or with .CNC or .cnc added.
std::optional<QByteArray> programFileOf(const QString &dir, const QString &program)
{
    if (dir.isEmpty() || program.isEmpty() || !base::isSafeRelativeName(program))
        return std::nullopt;
    for (const QString &name :
         {program, program + QStringLiteral(".CNC"), program + QStringLiteral(".cnc")}) {
        QFile file(QDir(dir).filePath(name));
        if (QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly))
            return file.read(scanner::ScanPoller::MaxScanBuffer + 1);
    }
    return std::nullopt;
}

} // namespace

SheetReport makeSheets(const SheetJob &job, const LabelProgress &progress)
{
    SheetReport report;
    QFile file(job.listPath);
    if (!file.open(QIODevice::ReadOnly)) {
        report.error = QStringLiteral("cannot read %1: %2").arg(job.listPath, file.errorString());
        return report;
    }
    const CuttingList list = readCuttingList(file.readAll());
    if (!list.ok()) {
        report.error = job.listPath + QStringLiteral(": ") + list.error;
        return report;
    }
    if (!list.unknownColumns.isEmpty())
        report.notes << QStringLiteral("columns ignored: %1")
                            .arg(list.unknownColumns.join(QStringLiteral(", ")));
    if (list.windows1252)
        report.notes << QStringLiteral("the list is no UTF-8; read as Windows-1252");
    report.leftOut = list.problems;

    const bool zpl
        = QFileInfo(job.outputPath).suffix().compare(QLatin1String("zpl"), Qt::CaseInsensitive)
          == 0;
    const double dot = zpl ? zplDot(job.dpi) : 0;
    const QSizeF content = job.layout.contentSize();
    const FitsOnLabel fits = [&content, dot](const LabelText &label) {
        return arrangeLabel(content, {label}, dot).ok();
    };
    QList<PrintedPiece> pieces;
    QStringList withoutProgramFile;
    for (const CuttingRow &row : list.rows) {
        const QString &program = row.value(CuttingColumn::Program);
        const std::optional<QByteArray> programFile = programFileOf(job.programsDir, program);
        const PieceOutcome outcome = planPiece(row, programFile, fits);
        if (!outcome.plan) {
            report.leftOut << LineProblem{row.line, outcome.refusal};
            continue;
        }
        if (!job.programsDir.isEmpty() && !program.isEmpty() && !programFile)
            withoutProgramFile << QString::number(row.line);
        PrintedPiece piece{*outcome.plan, arrangeLabel(content, outcome.plan->symbols, dot)};
        if (!piece.arrangement.ok()) {
            report.leftOut << LineProblem{row.line,
                                          QStringLiteral("its barcodes do not fit the label")};
            continue;
        }
        report.labels += piece.plan.quantity;
        pieces << piece;
    }
    if (!withoutProgramFile.isEmpty())
        report.notes << QStringLiteral("no program file in %1 for line %2: no program barcode")
                            .arg(job.programsDir, withoutProgramFile.join(QStringLiteral(", ")));
    std::sort(report.leftOut.begin(),
              report.leftOut.end(),
              [](const LineProblem &a, const LineProblem &b) { return a.line < b.line; });
    if (pieces.isEmpty()) {
        report.error = QStringLiteral("no row of %1 makes a label").arg(job.listPath);
        return report;
    }

    const QString error
        = zpl ? writeZpl(job.outputPath, job.layout, job.dpi, pieces, &report.pages)
              : writePdf(job.outputPath, job.layout, pieces, progress, &report.pages);
    if (!error.isEmpty()) {
        report.error = error;
        report.labels = 0;
    }
    return report;
}

QString summaryLine(const SheetReport &report, const SheetLayout &layout)
{
    QString line
        = QStringLiteral("%1 %2 on %3 %4")
              .arg(report.labels)
              .arg(report.labels == 1 ? QStringLiteral("label") : QStringLiteral("labels"))
              .arg(report.pages)
              .arg(layout.roll()
                       ? (report.pages == 1 ? QStringLiteral("page") : QStringLiteral("pages"))
                       : (report.pages == 1 ? QStringLiteral("sheet") : QStringLiteral("sheets")));
    if (report.leftOut.isEmpty())
        return line;
    QStringList reasons;
    for (const LineProblem &problem : report.leftOut)
        reasons << QStringLiteral("line %1 %2").arg(problem.line).arg(problem.reason);
    return line
           + QStringLiteral(", %1 %2 left out: ")
                 .arg(report.leftOut.size())
                 .arg(report.leftOut.size() == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
           + reasons.join(QStringLiteral(", "));
}

int sheetExitStatus(const SheetReport &report)
{
    if (!report.error.isEmpty())
        return FailedStatus;
    return int(std::min<qsizetype>(report.leftOut.size(), MaxLeftOutStatus));
}

} // namespace barlink::labeltool
