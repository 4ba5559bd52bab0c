#include "text/EscapedBytes.h"

#include "text/SingleByte.h"

namespace barlink::text {

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

EscapedBytes unread(const QString &what, qsizetype at)
{
    return {{}, QStringLiteral("%1 at character %2").arg(what).arg(at + 1)};
}

} // namespace

EscapedBytes unescapeBytes(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\')) {
            const QByteArray single = toSingleByte(text.sliced(i, 1));
            if (fromSingleByte(single) != text.sliced(i, 1))
                return unread(QStringLiteral("\"%1\" has no single-byte code").arg(c), i);
            bytes += single;
            continue;
        }
        if (i + 1 == text.size())
            return unread(QStringLiteral("a lone \\ at the end"), i);
        const QChar next = text[i + 1];
        if (next == QLatin1Char('r')) {
            bytes += '\r';
        } else if (next == QLatin1Char('n')) {
            bytes += '\n';
        } else if (next == QLatin1Char('\\')) {
            bytes += '\\';
        } else if (next == QLatin1Char('x')) {
            const int high = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
            const int low = i + 3 < text.size() ? hexValue(text[i + 3]) : -1;
            if (high < 0 || low < 0)
                return unread(QStringLiteral("\\x without two hexadecimal digits"), i);
            bytes += char(high * 16 + low);
            i += 2;
        } else {
            return unread(QStringLiteral("\\%1 is no escape (\\r, \\n, \\xHH, \\\\)").arg(next), i);
        }
        ++i;
    }
    return {bytes, {}};
}

QString escapeBytes(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (b == '\r')
            text += QLatin1String("\\r");
        else if (b == '\n')
            text += QLatin1String("\\n");
        else if (b == '\\')
            text += QLatin1String("\\\\");
        else if (u < 0x20 || u > 0x7E)
            text += QLatin1String("\\x")
                    + QString::number(u, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else
            text += QLatin1Char(b);
    }
    return text;
}

} // namespace barlink::text
