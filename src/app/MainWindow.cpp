#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "FontScale.h"
#include "PlanCaption.h"
#include "RecentScansModel.h"
#include "ScanWords.h"
#include "Station.h"
#include "base/Clock.h"
#include "base/Reasons.h"
#include "base/StatusTexts.h"
#include "fieldsel/PiecePlan.h"
#include "fieldsel/TablePlanWidget.h"
#include "ui/Appearance.h"
#include "ui/Language.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMetaMethod>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

namespace barlink::app {

namespace {

// The list's run states as the list manager names them, translated when shown: idle, running,
// held (the badge's), ended (the embedded list manager's window's).
constexpr const char *RunStateCaptions[] = {
    QT_TRANSLATE_NOOP("RunState", "Idle"),
    QT_TRANSLATE_NOOP("RunState", "Running"),
    QT_TRANSLATE_NOOP("RunState", "Held"),
    QT_TRANSLATE_NOOP("RunState", "Ended"),
};

// The status line and the last-scan line repeat what the scanner sent, which can be far
// longer than a window is wide (a program barcode, a scanner that does not stop): they show
// its first line, cut at this many characters, so that laying out the text stays quick and
// the window keeps its size.
constexpr qsizetype MaxShownCharacters = 200;
// A status text up to this long is matched against the known reasons and shown translated; a
// longer one (a label's text) is shown as it came, without matching it against each reason.
constexpr qsizetype MaxTranslatedCharacters = 2000;

// How long a refusal colours the status line.
constexpr int FlashMilliseconds = 1000;

// The last-scan line is this much larger than the rest of the window.
constexpr qreal ScanLineScale = 1.3;

// The window's size at the system's text size.
constexpr QSize DefaultSize(980, 700);

// Buttons an operator with gloves can hit, at the system's text size.
constexpr int ButtonHeight = 48;

// What the window leaves of the screen's width on each side, with its frame.
constexpr int ScreenMargin = 48;

// The result's word, its first line and the banner, as factors of the window's text size:
// they follow every change of it.
constexpr qreal ResultWordScale = 3.0;
constexpr qreal ResultHeadlineScale = 1.5;
constexpr qreal ResultLineScale = 1.2;
constexpr qreal BannerScale = 1.3;
// Past twice the system's text size the word grows no more: it is read from afar already, and
// larger it would leave the reason too little of a small screen's width.
constexpr qreal ResultWordMostScale = 2.0;

// The band keeps room for a word of this many characters and a reason of this many a line.
constexpr int ResultWordCharacters = 9;
constexpr int ResultLineCharacters = 24;

// The recent scans show at least this many rows at any text size; the parts below them in
// the scrolled area give way first.
constexpr int RecentRowsShown = 3;

// How often the counters look whether a new shift has begun.
constexpr int ShiftCheckMilliseconds = 60'000;

// The result's colours: white text on these, with a word on each (the colour is never alone).
QString resultColour(ScanResult::Tone tone)
{
    switch (tone) {
    case ScanResult::Tone::Ok:
        return QStringLiteral("#2e7d32");
    case ScanResult::Tone::Warning:
        return QStringLiteral("#e65100");
    case ScanResult::Tone::Waiting:
        return QStringLiteral("#1565c0");
    case ScanResult::Tone::Refused:
    case ScanResult::Tone::Failed:
        return QStringLiteral("#c62828");
    case ScanResult::Tone::Ready:
        break;
    }
    return QStringLiteral("#546e7a");
}

// A symbol beside the word, for those who do not tell the colours apart.
QString resultSymbol(ScanResult::Tone tone)
{
    switch (tone) {
    case ScanResult::Tone::Ok:
        return QStringLiteral("\u2714 ");
    case ScanResult::Tone::Warning:
        return QStringLiteral("\u26a0 ");
    case ScanResult::Tone::Waiting:
        return QStringLiteral("\u2026 ");
    case ScanResult::Tone::Refused:
    case ScanResult::Tone::Failed:
        return QStringLiteral("\u2716 ");
    case ScanResult::Tone::Ready:
        break;
    }
    return {};
}

// Keeps a text factor times the window's, in bold or not, through every change of text size.
void keepScaled(QWidget *widget, qreal factor, bool bold, qreal mostScale = 0)
{
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
    ui::keepTextLarger(widget, factor, mostScale);
}

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

QString badgeStyle(const QString &colour)
{
    return QStringLiteral("QLabel { background: %1; color: white; border-radius: 4px; "
                          "padding: 2px 8px; }")
        .arg(colour);
}

QString shownText(const QString &text)
{
    qsizetype end = text.indexOf(QLatin1Char('\n'));
    const qsizetype cr = text.indexOf(QLatin1Char('\r'));
    if (cr >= 0 && (end < 0 || cr < end))
        end = cr;
    if (end < 0 && text.size() <= MaxShownCharacters)
        return text;
    if (end < 0 || end > MaxShownCharacters)
        end = MaxShownCharacters;
    return text.left(end) + QChar(0x2026);
}

// Moves widgets to the end of row, or to a line of their own (under, held left by a stretch),
// unless they are there already.
void placeInRow(const QList<QWidget *> &widgets, bool inRow, QBoxLayout *row, QBoxLayout *under)
{
    if (inRow == (row->indexOf(widgets.front()) >= 0))
        return;
    for (QWidget *widget : widgets) {
        row->removeWidget(widget);
        under->removeWidget(widget);
        (inRow ? row : under)->addWidget(widget);
    }
    if (!inRow)
        under->addStretch(1);
    else if (QLayoutItem *stretch = under->takeAt(0))
        delete stretch;
}

} // namespace

MainWindow::MainWindow(QWidget *parent, base::Clock *clock)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::MainWindow>())
    , m_clock(clock ? clock : &base::Clock::real())
{
    m_ui->setupUi(this);
    // The whole window scrolls, up and down only, when the text is too large for the screen
    // even with the scrolled area at its least: the banner and the result come first.
    QWidget *contents = takeCentralWidget();
    m_wholeWindow = new QScrollArea(this);
    m_wholeWindow->setObjectName(QStringLiteral("scrWindow"));
    m_wholeWindow->setFrameShape(QFrame::NoFrame);
    m_wholeWindow->setWidgetResizable(true);
    m_wholeWindow->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_wholeWindow->setWidget(contents);
    setCentralWidget(m_wholeWindow);
    m_labId = {m_ui->LabID_0, m_ui->LabID_1, m_ui->LabID_2, m_ui->LabID_3, m_ui->LabID_4};

    // Indicators: calm colours, visible only while they mean something, and keeping their
    // place while hidden so that nothing below them moves as the segments of an item arrive.
    QSizePolicy keptPlace(QSizePolicy::Preferred, QSizePolicy::Preferred);
    keptPlace.setRetainSizeWhenHidden(true);
    for (QLabel *label : m_labId) {
        label->setStyleSheet(QStringLiteral(
            "QLabel { background: #2e7d32; color: white; border-radius: 4px; padding: 2px 8px; }"));
        label->setSizePolicy(keptPlace);
        label->setVisible(false);
    }
    m_ui->LabelAFS->setStyleSheet(QStringLiteral(
        "QLabel { background: #1565c0; color: white; border-radius: 4px; padding: 2px 8px; }"));
    m_ui->LabelAFS->setSizePolicy(keptPlace);
    m_ui->LabelAFS->setVisible(false);
    m_ui->DSpin->setStyleSheet(QStringLiteral("QLabel { color: #c62828; font-weight: bold; }"));
    m_ui->DSpin->setMinimumWidth(20);
    // The indicator keeps its place while hidden, so that the last-scan line keeps its width
    // when characters start to arrive.
    QSizePolicy spinPolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    spinPolicy.setRetainSizeWhenHidden(true);
    m_ui->DSpin->setSizePolicy(spinPolicy);
    m_ui->DSpin->setVisible(false);
    ui::keepTextLarger(m_ui->ComDisplay, ScanLineScale);
    m_status = m_ui->lblStatusBar->text();
    // Long texts are clipped rather than widening the window; the status line wraps instead,
    // so that a message about the scanner port can be read whole.
    for (QLabel *line : {m_ui->ComDisplay, m_ui->lblStatusBar, m_ui->lblCurSettings}) {
        QSizePolicy policy = line->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Ignored);
        line->setSizePolicy(policy);
    }
    m_ui->portRow->setStretchFactor(m_ui->lblCurSettings, 1);
    buildResult();
    buildGlance();
    buildViewMenu();
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setMinimumHeight(ButtonHeight);
    setFontScale(ui::textScale());
    setPortState(PortState::Closed, QString());
    m_ui->ExLab->setStyleSheet(QStringLiteral("QLabel { color: #6a1b9a; font-weight: bold; }"));
    m_ui->ExLab->setSizePolicy(keptPlace);
    m_ui->ExLab->setVisible(false);
    // "Show Program in Editor" is hidden at start-up; "Machine Auto Start" takes its place.
    m_ui->ShowEd->setVisible(false);

    connect(m_ui->cmdEdit, &QPushButton::clicked, this, &MainWindow::startManualEntry);
    connect(m_ui->cmdEndEdit, &QPushButton::clicked, this, &MainWindow::endManualEntry);
    connect(m_ui->txtEtichetta, &QLineEdit::returnPressed, this, &MainWindow::endManualEntry);
    connect(m_ui->mnuExit, &QAction::triggered, this, [this] {
        m_exitRequested = true;
        QApplication::exit(0);
    });
    connect(m_ui->mnuSetttings, &QAction::triggered, this, &MainWindow::portSettingsRequested);
    connect(m_ui->MnuAutoFld, &QAction::triggered, this, &MainWindow::autoFieldSelectRequested);
    connect(m_ui->ExIns, &QAction::triggered, this, &MainWindow::exclusionInsertionRequested);
    connect(m_ui->mnuAbout, &QAction::triggered, this, &MainWindow::aboutRequested);
    connect(m_ui->actTakeBack, &QAction::triggered, this, &MainWindow::takeBackRequested);
    connect(m_ui->cmdTakeBack, &QPushButton::clicked, m_ui->actTakeBack, &QAction::trigger);
    setTakeBackAvailable(false, tr("No item to take back."));
    connect(m_ui->mnuListManager, &QAction::triggered, this, &MainWindow::listManagerRequested);
    connect(m_ui->mnuJournal, &QAction::triggered, this, &MainWindow::journalRequested);
    connect(m_ui->actTry, &QAction::triggered, this, &MainWindow::tryRequested);
    connect(m_ui->actGuide, &QAction::triggered, this, &MainWindow::guideRequested);
    m_flashTimer.setSingleShot(true);
    m_flashTimer.setInterval(FlashMilliseconds);
    connect(&m_flashTimer, &QTimer::timeout, this, [this] {
        m_ui->picStatusBar->setStyleSheet(QString());
    });

    m_shift.moveTo(m_clock->currentTime());
    m_shiftTimer = m_clock->makeTimer();
    m_shiftTimer->setInterval(ShiftCheckMilliseconds);
    connect(m_shiftTimer.get(), &base::Timer::timeout, this, [this] {
        if (m_shift.moveTo(m_clock->currentTime()))
            showShift();
    });
    m_shiftTimer->start();
    showShift();
}

