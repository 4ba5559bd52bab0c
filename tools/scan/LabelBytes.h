#pragma once

#include "ScanOptions.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace barlink::scan {

// A label given as text, as the scanner sends it: one byte per character (Latin-1, so
// "ñ" is 0xF1); a character outside Latin-1 goes out as "?"; labelEnd after it.
[[nodiscard]] QByteArray labelBytes(const QString &label, const QByteArray &labelEnd);

// A line read from standard input: taken as UTF-8 text when it is valid UTF-8 (a terminal
// typing "ñ"), otherwise as the bytes themselves (a Latin-1 file piped in).
[[nodiscard]] QByteArray inputLineBytes(const QByteArray &line, const QByteArray &labelEnd);

// Bytes shown on one line: printable ASCII as is, CR, LF, tab and backslash as \r \n \t \\,
// every other byte as \xHH.
[[nodiscard]] QString printableBytes(const QByteArray &bytes);

// Cuts a byte stream into lines ended by CR, LF or both; empty lines are dropped.
// An unfinished line waits for the next feed, but is cut off at maxLineLength bytes.
class LineSplitter
{
public:
    static constexpr qsizetype maxLineLength = 4096;

    [[nodiscard]] QList<QByteArray> feed(const QByteArray &bytes);
    // What is left of an unfinished line, e.g. at end of input.
    [[nodiscard]] QByteArray takePending();

private:
    QByteArray m_pending;
};

} // namespace barlink::scan
