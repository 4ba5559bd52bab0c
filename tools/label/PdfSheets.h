#pragma once

#include "LabelLayout.h"
#include "PiecePlan.h"

#include <QList>
#include <QString>

#include <functional>

namespace barlink::labeltool {

// A piece ready to print: what its labels carry and where everything goes on one label.
struct PrintedPiece
{
    PiecePlan plan;
    LabelArrangement arrangement;
};

// Called after each label with the number of labels written so far and in all.
using LabelProgress = std::function<void(qsizetype written, qsizetype total)>;

// Writes every piece's labels (quantity copies each, in list order) as a PDF in the layout;
// the barcodes are drawn as rectangles, sharp at any printer resolution. *pages gets the
// number of pages. Empty on success, otherwise why not.
[[nodiscard]] QString writePdf(const QString &path,
                               const SheetLayout &layout,
                               const QList<PrintedPiece> &pieces,
                               const LabelProgress &progress,
                               int *pages);

} // namespace barlink::labeltool