void MainWindow::buildResult()
{
    // The result of the label handled last fills the width under the banner: its word large
    // enough to read from a few metres, white on the colour of the result. The take-back
    // button sits under the word, leaving the texts the band's width to wrap in.
    m_ui->fraResult->setAutoFillBackground(true);
    keepScaled(m_ui->lblResultWord, ResultWordScale, true, ResultWordMostScale);
    keepScaled(m_ui->lblResultHeadline, ResultHeadlineScale, true);
    keepScaled(m_ui->lblResultAdvice, ResultLineScale, false);
    keepScaled(m_ui->lblResultNext, ResultLineScale, true);
    m_ui->resultLayout->setStretchFactor(m_ui->resultTexts, 1);
    m_ui->resultLayout->setSpacing(16);
    m_ui->resultTexts->setSpacing(4);
    m_ui->resultWordColumn->setStretchFactor(m_ui->lblResultWord, 1);
    // Texts that wrap give their width to the layout and take the height they need.
    for (QLabel *line : {m_ui->lblResultHeadline, m_ui->lblResultAdvice, m_ui->lblResultNext}) {
        QSizePolicy policy = line->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Ignored);
        line->setSizePolicy(policy);
    }

    // While the port waits for the scanner, a banner above everything says so.
    m_ui->fraScannerLost->setStyleSheet(
        QStringLiteral("#fraScannerLost { background: #b71c1c; border-radius: 4px; } "
                       "#fraScannerLost QLabel { color: white; }"));
    keepScaled(m_ui->lblScannerLost, BannerScale, true);
    showResult(ScanResult::ready());
}

