#include "label/ListRow.h"

#include "base/CurrentItem.h"
#include "base/Error.h"
#include "base/RowValues.h"
#include "label/FieldCodes.h"
#include "text/NumericValue.h"

#include <QCoreApplication>

namespace barlink::label {

namespace {

void blankIfZero(QString &dimension)
{
    try {
        if (text::numericValue(dimension) == 0)
            dimension.clear();
    } catch (const base::Error &) {
        // A number too large to read is not zero: it is sent as it stands.
    }
}

// A value that would still hold ";" or a control character here would add or end fields of the
// row: each of them goes as a space. The label handlers refuse such values from labels and
// clean the comment, so that the journal says so; this keeps the row whole whatever comes.
void appendField(QString &row, int number, const QString &value)
{
    row += QLatin1Char('#') + QString::number(number) + QLatin1Char('=')
           + base::withoutRowBreaks(value) + QLatin1Char(';');
}

} // namespace

QString buildListRow(base::CurrentItem &item)
{
    blankIfZero(item.dimX);
    blankIfZero(item.dimY);
    blankIfZero(item.dimZ);

    const int position = FieldCodes::position(item.runField);
    const int fieldNumber = position == 0 ? FieldCodes::Count + 1 : position;
    const int parity = position != 0 && position % 2 == 0 ? 1 : 0;

    QString row;
    row.reserve(160 + item.programName.size() + item.itemComment.size());
    appendField(row, 161, item.programName);
    appendField(row, 162, item.itemComment);
    appendField(row, 164, item.itemRepeat);
    appendField(row, 165, item.itemCount);
    appendField(row, 281, QString());
    appendField(row, 171, QString::number(fieldNumber));
    appendField(row, 284, QString::number(parity));
    appendField(row, 285, QString());
    appendField(row, 280, QString());
    appendField(row, 168, item.dimX);
    appendField(row, 169, item.dimY);
    appendField(row, 170, item.dimZ);
    appendField(row, 282, item.rowValue282);
    appendField(row, 283, QString());
    appendField(row, 223, item.rowValue223);
    appendField(row, 277, QString());
    appendField(row, 278, QString());
    appendField(row, 279, QString());
    return row;
}

QString rowFieldName(int number)
{
    switch (number) {
    case 161:
        return QCoreApplication::translate("ListRow", "program");
    case 162:
        return QCoreApplication::translate("ListRow", "comment");
    case 164:
        return QCoreApplication::translate("ListRow", "repeat");
    case 165:
        return QCoreApplication::translate("ListRow", "count");
    case 171:
        return QCoreApplication::translate("ListRow", "work field number");
    case 284:
        return QCoreApplication::translate("ListRow", "mirror (1 for an even field number)");
    case 168:
        return QStringLiteral("X");
    case 169:
        return QStringLiteral("Y");
    case 170:
        return QStringLiteral("Z");
    case 282:
    case 223:
        return QCoreApplication::translate("ListRow", "reserved (a space)");
    case 281:
    case 285:
    case 280:
    case 283:
    case 277:
    case 278:
    case 279:
        return QCoreApplication::translate("ListRow", "not used");
    default:
        return QString::number(number);
    }
}

} // namespace barlink::label
