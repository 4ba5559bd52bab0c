#pragma once

#include <QString>

namespace barlink::base {
struct CurrentItem;
} // namespace barlink::base

namespace barlink::label {

// The row text the list manager accepts for the current item:
// "#161=PROG.CNC;#162=...;" with 18 fields in a fixed order, every field present.
// Zero dimensions are blanked in the item itself first, so the row carries an
// empty value for them. A ";" or control character in a value goes as a space: no value
// adds or ends a field.
[[nodiscard]] QString buildListRow(base::CurrentItem &item);

// What a field of the row carries, by its number ("program", "X", "not used"), in the
// operator's language; the number alone for a field the row does not have.
[[nodiscard]] QString rowFieldName(int number);

} // namespace barlink::label
