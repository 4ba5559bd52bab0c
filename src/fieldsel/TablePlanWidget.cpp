#include "TablePlanWidget.h"

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

const QColor TableFill(0xdf, 0xe5, 0xea);
const QColor TableEdge(0x78, 0x90, 0x9c);
const QColor Rail(0xd0, 0xd8, 0xde);
const QColor FieldFill(0xff, 0xff, 0xff, 0xec);
const QColor FieldEdge(0x9e, 0xb1, 0xbb);
const QColor StopColour(0x45, 0x5a, 0x64);
const QColor Ink(0x54, 0x6e, 0x7a);
const QColor LitFill(0xff, 0xe0, 0x82);
const QColor LitEdge(0xf5, 0x7f, 0x17);
const QColor PieceFill(0x8d, 0x6e, 0x63);
const QColor MirrorFill(0x5c, 0x6b, 0xc0);

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
    painter.fillPath(head, Ink);
}

} // namespace

void TablePlanWidget::addField(const QRectF &area, QWidget *content)
{
    m_fields.append({area, content});
    updateGeometry();
    placeChildren();
    update();
}

void TablePlanWidget::setPieces(std::vector<PlacedPiece> pieces)
{
    m_pieces = std::move(pieces);
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

QRect TablePlanWidget::tableRect() const
{
    return tableArea().toAlignedRect();
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
    table.setWidth(std::max(table.width(), table.height() * MinAspect));
    const QMargins room = margins();
    return table.toSize() + QSize(room.left() + room.right(), room.top() + room.bottom());
}

QRectF TablePlanWidget::tableArea() const
{
    const QRectF room = QRectF(rect()).marginsRemoved(margins());
    qreal width = room.width();
    qreal height = room.height();
    if (height > 0 && width / height > MaxAspect)
        width = height * MaxAspect;
    else if (height > 0 && width / height < MinAspect)
        height = width / MinAspect;
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

    painter.setPen(QPen(TableEdge, 1.2));
    painter.setBrush(TableFill);
    painter.drawRoundedRect(table, 7, 7);

    // The rails of the table, faint, so the plan reads as a machine table.
    painter.setPen(QPen(Rail, 1));
    constexpr int rails = 7;
    for (int i = 1; i < rails; ++i) {
        const qreal x = table.left() + table.width() * i / rails;
        painter.drawLine(QPointF(x, table.top() + 4), QPointF(x, table.bottom() - 4));
    }

    painter.setPen(QPen(FieldEdge, 1));
    painter.setBrush(FieldFill);
    for (const Field &field : m_fields)
        painter.drawRoundedRect(fieldArea(table, field), 5, 5);

    paintPieces(painter, table);

    painter.setPen(Qt::NoPen);
    painter.setBrush(StopColour);
    for (const QPointF &stop : Stops) {
        const QPointF at(table.left() + stop.x() * table.width(),
                         table.top() + stop.y() * table.height());
        painter.drawEllipse(at, StopRadius, StopRadius);
    }

    // The operator stands at the front: the side names at the right-hand end of the edges,
    // clear of the dimension lines.
    painter.setFont(smallFont(font()));
    painter.setPen(Ink);
    const int textHeight = painter.fontMetrics().height();
    painter.drawText(QRectF(table.left(), table.top() - textHeight - 3, table.width(), textHeight),
                     Qt::AlignRight | Qt::AlignVCenter,
                     tr("Back"));
    painter.drawText(QRectF(table.left(), table.bottom() + 3, table.width(), textHeight),
                     Qt::AlignRight | Qt::AlignVCenter,
                     tr("Front"));

    if (m_xValue || m_yValue)
        paintDimensions(painter, table);
}

void TablePlanWidget::paintPieces(QPainter &painter, const QRectF &table) const
{
    const auto onTable = [&table](const QRectF &area) {
        return QRectF(table.left() + area.left() * table.width(),
                      table.top() + area.top() * table.height(),
                      area.width() * table.width(),
                      area.height() * table.height());
    };
    painter.setPen(QPen(LitEdge, 2));
    painter.setBrush(LitFill);
    for (const PlacedPiece &piece : m_pieces) {
        if (!piece.field.isEmpty())
            painter.drawRoundedRect(
                onTable(piece.field).adjusted(FieldInset, FieldInset, -FieldInset, -FieldInset),
                5,
                5);
    }
    painter.setFont(smallFont(font()));
    for (const PlacedPiece &piece : m_pieces) {
        if (piece.piece.isEmpty())
            continue;
        // The piece itself, to scale, inset from the field's edge as the lit field is.
        QRectF drawn = onTable(piece.piece);
        const QRectF field
            = onTable(piece.field)
                  .adjusted(FieldInset + 2, FieldInset + 2, -FieldInset - 2, -FieldInset - 2);
        drawn = drawn.intersected(field).isEmpty() ? drawn : drawn.intersected(field);
        const QColor fill = piece.mirror ? MirrorFill : PieceFill;
        painter.setPen(QPen(fill.darker(140), 1.5));
        painter.setBrush(fill);
        painter.drawRect(drawn);
        painter.setPen(Qt::white);
        painter.drawText(
            drawn, Qt::AlignCenter, piece.mirror ? piece.code + tr(" mirror") : piece.code);
    }
}

void TablePlanWidget::paintDimensions(QPainter &painter, const QRectF &table) const
{
    const QPointF middle = table.center();

    // The half lines, in the dash-dot of a centre line, a little past the table.
    QPen centreLine(Ink, 1, Qt::DashDotLine);
    painter.setPen(centreLine);
    painter.drawLine(QPointF(middle.x(), table.top() - 6), QPointF(middle.x(), table.bottom() + 6));
    painter.drawLine(QPointF(table.left() - 6, middle.y()), QPointF(table.right() + 6, middle.y()));

    painter.setPen(QPen(Ink, 1));
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
