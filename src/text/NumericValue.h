#pragma once

#include <QStringView>

namespace barlink::text {

// The number a text begins with: blanks (space, tab, LF, CR) anywhere are skipped, "." is the
// decimal separator, E or D starts an exponent, "&H"/"&O" start hexadecimal/octal whole numbers
// (16-bit when they fit four hex digits, else 32-bit); reading stops at the first character that
// cannot continue the number, and a text that does not begin with one is 0.
// Throws barlink::base::Error 6 "Overflow" past the double range or for hex/octal beyond 32 bits.
[[nodiscard]] double numericValue(QStringView text);

} // namespace barlink::text
