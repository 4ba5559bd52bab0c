#pragma once

#include "Application.h"
#include "base/Error.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QObject>
#include <QRect>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QDBusServiceWatcher;
class OrgBarlinkListManagerApplicationInterface;
class OrgBarlinkListManagerExeListInterface;
class OrgBarlinkListManagerLateBoundListInterface;

namespace barlink::listmanager {

// A call whose answer never came: the list manager ended or hung while it was on its way, so it
// may or may not have been carried out.
class ReplyLost : public base::Error
{
public:
    using base::Error::Error;
};

// One list manager on the session bus: the name the station talks to, the bound on every call,
// and what the bus says of the name's owner. Calls wait for their answer with the event loop
// running, so the station's windows stay alive while the list manager takes its time.
class BusListManager : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultTimeoutMs = 5000;
    [[nodiscard]] static QString defaultService();

    explicit BusListManager(QString service,
                            QDBusConnection bus = QDBusConnection::sessionBus(),
                            QObject *parent = nullptr);
    ~BusListManager() override;

    [[nodiscard]] const QString &service() const { return m_service; }
    [[nodiscard]] const QDBusConnection &bus() const { return m_bus; }
    [[nodiscard]] int timeoutMs() const { return m_timeoutMs; }
    void setTimeoutMs(int timeoutMs) { m_timeoutMs = timeoutMs; }
    // The program started when the bus cannot start the list manager (run from the build tree
    // or the demo, where no service file is installed); empty: none.
    void setProgram(QString program) { m_program = std::move(program); }

    // Makes sure the name has an owner: asks the bus to start the list manager, and starts the
    // program itself when the bus knows no way to. Throws base::Error 429 with the reason.
    void bringUp();
    // Whether the name had an owner when the bus last told.
    [[nodiscard]] bool running() const;

    // Waits for the answer to `call`. The list manager's own failures are thrown as base::Error
    // with their number; a call that got no answer as ReplyLost; any other failure (no such
    // name, no bus) as base::Error 429.
    QDBusMessage wait(const QDBusPendingCall &call) const;
    [[nodiscard]] QVariant
    property(const QString &path, const QString &interface, const QString &name) const;
    void setProperty(const QString &path,
                     const QString &interface,
                     const QString &name,
                     const QVariant &value) const;

    // Asks the list manager to put its window beside the station's window (anchor) off the part
    // kept clear, in the station's text size and colours (PlaceBeside). The answer is not
    // awaited: the window is a courtesy, no label waits for it. The list manager's answer
    // reaches `answered` later: empty when placed, else its words (a list manager without the
    // call); none comes from a list manager not reached, which the List badge tells already.
    void placeWindowBeside(const QRect &anchor,
                           const QRect &keptClear,
                           double textScale,
                           bool highContrast,
                           std::function<void(const QString &why)> answered) const;

Q_SIGNALS:
    // The name lost its owner: the list manager ended (or was killed).
    void lost(const base::Reason &reason);
    // The name has an owner again.
    void back();

private:
    QString m_service;
    QDBusConnection m_bus;
    int m_timeoutMs = DefaultTimeoutMs;
    QString m_program;
    QDBusServiceWatcher *m_watcher = nullptr;
};

// The Application object of a list manager on the bus.
class RemoteApplication final : public Application
{
public:
    explicit RemoteApplication(std::shared_ptr<BusListManager> bus);
    ~RemoteApplication() override;

    [[nodiscard]] bool visible() override;
    void setVisible(bool visible) override;
    [[nodiscard]] bool connected() override;
    [[nodiscard]] qint16 accessLevel() override;
    void setWindowState(WindowState state) override;
    [[nodiscard]] qint16 listOpened() override;
    void quit(bool quit) override;
    [[nodiscard]] std::shared_ptr<ExeList> openList(const QString &path) override;
    [[nodiscard]] std::shared_ptr<ExeList> newList() override;
    void startList() override;
    void holdList() override;
    void endList() override;
    void setpoint() override;
    void enableOpenList(bool enable) override;
    void enableSaveList(bool enable) override;
    void enableNewList(bool enable) override;
    void showOnTop(bool onTop) override;

    [[nodiscard]] OrgBarlinkListManagerApplicationInterface &proxy() { return *m_proxy; }

private:
    [[nodiscard]] QVariant get(const char *name);
    void set(const char *name, const QVariant &value);
    [[nodiscard]] std::shared_ptr<ExeList> listAt(const QString &path);

