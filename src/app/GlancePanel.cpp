#include "GlancePanel.h"

#include "PanelLook.h"
#include "RecentScansModel.h"
#include "ScanResult.h"
#include "base/Clock.h"
#include "fieldsel/TablePlanWidget.h"
#include "ui/Appearance.h"
#include "ui/Language.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace barlink::app {

namespace {

// The counters are this much larger than the rest of the window.
constexpr qreal CounterScale = 1.2;

// How often the counters look whether a new shift has begun.
constexpr int ShiftCheckMilliseconds = 60'000;

// How many recent scans the model keeps.
constexpr int RecentScansKept = 50;

// Taken in green, refused and failed in red; the dark ones would hardly show on the black of
// high contrast, which gets lighter ones.
void colourCounters(const std::array<QLabel *, 3> &counters, bool highContrast)
{
    const std::array<const char *, 3> colours = highContrast
                                                    ? std::array{"#a5d6a7", "#ef9a9a", "#ef9a9a"}
                                                    : std::array{"#1b5e20", "#b71c1c", "#b71c1c"};
    for (std::size_t i = 0; i < counters.size(); ++i)
        counters[i]->setStyleSheet(
            QStringLiteral("QLabel { color: %1; }").arg(QLatin1String(colours[i])));
}

} // namespace

GlancePanel::GlancePanel(base::Clock &clock, QWidget *parent)
    : QWidget(parent)
    , m_clock(clock)
{
    // The recent scans beside the plan of the machine table, taking the room that is left.
    m_recent = new RecentScansModel(RecentScansKept, this);
    m_recentView = new QTableView(this);
    m_recentView->setObjectName(QStringLiteral("lstRecent"));
    m_recentView->setModel(m_recent);
    m_recentView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_recentView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_recentView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_recentView->setWordWrap(false);
    m_recentView->verticalHeader()->setVisible(false);
    m_recentView->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_usualLeastRowHeight = m_recentView->verticalHeader()->minimumSectionSize();
    m_recentView->horizontalHeader()->setStretchLastSection(true);
    m_recentView->setToolTip(tr("Enter or a double click shows a scan in the journal"));
    // Tab goes on to the next control, not to the next cell.
    m_recentView->setTabKeyNavigation(false);
    // Enter, and a double click, activate a row.
    connect(m_recentView, &QTableView::activated, this, [this](const QModelIndex &index) {
        if (index.isValid())
            Q_EMIT entryActivated(m_recent->entryAt(index.row()));
    });
    m_recentBox = new QGroupBox(tr("Recent scans"), this);
    m_recentBox->setObjectName(QStringLiteral("fraRecent"));
    (new QVBoxLayout(m_recentBox))->addWidget(m_recentView);

    m_plan = new fieldsel::TablePlanWidget(this);
    m_plan->setObjectName(QStringLiteral("picTable"));
    m_plan->setToolTip(tr("Where the last item went on the machine table"));
    m_planBox = new QGroupBox(tr("Where the piece goes"), this);
    m_planBox->setObjectName(QStringLiteral("fraTable"));
    // The item and where its pieces go, wrapped under the title: a long caption never
    // widens the box at the recent scans' expense.
    m_planCaption = new QLabel(m_planBox);
    m_planCaption->setObjectName(QStringLiteral("lblPlanCaption"));
    m_planCaption->setWordWrap(true);
    m_planCaption->setText(tr("No item yet"));
    m_planCaption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *planLayout = new QVBoxLayout(m_planBox);
    planLayout->addWidget(m_planCaption);
    planLayout->addWidget(m_plan, 1);

    // The shift's counters and its last pieces under the recent scans.
    m_shiftBox = new QGroupBox(this);
    m_shiftBox->setObjectName(QStringLiteral("fraShift"));
    auto *shiftLayout = new QVBoxLayout(m_shiftBox);
    auto *counterRow = new QHBoxLayout;
    const std::array<const char *, 3> names{"lblTaken", "lblRefused", "lblFailed"};
    for (std::size_t i = 0; i < m_counters.size(); ++i) {
        m_counters[i] = new QLabel(m_shiftBox);
        m_counters[i]->setObjectName(QLatin1String(names[i]));
        keepScaled(m_counters[i], CounterScale, true);
        counterRow->addWidget(m_counters[i]);
    }
    colourCounters(m_counters, false);
    counterRow->addStretch(1);
    shiftLayout->addLayout(counterRow);
    m_pieces = new QLabel(m_shiftBox);
    m_pieces->setObjectName(QStringLiteral("lblLastPieces"));
    m_pieces->setTextFormat(Qt::PlainText);
    m_pieces->setToolTip(tr("The last pieces sent to the list in this shift, newest first"));
    m_pieces->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    shiftLayout->addWidget(m_pieces);

    // The recent scans come first, so that they stay in view, with the shift under them and
    // the plan beside both.
    m_leftColumn = new QVBoxLayout;
    m_leftColumn->addWidget(m_recentBox, 1);
    m_leftColumn->addWidget(m_shiftBox);
    m_rightColumn = new QVBoxLayout;
    m_rightColumn->addWidget(m_planBox, 1);
    m_row = new QHBoxLayout;
    m_row->addLayout(m_leftColumn, 3);
    m_row->addLayout(m_rightColumn, 2);
    m_beneathRow = new QHBoxLayout;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_row, 1);
    layout->addLayout(m_beneathRow);

    m_shift.moveTo(m_clock.currentTime());
    m_shiftTimer = m_clock.makeTimer();
    m_shiftTimer->setInterval(ShiftCheckMilliseconds);
    connect(m_shiftTimer.get(), &base::Timer::timeout, this, [this] {
        if (m_shift.moveTo(m_clock.currentTime()))
            showShift();
    });
    m_shiftTimer->start();
    showShift();
}

