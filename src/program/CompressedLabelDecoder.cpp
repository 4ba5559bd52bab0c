#include "program/CompressedLabelDecoder.h"

#include "base/Error.h"
#include "base/OperatorDisplay.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"
#include "text/SingleByte.h"

#include <QLoggingCategory>

#include <zlib.h>

#include <algorithm>
#include <limits>

Q_LOGGING_CATEGORY(lcCompressed, "barlink.program.compressed", QtWarningMsg)

namespace barlink::program {

namespace {

using namespace compressedlabel;
using Result = CompressedLabelDecoder::Result;

Result failure(const QString &reason, ExpandRoute route = ExpandRoute::Buffer)
{
    Result result;
    result.error = reason;
    result.route = route;
    return result;
}

// The scanner's line end after a compressed label: up to two CR or LF characters.
qsizetype scannerLineEnd(QByteArrayView rest)
{
    qsizetype n = 0;
    while (n < 2 && n < rest.size() && (rest[n] == '\r' || rest[n] == '\n'))
        ++n;
    return n;
}

QString sizeMismatchText(qint64 expanded, int length, bool more)
{
    return QStringLiteral("it expands to %1%2 characters, but its length field says %3.")
        .arg(more ? QStringLiteral("more than ") : QString())
        .arg(expanded)
        .arg(length);
}

QString notExpandingText(const char *why)
{
    return QStringLiteral("its compressed data does not expand (%1).")
        .arg(QString::fromLatin1(why ? why : "zlib error"));
}

// The expanded length from positions 4 to 8: the number they begin with, rounded half to
// even. 0 with *error set when it is no length from 1 to MaxExpandedLength.
int expandedLength(QStringView label, QString *error)
{
    const QString field = label.mid(LengthPosition, LengthWidth).toString();
    double value = 0;
    try {
        value = text::numericValue(field);
    } catch (const base::Error &) {
        value = MaxExpandedLength + 1.0;
    }
    if (value >= MaxExpandedLength + 0.5) {
        *error = QStringLiteral("its length field \"%1\" says more than the %2 characters a "
                                "label can carry.")
                     .arg(field)
                     .arg(MaxExpandedLength);
        return 0;
    }
    const qint16 length = value > -32768.5 ? text::roundHalfEven16(value) : qint16(0);
    if (length < 1) {
        *error = QStringLiteral("its length field \"%1\" gives no length.").arg(field);
        return 0;
    }
    return length;
}

class InflateStream
{
public:
    InflateStream() { m_ready = inflateInit(&m_stream) == Z_OK; }
    ~InflateStream() { inflateEnd(&m_stream); }
    InflateStream(const InflateStream &) = delete;
    InflateStream &operator=(const InflateStream &) = delete;

    [[nodiscard]] bool isReady() const { return m_ready; }
    z_stream &stream() { return m_stream; }

private:
    z_stream m_stream{};
    bool m_ready = false;
};

// An expansion that worked: the text, and how many bytes of the data its stream took.
struct Expanded
{
    Result result;
    qsizetype consumed = 0;
};

// The in-memory route: the stream must end within the input buffer and expand within the
// output buffer.
Expanded expandInBuffer(const QByteArray &data, int length)
{
    QByteArray output(BufferSize, Qt::Uninitialized);
    uLongf produced = BufferSize;
    uLong consumed = uLong(std::min<qsizetype>(data.size(), BufferSize));
    const int status = uncompress2(reinterpret_cast<Bytef *>(output.data()),
                                   &produced,
                                   reinterpret_cast<const Bytef *>(data.constData()),
                                   &consumed);
    if (status != Z_OK && data.size() > BufferSize)
        return {failure(QStringLiteral("its compressed data (%1 bytes) is longer than the "
                                       "%2-byte input buffer.")
                            .arg(data.size())
                            .arg(BufferSize))};
    if (status == Z_BUF_ERROR)
        return {failure(sizeMismatchText(BufferSize, length, true))};
    if (status != Z_OK)
        return {failure(notExpandingText(zError(status)))};
    if (produced != uLongf(length))
        return {failure(sizeMismatchText(qint64(produced), length, false))};
    Expanded expanded;
    expanded.result.text = text::fromSingleByte(QByteArrayView(output).first(length));
    expanded.consumed = qsizetype(consumed);
    return expanded;
}

// The route for long texts: the stream is expanded as it is read, into no more than one
// character over the length field, which tells a text that is too long without expanding
// any further.
Expanded expandStreaming(const QByteArray &data, int length)
{
    const auto fail
        = [](const QString &reason) { return Expanded{failure(reason, ExpandRoute::File)}; };
    InflateStream inflater;
    if (!inflater.isReady())
        return fail(notExpandingText("zlib could not start"));
    z_stream &stream = inflater.stream();

    const qsizetype limit = qsizetype(length) + 1;
    QByteArray output(limit, Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(std::min<qsizetype>(data.size(), std::numeric_limits<uInt>::max()));
    stream.next_out = reinterpret_cast<Bytef *>(output.data());
    stream.avail_out = uInt(limit);
    int status = Z_OK;
    while (status == Z_OK)
        status = inflate(&stream, Z_NO_FLUSH);
    const qsizetype produced = limit - qsizetype(stream.avail_out);
    if (produced > length)
        return fail(sizeMismatchText(length, length, true));
    if (status != Z_STREAM_END && status != Z_BUF_ERROR)
        return fail(notExpandingText(stream.msg ? stream.msg : zError(status)));
    if (status != Z_STREAM_END)
        return fail(notExpandingText("the stream ends early"));
    if (produced != length)
        return fail(sizeMismatchText(produced, length, false));

    Expanded expanded;
    expanded.result.route = ExpandRoute::File;
    expanded.result.text = text::fromSingleByte(QByteArrayView(output).first(length));
    expanded.consumed = qsizetype(stream.total_in);
    return expanded;
}

} // namespace

CompressedLabelDecoder::Result CompressedLabelDecoder::decode(QStringView label) const
{
    QString error;
    const int length = expandedLength(label, &error);
    if (length == 0)
        return failure(error);
    const QByteArray escaped = text::toSingleByte(label.mid(DataPosition));
    const QByteArray data = unescapeBackslashes(escaped);
    if (data.isEmpty())
        return failure(QStringLiteral("it holds no compressed data."));

    qCDebug(lcCompressed) << "expanding" << data.size() << "bytes to" << length << "characters";
    Expanded expanded = expandRouteFor(length) == ExpandRoute::Buffer
                            ? expandInBuffer(data, length)
                            : expandStreaming(data, length);
    if (!expanded.result.ok())
        return expanded.result;
    const QByteArrayView after
        = QByteArrayView(escaped).sliced(escapedLength(escaped, expanded.consumed));
    expanded.result.rest = text::fromSingleByte(after.sliced(scannerLineEnd(after)));
    return expanded.result;
}

QString decodeCompressedLabel(const QString &label,
                              base::OperatorDisplay &display,
                              QString &rest,
                              QString *error)
{
    const CompressedLabelDecoder::Result result = CompressedLabelDecoder().decode(label);
    rest = result.rest;
    if (!result.ok()) {
        qCInfo(lcCompressed) << "compressed label not read:" << result.error;
        display.setStatus(QStringLiteral("Compressed label not read: ") + result.error);
        if (error)
            *error = result.error;
        return {};
    }
    return result.text;
}

} // namespace barlink::program
