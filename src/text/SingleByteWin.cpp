#include "text/SingleByte.h"

// The system converter is the ANSI code page; it replaces what it cannot map by "?".

namespace barlink::text {

QByteArray toSingleByte(QStringView text)
{
    return text.toLocal8Bit();
}

QString fromSingleByte(QByteArrayView bytes)
{
    return QString::fromLocal8Bit(bytes);
}

} // namespace barlink::text
