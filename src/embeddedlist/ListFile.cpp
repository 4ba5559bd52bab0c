#include "ListFile.h"

#include "base/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace barlink::embeddedlist {

namespace {

// A row from single-byte text: line breaks become blanks, overlong text is cut.
QString rowFromBytes(QByteArray bytes)
{
    bytes.truncate(maxRowLength);
    bytes.replace('\r', ' ').replace('\n', ' ');
    return QString::fromLatin1(bytes);
}

// Splits at LF and drops the CR before it; the text after the last LF is returned
// in `rest`.
QStringList splitLines(const QByteArray &bytes, QByteArray *rest)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype end = bytes.indexOf('\n'); end >= 0; end = bytes.indexOf('\n', start)) {
        qsizetype length = end - start;
        if (length > 0 && bytes[end - 1] == '\r')
            --length;
        lines.append(rowFromBytes(bytes.sliced(start, length)));
        start = end + 1;
    }
    *rest = bytes.mid(start);
    return lines;
}

} // namespace

QString normalizeRow(const QString &row)
{
    // Latin-1 encoding turns every character it cannot carry into "?".
    return rowFromBytes(QStringView(row).left(maxRowLength).toLatin1());
}

QStringList parseListText(const QByteArray &bytes)
{
    QByteArray rest;
    QStringList lines = splitLines(bytes, &rest);
    if (rest.endsWith('\r'))
        rest.chop(1);
    if (!rest.isEmpty())
        lines.append(rowFromBytes(rest));
    lines.removeAll(QString());
    return lines;
}

StoredList parseStoredList(const QByteArray &bytes)
{
    StoredList stored;
    QByteArray rest;
    stored.rows = splitLines(bytes, &rest);
    stored.tornTail = !rest.isEmpty();
    return stored;
}

QByteArray encodeRow(const QString &row)
{
    return row.toLatin1() + QByteArrayLiteral("\r\n");
}

QByteArray encodeRows(const QStringList &rows)
{
    QByteArray bytes;
    for (const QString &row : rows)
        bytes += encodeRow(row);
    return bytes;
}

QStringList readListFile(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw base::Error(base::Error::FileNotFound,
                          base::Reason(base::Reason::Code::FileNotFound));
    if (info.size() > maxListFileBytes)
        throw base::Error(base::Error::OutOfMemory, base::Reason(base::Reason::Code::OutOfMemory));
    QFile file(path);
    // Only a plain file is opened: a folder cannot be read, and opening a fifo would wait
    // for a writer that never comes.
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw base::Error(base::Error::PathFileAccessError,
                          base::Reason(base::Reason::Code::PathFileAccessError));
    // read(n) sets n bytes aside before reading: ask for no more than the file holds.
    return parseListText(file.read(std::min(file.size(), maxListFileBytes)));
}

void writeListFile(const QString &path, const QStringList &rows)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw base::Error(base::Error::PathFileAccessError,
                          base::Reason(base::Reason::Code::PathFileAccessError),
                          path);
    const QByteArray bytes = encodeRows(rows);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw base::Error(
            base::Error::DeviceIoError, base::Reason(base::Reason::Code::DeviceIoError), path);
}

} // namespace barlink::embeddedlist
