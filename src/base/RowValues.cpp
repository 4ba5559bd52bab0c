#include "base/RowValues.h"

#include "base/Reasons.h"

#include <algorithm>

namespace barlink::base {

namespace {

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

QString shownWithCodes(const QString &value)
{
    QString shown;
    shown.reserve(value.size());
    for (const QChar c : value) {
        if (isControl(c))
            shown += QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

} // namespace

bool breaksRow(QChar c)
{
    return c == QLatin1Char(';') || isControl(c);
}

bool holdsRowBreak(QStringView value)
{
    return std::any_of(value.begin(), value.end(), breaksRow);
}

bool holdsControl(QStringView value)
{
    return std::any_of(value.begin(), value.end(), isControl);
}

QString withoutRowBreaks(const QString &value)
{
    if (!holdsRowBreak(value))
        return value;
    QString cleaned = value;
    std::replace_if(cleaned.begin(), cleaned.end(), breaksRow, QLatin1Char(' '));
    return cleaned;
}

Reason rowValueRefusal(const Reason &what, const QString &value)
{
    if (value.contains(QLatin1Char(';')))
        return Reason(Reason::Code::ValueWithSemicolon, what, shownWithCodes(value));
    if (holdsControl(value))
        return Reason(Reason::Code::ValueWithControl, what, shownWithCodes(value));
    return {};
}

} // namespace barlink::base