GlancePanel::~GlancePanel() = default;

void GlancePanel::setBeneath(QWidget *left, QWidget *right)
{
    m_left = left;
    m_right = right;
    m_leftColumn->addWidget(left);
    m_rightColumn->addWidget(right);
}

void GlancePanel::showEntry(const journal::Entry &entry)
{
    m_recent->add(entry);
    m_shift.moveTo(entry.time);
    m_shift.add(entry);
    showShift();
}

void GlancePanel::setRecentEntries(const std::vector<journal::Entry> &entries)
{
    m_recent->setEntries(entries);
}

void GlancePanel::setShiftStart(QTime start)
{
    m_shift = ShiftCounts(start);
    m_shift.moveTo(m_clock.currentTime());
    showShift();
}

void GlancePanel::countShiftEntries(const std::vector<journal::Entry> &entries)
{
    for (const journal::Entry &entry : entries)
        m_shift.add(entry);
    showShift();
}

void GlancePanel::showShift()
{
    m_shiftBox->setTitle(
        tr("This shift, since %1")
            .arg(ui::shownLocale().toString(m_shift.began(), QStringLiteral("ddd d MMM HH:mm"))));
    m_counters[0]->setText(tr("\u2714 %n taken", nullptr, m_shift.taken()));
    m_counters[1]->setText(tr("\u2716 %n refused", nullptr, m_shift.refused()));
    m_counters[2]->setText(tr("\u2716 %n failed", nullptr, m_shift.failed()));
    QStringList lines;
    for (const ShiftCounts::Piece &piece : m_shift.pieces()) {
        QString line = piece.entry.time.toLocalTime().toString(QStringLiteral("HH:mm"))
                       + QStringLiteral("  ") + ScanResult::pieceWords(piece.entry, piece.fields);
        if (piece.rows > 1)
            line += QLatin1Char(' ') + tr("(%1 rows)").arg(piece.rows);
        lines << line;
    }
    m_pieces->setText(lines.isEmpty() ? tr("No piece sent yet in this shift.") : lines.join(u'\n'));
}

void GlancePanel::setPieces(fieldsel::TablePlan plan, const QString &caption)
{
    m_planCaption->setText(caption.isEmpty() ? tr("No item yet") : caption);
    m_plan->setPlan(std::move(plan));
}

