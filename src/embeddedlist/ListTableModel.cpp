#include "ListTableModel.h"

#include "ListStore.h"

namespace barlink::embeddedlist {

ListTableModel::ListTableModel(ListStore *store, QObject *parent)
    : QAbstractTableModel(parent)
    , m_store(store)
{
    if (!m_store)
        return;
    m_rowCount = m_store->rowCount();
    m_columns = m_store->columns().numbers();
    connect(m_store, &ListStore::rowsAppended, this, &ListTableModel::onRowsAppended);
    connect(m_store, &ListStore::rowChanged, this, &ListTableModel::onRowChanged);
    connect(m_store, &ListStore::rowAboutToBeRemoved, this, &ListTableModel::onRowAboutToBeRemoved);
    connect(m_store, &ListStore::rowRemoved, this, &ListTableModel::onRowRemoved);
    connect(m_store, &ListStore::listAboutToBeReset, this, &ListTableModel::onListAboutToBeReset);
    connect(m_store, &ListStore::listReset, this, &ListTableModel::onListReset);
}

int ListTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int ListTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ListTableModel::data(const QModelIndex &index, int role) const
{
    if (!m_store || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return fieldValue(fieldsOf(index.row()), m_columns[index.column()]);
    case Qt::ToolTipRole:
        return m_store->rows().at(index.row());
    default:
        return {};
    }
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < m_columns.size())
        return fieldCaption(m_columns[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ListTableModel::onRowsAppended(qint32 first, qint32 last)
{
    syncColumns();
    beginInsertRows({}, first, last);
    m_rowCount = last + 1;
    endInsertRows();
}

void ListTableModel::onRowChanged(qint32 index)
{
    m_fieldCache.remove(index);
    syncColumns();
    Q_EMIT dataChanged(this->index(index, 0), this->index(index, columnCount() - 1));
}

void ListTableModel::onRowAboutToBeRemoved(qint32 index)
{
    beginRemoveRows({}, index, index);
}

void ListTableModel::onRowRemoved()
{
    --m_rowCount;
    m_fieldCache.clear();
    endRemoveRows();
    syncColumns();
}

void ListTableModel::onListAboutToBeReset()
{
    beginResetModel();
}

void ListTableModel::onListReset()
{
    m_rowCount = m_store->rowCount();
    m_columns = m_store->columns().numbers();
    m_fieldCache.clear();
    endResetModel();
}

void ListTableModel::syncColumns()
{
    const QList<int> &target = m_store->columns().numbers();
    if (target == m_columns)
        return;
    for (int column = int(m_columns.size()) - 1; column >= 0; --column) {
        if (target.contains(m_columns[column]))
            continue;
        beginRemoveColumns({}, column, column);
        m_columns.removeAt(column);
        endRemoveColumns();
    }
    if (target.first(std::min(target.size(), m_columns.size())) != m_columns) {
        beginResetModel();
        m_columns = target;
        endResetModel();
        return;
    }
    if (m_columns.size() < target.size()) {
        beginInsertColumns({}, int(m_columns.size()), int(target.size()) - 1);
        m_columns = target;
        endInsertColumns();
    }
}

const QList<RowField> &ListTableModel::fieldsOf(int row) const
{
    if (QList<RowField> *fields = m_fieldCache.object(row))
        return *fields;
    auto *fields = new QList<RowField>(parseRowFields(m_store->rows().at(row)));
    m_fieldCache.insert(row, fields);
    return *fields;
}

} // namespace barlink::embeddedlist
