#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QFile;
class QIODevice;
class QSaveFile;

namespace barlink::journal {

// The files an export must never write over: the journal files (each with its write-ahead log
// and its -shm file) and the spill file.
struct KeptFiles
{
    QStringList journals;
    QString spill;
};

// The path with every link followed and "." and ".." taken out, also for a file that does not
// exist yet (its folder resolved, its name kept) and for a link that leads to none.
[[nodiscard]] QString resolvedPath(const QString &path);

// Why path must not be written by an export: it is one of the kept files (or one of their
// names, a link to one, a hard link), said in plain words with the kept file's path; empty
// when it may be written.
[[nodiscard]] QString keptFileAt(const QString &path, const KeptFiles &kept);

// Where an export writes. A new file, or a plain file, is written in full or not at all: a
// temporary file beside it takes the text and is renamed over it at commit(). Anything else
// (a device such as /dev/null, a pipe, the standard output "-") is written directly, so that it
// stays what it is. Writes are not buffered, so that a write that fails says why at once
// (a full disk: "No space left on device").
class ExportTarget
{
public:
    explicit ExportTarget(QString path, KeptFiles kept = {});
    ~ExportTarget();
    ExportTarget(const ExportTarget &) = delete;
    ExportTarget &operator=(const ExportTarget &) = delete;

    // Refuses a kept file; otherwise opens the target. False with error().
    [[nodiscard]] bool open();
    // The open target; valid after open() succeeded.
    [[nodiscard]] QIODevice &device();
    // Everything written is in place: the temporary file renamed over the target, or the
    // direct write flushed. False with error(); the target is then unchanged where it was
    // replaced whole.
    [[nodiscard]] bool commit();

    [[nodiscard]] const QString &error() const { return m_error; }
    // How the target is named in messages: its path, or "the standard output".
    [[nodiscard]] QString shownName() const;

private:
    QString m_path;
    KeptFiles m_kept;
    std::unique_ptr<QSaveFile> m_whole;
    std::unique_ptr<QFile> m_direct;
    QString m_error;
};

} // namespace barlink::journal
