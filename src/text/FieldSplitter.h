#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace barlink::text {

// A text split at any of a set of separator characters into fields numbered from 1: each
// separator ends a field, adjacent separators give an empty field, and a text with n separators
// has n + 1 fields (an empty text has none). A field beyond the last reads as empty.
class FieldSplitter
{
public:
    FieldSplitter() = default;
    FieldSplitter(QStringView text, QStringView separators);

    // The number of fields.
    [[nodiscard]] qsizetype count() const noexcept;
    // Field number n (from 1); empty for any n outside 1..count().
    [[nodiscard]] QString field(qsizetype n) const;

private:
    QString m_text;
    QList<qsizetype> m_separatorIndexes; // index of each separator in m_text, in order
};

// Splits text at every character that occurs in separators.
[[nodiscard]] FieldSplitter splitFields(QStringView text, QStringView separators);

} // namespace barlink::text
