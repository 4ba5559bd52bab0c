#pragma once

#include "CuttingList.h"
#include "LabelLayout.h"
#include "PdfSheets.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace barlink::labeltool {

// One run of barlink-label --sheet: a cutting list in, a PDF or ZPL file of labels out.
struct SheetJob
{
    QString listPath;
    QString outputPath;  // .pdf or .zpl
    QString programsDir; // program files for program barcodes; empty: none
    SheetLayout layout;
    int dpi = 203; // ZPL only
};

struct SheetReport
{
    QString error;              // set when nothing was written
    QList<LineProblem> leftOut; // rows the station would refuse, in list order
    QStringList notes;          // worth knowing, changes nothing
    qsizetype labels = 0;
    int pages = 0;
};

// The highest exit status that counts rows left out, and the one for a run that wrote nothing.
inline constexpr int MaxLeftOutStatus = 99;
inline constexpr int FailedStatus = 100;

// Reads the list, plans every row and writes the output file.
[[nodiscard]] SheetReport makeSheets(const SheetJob &job, const LabelProgress &progress);

// "96 labels on 4 sheets, 2 rows left out: line 7 name holds ';', line 31 Z is not a number"
[[nodiscard]] QString summaryLine(const SheetReport &report, const SheetLayout &layout);

// 0 when every row made its labels, otherwise the number of rows left out up to
// MaxLeftOutStatus; FailedStatus when nothing was written.
[[nodiscard]] int sheetExitStatus(const SheetReport &report);

} // namespace barlink::labeltool
