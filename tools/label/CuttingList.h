#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace barlink::labeltool {

// The columns of a cutting list that barlink-label knows, whatever language the header is in.
enum class CuttingColumn {
    Name,
    Program,
    X,
    Y,
    Z,
    Field,
    Quantity,
    Material,
    Comment,
    Order,
    Count // not a column: how many there are
};

// One piece of a cutting list: its values by column (blank when the list has no such
// column), and the line of the file where its record begins.
struct CuttingRow
{
    int line = 0;
    QStringList values = QStringList(int(CuttingColumn::Count));

    [[nodiscard]] const QString &value(CuttingColumn column) const
    {
        return values.at(int(column));
    }
};

// A problem with one record that keeps it off the labels.
struct LineProblem
{
    int line = 0;
    QString reason;
};

// A cutting list as read from its file.
struct CuttingList
{
    QList<CuttingRow> rows;
    QList<LineProblem> problems; // records that could not be read
    QStringList unknownColumns;  // header names no column is known by, each once
    QString error;               // set when the file is no cutting list at all
    QChar separator;
    bool windows1252 = false; // the bytes were no UTF-8 and were read as Windows-1252

    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

// The text of a cutting list file: UTF-8 (a byte order mark is dropped) when the bytes are
// valid UTF-8, otherwise Windows-1252, the code page of the office programs that export
// lists on Windows. *windows1252 says which.
[[nodiscard]] QString cuttingListText(const QByteArray &bytes, bool *windows1252 = nullptr);

// The column a header name stands for (English, German or Italian; letter case, blanks and
// punctuation do not matter); Count when none.
[[nodiscard]] CuttingColumn cuttingColumn(const QString &header);

// Reads a cutting list: a header row, then one record per piece, fields separated by comma
// or semicolon (whichever the header uses more of) and quoted as RFC 4180 says (a quoted
// field may hold separators, line ends and doubled quotes). Records with nothing in them
// are skipped.
[[nodiscard]] CuttingList readCuttingList(const QByteArray &bytes);

} // namespace barlink::labeltool
