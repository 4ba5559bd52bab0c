#pragma once

#include "BarcodeImage.h"
#include "LabelText.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

namespace barlink::labeltool {

// Where the labels sit on a page, in millimetres: a sheet of adhesive labels or, with one
// label the size of the page, a roll.
struct SheetLayout
{
    QString name;
    QSizeF page;
    QSizeF label;
    int columns = 1;
    int rows = 1;
    QPointF origin;        // the top left corner of the first label
    QSizeF pitch;          // from one label to the next, across and down
    double pageMargin = 0; // what the printer cannot print at the edges of the page

    [[nodiscard]] bool roll() const { return columns * rows == 1 && pageMargin == 0; }
    [[nodiscard]] int perPage() const { return columns * rows; }
    // The part of the index-th label of a page that the content may use: the label less a
    // padding, less what lies in the page margin.
    [[nodiscard]] QRectF contentRect(int index) const;
    // What every label of the page offers: the content is planned once for this size.
    [[nodiscard]] QSizeF contentSize() const;
};

// The sheets barlink-label knows: a4-3x8 (70 x 37 mm), a4-2x7 (99.1 x 38.1 mm) and
// letter-3x10 (66.7 x 25.4 mm).
[[nodiscard]] const QList<SheetLayout> &sheetLayouts();
[[nodiscard]] std::optional<SheetLayout> sheetLayout(const QString &name);
// A roll of labels of the given size, "100x50mm" (decimals with "."; 20 to 300 mm each way).
[[nodiscard]] std::optional<SheetLayout> rollLayout(const QString &size);

// Smallest module sizes the station's scanners read, and the largest worth printing.
inline constexpr double MinCode128Module = 0.25;
inline constexpr double MinDataMatrixModule = 0.33;

struct PlacedSymbol
{
    QByteArray bytes;
    Symbology symbology = Symbology::Code128;
    SymbolShape shape;
    QRectF rect;       // in millimetres from the content's top left corner
    double module = 0; // millimetres
};

struct TextLine
{
    QRectF rect;
    double size = 0; // the height of the letters in millimetres
    bool bold = false;
};

// One label's content: its symbols and the places of its four text lines (the piece name,
// large; dimensions and material; work field and program; order and "3 of 12").
struct LabelArrangement
{
    QList<PlacedSymbol> symbols;
    QList<TextLine> lines;
    QString error;

    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

// Places the symbols and the text in a content area of the given size: Code 128 symbols
// stacked under the text when every one is short and plain enough to fit across with modules
// of 0.25 mm or more; otherwise Data Matrix symbols side by side at the right, modules of
// 0.33 mm or more, with the text at their left. An error when neither fits. With a dot size
// (mm) the modules are whole dots of the printer.
[[nodiscard]] LabelArrangement
arrangeLabel(const QSizeF &content, const QList<LabelText> &symbols, double dot = 0);

} // namespace barlink::labeltool
