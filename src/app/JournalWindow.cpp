#include "JournalWindow.h"

#include "journal/CsvExport.h"
#include "journal/LocalFile.h"
#include "journal/ServerTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>

namespace barlink::app {

JournalWindow::JournalWindow(QString journalPath, QString server, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_journalPath(std::move(journalPath))
    , m_server(std::move(server))
{
    setWindowTitle(QStringLiteral("Journal"));
    m_text = new QLineEdit(this);
    m_text->setPlaceholderText(QStringLiteral("Search label, reason, field, program"));
    m_text->setClearButtonEnabled(true);
    m_outcomes = new QComboBox(this);
    m_outcomes->addItems(
        {QStringLiteral("All"), QStringLiteral("Refused only"), QStringLiteral("Taken only")});
    m_fromEnabled = new QCheckBox(QStringLiteral("From"), this);
    m_from = new QDateEdit(QDate::currentDate(), this);
    m_from->setCalendarPopup(true);
    m_from->setEnabled(false);
    auto *exportButton = new QPushButton(QStringLiteral("Export..."), this);

    auto *filters = new QHBoxLayout;
    filters->addWidget(m_text, 1);
    filters->addWidget(m_outcomes);
    filters->addWidget(m_fromEnabled);
    filters->addWidget(m_from);
    if (!m_server.isEmpty()) {
        m_store = new QComboBox(this);
        m_store->addItems({QStringLiteral("This station"), QStringLiteral("Shop-wide")});
        m_station = new QLineEdit(this);
        m_station->setPlaceholderText(QStringLiteral("All stations"));
        m_station->setEnabled(false);
        filters->addWidget(m_store);
        filters->addWidget(m_station);
        connect(m_store, &QComboBox::currentIndexChanged, this, [this](int index) {
            m_station->setEnabled(index == 1);
            openStore();
        });
        connect(m_station, &QLineEdit::editingFinished, this, &JournalWindow::applyFilter);
    }
    filters->addWidget(exportButton);

    m_problem = new QLabel(this);
    m_problem->setVisible(false);
    m_view = new QTableView(this);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->verticalHeader()->setVisible(false);
    m_view->horizontalHeader()->setStretchLastSection(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_problem);
    layout->addWidget(m_view, 1);
    resize(1000, 560);

    connect(m_text, &QLineEdit::textChanged, this, &JournalWindow::applyFilter);
    connect(m_outcomes, &QComboBox::currentIndexChanged, this, &JournalWindow::applyFilter);
    connect(m_fromEnabled, &QCheckBox::toggled, this, [this](bool on) {
        m_from->setEnabled(on);
        applyFilter();
    });
    connect(m_from, &QDateEdit::dateChanged, this, &JournalWindow::applyFilter);
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
    m_problem->setText(
        problem.isEmpty() ? QString() : QStringLiteral("The journal cannot be read: ") + problem);
    m_problem->setVisible(!problem.isEmpty());
    if (!problem.isEmpty())
        return;
    m_model = std::make_unique<JournalTableModel>(
        db, shop ? journal::Store::Server : journal::Store::Local);
    m_view->setModel(m_model.get());
    applyFilter();
}

void JournalWindow::refresh()
{
    applyFilter();
}

void JournalWindow::showEntry(const journal::Entry &entry)
{
    {
        const QSignalBlocker text(m_text);
        const QSignalBlocker outcomes(m_outcomes);
        const QSignalBlocker from(m_fromEnabled);
        m_text->clear();
        m_outcomes->setCurrentIndex(0);
        m_fromEnabled->setChecked(false);
        m_from->setEnabled(false);
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
    if (m_station && m_station->isEnabled())
        filter.station = m_station->text().trimmed();
    return filter;
}

void JournalWindow::applyFilter()
{
    if (m_model)
        m_model->setFilter(filterShown());
}

void JournalWindow::exportShown()
{
    if (!m_model)
        return;
    const QString path = QFileDialog::getSaveFileName(this,
                                                      QStringLiteral("Export"),
                                                      QStringLiteral("journal.csv"),
                                                      QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    QString error;
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
    } else if (journal::exportCsv(
                   m_model->database(), m_model->store(), m_model->filter(), file, &error)
               >= 0) {
        if (file.commit())
            return;
        error = file.errorString();
    }
    QMessageBox::warning(this, QStringLiteral("Export"), QStringLiteral("Not exported: ") + error);
}

} // namespace barlink::app
