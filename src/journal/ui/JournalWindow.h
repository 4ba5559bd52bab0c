#pragma once

#include "JournalTableModel.h"
#include "journal/Connection.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableView;
class QTimer;

namespace barlink::journal {

// View > Journal: the station's journal, newest first, filtered by text, outcome and dates;
// with a journal server, the shop-wide table instead (every station, or one); "nothing found"
// when the filter lets no entry through. "Export..." asks where and writes the entries shown,
// with the filter, as CSV, and says where it wrote them. Escape closes it.
class JournalWindow : public QWidget
{
    Q_OBJECT
public:
    // journalPath: the station's journal file; server: the JournalServer setting (empty: none).
    JournalWindow(QString journalPath, QString server, QWidget *parent = nullptr);
    ~JournalWindow() override;

    // Reads the journal again from the newest entry.
    void refresh();
    // Shows the station's own journal without a filter, with the entry (same time and label)
    // selected, when it is among the newest entries.
    void showEntry(const journal::Entry &entry);

    // Writes the entries shown to path as CSV and says so, or why not, in the window.
    void exportTo(const QString &path);

public Q_SLOTS:
    // Entries were written to the station's journal: shown on top soon after, while the
    // window is open; the rows in view stay in view unless the newest were in view.
    void entriesWritten();

protected:
    void changeEvent(QEvent *event) override;

private:
    void showNewer();
    void showRows();
    void fitColumns();
    void openStore();
    void applyFilter();
    void exportShown();
    [[nodiscard]] journal::Filter filterShown() const;

    QString m_journalPath;
    QString m_server;
    QLineEdit *m_text = nullptr;
    QComboBox *m_outcomes = nullptr;
    QCheckBox *m_fromEnabled = nullptr;
    QDateEdit *m_from = nullptr;
    QCheckBox *m_toEnabled = nullptr;
    QDateEdit *m_to = nullptr;
    QTimer *m_newer = nullptr;      // gathers the entries written in a burst into one read
    QComboBox *m_store = nullptr;   // local or shop-wide; only with a server
    QLineEdit *m_station = nullptr; // one station of the shop-wide table; empty: all
    QLabel *m_problem = nullptr;
    QLabel *m_nothingFound = nullptr;
    QLabel *m_exported = nullptr;
    bool m_sized = false; // the columns fit the first rows of the filter in force
    QTableView *m_view = nullptr;
    std::unique_ptr<journal::Connection> m_connection;
    std::unique_ptr<JournalTableModel> m_model;
};

} // namespace barlink::journal
