#include "text/NumericValue.h"

#include "base/Error.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

namespace barlink::text {

namespace {

// More digits than any double needs for correct rounding; further digits only count for the
// magnitude and, when not zero, as one sticky digit so that ties still round the right way.
constexpr std::size_t kMaxSignificantDigits = 800;
// Exponents beyond this are out of range for a double whatever the digits.
constexpr std::int64_t kExponentLimit = 100000;

[[noreturn]] void throwOverflow()
{
    throw base::Error(base::Error::Overflow, base::Reason(base::Reason::Code::Overflow));
}

// Walks a text one character at a time, stepping over blanks wherever they stand.
class BlankSkippingCursor
{
public:
    explicit BlankSkippingCursor(QStringView text)
        : m_text(text)
    {}

    // The next character that is not a blank, or U+0000 at the end of the text.
    [[nodiscard]] char16_t peek()
    {
        while (m_index < m_text.size()) {
            const char16_t c = m_text[m_index].unicode();
            if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
                return c;
            ++m_index;
        }
        return 0;
    }

    void advance() { ++m_index; }

private:
    QStringView m_text;
    qsizetype m_index = 0;
};

[[nodiscard]] bool isDecimalDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Value of c as a digit in the given radix (8 or 16), or -1.
[[nodiscard]] int radixDigit(char16_t c, int radix)
{
    int d = -1;
    if (c >= u'0' && c <= u'9')
        d = c - u'0';
    else if (c >= u'A' && c <= u'F')
        d = c - u'A' + 10;
    else if (c >= u'a' && c <= u'f')
        d = c - u'a' + 10;
    return d < radix ? d : -1;
}

// A hexadecimal or octal whole number: up to 0xFFFF it is read as a 16-bit value, up to
// 0xFFFFFFFF as a 32-bit value, so "&HFFFF" is -1 and "&H10000" is 65536.
[[nodiscard]] double radixValue(BlankSkippingCursor &cursor, int radix)
{
    std::uint64_t value = 0;
    for (int d = radixDigit(cursor.peek(), radix); d >= 0; d = radixDigit(cursor.peek(), radix)) {
        cursor.advance();
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFu)
            throwOverflow();
    }
    if (value <= 0xFFFFu)
        return static_cast<qint16>(static_cast<quint16>(value));
    return static_cast<qint32>(static_cast<quint32>(value));
}

[[nodiscard]] std::int64_t clampExponent(std::int64_t e)
{
    return std::clamp(e, -kExponentLimit, kExponentLimit);
}

[[nodiscard]] double decimalValue(BlankSkippingCursor &cursor)
{
    bool negative = false;
    char16_t c = cursor.peek();
    if (c == u'+' || c == u'-') {
        negative = c == u'-';
        cursor.advance();
    }

    // The value read is digits * 10^scale, leading zeros dropped.
    std::string digits;
    std::int64_t scale = 0;
    bool sawDigit = false;
    bool droppedNonZero = false;
    const auto takeDigit = [&](char16_t d, bool fraction) {
        sawDigit = true;
        if (digits.empty() && d == u'0') {
            if (fraction)
                scale = clampExponent(scale - 1);
            return;
        }
        if (digits.size() < kMaxSignificantDigits) {
            digits.push_back(static_cast<char>(d));
            if (fraction)
                scale = clampExponent(scale - 1);
        } else {
            if (!fraction)
                scale = clampExponent(scale + 1);
            droppedNonZero = droppedNonZero || d != u'0';
        }
    };

    for (c = cursor.peek(); isDecimalDigit(c); c = cursor.peek()) {
        cursor.advance();
        takeDigit(c, false);
    }
    if (c == u'.') {
        cursor.advance();
        for (c = cursor.peek(); isDecimalDigit(c); c = cursor.peek()) {
            cursor.advance();
            takeDigit(c, true);
        }
    }
    if (!sawDigit)
        return 0.0;

    std::int64_t exponent = 0;
    if (c == u'E' || c == u'e' || c == u'D' || c == u'd') {
        cursor.advance();
        bool negativeExponent = false;
        c = cursor.peek();
        if (c == u'+' || c == u'-') {
            negativeExponent = c == u'-';
            cursor.advance();
        }
        for (c = cursor.peek(); isDecimalDigit(c); c = cursor.peek()) {
            cursor.advance();
            exponent = std::min<std::int64_t>(exponent * 10 + (c - u'0'), kExponentLimit);
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    if (digits.empty())
        return 0.0;
    if (droppedNonZero) {
        digits.push_back('1');
        scale -= 1;
    }
    const std::int64_t totalExponent = clampExponent(scale + exponent);

    std::string number = digits;
    number += 'e';
    number += std::to_string(totalExponent);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    Q_UNUSED(end);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold reads as 0; too large is an overflow.
        if (static_cast<std::int64_t>(digits.size()) + totalExponent > 0)
            throwOverflow();
        return 0.0;
    }
    if (ec != std::errc())
        return 0.0;
    return negative ? -value : value;
}

} // namespace

double numericValue(QStringView text)
{
    BlankSkippingCursor cursor(text);
    double value = 0.0;
    if (cursor.peek() == u'&') {
        cursor.advance();
        const char16_t prefix = cursor.peek();
        if (prefix == u'H' || prefix == u'h') {
            cursor.advance();
            value = radixValue(cursor, 16);
        } else if (prefix == u'O' || prefix == u'o') {
            cursor.advance();
            value = radixValue(cursor, 8);
        }
    } else {
        value = decimalValue(cursor);
    }
    return value == 0.0 ? 0.0 : value; // never a negative zero
}

} // namespace barlink::text
