#include "TablePlanWidget.h"

#include "ui/Appearance.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <utility>

namespace barlink::fieldsel {

namespace {

// A machine table is longer than deep; the plan keeps its proportions within these.
constexpr qreal MinAspect = 1.45;
constexpr qreal MaxAspect = 2.3;
const QSizeF SmallestTable(180, 100);
const QSizeF PreferredTable(300, 170);

constexpr qreal FieldInset = 6;     // between a field and the table edge or its neighbour
constexpr qreal ContentPadding = 6; // between a field's edge and its controls
constexpr int SideGap = 10;         // stops stick out of the table edge by half their size
constexpr qreal StopRadius = 3.5;
constexpr int DimensionGap = 12; // from the table to a dimension line
constexpr int ValueGap = 5;      // from a dimension line to its value box

// The stops along the table's edges, in fractions of its length and depth: two on each
// side for the left and right fields, two on the back and two on the front edge.
constexpr std::array<QPointF, 8> Stops = {QPointF(0, 0.25),
                                          QPointF(0, 0.75),
                                          QPointF(1, 0.25),
                                          QPointF(1, 0.75),
                                          QPointF(0.12, 0),
                                          QPointF(0.88, 0),
                                          QPointF(0.12, 1),
                                          QPointF(0.88, 1)};

// The plan's colours; the lit field and the pieces also carry words (their codes, "size
// unknown"), so that nothing is told by colour alone.
struct PlanColours
{
    QColor tableFill;
    QColor tableEdge;
    QColor rail;
    QColor fieldFill;
    QColor fieldEdge;
    QColor stop;
    QColor ink;
    QColor litFill;
    QColor litEdge;
    QColor pieceFill;
    QColor mirrorFill;
    QColor pieceText;
};

const PlanColours &planColours()
{
    static const PlanColours usual{{0xdf, 0xe5, 0xea},
                                   {0x78, 0x90, 0x9c},
                                   {0xd0, 0xd8, 0xde},
                                   {0xff, 0xff, 0xff, 0xec},
                                   {0x9e, 0xb1, 0xbb},
                                   {0x45, 0x5a, 0x64},
                                   {0x37, 0x47, 0x4f},
                                   {0xff, 0xe0, 0x82},
                                   {0xf5, 0x7f, 0x17},
                                   {0x8d, 0x6e, 0x63},
                                   {0x5c, 0x6b, 0xc0},
                                   Qt::white};
    // White lines on black; the lit field edged in yellow; pieces light with black words.
    static const PlanColours contrast{Qt::black,
                                      Qt::white,
                                      {0x42, 0x42, 0x42},
                                      Qt::black,
                                      {0xbd, 0xbd, 0xbd},
                                      Qt::white,
                                      Qt::white,
                                      Qt::black,
                                      {0xff, 0xeb, 0x3b},
                                      {0xff, 0xeb, 0x3b},
                                      {0x80, 0xd8, 0xff},
                                      Qt::black};
    return ui::highContrast() ? contrast : usual;
}

// The size a placed control takes: its preferred size within its own limits.
[[nodiscard]] QSize placedSize(const QWidget *widget)
{
    return widget->sizeHint().expandedTo(widget->minimumSize()).boundedTo(widget->maximumSize());
}

[[nodiscard]] QFont smallFont(const QFont &font)
{
    QFont small = font;
    small.setPointSizeF(font.pointSizeF() * 0.9);
    return small;
}

[[nodiscard]] QFont pieceFont(const QFont &font)
{
    QFont bold = smallFont(font);
    bold.setBold(true);
    return bold;
}

// A filled arrow head with its tip at tip, pointing along (dx, dy).
void drawArrowHead(QPainter &painter, QPointF tip, qreal dx, qreal dy)
{
    constexpr qreal length = 7;
    constexpr qreal half = 3;
    const QPointF back = tip - QPointF(dx, dy) * length;
    const QPointF side(-dy * half, dx * half);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(back + side);
    head.lineTo(back - side);
    head.closeSubpath();
    painter.fillPath(head, planColours().ink);
}

} // namespace

void TablePlanWidget::addField(const QRectF &area, QWidget *content)
{
    m_fields.append({area, content, {}});
    updateGeometry();
    placeChildren();
    update();
}

void TablePlanWidget::setPlan(TablePlan plan)
{
    m_plan = std::move(plan);
    m_planned = true;
    m_fields.clear();
    for (const PlanField &field : m_plan.fields)
        m_fields.append({field.area, nullptr, field.name});
    updateGeometry();
    update();
}

void TablePlanWidget::setHalfDimensions(QWidget *xValue, QWidget *yValue)
{
    m_xValue = xValue;
    m_yValue = yValue;
    updateGeometry();
    placeChildren();
    update();
}

QRect TablePlanWidget::fieldRect(int index) const
{
    if (index < 0 || index >= m_fields.size())
        return {};
    return fieldArea(tableArea(), m_fields.at(index)).toAlignedRect();
}

QRectF TablePlanWidget::tableRect() const
{
    return tableArea();
}

bool TablePlanWidget::sharesField(int index) const
{
    const PlacedPiece &piece = m_plan.pieces.at(std::size_t(index));
    if (piece.field.isEmpty())
        return false;
    for (int other = 0; other < int(m_plan.pieces.size()); ++other) {
        const PlacedPiece &partner = m_plan.pieces.at(std::size_t(other));
        if (partner.mirror == piece.mirror || partner.field != piece.field)
            continue;
        // Without a size both would be named in the middle of the field.
        if (piece.piece.isEmpty() || partner.piece.isEmpty())
            return true;
        if (placedRect(index, piece.field).intersects(placedRect(other, partner.field)))
            return true;
    }
    return false;
}

QRectF TablePlanWidget::litArea(int index) const
{
    const PlacedPiece &piece = m_plan.pieces.at(std::size_t(index));
    if (!sharesField(index))
        return piece.field;
    QRectF half = piece.field;
    half.setWidth(half.width() / 2);
    if (piece.mirror)
        half.moveLeft(piece.field.center().x());
    return half;
}

QRectF TablePlanWidget::pieceRect(int index) const
{
    if (index < 0 || index >= int(m_plan.pieces.size()))
        return {};
    return placedRect(index, litArea(index));
}

QRectF TablePlanWidget::placedRect(int index, const QRectF &area) const
{
    const PlacedPiece &piece = m_plan.pieces.at(std::size_t(index));
    if (piece.piece.isEmpty())
        return {};
    const QRectF table = tableArea();
    const auto onTable = [&table](const QRectF &part) {
        return QRectF(table.left() + part.left() * table.width(),
                      table.top() + part.top() * table.height(),
                      part.width() * table.width(),
                      part.height() * table.height());
    };
    // Inset from the edges of its field as the lit field is, keeping its size: it may
    // overhang the field, never the table. In half a field (a mirrored pair side by side) a
    // piece longer than the half is drawn smaller, in its own shape.
    constexpr qreal inset = FieldInset + 2;
    const QRectF field = onTable(area).adjusted(inset, inset, -inset, -inset);
    QRectF drawn = onTable(piece.piece);
    if (area != piece.field)
        drawn.setSize(drawn.size() * std::min(1.0, field.width() / drawn.width()));
    drawn.moveLeft(piece.mirror ? std::max(table.left() + inset, field.right() - drawn.width())
                                : std::min(field.left(), table.right() - inset - drawn.width()));
    drawn.moveTop(piece.field.bottom() >= 1
                      ? std::max(table.top() + inset, field.bottom() - drawn.height())
                      : std::min(field.top(), table.bottom() - inset - drawn.height()));
    return drawn;
}

TablePlanWidget::PieceName TablePlanWidget::pieceName(int index) const
{
    const QRectF drawn = pieceRect(index);
    if (drawn.isEmpty())
        return {};
    const PlacedPiece &piece = m_plan.pieces.at(std::size_t(index));
    const QFontMetricsF metrics(pieceFont(font()));
    constexpr qreal padding = 2;
    const auto around = [&](const QString &text) {
        QRectF box(QPointF(), metrics.size(Qt::TextSingleLine, text));
        box.moveCenter(drawn.center());
        return box;
    };
    for (const QString &text :
         {piece.mirror ? tr("%1 mirror").arg(piece.code) : piece.code, piece.code}) {
        const QRectF box = around(text);
        if (drawn.adjusted(padding, 0, -padding, 0).contains(box))
            return {text, box};
    }
    // Above the piece, or below it when it lies against the back of the table.
    QRectF box = around(piece.code);
    const QRectF table = tableArea();
    if (drawn.top() - box.height() - padding >= table.top())
        box.moveBottom(drawn.top() - padding);
    else
        box.moveTop(drawn.bottom() + padding);
    return {piece.code, box};
}

QMargins TablePlanWidget::margins() const
{
    const int side = QFontMetrics(smallFont(font())).height() + 4;
    QMargins room(SideGap, side, SideGap, side);
    if (m_xValue)
        room.setBottom(std::max(side, DimensionGap + ValueGap + placedSize(m_xValue).height() + 2));
    if (m_yValue)
        room.setLeft(DimensionGap + ValueGap + placedSize(m_yValue).width() + 2);
    return room;
}

QSizeF TablePlanWidget::minimumTableSize() const
{
    QSizeF size = SmallestTable;
    constexpr qreal around = 2 * (FieldInset + ContentPadding);
    for (const Field &field : m_fields) {
        if (!field.content || field.area.isEmpty())
            continue;
        const QSize needed = placedSize(field.content);
        size = size.expandedTo(QSizeF((needed.width() + around) / field.area.width(),
                                      (needed.height() + around) / field.area.height()));
    }
    return size;
}

QSize TablePlanWidget::minimumSizeHint() const
{
    const QMargins room = margins();
    const QSize table = minimumTableSize().toSize();
    return table + QSize(room.left() + room.right(), room.top() + room.bottom());
}

QSize TablePlanWidget::sizeHint() const
{
    QSizeF table = minimumTableSize().expandedTo(PreferredTable);
    const qreal aspect
        = m_plan.table.isEmpty() ? MinAspect : m_plan.table.width() / m_plan.table.height();
    table.setWidth(std::max(table.width(), table.height() * aspect));
    const QMargins room = margins();
    return table.toSize() + QSize(room.left() + room.right(), room.top() + room.bottom());
}

QRectF TablePlanWidget::tableArea() const
{
    const QRectF room = QRectF(rect()).marginsRemoved(margins());
    qreal width = room.width();
    qreal height = room.height();
    // The table's own proportions when its size is known; else a machine table's usual ones.
    const bool known = !m_plan.table.isEmpty();
    const qreal most = known ? m_plan.table.width() / m_plan.table.height() : MaxAspect;
    const qreal least = known ? most : MinAspect;
    if (height > 0 && width / height > most)
        width = height * most;
    else if (height > 0 && width / height < least)
        height = width / least;
    QRectF table(0, 0, width, height);
    table.moveCenter(room.center());
    return table;
}

QRectF TablePlanWidget::fieldArea(const QRectF &table, const Field &field) const
{
    const QRectF area(table.left() + field.area.left() * table.width(),
                      table.top() + field.area.top() * table.height(),
                      field.area.width() * table.width(),
                      field.area.height() * table.height());
    return area.adjusted(FieldInset, FieldInset, -FieldInset, -FieldInset);
}

void TablePlanWidget::placeChildren()
{
    const QRectF table = tableArea();
    for (const Field &field : m_fields) {
        if (!field.content)
            continue;
        const QRectF area = fieldArea(table, field);
        QRectF place(QPointF(), QSizeF(placedSize(field.content)).boundedTo(area.size()));
        place.moveCenter(area.center());
        field.content->setGeometry(place.toAlignedRect());
    }
    if (m_xValue) {
        QRectF place(QPointF(), QSizeF(placedSize(m_xValue)));
        place.moveCenter(QPointF(table.left() + table.width() / 4, 0));
        place.moveTop(table.bottom() + DimensionGap + ValueGap);
        m_xValue->setGeometry(place.toAlignedRect());
    }
    if (m_yValue) {
        QRectF place(QPointF(), QSizeF(placedSize(m_yValue)));
        place.moveCenter(QPointF(0, table.top() + table.height() * 0.75));
        place.moveRight(table.left() - DimensionGap - ValueGap);
        m_yValue->setGeometry(place.toAlignedRect());
    }
}

void TablePlanWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeChildren();
}

void TablePlanWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF table = tableArea();
    const PlanColours &colours = planColours();

    painter.setPen(QPen(colours.tableEdge, 1.2));
    painter.setBrush(colours.tableFill);
    painter.drawRoundedRect(table, 7, 7);

    // The rails of the table, faint, so the plan reads as a machine table.
    painter.setPen(QPen(colours.rail, 1));
    constexpr int rails = 7;
    for (int i = 1; i < rails; ++i) {
        const qreal x = table.left() + table.width() * i / rails;
        painter.drawLine(QPointF(x, table.top() + 4), QPointF(x, table.bottom() - 4));
    }

    painter.setPen(QPen(colours.fieldEdge, 1));
    painter.setBrush(colours.fieldFill);
    for (const Field &field : m_fields)
        painter.drawRoundedRect(fieldArea(table, field), 5, 5);

    paintPieces(painter, table);

    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.stop);
    for (const QPointF &stop : Stops) {
        const QPointF at(table.left() + stop.x() * table.width(),
                         table.top() + stop.y() * table.height());
        painter.drawEllipse(at, StopRadius, StopRadius);
    }

    // The operator stands at the front: the side names at the right-hand end of the edges,
    // clear of the dimension lines.
    painter.setFont(smallFont(font()));
    painter.setPen(colours.ink);
    const int textHeight = painter.fontMetrics().height();
    painter.drawText(QRectF(table.left(), table.top() - textHeight - 3, table.width(), textHeight),
                     Qt::AlignRight | Qt::AlignVCenter,
                     tr("Back"));
    painter.drawText(QRectF(table.left(), table.bottom() + 3, table.width(), textHeight),
                     Qt::AlignRight | Qt::AlignVCenter,
                     tr("Front"));
    if (m_planned && m_plan.table.isEmpty())
        painter.drawText(
            QRectF(table.left(), table.top() - textHeight - 3, table.width(), textHeight),
            Qt::AlignLeft | Qt::AlignVCenter,
            tr("not to scale: the half limits are not set"));

    if (m_xValue || m_yValue)
        paintDimensions(painter, table);
}

