#pragma once

#include "base/Reasons.h"

#include <QString>
#include <QStringView>

namespace barlink::base {

// A value goes into a list row ("#number=value;") as it stands: a ";" in it would end its
// field and let the rest of the value add fields of its own, and a control character (a line
// end above all) has no place in a row. No value from a label or a file may carry either; a
// "#" alone is harmless ("DOOR#1.CNC").
[[nodiscard]] bool breaksRow(QChar c);
[[nodiscard]] bool holdsRowBreak(QStringView value);
// Whether the value holds a control character (a line end, a tab, NUL, DEL, ...).
[[nodiscard]] bool holdsControl(QStringView value);

// The value with each ";" and control character replaced by a space.
[[nodiscard]] QString withoutRowBreaks(const QString &value);

// Why a value taken from a label cannot go into a row, in the operator's words; empty when it
// can. what: the value's name for the operator ("Name", "Dimension X"). The value is shown
// with each control character written as its code ("AB<U+000A>CD"):
// "Name refused: A;#168=9 holds ";", which would end a field of the list row."
[[nodiscard]] Reason rowValueRefusal(const Reason &what, const QString &value);

} // namespace barlink::base
