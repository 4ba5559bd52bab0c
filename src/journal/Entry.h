#pragma once

#include "base/Reasons.h"

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

namespace barlink::journal {

// Where a journal entry came from.
enum class Source { Scanner, Manual, Station };

// What the label was; a station event has no label of its own.
enum class Kind {
    Command,
    FieldCode,
    Segment,
    PlainName,
    List,
    ProgramBarcode,
    Compressed,
    StationEvent,
};

// What became of the label: taken (rows added), waiting for the next segment, refused (the
// reason in plain words), failed (the error); a station event has the outcome Event. A taken
// label with a reason was taken with a warning (see warns()).
enum class Outcome { Taken, Waiting, Refused, Failed, Event };

// The station's own events, kept as the label of a station event entry.
enum class StationEvent {
    Start,
    End,
    PortOpened,
    PortLost,
    PortBack,
    ListCleared,
    ListStarted,
    ListHeld,
    EntriesLost,       // entries held while the journal could not be written went past the bound
    JournalBack,       // the journal file takes entries again; those of the spill file are in it
    EntriesHeld,       // entries held in memory (no file could be written) are written now
    JournalDamaged,    // the journal file was damaged, moved aside, and a new one started
    ForwardingStalled, // entries stopped reaching the shop's server (the reason as detail)
    ForwardingResumed, // they reach it again
    ItemTakenBack,     // the operator took the last item's rows out of the list again
    SpillUnreadable,   // a spill file with entries waiting cannot be read (the reason as detail)
    SpillReadable,     // it can be read again
    LogUntidy,         // the write-ahead log cannot be emptied: another program reads the file
    LogTidied,         // it is back within its bound
};

// One line of the journal: a label handled by the station, or one of the station's events.
// Empty texts are stored as nulls. The station name and the local number identify an entry
// across every station's journal.
struct Entry
{
    qint64 localNumber = 0; // given by the local journal file; 0 until the entry is stored
    QDateTime time = {};    // UTC, to the millisecond; the journal stamps an entry without one
    QString station = {};   // the journal stamps an entry without one with its own
    Source source = Source::Scanner;
    QString label = {}; // control characters escaped (escapeControls), or a program summary
    Kind kind = Kind::PlainName;
    Outcome outcome = Outcome::Taken;
    // Why refused, the error when failed, the detail of an event: kept as English text and, for
    // an entry of this version, as its code and arguments too, so that the screen shows it in the
    // operator's language. An entry of an older journal has its text alone.
    base::Reason reason = {};
    QString field = {};
    QString program = {};
    QString x = {};
    QString y = {};
    QString z = {};
    std::optional<int> rows = {}; // rows added; for "list-cleared", the rows that were in the list

    friend bool operator==(const Entry &, const Entry &) = default;
};

// The columns of an entry as the journal's export and its window show them, in their order.
enum class Column {
    Time,
    Station,
    Source,
    Label,
    Kind,
    Outcome,
    Reason,
    Field,
    Program,
    X,
    Y,
    Z,
    Rows
};

// The names the journal stores and exports; they never change once released, so that old
// files and the shop-wide table stay readable.
[[nodiscard]] QString storedName(Source source);
[[nodiscard]] QString storedName(Kind kind);
[[nodiscard]] QString storedName(Outcome outcome);
[[nodiscard]] QString storedName(StationEvent event);
[[nodiscard]] std::optional<Source> sourceNamed(QStringView name);
[[nodiscard]] std::optional<Kind> kindNamed(QStringView name);
[[nodiscard]] std::optional<Outcome> outcomeNamed(QStringView name);

// The label was taken, but its rows lack something the operator is to know of: the reason
// says what (no program file, so no dimensions; a value changed to fit the row).
[[nodiscard]] inline bool warns(const Entry &entry)
{
    return entry.outcome == Outcome::Taken && !entry.reason.isEmpty();
}

// The label as the journal shows it: every control character (C0, DEL, C1) written as its
// name in angle brackets ("<CR>", "<GS>", "<DEL>", "<U+0085>"); every other character as is.
[[nodiscard]] QString escapeControls(QStringView label);

// What the journal keeps instead of the text of a program barcode or a compressed label:
// the expanded program's name and size, "NAME (N bytes)".
[[nodiscard]] QString programSummary(const QString &programName, qint64 bytes);

// An entry for one of the station's own events; the journal gives it the time and the station
// when it is appended. `rows` is the number of rows that were in the list for ListCleared;
// `detail` says more (the port's error, ...).
[[nodiscard]] Entry
stationEventEntry(StationEvent event, std::optional<int> rows = {}, base::Reason detail = {});
// The same with a detail in words given as they are (a device, the server's message).
[[nodiscard]] inline Entry
stationEventEntry(StationEvent event, std::optional<int> rows, const QString &detail)
{
    return stationEventEntry(event, rows, base::Reason::text(detail));
}

} // namespace barlink::journal
