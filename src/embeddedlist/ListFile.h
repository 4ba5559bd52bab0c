#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace barlink::embeddedlist {

// Rows longer than this are cut: a station row is a few hundred characters.
inline constexpr qsizetype maxRowLength = 32767;
// List files larger than this are refused with error 7.
inline constexpr qint64 maxListFileBytes = 64 * 1024 * 1024;

// A row as the list keeps it: one line of single-byte text. Line breaks become
// blanks, characters outside Latin-1 become "?", overlong rows are cut.
[[nodiscard]] QString normalizeRow(const QString &row);

// The rows of a list file: one row per line, lines end with CR LF or LF, empty
// lines are skipped.
[[nodiscard]] QStringList parseListText(const QByteArray &bytes);

// The rows of the kept list file. Every row was written with its line end, so
// a last line without one is a row whose write was cut off: it is left out and
// reported as torn. Empty rows are rows.
struct StoredList
{
    QStringList rows;
    bool tornTail = false;
};
[[nodiscard]] StoredList parseStoredList(const QByteArray &bytes);

// One row as written to a list file: Latin-1 and CR LF.
[[nodiscard]] QByteArray encodeRow(const QString &row);
[[nodiscard]] QByteArray encodeRows(const QStringList &rows);

// Reads a list file. Throws barlink::base::Error 53 when it does not exist, 75 when it
// cannot be read, 7 when it is larger than maxListFileBytes.
[[nodiscard]] QStringList readListFile(const QString &path);

// Replaces `path` with the rows in one step (a reader sees the old or the new
// file, never a part). Throws barlink::base::Error 75 or 57 when that fails.
void writeListFile(const QString &path, const QStringList &rows);

} // namespace barlink::embeddedlist
