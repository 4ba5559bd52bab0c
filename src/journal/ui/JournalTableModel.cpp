#include "JournalTableModel.h"

#include "OutcomeColours.h"

#include "base/Reasons.h"

#include <QCoreApplication>
#include <QSqlQuery>

#include <array>

namespace barlink::journal {

namespace {

constexpr std::array ColumnTitles{QT_TRANSLATE_NOOP("JournalWords", "Time"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Station"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Source"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Label"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Kind"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Outcome"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Reason"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Field"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Program"),
                                  QT_TRANSLATE_NOOP("JournalWords", "X"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Y"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Z"),
                                  QT_TRANSLATE_NOOP("JournalWords", "Rows")};

// The words the window shows, in enumerator order; the stored names stay in the file and the
// export.
constexpr std::array SourceWords{QT_TRANSLATE_NOOP("JournalWords", "scanner"),
                                 QT_TRANSLATE_NOOP("JournalWords", "typed"),
                                 QT_TRANSLATE_NOOP("JournalWords", "station")};
constexpr std::array KindWords{QT_TRANSLATE_NOOP("JournalWords", "command"),
                               QT_TRANSLATE_NOOP("JournalWords", "field code"),
                               QT_TRANSLATE_NOOP("JournalWords", "segment"),
                               QT_TRANSLATE_NOOP("JournalWords", "plain name"),
                               QT_TRANSLATE_NOOP("JournalWords", "list"),
                               QT_TRANSLATE_NOOP("JournalWords", "program barcode"),
                               QT_TRANSLATE_NOOP("JournalWords", "compressed label"),
                               QT_TRANSLATE_NOOP("JournalWords", "station event")};
// In the order of the station events' stored names ("port-lost" is "port lost").
constexpr std::array EventWords{QT_TRANSLATE_NOOP("JournalWords", "start"),
                                QT_TRANSLATE_NOOP("JournalWords", "end"),
                                QT_TRANSLATE_NOOP("JournalWords", "port opened"),
                                QT_TRANSLATE_NOOP("JournalWords", "port lost"),
                                QT_TRANSLATE_NOOP("JournalWords", "port back"),
                                QT_TRANSLATE_NOOP("JournalWords", "list cleared"),
                                QT_TRANSLATE_NOOP("JournalWords", "list started"),
                                QT_TRANSLATE_NOOP("JournalWords", "list held"),
                                QT_TRANSLATE_NOOP("JournalWords", "entries lost"),
                                QT_TRANSLATE_NOOP("JournalWords", "journal back"),
                                QT_TRANSLATE_NOOP("JournalWords", "entries held"),
                                QT_TRANSLATE_NOOP("JournalWords", "journal damaged"),
                                QT_TRANSLATE_NOOP("JournalWords", "forwarding stalled"),
                                QT_TRANSLATE_NOOP("JournalWords", "forwarding resumed"),
                                QT_TRANSLATE_NOOP("JournalWords", "item taken back"),
                                QT_TRANSLATE_NOOP("JournalWords", "spill file unreadable"),
                                QT_TRANSLATE_NOOP("JournalWords", "spill file readable"),
                                QT_TRANSLATE_NOOP("JournalWords", "journal not tidied"),
                                QT_TRANSLATE_NOOP("JournalWords", "journal tidied")};
constexpr std::array OutcomeWords{QT_TRANSLATE_NOOP("JournalWords", "taken"),
                                  QT_TRANSLATE_NOOP("JournalWords", "waiting"),
                                  QT_TRANSLATE_NOOP("JournalWords", "refused"),
                                  QT_TRANSLATE_NOOP("JournalWords", "failed"),
                                  QT_TRANSLATE_NOOP("JournalWords", "station event")};

template<typename Enum, std::size_t N>
QString wordFor(const std::array<const char *, N> &words, Enum value)
{
    return QCoreApplication::translate("JournalWords", words.at(std::size_t(value)));
}

static_assert(EventWords.size() == std::size_t(journal::StationEvent::LogTidied) + 1);

// A station event's name in words; a name this version does not know as it is stored.
QString eventWords(const QString &label)
{
    for (std::size_t event = 0; event < EventWords.size(); ++event) {
        if (label == storedName(journal::StationEvent(event)))
            return QCoreApplication::translate("JournalWords", EventWords[event]);
    }
    return QString(label).replace(u'-', u' ');
}

} // namespace

JournalTableModel::JournalTableModel(QSqlDatabase db,
                                     journal::Store store,
                                     int pageSize,
                                     QObject *parent)
    : QAbstractTableModel(parent)
    , m_db(std::move(db))
    , m_store(store)
    , m_pageSize(pageSize)
{}

void JournalTableModel::setFilter(const journal::Filter &filter)
{
    beginResetModel();
    m_filter = filter;
    m_entries.clear();
    m_more = true;
    endResetModel();
    fetchMore({});
}

int JournalTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int JournalTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(ColumnTitles.size());
}

