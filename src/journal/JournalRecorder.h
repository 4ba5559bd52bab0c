#pragma once

#include "base/LabelOutcome.h"
#include "journal/Entry.h"
#include "journal/ForwardState.h"
#include "journal/Journal.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace barlink::base {
struct CurrentItem;
class OperatorDisplay;
struct Settings;
} // namespace barlink::base
namespace barlink::journal {

class Forwarder;

// Turns what the station does into journal entries: each label handled, from begin() to
// finish() or failed(), and the station's own events. A label that sends rows with "ACK" is
// kept at each row, before its "ACK" goes (rowSent()), with the rows added since the last
// entry: no acknowledged row is ever missing from the file, no entry claims a row that did
// not go, and no entry is changed once written. Rows sent without "ACK" are kept when the
// label is done. Entries made before open() wait for it, with the time they happened.
class JournalRecorder : public QObject
{
    Q_OBJECT
public:
    JournalRecorder(base::Settings &settings,
                    base::CurrentItem &item,
                    base::OperatorDisplay &display,
                    QObject *parent = nullptr);
    ~JournalRecorder() override;

    // Opens the journal with the settings' station name, journal days and journal server,
    // and starts forwarding when a server is set. path: the journal file; spillPath: where
    // entries go that it cannot take (empty: they are held in memory).
    void open(const QString &path, const QString &spillPath = {});
    // There is no journal: what was kept and what comes is let go.
    void discard();
    // The operator has seen that journal entries were lost.
    void acknowledgeLost();
    [[nodiscard]] journal::Journal *journal() const { return m_journal.get(); }
    [[nodiscard]] QString server() const { return m_server; }

    // A label is being handled; shownLabel is what the journal keeps of it. kind: set when
    // the caller knows it better than the part that decides (a compressed label); rowKind:
    // what a row acknowledged before the label is decided was sent by.
    void begin(journal::Source source,
               const QString &shownLabel,
               std::optional<journal::Kind> kind = std::nullopt,
               journal::Kind rowKind = journal::Kind::Segment);
    // A row of the label in hand went into the list in field.
    void rowSent(const QString &field, bool acknowledging);
    void finish(const base::LabelOutcome &outcome);
    // The label in hand, of the kind given, failed with error.
    void failed(const base::Reason &error, base::LabelOutcome::Kind kind);
    // The entry of the label in hand says this too, before its reason.
    void note(const base::Reason &detail);
    // One of the station's own events (start, end, the list started, held or cleared, ...).
    void recordEvent(journal::StationEvent event,
                     std::optional<int> rows = std::nullopt,
                     const base::Reason &detail = {});
    // The same with a detail in words given as they are (a device, a command label).
    void recordEvent(journal::StationEvent event, std::optional<int> rows, const QString &detail)
    {
        recordEvent(event, rows, base::Reason::text(detail));
    }

Q_SIGNALS:
    // Entries went into the station's journal file.
    void written();
    // An entry was made, as it goes to the journal (without its local number): for the
    // operator's view of recent scans. Also when there is no journal.
    void entryMade(const journal::Entry &entry);
    // Where the journal's entries go now (the journal file, the spill file, memory).
    void journalStateChanged(const journal::JournalState &state);
    // How far the entries have got to the shop's server (only when JournalServer is set).
    void shopStateChanged(const journal::ForwardState &state);

private:
    void keep(journal::Entry entry);
    void takeItem(journal::Entry &entry) const;
    void finishWith(journal::Outcome outcome,
                    std::optional<journal::Kind> kind,
                    const base::Reason &reason);

    base::Settings &m_settings;
    base::CurrentItem &m_item;
    base::OperatorDisplay &m_display;
    std::unique_ptr<journal::Journal> m_journal;
    std::unique_ptr<journal::Forwarder> m_forwarder;
    QString m_server;
    std::vector<journal::Entry> m_early; // before open()
    journal::Entry m_label;              // the label in hand
    std::optional<journal::Kind> m_kind; // its kind when the caller knows better
    journal::Kind m_rowKind = journal::Kind::Segment;
    int m_rowsNotKept = 0;
    bool m_labelKept = false;
    bool m_discarding = false;
    bool m_fileWritten = true; // the journal file takes entries (as last told)
};

} // namespace barlink::journal