    std::shared_ptr<BusListManager> m_bus;
    std::unique_ptr<OrgBarlinkListManagerApplicationInterface> m_proxy;
};

// One list of a list manager on the bus. AddLine finds out, after an answer that never came,
// whether the row got in before it adds it again: a row is never added twice nor lost.
class RemoteExeList final : public ExeList
{
public:
    RemoteExeList(std::shared_ptr<BusListManager> bus, const QString &path);
    ~RemoteExeList() override;

    [[nodiscard]] bool listInRun() override;
    [[nodiscard]] bool visible() override;
    void setVisible(bool visible) override;
    [[nodiscard]] qint16 columns() override;
    [[nodiscard]] qint32 rows() override;
    [[nodiscard]] qint32 repetitions() override;
    [[nodiscard]] qint32 exeRow() override;
    [[nodiscard]] QStringList colInfo() override;
    // Reads Rows first, so that an answer lost on the way can be settled: the next addLine
    // (the retry of the same row, or the next item's) looks whether the row stands at the line
    // it was to take, and adds it only when it does not. Throws ReplyLost when the answer
    // never came.
    void addLine(const QString &row) override;
    void delLine(qint32 line) override;
    [[nodiscard]] QString getLine(qint32 line) override;
    void setLine(qint32 line, const QString &row) override;
    void appendList(const QString &path) override;
    void clearList() override;
    void viewWorks() override;
    void viewWorksThrought() override;
    void listClose(bool close) override;

    [[nodiscard]] OrgBarlinkListManagerExeListInterface &proxy() { return *m_proxy; }

private:
    [[nodiscard]] QVariant get(const char *name);
    // True when `row` is already in the list because a lost AddLine of it got in.
    bool settleUnconfirmed(const QString &row);

    std::shared_ptr<BusListManager> m_bus;
    std::unique_ptr<OrgBarlinkListManagerExeListInterface> m_proxy;
    // The row of an AddLine whose answer was lost, and the rows the list held before it.
    struct Unconfirmed
    {
        QString row;
        qint32 rowsBefore = 0;
    };
    std::optional<Unconfirmed> m_unconfirmed;
};

// The late-bound fallback list of a list manager on the bus.
class RemoteLateBoundList final : public LateBoundList
{
public:
    explicit RemoteLateBoundList(std::shared_ptr<BusListManager> bus);
    ~RemoteLateBoundList() override;

    void setVisible(bool visible) override;
    void clear() override;

private:
    std::shared_ptr<BusListManager> m_bus;
    std::unique_ptr<OrgBarlinkListManagerLateBoundListInterface> m_proxy;
};

// Creates the objects of the list manager that owns the bus name `target()` names when it is
// asked (the settings ListManagerService and ListManagerTimeoutMs, read at start-up). Starts the
// list manager when needed (bus activation, or the program beside the station's own).
class BusListManagerProvider final : public QObject, public ListManagerProvider
{
    Q_OBJECT
public:
    // The name and the bound on each call, asked each time the list manager is asked for.
    struct Target
    {
        QString service;
        int timeoutMs = BusListManager::DefaultTimeoutMs;
    };
    explicit BusListManagerProvider(std::function<Target()> target,
                                    QDBusConnection bus = QDBusConnection::sessionBus(),
                                    QObject *parent = nullptr);
    ~BusListManagerProvider() override;

    void setProgram(QString program) { m_program = std::move(program); }

    // Throws base::Error 429 when there is no session bus or the list manager cannot be started.
    [[nodiscard]] std::shared_ptr<Application> createApplication() override;
    // Knows the ProgID "Helicon.ExeList" (in any letter case); the object is the fallback list.
    [[nodiscard]] std::shared_ptr<LateBoundList> createObject(const QString &progId) override;

    // The list manager last asked for; null before.
    [[nodiscard]] BusListManager *listManager() const { return m_listManager.get(); }

Q_SIGNALS:
    void lost(const base::Reason &reason);
    void back();

private:
    BusListManager &listManager();

    std::function<Target()> m_target;
    QDBusConnection m_bus;
    QString m_program;
    std::shared_ptr<BusListManager> m_listManager;
};

} // namespace barlink::listmanager
