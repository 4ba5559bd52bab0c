#pragma once

#include "RowFields.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QList>
#include <QPointer>

namespace barlink::embeddedlist {

class ListStore;

// The current list as a table: one row per list row, one column per field
// number (the station's fields first, then any other number the rows carry),
// each cell the value of that field. Rows are split only when a view asks for
// them, and recently split rows are cached, so a list of 100,000 rows costs
// nothing until it is looked at; added rows arrive as row insertions.
class ListTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ListTableModel(ListStore *store, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant
    headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    [[nodiscard]] int fieldNumber(int column) const { return m_columns.value(column); }

private:
    void onRowsAppended(qint32 first, qint32 last);
    void onRowChanged(qint32 index);
    void onRowAboutToBeRemoved(qint32 index);
    void onRowRemoved();
    void onListAboutToBeReset();
    void onListReset();
    // Brings the columns in line with the store's: removed numbers go, new ones
    // are added at the end.
    void syncColumns();
    [[nodiscard]] const QList<RowField> &fieldsOf(int row) const;

    QPointer<ListStore> m_store;
    int m_rowCount = 0;
    QList<int> m_columns;
    mutable QCache<int, QList<RowField>> m_fieldCache{4096};
};

} // namespace barlink::embeddedlist
