#pragma once

#include <QHash>
#include <QList>
#include <QStringView>

namespace barlink::embeddedlist {

// The columns of a list: the station's field numbers in their order, then every
// other field number the rows carry, in the order they first appeared. Keeps a
// row count per extra number so that a column goes away with its last row.
class FieldColumns
{
public:
    FieldColumns();

    [[nodiscard]] const QList<int> &numbers() const { return m_numbers; }
    [[nodiscard]] qsizetype count() const { return m_numbers.size(); }

    void addRow(QStringView row);
    void removeRow(QStringView row);
    // Back to the standard columns alone.
    void reset();

private:
    QList<int> m_numbers;
    QHash<int, qsizetype> m_extraUse; // rows carrying each extra number
};

} // namespace barlink::embeddedlist
