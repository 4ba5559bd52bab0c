#include "JournalWindow.h"

#include "journal/CsvExport.h"
#include "journal/ExportTarget.h"
#include "journal/LocalFile.h"
#include "journal/ServerTable.h"
#include "journal/SpillFile.h"
#include "ui/CenterForm.h"
#include "ui/Language.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace barlink::journal {

JournalWindow::JournalWindow(QString journalPath, QString server, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_journalPath(std::move(journalPath))
    , m_server(std::move(server))
{
    setWindowTitle(tr("Journal"));
    m_text = new QLineEdit(this);
    m_text->setPlaceholderText(tr("Search label, reason, field, program"));
    m_text->setClearButtonEnabled(true);
    m_outcomes = new QComboBox(this);
    // In the order of journal::Filter::Outcomes; each shows entries of that one outcome.
    m_outcomes->addItems({tr("All"), tr("Refused only"), tr("Taken only"), tr("Failed only")});
    const auto dateFilter = [this](const QString &title, QCheckBox *&enabled, QDateEdit *&date) {
        enabled = new QCheckBox(title, this);
        date = new QDateEdit(QDate::currentDate(), this);
        date->setCalendarPopup(true);
        // The day and month names of the operator's language; English as the system gives it.
        if (ui::shownLocale() != QLocale::c())
            date->setLocale(ui::shownLocale());
        date->setEnabled(false);
        connect(enabled, &QCheckBox::toggled, this, [this, date](bool on) {
            date->setEnabled(on);
            applyFilter();
        });
        connect(date, &QDateEdit::dateChanged, this, &JournalWindow::applyFilter);
    };
    dateFilter(tr("From"), m_fromEnabled, m_from);
    dateFilter(tr("To"), m_toEnabled, m_to);
    m_newer = new QTimer(this);
    m_newer->setSingleShot(true);
    m_newer->setInterval(100);
    connect(m_newer, &QTimer::timeout, this, &JournalWindow::showNewer);
    auto *exportButton = new QPushButton(tr("Export..."), this);
    exportButton->setObjectName(QStringLiteral("cmdExport"));

    // The search box has a line of its own, its hint whole at every text size; the other
    // filters go beneath it.
    auto *filters = new QHBoxLayout;
    filters->addWidget(m_outcomes);
    filters->addWidget(m_fromEnabled);
    filters->addWidget(m_from);
    filters->addWidget(m_toEnabled);
    filters->addWidget(m_to);
    if (!m_server.isEmpty()) {
        m_store = new QComboBox(this);
        m_store->addItems({tr("This station"), tr("Shop-wide")});
        m_station = new QLineEdit(this);
        m_station->setPlaceholderText(tr("All stations"));
        m_station->setEnabled(false);
        filters->addWidget(m_store);
        filters->addWidget(m_station);
        connect(m_store, &QComboBox::currentIndexChanged, this, [this](int index) {
            m_station->setEnabled(index == 1);
            openStore();
        });
        connect(m_station, &QLineEdit::editingFinished, this, &JournalWindow::applyFilter);
    }
    filters->addStretch(1);
    filters->addWidget(exportButton);

    m_problem = new QLabel(this);
    m_problem->setVisible(false);
    m_nothingFound = new QLabel(tr("nothing found"), this);
    m_nothingFound->setObjectName(QStringLiteral("lblNothingFound"));
    m_nothingFound->setVisible(false);
    m_exported = new QLabel(this);
    m_exported->setObjectName(QStringLiteral("lblExported"));
    m_exported->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_exported->setWordWrap(true);
    m_exported->setVisible(false);
    m_view = new QTableView(this);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Scrolled by rows, so that rows put on top can be scrolled past (showNewer()).
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_view->verticalHeader()->setVisible(false);
    m_view->horizontalHeader()->setStretchLastSection(true);
    // One line a row: a time never breaks; a long reason is cut and read in its tool tip.
    m_view->setWordWrap(false);
    // Tab leaves the table; the arrow keys move in it.
    m_view->setTabKeyNavigation(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(filters);
    layout->addWidget(m_problem);
    layout->addWidget(m_exported);
    layout->addWidget(m_nothingFound);
    layout->addWidget(m_view, 1);
    // Low on a small screen at a large text size, the filters and the table scroll.
    ui::scrollInside(this);
    resize(1000, 560);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this),
            &QShortcut::activated,
            this,
            &QWidget::close);

    connect(m_text, &QLineEdit::textChanged, this, &JournalWindow::applyFilter);
    connect(m_outcomes, &QComboBox::currentIndexChanged, this, &JournalWindow::applyFilter);
    connect(exportButton, &QPushButton::clicked, this, &JournalWindow::exportShown);
    openStore();
}

JournalWindow::~JournalWindow()
{
    // The model's queries go before their connection.
    m_view->setModel(nullptr);
    m_model.reset();
}

void JournalWindow::openStore()
{
    m_view->setModel(nullptr);
    m_model.reset();
    const bool shop = m_store && m_store->currentIndex() == 1;
    m_connection = std::make_unique<journal::Connection>(shop ? QStringLiteral("QPSQL")
                                                              : QStringLiteral("QSQLITE"));
    QSqlDatabase db = m_connection->database();
    const QString problem
        = shop ? journal::openServer(db, m_server)
               : journal::openLocalFile(db, m_journalPath, journal::Durability::Checkpoints);
    m_problem->setText(problem.isEmpty() ? QString()
                                         : tr("The journal cannot be read: ") + problem);
    m_problem->setVisible(!problem.isEmpty());
    if (!problem.isEmpty())
        return;
    m_model = std::make_unique<JournalTableModel>(
        db, shop ? journal::Store::Server : journal::Store::Local);
    m_view->setModel(m_model.get());
    // Sized once a filter's first page is in, and when entries come on top of none.
    connect(m_model.get(), &QAbstractItemModel::rowsInserted, this, &JournalWindow::showRows);
    connect(m_model.get(), &QAbstractItemModel::modelReset, this, &JournalWindow::showRows);
    applyFilter();
}

