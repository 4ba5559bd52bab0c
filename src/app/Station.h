#pragma once

#include "InstanceCounter.h"
#include "PortControl.h"
#include "ScannerReply.h"
#include "Startup.h"
#include "TakeBack.h"
#include "base/CurrentItem.h"
#include "base/DoubleScanGuard.h"
#include "base/FileWrites.h"
#include "base/LabelGate.h"
#include "base/Options.h"
#include "base/ProductEnvironment.h"
#include "base/Settings.h"
#include "base/StationContext.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelector.h"
#include "journal/JournalRecorder.h"
#include "label/ItemSender.h"
#include "label/LabelDispatcher.h"
#include "listmanager/ListManagerLink.h"
#include "program/ProgramBarcode.h"
#include "scanner/ScanPoller.h"

#include <QObject>

#include <functional>

namespace barlink::scanner {
class ScannerPort;
}
namespace barlink::listmanager {
class ListManagerProvider;
}

namespace barlink::base {
class Pacer;
class Prompter;
} // namespace barlink::base

namespace barlink::app {

// The station's state for the whole run (settings, option switches, current item,
// list manager references, scanner port), the parts that handle labels, and the start-up
// and shutdown around them. Takes one label at a time, scanned or typed, and tells the
// windows what became of it through its signals. Runs headless: the window, the message
// boxes, the pauses, the port and the list manager come in from outside.
class Station : public QObject
{
    Q_OBJECT
public:
    // clock: the poller's intervals and the port's reconnection attempts.
    Station(base::OperatorDisplay &display,
            base::Prompter &prompter,
            base::Pacer &pacer,
            scanner::ScannerPort &port,
            listmanager::ListManagerProvider &provider,
            QString programDir,
            QString windowsDir,
            QObject *parent = nullptr,
            base::Clock &clock = base::Clock::real());
    ~Station() override;

    // Runs the start-up sequence. commandLineEmpty: no arguments but the toolkit's own.
    [[nodiscard]] Startup::Outcome start(bool commandLineEmpty);
    // Starts polling the scanner port at the interval of the settings.
    void startPolling();
    // Closes the port and releases the list manager objects.
    void shutdown();

    // The status line once start-up is done, when the settings file holds values that are not
    // used as written (base::Settings::problems); they hold nothing back.
    [[nodiscard]] static QString settingsProblemsStatus(qsizetype problems);
    // Why a label of nothing but blanks and control characters is not handled, as the journal
    // keeps it.
    [[nodiscard]] static QString ignoredReason();

    [[nodiscard]] base::Settings &settings() { return m_settings; }
    [[nodiscard]] base::Options &options() { return m_options; }
    [[nodiscard]] base::CurrentItem &item() { return m_item; }
    [[nodiscard]] listmanager::ListManagerLink &link() { return m_link; }
    [[nodiscard]] PortControl &portControl() { return m_portControl; }
    [[nodiscard]] base::ProductEnvironment &product() { return m_product; }
    // What the station's parts share, built once.
    [[nodiscard]] base::StationContext &context() { return m_context; }
    [[nodiscard]] label::LabelDispatcher &dispatcher() { return m_dispatcher; }
    [[nodiscard]] base::LabelGate &gate() { return m_gate; }
    [[nodiscard]] program::ProgramBarcode &programBarcode() { return m_programBarcode; }
    [[nodiscard]] scanner::ScanPoller &poller() { return m_poller; }
    [[nodiscard]] fieldsel::AutoSelSettingsProvider &autoSel() { return m_autoSel; }
    [[nodiscard]] fieldsel::FieldSelector &selector() { return m_selector; }
    [[nodiscard]] label::ItemSender &sender() { return m_sender; }
    [[nodiscard]] base::DoubleScanGuard &doubleScan() { return m_doubleScan; }
    [[nodiscard]] journal::JournalRecorder &recorder() { return m_recorder; }
    // Where the journal is kept (empty: nothing is journaled).
    [[nodiscard]] const QString &journalPath() const { return m_journalPath; }

