#pragma once

#include "InstanceCounter.h"
#include "PortControl.h"
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
#include "label/LabelInterpreter.h"
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
class OperatorDisplay;
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

    // Takes the keys of the label handling from the settings in memory: the refusal reply
    // and the double-scan window. Start-up does this after reading the settings file.
    void applyLabelSettings();
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
    [[nodiscard]] base::FileWrites &writes() { return m_writes; }
    // The main window's manual entry hands its labels to typeLabel() through this.
    [[nodiscard]] label::LabelInterpreter &manualEntry() { return m_manualEntry; }
    [[nodiscard]] journal::JournalRecorder &recorder() { return m_recorder; }
    // Where the journal is kept; set before start(). Without it nothing is journaled.
    // The journal file, and the spill file for entries it cannot take (empty: none).
    void setJournalPath(const QString &path, const QString &spillPath = {})
    {
        m_journalPath = path;
        m_spillPath = spillPath;
    }
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

    // Lets tests keep the wait for a list short.
    void setListWait(int passes, int intervalMs)
    {
        m_listWaitPasses = passes;
        m_listWaitIntervalMs = intervalMs;
    }
    // Lets tests keep the single-instance lock out of the user's folder.
    void setInstanceLockDir(const QString &dir) { m_instances.setLockDir(dir); }

public Q_SLOTS:
    // A label typed in the main window's manual entry: handled as scanned ones are, and
    // journaled as typed. One label at a time: a scanned label in hand is finished first,
    // window events running meanwhile. Returns whether the label was taken; an error of its
    // handling is thrown to the caller.
    bool typeLabel(const QString &label);
    // Writes an option switch to the settings file when the operator changes it.
    void writeOption(base::Options::Switch s, int value);
    // Takes the last item's rows out of the list again, journaled, when they are still the
    // rows the operator confirmed (takeBackQuery().rows) and it can be taken back now; not
    // while a label is in hand (see gate()). Returns why nothing (or not all) was taken back,
    // or an empty text.
    QString takeBackLastItem(const QStringList &confirmedRows);

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

private:
    class ManualEntry : public label::LabelInterpreter
    {
    public:
        explicit ManualEntry(Station &station)
            : m_station(station)
        {}
        bool interpretLabel(const QString &label) override;

    private:
        Station &m_station;
    };

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
    ManualEntry m_manualEntry{*this};
    listmanager::ListManagerLink m_link;
    InstanceCounter m_instances;
    base::ProductEnvironment m_product;
    PortControl m_portControl;
    base::LabelGate m_gate;
    fieldsel::AutoSelSettingsProvider m_autoSel;
    fieldsel::FieldSelector m_selector;
    base::DoubleScanGuard m_doubleScan;
    base::FileWrites m_writes;
    QByteArray m_refuseReply;
    // What the journal keeps of the label in hand.
    QString m_shownLabel;
    base::StationContext m_context;
    label::ItemSender m_sender;
    label::LabelDispatcher m_dispatcher;
    program::ProgramBarcode m_programBarcode;
    scanner::ScanPoller m_poller;
    int m_listWaitPasses = 50;
    int m_listWaitIntervalMs = 100;
};

} // namespace barlink::app
