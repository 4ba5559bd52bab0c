#pragma once

#include "ListWatch.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>

#include <memory>

class OrgBarlinkListManagerApplicationInterface;
class OrgBarlinkListManagerExeListInterface;
class QDBusMessage;

namespace barlink::listmanager {

// Watches the list manager's current list over the bus, through the proxies generated from the
// interface: the list's signals (rows added and removed, the list reset, the run state), the
// Application's ListOpened (which may name another list to follow), and the bus's word when
// the list manager's name loses or gains its owner, which comes at once when the list manager
// ends or is killed. The state is read in full, without waiting and without starting the list
// manager, when the watch starts and whenever the name gains an owner; a read that is not
// answered within the bound shows the list manager as not answering, until it signals again.
class BusListWatch final : public ListWatch
{
    Q_OBJECT
public:
    BusListWatch(const QDBusConnection &bus,
                 const QString &service,
                 int timeoutMs = 5000,
                 QObject *parent = nullptr);
    ~BusListWatch() override;

    [[nodiscard]] const QString &service() const { return m_service; }

private:
    void follow(const QString &listPath);
    void ownerChanged(const QString &newOwner);
    void readState();
    void answered(const QDBusMessage &reply, void (BusListWatch::*take)(const QVariant &));
    void takeListOpenedAnswer(const QVariant &answer);
    void takeListAnswer(const QVariant &answer);
    // Whether a signal of the list is taken on top of the state: not while a read is under
    // way, whose answer holds it; not while the list manager is not known to answer, which
    // its signal shows it does again: it is then read in full.
    [[nodiscard]] bool takesSignal();

    QDBusConnection m_bus;
    QString m_service;
    int m_timeoutMs;
    QDBusServiceWatcher m_owner;
    std::unique_ptr<OrgBarlinkListManagerApplicationInterface> m_application;
    std::unique_ptr<OrgBarlinkListManagerExeListInterface> m_list;
    // The reads begun; the one under way: what its two answers told, and how many are out.
    int m_reads = 0;
    int m_readsPending = 0;
    ListState m_read;
};

} // namespace barlink::listmanager