    // What taking back the last item would remove, its rows named for the operator to
    // confirm; or, when it cannot be taken back now, why not (refusal) and no rows. Asked
    // while a label is in hand, it tells of the item before that label's.
    struct TakeBackQuery
    {
        QStringList rows;
        QString refusal;
    };
    [[nodiscard]] TakeBackQuery takeBackQuery();
    // The last item sent, as taking it back would see it (no rows: nothing to take back).
    [[nodiscard]] const SentItem &lastItem() const { return m_lastItem; }

    // What a tried label (tryLabel()) left behind.
    struct Tried
    {
        // The item as it stands, and the segments of it read so far (empty: no item waits for
        // more of its labels).
        base::CurrentItem item;
        QString segmentsSeen;
        // What a station that writes would have written, in words (base::FileWrites).
        QStringList notWritten;
    };

public Q_SLOTS:
    // A label to try, as the scanner would send it, on a station built to try labels
    // (StationBuilder::Mode::Try, its port in memory): read and handled at once, tick by tick
    // as the poller would over its intervals, each label it holds one by one. labelHandled()
    // and rowTried() tell what became of it. On a port not in memory nothing is tried.
    Tried tryLabel(const QByteArray &scanned);
    // A label typed in the main window's manual entry: handled as scanned ones are, and
    // journaled as typed; typedLabelDone() tells whether it was taken. One label at a time:
    // given while a label is in hand (in its pauses), it waits in a queue and is handled from
    // the event loop once that label is done, never inside that label's pauses. An error of
    // its handling is shown in a critical message box, and the label counts as not taken.
    void typeLabel(const QString &label);
    // The operator asked to take back the last item: takeBackAsked() tells what that would
    // remove, once no label is in hand (so that it names the rows that label may still add).
    // Asked again before then, it still tells once.
    void askTakeBack();
    // Writes an option switch to the settings file when the operator changes it.
    void writeOption(base::Options::Switch s, int value);
    // Takes the last item's rows out of the list again, journaled, when they are still the
    // rows the operator confirmed (takeBackQuery().rows) and it can be taken back now; not
    // while a label is in hand (see gate()). Returns why nothing (or not all) was taken back,
    // or an empty text.
    QString takeBackLastItem(const QStringList &confirmedRows);
    // The operator has seen that journal entries were lost: the journal's state stops telling.
    void acknowledgeLostEntries() { m_recorder.acknowledgeLost(); }

Q_SIGNALS:
    // An entry of the journal as it is made, and the state of the journal and of the
    // forwarding to the shop's server.
    void entryMade(const journal::Entry &entry);
    void journalStateChanged(const journal::JournalState &state);
    void shopStateChanged(const journal::ForwardState &state);
    // An item has been sent while "Show Program in Editor" is ticked: its program is to be
    // opened in the program editor.
    void editorRequested(const QString &programName);
    // A label has been handled: shownLabel as the journal keeps it, and what became of it.
    void labelHandled(const QString &shownLabel, const base::LabelOutcome &outcome);
    // The rows of the label just handled went to these work fields (two for a piece sent as
    // normal and mirror); x, y and program: the item as its rows carried it.
    void itemPlaced(const QStringList &fields,
                    const QString &x,
                    const QString &y,
                    const QString &program);
    // The scanner port's state, as it changes; device: the device the port opened or waits
    // for (may be empty).
    void portStateChanged(base::OperatorDisplay::PortState state, const QString &device);
    // A label given to typeLabel() has been handled; taken: a command, a field-code label or
    // a completed item (otherwise it stays in the entry for correction).
    void typedLabelDone(bool taken);
    // A tried label's row was sent to this work field; why: how the field selection table
    // chose it (a line, then the lines that explain it), or empty when the labels or the
    // default field gave it.
    void rowTried(const QString &field, const QStringList &why);
    // The answer to askTakeBack().
    void takeBackAsked(const Station::TakeBackQuery &query);

private:
    // What the builder sets before start(); nothing else changes it.
    friend class StationBuilder;
    // Where the journal is kept: the journal file, and the spill file for entries it cannot
    // take (empty: none). Without a journal file nothing is journaled.
    void setJournalPath(const QString &path, const QString &spillPath = {})
    {
        m_journalPath = path;
        m_spillPath = spillPath;
    }
    // How often, and how far apart, start-up looks for a list in the list manager.
    void setListWait(int passes, int intervalMs)
    {
        m_listWaitPasses = passes;
        m_listWaitIntervalMs = intervalMs;
    }
    // Where the single-instance lock is taken.
    void setInstanceLockDir(const QString &dir) { m_instances.setLockDir(dir); }
    // Takes the keys of the label handling from the settings in memory: the refusal reply,
    // the double-scan window and the label end. Start-up does this after reading the settings
    // file, and so does the builder of a station that tries labels.
    void applyLabelSettings();

