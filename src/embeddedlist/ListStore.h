#pragma once

#include "FieldColumns.h"
#include "ListStorage.h"
#include "RunState.h"
#include "listmanager/Application.h"

#include <QObject>
#include <QStringList>

namespace barlink::embeddedlist {

// The embedded list manager's state: the one current list (the machine's list),
// its run state and setpoint count, and the window switches. Every change of the
// list, the run state or the setpoints reaches the disk before it is made in
// memory, so memory and disk never disagree; a change that cannot be written
// throws barlink::base::Error and changes nothing. Row indexes here count from 0.
class ListStore : public QObject
{
    Q_OBJECT

public:
    // Reloads the list and run state kept in `folder`. Throws barlink::base::Error when the
    // list is there but cannot be read.
    explicit ListStore(const QString &folder = defaultFolder(), QObject *parent = nullptr);

    // $XDG_DATA_HOME/barlink (~/.local/share/barlink when unset).
    [[nodiscard]] static QString defaultFolder();
    [[nodiscard]] const QString &folder() const { return m_storage.folder(); }

    // A list exists once one was kept on disk, handed out, loaded or written to.
    [[nodiscard]] bool hasList() const { return m_hasList; }
    // A list is open from the time it is handed out or loaded until it is closed.
    [[nodiscard]] bool listOpen() const { return m_listOpen; }
    // Hands out the current list: creates an empty one when none exists yet.
    void openCurrentList();
    // Closes the list; its rows stay, and handing it out again reopens it.
    void closeList();

    [[nodiscard]] qint32 rowCount() const { return qint32(m_rows.size()); }
    [[nodiscard]] const QStringList &rows() const { return m_rows; }
    // Throws base::Error 9 for an index outside the list.
    [[nodiscard]] const QString &row(qint32 index) const;
    void addRow(const QString &row);
    void setRow(qint32 index, const QString &row);
    void removeRow(qint32 index);
    void clear();
    // Puts `rows` in place of the list's rows (loading a list file).
    void replaceRows(const QStringList &rows);
    void appendRows(const QStringList &rows);
    // Loads a list file in place of the rows and opens the list; appends a list
    // file's rows. A missing file raises error 53.
    void openListFile(const QString &path);
    void appendListFile(const QString &path);
    // Writes the list as a list file elsewhere.
    void saveList(const QString &path) const;
    [[nodiscard]] const FieldColumns &columns() const { return m_columns; }

    [[nodiscard]] RunState runState() const { return m_runState; }
    void runCommand(RunCommand command);
    [[nodiscard]] qint32 setpoints() const { return m_setpoints; }
    void addSetpoint();
    // Each list runs once; the station has no way to ask for more.
    [[nodiscard]] qint32 repetitions() const { return 1; }
    // The row the machine works on: the first while the list runs or is held,
    // 0 when nothing runs (the embedded list manager drives no machine).
    [[nodiscard]] qint32 exeRow() const;

    [[nodiscard]] bool visible() const { return m_visible; }
    void setVisible(bool visible);
    [[nodiscard]] bool listVisible() const { return m_listVisible; }
    void setListVisible(bool visible);
    // 0 normal, 1 minimised, 2 maximised; throws base::Error 5 for any other value.
    [[nodiscard]] listmanager::WindowState windowState() const { return m_windowState; }
    // Throws base::Error 5 for a state outside the three.
    void setWindowState(listmanager::WindowState state);
    [[nodiscard]] bool showOnTop() const { return m_showOnTop; }
    void setShowOnTop(bool onTop);
    [[nodiscard]] bool openListEnabled() const { return m_openListEnabled; }
    [[nodiscard]] bool saveListEnabled() const { return m_saveListEnabled; }
    [[nodiscard]] bool newListEnabled() const { return m_newListEnabled; }
    void enableOpenList(bool enable);
    void enableSaveList(bool enable);
    void enableNewList(bool enable);
    // Quitting hides the list manager; the list and the station go on.
    [[nodiscard]] bool quitRequested() const { return m_quitRequested; }
    void requestQuit();
    // Brings the list to the operator; `throughout` also goes to the executing row.
    void requestViewWorks(bool throughout);

Q_SIGNALS:
    // Row signals come after the disk write; the "about to" ones while the rows
    // in memory are still the old ones.
    void rowsAppended(qint32 first, qint32 last);
    void rowChanged(qint32 index);
    void rowAboutToBeRemoved(qint32 index);
    void rowRemoved(qint32 index);
    void listAboutToBeReset();
    void listReset();
    void runStateChanged();
    void listOpenChanged(bool open);
    void setpointsChanged();
    void visibleChanged(bool visible);
    // Shown again while shown (the List Manager chosen in a station's menu): the window is to
    // come to the front, since it may lie behind another.
    void shownAgain();
    void listVisibleChanged(bool visible);
    void windowStateChanged(listmanager::WindowState state);
    void showOnTopChanged(bool onTop);
    void enabledCommandsChanged();
    void viewWorksRequested(bool throughout);

private:
    void checkIndex(qint32 index) const;
    void resetRows(QStringList rows);

    ListStorage m_storage;
    QStringList m_rows;
    FieldColumns m_columns;
    bool m_hasList = false;
    bool m_listOpen = false;
    RunState m_runState = RunState::Idle;
    qint32 m_setpoints = 0;
    bool m_visible = true;
    bool m_listVisible = true;
    listmanager::WindowState m_windowState = listmanager::WindowState::Normal;
    bool m_showOnTop = false;
    bool m_openListEnabled = true;
    bool m_saveListEnabled = true;
    bool m_newListEnabled = true;
    bool m_quitRequested = false;
};

} // namespace barlink::embeddedlist