QVariant JournalTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const journal::Entry &e = entryAt(index.row());
    if (role == Qt::BackgroundRole || role == Qt::ForegroundRole)
        return outcomeBrush(outcomeLook(e), role);
    // A reason wider than its column is read whole in its tool tip. The file keeps the reason
    // in English beside its code; the window shows it in the operator's language (an entry of an
    // older file, or of the shop's table, which keep the text alone, as stored).
    if (role == Qt::ToolTipRole && Column(index.column()) == Column::Reason && !e.reason.isEmpty())
        return e.reason.shown();
    if (role != Qt::DisplayRole)
        return {};
    switch (Column(index.column())) {
    case Column::Time:
        return e.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case Column::Station:
        return e.station;
    case Column::Source:
        return wordFor(SourceWords, e.source);
    case Column::Label:
        // A station event's name in words: "port lost" for "port-lost".
        return e.kind == journal::Kind::StationEvent ? eventWords(e.label) : e.label;
    case Column::Kind:
        return wordFor(KindWords, e.kind);
    case Column::Outcome:
        return wordFor(OutcomeWords, e.outcome);
    case Column::Reason:
        return e.reason.shown();
    case Column::Field:
        return e.field;
    case Column::Program:
        return e.program;
    case Column::X:
        return e.x;
    case Column::Y:
        return e.y;
    case Column::Z:
        return e.z;
    case Column::Rows:
        return e.rows ? QVariant(*e.rows) : QVariant();
    }
    return {};
}

QVariant JournalTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= int(ColumnTitles.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    return QCoreApplication::translate("JournalWords", ColumnTitles.at(std::size_t(section)));
}

bool JournalTableModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

int JournalTableModel::fetchNewer()
{
    if (m_entries.empty()) {
        setFilter(m_filter);
        return rowCount();
    }
    std::vector<journal::Entry> newer;
    QSqlQuery query(m_db);
    if (journal::execStatement(
            query,
            journal::selectEntries(
                m_store, m_filter, journal::Order::OldestFirst, 0, m_entries.front()))) {
        while (query.next())
            newer.push_back(journal::entryAt(query));
    }
    if (newer.empty())
        return 0;
    beginInsertRows({}, 0, int(newer.size()) - 1);
    m_entries.insert(m_entries.begin(), newer.rbegin(), newer.rend());
    endInsertRows();
    return int(newer.size());
}

void JournalTableModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    const std::optional<journal::Entry> after
        = m_entries.empty() ? std::nullopt : std::optional(m_entries.back());
    std::vector<journal::Entry> page
        = journal::readEntries(m_db, m_store, m_filter, m_pageSize, after);
    m_more = int(page.size()) == m_pageSize;
    if (page.empty())
        return;
    const int first = int(m_entries.size());
    beginInsertRows({}, first, first + int(page.size()) - 1);
    std::move(page.begin(), page.end(), std::back_inserter(m_entries));
    endInsertRows();
}

} // namespace barlink::journal
