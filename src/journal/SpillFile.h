#pragma once

#include "Entry.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace barlink::journal {

// The second place for journal entries that the journal file cannot take: a text file of one
// entry per line, each appended and put on the disk before append() returns, so that an entry
// the scanner was answered for survives a kill or a power cut. Its first line names it with a
// random token, so that the journal file can record how many of its entries it has taken and
// take each exactly once, even when the spill file could not be removed afterwards. A file at
// the path that does not begin with that line (empty, garbled, or one that cannot be read) is
// never appended to: an empty one gets its first line before the first entry, any other is set
// aside beside it, where SpillReader still finds every line it can read, and a new one is
// started.
class SpillFile
{
public:
    explicit SpillFile(QString path);

    [[nodiscard]] const QString &path() const { return m_path; }

    // Appends the entries, in order, and syncs the file. Returns an empty text when they are all
    // on the disk, or why not (the file then holds none of them that a reader takes, or only
    // whole ones: a line cut short is never read).
    [[nodiscard]] QString append(const std::vector<Entry> &entries);

    // What is at the path now.
    enum class Found { Missing, Empty, Named, NotNamed, Unreadable };
    [[nodiscard]] Found found() const;
    // Entries the file holds (its lines after the first); 0 when it is missing or unreadable.
    [[nodiscard]] qint64 countEntries() const;

    // Removes the file once its entries are in the journal file.
    [[nodiscard]] bool remove();
    // Moves a file that cannot be appended to aside (beside it, the time added to its name), so
    // that new entries go to a new one; returns the new name, empty when it could not be moved.
    [[nodiscard]] QString setAside();
    // The files set aside from this one, oldest first, then this one when it is there: the
    // files whose entries wait for the journal file, in the order they were written.
    [[nodiscard]] QStringList waiting() const;

    // The first line of a spill file, which names it.
    [[nodiscard]] static bool isNameLine(const QByteArray &line);
    // The token of a name line.
    [[nodiscard]] static QString tokenOf(const QByteArray &nameLine);
    // Entries as the file keeps them, one line each.
    [[nodiscard]] static QByteArray line(const Entry &entry);
    [[nodiscard]] static std::optional<Entry> entryOf(const QByteArray &line);

private:
    QString m_path;
};

// $XDG_STATE_HOME/barlink/journal.spill (~/.local/state/barlink/journal.spill when unset): on
// another folder than the journal file, so that a journal file that is locked or damaged does
// not take the spill file with it.
[[nodiscard]] QString defaultSpillPath();

} // namespace barlink::journal
