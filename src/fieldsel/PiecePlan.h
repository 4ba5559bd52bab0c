#pragma once

#include "FieldSlot.h"

#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

namespace barlink::fieldsel {

class AutoSelSettings;

// Where a slot's field lies on the machine table, in fractions of the table's length (x, from
// the left) and depth (y, from the back): the standard fields on the whole table or a half,
// the front and back fields on a half or a quarter. A normal field and its mirror partner
// share one place.
[[nodiscard]] QRectF slotArea(FieldSlot slot);

// One row of an item on the plan of the machine table.
struct PlacedPiece
{
    QString code; // the work field the row went to
    QRectF field; // in fractions of the table; empty when no slot has the code
    QRectF piece; // to scale inside the field; empty when the table's size is not known
    bool mirror = false;

    friend bool operator==(const PlacedPiece &, const PlacedPiece &) = default;
};

// Places the rows of one item, sent to the work fields `codes`, with dimensions x and y in
// millimetres. The field is the slot with the code (an enabled one first); the table is twice
// the half limits long and deep. A piece keeps its true shape, overhanging its field when it
// is larger (never the table), and lies against the table's edge its field touches: a normal
// piece at the field's left end, a mirror piece at its right end.
[[nodiscard]] std::vector<PlacedPiece>
placePieces(const AutoSelSettings &settings, const QStringList &codes, double x, double y);

// A work field as the plan shows it: where it lies, and its codes ("S / A" for a normal field
// and its mirror partner, which share the place).
struct PlanField
{
    QRectF area; // in fractions of the table
    QString name;

    friend bool operator==(const PlanField &, const PlanField &) = default;
};

// What the plan of the machine table shows for one item.
struct TablePlan
{
    QSizeF table;                  // in millimetres; empty when the half limits are not set
    std::vector<PlanField> fields; // every field with a code and enabled, once per place
    std::vector<PlacedPiece> pieces;
    bool sizeKnown = false; // the item's dimensions are known (its program was read)

    friend bool operator==(const TablePlan &, const TablePlan &) = default;
};

// The plan of an item sent to codes with dimensions x and y (0 or less: not known).
[[nodiscard]] TablePlan
tablePlan(const AutoSelSettings &settings, const QStringList &codes, double x, double y);

} // namespace barlink::fieldsel
