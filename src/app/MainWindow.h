#pragma once

#include "ScanResult.h"
#include "ShiftCounts.h"
#include "base/OperatorDisplay.h"
#include "base/Options.h"
#include "fieldsel/PiecePlan.h"
#include "journal/Entry.h"
#include "journal/ForwardState.h"
#include "journal/Journal.h"
#include "listmanager/ListWatch.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

class QActionGroup;
class QBoxLayout;
class QCheckBox;
class QGroupBox;
class QLabel;
class QScrollArea;
class QTableView;
class QToolButton;

namespace Ui {
class MainWindow;
}

namespace barlink::fieldsel {
class TablePlanWidget;
} // namespace barlink::fieldsel

namespace barlink::base {
class Clock;
class Timer;
} // namespace barlink::base

namespace barlink::app {

class RecentScansModel;
class Station;

// frmMain: what the scanner delivered and what the station is doing, the manual
// label entry, the option switches and the menus.
class MainWindow : public QMainWindow, public base::OperatorDisplay
{
    Q_OBJECT
public:
    // clock: the time of day the window shows ("since 09:05") and counts the shift by.
    explicit MainWindow(QWidget *parent = nullptr, base::Clock *clock = nullptr);
    ~MainWindow() override;

    // Shows what the station does as it does it: each label's entry (the result, the recent
    // scans, the counters) and, with it, where its pieces went on the machine table. Manual
    // entry hands its labels to the station, which takes them one at a time with the scanned
    // ones.
    void watch(Station &station);

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
    void setCurrentSettings(const QString &text) override;
    void beep() override;

    [[nodiscard]] bool exitRequested() const { return m_exitRequested; }
    // Where the result (and the banner above it) ends on the screen, in global coordinates.
    [[nodiscard]] int resultBottom() const;

    // The state at a glance: the list manager's list (its run state and rows), or why the list
    // manager cannot be reached.
    void setListState(const listmanager::ListState &state);
    // Where the journal's entries go (a lasting badge beside the list's).
    void setJournalState(const journal::JournalState &state);
    // How far the entries have got to the shop's server (a badge shown once this is called).
    void setShopState(const journal::ForwardState &state);
    // A journal entry as it is made: the recent scans, the last label and its outcome; a
    // refusal also flashes the status line.
    void showEntry(const journal::Entry &entry);
    // The recent scans as the journal held them at start, newest first.
    void setRecentEntries(const std::vector<journal::Entry> &entries);
    // When a shift begins (invalid: at midnight); the counters start afresh at each.
    void setShiftStart(QTime start);
    // The entries of the shift under way when the window opens, oldest first.
    void countShiftEntries(const std::vector<journal::Entry> &entries);
    [[nodiscard]] const ShiftCounts &shiftCounts() const { return m_shift; }
    [[nodiscard]] RecentScansModel &recentScans() const { return *m_recent; }
    // Where the rows of the last item went on the machine table; caption names the item.
    void setPieces(fieldsel::TablePlan plan, const QString &caption = {});
    // The text size of every window, as a factor of the system's (View > Text size).
    void setFontScale(double scale);
    [[nodiscard]] double fontScale() const { return m_fontScale; }
    // Every window in the high-contrast colours or the system's (View > High contrast).
    void setHighContrast(bool on);

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
    // View > High contrast was switched: the choice to keep.
    void highContrastChosen(bool on);
    // Help > Guide.
    void guideRequested();
    // The window was closed with its close box (not with E&xit).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startManualEntry();
    void endManualEntry();
    void closeManualEntry();
    QCheckBox *checkBoxFor(base::Options::Switch s) const;
    void showOption(base::Options::Switch s, int value);
    void buildGlance();
    void buildResult();
    void buildViewMenu();
    void flashStatus();
    void showResult(const ScanResult &result);
    // At each text size: the result area keeps one height for the usual results and room
    // for its texts beside the word, and the scrolled area below it room for the recent
    // scans' rows.
    void keepMinimumSizes();
    void showShift();
    // The scrolled area's contents sized to it.
    void fitGlance();
    void fitPortRow();
    // The last label's line, cut to its width.
    void showLastLabel();

    std::unique_ptr<Ui::MainWindow> m_ui;
    std::array<QLabel *, SegmentCount> m_labId{};
    base::Options *m_options = nullptr;
    // A typed label was given and its outcome is awaited: OK meanwhile gives nothing more.
    bool m_typedWaiting = false;
    bool m_exitRequested = false;
    // The status line's whole text; the line itself shows its beginning.
    QString m_status;
    QLabel *m_listState = nullptr;
    QLabel *m_journalState = nullptr;
    QToolButton *m_journalLostOk = nullptr;
    QLabel *m_shopCaption = nullptr;
    QLabel *m_shopState = nullptr;
    QLabel *m_lastLabel = nullptr;
    QTableView *m_recentView = nullptr;
    QGroupBox *m_recentBox = nullptr;
    RecentScansModel *m_recent = nullptr;
    fieldsel::TablePlanWidget *m_plan = nullptr;
    QGroupBox *m_planBox = nullptr;
    QLabel *m_planCaption = nullptr;
    QTimer m_flashTimer;
    double m_fontScale = 1.0;
    base::Clock *m_clock = nullptr;
    // Moves the counters to a new shift when one begins with no label handled.
    std::unique_ptr<base::Timer> m_shiftTimer;
    ShiftCounts m_shift;
    QGroupBox *m_shiftBox = nullptr;
    std::array<QLabel *, 3> m_counters{};
    QLabel *m_pieces = nullptr;
    ScanResult::Tone m_resultTone = ScanResult::Tone::Ready;
    // Since when the port waits for the scanner; invalid while it does not.
    QDateTime m_waitingSince;
    QActionGroup *m_textSizes = nullptr;
    // The window's contents, scrolled when they are taller than the screen.
    QScrollArea *m_wholeWindow = nullptr;
    // The switches' flags when they do not fit beside the segments received.
    QBoxLayout *m_flagRow = nullptr;
    // The list's, the journal's and the shop's badges with their captions, and the line they
    // go to under the port's where the screen is too narrow for both (see fitPortRow).
    QList<QWidget *> m_badges;
    QBoxLayout *m_badgeRow = nullptr;
    QAction *m_fullScreen = nullptr;
    QAction *m_highContrast = nullptr;
};

} // namespace barlink::app
