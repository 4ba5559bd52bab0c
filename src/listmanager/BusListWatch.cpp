#include "BusListWatch.h"

#include "BusNames.h"

#include "listmanagerproxy.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace barlink::listmanager {

namespace {

using bus::applicationPath;
using bus::currentListPath;
constexpr auto PropertiesInterface = "org.freedesktop.DBus.Properties";

} // namespace

BusListWatch::BusListWatch(const QDBusConnection &bus,
                           const QString &service,
                           int timeoutMs,
                           QObject *parent)
    : ListWatch(parent)
    , m_bus(bus)
    , m_service(service)
    , m_timeoutMs(timeoutMs)
    , m_owner(service, bus, QDBusServiceWatcher::WatchForOwnerChange)
    , m_application(std::make_unique<OrgBarlinkListManagerApplicationInterface>(
          service, QLatin1String(applicationPath), bus))
{
    // The relay of a bus signal to the proxy finds its argument types by name: an object path
    // is known by name only once registered, and a signal carrying one is otherwise never
    // delivered.
    qRegisterMetaType<QDBusObjectPath>();
    connect(&m_owner,
            &QDBusServiceWatcher::serviceOwnerChanged,
            this,
            [this](const QString &, const QString &, const QString &newOwner) {
                ownerChanged(newOwner);
            });
    connect(m_application.get(),
            &OrgBarlinkListManagerApplicationInterface::ListOpened,
            this,
            [this](const QDBusObjectPath &list) {
                if (list.path() != m_list->path())
                    follow(list.path());
                else if (takesSignal())
                    takeListOpened(true);
            });
    follow(QLatin1String(currentListPath));
}

BusListWatch::~BusListWatch() = default;

void BusListWatch::follow(const QString &listPath)
{
    m_list = std::make_unique<OrgBarlinkListManagerExeListInterface>(m_service, listPath, m_bus);
    using Proxy = OrgBarlinkListManagerExeListInterface;
    connect(m_list.get(), &Proxy::RowsAdded, this, [this](int, int count) {
        if (takesSignal())
            takeRowsAdded(count);
    });
    connect(m_list.get(), &Proxy::RowsRemoved, this, [this](int, int count) {
        if (takesSignal())
            takeRowsRemoved(count);
    });
    connect(m_list.get(), &Proxy::ListReset, this, [this](int rows) {
        if (takesSignal())
            takeListReset(rows);
    });
    connect(m_list.get(), &Proxy::RunStateChanged, this, [this](bool inRun, int exeRow) {
        if (takesSignal())
            takeRunState(inRun, exeRow);
    });
    const QDBusConnectionInterface *daemon = m_bus.interface();
    if (!m_bus.isConnected() || !daemon)
        takeLost(Reach::NoBus, m_service, m_bus.lastError().message());
    else if (daemon->isServiceRegistered(m_service))
        readState();
    else
        takeLost(Reach::NotRunning, m_service);
}

bool BusListWatch::takesSignal()
{
    if (m_readsPending > 0)
        return false;
    // A list manager that did not answer and now signals is back: read it in full.
    if (state().reach != Reach::Reached) {
        readState();
        return false;
    }
    return true;
}

void BusListWatch::ownerChanged(const QString &newOwner)
{
    if (newOwner.isEmpty())
        takeLost(Reach::NotRunning, m_service);
    else
        readState();
}

void BusListWatch::readState()
{
    // The list manager answers in the order it was asked and sends its signals in the order
    // of its changes: what it signals before its answer is in the answer, what comes after is
    // taken on top of it. A read begun anew makes the answers to the one before it void.
    const int read = ++m_reads;
    m_readsPending = 2;
    m_read = ListState();
    m_read.reach = Reach::Reached;
    const auto ask = [this, read](const QString &path,
                                  const char *interface,
                                  const char *name,
                                  void (BusListWatch::*take)(const QVariant &)) {
        QDBusMessage message = QDBusMessage::createMethodCall(m_service,
                                                              path,
                                                              QLatin1String(PropertiesInterface),
                                                              name ? QStringLiteral("Get")
                                                                   : QStringLiteral("GetAll"));
        message << QLatin1String(interface);
        if (name)
            message << QLatin1String(name);
        // Watching the list does not start the list manager; the station does when it needs it.
        message.setAutoStartService(false);
        auto *call = new QDBusPendingCallWatcher(m_bus.asyncCall(message, m_timeoutMs), this);
        connect(call, &QDBusPendingCallWatcher::finished, this, [this, read, take, call] {
            call->deleteLater();
            if (read == m_reads)
                answered(call->reply(), take);
        });
    };
    ask(m_application->path(),
        OrgBarlinkListManagerApplicationInterface::staticInterfaceName(),
        "ListOpened",
        &BusListWatch::takeListOpenedAnswer);
    ask(m_list->path(),
        OrgBarlinkListManagerExeListInterface::staticInterfaceName(),
        nullptr,
        &BusListWatch::takeListAnswer);
}

void BusListWatch::answered(const QDBusMessage &reply, void (BusListWatch::*take)(const QVariant &))
{
    if (m_read.reach != Reach::Reached) {
        // The other answer already failed.
    } else if (reply.type() == QDBusMessage::ErrorMessage) {
        const QString error = reply.errorName();
        const bool gone = error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
                          || error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
        m_read = ListState();
        m_read.reach = gone ? Reach::NotRunning : Reach::NotAnswering;
        m_read.service = m_service;
        if (!gone)
            m_read.detail = reply.errorMessage();
    } else if (!reply.arguments().isEmpty()) {
        (this->*take)(reply.arguments().constFirst());
    }
    if (--m_readsPending == 0)
        takeState(m_read);
}

void BusListWatch::takeListOpenedAnswer(const QVariant &answer)
{
    m_read.opened = qdbus_cast<QDBusVariant>(answer).variant().toInt() > 0;
}

void BusListWatch::takeListAnswer(const QVariant &answer)
{
    const QVariantMap properties = qdbus_cast<QVariantMap>(answer);
    m_read.rows = properties.value(QStringLiteral("Rows")).toInt();
    m_read.inRun = properties.value(QStringLiteral("ListInRun")).toBool();
    m_read.exeRow = properties.value(QStringLiteral("ExeRow")).toInt();
}

} // namespace barlink::listmanager
