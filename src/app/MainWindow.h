#pragma once

#include "base/OperatorDisplay.h"
#include "base/Options.h"
#include "fieldsel/PiecePlan.h"
#include "journal/Entry.h"
#include "journal/ForwardState.h"
#include "journal/Journal.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QTableView;

namespace Ui {
class MainWindow;
}

namespace barlink::label {
class LabelInterpreter;
} // namespace barlink::label

namespace barlink::fieldsel {
class TablePlanWidget;
} // namespace barlink::fieldsel

namespace barlink::app {

class RecentScansModel;

// frmMain: what the scanner delivered and what the station is doing, the manual
// label entry, the option switches and the menus.
class MainWindow : public QMainWindow, public base::OperatorDisplay
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Binds the option check boxes to the switches (both ways).
    void bindOptions(base::Options &options);
    // Where manual entry sends its labels; it takes them one at a time with the scanned ones.
    void setLabelInterpreter(label::LabelInterpreter *interpreter);

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
    void setPortState(PortState state, const QString &device) override;
    void beep() override;

    [[nodiscard]] bool exitRequested() const { return m_exitRequested; }

    // The state at a glance: the list manager's list (its run state and rows).
    void setListState(const QString &runState, int rows);
    // Where the journal's entries go (a lasting badge beside the list's).
    void setJournalState(const journal::JournalState &state);
    // How far the entries have got to the shop's server (a badge shown once this is called).
    void setShopState(const journal::ForwardState &state);
    // A journal entry as it is made: the recent scans, the last label and its outcome; a
    // refusal also flashes the status line.
    void showEntry(const journal::Entry &entry);
    // The recent scans as the journal held them at start, newest first.
    void setRecentEntries(const std::vector<journal::Entry> &entries);
    [[nodiscard]] RecentScansModel &recentScans() const { return *m_recent; }
    // Where the rows of the last item went on the machine table; caption names the item.
    void setPieces(std::vector<fieldsel::PlacedPiece> pieces, const QString &caption = {});
    // The text size of the whole window, as a factor of the system's (View > Larger text).
    void setFontScale(double scale);
    [[nodiscard]] double fontScale() const { return m_fontScale; }

Q_SIGNALS:
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
    // View > Larger text was switched: the factor to keep.
    void fontScaleChosen(double scale);
    // Help > Guide.
    void guideRequested();
    // "Take back last item": the operator asks to remove the rows the last item added.
    void takeBackRequested();
    // The window was closed with its close box (not with E&xit).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startManualEntry();
    void endManualEntry();
    void closeManualEntry();
    QCheckBox *checkBoxFor(base::Options::Switch s) const;
    void showOption(base::Options::Switch s, int value);
    void buildGlance();
    void flashStatus();

    std::unique_ptr<Ui::MainWindow> m_ui;
    std::array<QLabel *, SegmentCount> m_labId{};
    base::Options *m_options = nullptr;
    label::LabelInterpreter *m_interpreter = nullptr;
    bool m_exitRequested = false;
    // The status line's whole text; the line itself shows its beginning.
    QString m_status;
    QLabel *m_listState = nullptr;
    QLabel *m_journalState = nullptr;
    QLabel *m_shopCaption = nullptr;
    QLabel *m_shopState = nullptr;
    QLabel *m_lastLabel = nullptr;
    QTableView *m_recentView = nullptr;
    RecentScansModel *m_recent = nullptr;
    fieldsel::TablePlanWidget *m_plan = nullptr;
    QGroupBox *m_planBox = nullptr;
    QTimer m_flashTimer;
    double m_fontScale = 1.0;
};

} // namespace barlink::app
