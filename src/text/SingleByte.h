#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace barlink::text {

// Text leaves the program (serial port, program files, settings file) as single-byte characters
// of the system code page: Latin-1 here, the ANSI code page on Windows. A character the code page
// cannot hold becomes "?".
[[nodiscard]] QByteArray toSingleByte(QStringView text);

// Single-byte characters of the system code page read in as text, one character per byte.
[[nodiscard]] QString fromSingleByte(QByteArrayView bytes);

} // namespace barlink::text
