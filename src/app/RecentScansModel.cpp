#include "RecentScansModel.h"

#include "ScanWords.h"
#include "journal/ui/OutcomeColours.h"

namespace barlink::app {

RecentScansModel::RecentScansModel(int capacity, QObject *parent)
    : QAbstractTableModel(parent)
    , m_capacity(capacity)
{}

void RecentScansModel::setEntries(const std::vector<journal::Entry> &entries)
{
    beginResetModel();
    m_entries.clear();
    m_words.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const journal::Entry &entry = entries[i];
        if (int(m_entries.size()) >= m_capacity)
            break;
        if (!isRecentScan(entry))
            continue;
        m_entries.push_back(entry);
        m_words.push_back(plainWords(entry, i + 1 < entries.size() ? &entries[i + 1] : nullptr));
    }
    if (!entries.empty())
        m_before = entries.front();
    endResetModel();
}

void RecentScansModel::add(const journal::Entry &entry)
{
    const std::optional<journal::Entry> before = std::exchange(m_before, entry);
    if (!isRecentScan(entry) || m_capacity <= 0)
        return;
    if (int(m_entries.size()) >= m_capacity) {
        const int last = int(m_entries.size()) - 1;
        beginRemoveRows({}, last, last);
        m_entries.pop_back();
        m_words.pop_back();
        endRemoveRows();
    }
    beginInsertRows({}, 0, 0);
    m_entries.push_front(entry);
    m_words.push_front(plainWords(entry, before ? &*before : nullptr));
    endInsertRows();
}

int RecentScansModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int RecentScansModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecentScansModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_entries.size()))
        return {};
    const journal::Entry &entry = m_entries.at(std::size_t(index.row()));
    const QString &words = m_words.at(std::size_t(index.row()));
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Time:
            return entry.time.toLocalTime().toString(QStringLiteral("HH:mm:ss"));
        case Label:
            return entry.kind == journal::Kind::StationEvent ? QString() : entry.label;
        case Outcome:
            return words;
        }
        return {};
    case Qt::ToolTipRole:
        return entry.label + QLatin1Char('\n') + words;
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
        return journal::outcomeBrush(entry.outcome == journal::Outcome::Event
                                         ? std::optional(ui::OutcomeLook::RowEvent)
                                         : journal::outcomeLook(entry),
                                     role);
    default:
        return {};
    }
}

QVariant RecentScansModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Time:
        return tr("Time");
    case Label:
        return tr("Label");
    case Outcome:
        return tr("Outcome");
    }
    return {};
}

} // namespace barlink::app
