#pragma once

#include "journal/Entry.h"

#include <QAbstractTableModel>

#include <deque>
#include <optional>
#include <vector>

namespace barlink::app {

// The main window's recent scans, newest first: time, label and outcome in plain words, at
// most a bounded number of them. Refusals and failures stand out in colour; a list cleared of
// rows left from before is shown among them.
class RecentScansModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Time, Label, Outcome, ColumnCount };

    explicit RecentScansModel(int capacity = 50, QObject *parent = nullptr);

    // Shows entries (newest first) in place of what is shown; those that are no scan are left.
    void setEntries(const std::vector<journal::Entry> &entries);
    // Puts a new entry on top, when it is a scan.
    void add(const journal::Entry &entry);
    [[nodiscard]] const journal::Entry &entryAt(int row) const
    {
        return m_entries.at(std::size_t(row));
    }

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QVariant
    headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    int m_capacity;
    std::deque<journal::Entry> m_entries;
    std::deque<QString> m_words; // the plain words of each entry, made once
    // The entry given last, shown or not: what a list command did is told by the one before it.
    std::optional<journal::Entry> m_before;
};

} // namespace barlink::app
