#include "RowFields.h"

#include <QCoreApplication>

#include <array>

namespace barlink::embeddedlist {

namespace {

constexpr qsizetype maxFieldDigits = 9; // keeps every field number inside int

struct FieldStart
{
    qsizetype hash = 0;  // position of "#"
    qsizetype value = 0; // first character of the value
    int number = 0;
};

// Reads "#digits=" at `pos`; false when the text there is not a field start.
bool readFieldStart(QStringView row, qsizetype pos, FieldStart &start)
{
    if (row[pos] != QLatin1Char('#'))
        return false;
    qsizetype end = pos + 1;
    int number = 0;
    for (; end < row.size(); ++end) {
        const char16_t c = row[end].unicode();
        if (c < u'0' || c > u'9')
            break;
        if (end - pos > maxFieldDigits)
            return false;
        number = number * 10 + (c - u'0');
    }
    if (end == pos + 1 || end >= row.size() || row[end] != QLatin1Char('='))
        return false;
    start = {pos, end + 1, number};
    return true;
}

// Calls `visit` with each field start of the row, in order.
template<typename Visit> void forEachFieldStart(QStringView row, Visit &&visit)
{
    for (qsizetype pos = row.indexOf(QLatin1Char('#')); pos >= 0;
         pos = row.indexOf(QLatin1Char('#'), pos + 1)) {
        FieldStart start;
        const bool atBoundary = pos == 0 || row[pos - 1] == QLatin1Char(';');
        if (atBoundary && readFieldStart(row, pos, start)) {
            visit(start);
            pos = start.value - 1;
        }
    }
}

} // namespace

const QList<int> &standardFieldNumbers()
{
    static const QList<int> numbers{
        161, 162, 164, 165, 281, 171, 284, 285, 280, 168, 169, 170, 282, 283, 223, 277, 278, 279};
    return numbers;
}

QString fieldCaption(int number)
{
    const char *name = nullptr;
    switch (number) {
    case 161:
        name = QT_TRANSLATE_NOOP("ListColumns", "Program");
        break;
    case 162:
        name = QT_TRANSLATE_NOOP("ListColumns", "Comment");
        break;
    case 164:
        name = QT_TRANSLATE_NOOP("ListColumns", "Repeat");
        break;
    case 165:
        name = QT_TRANSLATE_NOOP("ListColumns", "Count");
        break;
    case 171:
        name = QT_TRANSLATE_NOOP("ListColumns", "Field");
        break;
    case 284:
        name = QT_TRANSLATE_NOOP("ListColumns", "Mirror");
        break; // 1 for the mirror fields M, A and R
    case 168:
        name = "X";
        break;
    case 169:
        name = "Y";
        break;
    case 170:
        name = "Z";
        break;
    default:
        return QString::number(number);
    }
    return QString::number(number) + QLatin1Char(' ')
           + QCoreApplication::translate("ListColumns", name);
}

bool isStandardFieldNumber(int number)
{
    static const auto table = [] {
        std::array<bool, 512> standard{};
        for (int n : standardFieldNumbers())
            standard[std::size_t(n)] = true;
        return standard;
    }();
    return number >= 0 && std::size_t(number) < table.size() && table[std::size_t(number)];
}

QList<RowField> parseRowFields(QStringView row)
{
    QList<FieldStart> starts;
    forEachFieldStart(row, [&](const FieldStart &start) { starts.append(start); });
    QList<RowField> fields;
    fields.reserve(starts.size());
    for (qsizetype i = 0; i < starts.size(); ++i) {
        qsizetype end = i + 1 < starts.size() ? starts[i + 1].hash - 1 : row.size();
        if (i + 1 == starts.size() && end > starts[i].value && row[end - 1] == QLatin1Char(';'))
            --end;
        end = std::max(end, starts[i].value);
        fields.append(
            {starts[i].number, row.sliced(starts[i].value, end - starts[i].value).toString()});
    }
    return fields;
}

QList<int> extraFieldNumbers(QStringView row)
{
    QList<int> numbers;
    forEachFieldStart(row, [&](const FieldStart &start) {
        if (!isStandardFieldNumber(start.number) && !numbers.contains(start.number))
            numbers.append(start.number);
    });
    return numbers;
}

QString fieldValue(const QList<RowField> &fields, int number)
{
    for (const RowField &field : fields) {
        if (field.number == number)
            return field.value;
    }
    return {};
}

} // namespace barlink::embeddedlist