void MainWindow::showResult(const ScanResult &result)
{
    m_ui->fraResult->setStyleSheet(
        QStringLiteral("#fraResult { background: %1; border-radius: 6px; } "
                       "#fraResult > QLabel { color: white; }")
            .arg(resultColour(result.tone)));
    m_resultTone = result.tone;
    m_ui->lblResultWord->setText(result.word.isEmpty() ? QString()
                                                       : resultSymbol(result.tone) + result.word);
    m_ui->lblResultWord->setVisible(!result.word.isEmpty());
    m_ui->lblResultHeadline->setText(result.headline);
    m_ui->lblResultAdvice->setText(result.advice);
    m_ui->lblResultAdvice->setVisible(!result.advice.isEmpty());
    m_ui->lblResultNext->setText(result.next);
    m_ui->fraResult->setAccessibleName(
        QStringList{result.word, result.headline, result.advice, result.next}.join(u' '));
}

void MainWindow::keepMinimumSizes()
{
    // The band: the word and the button under it, or two lines of the reason, two of advice,
    // the last label and what comes next. A longer text wraps and the band grows with it, at
    // the expense of the scrolled area below.
    const QFontMetrics headline(m_ui->lblResultHeadline->font());
    const QFontMetrics line(m_ui->lblResultAdvice->font());
    const int spacing = m_ui->resultTexts->spacing();
    const int texts = 2 * headline.lineSpacing() + 3 * line.lineSpacing()
                      + QFontMetrics(m_lastLabel->font()).lineSpacing() + 4 * spacing;
    const QMargins margins = m_ui->resultLayout->contentsMargins();
    m_ui->fraResult->setMinimumHeight(std::max(texts + margins.top() + margins.bottom(),
                                               m_ui->resultLayout->minimumSize().height()));
    // As wide as a word of the result and a few words of the reason a line: the window never
    // gives up more of its width to the windows beside it.
    m_ui->fraResult->setMinimumWidth(
        QFontMetrics(m_ui->lblResultWord->font()).averageCharWidth() * ResultWordCharacters
        + headline.averageCharWidth() * ResultLineCharacters + m_ui->resultLayout->spacing()
        + margins.left() + margins.right());

    // Room for every piece kept, so that nothing moves as pieces come.
    m_pieces->setMinimumHeight(QFontMetrics(m_pieces->font()).lineSpacing()
                               * ShiftCounts::PiecesKept);

    // The recent scans, first in the scrolled area, keep their rows in view; one only while
    // the banner says the scanner is lost, which with the result comes before them.
    const QFontMetrics text(m_recentView->font());
    const int rows
        = (m_ui->fraScannerLost->isVisibleTo(this) ? 1 : RecentRowsShown) * (text.height() + 6);
    m_recentView->setMinimumHeight(m_recentView->horizontalHeader()->sizeHint().height() + rows
                                   + 2 * m_recentView->frameWidth());
    m_ui->scrGlance->setMinimumHeight(m_recentBox->minimumSizeHint().height());
    // Nor narrower than the manual entry, the options or the plan, which go one under the
    // other where they do not fit side by side (see fitGlance): it never scrolls sideways.
    const int scrollBar = m_ui->scrGlance->verticalScrollBar()->sizeHint().width();
    m_ui->scrGlance->setMinimumWidth(std::max({m_ui->fraManual->minimumSizeHint().width(),
                                               m_ui->fraOptions->minimumSizeHint().width(),
                                               m_planBox->minimumSizeHint().width()})
                                     + scrollBar);
    fitPortRow();
    // Nor does the whole window: it is as wide as the widest of its parts at their least.
    m_wholeWindow->setMinimumWidth(m_ui->mainLayout->minimumSize().width() + scrollBar);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_ui->scrGlance->viewport() && event->type() == QEvent::Resize)
        || (watched == m_ui->glanceContents && event->type() == QEvent::LayoutRequest))
        fitGlance();
    if (watched == m_lastLabel
        && (event->type() == QEvent::Resize || event->type() == QEvent::Show
            || event->type() == QEvent::FontChange))
        showLastLabel();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fitPortRow()
{
    // The list's and the journal's badges beside the port's where the screen is wide enough
    // for all, else on a line of their own under it.
    int needed = 0;
    for (QLayout *row : {static_cast<QLayout *>(m_ui->portRow), static_cast<QLayout *>(m_badgeRow)})
        for (int i = 0; i < row->count(); ++i)
            if (QWidget *widget = row->itemAt(i)->widget(); widget && !widget->isHidden())
                needed += widget->minimumSizeHint().width() + m_ui->portRow->spacing();
    const QScreen *shownOn = screen();
    const bool oneRow
        = !shownOn || needed + 2 * ScreenMargin <= shownOn->availableGeometry().width();
    placeInRow(m_badges, oneRow, m_ui->portRow, m_badgeRow);
}

int MainWindow::resultBottom() const
{
    return m_ui->fraResult->mapToGlobal(QPoint(0, m_ui->fraResult->height() - 1)).y();
}

