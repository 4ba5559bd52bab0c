#pragma once

#include "LabelLayout.h"
#include "PdfSheets.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace barlink::labeltool {

// The printer commands of every piece's labels for a thermal label printer of the given
// resolution (203 or 300 dpi): one ^XA...^XZ per label, ^BX for Data Matrix, ^BC for
// Code 128, ^A0 text fields. Field data goes through ^FH hex escapes, so "^", "~" and bytes
// above 127 reach the symbol as they are. The pieces were arranged for modules that are whole
// printer dots (zplDot).
[[nodiscard]] QByteArray
zplLabels(const SheetLayout &layout, int dpi, const QList<PrintedPiece> &pieces);

// Writes zplLabels to path; *labels gets the number of labels. Empty on success.
[[nodiscard]] QString writeZpl(const QString &path,
                               const SheetLayout &layout,
                               int dpi,
                               const QList<PrintedPiece> &pieces,
                               int *labels);

// The size of one printer dot in millimetres.
[[nodiscard]] inline double zplDot(int dpi)
{
    return 25.4 / dpi;
}

} // namespace barlink::labeltool
