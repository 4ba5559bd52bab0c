#pragma once

// A small journal and the journal window's filters with what each shows, newest first: the
// same table runs on the station's file and on the shop-wide table.

#include "journal/EntryQuery.h"

#include <QSqlDatabase>
#include <QTest>

Q_DECLARE_METATYPE(barlink::journal::Filter)

namespace filtercases {

using namespace barlink::journal;

inline QDateTime at(int day, int hour)
{
    return QDateTime(QDate(2024, 3, day), QTime(hour, 0), Qt::UTC);
}

// In local-number order. P4 and p_3 share a time: the local number decides. P4's reason is
// guarded in an export.
inline QList<Entry> entries()
{
    const auto entry = [](const char *label,
                          QDateTime time,
                          const char *station,
                          Outcome outcome,
                          const char *reason = "",
                          const char *program = "") {
        Entry e;
        e.label = QString::fromUtf8(label);
        e.time = time;
        e.station = QString::fromUtf8(station);
        e.outcome = outcome;
        e.reason = barlink::base::Reason::text(QString::fromUtf8(reason));
        e.program = QString::fromUtf8(program);
        return e;
    };
    return {entry("P1", at(1, 8), "A", Outcome::Taken),
            entry("P2", at(1, 9), "A", Outcome::Refused, "no field is free"),
            entry("p_3", at(2, 8), "B", Outcome::Taken, "", "DOOR.CNC"),
            entry("P4", at(2, 8), "B", Outcome::Failed, "=Disk \"C:\" full,\r\nor gone"),
            entry("P5", at(3, 8), "B", Outcome::Refused, "NOT A LABEL"),
            entry("P6", at(3, 9), "A", Outcome::Waiting)};
}

inline void addRows()
{
    using O = Filter::Outcomes;
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("after"); // label of the last entry of the previous page
    QTest::addColumn<QStringList>("shown");
    const auto row = [](const char *name,
                        Filter filter,
                        const QStringList &shown,
                        int limit = 0,
                        const QString &after = {}) {
        QTest::newRow(name) << filter << limit << after << shown;
    };
    const auto filter = [](const char *text,
                           O outcomes = O::All,
                           const char *station = "",
                           const QDateTime &from = {},
                           const QDateTime &until = {}) {
        Filter f;
        f.text = QString::fromUtf8(text);
        f.outcomes = outcomes;
        f.station = QString::fromUtf8(station);
        f.from = from;
        f.until = until;
        return f;
    };
    row("all, newest first", {}, {"P6", "P5", "P4", "p_3", "P2", "P1"});
    row("text, any case, in the reason", filter("not a"), {"P5"});
    row("text in the program", filter("door"), {"p_3"});
    row("wildcard taken as a character", filter("_"), {"p_3"});
    row("refused only", filter("", O::RefusedOnly), {"P5", "P2"});
    row("taken only", filter("", O::TakenOnly), {"p_3", "P1"});
    row("failed only", filter("", O::FailedOnly), {"P4"});
    row("from inclusive, until exclusive",
        filter("", O::All, "", at(2, 8), at(3, 8)),
        {"P4", "p_3"});
    row("one station", filter("", O::All, "A"), {"P6", "P2", "P1"});
    row("refused on one station", filter("", O::RefusedOnly, "B"), {"P5"});
    row("page after a tie in time", {}, {"p_3", "P2"}, 2, "P4");
}

// Runs the current row on a store that holds entries().
inline void check(const QSqlDatabase &db, Store store)
{
    QFETCH(Filter, filter);
    QFETCH(int, limit);
    QFETCH(QString, after);
    QFETCH(QStringList, shown);
    std::optional<Entry> last;
    for (const Entry &entry : readEntries(db, store, {}, 0)) {
        if (entry.label == after)
            last = entry;
    }
    QCOMPARE(last.has_value(), !after.isEmpty());
    QStringList labels;
    for (const Entry &entry : readEntries(db, store, filter, limit, last))
        labels << entry.label;
    QCOMPARE(labels, shown);
}

} // namespace filtercases
