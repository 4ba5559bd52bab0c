#include "text/SingleByte.h"

namespace barlink::text {

QByteArray toSingleByte(QStringView text)
{
#ifdef Q_OS_WIN
    // The system converter is the ANSI code page there; it replaces what it cannot map by "?".
    return text.toLocal8Bit();
#else
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
#endif
}

QString fromSingleByte(QByteArrayView bytes)
{
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytes);
#else
    return QString::fromLatin1(bytes);
#endif
}

} // namespace barlink::text
