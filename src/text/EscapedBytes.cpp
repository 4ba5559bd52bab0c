#include "text/EscapedBytes.h"

#include "text/SingleByte.h"

#include "base/Reasons.h"

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

// Why the text is unread, at the character at (counted from 0); what: the offending character,
// for the reasons that name one.
EscapedBytes unread(base::Reason::Code why, qsizetype at, QChar what = {})
{
    const QString where = QString::number(at + 1);
    return {{}, what.isNull() ? base::Reason(why, where) : base::Reason(why, QString(what), where)};
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
                return unread(base::Reason::Code::NoSingleByte, i, c);
            bytes += single;
            continue;
        }
        if (i + 1 == text.size())
            return unread(base::Reason::Code::LoneBackslash, i);
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
                return unread(base::Reason::Code::ShortHexEscape, i);
            bytes += char(high * 16 + low);
            i += 2;
        } else {
            return unread(base::Reason::Code::NoEscape, i, next);
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
