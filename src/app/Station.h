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
// windows what became of it through its signals; the scanner hears one reply, after the
// journal (ScannerReply). Runs headless: the window, the message boxes, the pauses, the port
// and the list manager come in from outside. Only StationBuilder makes one; the windows see
// its settings read-only and speak to it through its slots and calls.
class Station : public QObject
{
    Q_OBJECT
public:
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
    [[nodiscard]] static base::Reason ignoredReason();

    // The settings as the station runs on them, read-only: the dialogs that change them go
    // through the station's parts (portControl(), fieldSelectionToEdit()) or its writes.
    [[nodiscard]] const base::Settings &settings() const { return m_settings; }
    // The option switches, as a model the main window's check boxes bind to.
    [[nodiscard]] base::Options &options() { return m_options; }
    // The item being collected.
    [[nodiscard]] const base::CurrentItem &item() const { return m_item; }
    // The segments of the item read so far (empty: no item waits for more of its labels).
    [[nodiscard]] QString segmentsSeen() const { return m_dispatcher.segmentsSeen(); }
    // The field selection table (read from its file at the first call).
    [[nodiscard]] const fieldsel::AutoSelSettings &fieldSelection() { return m_autoSel.settings(); }
    // The field selection table for the dialog that edits it in place.
    [[nodiscard]] fieldsel::AutoSelSettings &fieldSelectionToEdit() { return m_autoSel.settings(); }
    // The scanner port's control, for the port settings dialog that chooses and reopens it.
    [[nodiscard]] PortControl &portControl() { return m_portControl; }
    [[nodiscard]] const base::ProductEnvironment &product() const { return m_product; }
    // Where the journal is kept (empty: nothing is journaled), and the shop's server its
    // entries are forwarded to (empty: none).
    [[nodiscard]] const QString &journalPath() const { return m_journalPath; }
    [[nodiscard]] QString journalServer() const { return m_recorder.server(); }

    // What a station that writes would have written since the last call, in words
    // (base::FileWrites); a station that writes keeps nothing here.
    [[nodiscard]] QList<base::Reason> takeNotWritten() { return m_writes.takeSkipped(); }
    // Reads the scanner port at once, tick by tick as the poller would over its intervals,
    // until what it held is handled (nothing waits in the port, no label is being put
    // together and no quiet waited for) or maxTicks have passed: a port in memory, whose
    // bytes are all there at once.
    void readScannerNow(int maxTicks);
    // Shows the list manager's window, reaching the list manager first when the station has
    // not yet. Throws base::Error when the list manager cannot be reached.
    void showList();
    // Write the text size, the high-contrast look and the touch targets to the settings file;
    // each throws base::Error when the file cannot be written.
    void writeFontScale(double scale);
    void writeHighContrast(bool on);
    void writeTouch(bool on);

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

public Q_SLOTS:
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
    // A row was sent to this work field; why: how the field selection table chose it (a line,
    // then the lines that explain it), or empty when the labels or the default field gave it,
    // or the table's choice was told before. Worded, and emitted, only while a receiver is
    // connected (the try run).
    void rowTried(const QString &field, const QStringList &why);
    // The port settings dialog is wanted: the port could not be opened.
    void portSettingsRequested();
    // Entries went into the station's journal file.
    void journalWritten();
    // The answer to askTakeBack().
    void takeBackAsked(const Station::TakeBackQuery &query);

private:
    // Only the builder makes a station; the probe of the tests reaches its parts.
    friend class StationBuilder;
    friend class StationProbe;
    // clock: the poller's intervals, the port's reconnection attempts, start-up's wait for a
    // list and the double-scan window.
    Station(base::OperatorDisplay &display,
            base::Prompter &prompter,
            base::Pacer &pacer,
            scanner::ScannerPort &port,
            listmanager::ListManagerProvider &provider,
            QString programDir,
            QString windowsDir,
            QObject *parent = nullptr,
            base::Clock &clock = base::Clock::real());

    // What the builder sets before start(); nothing else changes it.
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
    void failed(const base::Reason &error);
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
    base::Clock &m_clock;
    ScannerReply m_reply;
    // The port readScannerNow() asks whether bytes wait.
    scanner::ScannerPort &m_port;
    int m_listWaitPasses = 50;
    int m_listWaitIntervalMs = 100;
};

} // namespace barlink::app