void TablePlanWidget::paintPieces(QPainter &painter, const QRectF &table) const
{
    const PlanColours &colours = planColours();
    const auto onTable = [&table](const QRectF &area) {
        return QRectF(table.left() + area.left() * table.width(),
                      table.top() + area.top() * table.height(),
                      area.width() * table.width(),
                      area.height() * table.height());
    };
    painter.setPen(QPen(colours.litEdge, 3));
    painter.setBrush(colours.litFill);
    for (int i = 0; i < int(m_plan.pieces.size()); ++i) {
        if (!m_plan.pieces.at(std::size_t(i)).field.isEmpty())
            painter.drawRoundedRect(
                onTable(litArea(i)).adjusted(FieldInset, FieldInset, -FieldInset, -FieldInset),
                5,
                5);
    }
    paintFieldNames(painter, table);
    painter.setFont(pieceFont(font()));
    for (int i = 0; i < int(m_plan.pieces.size()); ++i) {
        const PlacedPiece &piece = m_plan.pieces.at(std::size_t(i));
        if (piece.field.isEmpty())
            continue;
        if (!m_plan.sizeKnown) {
            const QString name = piece.mirror ? tr("%1 mirror").arg(piece.code) : piece.code;
            painter.setPen(colours.ink);
            painter.drawText(onTable(litArea(i)),
                             Qt::AlignCenter | Qt::TextWordWrap,
                             tr("%1: size unknown").arg(name));
            continue;
        }
        const QRectF drawn = pieceRect(i);
        if (drawn.isEmpty())
            continue;
        const QColor fill = piece.mirror ? colours.mirrorFill : colours.pieceFill;
        painter.setPen(QPen(ui::highContrast() ? QColor(Qt::white) : fill.darker(140), 1.5));
        painter.setBrush(fill);
        painter.drawRect(drawn);
        const PieceName name = pieceName(i);
        painter.setPen(drawn.contains(name.rect) ? colours.pieceText : colours.ink);
        painter.drawText(name.rect, Qt::AlignCenter, name.text);
    }
}

