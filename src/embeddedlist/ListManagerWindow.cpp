#include "ListManagerWindow.h"

#include "ListStore.h"
#include "ListTableModel.h"
#include "base/Error.h"
#include "ui/CenterForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace barlink::embeddedlist {

ListManagerWindow::ListManagerWindow(ListStore *store, QWidget *parent)
    : QMainWindow(parent)
    , m_store(store)
    , m_model(new ListTableModel(store, this))
{
    setObjectName(QStringLiteral("ListManagerWindow"));
    setWindowTitle(tr("List Manager"));
    resize(UsualSize);

    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("tblList"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    fitToFont();

    auto *hidden = new QLabel(tr("The list is hidden."));
    hidden->setObjectName(QStringLiteral("lblListHidden"));
    hidden->setAlignment(Qt::AlignCenter);
    hidden->setEnabled(false);

    m_pages = new QStackedWidget;
    m_pages->addWidget(m_table);
    m_pages->addWidget(hidden);
    setCentralWidget(m_pages);

    m_runState = new QLabel;
    m_runState->setObjectName(QStringLiteral("lblRunState"));
    QFont bold = m_runState->font();
    bold.setBold(true);
    m_runState->setFont(bold);
    m_setpoints = new QLabel;
    m_setpoints->setObjectName(QStringLiteral("lblSetpoints"));
    m_rows = new QLabel;
    m_rows->setObjectName(QStringLiteral("lblRows"));
    statusBar()->addWidget(m_runState);
    statusBar()->addWidget(m_setpoints);
    statusBar()->addPermanentWidget(m_rows);

    buildActions();

    if (!m_store)
        return;
    connect(m_store, &ListStore::visibleChanged, this, &ListManagerWindow::applyVisible);
    connect(m_store, &ListStore::shownAgain, this, [this] {
        setVisible(true);
        raise();
        activateWindow();
    });
    connect(m_store, &ListStore::windowStateChanged, this, &ListManagerWindow::applyWindowState);
    connect(m_store, &ListStore::showOnTopChanged, this, &ListManagerWindow::applyShowOnTop);
    connect(m_store, &ListStore::listVisibleChanged, this, &ListManagerWindow::applyListVisible);
    connect(m_store,
            &ListStore::enabledCommandsChanged,
            this,
            &ListManagerWindow::updateEnabledCommands);
    connect(m_store, &ListStore::runStateChanged, this, &ListManagerWindow::updateRunState);
    connect(m_store, &ListStore::setpointsChanged, this, &ListManagerWindow::updateCounts);
    connect(m_store, &ListStore::viewWorksRequested, this, &ListManagerWindow::viewWorks);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ListManagerWindow::followNewRows);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ListManagerWindow::updateCounts);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &ListManagerWindow::updateCounts);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ListManagerWindow::updateCounts);

    applyWindowState(m_store->windowState());
    applyShowOnTop(m_store->showOnTop());
    applyListVisible(m_store->listVisible());
    updateEnabledCommands();
    updateRunState();
    updateCounts();
}

void ListManagerWindow::fitToFont()
{
    // Fixed row heights and fixed column widths: nothing is measured per row, so the view
    // stays quick however long the list grows. The table and its headings take the window's
    // font, which may change while it is shown.
    const QFontMetrics metrics(font());
    m_table->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    // Wide enough for ten digits and for every standard column's heading.
    int columnWidth = metrics.horizontalAdvance(u'0') * 10;
    for (int number : standardFieldNumbers())
        columnWidth = std::max(columnWidth, metrics.horizontalAdvance(fieldCaption(number)) + 16);
    m_table->horizontalHeader()->setDefaultSectionSize(columnWidth);
}

void ListManagerWindow::placeBeside(const QRect &anchor, const QRect &keptClear, double textScale)
{
    const QScreen *screen = QGuiApplication::screenAt(anchor.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Before it is first shown the window knows no frame: a usual one, about.
    QSize frame = frameGeometry().size() - size();
    if (!isVisible() || frame.isEmpty())
        frame = FrameGuess;
    const QSize wanted = (QSizeF(UsualSize) * textScale).toSize() + frame;
    const QRect place = ui::placeBeside(screen->availableGeometry(), anchor, wanted, 24, keptClear);
    resize(place.size() - frame);
    move(place.topLeft());
}

void ListManagerWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToFont();
}

