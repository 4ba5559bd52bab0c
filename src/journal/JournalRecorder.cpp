#include "JournalRecorder.h"

#include "base/CurrentItem.h"
#include "base/OperatorDisplay.h"
#include "base/Settings.h"
#include "journal/Forwarder.h"
#include "journal/Journal.h"

#include <QDir>
#include <QSysInfo>

#include <utility>

namespace barlink::journal {

namespace {

journal::Kind kindOf(base::LabelOutcome::Kind kind)
{
    using K = base::LabelOutcome::Kind;
    switch (kind) {
    case K::Command:
        return journal::Kind::Command;
    case K::FieldCode:
        return journal::Kind::FieldCode;
    case K::Segment:
        return journal::Kind::Segment;
    case K::PlainName:
        return journal::Kind::PlainName;
    case K::List:
        return journal::Kind::List;
    case K::ProgramBarcode:
        return journal::Kind::ProgramBarcode;
    }
    return journal::Kind::PlainName;
}

journal::Outcome outcomeOf(base::LabelOutcome::Result result)
{
    using R = base::LabelOutcome::Result;
    switch (result) {
    case R::Taken:
        return journal::Outcome::Taken;
    case R::Waiting:
        return journal::Outcome::Waiting;
    case R::Refused:
        return journal::Outcome::Refused;
    case R::Failed:
        return journal::Outcome::Failed;
    }
    return journal::Outcome::Failed;
}

} // namespace

JournalRecorder::JournalRecorder(base::Settings &settings,
                                 base::CurrentItem &item,
                                 base::OperatorDisplay &display,
                                 QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_item(item)
    , m_display(display)
{}

JournalRecorder::~JournalRecorder() = default;

void JournalRecorder::open(const QString &path, const QString &spillPath)
{
    if (m_journal)
        return;
    const QString station
        = m_settings.stationName.isEmpty() ? QSysInfo::machineHostName() : m_settings.stationName;
    m_server = m_settings.journalServer;
    // A JournalServer that cannot be used has confirmed nothing: retention deletes nothing
    // until the setting is mended or removed.
    const int days
        = m_settings.journalServerGiven && m_server.isEmpty() ? 0 : m_settings.journalDays;
    m_journal = std::make_unique<journal::Journal>(path, station, days);
    m_journal->setServer(m_server);
    m_journal->setSpillPath(spillPath);
    // The operator hears on the status line when the journal file stops and starts taking
    // entries; the main window shows where they go for as long as it is not the file. Scanning
    // goes on either way.
    connect(m_journal.get(),
            &journal::Journal::stateChanged,
            this,
            [this](const journal::JournalState &state) {
                const bool wasFile = m_fileWritten;
                // Taking in a spill file at start-up is no failure: it has no reason.
                m_fileWritten
                    = state.place == journal::JournalState::Place::File || state.reason.isEmpty();
                if (wasFile && !m_fileWritten)
                    m_display.setStatus(tr("Scan journal not written: %1").arg(state.reason));
                else if (!wasFile && m_fileWritten)
                    m_display.setStatus(tr("Scan journal written again."));
                Q_EMIT journalStateChanged(state);
            });
    connect(m_journal.get(),
            &journal::Journal::movedAside,
            this,
            [this](const QString &aside, const QString &reason) {
                m_display.setStatus(
                    tr("Scan journal damaged (%1): moved aside as %2, a new one was started.")
                        .arg(reason, QDir::toNativeSeparators(aside)));
            });
    connect(m_journal.get(), &journal::Journal::written, this, &JournalRecorder::written);
    if (!m_server.isEmpty()) {
        m_forwarder = std::make_unique<journal::Forwarder>(path, m_server);
        connect(m_journal.get(),
                &journal::Journal::written,
                m_forwarder.get(),
                &journal::Forwarder::wake);
        // Forwarding that stops is on the window for as long as it lasts, and in the journal
        // when it stops and when it goes again.
        connect(m_forwarder.get(),
                &journal::Forwarder::stateChanged,
                this,
                &JournalRecorder::shopStateChanged);
        connect(m_forwarder.get(), &journal::Forwarder::stalled, this, [this](const QString &why) {
            m_display.setStatus(tr("Shop journal not reached: %1").arg(why));
            recordEvent(journal::StationEvent::ForwardingStalled, std::nullopt, why);
        });
        connect(m_forwarder.get(), &journal::Forwarder::resumed, this, [this] {
            recordEvent(journal::StationEvent::ForwardingResumed);
        });
        Q_EMIT shopStateChanged(m_forwarder->state());
    }
    m_journal->open();
    for (journal::Entry &entry : std::exchange(m_early, {}))
        m_journal->append(std::move(entry));
}

void JournalRecorder::acknowledgeLost()
{
    if (m_journal)
        m_journal->acknowledgeLost();
}

void JournalRecorder::discard()
{
    m_discarding = true;
    m_early.clear();
}

void JournalRecorder::keep(journal::Entry entry)
{
    if (!entry.time.isValid())
        entry.time = QDateTime::currentDateTimeUtc();
    Q_EMIT entryMade(entry);
    if (m_discarding)
        return;
    if (m_journal)
        m_journal->append(std::move(entry));
    else
        m_early.push_back(std::move(entry));
}

void JournalRecorder::takeItem(journal::Entry &entry) const
{
    // The item's texts are blanks once it has been reset: a blank is stored as no value.
    entry.program = m_item.programName.trimmed();
    entry.x = m_item.dimX.trimmed();
    entry.y = m_item.dimY.trimmed();
    entry.z = m_item.dimZ.trimmed();
}

void JournalRecorder::begin(journal::Source source,
                            const QString &shownLabel,
                            std::optional<journal::Kind> kind,
                            journal::Kind rowKind)
{
    m_rowKind = rowKind;
    m_label = journal::Entry{};
    m_label.source = source;
    m_label.label = shownLabel;
    m_kind = kind;
    m_rowsNotKept = 0;
    m_labelKept = false;
}

void JournalRecorder::rowSent(const QString &field, bool acknowledging)
{
    m_label.field = field;
    takeItem(m_label);
    ++m_rowsNotKept;
    if (!acknowledging)
        return;
    journal::Entry entry = m_label;
    entry.kind = m_kind.value_or(m_rowKind);
    entry.outcome = journal::Outcome::Taken;
    entry.rows = std::exchange(m_rowsNotKept, 0);
    keep(std::move(entry));
    m_labelKept = true;
}

void JournalRecorder::finishWith(journal::Outcome outcome,
                                 std::optional<journal::Kind> kind,
                                 const base::Reason &reason)
{
    journal::Entry entry = m_label;
    entry.kind = m_kind.value_or(kind.value_or(journal::Kind::PlainName));
    if (m_rowsNotKept > 0) {
        entry.rows = std::exchange(m_rowsNotKept, 0);
    } else if (m_labelKept) {
        // Its rows are kept already; only a failure after them is news.
        if (outcome != journal::Outcome::Failed)
            return;
        entry.rows = 0;
    } else {
        takeItem(entry);
        if (outcome == journal::Outcome::Taken && entry.kind != journal::Kind::Command
            && entry.kind != journal::Kind::FieldCode && entry.kind != journal::Kind::List)
            entry.rows = 0;
    }
    entry.outcome = outcome;
    // A warning told before the rows went is in the notes already.
    entry.reason = entry.reason.with(reason);
    keep(std::move(entry));
    m_labelKept = true;
}

void JournalRecorder::finish(const base::LabelOutcome &outcome)
{
    finishWith(outcomeOf(outcome.result), kindOf(outcome.kind), outcome.reason);
}

void JournalRecorder::failed(const base::Reason &error, base::LabelOutcome::Kind kind)
{
    finishWith(journal::Outcome::Failed, kindOf(kind), error);
}

void JournalRecorder::note(const base::Reason &detail)
{
    m_label.reason = base::Reason::several({m_label.reason, detail});
}

void JournalRecorder::recordEvent(journal::StationEvent event,
                                  std::optional<int> rows,
                                  const base::Reason &detail)
{
    keep(journal::stationEventEntry(event, rows, detail));
}

} // namespace barlink::journal
