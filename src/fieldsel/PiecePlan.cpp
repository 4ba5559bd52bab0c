#include "PiecePlan.h"

#include "AutoSelSettings.h"
#include "text/NumericValue.h"

#include <algorithm>
#include <optional>

namespace barlink::fieldsel {

namespace {

[[nodiscard]] std::optional<FieldSlot> slotWithCode(const AutoSelSettings &settings,
                                                    const QString &code)
{
    std::optional<FieldSlot> disabled;
    for (FieldSlot slot : AllFieldSlots) {
        if (settings.code(slot).trimmed() != code.trimmed())
            continue;
        if (settings.isEnabled(slot))
            return slot;
        if (!disabled)
            disabled = slot;
    }
    return disabled;
}

[[nodiscard]] bool isMirrorSlot(FieldSlot slot)
{
    const char letter = slotKey(slot).back().toLatin1();
    return letter == 'A' || letter == 'R' || letter == 'M';
}

} // namespace

QRectF slotArea(FieldSlot slot)
{
    const QLatin1String key = slotKey(slot);
    const char row = key.front().toLatin1();
    const char letter = key.back().toLatin1();
    // The left (S, A) and right (T, R) fields halve the table's length; N and M take it all.
    qreal left = 0;
    qreal width = 1;
    if (letter == 'S' || letter == 'A') {
        width = 0.5;
    } else if (letter == 'T' || letter == 'R') {
        left = 0.5;
        width = 0.5;
    }
    // The back and front fields halve its depth; the standard fields take it all.
    const qreal top = row == 'F' ? 0.5 : 0;
    const qreal depth = row == 'S' ? 1 : 0.5;
    return {left, top, width, depth};
}

std::vector<PlacedPiece>
placePieces(const AutoSelSettings &settings, const QStringList &codes, double x, double y)
{
    const double length = 2 * text::numericValue(settings.halfLimitX());
    const double depth = 2 * text::numericValue(settings.halfLimitY());
    const bool toScale = length > 0 && depth > 0 && x > 0 && y > 0;
    std::vector<PlacedPiece> placed;
    for (const QString &code : codes) {
        PlacedPiece piece;
        piece.code = code;
        const std::optional<FieldSlot> slot = slotWithCode(settings, code);
        if (slot) {
            piece.field = slotArea(*slot);
            piece.mirror = isMirrorSlot(*slot);
        }
        if (slot && toScale) {
            const QRectF &field = piece.field;
            const QSizeF size(std::min(x / length, 1.0), std::min(y / depth, 1.0));
            const qreal left = piece.mirror ? std::max(0.0, field.right() - size.width())
                                            : std::min(field.left(), 1 - size.width());
            // Against the front edge when the field reaches it, otherwise against the back.
            const qreal top = field.bottom() >= 1 ? field.bottom() - size.height()
                                                  : std::min(field.top(), 1 - size.height());
            piece.piece = QRectF(QPointF(left, top), size);
        }
        placed.push_back(piece);
    }
    return placed;
}

TablePlan tablePlan(const AutoSelSettings &settings, const QStringList &codes, double x, double y)
{
    TablePlan plan;
    const double length = 2 * text::numericValue(settings.halfLimitX());
    const double depth = 2 * text::numericValue(settings.halfLimitY());
    if (length > 0 && depth > 0)
        plan.table = QSizeF(length, depth);
    plan.sizeKnown = x > 0 && y > 0;
    for (FieldSlot slot : AllFieldSlots) {
        const QString code = settings.code(slot).trimmed();
        if (code.isEmpty() || !settings.isEnabled(slot))
            continue;
        const QRectF area = slotArea(slot);
        const auto same
            = std::find_if(plan.fields.begin(), plan.fields.end(), [&area](const PlanField &field) {
                  return field.area == area;
              });
        if (same == plan.fields.end())
            plan.fields.push_back({area, code});
        else if (!same->name.split(QStringLiteral(" / ")).contains(code))
            same->name += QStringLiteral(" / ") + code;
    }
    plan.pieces = placePieces(settings, codes, x, y);
    return plan;
}

} // namespace barlink::fieldsel
