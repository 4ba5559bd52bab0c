#include "base/FileNames.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

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

#ifndef Q_OS_WIN
// The entry of folder named name in another letter case; the first in name order, or an
// empty text when there is none.
QString caseInsensitiveEntry(const QString &folder, const QString &name)
{
    QString best;
    QDirIterator it(folder.isEmpty() ? QStringLiteral(".") : folder,
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString candidate = it.fileName();
        if (candidate.compare(name, Qt::CaseInsensitive) == 0
            && (best.isEmpty() || candidate < best))
            best = candidate;
    }
    return best;
}
#endif

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

QString unsafeNameMessage(const QString &name)
{
    return QStringLiteral("Name refused: ") + name + QStringLiteral(" reaches outside its folder.");
}

QString resolveFileName(const QString &folder, const QString &relativeName)
{
#ifdef Q_OS_WIN
    return folder + relativeName;
#else
    QString relative = relativeName;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString built = folder + relative;

    // The folder up to its last separator is taken as configured; what follows it (the
    // rest of a folder setting without a final separator, then the name) is looked up.
    const qsizetype cut = folder.lastIndexOf(QLatin1Char('/')) + 1;
    QString path = folder.left(cut);
    const QStringList parts = (folder.mid(cut) + relative).split(QLatin1Char('/'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        if (i > 0)
            path += QLatin1Char('/');
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) {
            path += part;
            continue;
        }
        if (QFileInfo::exists(path + part)) {
            path += part;
            continue;
        }
        const QString match = caseInsensitiveEntry(path, part);
        if (match.isEmpty())
            return built;
        path += match;
    }
    return path;
#endif
}

} // namespace barlink::base
