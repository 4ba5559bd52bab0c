#include "base/FileNames.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

namespace barlink::base {

namespace {

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

} // namespace

QString resolveFileName(const QString &folder, const QString &relativeName)
{
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
}

} // namespace barlink::base