    // Handles the typed labels that wait, one by one, while no label is in hand.
    void takeTypedLabels();
    // While a label is in hand: step is run again from the event loop once it is done (once,
    // however often this is asked), and true is returned. Waiting in place would stack an event
    // loop on the one the pauses of the label in hand run in, and neither could end.
    bool againWhenFree(void (Station::*step)());
    // A typed label handled now; whether it was taken.
    bool handleTyped(const QString &label);
    // A label for the dispatcher, journaled.
    bool interpretLabel(journal::Source source, const QString &label);
    void interpretProgramBarcode(const QString &label);
    // Expands a compressed label and hands the expansion back to the poller.
    void expandCompressedLabel(const QString &label);
    // Where the poller's labels go, and where what it shows goes.
    void connectPoller(base::OperatorDisplay &display);
    // Handles a label the poller emitted. An error of its handling ends the label in hand
    // (the poller is told) and is shown in a critical message box; the next label is taken.
    void handleScanned(const std::function<void()> &handle);
    void recordEvents();
    // Where every label's handling ends: journaled, told, and answered with the refusal reply
    // when the scanner sent a label that was refused.
    void decided(journal::Source source, const base::LabelOutcome &outcome);
    // The label in hand failed with error.
    void failed(const QString &error);
    // The scanner sent nothing but blanks and control characters: journaled, not handled.
    void ignore(const QString &scanned);
    // A row of the label in hand went into the list: journaled, then "ACK" when acknowledge.
    void rowSent(const QString &field, bool acknowledge);
    // Tells itemPlaced() of the rows sent since the last time, if any.
    void announcePlaced();

    base::Settings m_settings;
    base::Options m_options;
    base::CurrentItem m_item;
    journal::JournalRecorder m_recorder;
    QString m_journalPath;
    QString m_spillPath;
    // What the journal keeps of the compressed label whose expansion is handled next.
    std::optional<QString> m_compressed;
    // The work fields of the rows sent for the label in hand, and the item's dimensions.
    QStringList m_placedFields;
    QString m_placedX;
    QString m_placedY;
    QString m_placedProgram;
    // The texts of the rows the label in hand put into the list, and the last item that put
    // any there: what taking it back would remove.
    QStringList m_placedRows;
    SentItem m_lastItem;
    // The field selections already told by rowTried().
    quint64 m_selectionsTried = 0;
    // Typed labels given while a label was in hand, oldest first.
    QStringList m_typed;
    listmanager::ListManagerLink m_link;
    InstanceCounter m_instances;
    base::ProductEnvironment m_product;
    PortControl m_portControl;
    base::LabelGate m_gate;
    fieldsel::AutoSelSettingsProvider m_autoSel;
    fieldsel::FieldSelector m_selector;
    base::DoubleScanGuard m_doubleScan;
    base::FileWrites m_writes;
    // What the journal keeps of the label in hand.
    QString m_shownLabel;
    base::StationContext m_context;
    label::ItemSender m_sender;
    label::LabelDispatcher m_dispatcher;
    program::ProgramBarcode m_programBarcode;
    scanner::ScanPoller m_poller;
    ScannerReply m_reply;
    scanner::ScannerPort &m_port;
    int m_listWaitPasses = 50;
    int m_listWaitIntervalMs = 100;
};

} // namespace barlink::app
