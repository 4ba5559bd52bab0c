#pragma once

#include "listmanager/BusNames.h"

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QRect>
#include <QStringList>

#include <functional>
#include <memory>

namespace barlink::embeddedlist {
class ListStore;
}
namespace barlink::listmanager {
class Application;
class ExeList;
class LateBoundList;
} // namespace barlink::listmanager

// The list manager's objects as the session bus sees them. Each wraps the list manager's C++
// object over the one store and carries the members of its bus interface under the interface's
// names; the adaptors generated from org.barlink.ListManager.xml call them. A failure of the
// list manager becomes the bus error org.barlink.ListManager.Error.N, N its error number.
namespace barlink::listservice {

using listmanager::bus::applicationPath;
using listmanager::bus::currentListPath;
using listmanager::bus::errorPrefix;
using listmanager::bus::lateBoundListPath;
using listmanager::bus::serviceName;

// Runs `call`; a base::Error it throws is answered as the bus error of its number when the
// call came over the bus, and the default value is returned in its place.
class BusObject : public QObject, protected QDBusContext
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    template<typename T> T guarded(const std::function<T()> &call, T fallback = T());
    void guarded(const std::function<void()> &call);

private:
    void answerError(int number, const QString &description);
};

class BusExeList : public BusObject
{
    Q_OBJECT
    Q_PROPERTY(bool ListInRun READ listInRun)
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)
    Q_PROPERTY(short Columns READ columns)
    Q_PROPERTY(int Rows READ rows)
    Q_PROPERTY(int Repetitions READ repetitions)
    Q_PROPERTY(int ExeRow READ exeRow)
public:
    BusExeList(std::shared_ptr<embeddedlist::ListStore> store, QObject *parent = nullptr);
    ~BusExeList() override;

    bool listInRun();
    bool visible();
    void setVisible(bool visible);
    short columns();
    int rows();
    int repetitions();
    int exeRow();

public Q_SLOTS:
    QStringList ColInfo();
    void AddLine(const QString &row);
    void DelLine(int line);
    QString GetLine(int line);
    void SetLine(int line, const QString &row);
    void AppendList(const QString &path);
    void ClearList();
    void ViewWorks();
    void ViewWorksThrought();
    void ListClose(bool close);

Q_SIGNALS:
    void RowsAdded(int first, int count);
    void RowsRemoved(int first, int count);
    void ListReset(int rows);
    void RunStateChanged(bool inRun, int exeRow);
    // An AddLine came in, before the row is stored (not on the bus).
    void addLineReceived();

private:
    std::shared_ptr<embeddedlist::ListStore> m_store;
    std::unique_ptr<listmanager::ExeList> m_list;
};

class BusApplication : public BusObject
{
    Q_OBJECT
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)
    Q_PROPERTY(bool Connected READ connected)
    Q_PROPERTY(short AccessLevel READ accessLevel)
    Q_PROPERTY(int WindowState READ windowState WRITE setWindowState)
    Q_PROPERTY(short ListOpened READ listOpened)
public:
    // The text sizes PlaceBeside takes, as a factor of the system's: a station's own range.
    static constexpr double MinTextScale = 0.5;
    static constexpr double MaxTextScale = 3.0;

    BusApplication(std::shared_ptr<embeddedlist::ListStore> store, QObject *parent = nullptr);
    ~BusApplication() override;

    bool visible();
    void setVisible(bool visible);
    bool connected();
    short accessLevel();
    int windowState();
    void setWindowState(int state);
    short listOpened();

public Q_SLOTS:
    void Quit(bool quit);
    QDBusObjectPath OpenList(const QString &path);
    QDBusObjectPath NewList();
    void StartList();
    void HoldList();
    void EndList();
    void Setpoint();
    void EnableOpenList(bool enable);
    void EnableSaveList(bool enable);
    void EnableNewList(bool enable);
    void ShowOnTop(bool onTop);
    void
    PlaceBeside(const QRect &anchor, const QRect &keptClear, double textScale, bool highContrast);

Q_SIGNALS:
    void ListOpened(const QDBusObjectPath &list);
    // A station asked for the window beside its own (not on the bus): the window follows.
    void placeBesideAsked(const QRect &anchor,
                          const QRect &keptClear,
                          double textScale,
                          bool highContrast);

private:
    std::shared_ptr<embeddedlist::ListStore> m_store;
    std::unique_ptr<listmanager::Application> m_application;
};

class BusLateBoundList : public BusObject
{
    Q_OBJECT
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)
public:
    BusLateBoundList(std::shared_ptr<embeddedlist::ListStore> store, QObject *parent = nullptr);
    ~BusLateBoundList() override;

    bool visible();
    void setVisible(bool visible);

public Q_SLOTS:
    void Clear();

private:
    std::shared_ptr<embeddedlist::ListStore> m_store;
    std::unique_ptr<listmanager::LateBoundList> m_list;
};

} // namespace barlink::listservice
