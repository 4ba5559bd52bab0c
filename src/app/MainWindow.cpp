#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "FontScale.h"
#include "ManualEntryPanel.h"
#include "OptionsPanel.h"
#include "PanelLook.h"
#include "ScanPanel.h"
#include "ScanWords.h"
#include "base/Clock.h"
#include "ui/Appearance.h"
#include "ui/CenterForm.h"
#include "ui/Language.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

namespace barlink::app {

namespace {

// How long a refusal colours the status line.
constexpr int FlashMilliseconds = 1000;

// The window's size at the system's text size.
constexpr QSize DefaultSize(980, 700);

// Buttons an operator with gloves can hit, at the system's text size.
constexpr int ButtonHeight = 48;

// The recent scans show at least this many rows at any text size, one only while the banner
// says the scanner is lost; the parts below them in the scrolled area give way first.
constexpr int RecentRowsShown = 3;

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
    // The scroll areas are no Tab stops: the controls in them are, and scroll into view.
    m_wholeWindow->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(m_wholeWindow);

    // The result first; everything between it and the port's line scrolls when the text is
    // too large for the screen: the station at a glance with the manual entry and the options
    // under it, then the segments received and the last scan's raw text.
    m_result = new ResultPanel(*m_clock, contents);
    m_ui->mainLayout->insertWidget(0, m_result);
    m_glance = new GlancePanel(*m_clock, m_ui->glanceContents);
    m_ui->glanceLayout->insertWidget(0, m_glance, 1);
    m_manualEntry = new ManualEntryPanel(m_glance);
    m_optionSwitches = new OptionsPanel(m_glance);
    m_glance->setBeneath(m_manualEntry, m_optionSwitches);
    m_indicators = new ScanPanel(m_ui->glanceContents);
    m_ui->glanceLayout->addWidget(m_indicators);
    m_ui->mainLayout->setStretchFactor(m_ui->scrGlance, 1);
    m_portRow = new PortPanel(contents);
    m_ui->mainLayout->insertWidget(m_ui->mainLayout->indexOf(m_ui->picStatusBar), m_portRow);
    m_ui->scrGlance->viewport()->installEventFilter(this);
    m_ui->glanceContents->installEventFilter(this);
    // Tab goes through the manual entry, the result band, the take-back button and the option
    // switches.
    const QList<QWidget *> tabOrder
        = m_manualEntry->tabOrder() + m_result->tabOrder() + m_optionSwitches->tabOrder();
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_ui->scrGlance->setFocusPolicy(Qt::NoFocus);
    tabOrder.first()->setFocus();

    m_status = m_ui->lblStatusBar->text();
    // The status line wraps rather than widening the window, so that a message about the
    // scanner port can be read whole.
    QSizePolicy wraps = m_ui->lblStatusBar->sizePolicy();
    wraps.setHorizontalPolicy(QSizePolicy::Ignored);
    m_ui->lblStatusBar->setSizePolicy(wraps);
    buildViewMenu();
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setMinimumHeight(ButtonHeight);
    setFontScale(ui::textScale());

    connect(m_manualEntry, &ManualEntryPanel::statusTold, this, &MainWindow::setStatus);
    // Once the contents are laid out with the keypad, the whole entry is scrolled into view.
    connect(m_manualEntry, &ManualEntryPanel::keypadOpened, this, [this] {
        QTimer::singleShot(0, this, [this] { m_ui->scrGlance->ensureWidgetVisible(m_manualEntry); });
    });
    // With nobody to take a typed label, it is not taken.
    connect(m_manualEntry, &ManualEntryPanel::labelTyped, this, [this](const QString &label) {
        if (isSignalConnected(QMetaMethod::fromSignal(&MainWindow::labelTyped)))
            Q_EMIT labelTyped(label);
        else
            m_manualEntry->typedLabelDone(false);
    });
    connect(m_glance, &GlancePanel::entryActivated, this, &MainWindow::journalEntryRequested);
    connect(m_portRow, &PortPanel::lostEntriesSeen, this, &MainWindow::lostEntriesSeen);
    connect(m_ui->mnuExit, &QAction::triggered, this, [] { QApplication::exit(0); });
    connect(m_ui->mnuSetttings, &QAction::triggered, this, &MainWindow::portSettingsRequested);
    connect(m_ui->MnuAutoFld, &QAction::triggered, this, &MainWindow::autoFieldSelectRequested);
    connect(m_ui->ExIns, &QAction::triggered, this, &MainWindow::exclusionInsertionRequested);
    connect(m_ui->mnuAbout, &QAction::triggered, this, &MainWindow::aboutRequested);
    connect(m_ui->actTakeBack, &QAction::triggered, this, &MainWindow::takeBackRequested);
    connect(m_result, &ResultPanel::takeBackClicked, m_ui->actTakeBack, &QAction::trigger);
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
}

MainWindow::~MainWindow() = default;

void MainWindow::bindOptions(base::Options &options)
{
    m_optionSwitches->bind(options);
}

void MainWindow::showEntry(const journal::Entry &entry)
{
    m_glance->showEntry(entry);
    m_result->showEntry(entry);
    if (entry.outcome == journal::Outcome::Refused)
        flashStatus();
}

void MainWindow::flashStatus()
{
    m_ui->picStatusBar->setStyleSheet(QStringLiteral(
        "#picStatusBar { background: #c62828; } #picStatusBar QLabel { color: white; }"));
    m_flashTimer.start();
}

void MainWindow::keepMinimumSizes()
{
    m_result->keepMinimumSize();
    m_ui->scrGlance->setMinimumHeight(
        m_glance->keepMinimumSizes(m_result->scannerLostShown() ? 1 : RecentRowsShown));
    // Nor narrower than the manual entry, the options or the plan, which go one under the
    // other where they do not fit side by side: it never scrolls sideways.
    const int scrollBar = m_ui->scrGlance->verticalScrollBar()->sizeHint().width();
    m_ui->scrGlance->setMinimumWidth(m_glance->leastWidth() + scrollBar);
    m_portRow->fit();
    // Nor does the whole window: it is as wide as the widest of its parts at their least.
    m_wholeWindow->setMinimumWidth(m_ui->mainLayout->minimumSize().width() + scrollBar);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_ui->scrGlance->viewport() && event->type() == QEvent::Resize)
        || (watched == m_ui->glanceContents && event->type() == QEvent::LayoutRequest))
        fitGlance();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fitGlance()
{
    const int width = m_ui->scrGlance->viewport()->width();
    m_glance->fit(width);
    m_indicators->fit(width);
    // The contents at the viewport's size, and no smaller than their least. A resizable scroll
    // area would size them by their preferred height for the width (the plan's caption wraps),
    // and scroll where their least height fits: at 200% on 1920x1080.
    m_ui->glanceContents->resize(
        m_ui->scrGlance->viewport()->size().expandedTo(m_ui->glanceContents->minimumSizeHint()));
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
    m_touch = m_ui->mnuView->addAction(tr("&Touch"));
    m_touch->setObjectName(QStringLiteral("actTouch"));
    m_touch->setCheckable(true);
    connect(m_touch, &QAction::triggered, this, [this](bool on) {
        setTouch(on);
        Q_EMIT touchChosen(on);
    });
}

