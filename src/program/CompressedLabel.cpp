#include "program/CompressedLabel.h"

#include "base/Error.h"
#include "text/SingleByte.h"

#include <zlib.h>

namespace barlink::program {

QByteArray escapeBackslashes(QByteArrayView data)
{
    QByteArray escaped;
    escaped.reserve(data.size() + data.count('\\'));
    for (const char byte : data) {
        escaped += byte;
        if (byte == '\\')
            escaped += byte;
    }
    return escaped;
}

QByteArray unescapeBackslashes(QByteArrayView data)
{
    QByteArray plain;
    plain.reserve(data.size());
    qsizetype run = 0; // backslashes in a row so far
    for (const char byte : data) {
        if (byte != '\\') {
            run = 0;
            plain += byte;
            continue;
        }
        if (run % 2 == 0)
            plain += byte;
        ++run;
    }
    return plain;
}

qsizetype escapedLength(QByteArrayView escaped, qsizetype plainBytes)
{
    qsizetype kept = 0;
    qsizetype run = 0; // backslashes in a row so far
    qsizetype i = 0;
    for (; i < escaped.size(); ++i) {
        const bool backslash = escaped[i] == '\\';
        if (!backslash || run % 2 == 0) {
            if (kept == plainBytes)
                break;
            ++kept;
        }
        run = backslash ? run + 1 : 0;
    }
    return i;
}

ExpandRoute expandRouteFor(int expandedLength)
{
    return expandedLength > compressedlabel::BufferRouteLimit ? ExpandRoute::File
                                                              : ExpandRoute::Buffer;
}

QString makeCompressedLabel(QStringView text, int level)
{
    using namespace compressedlabel;
    const QByteArray bytes = text::toSingleByte(text);
    if (bytes.isEmpty() || bytes.size() > MaxExpandedLength)
        throw base::Error(base::Error::InvalidCall,
                          QStringLiteral("A compressed label carries 1 to %1 characters, not %2.")
                              .arg(MaxExpandedLength)
                              .arg(bytes.size()));
    if (text::fromSingleByte(bytes) != text)
        throw base::Error(base::Error::InvalidCall,
                          QStringLiteral("The text holds a character the scanner cannot send."));

    uLongf size = compressBound(uLong(bytes.size()));
    QByteArray compressed(qsizetype(size), Qt::Uninitialized);
    const int status = compress2(reinterpret_cast<Bytef *>(compressed.data()),
                                 &size,
                                 reinterpret_cast<const Bytef *>(bytes.constData()),
                                 uLong(bytes.size()),
                                 level);
    if (status != Z_OK)
        throw base::Error(base::Error::InvalidCall,
                          QStringLiteral("zlib could not compress the text (%1).")
                              .arg(QString::fromLatin1(zError(status))));
    compressed.truncate(qsizetype(size));
    if (expandRouteFor(int(bytes.size())) == ExpandRoute::Buffer && compressed.size() > BufferSize)
        throw base::Error(
            base::Error::InvalidCall,
            QStringLiteral("The compressed text (%1 bytes) does not fit the decoder's "
                           "%2-byte buffer.")
                .arg(compressed.size())
                .arg(BufferSize));

    return QChar(Marker) + FormatTag
           + QStringLiteral("%1").arg(bytes.size(), int(LengthWidth), 10, QLatin1Char('0'))
           + Reserved + text::fromSingleByte(escapeBackslashes(compressed));
}

} // namespace barlink::program
