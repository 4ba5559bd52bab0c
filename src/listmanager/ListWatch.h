#pragma once

#include <QObject>
#include <QString>

namespace barlink::listmanager {

// Whether the list manager answers a client.
enum class Reach {
    // Not asked yet.
    Unknown,
    Reached,
    // No program holds the list manager's bus name (never started, ended, or killed).
    NotRunning,
    // It holds the name but did not answer in time, or answered with an error.
    NotAnswering,
    // There is no bus to reach it on.
    NoBus,
};

// What a client knows of the list manager's current list.
struct ListState
{
    Reach reach = Reach::Unknown;
    // Unless reached: the bus name asked for, and the bus's own words when it said more.
    QString service;
    QString detail;
    // A list is open: handed out or loaded, and not closed since.
    bool opened = false;
    qint32 rows = 0;
    bool inRun = false;
    // The row the machine works on, counted from 1; 0 when none.
    qint32 exeRow = 0;

    friend bool operator==(const ListState &, const ListState &) = default;
};

// Follows the list manager's current list for the windows: its state is made from what the
// list manager tells (rows added and removed, the list reset, the run state, a list opened or
// closed, the list manager gone), read in full once when the watch starts and again when the
// list manager comes back. Nothing polls. Implementations feed it from the list manager they
// watch.
class ListWatch : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] const ListState &state() const { return m_state; }

Q_SIGNALS:
    // Sent for every change of the state, once the state holds it.
    void stateChanged(const barlink::listmanager::ListState &state);

protected:
    // The whole state, read from a list manager that answers.
    void takeState(const ListState &state);
    void takeRowsAdded(qint32 count);
    void takeRowsRemoved(qint32 count);
    void takeListReset(qint32 rows);
    void takeRunState(bool inRun, qint32 exeRow);
    void takeListOpened(bool opened);
    // The list manager cannot be reached; what was known of the list is no longer true.
    void takeLost(Reach reach, const QString &service, const QString &detail = {});

private:
    void change(const ListState &next);

    ListState m_state;
};

} // namespace barlink::listmanager
