#include "FieldCodes.h"

#include <array>

namespace barlink::label {

namespace {

constexpr std::array<const char *, 6> Letters = {"N", "M", "S", "A", "T", "R"};
constexpr std::array<const char *, 6> Suffixes = {"", "1", "/", "1/", "/0", "/1"};

} // namespace

QString FieldCodes::code(int position)
{
    if (position < 1 || position > Count)
        return {};
    const int index = position - 1;
    return QLatin1String(Letters[index % 6]) + QLatin1String(Suffixes[index / 6]);
}

int FieldCodes::position(QStringView text)
{
    for (int p = 1; p <= Count; ++p) {
        if (text == code(p))
            return p;
    }
    return 0;
}

} // namespace barlink::label