void MainWindow::fitGlance()
{
    // Wide enough, the manual entry goes under the shift and the options under the plan, in
    // the room the plan can give up; else both in a row under them, leaving the recent scans
    // the width.
    const bool wide
        = m_ui->scrGlance->viewport()->width() / 2 >= m_ui->fraOptions->minimumSizeHint().width();
    if (wide != (m_ui->glanceRight->indexOf(m_ui->fraOptions) >= 0)) {
        const std::array<QBoxLayout *, 3> places{
            m_ui->glanceLeft, m_ui->glanceRight, m_ui->entryRow};
        for (QBoxLayout *place : places) {
            place->removeWidget(m_ui->fraManual);
            place->removeWidget(m_ui->fraOptions);
        }
        places[wide ? 0 : 2]->addWidget(m_ui->fraManual);
        places[wide ? 1 : 2]->addWidget(m_ui->fraOptions);
    }
    // Too narrow even for that, the options go under the manual entry.
    const int width = m_ui->scrGlance->viewport()->width();
    const int sideBySide = m_ui->fraManual->minimumSizeHint().width() + m_ui->entryRow->spacing()
                           + m_ui->fraOptions->minimumSizeHint().width();
    m_ui->entryRow->setDirection(width >= sideBySide ? QBoxLayout::LeftToRight
                                                     : QBoxLayout::TopToBottom);
    // Likewise the plan goes under the recent scans and the shift where it does not fit
    // beside them (the shift's lines of pieces are long at the largest text).
    const int besidePlan
        = std::max(m_recentBox->minimumSizeHint().width(), m_shiftBox->minimumSizeHint().width())
          + m_ui->glanceRow->spacing() + m_planBox->minimumSizeHint().width();
    m_ui->glanceRow->setDirection(wide || width >= besidePlan ? QBoxLayout::LeftToRight
                                                              : QBoxLayout::TopToBottom);
    // The segments received and the switches' flags in one row where they fit, else the
    // flags in a row of their own under the segments.
    int indicators = 0;
    for (QLabel *flag : m_labId)
        indicators += flag->sizeHint().width() + m_ui->indicatorRow->spacing();
    const bool oneRow = width >= indicators + m_ui->LabelAFS->sizeHint().width()
                                     + m_ui->ExLab->sizeHint().width()
                                     + 2 * m_ui->indicatorRow->spacing();
    placeInRow({m_ui->LabelAFS, m_ui->ExLab}, oneRow, m_ui->indicatorRow, m_flagRow);
    m_ui->glanceContents->resize(
        m_ui->scrGlance->viewport()->size().expandedTo(m_ui->glanceContents->minimumSizeHint()));
}

void MainWindow::showLastLabel()
{
    // Whole until the line is laid out on the screen, which gives it its width.
    const QString whole = m_lastLabel->toolTip();
    m_lastLabel->setText(m_lastLabel->isVisible() ? m_lastLabel->fontMetrics().elidedText(
                             whole, Qt::ElideRight, m_lastLabel->width())
                                                  : whole);
}

void MainWindow::setTakeBackAvailable(bool available, const QString &what)
{
    m_ui->actTakeBack->setEnabled(available);
    m_ui->cmdTakeBack->setEnabled(available);
    m_ui->cmdTakeBack->setToolTip(what);
    m_ui->actTakeBack->setStatusTip(what);
}

void MainWindow::watch(Station &station)
{
    connect(this, &MainWindow::labelTyped, &station, &Station::typeLabel);
    connect(&station, &Station::typedLabelDone, this, &MainWindow::typedLabelDone);
    // The window hears of an entry once the label is done, and of its pieces in the same
    // pass: the scanner's "ACK" never waits for the window, and the plan changes with the
    // result.
    connect(&station, &Station::entryMade, this, &MainWindow::showEntry, Qt::QueuedConnection);
    connect(
        &station,
        &Station::itemPlaced,
        this,
        [this, &station](
            const QStringList &fields, const QString &x, const QString &y, const QString &program) {
            fieldsel::TablePlan plan
                = fieldsel::tablePlan(station.fieldSelection(), fields, x.toDouble(), y.toDouble());
            const QString caption = planCaption(program, x, y, plan.pieces);
            setPieces(std::move(plan), caption);
            journal::Entry piece;
            piece.program = program;
            piece.x = x;
            piece.y = y;
            // A piece sent as normal and mirror is told entry by entry: the result names both.
            if (fields.size() > 1 && m_resultTone == ScanResult::Tone::Ok)
                m_ui->lblResultHeadline->setText(ScanResult::pieceWords(piece, fields));
        },
        Qt::QueuedConnection);
    connect(&station, &Station::journalStateChanged, this, &MainWindow::setJournalState);
    connect(m_journalLostOk, &QToolButton::clicked, &station, &Station::acknowledgeLostEntries);
    connect(&station, &Station::shopStateChanged, this, &MainWindow::setShopState);
}

void MainWindow::setShiftStart(QTime start)
{
    m_shift = ShiftCounts(start);
    m_shift.moveTo(m_clock->currentTime());
    showShift();
}

void MainWindow::countShiftEntries(const std::vector<journal::Entry> &entries)
{
    for (const journal::Entry &entry : entries)
        m_shift.add(entry);
    showShift();
}

void MainWindow::showShift()
{
    m_shiftBox->setTitle(
        tr("This shift, since %1")
            .arg(ui::shownLocale().toString(m_shift.began(), QStringLiteral("ddd d MMM HH:mm"))));
    m_counters[0]->setText(tr("\u2714 %1 taken").arg(m_shift.taken()));
    m_counters[1]->setText(tr("\u2716 %1 refused").arg(m_shift.refused()));
    m_counters[2]->setText(tr("\u2716 %1 failed").arg(m_shift.failed()));
    QStringList lines;
    for (const journal::Entry &piece : m_shift.pieces())
        lines << piece.time.toLocalTime().toString(QStringLiteral("HH:mm")) + QStringLiteral("  ")
                     + ScanResult::pieceWords(piece);
    m_pieces->setText(lines.isEmpty() ? tr("No piece sent yet in this shift.") : lines.join(u'\n'));
}

