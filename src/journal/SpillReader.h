#pragma once

#include "Entry.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <vector>

namespace barlink::journal {

// Reads a spill file a few entries at a time, so that a large one is taken into the journal
// file in batches, between which the station goes on with its labels, and never is in memory
// whole. A file that begins with its name line is known by the token there; one without it (set
// aside as it could not be appended to) by the digest of its bytes, which no longer change, so
// that the journal file can count what it took of either and take each entry once. Every line
// that reads as an entry is given, in order; the others are counted.
class SpillReader
{
public:
    explicit SpillReader(const QString &path);

    // Whether the file could be opened and read, and why not.
    [[nodiscard]] bool isOpen() const { return m_error.isEmpty(); }
    [[nodiscard]] const QString &error() const { return m_error; }
    [[nodiscard]] const QString &path() const { return m_path; }
    // What the journal file counts this file's entries under.
    [[nodiscard]] const QString &token() const { return m_token; }

    // Appends up to `most` further entries to `entries`; false once the file has none left.
    bool next(qsizetype most, std::vector<Entry> &entries);
    [[nodiscard]] bool atEnd() const { return m_end; }
    // Lines read so far that are no entry (garbled, or cut short by a power cut).
    [[nodiscard]] qint64 unreadable() const { return m_unreadable; }
    // How far through the file the reading is, in per cent.
    [[nodiscard]] int percent() const;

private:
    // The next line with its line end; empty at the end of the file (a last line without its
    // line end is given as it is).
    [[nodiscard]] QByteArray readLine();
    void fail();

    QString m_path;
    QFile m_file;
    QString m_error;
    QString m_token;
    QByteArray m_buffer;
    qsizetype m_at = 0; // in m_buffer
    qint64 m_read = 0;  // bytes of the file taken into m_buffer
    qint64 m_unreadable = 0;
    bool m_end = false;
};

} // namespace barlink::journal
