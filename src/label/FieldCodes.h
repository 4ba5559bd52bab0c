#pragma once

#include <QString>
#include <QStringView>

namespace barlink::label {

// The 36 machine work field codes: letters N, M, S, A, T, R combined with the
// suffixes none, "1", "/", "1/", "/0", "/1", at positions 1 to 36.
class FieldCodes
{
public:
    static constexpr int Count = 36;

    // The code at a position from 1 to 36.
    [[nodiscard]] static QString code(int position);
    // The position (1 to 36) of a code, compared exactly; 0 when it is none.
    [[nodiscard]] static int position(QStringView text);
    [[nodiscard]] static bool isFieldCode(QStringView text) { return position(text) != 0; }
};

} // namespace barlink::label