void JournalWindow::showRows()
{
    const bool empty = m_model->rowCount() == 0;
    m_nothingFound->setVisible(empty);
    if (!empty && !m_sized)
        fitColumns();
    m_sized = !empty;
}

void JournalWindow::fitColumns()
{
    // Every column as wide as its widest text, up to about fifty characters.
    m_view->resizeColumnsToContents();
    const int widest = fontMetrics().averageCharWidth() * 50;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (m_view->columnWidth(column) > widest)
            m_view->setColumnWidth(column, widest);
    }
}

void JournalWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_model)
        fitColumns();
}

void JournalWindow::refresh()
{
    applyFilter();
}

void JournalWindow::entriesWritten()
{
    // A hidden window reads the journal afresh when shown again.
    if (m_model && isVisible() && !m_newer->isActive())
        m_newer->start();
}

void JournalWindow::showNewer()
{
    if (!m_model)
        return;
    QScrollBar *bar = m_view->verticalScrollBar();
    const int top = bar->value();
    const int added = m_model->fetchNewer();
    // Rows scrolled to stay where they were; at the top, the new entries show.
    if (top > 0 && added > 0)
        bar->setValue(top + added);
}

void JournalWindow::showEntry(const journal::Entry &entry)
{
    {
        const QSignalBlocker text(m_text);
        const QSignalBlocker outcomes(m_outcomes);
        const QSignalBlocker from(m_fromEnabled);
        const QSignalBlocker to(m_toEnabled);
        m_text->clear();
        m_outcomes->setCurrentIndex(0);
        for (QCheckBox *dateEnabled : {m_fromEnabled, m_toEnabled})
            dateEnabled->setChecked(false);
        m_from->setEnabled(false);
        m_to->setEnabled(false);
    }
    if (m_store && m_store->currentIndex() != 0)
        m_store->setCurrentIndex(0); // reopens the station's own journal
    else
        applyFilter();
    if (!m_model)
        return;
    // The entries the main window shows are the newest: a few pages at most are read.
    constexpr int MaxRows = 2000;
    const qint64 time = entry.time.toMSecsSinceEpoch();
    for (int row = 0; row < MaxRows; ++row) {
        if (row >= m_model->rowCount()) {
            if (!m_model->canFetchMore({}))
                return;
            m_model->fetchMore({});
            if (row >= m_model->rowCount())
                return;
        }
        const journal::Entry &shown = m_model->entryAt(row);
        if (shown.time.toMSecsSinceEpoch() == time && shown.label == entry.label) {
            m_view->selectRow(row);
            m_view->scrollTo(m_model->index(row, 0), QAbstractItemView::PositionAtCenter);
            return;
        }
        // Newest first: past its time, it is not there.
        if (shown.time.toMSecsSinceEpoch() < time)
            return;
    }
}

journal::Filter JournalWindow::filterShown() const
{
    journal::Filter filter;
    filter.text = m_text->text();
    filter.outcomes = journal::Filter::Outcomes(m_outcomes->currentIndex());
    if (m_fromEnabled->isChecked())
        filter.from = m_from->date().startOfDay();
    // The "To" day is shown whole.
    if (m_toEnabled->isChecked())
        filter.until = m_to->date().addDays(1).startOfDay();
    if (m_station && m_station->isEnabled())
        filter.station = m_station->text().trimmed();
    return filter;
}

void JournalWindow::applyFilter()
{
    if (!m_model)
        return;
    m_sized = false;
    m_model->setFilter(filterShown());
}

void JournalWindow::exportShown()
{
    if (!m_model)
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(folder).filePath(
        QStringLiteral("journal-%1.csv").arg(QDate::currentDate().toString(Qt::ISODate)));
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export the entries shown"), suggested, tr("CSV (*.csv)"));
    if (!path.isEmpty())
        exportTo(path);
}

void JournalWindow::exportTo(const QString &path)
{
    if (!m_model)
        return;
    const QString shownPath = QDir::toNativeSeparators(path);
    // The journal's own files are never written over, whatever name leads to them.
    const journal::KeptFiles kept{.journals = {m_journalPath},
                                  .spill = journal::defaultSpillPath()};
    if (!journal::keptFileAt(path, kept).isEmpty()) {
        m_exported->setText(
            tr("Not exported to %1: it is a file of the scan journal, which an export never "
               "writes over.")
                .arg(shownPath));
        m_exported->setVisible(true);
        return;
    }
    journal::ExportTarget file(path, kept);
    QString error;
    qint64 written = -1;
    if (!file.open()) {
        error = file.error();
    } else {
        written = journal::exportCsv(
            m_model->database(), m_model->store(), m_model->filter(), file.device(), &error);
        if (written >= 0 && !file.commit()) {
            written = -1;
            error = file.error();
        }
    }
    m_exported->setText(written < 0 ? tr("Not exported to %1: %2").arg(shownPath, error)
                        : written == 1
                            ? tr("1 entry written to %1").arg(shownPath)
                            : tr("%1 entries written to %2").arg(written).arg(shownPath));
    m_exported->setVisible(true);
}

} // namespace barlink::journal
