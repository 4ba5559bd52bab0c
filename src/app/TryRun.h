#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace barlink::app {

// What the station would do with some labels, found by handing them to a station of its own
// that is never started: the station's own label handling, routing and field selection,
// against the settings file and the program files the station reads, with a list manager that
// only records and a scanner port in memory. Nothing is written: no list row, no program
// file, no companion CSV, no settings, no journal, nothing to the scanner, no editor. It takes
// no lock and opens no port, so a station running on the same settings goes on undisturbed.
class TryRun
{
public:
    struct Result
    {
        // The rows as they would reach the list manager, in order.
        QStringList rows;
        // What happened, in order: each label, the item as it builds up, the work field
        // chosen and why, each row with its eighteen fields named. A line begins with four
        // spaces for each level it is below a label's; the fields of a row are lines of
        // number, name and value separated by tabs.
        QStringList account;
        // One line per label, each followed by the status line texts and message boxes the
        // station would show for it, four spaces in.
        QStringList summary;
        // No label was refused, none failed and none was held by a message box.
        bool allTaken = true;
        // The labels end with an item that waits for more of its labels.
        bool itemWaiting = false;

        // 0 every label taken and no item waiting, 1 a label refused, failed or held by a
        // message box, 3 the labels end with an item waiting.
        [[nodiscard]] int exitStatus() const;
    };

    // programDir, windowsDir: where the settings file is looked for, as the station does.
    TryRun(QString programDir, QString windowsDir);

    // labels: each as the scanner would send it.
    [[nodiscard]] Result run(const QList<QByteArray> &labels) const;

private:
    QString m_programDir;
    QString m_windowsDir;
};

// barlink --try LABEL...: the arguments after "--try" are the labels, with escapes. Prints
// the rows to out and the summary to err. Returns Result::exitStatus(), or 2 for a wrong
// command line.
[[nodiscard]] int runTryCommand(const QStringList &arguments,
                                const QString &programDir,
                                const QString &windowsDir,
                                QTextStream &out,
                                QTextStream &err);

} // namespace barlink::app
