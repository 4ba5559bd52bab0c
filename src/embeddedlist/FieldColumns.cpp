#include "FieldColumns.h"

#include "RowFields.h"

namespace barlink::embeddedlist {

FieldColumns::FieldColumns()
    : m_numbers(standardFieldNumbers())
{}

void FieldColumns::addRow(QStringView row)
{
    for (int number : extraFieldNumbers(row)) {
        if (m_extraUse[number]++ == 0)
            m_numbers.append(number);
    }
}

void FieldColumns::removeRow(QStringView row)
{
    for (int number : extraFieldNumbers(row)) {
        auto it = m_extraUse.find(number);
        if (it == m_extraUse.end())
            continue;
        if (--it.value() == 0) {
            m_extraUse.erase(it);
            m_numbers.removeOne(number);
        }
    }
}

void FieldColumns::reset()
{
    m_numbers = standardFieldNumbers();
    m_extraUse.clear();
}

} // namespace barlink::embeddedlist
