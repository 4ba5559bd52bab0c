#include "PdfSheets.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace barlink::labeltool {

namespace {

// Painter units per millimetre: fine enough that rounding never shows.
constexpr int Resolution = 1200;
constexpr double UnitsPerMm = Resolution / 25.4;

QRectF toUnits(const QRectF &mm)
{
    return {mm.x() * UnitsPerMm,
            mm.y() * UnitsPerMm,
            mm.width() * UnitsPerMm,
            mm.height() * UnitsPerMm};
}

void drawSymbol(QPainter &painter, const QPointF &at, const PlacedSymbol &symbol)
{
    const double xScale = symbol.module;
    const double yScale
        = symbol.symbology == Symbology::Code128 ? symbol.rect.height() : symbol.module;
    for (const QRectF &bar : symbol.shape.bars) {
        const QRectF mm(at.x() + symbol.rect.x() + bar.x() * xScale,
                        at.y() + symbol.rect.y() + bar.y() * yScale,
                        bar.width() * xScale,
                        bar.height() * yScale);
        painter.fillRect(toUnits(mm), Qt::black);
    }
}

void drawLabel(QPainter &painter, const QPointF &at, const PrintedPiece &piece, int copy)
{
    const QStringList texts = pieceLines(piece.plan, copy);
    for (qsizetype i = 0; i < piece.arrangement.lines.size() && i < texts.size(); ++i) {
        const TextLine &line = piece.arrangement.lines[i];
        QFont font(QStringLiteral("DejaVu Sans"));
        // The height of capitals is about 0.72 of the pixel size.
        font.setPixelSize(qMax(1, qRound(line.size / 0.72 * UnitsPerMm)));
        font.setBold(line.bold);
        painter.setFont(font);
        const QRectF rect = toUnits(line.rect.translated(at));
        const QString text = QFontMetricsF(font).elidedText(texts[i], Qt::ElideRight, rect.width());
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    for (const PlacedSymbol &symbol : piece.arrangement.symbols)
        drawSymbol(painter, at, symbol);
}

} // namespace

QString writePdf(const QString &path,
                 const SheetLayout &layout,
                 const QList<PrintedPiece> &pieces,
                 const LabelProgress &progress,
                 int *pages)
{
    QPdfWriter writer(path);
    writer.setCreator(QStringLiteral("barlink-label"));
    writer.setTitle(QStringLiteral("Labels"));
    writer.setResolution(Resolution);
    writer.setPageSize(
        QPageSize(layout.page, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&writer))
        return QStringLiteral("cannot write %1").arg(path);
    painter.setPen(Qt::black);

    qsizetype total = 0;
    for (const PrintedPiece &piece : pieces)
        total += piece.plan.quantity;
    qsizetype written = 0;
    int onPage = 0;
    *pages = 1;
    for (const PrintedPiece &piece : pieces) {
        for (int copy = 1; copy <= piece.plan.quantity; ++copy) {
            if (onPage == layout.perPage()) {
                if (!writer.newPage())
                    return QStringLiteral("cannot write %1").arg(path);
                onPage = 0;
                ++*pages;
            }
            drawLabel(painter, layout.contentRect(onPage).topLeft(), piece, copy);
            ++onPage;
            ++written;
            if (progress)
                progress(written, total);
        }
    }
    if (!painter.end())
        return QStringLiteral("cannot write %1").arg(path);
    return {};
}

} // namespace barlink::labeltool