void TablePlanWidget::paintFieldNames(QPainter &painter, const QRectF &table) const
{
    // A field's name in its middle; the whole table's in its back left corner, clear of the
    // names of the halves and quarters, which lie in its middle.
    painter.setFont(smallFont(font()));
    painter.setPen(planColours().ink);
    for (const Field &field : m_fields) {
        // A lit field is named by what is drawn in it.
        const bool lit
            = std::any_of(m_plan.pieces.begin(),
                          m_plan.pieces.end(),
                          [&field](const PlacedPiece &piece) { return piece.field == field.area; });
        if (field.name.isEmpty() || lit)
            continue;
        const QRectF area = fieldArea(table, field).adjusted(4, 2, -4, -2);
        const bool whole = field.area.width() >= 1 && field.area.height() >= 1;
        painter.drawText(area, whole ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignCenter, field.name);
    }
}

void TablePlanWidget::paintDimensions(QPainter &painter, const QRectF &table) const
{
    const QPointF middle = table.center();

    // The half lines, in the dash-dot of a centre line, a little past the table.
    const QColor ink = planColours().ink;
    QPen centreLine(ink, 1, Qt::DashDotLine);
    painter.setPen(centreLine);
    painter.drawLine(QPointF(middle.x(), table.top() - 6), QPointF(middle.x(), table.bottom() + 6));
    painter.drawLine(QPointF(table.left() - 6, middle.y()), QPointF(table.right() + 6, middle.y()));

    painter.setPen(QPen(ink, 1));
    const QFontMetrics metrics = painter.fontMetrics();
    const QString unit = tr("mm");
    if (m_xValue) {
        // The left half, along the front.
        const qreal y = table.bottom() + DimensionGap;
        painter.drawLine(QPointF(table.left(), table.bottom() + 3), QPointF(table.left(), y + 4));
        painter.drawLine(QPointF(middle.x(), table.bottom() + 3), QPointF(middle.x(), y + 4));
        painter.drawLine(QPointF(table.left(), y), QPointF(middle.x(), y));
        drawArrowHead(painter, QPointF(table.left(), y), -1, 0);
        drawArrowHead(painter, QPointF(middle.x(), y), 1, 0);
        const QRect box = m_xValue->geometry();
        painter.drawText(QPointF(box.right() + 5, box.center().y() + metrics.ascent() / 2.0 - 1),
                         unit);
    }
    if (m_yValue) {
        // The front half, along the left side.
        const qreal x = table.left() - DimensionGap;
        painter.drawLine(QPointF(table.left() - 3, table.bottom()), QPointF(x - 4, table.bottom()));
        painter.drawLine(QPointF(table.left() - 3, middle.y()), QPointF(x - 4, middle.y()));
        painter.drawLine(QPointF(x, middle.y()), QPointF(x, table.bottom()));
        drawArrowHead(painter, QPointF(x, middle.y()), 0, -1);
        drawArrowHead(painter, QPointF(x, table.bottom()), 0, 1);
        const QRect box = m_yValue->geometry();
        painter.drawText(QRectF(box.left(), box.bottom() + 2, box.width(), metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop,
                         unit);
    }
}

} // namespace barlink::fieldsel
