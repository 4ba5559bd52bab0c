#pragma once

#include "journal/Entry.h"
#include "journal/EntryQuery.h"

#include <QAbstractTableModel>
#include <QSqlDatabase>

#include <vector>

namespace barlink::journal {

// The journal entries that pass a filter, newest first, read a page at a time as the view
// asks for more: opening and filtering read one page, whatever the journal holds. Sources,
// kinds and outcomes in words ("plain name", "station event"). Refused entries stand out
// (background), failed ones too.
class JournalTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // db: an open connection on the store, kept by the caller for the model's life.
    JournalTableModel(QSqlDatabase db,
                      journal::Store store,
                      int pageSize = 200,
                      QObject *parent = nullptr);

    // Shows the entries that pass filter, from the newest.
    void setFilter(const journal::Filter &filter);
    [[nodiscard]] const journal::Filter &filter() const { return m_filter; }
    [[nodiscard]] journal::Store store() const { return m_store; }
    [[nodiscard]] QSqlDatabase database() const { return m_db; }
    [[nodiscard]] const journal::Entry &entryAt(int row) const
    {
        return m_entries.at(std::size_t(row));
    }

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QVariant
    headerData(int section, Qt::Orientation orientation, int role) const override;
    [[nodiscard]] bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    // Puts the entries that passed the filter since the newest shown on top; returns how many.
    int fetchNewer();

private:
    QSqlDatabase m_db;
    journal::Store m_store;
    journal::Filter m_filter;
    std::vector<journal::Entry> m_entries;
    int m_pageSize;
    bool m_more = true;
};

} // namespace barlink::journal