void MainWindow::buildGlance()
{
    // The list manager's list, at the end of the port's line.
    auto *listCaption = new QLabel(tr("List:"), this);
    m_listState = new QLabel(this);
    m_listState->setObjectName(QStringLiteral("lblListState"));
    m_listState->setToolTip(tr("The list manager's list: its state and its number of rows"));
    m_ui->portRow->addWidget(listCaption);
    m_ui->portRow->addWidget(m_listState);
    setListState({});
    // Where the journal's entries go: shown for as long as it is not the journal file.
    auto *journalCaption = new QLabel(tr("Journal:"), this);
    m_journalState = new QLabel(this);
    m_journalState->setObjectName(QStringLiteral("lblJournalState"));
    m_ui->portRow->addWidget(journalCaption);
    m_ui->portRow->addWidget(m_journalState);
    // Entries lost are shown until the operator has seen them.
    m_journalLostOk = new QToolButton(this);
    m_journalLostOk->setObjectName(QStringLiteral("cmdJournalLostOk"));
    m_journalLostOk->setText(tr("OK"));
    m_journalLostOk->setToolTip(tr("I have seen that journal entries were lost"));
    m_ui->portRow->addWidget(m_journalLostOk);
    setJournalState({});
    // How far the entries have got to the shop's server: shown only where there is one.
    m_shopCaption = new QLabel(tr("Shop:"), this);
    m_shopState = new QLabel(this);
    m_shopState->setObjectName(QStringLiteral("lblShopState"));
    m_ui->portRow->addWidget(m_shopCaption);
    m_ui->portRow->addWidget(m_shopState);
    m_shopCaption->setVisible(false);
    m_shopState->setVisible(false);
    m_badges = {listCaption,
                m_listState,
                journalCaption,
                m_journalState,
                m_journalLostOk,
                m_shopCaption,
                m_shopState};
    m_badgeRow = new QHBoxLayout;
    m_badgeRow->setObjectName(QStringLiteral("badgeRow"));
    m_ui->mainLayout->insertLayout(m_ui->mainLayout->indexOf(m_ui->portRow) + 1, m_badgeRow);

    // The last label handled and what became of it, in the result.
    m_lastLabel = new QLabel(this);
    m_lastLabel->setObjectName(QStringLiteral("lblLastLabel"));
    m_lastLabel->setTextFormat(Qt::PlainText);
    m_lastLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // One line, cut short with an ellipsis where it is too long (a translated outcome often
    // is), its whole text in the tool tip; the reason itself is in full above it.
    m_lastLabel->installEventFilter(this);
    QSizePolicy policy = m_lastLabel->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    m_lastLabel->setSizePolicy(policy);
    m_ui->resultTexts->insertWidget(2, m_lastLabel);

    // The recent scans beside the plan of the machine table, taking the room that is left.
    m_recent = new RecentScansModel(50, this);
    m_recentView = new QTableView(this);
    m_recentView->setObjectName(QStringLiteral("lstRecent"));
    m_recentView->setModel(m_recent);
    m_recentView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_recentView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_recentView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_recentView->setWordWrap(false);
    m_recentView->verticalHeader()->setVisible(false);
    m_recentView->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_recentView->horizontalHeader()->setStretchLastSection(true);
    m_recentView->setToolTip(tr("Enter or a double click shows a scan in the journal"));
    // Tab goes on to the next control, not to the next cell.
    m_recentView->setTabKeyNavigation(false);
    // Enter, and a double click, activate a row.
    connect(m_recentView, &QTableView::activated, this, [this](const QModelIndex &index) {
        if (index.isValid())
            Q_EMIT journalEntryRequested(m_recent->entryAt(index.row()));
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

    // The shift's counters and its last pieces above the recent scans.
    m_shiftBox = new QGroupBox(this);
    m_shiftBox->setObjectName(QStringLiteral("fraShift"));
    auto *shiftLayout = new QVBoxLayout(m_shiftBox);
    auto *counterRow = new QHBoxLayout;
    const std::array<const char *, 3> names{"lblTaken", "lblRefused", "lblFailed"};
    for (std::size_t i = 0; i < m_counters.size(); ++i) {
        m_counters[i] = new QLabel(m_shiftBox);
        m_counters[i]->setObjectName(QLatin1String(names[i]));
        keepScaled(m_counters[i], ResultLineScale, true);
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

    // Everything between the result and the port's line scrolls when the text is too large
    // for the screen. The recent scans come first in it, so that they stay in view, with the
    // shift under them and the plan beside both; then the manual entry and the options (see
    // fitGlance); the segments received and the last scan's raw text along the bottom.
    m_ui->glanceLeft->insertWidget(0, m_recentBox, 1);
    m_ui->glanceLeft->insertWidget(1, m_shiftBox);
    m_ui->glanceRight->insertWidget(0, m_planBox, 1);
    m_ui->glanceRow->setStretch(0, 3);
    m_ui->glanceRow->setStretch(1, 2);
    m_ui->glanceLayout->setStretchFactor(m_ui->glanceRow, 1);
    m_flagRow = new QHBoxLayout;
    m_flagRow->setObjectName(QStringLiteral("flagRow"));
    m_ui->glanceLayout->insertLayout(m_ui->glanceLayout->indexOf(m_ui->indicatorRow) + 1,
                                     m_flagRow);
    m_ui->scrGlance->viewport()->installEventFilter(this);
    m_ui->glanceContents->installEventFilter(this);
    m_ui->mainLayout->setStretchFactor(m_ui->scrGlance, 1);
}

void MainWindow::setListState(const listmanager::ListState &state)
{
    using listmanager::Reach;
    switch (state.reach) {
    case Reach::Reached:
        break;
    case Reach::Unknown:
        m_listState->setText(tr("not open"));
        m_listState->setToolTip(tr("The list manager has not answered yet."));
        m_listState->setStyleSheet(badgeStyle(QStringLiteral("#616161")));
        return;
    case Reach::NotRunning:
    case Reach::NotAnswering:
    case Reach::NoBus: {
        QString tip;
        if (state.reach == Reach::NotRunning) {
            m_listState->setText(tr("list manager not running"));
            tip = tr("No list manager holds the bus name %1: rows cannot be added. The next "
                     "label starts it again.")
                      .arg(state.service);
        } else if (state.reach == Reach::NotAnswering) {
            m_listState->setText(tr("list manager not answering"));
            tip = tr("The list manager %1 does not answer: rows cannot be added.")
                      .arg(state.service);
        } else {
            m_listState->setText(tr("no session bus"));
            tip = tr("Barlink reaches the list manager on the session bus, and there is none: "
                     "rows cannot be added. Start Barlink in a desktop session, or under "
                     "dbus-run-session.");
        }
        if (!state.detail.isEmpty())
            tip += u'\n' + state.detail;
        m_listState->setToolTip(tip);
        m_listState->setStyleSheet(badgeStyle(QStringLiteral("#c62828")));
        return;
    }
    }
    m_listState->setToolTip(tr("The list manager's list: its state and its number of rows"));
    if (!state.opened) {
        m_listState->setText(tr("not open"));
        m_listState->setStyleSheet(badgeStyle(QStringLiteral("#616161")));
        return;
    }
    // The list manager tells whether its list runs and which row the machine works on: a list
    // not in run with a row in work is held.
    const char *runState = state.inRun        ? RunStateCaptions[1]
                           : state.exeRow > 0 ? RunStateCaptions[2]
                                              : RunStateCaptions[0];
    const QString rowText = state.rows == 1 ? tr("1 row") : tr("%1 rows").arg(state.rows);
    m_listState->setText(QCoreApplication::translate("RunState", runState)
                         + QStringLiteral(" \u00b7 ") + rowText);
    m_listState->setStyleSheet(badgeStyle(state.inRun        ? QStringLiteral("#2e7d32")
                                          : state.exeRow > 0 ? QStringLiteral("#e65100")
                                                             : QStringLiteral("#546e7a")));
}

void MainWindow::setJournalState(const journal::JournalState &state)
{
    using Place = journal::JournalState::Place;
    const QString since = state.since.toLocalTime().toString(QStringLiteral("HH:mm"));
    QString text;
    QStringList tips;
    QString colour = QStringLiteral("#2e7d32");
    if (state.takingBack && state.reason.isEmpty() && state.place != Place::Memory) {
        text = tr("taking in the spill file \u00b7 %1 %").arg(state.takenPercent);
        tips << tr("The entries kept in the spill file go into the journal file, a few at a time "
                   "between the scans. Every scan meanwhile is on the disk, in the spill file.");
        colour = QStringLiteral("#546e7a");
    } else if (state.place == Place::File) {
        text = tr("written");
        tips << tr("Every scan is on the disk before the scanner hears ACK.");
    } else if (state.place == Place::SpillFile) {
        text = tr("file not written since %1 · %2 kept in the spill file")
                   .arg(since)
                   .arg(state.spilled);
        tips << tr("The journal file cannot be written (%1). Every scan is still on the disk, in "
                   "the spill file, and goes into the journal file once it can be written.")
                    .arg(state.reason);
        colour = QStringLiteral("#e65100");
    } else {
        text = tr("NOT WRITTEN · %1 held in memory since %2")
                   .arg(state.held)
                   .arg(state.heldSince.toLocalTime().toString(QStringLiteral("HH:mm")));
        tips << tr("Neither the journal file nor the spill file can be written (%1). Scans are "
                   "held in memory and are lost if Barlink ends before a file can be written.")
                    .arg(state.reason);
        colour = QStringLiteral("#c62828");
    }
    // What else needs a look goes after it, and turns a green badge orange.
    const QString orange = QStringLiteral("#e65100");
    if (!state.spillUnreadable.isEmpty()) {
        text += QStringLiteral(" \u00b7 ") + tr("spill file unreadable");
        tips << tr("Entries wait in a spill file that cannot be read (%1). They go into the "
                   "journal file once it can be read.")
                    .arg(state.spillUnreadable);
        colour = state.place == Place::Memory ? colour : orange;
    }
    if (state.untidyLogBytes > 0) {
        text += QStringLiteral(" \u00b7 ") + tr("cannot be tidied");
        tips << tr("Another program is reading the journal file, so that its write-ahead log "
                   "(%1 MB) cannot be emptied; it is emptied once that program stops reading.")
                    .arg(double(state.untidyLogBytes) / (1 << 20), 0, 'f', 1);
        colour = state.place == Place::Memory ? colour : orange;
    }
    if (state.lostUnacknowledged > 0) {
        text += QStringLiteral(" \u00b7 ")
                + (state.lostUnacknowledged == 1
                       ? tr("1 entry lost")
                       : tr("%1 entries lost").arg(state.lostUnacknowledged));
        tips << tr("Journal entries could not be read back or kept; the journal's "
                   "\"entries-lost\" entry says which. Click OK once you have seen it.");
        colour = state.place == Place::Memory ? colour : orange;
    }
    m_journalState->setText(text);
    m_journalState->setToolTip(tips.join(u'\n'));
    m_journalState->setStyleSheet(badgeStyle(colour));
    m_journalLostOk->setVisible(state.lostUnacknowledged > 0);
}

void MainWindow::setShopState(const journal::ForwardState &state)
{
    m_shopCaption->setVisible(true);
    m_shopState->setVisible(true);
    if (state.upToDate()) {
        m_shopState->setText(tr("up to date"));
        m_shopState->setToolTip(tr("The shop's server has every entry of this station."));
        m_shopState->setStyleSheet(badgeStyle(QStringLiteral("#2e7d32")));
        return;
    }
    // The first words of the reason on the badge; the whole of it, the server's message
    // included, in its tool tip.
    const QString reason = state.reason.section(QLatin1Char(':'), 0, 0);
    QString text
        = state.waiting == 1 ? tr("1 entry waiting") : tr("%1 entries waiting").arg(state.waiting);
    if (state.since.isValid())
        text += tr(" since %1").arg(state.since.toLocalTime().toString(QStringLiteral("HH:mm")));
    if (!reason.isEmpty())
        text += QStringLiteral(" \u00b7 ") + reason;
    m_shopState->setText(text);
    m_shopState->setToolTip(state.reason.isEmpty() ? tr("On their way to the shop's server.")
                                                   : state.reason);
    m_shopState->setStyleSheet(
        badgeStyle(state.reason.isEmpty() ? QStringLiteral("#546e7a") : QStringLiteral("#e65100")));
}

void MainWindow::showEntry(const journal::Entry &entry)
{
    m_recent->add(entry);
    if (entry.kind == journal::Kind::StationEvent)
        return;
    showResult(ScanResult::of(entry));
    m_shift.moveTo(entry.time);
    m_shift.add(entry);
    showShift();
    m_lastLabel->setToolTip(
        tr("Last label: %1  \u2014  %2").arg(shownText(entry.label), plainWords(entry)));
    showLastLabel();
    if (entry.outcome == journal::Outcome::Refused)
        flashStatus();
}

void MainWindow::flashStatus()
{
    m_ui->picStatusBar->setStyleSheet(QStringLiteral(
        "#picStatusBar { background: #c62828; } #picStatusBar QLabel { color: white; }"));
    m_flashTimer.start();
}

void MainWindow::setRecentEntries(const std::vector<journal::Entry> &entries)
{
    m_recent->setEntries(entries);
}

void MainWindow::setPieces(fieldsel::TablePlan plan, const QString &caption)
{
    m_planCaption->setText(caption.isEmpty() ? tr("No item yet") : caption);
    m_plan->setPlan(std::move(plan));
}

void MainWindow::buildViewMenu()
{
    // Text size: the steps, and a shortcut a step up, a step down and back to normal.
    QMenu *sizes = m_ui->mnuView->addMenu(tr("Text &size"));
    sizes->setObjectName(QStringLiteral("mnuTextSize"));
    m_textSizes = new QActionGroup(this);
    for (double step : TextScaleSteps) {
        QAction *action = sizes->addAction(tr("%1%").arg(qRound(step * 100)));
        action->setCheckable(true);
        action->setData(step);
        m_textSizes->addAction(action);
        connect(action, &QAction::triggered, this, [this, step] {
            setFontScale(step);
            Q_EMIT fontScaleChosen(step);
        });
    }
    sizes->addSeparator();
    const auto stepAction = [this,
                             sizes](const QString &text, const QList<QKeySequence> &keys, int way) {
        QAction *action = sizes->addAction(text);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, [this, way] {
            const double scale = way == 0 ? NormalTextScale : nextTextScale(m_fontScale, way > 0);
            if (scale == m_fontScale)
                return;
            setFontScale(scale);
            Q_EMIT fontScaleChosen(scale);
        });
    };
    // Ctrl and = too: the plus sign needs Shift on many keyboards.
    stepAction(tr("&Larger"),
               {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
               1);
    stepAction(tr("S&maller"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, -1);
    stepAction(tr("&Normal"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, 0);

    m_fullScreen = m_ui->mnuView->addAction(tr("&Full screen"));
    m_fullScreen->setObjectName(QStringLiteral("actFullScreen"));
    m_fullScreen->setCheckable(true);
    m_fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    connect(m_fullScreen, &QAction::triggered, this, [this](bool on) {
        setWindowState(on ? windowState() | Qt::WindowFullScreen
                          : windowState() & ~Qt::WindowFullScreen);
    });
    m_highContrast = m_ui->mnuView->addAction(tr("&High contrast"));
    m_highContrast->setObjectName(QStringLiteral("actHighContrast"));
    m_highContrast->setCheckable(true);
    connect(m_highContrast, &QAction::triggered, this, [this](bool on) {
        setHighContrast(on);
        Q_EMIT highContrastChosen(on);
    });
}

void MainWindow::setFontScale(double scale)
{
    m_fontScale = scale;
    ui::setTextScale(scale);
    // The time and label columns fit their usual texts at this size; the outcome takes the rest.
    const QFontMetrics metrics(font());
    m_recentView->setColumnWidth(RecentScansModel::Time,
                                 metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 16);
    m_recentView->setColumnWidth(RecentScansModel::Label,
                                 metrics.horizontalAdvance(QStringLiteral("%12PANEL.CNC N1 X"))
                                     + 16);
    // The window grows with its text, as far as the screen allows.
    if (!isFullScreen() && !isMaximized()) {
        QSize size = (QSizeF(DefaultSize) * scale).toSize();
        if (const QScreen *shownOn = screen())
            size = size.boundedTo(shownOn->availableGeometry().size() - QSize(48, 64));
        resize(size);
    }
    for (QAction *step : m_textSizes->actions())
        step->setChecked(qFuzzyCompare(step->data().toDouble(), scale));
    keepMinimumSizes();
}

void MainWindow::setHighContrast(bool on)
{
    ui::setHighContrast(on);
    m_highContrast->setChecked(on);
    colourCounters(m_counters, on);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Full screen can also be left through the window manager.
    if (event->type() == QEvent::WindowStateChange && m_fullScreen)
        m_fullScreen->setChecked(isFullScreen());
    // The children have their new text size by now.
    if (event->type() == QEvent::FontChange && m_recentBox)
        keepMinimumSizes();
}

MainWindow::~MainWindow() = default;

void MainWindow::enableMenus()
{
    const auto connected
        = [this](auto signal) { return isSignalConnected(QMetaMethod::fromSignal(signal)); };
    m_ui->MnuAutoFld->setEnabled(connected(&MainWindow::autoFieldSelectRequested));
    m_ui->ExIns->setEnabled(connected(&MainWindow::exclusionInsertionRequested));
    m_ui->mnuAbout->setEnabled(connected(&MainWindow::aboutRequested));
    m_ui->mnuListManager->setEnabled(connected(&MainWindow::listManagerRequested));
    m_ui->mnuJournal->setEnabled(connected(&MainWindow::journalRequested));
    m_ui->actTry->setEnabled(connected(&MainWindow::tryRequested));
    m_ui->actGuide->setEnabled(connected(&MainWindow::guideRequested));
}

QCheckBox *MainWindow::checkBoxFor(base::Options::Switch s) const
{
    switch (s) {
    case base::Options::AutoClear:
        return m_ui->AClear;
    case base::Options::Overwrite:
        return m_ui->Overwrite;
    case base::Options::AutoStart:
        return m_ui->AutoStart;
    case base::Options::ShowEd:
        return m_ui->ShowEd;
    }
    return nullptr;
}

void MainWindow::showOption(base::Options::Switch s, int value)
{
    // Stored values are 0 cleared, 1 set, 2 greyed; Qt's order is unchecked, partial, checked.
    QCheckBox *box = checkBoxFor(s);
    const QSignalBlocker blocker(box);
    box->setTristate(value == 2);
    box->setCheckState(value == 2 ? Qt::PartiallyChecked : value ? Qt::Checked : Qt::Unchecked);
}

void MainWindow::bindOptions(base::Options &options)
{
    m_options = &options;
    for (auto s : {base::Options::AutoClear,
                   base::Options::Overwrite,
                   base::Options::AutoStart,
                   base::Options::ShowEd}) {
        QCheckBox *box = checkBoxFor(s);
        showOption(s, options.value(s));
        connect(box, &QCheckBox::clicked, this, [this, s, box] {
            // A click never leads to the greyed state.
            box->setTristate(false);
            m_options->setValueByUser(s, box->isChecked() ? 1 : 0);
        });
    }
    connect(&options, &base::Options::valueChanged, this, &MainWindow::showOption);
}

void MainWindow::startManualEntry()
{
    m_ui->txtEtichetta->setEnabled(true);
    m_ui->txtEtichetta->setFocus();
    m_ui->cmdEdit->setEnabled(false);
    m_ui->cmdEndEdit->setEnabled(true);
    setStatus(base::status::typeLabel());
}

void MainWindow::closeManualEntry()
{
    // The focus goes back to Edit before the entry's controls are disabled: otherwise it
    // moves on to the next control, an option switch that the next Space would change.
    m_ui->cmdEdit->setEnabled(true);
    m_ui->cmdEdit->setFocus();
    m_ui->txtEtichetta->clear();
    m_ui->txtEtichetta->setEnabled(false);
    m_ui->cmdEdit->setEnabled(true);
    m_ui->cmdEndEdit->setEnabled(false);
}

void MainWindow::endManualEntry()
{
    if (!m_ui->cmdEndEdit->isEnabled() || m_typedWaiting)
        return;
    const QString text = m_ui->txtEtichetta->text().toUpper();
    m_ui->txtEtichetta->setText(text);
    if (text.isEmpty()) {
        closeManualEntry();
        setStatus(base::status::ready());
        return;
    }
    // The station may take it now or after the label in hand: typedLabelDone() follows.
    // With no station to take it, it is not taken.
    m_typedWaiting = true;
    if (isSignalConnected(QMetaMethod::fromSignal(&MainWindow::labelTyped)))
        Q_EMIT labelTyped(text);
    else
        typedLabelDone(false);
}

void MainWindow::typedLabelDone(bool taken)
{
    if (!m_typedWaiting)
        return;
    m_typedWaiting = false;
    if (taken) {
        closeManualEntry();
    } else {
        beep();
        m_ui->txtEtichetta->setFocus();
    }
}

void MainWindow::setStatus(const QString &text)
{
    m_status = text;
    m_ui->lblStatusBar->setText(
        shownText(text.size() <= MaxTranslatedCharacters ? base::shownReason(text) : text));
}

QString MainWindow::status() const
{
    return m_status;
}

void MainWindow::setSegmentIndicator(Segment segment, bool visible)
{
    m_labId.at(std::size_t(segment))->setVisible(visible);
}

void MainWindow::setAutoFieldSelectionVisible(bool visible)
{
    m_ui->LabelAFS->setVisible(visible);
}

void MainWindow::setExclusionText(const QString &text)
{
    m_ui->ExLab->setText(text);
    m_ui->ExLab->setVisible(!text.isEmpty());
}

void MainWindow::setLastScan(const QString &text)
{
    m_ui->ComDisplay->setText(shownText(text));
}

void MainWindow::setActivity(bool visible, const QString &caption)
{
    m_ui->DSpin->setVisible(visible);
    if (!caption.isNull())
        m_ui->DSpin->setText(caption);
}

void MainWindow::setCurrentSettings(const QString &text)
{
    m_ui->lblCurSettings->setText(text);
    m_ui->lblCurSettings->setToolTip(text);
}

void MainWindow::setPortState(PortState state, const QString &device)
{
    QString text;
    QString colour;
    switch (state) {
    case PortState::Open:
        text = tr("Open");
        colour = QStringLiteral("#2e7d32");
        break;
    case PortState::Waiting:
        text = tr("Waiting for the scanner");
        colour = QStringLiteral("#e65100");
        break;
    case PortState::Closed:
        text = tr("Closed");
        colour = QStringLiteral("#616161");
        break;
    }
    m_ui->lblPortState->setText(text);
    m_ui->lblPortState->setToolTip(device.isEmpty() ? text : text + QStringLiteral(": ") + device);
    // The banner keeps the time the wait began while the port goes on trying.
    if (state != PortState::Waiting) {
        m_waitingSince = QDateTime();
    } else if (!m_waitingSince.isValid()) {
        m_waitingSince = m_clock->currentTime();
    }
    if (m_waitingSince.isValid()) {
        const QString since
            = m_waitingSince.date() == m_clock->currentTime().date()
                  ? m_waitingSince.toString(QStringLiteral("HH:mm"))
                  : ui::shownLocale().toString(m_waitingSince, QStringLiteral("ddd d MMM HH:mm"));
        m_ui->lblScannerLost->setText(
            device.isEmpty()
                ? tr("\u26a0 NO SCANNER since %1").arg(since)
                : tr("\u26a0 NO SCANNER since %1: %2 is not there").arg(since, device));
        m_ui->lblScannerLostAdvice->setText(
            tr("Labels scanned now are not read. Plug the scanner in (check its cable): Barlink "
               "takes it back by itself within a few seconds."));
    }
    if (m_ui->fraScannerLost->isVisibleTo(this) != m_waitingSince.isValid()) {
        m_ui->fraScannerLost->setVisible(m_waitingSince.isValid());
        keepMinimumSizes();
    }
    m_ui->lblPortState->setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: white; border-radius: 4px; "
                       "padding: 2px 8px; }")
            .arg(colour));
    keepMinimumSizes();
}

void MainWindow::beep()
{
    QApplication::beep();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Q_EMIT closed();
    event->accept();
}

} // namespace barlink::app
