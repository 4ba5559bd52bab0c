#include "program/CompressedLabelDecoder.h"

#include "app/Error.h"
#include "app/OperatorDisplay.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"
#include "text/SingleByte.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>

#include <zlib.h>

#include <algorithm>

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

// What may follow the compressed stream: nothing, or the line end a scanner appends.
bool isScannerLineEnd(QByteArrayView rest)
{
    return rest.size() <= 2
           && std::all_of(rest.begin(), rest.end(), [](char c) { return c == '\r' || c == '\n'; });
}

QString trailingDataText()
{
    return QStringLiteral("data follows the end of its compressed stream.");
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
    } catch (const Error &) {
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

// Removes the temporary files however the expansion ends.
class TemporaryFiles
{
public:
    explicit TemporaryFiles(QStringList paths)
        : m_paths(std::move(paths))
    {}
    ~TemporaryFiles()
    {
        for (const QString &path : m_paths)
            QFile::remove(path);
    }
    TemporaryFiles(const TemporaryFiles &) = delete;
    TemporaryFiles &operator=(const TemporaryFiles &) = delete;

private:
    QStringList m_paths;
};

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

Result expandInBuffer(const QByteArray &data, int length)
{
    if (data.size() > BufferSize)
        return failure(QStringLiteral("its compressed data (%1 bytes) is longer than the "
                                      "%2-byte input buffer.")
                           .arg(data.size())
                           .arg(BufferSize));
    QByteArray output(BufferSize, Qt::Uninitialized);
    uLongf produced = BufferSize;
    uLong consumed = uLong(data.size());
    const int status = uncompress2(reinterpret_cast<Bytef *>(output.data()),
                                   &produced,
                                   reinterpret_cast<const Bytef *>(data.constData()),
                                   &consumed);
    if (status == Z_BUF_ERROR)
        return failure(sizeMismatchText(BufferSize, length, true));
    if (status != Z_OK)
        return failure(notExpandingText(zError(status)));
    if (!isScannerLineEnd(QByteArrayView(data).sliced(qsizetype(consumed))))
        return failure(trailingDataText());
    if (produced != uLongf(length))
        return failure(sizeMismatchText(qint64(produced), length, false));
    Result result;
    result.text = text::fromSingleByte(QByteArrayView(output).first(length));
    return result;
}

} // namespace

CompressedLabelDecoder::CompressedLabelDecoder(QString tempFolder)
    : m_tempFolder(std::move(tempFolder))
{}

QString CompressedLabelDecoder::compressedFilePath() const
{
    return QDir(m_tempFolder).filePath(CompressedFileName);
}

QString CompressedLabelDecoder::expandedFilePath() const
{
    return QDir(m_tempFolder).filePath(ExpandedFileName);
}

CompressedLabelDecoder::Result CompressedLabelDecoder::decode(QStringView label) const
{
    QString error;
    const int length = expandedLength(label, &error);
    if (length == 0)
        return failure(error);
    const QByteArray data = unescapeBackslashes(text::toSingleByte(label.mid(DataPosition)));
    if (data.isEmpty())
        return failure(QStringLiteral("it holds no compressed data."));

    qCDebug(lcCompressed) << "expanding" << data.size() << "bytes to" << length << "characters";
    if (expandRouteFor(length) == ExpandRoute::Buffer)
        return expandInBuffer(data, length);
    return expandThroughFiles(data, length);
}

CompressedLabelDecoder::Result CompressedLabelDecoder::expandThroughFiles(const QByteArray &data,
                                                                          int length) const
{
    const auto fail = [](const QString &reason) { return failure(reason, ExpandRoute::File); };
    const auto notWritten = [&fail](const QFile &file) {
        return fail(QStringLiteral("the temporary file %1 cannot be written (%2).")
                        .arg(file.fileName(), file.errorString()));
    };

    if (!QDir(m_tempFolder).exists()) {
        if (!QDir().mkpath(m_tempFolder))
            return fail(
                QStringLiteral("the temporary folder %1 cannot be created.").arg(m_tempFolder));
        // A folder of the station's own: other users have no business with its files.
        QFile::setPermissions(m_tempFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const TemporaryFiles removal({compressedFilePath(), expandedFilePath()});

    QFile compressedFile(compressedFilePath());
    if (!compressedFile.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || compressedFile.write(data) != data.size() || !compressedFile.flush())
        return notWritten(compressedFile);
    compressedFile.close();

    QFile expandedFile(expandedFilePath());
    if (!expandedFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return notWritten(expandedFile);
    if (!compressedFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("the temporary file %1 cannot be read (%2).")
                        .arg(compressedFile.fileName(), compressedFile.errorString()));

    InflateStream inflater;
    if (!inflater.isReady())
        return fail(notExpandingText("zlib could not start"));
    z_stream &stream = inflater.stream();

    // One character more than the length field allows tells a text that is too long,
    // without expanding any further.
    const qint64 limit = qint64(length) + 1;
    constexpr qint64 ChunkSize = 16384;
    QByteArray input(ChunkSize, Qt::Uninitialized);
    QByteArray output(ChunkSize, Qt::Uninitialized);
    qint64 produced = 0;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (stream.avail_in == 0) {
            const qint64 read = compressedFile.read(input.data(), input.size());
            if (read < 0)
                return fail(QStringLiteral("the temporary file %1 cannot be read (%2).")
                                .arg(compressedFile.fileName(), compressedFile.errorString()));
            if (read == 0)
                break;
            stream.next_in = reinterpret_cast<Bytef *>(input.data());
            stream.avail_in = uInt(read);
        }
        const qint64 room = std::min(ChunkSize, limit - produced);
        if (room == 0)
            break;
        stream.next_out = reinterpret_cast<Bytef *>(output.data());
        stream.avail_out = uInt(room);
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
            return fail(notExpandingText(stream.msg ? stream.msg : zError(status)));
        const qint64 made = room - qint64(stream.avail_out);
        if (expandedFile.write(output.constData(), made) != made)
            return notWritten(expandedFile);
        produced += made;
    }
    if (produced > length)
        return fail(sizeMismatchText(length, length, true));
    if (status != Z_STREAM_END)
        return fail(notExpandingText("the stream ends early"));
    if (!isScannerLineEnd(QByteArrayView(data).sliced(qsizetype(stream.total_in))))
        return fail(trailingDataText());
    if (!expandedFile.flush())
        return notWritten(expandedFile);
    expandedFile.close();
    compressedFile.close();

    QFile readBack(expandedFilePath());
    if (!readBack.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("the temporary file %1 cannot be read (%2).")
                        .arg(readBack.fileName(), readBack.errorString()));
    const QByteArray expanded = readBack.read(limit);
    if (expanded.size() != length)
        return fail(sizeMismatchText(expanded.size(), length, expanded.size() > length));

    Result result;
    result.route = ExpandRoute::File;
    result.text = text::fromSingleByte(expanded);
    return result;
}

QString decodeCompressedLabel(const QString &label,
                              const app::Settings &settings,
                              app::OperatorDisplay &display)
{
    const QString folder
        = settings.tempPath.isEmpty() ? app::settingsDefaults().tempPath : settings.tempPath;
    const CompressedLabelDecoder::Result result = CompressedLabelDecoder(folder).decode(label);
    if (!result.ok()) {
        qCInfo(lcCompressed) << "compressed label not read:" << result.error;
        display.setStatus(QStringLiteral("Compressed label not read: ") + result.error);
        return {};
    }
    return result.text;
}

} // namespace barlink::program
