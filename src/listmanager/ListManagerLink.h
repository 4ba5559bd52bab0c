#pragma once

#include "Application.h"
#include "ExeList.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

namespace barlink::listmanager {

// The list manager references the station holds for the whole run (the
// Application, the current list, the late-bound fallback list) and the list
// commands it sends through them. A command whose object is not held raises
// error 91, as a call on an unset object does.
class ListManagerLink : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] const std::shared_ptr<Application> &application() const { return m_application; }
    void setApplication(std::shared_ptr<Application> application);
    [[nodiscard]] const std::shared_ptr<ExeList> &currentList() const { return m_list; }
    void setCurrentList(std::shared_ptr<ExeList> list);
    [[nodiscard]] const std::shared_ptr<LateBoundList> &lateBoundList() const
    {
        return m_lateBoundList;
    }
    void setLateBoundList(std::shared_ptr<LateBoundList> list);

    // Only whether the command line was empty matters: with text on it no list
    // is requested at start-up and the list is never cleared.
    [[nodiscard]] bool commandLineEmpty() const { return m_commandLineEmpty; }
    void setCommandLineEmpty(bool empty) { m_commandLineEmpty = empty; }

    // ClearList on the current list, only when the command line was empty. Returns the rows
    // the list held, when they were asked (someone hears of the clearing) and told.
    std::optional<qint32> clearHostList();
    void hostListStart();
    void hostListStop();
    void hostListEnd();
    void setpoint();

    // Adds a row at the end of the current list. When the list manager refuses it, the
    // late-bound list object is created (which brings the list manager up) and the same row is
    // tried once more; a second failure is thrown, so the label is abandoned without an "ACK".
    void addRow(const QString &row, ListManagerProvider &provider);

    // What the current list holds at its end: its row count, its last `count` rows in order,
    // whether it runs, and the row the machine works on (0: none). Throws as the list does.
    struct ListEnd
    {
        qint32 rows = 0;
        QStringList lastRows;
        bool running = false;
        qint32 exeRow = 0;
    };
    [[nodiscard]] ListEnd listEnd(qint32 count) const;
    [[nodiscard]] qint32 rowCount() const { return requireList().rows(); }
    // Removes the last `count` rows of the current list, the last first.
    void removeLastRows(qint32 count);

    // Drops the references: the late-bound list, the current list, the Application.
    void release();

Q_SIGNALS:
    // A list was cleared, with the rows that were in it when the list could say.
    void listCleared(std::optional<qint32> rows);
    // addRow() put this row into the list.
    void rowAdded(const QString &row);

private:
    Application &requireApplication() const;
    ExeList &requireList() const;

    std::shared_ptr<Application> m_application;
    std::shared_ptr<ExeList> m_list;
    std::shared_ptr<LateBoundList> m_lateBoundList;
    bool m_commandLineEmpty = true;
};

} // namespace barlink::listmanager
