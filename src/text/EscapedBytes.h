#pragma once

#include "base/Reasons.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace barlink::text {

// Bytes written as text: "\r", "\n", "\xHH" (exactly two hexadecimal digits) and "\\" stand for
// their byte, every other character for its single-byte code. Nothing is guessed: a backslash
// before anything else, a "\x" without two hexadecimal digits, or a character the single-byte
// code page cannot hold leaves the whole text unread, so that a typing error never turns into
// bytes nobody meant.
struct EscapedBytes
{
    QByteArray bytes;
    // Empty when the text was read; otherwise what is wrong and where ("\q at character 4 is
    // no escape").
    base::Reason error;

    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

[[nodiscard]] EscapedBytes unescapeBytes(QStringView text);

// The bytes written back that way: the four escapes for their bytes, "\xHH" for the other
// control bytes and for bytes above 126, every other byte as its character.
[[nodiscard]] QString escapeBytes(QByteArrayView bytes);

} // namespace barlink::text
