#pragma once

#include <QtGlobal>

namespace barlink::text {

// Conversions of a number to a whole number round to the nearest, ties to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Each throws barlink::base::Error 6 "Overflow" when the rounded
// value is outside the target range or the value is not a number.

// The value rounded half to even as a 16-bit signed whole number.
[[nodiscard]] qint16 roundHalfEven16(double value);

// The value rounded half to even as a 32-bit signed whole number.
[[nodiscard]] qint32 roundHalfEven32(double value);

// The value as a single-precision float; base::Error 6 "Overflow" beyond the float range or for
// NaN.
[[nodiscard]] float toSingle(double value);

} // namespace barlink::text
