#include "label/CompanionCsv.h"

#include "base/CurrentItem.h"
#include "base/Error.h"
#include "base/FileExists.h"
#include "base/FileNames.h"
#include "base/Settings.h"
#include "label/FileSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace barlink::label {

namespace {

struct CompanionName
{
    QString folder;   // CSVInPath and the separator, taken as configured
    QString relative; // base name + ".CSV", looked up in any letter case
};

CompanionName companionParts(const base::Settings &settings, const QString &programName)
{
    QString folder = settings.csvInPath + QDir::separator();
    while (folder.startsWith(QLatin1Char(' ')))
        folder.remove(0, 1);
    const QString base = programName.left(std::max<qsizetype>(0, programName.size() - 4));
    return {folder, base + QStringLiteral(".CSV")};
}

// Every error names the file or folder it is about, for the operator and the journal.
[[noreturn]] void fail(int number, const char *description, const QString &path)
{
    throw base::Error(number, QString::fromLatin1(description), QDir::toNativeSeparators(path));
}

// Why path could not be opened: the folder missing, no permission, or something else.
[[noreturn]] void failOpen(const QString &path, bool forWriting)
{
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        fail(base::Error::PathNotFound, "Path not found", path);
    const bool refused = info.exists() ? (forWriting ? !info.isWritable() : !info.isReadable())
                                       : (forWriting && !folder.isWritable());
    if (refused)
        fail(base::Error::PermissionDenied, "Permission denied", path);
    fail(base::Error::PathFileAccessError, "Path/File access error", path);
}

[[noreturn]] void failWrite(QFileDevice::FileError error, const QString &path)
{
    if (error == QFileDevice::ResourceError)
        fail(base::Error::DiskFull, "Disk full", path);
    if (error == QFileDevice::WriteError)
        fail(base::Error::DeviceIoError, "Device I/O error", path);
    fail(base::Error::PathFileAccessError, "Path/File access error", path);
}

QByteArray readCompanion(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failOpen(path, false);
    // One byte more than allowed tells an oversized file without reading all of it; read(n)
    // sets n bytes aside before reading, so no more is asked for than the file holds.
    const QByteArray content = file.read(std::min(file.size(), maxCompanionCsvBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        fail(base::Error::DeviceIoError, "Device I/O error", path);
    if (content.size() > maxCompanionCsvBytes)
        fail(base::Error::OutOfMemory, "Out of memory", path);
    return content;
}

// Appends the line to the collecting file, or throws with the file as it was (where it
// can be cut back).
void appendLine(const QString &path, const QByteArray &line)
{
    QFile out(path);
    // Unbuffered: a failed write leaves nothing pending that a later close could add.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        failOpen(path, true);
    const qint64 before = out.size();
    try {
        if (out.write(line) != line.size())
            failWrite(out.error(), path);
        if (!out.flush())
            failWrite(out.error(), path);
        syncToDisk(out);
    } catch (const base::Error &) {
        // A device, or a file that cannot be cut, keeps what reached it.
        if (!out.isSequential())
            (void)out.resize(before);
        out.close();
        throw;
    }
    out.close();
    if (out.error() != QFileDevice::NoError)
        failWrite(out.error(), path);
}

void removeCompanion(const QString &path)
{
    QFile file(path);
    if (file.remove() || !QFileInfo::exists(path))
        return;
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable())
        fail(base::Error::PermissionDenied, "Permission denied", path);
    fail(base::Error::PathFileAccessError, "Path/File access error", path);
}

bool sameFile(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

QString companionCsvName(const base::Settings &settings, const QString &programName)
{
    const CompanionName name = companionParts(settings, programName);
    return name.folder + name.relative;
}

QByteArray withoutTrailingLineEnd(QByteArray content)
{
    if (content.endsWith('\n'))
        content.chop(1);
    if (content.endsWith('\r'))
        content.chop(1);
    return content;
}

QString findCompanionCsv(const base::Settings &settings,
                         const QString &programName,
                         base::Prompter &prompter)
{
    const CompanionName name = companionParts(settings, programName);
    if (!base::isSafeRelativeName(name.relative))
        return {};
    const QString path = base::resolveFileName(name.folder, name.relative);
    if (!base::fileExists(path, prompter) || sameFile(path, settings.csvOutPath))
        return {};
    return path;
}

void copyCompanionCsv(const base::Settings &settings,
                      const QString &programName,
                      base::Prompter &prompter)
{
    const QString path = findCompanionCsv(settings, programName, prompter);
    if (path.isEmpty())
        return;

    QByteArray line = withoutTrailingLineEnd(readCompanion(path));
    line.append("\r\n");
    appendLine(settings.csvOutPath, line);
    removeCompanion(path);
}

void copyCompanionCsv(const base::Settings &settings,
                      const base::CurrentItem &item,
                      base::Prompter &prompter)
{
    copyCompanionCsv(settings, item.programName, prompter);
}

} // namespace barlink::label
