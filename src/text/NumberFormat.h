#pragma once

#include <QString>

namespace barlink::text {

// Both forms show a single-precision value rounded to at most seven significant digits, trailing
// zeros dropped, "." as separator, "-" before negatives and no blanks. They use plain digits
// whenever seven digit places hold the number (so 1234567 and .0000001 stay plain) and the
// exponent form "1.234568E+07" / "1.5E-07" otherwise. Non-finite values throw
// barlink::base::Error 6.

// The compact form, without a zero before the point: 0.5 -> ".5", -0.5 -> "-.5".
[[nodiscard]] QString formatSingleCompact(float value);

// The shortest form with a zero before the point: 800 -> "800", 18.5 -> "18.5", 0.5 -> "0.5".
[[nodiscard]] QString formatSingleShortest(float value);

} // namespace barlink::text
