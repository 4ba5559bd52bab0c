#pragma once

#include "RunState.h"

#include <QFile>
#include <QString>
#include <QStringList>

namespace barlink::embeddedlist {

// Keeps the current list and its run state on disk: "current.lst" (one row per
// line, Latin-1, CR LF) and "listmanager.json" ({"state": ..., "setpoints": N}).
// An added row is appended and flushed to the operating system at once, so a
// crash of the station loses no row it was told had been added; every other
// change replaces the file in one step. Write failures throw barlink::base::Error.
class ListStorage
{
public:
    struct Contents
    {
        bool hasList = false; // "current.lst" exists
        QStringList rows;
        RunState state = RunState::Idle;
        qint32 setpoints = 0;
    };

    explicit ListStorage(QString folder);

    [[nodiscard]] const QString &folder() const { return m_folder; }
    [[nodiscard]] QString listPath() const;
    [[nodiscard]] QString statePath() const;

    // Reads both files. A last row cut off by a crash is dropped and the list
    // file rewritten without it, so that later rows start on a line of their own.
    // A list file that exists but cannot be read throws barlink::base::Error (70, 75).
    [[nodiscard]] Contents load();

    void appendRow(const QString &row);
    void appendRows(const QStringList &rows);
    void writeRows(const QStringList &rows);
    void writeState(RunState state, qint32 setpoints);

private:
    void makeFolder();

    QString m_folder;
    QFile m_appendFile;        // kept open between appends; closed whenever the file is replaced
    qint64 m_appendedSize = 0; // the size of the open file
};

} // namespace barlink::embeddedlist
