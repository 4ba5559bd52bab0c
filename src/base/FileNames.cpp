#include "base/FileNames.h"

#include "base/Reasons.h"
#include "base/RowValues.h"

namespace barlink::base {

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// "..", and what Windows trims to it: a component of dots and blanks with two dots or more.
bool isParentComponent(QStringView component)
{
    qsizetype dots = 0;
    for (const QChar c : component) {
        if (c == QLatin1Char('.'))
            ++dots;
        else if (c != QLatin1Char(' '))
            return false;
    }
    return dots >= 2;
}

} // namespace

bool isSafeRelativeName(QStringView name)
{
    if (name.isEmpty())
        return true;
    if (isSeparator(name.front()))
        return false;
    const QChar first = name.front();
    const bool driveLetter = (first >= QLatin1Char('A') && first <= QLatin1Char('Z'))
                             || (first >= QLatin1Char('a') && first <= QLatin1Char('z'));
    if (driveLetter && name.size() >= 2 && name[1] == QLatin1Char(':'))
        return false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i == name.size() || isSeparator(name[i])) {
            if (isParentComponent(name.sliced(start, i - start)))
                return false;
            start = i + 1;
        }
    }
    return true;
}

Reason unsafeNameMessage(const QString &name)
{
    return Reason(Reason::Code::UnsafeName, name);
}

Reason programNameRefusal(const QString &name)
{
    QStringView trimmed = name;
    while (trimmed.startsWith(QLatin1Char(' ')))
        trimmed = trimmed.sliced(1);
    while (trimmed.endsWith(QLatin1Char(' ')))
        trimmed.chop(1);
    if (!isSafeRelativeName(trimmed))
        return unsafeNameMessage(name);
    return rowValueRefusal(Reason(Reason::Code::NameValue), name);
}

} // namespace barlink::base
