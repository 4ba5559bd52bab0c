#include "text/NumberFormat.h"

#include "base/Error.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace barlink::text {

namespace {

constexpr int kSignificantDigits = 7;

QString formatSingle(float value, bool zeroBeforePoint)
{
    if (!std::isfinite(value))
        throw base::Error(base::Error::Overflow, base::Reason(base::Reason::Code::Overflow));
    if (value == 0.0f)
        return QStringLiteral("0");

    // "d.dddddde+XX": seven correctly rounded significant digits of the exact binary value.
    char buffer[32];
    const auto result = std::to_chars(buffer,
                                      buffer + sizeof buffer,
                                      static_cast<double>(value),
                                      std::chars_format::scientific,
                                      kSignificantDigits - 1);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));

    const bool negative = scientific.front() == '-';
    const std::size_t mantissaStart = negative ? 1 : 0;
    const std::size_t exponentMark = scientific.find('e');
    std::string digits;
    for (std::size_t i = mantissaStart; i < exponentMark; ++i) {
        if (scientific[i] != '.')
            digits.push_back(scientific[i]);
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    std::from_chars(scientific.data() + exponentMark + 1 + (scientific[exponentMark + 1] == '+'),
                    scientific.data() + scientific.size(),
                    exponent);

    // The value is 0.d1d2...dn times ten to the power pointPosition.
    const int digitCount = static_cast<int>(digits.size());
    const int pointPosition = exponent + 1;
    const bool plain = pointPosition > 0 ? pointPosition <= kSignificantDigits
                                         : digitCount - pointPosition <= kSignificantDigits;

    std::string text = negative ? "-" : "";
    if (plain) {
        if (pointPosition >= digitCount) {
            text += digits;
            text.append(static_cast<std::size_t>(pointPosition - digitCount), '0');
        } else if (pointPosition > 0) {
            text += digits.substr(0, static_cast<std::size_t>(pointPosition));
            text += '.';
            text += digits.substr(static_cast<std::size_t>(pointPosition));
        } else {
            if (zeroBeforePoint)
                text += '0';
            text += '.';
            text.append(static_cast<std::size_t>(-pointPosition), '0');
            text += digits;
        }
    } else {
        text += digits.front();
        if (digitCount > 1) {
            text += '.';
            text += digits.substr(1);
        }
        text += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10)
            text += '0';
        text += std::to_string(magnitude);
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString formatSingleCompact(float value)
{
    return formatSingle(value, false);
}

QString formatSingleShortest(float value)
{
    return formatSingle(value, true);
}

} // namespace barlink::text
