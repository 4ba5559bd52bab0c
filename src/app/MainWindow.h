#pragma once

#include "GlancePanel.h"
#include "PortPanel.h"
#include "ResultPanel.h"
#include "base/OperatorDisplay.h"
#include "base/Options.h"

#include <QDateTime>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <utility>
#include <vector>

class QActionGroup;
class QLabel;
class QScrollArea;

namespace Ui {
class MainWindow;
}

namespace barlink::base {
class Clock;
} // namespace barlink::base

namespace barlink::app {

class ManualEntryPanel;
class OptionsPanel;
class ScanPanel;

// frmMain: the result, the station at a glance, the manual entry, the option switches, the
// port's row and the status line, each a panel of its own; the menus; and what the label
// handling shows (base::OperatorDisplay). Knows nothing of the station: showStationOn()
// connects the two.
class MainWindow : public QMainWindow, public base::OperatorDisplay
{
    Q_OBJECT
public:
    // clock: the time of day the window shows ("since 09:05") and counts the shift by.
    explicit MainWindow(QWidget *parent = nullptr, base::Clock *clock = nullptr);
    ~MainWindow() override;

    // Binds the option check boxes to the switches (both ways).
    void bindOptions(base::Options &options);
    // Enables the menu commands whose signal below is connected; the others stay disabled.
    void enableMenus();

    // OperatorDisplay
    void setStatus(const QString &text) override;
    [[nodiscard]] QString status() const override;
    void setSegmentIndicator(Segment segment, bool visible) override;
    void setAutoFieldSelectionVisible(bool visible) override;
    void setExclusionText(const QString &text) override;
    void setLastScan(const QString &text) override;
    void setActivity(bool visible, const QString &caption) override;
    void setCurrentSettings(const QString &text) override { m_portRow->setCurrentSettings(text); }
    void beep() override;

    // The state at a glance: the list manager's list (its run state and rows), or why the list
    // manager cannot be reached.
    void setListState(const listmanager::ListState &state);
    // Where the journal's entries go (a lasting badge beside the list's).
    void setJournalState(const journal::JournalState &state) { m_portRow->setJournalState(state); }
    // How far the entries have got to the shop's server (a badge shown once this is called).
    void setShopState(const journal::ForwardState &state) { m_portRow->setShopState(state); }
    // A journal entry as it is made: the recent scans, the last label and its outcome; a
    // refusal also flashes the status line.
    void showEntry(const journal::Entry &entry);
    // The recent scans as the journal held them at start, newest first.
    void setRecentEntries(const std::vector<journal::Entry> &entries)
    {
        m_glance->setRecentEntries(entries);
    }
    // When a shift begins (invalid: at midnight); the counters start afresh at each.
    void setShiftStart(QTime start) { m_glance->setShiftStart(start); }
    // The entries of the shift under way when the window opens, oldest first.
    void countShiftEntries(const std::vector<journal::Entry> &entries)
    {
        m_glance->countShiftEntries(entries);
    }
    [[nodiscard]] const ShiftCounts &shiftCounts() const { return m_glance->shiftCounts(); }
    [[nodiscard]] RecentScansModel &recentScans() const { return m_glance->recentScans(); }
    // Where the rows of the last item went on the machine table; caption names the item.
    void setPieces(fieldsel::TablePlan plan, const QString &caption = {})
    {
        m_glance->setPieces(std::move(plan), caption);
    }
    // A piece sent as normal and mirror, told entry by entry: the result names both fields.
    void showPiecePair(const journal::Entry &piece, const QStringList &fields)
    {
        m_result->showPiecePair(piece, fields);
    }
    // The text size of every window, as a factor of the system's (View > Text size).
    void setFontScale(double scale);
    [[nodiscard]] double fontScale() const { return m_fontScale; }
    // Every window in the high-contrast colours or the system's (View > High contrast).
    void setHighContrast(bool on);
    // Places window where it covers neither the result band nor its headline, within the
    // screen: at normalSize (with its frame, at the system's text size) grown with the text in
    // force, or by default at the size it asks for; and again at each change of text size while
    // it is shown.
    void placeOffTheResult(QWidget *window, QSize normalSize = {});
    // The result band on the screen: what the operator reads first, which no window covers.
    [[nodiscard]] QRect resultOnScreen() const;
    // Targets for a gloved finger and the manual entry's keypad, or the usual (View > Touch).
    void setTouch(bool on);

public Q_SLOTS:
    // Whether the last item can be taken back now; what: the rows it would remove, or why not.
    void setTakeBackAvailable(bool available, const QString &what);
    // The scanner port's state, shown at all times; device: the device the port opened or
    // waits for (may be empty).
    void setPortState(base::OperatorDisplay::PortState state, const QString &device);
    // The label last given by labelTyped() has been handled: taken closes the entry, otherwise
    // it stays for correction.
    void typedLabelDone(bool taken);

Q_SIGNALS:
    // The operator typed this label and pressed OK; typedLabelDone() is to follow.
    void labelTyped(const QString &label);
    // The operator asked to take back the last item (the button or Tools > Take back).
    void takeBackRequested();
    // The operator has seen that journal entries were lost.
    void lostEntriesSeen();
    // Menu commands whose windows live elsewhere.
    void portSettingsRequested();
    void autoFieldSelectRequested();
    void exclusionInsertionRequested();
    void aboutRequested();
    // The List Manager window is to be shown again once it has been closed.
    void listManagerRequested();
    // View > Journal.
    void journalRequested();
    // Tools > Try a label….
    void tryRequested();
    // A recent scan was double-clicked: the journal is to be shown at its entry.
    void journalEntryRequested(const journal::Entry &entry);
    // View > Text size was changed: the factor to keep.
    void fontScaleChosen(double scale);
    // The window took its size for a new text size, and the windows kept off the result took
    // their places: a window of another program kept off it is to be placed again.
    void resultMoved();
    // View > High contrast was switched: the choice to keep.
    void highContrastChosen(bool on);
    // View > Touch was switched: the choice to keep.
    void touchChosen(bool on);
    // Help > Guide.
    void guideRequested();
    // The window was closed with its close box (not with E&xit).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildViewMenu();
    void flashStatus();
    // At each text size: the result keeps its room, the scrolled area below it room for the
    // recent scans' rows, and nothing is narrower than its parts at their least.
    void keepMinimumSizes();
    // The scrolled area's parts laid out for its width.
    void fitGlance();
    void placeWindow(QWidget *window, QSize normalSize) const;

    std::unique_ptr<Ui::MainWindow> m_ui;
    base::Clock *m_clock = nullptr;
    ResultPanel *m_result = nullptr;
    GlancePanel *m_glance = nullptr;
    ManualEntryPanel *m_manualEntry = nullptr;
    OptionsPanel *m_optionSwitches = nullptr;
    PortPanel *m_portRow = nullptr;
    ScanPanel *m_indicators = nullptr;
    // The status line's whole text; the line itself shows its beginning.
    QString m_status;
    QTimer m_flashTimer;
    double m_fontScale = 1.0;
    // Since when the port waits for the scanner; invalid while it does not.
    QDateTime m_waitingSince;
    QActionGroup *m_textSizes = nullptr;
    // The window's contents, scrolled when they are taller than the screen.
    QScrollArea *m_wholeWindow = nullptr;
    QAction *m_fullScreen = nullptr;
    QAction *m_highContrast = nullptr;
    // The windows placeOffTheResult() keeps off the result band, with their usual sizes.
    std::vector<std::pair<QPointer<QWidget>, QSize>> m_placed;
    QAction *m_touch = nullptr;
};

} // namespace barlink::app
