#include "LabelLayout.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace barlink::labeltool {

namespace {

constexpr double Padding = 2; // inside the edge of a label
constexpr double OfficePrinterMargin = 5;
constexpr double Gap = 1;
constexpr double MaxCode128Module = 0.5;
constexpr double MaxDataMatrixModule = 0.6;
constexpr double MinBarHeight = 5;
constexpr double MaxBarHeight = 15;
constexpr int LineCount = 4;
// From one text line to the next, in letter heights (letters are about 0.72 of a line).
constexpr double LineSpacing = 1.45;
// The share of the width that the text keeps beside Data Matrix symbols.
constexpr double TextShare = 0.35;

bool plainAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

QList<TextLine> textLines(double width, double lineHeight, double nameHeight)
{
    QList<TextLine> lines;
    double y = 0;
    for (int i = 0; i < LineCount; ++i) {
        const double size = i == 0 ? nameHeight : lineHeight;
        lines << TextLine{QRectF(0, y, width, size * LineSpacing), size, i == 0};
        y += size * LineSpacing;
    }
    return lines;
}

// A module size the printer can make: a whole number of its dots (any size when dot is 0).
double onDots(double module, double dot)
{
    return dot > 0 ? std::floor(module / dot + 1e-9) * dot : module;
}

LabelArrangement stacked(const QSizeF &content,
                         const QList<QByteArray> &payloads,
                         double dot,
                         double nameHeight,
                         double lineHeight,
                         double textHeight)
{
    LabelArrangement arrangement;
    double widest = 0;
    for (const QByteArray &bytes : payloads) {
        PlacedSymbol symbol{
            bytes, Symbology::Code128, symbolShape(bytes, Symbology::Code128), {}, 0};
        if (!symbol.shape.ok() || !plainAscii(bytes))
            return LabelArrangement{{}, {}, QStringLiteral("not for Code 128")};
        widest = std::max(widest, symbol.shape.width);
        arrangement.symbols << symbol;
    }
    const double module = onDots(std::min(MaxCode128Module, content.width() / widest), dot);
    const qsizetype n = payloads.size();
    const double barHeight = std::min(
        MaxBarHeight, (content.height() - textHeight - Gap - double(n - 1) * Gap) / double(n));
    if (module < MinCode128Module || barHeight < MinBarHeight)
        return LabelArrangement{{}, {}, QStringLiteral("too wide for Code 128")};
    double y = textHeight + Gap;
    for (PlacedSymbol &symbol : arrangement.symbols) {
        symbol.module = module;
        symbol.rect = QRectF(0, y, symbol.shape.width * module, barHeight);
        y += barHeight + Gap;
    }
    arrangement.lines = textLines(content.width(), lineHeight, nameHeight);
    return arrangement;
}

LabelArrangement sideBySide(const QSizeF &content,
                            const QList<QByteArray> &payloads,
                            double dot,
                            double nameHeight,
                            double lineHeight)
{
    LabelArrangement arrangement;
    double modulesAcross = 0;
    double modulesHigh = 0;
    for (const QByteArray &bytes : payloads) {
        PlacedSymbol symbol{
            bytes, Symbology::DataMatrix, symbolShape(bytes, Symbology::DataMatrix), {}, 0};
        if (!symbol.shape.ok())
            return LabelArrangement{{}, {}, symbol.shape.error};
        modulesAcross += symbol.shape.width;
        modulesHigh = std::max(modulesHigh, symbol.shape.height);
        arrangement.symbols << symbol;
    }
    const double gaps = double(payloads.size() - 1) * Gap;
    const double module
        = onDots(std::min({MaxDataMatrixModule,
                           content.height() / modulesHigh,
                           (content.width() * (1 - TextShare) - gaps) / modulesAcross}),
                 dot);
    if (module < MinDataMatrixModule)
        return LabelArrangement{{}, {}, QStringLiteral("the barcode does not fit the label")};
    double x = content.width();
    for (qsizetype i = arrangement.symbols.size() - 1; i >= 0; --i) {
        PlacedSymbol &symbol = arrangement.symbols[i];
        symbol.module = module;
        x -= symbol.shape.width * module;
        symbol.rect = QRectF(x, 0, symbol.shape.width * module, symbol.shape.height * module);
        x -= Gap;
    }
    arrangement.lines = textLines(x, lineHeight, nameHeight);
    return arrangement;
}

} // namespace

QRectF SheetLayout::contentRect(int index) const
{
    const int column = index % columns;
    const int row = index / columns;
    const QRectF labelRect(origin.x() + column * pitch.width(),
                           origin.y() + row * pitch.height(),
                           label.width(),
                           label.height());
    const QRectF printable
        = QRectF(QPointF(0, 0), page).adjusted(pageMargin, pageMargin, -pageMargin, -pageMargin);
    return labelRect.adjusted(Padding, Padding, -Padding, -Padding).intersected(printable);
}

QSizeF SheetLayout::contentSize() const
{
    QSizeF size = contentRect(0).size();
    for (int i = 1; i < perPage(); ++i)
        size = size.boundedTo(contentRect(i).size());
    return size;
}

const QList<SheetLayout> &sheetLayouts()
{
    static const QList<SheetLayout> layouts{
        {QStringLiteral("a4-3x8"),
         {210, 297},
         {70, 37},
         3,
         8,
         {0, 0.5},
         {70, 37},
         OfficePrinterMargin},
        {QStringLiteral("a4-2x7"),
         {210, 297},
         {99.1, 38.1},
         2,
         7,
         {4.65, 15.15},
         {101.6, 38.1},
         OfficePrinterMargin},
        {QStringLiteral("letter-3x10"),
         {215.9, 279.4},
         {66.675, 25.4},
         3,
         10,
         {4.7625, 12.7},
         {69.85, 25.4},
         OfficePrinterMargin},
    };
    return layouts;
}

std::optional<SheetLayout> sheetLayout(const QString &name)
{
    for (const SheetLayout &layout : sheetLayouts()) {
        if (layout.name.compare(name, Qt::CaseInsensitive) == 0)
            return layout;
    }
    return std::nullopt;
}

std::optional<SheetLayout> rollLayout(const QString &size)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(\d+(?:\.\d+)?)x(\d+(?:\.\d+)?)(mm)?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(size.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QSizeF label(match.captured(1).toDouble(), match.captured(2).toDouble());
    if (label.width() < 20 || label.height() < 20 || label.width() > 300 || label.height() > 300)
        return std::nullopt;
    return SheetLayout{QStringLiteral("roll"), label, label, 1, 1, {0, 0}, label, 0};
}

LabelArrangement arrangeLabel(const QSizeF &content, const QList<LabelText> &symbols, double dot)
{
    QList<QByteArray> payloads;
    for (const LabelText &symbol : symbols)
        payloads << symbol.bytes();
    const double nameHeight = std::clamp(content.height() * 0.16, 3.0, 8.0);
    const double lineHeight = std::clamp(content.height() * 0.085, 2.2, 4.0);
    const double textHeight = (nameHeight + (LineCount - 1) * lineHeight) * LineSpacing;
    LabelArrangement arrangement
        = stacked(content, payloads, dot, nameHeight, lineHeight, textHeight);
    if (!arrangement.ok())
        arrangement = sideBySide(content, payloads, dot, nameHeight, lineHeight);
    return arrangement;
}

} // namespace barlink::labeltool
