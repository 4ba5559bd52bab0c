#include "ExportTarget.h"

#include "LocalFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <utility>
#include <vector>

namespace barlink::journal {

namespace {

// A chain of links longer than this is taken as a loop, as the system does.
constexpr int MostLinks = 40;

bool isStandardOutput(const QString &path)
{
    return path == QLatin1String("-");
}

} // namespace

QString resolvedPath(const QString &path)
{
    QString at = QFileInfo(path).absoluteFilePath();
    for (int link = 0; link < MostLinks; ++link) {
        const QFileInfo info(at);
        if (info.exists())
            return info.canonicalFilePath();
        if (!info.isSymLink())
            break;
        // A link to no file: writing through it makes the file it names.
        at = info.symLinkTarget();
    }
    const QFileInfo info(at);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return QDir::cleanPath((folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/')
                           + info.fileName());
}

QString keptFileAt(const QString &path, const KeptFiles &kept)
{
    std::vector<std::pair<QString, QString>> files; // path, what it is
    for (const QString &journal : kept.journals) {
        if (journal.isEmpty())
            continue;
        files.emplace_back(journal, QStringLiteral("the journal file %1"));
        files.emplace_back(journal + QLatin1String("-wal"),
                           QStringLiteral("the journal's write-ahead log %1"));
        files.emplace_back(journal + QLatin1String("-shm"),
                           QStringLiteral("the journal's shared-memory file %1"));
    }
    if (!kept.spill.isEmpty())
        files.emplace_back(kept.spill, QStringLiteral("the journal's spill file %1"));
    const QString target = resolvedPath(path);
    const auto place = placeOnDisk(path);
    for (const auto &[file, what] : files) {
        // The same name once resolved, or the same file under another name (a hard link).
        if (resolvedPath(file) == target
            || (place != decltype(place){} && placeOnDisk(file) == place))
            return what.arg(QDir::toNativeSeparators(file));
    }
    return {};
}

ExportTarget::ExportTarget(QString path, KeptFiles kept)
    : m_path(std::move(path))
    , m_kept(std::move(kept))
{}

ExportTarget::~ExportTarget() = default;

bool ExportTarget::open()
{
    if (isStandardOutput(m_path)) {
        m_direct = std::make_unique<QFile>();
        if (m_direct->open(fileno(stdout),
                           QIODevice::WriteOnly | QIODevice::Unbuffered,
                           QFileDevice::DontCloseHandle))
            return true;
        m_error = m_direct->errorString();
        return false;
    }
    if (const QString kept = keptFileAt(m_path, m_kept); !kept.isEmpty()) {
        m_error = QStringLiteral("it is %1, which an export never writes over").arg(kept);
        return false;
    }
    const QFileInfo info(m_path);
    // A device or a pipe stays what it is: a file renamed over it would replace it.
    if (info.exists() && !info.isFile()) {
        m_direct = std::make_unique<QFile>(m_path);
        if (m_direct->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return true;
        m_error = m_direct->errorString();
        return false;
    }
    m_whole = std::make_unique<QSaveFile>(m_path);
    if (m_whole->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return true;
    m_error = m_whole->errorString();
    return false;
}

QIODevice &ExportTarget::device()
{
    if (m_whole)
        return *m_whole;
    return *m_direct;
}

bool ExportTarget::commit()
{
    if (m_whole) {
        if (m_whole->commit())
            return true;
        m_error = m_whole->errorString();
        return false;
    }
    if (m_direct->flush())
        return true;
    m_error = m_direct->errorString();
    return false;
}

QString ExportTarget::shownName() const
{
    return isStandardOutput(m_path) ? QStringLiteral("the standard output") : m_path;
}

} // namespace barlink::journal
