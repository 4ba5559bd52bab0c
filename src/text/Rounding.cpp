#include "text/Rounding.h"

#include "base/Error.h"

#include <cmath>
#include <limits>

namespace barlink::text {

namespace {

[[noreturn]] void throwOverflow()
{
    throw base::Error(base::Error::Overflow, base::Reason(base::Reason::Code::Overflow));
}

// Rounds half to even without depending on the floating-point environment's rounding mode.
[[nodiscard]] double roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5)
        return lower;
    if (fraction > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

template<typename Int> [[nodiscard]] Int roundInto(double value)
{
    if (!std::isfinite(value))
        throwOverflow();
    const double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min())
        || rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        throwOverflow();
    return static_cast<Int>(rounded);
}

} // namespace

qint16 roundHalfEven16(double value)
{
    return roundInto<qint16>(value);
}

qint32 roundHalfEven32(double value)
{
    return roundInto<qint32>(value);
}

float toSingle(double value)
{
    if (std::isnan(value))
        throwOverflow();
    const float single = static_cast<float>(value);
    if (std::isinf(single))
        throwOverflow();
    return single;
}

} // namespace barlink::text