void GlancePanel::setHighContrast(bool on)
{
    colourCounters(m_counters, on);
}

int GlancePanel::keepMinimumSizes(int rowsShown)
{
    // The time and label columns fit their usual texts at this size; the outcome takes the rest.
    const QFontMetrics metrics(font());
    m_recentView->setColumnWidth(RecentScansModel::Time,
                                 metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 16);
    m_recentView->setColumnWidth(RecentScansModel::Label,
                                 metrics.horizontalAdvance(QStringLiteral("%12PANEL.CNC N1 X"))
                                     + 16);
    // Room for every piece kept, so that nothing moves as pieces come.
    m_pieces->setMinimumHeight(QFontMetrics(m_pieces->font()).lineSpacing()
                               * ShiftCounts::PiecesKept);
    // Rows a gloved finger can pick, with touch.
    const QFontMetrics text(m_recentView->font());
    const int rowHeight = std::max(text.height() + 6, ui::touchTarget());
    m_recentView->verticalHeader()->setMinimumSectionSize(ui::touch() ? rowHeight
                                                                      : m_usualLeastRowHeight);
    m_recentView->resizeRowsToContents();
    m_recentView->setMinimumHeight(m_recentView->horizontalHeader()->sizeHint().height()
                                   + rowsShown * rowHeight + 2 * m_recentView->frameWidth());
    return m_recentBox->minimumSizeHint().height();
}

int GlancePanel::leastWidth() const
{
    int least = m_planBox->minimumSizeHint().width();
    for (const QWidget *beneath : {m_left, m_right})
        if (beneath)
            least = std::max(least, beneath->minimumSizeHint().width());
    return least;
}

void GlancePanel::fit(int width)
{
    if (!m_left || !m_right)
        return;
    // Wide enough, the left box goes under the shift and the right one under the plan, in the
    // room the plan can give up; else both in a row under them, leaving the recent scans the
    // width.
    const bool wide = width / 2 >= m_right->minimumSizeHint().width();
    if (wide != (m_rightColumn->indexOf(m_right) >= 0)) {
        for (QBoxLayout *place : {m_leftColumn, m_rightColumn, m_beneathRow}) {
            place->removeWidget(m_left);
            place->removeWidget(m_right);
        }
        (wide ? m_leftColumn : m_beneathRow)->addWidget(m_left);
        (wide ? m_rightColumn : m_beneathRow)->addWidget(m_right);
    }
    // Too narrow even for that, the right box goes under the left one.
    const int sideBySide = m_left->minimumSizeHint().width() + m_beneathRow->spacing()
                           + m_right->minimumSizeHint().width();
    m_beneathRow->setDirection(width >= sideBySide ? QBoxLayout::LeftToRight
                                                   : QBoxLayout::TopToBottom);
    // Likewise the plan goes under the recent scans and the shift where it does not fit
    // beside them (the shift's lines of pieces are long at the largest text).
    const int besidePlan
        = std::max(m_recentBox->minimumSizeHint().width(), m_shiftBox->minimumSizeHint().width())
          + m_row->spacing() + m_planBox->minimumSizeHint().width();
    m_row->setDirection(wide || width >= besidePlan ? QBoxLayout::LeftToRight
                                                    : QBoxLayout::TopToBottom);
    // A box under them that must keep its height (the manual entry holding its keypad) would
    // be laid over the next one where the glance is given less than its layout needs at that
    // width: the parts whose height follows their width take that height first, the others
    // share what is left. The glance is held to that need while such a box is there; else
    // the parts make do with their least, as they can.
    int height = 0;
    if (m_left->minimumHeight() > 0 || m_right->minimumHeight() > 0) {
        QLayout *glance = layout();
        glance->activate();
        height = glance->spacing() * (glance->count() - 1);
        for (int i = 0; i < glance->count(); ++i) {
            const QLayoutItem *part = glance->itemAt(i);
            height += part->hasHeightForWidth() ? part->heightForWidth(width)
                                                : part->minimumSize().height();
        }
    }
    setMinimumHeight(height);
}

} // namespace barlink::app