void MainWindow::setFontScale(double scale)
{
    m_fontScale = scale;
    ui::setTextScale(scale);
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
    // The other windows follow once this one is laid out at its new size.
    QTimer::singleShot(0, this, [this] {
        for (const auto &[window, normalSize] : m_placed) {
            if (window && window->isVisible())
                placeWindow(window, normalSize);
        }
        Q_EMIT resultMoved();
    });
}

void MainWindow::placeOffTheResult(QWidget *window, QSize normalSize)
{
    std::erase_if(m_placed,
                  [window](const auto &placed) { return !placed.first || placed.first == window; });
    m_placed.emplace_back(window, normalSize);
    placeWindow(window, normalSize);
}

void MainWindow::placeWindow(QWidget *window, QSize normalSize) const
{
    const QSize frame = frameGeometry().size() - size();
    const QSize wanted = normalSize.isValid() ? (QSizeF(normalSize) * m_fontScale).toSize()
                                              : window->sizeHint() + frame;
    ui::placeWindowBeside(window, this, wanted, resultOnScreen());
}

QRect MainWindow::resultOnScreen() const
{
    return QRect(m_result->mapToGlobal(QPoint(0, 0)), m_result->size());
}

void MainWindow::setHighContrast(bool on)
{
    ui::setHighContrast(on);
    m_highContrast->setChecked(on);
    m_glance->setHighContrast(on);
}

void MainWindow::setTouch(bool on)
{
    ui::setTouch(on);
    m_touch->setChecked(on);
    m_manualEntry->setKeypadShown(on);
    keepMinimumSizes();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Full screen can also be left through the window manager.
    if (event->type() == QEvent::WindowStateChange && m_fullScreen)
        m_fullScreen->setChecked(isFullScreen());
    // The children have their new text size by now.
    if (event->type() == QEvent::FontChange && m_portRow)
        keepMinimumSizes();
}

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

void MainWindow::setListState(const listmanager::ListState &state)
{
    m_portRow->setListState(state);
    m_result->setListState(state);
}

void MainWindow::setTakeBackAvailable(bool available, const QString &what)
{
    m_ui->actTakeBack->setEnabled(available);
    // The menu names the item as the button does.
    m_ui->actTakeBack->setText(available && !what.isEmpty()
                                   ? tr("Take &back %1\u2026").arg(ResultPanel::takeBackName(what))
                                   : tr("Take &back last item\u2026"));
    m_ui->actTakeBack->setStatusTip(what);
    m_result->setTakeBackAvailable(available, what);
}

void MainWindow::typedLabelDone(bool taken)
{
    m_manualEntry->typedLabelDone(taken);
}

void MainWindow::setStatus(const QString &text)
{
    m_status = text;
    m_ui->lblStatusBar->setText(shownLine(text));
}

QString MainWindow::status() const
{
    return m_status;
}

void MainWindow::setSegmentIndicator(Segment segment, bool visible)
{
    m_indicators->setSegment(segment, visible);
}

void MainWindow::setAutoFieldSelectionVisible(bool visible)
{
    m_indicators->setAutoFieldSelectionVisible(visible);
}

void MainWindow::setExclusionText(const QString &text)
{
    m_indicators->setExclusionText(text);
}

void MainWindow::setLastScan(const QString &text)
{
    m_indicators->setLastScan(text);
}

void MainWindow::setActivity(bool visible, const QString &caption)
{
    m_indicators->setActivity(visible, caption);
}

void MainWindow::setPortState(PortState state, const QString &device)
{
    m_portRow->setPortState(state, device);
    // The banner keeps the time the wait began while the port goes on trying.
    if (state != PortState::Waiting) {
        m_waitingSince = QDateTime();
    } else if (!m_waitingSince.isValid()) {
        m_waitingSince = m_clock->currentTime();
    }
    QString since;
    if (m_waitingSince.isValid()) {
        since = m_waitingSince.date() == m_clock->currentTime().date()
                    ? m_waitingSince.toString(QStringLiteral("HH:mm"))
                    : ui::shownLocale().toString(m_waitingSince, QStringLiteral("ddd d MMM HH:mm"));
    }
    m_result->setScannerLost(since, device);
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
