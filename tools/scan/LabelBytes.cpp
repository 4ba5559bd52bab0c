#include "LabelBytes.h"

#include <QStringDecoder>

#include <utility>

namespace barlink::scan {

QByteArray labelBytes(const QString &label, const QByteArray &labelEnd)
{
    return label.toLatin1() + labelEnd;
}

QByteArray inputLineBytes(const QByteArray &line, const QByteArray &labelEnd)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(line);
    if (utf8.hasError())
        return line + labelEnd;
    return labelBytes(text, labelEnd);
}

QString printableBytes(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        switch (code) {
        case '\r':
            text += QLatin1String("\\r");
            break;
        case '\n':
            text += QLatin1String("\\n");
            break;
        case '\t':
            text += QLatin1String("\\t");
            break;
        case '\\':
            text += QLatin1String("\\\\");
            break;
        default:
            if (code >= 0x20 && code < 0x7f)
                text += QLatin1Char(byte);
            else
                text += QLatin1String("\\x")
                        + QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        }
    }
    return text;
}

QList<QByteArray> LineSplitter::feed(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    for (const char byte : bytes) {
        if (byte == '\r' || byte == '\n') {
            if (!m_pending.isEmpty())
                lines.append(std::exchange(m_pending, {}));
            continue;
        }
        m_pending.append(byte);
        if (m_pending.size() >= maxLineLength)
            lines.append(std::exchange(m_pending, {}));
    }
    return lines;
}

QByteArray LineSplitter::takePending()
{
    return std::exchange(m_pending, {});
}

} // namespace barlink::scan
