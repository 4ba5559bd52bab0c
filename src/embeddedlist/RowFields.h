#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace barlink::embeddedlist {

// One "#number=value;" field of a list row.
struct RowField
{
    int number = 0;
    QString value;

    friend bool operator==(const RowField &, const RowField &) = default;
};

// The field numbers of a station row, in the order the station writes them.
[[nodiscard]] const QList<int> &standardFieldNumbers();
[[nodiscard]] bool isStandardFieldNumber(int number);
// A column heading: the field number, followed by what the station puts in it for the
// fields it fills ("161 Program", "171 Field"), in the operator's language; other numbers
// stand alone.
[[nodiscard]] QString fieldCaption(int number);

// Splits a row such as "#161=PROG.CNC;#162=;#164=1;" into its fields.
// A field begins with "#", digits and "=" at the start of the row or right after
// a ";". Values are not escaped, so a value runs up to the ";" before the next
// field start (it may hold ";" and "#" itself); the ";" that ends the row is not
// part of the last value. Text before the first field start is ignored.
[[nodiscard]] QList<RowField> parseRowFields(QStringView row);

// The field numbers of a row outside the station's set, each once, in the order
// met; found as parseRowFields finds fields, without taking out the values.
[[nodiscard]] QList<int> extraFieldNumbers(QStringView row);

// The value of field `number` (the first one when it occurs twice), or an empty
// text when the row does not carry it.
[[nodiscard]] QString fieldValue(const QList<RowField> &fields, int number);

} // namespace barlink::embeddedlist
