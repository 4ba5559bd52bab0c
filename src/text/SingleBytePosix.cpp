#include "text/SingleByte.h"

// Latin-1: each character up to U+00FF is the byte of its code.

namespace barlink::text {

QByteArray toSingleByte(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() <= 0xFF) {
            bytes.append(static_cast<char>(c.unicode()));
            continue;
        }
        // A character outside the BMP is two UTF-16 units but still one "?".
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        bytes.append('?');
    }
    return bytes;
}

QString fromSingleByte(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace barlink::text