void ListManagerWindow::closeEvent(QCloseEvent *event)
{
    if (m_store)
        m_store->setVisible(false);
    event->accept();
}

void ListManagerWindow::buildActions()
{
    QToolBar *bar = addToolBar(tr("List"));
    bar->setObjectName(QStringLiteral("tbList"));
    bar->setMovable(false);
    m_newList = bar->addAction(tr("New List"), this, &ListManagerWindow::newList);
    m_newList->setObjectName(QStringLiteral("actNewList"));
    m_openList = bar->addAction(tr("Open List..."), this, &ListManagerWindow::openList);
    m_openList->setObjectName(QStringLiteral("actOpenList"));
    m_saveList = bar->addAction(tr("Save List As..."), this, &ListManagerWindow::saveList);
    m_saveList->setObjectName(QStringLiteral("actSaveList"));
}

void ListManagerWindow::applyVisible(bool visible)
{
    setVisible(visible);
}

void ListManagerWindow::applyWindowState(listmanager::WindowState state)
{
    Qt::WindowStates states = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == listmanager::WindowState::Minimized)
        states |= Qt::WindowMinimized;
    else if (state == listmanager::WindowState::Maximized)
        states |= Qt::WindowMaximized;
    setWindowState(states);
}

void ListManagerWindow::applyShowOnTop(bool onTop)
{
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop); // hides a shown window
    if (shown)
        show();
}

void ListManagerWindow::applyListVisible(bool visible)
{
    m_pages->setCurrentIndex(visible ? 0 : 1);
}

void ListManagerWindow::updateEnabledCommands()
{
    m_newList->setEnabled(m_store->newListEnabled());
    m_openList->setEnabled(m_store->openListEnabled());
    m_saveList->setEnabled(m_store->saveListEnabled());
}

void ListManagerWindow::updateRunState()
{
    m_runState->setText(QCoreApplication::translate(
        "RunState", runStateCaption(m_store->runState()).toUtf8().constData()));
}

void ListManagerWindow::updateCounts()
{
    m_setpoints->setText(tr("Setpoints: %1").arg(m_store->setpoints()));
    m_rows->setText(tr("Rows: %1").arg(m_model->rowCount()));
}

void ListManagerWindow::viewWorks(bool throughout)
{
    show();
    raise();
    activateWindow();
    const int row = m_store->exeRow() - 1;
    if (throughout && row >= 0 && row < m_model->rowCount()) {
        m_table->selectRow(row);
        m_table->scrollTo(m_model->index(row, 0));
    }
}

// Keeps the newest row in sight while the operator looks at the end of the list;
// bursts of added rows are followed once, after they are in.
void ListManagerWindow::followNewRows()
{
    if (m_followPending || !isVisible())
        return;
    const QScrollBar *bar = m_table->verticalScrollBar();
    if (bar->value() < bar->maximum())
        return;
    m_followPending = true;
    QTimer::singleShot(0, this, [this] {
        m_followPending = false;
        m_table->scrollToBottom();
    });
}

void ListManagerWindow::newList()
{
    if (m_store->rowCount() > 0) {
        const auto answer = QMessageBox::question(
            this,
            windowTitle(),
            tr("Start a new list? The %1 rows of the current list are removed.")
                .arg(m_store->rowCount()));
        if (answer != QMessageBox::Yes)
            return;
    }
    try {
        m_store->clear();
        m_store->openCurrentList();
    } catch (const base::Error &error) {
        reportError(error);
    }
}

void ListManagerWindow::openList()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open List"), {}, tr("Lists (*.lst *.LST);;All files (*)"));
    if (path.isEmpty())
        return;
    try {
        m_store->openListFile(path);
    } catch (const base::Error &error) {
        reportError(error);
    }
}

void ListManagerWindow::saveList()
{
    QString path = QFileDialog::getSaveFileName(
        this, tr("Save List As"), {}, tr("Lists (*.lst *.LST);;All files (*)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".lst");
    try {
        m_store->saveList(path);
    } catch (const base::Error &error) {
        reportError(error);
    }
}

void ListManagerWindow::reportError(const base::Error &error)
{
    QMessageBox::warning(this, windowTitle(), base::unexpectedErrorText(error));
}

} // namespace barlink::embeddedlist
