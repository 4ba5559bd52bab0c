#pragma once

#include "ShiftCounts.h"
#include "fieldsel/PiecePlan.h"
#include "journal/Entry.h"

#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QBoxLayout;
class QGroupBox;
class QLabel;
class QTableView;

namespace barlink::base {
class Clock;
class Timer;
} // namespace barlink::base

namespace barlink::fieldsel {
class TablePlanWidget;
} // namespace barlink::fieldsel

namespace barlink::app {

class RecentScansModel;

// The station at a glance: the recent scans, the shift's counters with its last pieces, and
// where the last item's pieces went on the machine table. Two more boxes go under its columns
// where it is wide enough, else in a row (or one under the other) beneath it.
class GlancePanel : public QWidget
{
    Q_OBJECT
public:
    // clock: the time of day the shift is counted by.
    GlancePanel(base::Clock &clock, QWidget *parent = nullptr);
    ~GlancePanel() override;

    // The boxes under the columns: left under the shift, right under the plan.
    void setBeneath(QWidget *left, QWidget *right);
    // A journal entry as it is made: the recent scans and, for a label, the counters.
    void showEntry(const journal::Entry &entry);
    // The recent scans as the journal held them at start, newest first.
    void setRecentEntries(const std::vector<journal::Entry> &entries);
    [[nodiscard]] RecentScansModel &recentScans() const { return *m_recent; }
    // When a shift begins (invalid: at midnight); the counters start afresh at each.
    void setShiftStart(QTime start);
    // The entries of the shift under way when the window opens, oldest first.
    void countShiftEntries(const std::vector<journal::Entry> &entries);
    [[nodiscard]] const ShiftCounts &shiftCounts() const { return m_shift; }
    // Where the rows of the last item went on the machine table; caption names the item.
    void setPieces(fieldsel::TablePlan plan, const QString &caption = {});
    // The counters' colours for high contrast or the system's.
    void setHighContrast(bool on);
    // At each text size: the recent scans keep rowsShown rows in view, the time and label
    // columns fit their usual texts, the last pieces keep their room. Returns the least height
    // that keeps the recent scans in view.
    int keepMinimumSizes(int rowsShown);
    // The least width at which no box is cut: each box at its least, one under the other.
    [[nodiscard]] int leastWidth() const;
    // Lays out the boxes for width: see setBeneath(). While a box under them keeps a least
    // height of its own, holds the glance to the height its layout needs at that width.
    void fit(int width);

Q_SIGNALS:
    // A recent scan was activated (Enter or a double click).
    void entryActivated(const journal::Entry &entry);

private:
    void showShift();

    base::Clock &m_clock;
    RecentScansModel *m_recent = nullptr;
    QTableView *m_recentView = nullptr;
    // The rows' least height as the style has it, for when touch is switched off.
    int m_usualLeastRowHeight = 0;
    QGroupBox *m_recentBox = nullptr;
    QGroupBox *m_shiftBox = nullptr;
    std::array<QLabel *, 3> m_counters{};
    QLabel *m_pieces = nullptr;
    QGroupBox *m_planBox = nullptr;
    QLabel *m_planCaption = nullptr;
    fieldsel::TablePlanWidget *m_plan = nullptr;
    QWidget *m_left = nullptr;
    QWidget *m_right = nullptr;
    QBoxLayout *m_row = nullptr;
    QBoxLayout *m_leftColumn = nullptr;
    QBoxLayout *m_rightColumn = nullptr;
    QBoxLayout *m_beneathRow = nullptr;
    ShiftCounts m_shift;
    // Moves the counters to a new shift when one begins with no label handled.
    std::unique_ptr<base::Timer> m_shiftTimer;
};

} // namespace barlink::app
