#pragma once

#include "PiecePlan.h"

#include <QList>
#include <QRectF>
#include <QWidget>

#include <vector>

namespace barlink::fieldsel {

// A plan of the machine table seen from above, its front towards the operator: the table
// with its stops, the work fields drawn where they lie with their controls inside them, and
// on request the half lines with their dimension lines. It only draws and places controls.
// Given a TablePlan, it draws the table in its true proportions, every field outlined and
// named, the fields of the item lit and its pieces to scale, or "size unknown".
class TablePlanWidget : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // A field covering area of the table, given in fractions of the table's length (x, from
    // the left) and depth (y, from the back). content, a child of this widget, is kept in
    // the middle of the field at its preferred size.
    void addField(const QRectF &area, QWidget *content = nullptr);
    // Draws the lines halving the table and the dimension lines of the left half (along the
    // front) and of the front half (along the left side), with xValue and yValue, children
    // of this widget, in the middle of them.
    void setHalfDimensions(QWidget *xValue, QWidget *yValue);

    // Draws plan's table, fields and pieces in place of the fields added before.
    void setPlan(TablePlan plan);
    [[nodiscard]] const std::vector<PlacedPiece> &pieces() const { return m_plan.pieces; }

    [[nodiscard]] int fieldCount() const { return int(m_fields.size()); }
    // Where a field is drawn, in this widget's coordinates.
    [[nodiscard]] QRect fieldRect(int index) const;
    // Where the table is drawn, in this widget's coordinates.
    [[nodiscard]] QRectF tableRect() const;
    // Where a piece of the plan is drawn, in this widget's coordinates; empty when it is not.
    [[nodiscard]] QRectF pieceRect(int index) const;
    // What names a drawn piece and where: its whole name inside it when that fits, else its
    // field's code alone (the caption names the piece), inside it or, smaller still, beside it.
    struct PieceName
    {
        QString text;
        QRectF rect;
    };
    [[nodiscard]] PieceName pieceName(int index) const;

    [[nodiscard]] QSize minimumSizeHint() const override;
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Field
    {
        QRectF area;
        QWidget *content = nullptr;
        QString name;
    };

    // Room around the table for the side names and the dimension lines.
    [[nodiscard]] QMargins margins() const;
    [[nodiscard]] QSizeF minimumTableSize() const;
    [[nodiscard]] QRectF tableArea() const;
    [[nodiscard]] QRectF fieldArea(const QRectF &table, const Field &field) const;
    // Whether a piece shares its field with the other piece of a mirrored pair and the two,
    // drawn to scale, would lie one over the other.
    [[nodiscard]] bool sharesField(int index) const;
    // The part of the table lit for a piece, in fractions of the table: its field, or the
    // field's left half (the normal piece) or right half (the mirror) when it shares it.
    [[nodiscard]] QRectF litArea(int index) const;
    // Where a piece is drawn when its field is area (in fractions of the table).
    [[nodiscard]] QRectF placedRect(int index, const QRectF &area) const;
    void placeChildren();
    void paintDimensions(QPainter &painter, const QRectF &table) const;
    void paintPieces(QPainter &painter, const QRectF &table) const;
    void paintFieldNames(QPainter &painter, const QRectF &table) const;

    QList<Field> m_fields;
    QWidget *m_xValue = nullptr;
    QWidget *m_yValue = nullptr;
    TablePlan m_plan;
    bool m_planned = false; // setPlan() was called
};

} // namespace barlink::fieldsel
