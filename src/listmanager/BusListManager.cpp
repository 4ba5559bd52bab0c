#include "BusListManager.h"

#include "BusNames.h"

#include "base/Reasons.h"
#include "listmanagerproxy.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QTimer>

Q_LOGGING_CATEGORY(lcBus, "barlink.listmanager.bus", QtWarningMsg)

namespace barlink::listmanager {

namespace {

const QString ApplicationPath = QString::fromLatin1(bus::applicationPath);
const QString LateBoundListPath = QString::fromLatin1(bus::lateBoundListPath);
const QString ErrorPrefix = QString::fromLatin1(bus::errorPrefix);
const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QString seconds(int ms)
{
    return QString::number(ms / 1000.0, 'g', 3);
}

} // namespace

QString BusListManager::defaultService()
{
    return QString::fromLatin1(listmanager::bus::serviceName);
}

BusListManager::BusListManager(QString service, QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_service(std::move(service))
    , m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    // The bus says at once when the owner of the name goes, a killed one too.
    m_watcher
        = new QDBusServiceWatcher(m_service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher,
            &QDBusServiceWatcher::serviceOwnerChanged,
            this,
            [this](const QString &, const QString &oldOwner, const QString &newOwner) {
                if (newOwner.isEmpty()) {
                    qCInfo(lcBus) << "list manager ended:" << m_service << oldOwner;
                    Q_EMIT lost(base::Reason(base::Reason::Code::ListManagerEnded, m_service));
                } else {
                    qCInfo(lcBus) << "list manager running:" << m_service << newOwner;
                    Q_EMIT back();
                }
            });
}

BusListManager::~BusListManager() = default;

bool BusListManager::running() const
{
    if (!m_bus.isConnected())
        return false;
    const QDBusReply<bool> reply = m_bus.interface()->isServiceRegistered(m_service);
    return reply.isValid() && reply.value();
}

void BusListManager::bringUp()
{
    if (!m_bus.isConnected())
        throw base::Error(base::Error::CannotCreateObject,
                          base::Reason(base::Reason::Code::NoSessionBus));
    if (running())
        return;
    base::Reason why;
    // Bus activation: the service file names the program.
    QDBusMessage start = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                        QStringLiteral("/org/freedesktop/DBus"),
                                                        QStringLiteral("org.freedesktop.DBus"),
                                                        QStringLiteral("StartServiceByName"));
    start << m_service << 0u;
    try {
        wait(m_bus.asyncCall(start, m_timeoutMs));
        if (running())
            return;
    } catch (const base::Error &error) {
        why = error.reason();
    }
    if (!m_program.isEmpty() && QFileInfo(m_program).isExecutable()) {
        qCInfo(lcBus) << "starting" << m_program << "for" << m_service;
        QEventLoop loop;
        QDBusServiceWatcher registered(m_service, m_bus, QDBusServiceWatcher::WatchForRegistration);
        connect(&registered, &QDBusServiceWatcher::serviceRegistered, &loop, &QEventLoop::quit);
        QTimer::singleShot(m_timeoutMs, &loop, &QEventLoop::quit);
        if (QProcess::startDetached(m_program, {QStringLiteral("--name"), m_service})) {
            if (!running())
                loop.exec();
            if (running())
                return;
        }
        why = base::Reason(base::Reason::Code::ProgramDidNotStart, m_program);
    }
    throw base::Error(base::Error::CannotCreateObject,
                      base::Reason(base::Reason::Code::ListManagerNotRunning, m_service, why));
}

QDBusMessage BusListManager::wait(const QDBusPendingCall &call) const
{
    QDBusPendingCall pending = call;
    if (!pending.isFinished()) {
        // The bus ends the call with an error when the bound passes.
        QEventLoop loop;
        QDBusPendingCallWatcher watcher(pending);
        connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        if (!pending.isFinished())
            loop.exec();
    }
    // The event loops were told to end (the program ends, the label in hand is done first):
    // the answer is awaited without them, within the same bound.
    if (!pending.isFinished())
        pending.waitForFinished();
    const QDBusMessage reply = pending.reply();
    if (reply.type() != QDBusMessage::ErrorMessage)
        return reply;
    const QString name = reply.errorName();
    if (name.startsWith(ErrorPrefix)) {
        bool ok = false;
        const int number = name.mid(ErrorPrefix.size()).toInt(&ok);
        throw base::Error(ok ? number : int(base::Error::AutomationError), reply.errorMessage());
    }
    const QDBusError::ErrorType type = QDBusError(reply).type();
    qCInfo(lcBus) << "call failed:" << name << reply.errorMessage();
    if (type == QDBusError::NoReply || type == QDBusError::Timeout || type == QDBusError::TimedOut
        || type == QDBusError::Disconnected) {
        // The call may have been carried out: whoever made it finds out.
        if (!running()) {
            throw ReplyLost(base::Error::AutomationError,
                            base::Reason(base::Reason::Code::ListManagerEnded, m_service));
        }
        throw ReplyLost(
            base::Error::AutomationError,
            base::Reason(base::Reason::Code::ListManagerNoAnswer, m_service, seconds(m_timeoutMs)));
    }
    if (type == QDBusError::ServiceUnknown
        || name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
        throw base::Error(base::Error::CannotCreateObject,
                          base::Reason(base::Reason::Code::ListManagerNotRunning,
                                       m_service,
                                       reply.errorMessage()));
    }
    throw base::Error(base::Error::AutomationError, reply.errorMessage());
}

void BusListManager::placeWindowBeside(const QRect &anchor,
                                       const QRect &keptClear,
                                       double textScale,
                                       bool highContrast,
                                       std::function<void(const QString &why)> answered) const
{
    QDBusMessage place = QDBusMessage::createMethodCall(
        m_service,
        ApplicationPath,
        QString::fromLatin1(OrgBarlinkListManagerApplicationInterface::staticInterfaceName()),
        QStringLiteral("PlaceBeside"));
    place << anchor << keptClear << textScale << highContrast;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(place, m_timeoutMs));
    connect(watcher,
            &QDBusPendingCallWatcher::finished,
            watcher,
            [answered = std::move(answered)](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusError error = finished->error();
                // A list manager not reached is told by the List badge already.
                switch (error.type()) {
                case QDBusError::ServiceUnknown:
                case QDBusError::NoReply:
                case QDBusError::Timeout:
                case QDBusError::TimedOut:
                case QDBusError::Disconnected:
                    return;
                default:
                    break;
                }
                if (error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
                    return;
                if (answered)
                    answered(!error.isValid()            ? QString()
                             : error.message().isEmpty() ? error.name()
                                                         : error.message());
            });
}

QVariant
BusListManager::property(const QString &path, const QString &interface, const QString &name) const
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        m_service, path, PropertiesInterface, QStringLiteral("Get"));
    get << interface << name;
    const QDBusMessage reply = wait(m_bus.asyncCall(get, m_timeoutMs));
    return reply.arguments().value(0).value<QDBusVariant>().variant();
}

void BusListManager::setProperty(const QString &path,
                                 const QString &interface,
                                 const QString &name,
                                 const QVariant &value) const
{
    QDBusMessage set = QDBusMessage::createMethodCall(
        m_service, path, PropertiesInterface, QStringLiteral("Set"));
    set << interface << name << QVariant::fromValue(QDBusVariant(value));
    wait(m_bus.asyncCall(set, m_timeoutMs));
}

// Application

RemoteApplication::RemoteApplication(std::shared_ptr<BusListManager> bus)
    : m_bus(std::move(bus))
    , m_proxy(std::make_unique<OrgBarlinkListManagerApplicationInterface>(
          m_bus->service(), ApplicationPath, m_bus->bus()))
{
    m_proxy->setTimeout(m_bus->timeoutMs());
}

RemoteApplication::~RemoteApplication() = default;

QVariant RemoteApplication::get(const char *name)
{
    return m_bus->property(ApplicationPath,
                           QString::fromLatin1(m_proxy->staticInterfaceName()),
                           QString::fromLatin1(name));
}

void RemoteApplication::set(const char *name, const QVariant &value)
{
    m_bus->setProperty(ApplicationPath,
                       QString::fromLatin1(m_proxy->staticInterfaceName()),
                       QString::fromLatin1(name),
                       value);
}

std::shared_ptr<ExeList> RemoteApplication::listAt(const QString &path)
{
    if (path.isEmpty() || path == QLatin1String("/"))
        return nullptr;
    return std::make_shared<RemoteExeList>(m_bus, path);
}

bool RemoteApplication::visible()
{
    return get("Visible").toBool();
}

void RemoteApplication::setVisible(bool visible)
{
    set("Visible", visible);
}

bool RemoteApplication::connected()
{
    return get("Connected").toBool();
}

qint16 RemoteApplication::accessLevel()
{
    return qint16(get("AccessLevel").toInt());
}

void RemoteApplication::setWindowState(WindowState state)
{
    set("WindowState", int(state));
}

qint16 RemoteApplication::listOpened()
{
    return qint16(get("ListOpened").toInt());
}

void RemoteApplication::quit(bool quit)
{
    m_bus->wait(m_proxy->Quit(quit));
}

std::shared_ptr<ExeList> RemoteApplication::openList(const QString &path)
{
    const QDBusPendingReply<QDBusObjectPath> reply = m_bus->wait(m_proxy->OpenList(path));
    return listAt(reply.argumentAt<0>().path());
}

std::shared_ptr<ExeList> RemoteApplication::newList()
{
    const QDBusPendingReply<QDBusObjectPath> reply = m_bus->wait(m_proxy->NewList());
    return listAt(reply.argumentAt<0>().path());
}

void RemoteApplication::startList()
{
    m_bus->wait(m_proxy->StartList());
}

void RemoteApplication::holdList()
{
    m_bus->wait(m_proxy->HoldList());
}

void RemoteApplication::endList()
{
    m_bus->wait(m_proxy->EndList());
}

void RemoteApplication::setpoint()
{
    m_bus->wait(m_proxy->Setpoint());
}

void RemoteApplication::enableOpenList(bool enable)
{
    m_bus->wait(m_proxy->EnableOpenList(enable));
}

void RemoteApplication::enableSaveList(bool enable)
{
    m_bus->wait(m_proxy->EnableSaveList(enable));
}

void RemoteApplication::enableNewList(bool enable)
{
    m_bus->wait(m_proxy->EnableNewList(enable));
}

void RemoteApplication::showOnTop(bool onTop)
{
    m_bus->wait(m_proxy->ShowOnTop(onTop));
}

// ExeList

RemoteExeList::RemoteExeList(std::shared_ptr<BusListManager> bus, const QString &path)
    : m_bus(std::move(bus))
    , m_proxy(std::make_unique<OrgBarlinkListManagerExeListInterface>(
          m_bus->service(), path, m_bus->bus()))
{
    m_proxy->setTimeout(m_bus->timeoutMs());
}

RemoteExeList::~RemoteExeList() = default;

QVariant RemoteExeList::get(const char *name)
{
    return m_bus->property(m_proxy->path(),
                           QString::fromLatin1(m_proxy->staticInterfaceName()),
                           QString::fromLatin1(name));
}

bool RemoteExeList::listInRun()
{
    return get("ListInRun").toBool();
}

bool RemoteExeList::visible()
{
    return get("Visible").toBool();
}

void RemoteExeList::setVisible(bool visible)
{
    m_bus->setProperty(m_proxy->path(),
                       QString::fromLatin1(m_proxy->staticInterfaceName()),
                       QStringLiteral("Visible"),
                       visible);
}

qint16 RemoteExeList::columns()
{
    return qint16(get("Columns").toInt());
}

qint32 RemoteExeList::rows()
{
    return get("Rows").toInt();
}

qint32 RemoteExeList::repetitions()
{
    return get("Repetitions").toInt();
}

qint32 RemoteExeList::exeRow()
{
    return get("ExeRow").toInt();
}

QStringList RemoteExeList::colInfo()
{
    const QDBusPendingReply<QStringList> reply = m_bus->wait(m_proxy->ColInfo());
    return reply.argumentAt<0>();
}

bool RemoteExeList::settleUnconfirmed(const QString &row)
{
    const Unconfirmed unconfirmed = *m_unconfirmed;
    // Asking may fail in its turn: the question then stays open for the next try.
    const qint32 now = rows();
    const bool in
        = now > unconfirmed.rowsBefore && getLine(unconfirmed.rowsBefore + 1) == unconfirmed.row;
    m_unconfirmed.reset();
    qCInfo(lcBus) << "lost AddLine settled:" << (in ? "the row got in" : "the row did not get in");
    // The same row again is the same item (its label got no "ACK"): it is in once already.
    return in && row == unconfirmed.row;
}

void RemoteExeList::addLine(const QString &row)
{
    if (m_unconfirmed && settleUnconfirmed(row))
        return;
    const qint32 rowsBefore = rows();
    try {
        m_bus->wait(m_proxy->AddLine(row));
    } catch (const ReplyLost &) {
        m_unconfirmed = Unconfirmed{row, rowsBefore};
        throw;
    }
}

void RemoteExeList::delLine(qint32 line)
{
    m_bus->wait(m_proxy->DelLine(line));
}

QString RemoteExeList::getLine(qint32 line)
{
    const QDBusPendingReply<QString> reply = m_bus->wait(m_proxy->GetLine(line));
    return reply.argumentAt<0>();
}

void RemoteExeList::setLine(qint32 line, const QString &row)
{
    m_bus->wait(m_proxy->SetLine(line, row));
}

void RemoteExeList::appendList(const QString &path)
{
    m_bus->wait(m_proxy->AppendList(path));
}

void RemoteExeList::clearList()
{
    m_bus->wait(m_proxy->ClearList());
}

void RemoteExeList::viewWorks()
{
    m_bus->wait(m_proxy->ViewWorks());
}

void RemoteExeList::viewWorksThrought()
{
    m_bus->wait(m_proxy->ViewWorksThrought());
}

void RemoteExeList::listClose(bool close)
{
    m_bus->wait(m_proxy->ListClose(close));
}

// LateBoundList

RemoteLateBoundList::RemoteLateBoundList(std::shared_ptr<BusListManager> bus)
    : m_bus(std::move(bus))
    , m_proxy(std::make_unique<OrgBarlinkListManagerLateBoundListInterface>(
          m_bus->service(), LateBoundListPath, m_bus->bus()))
{
    m_proxy->setTimeout(m_bus->timeoutMs());
}

RemoteLateBoundList::~RemoteLateBoundList() = default;

void RemoteLateBoundList::setVisible(bool visible)
{
    m_bus->setProperty(LateBoundListPath,
                       QString::fromLatin1(m_proxy->staticInterfaceName()),
                       QStringLiteral("Visible"),
                       visible);
}

void RemoteLateBoundList::clear()
{
    m_bus->wait(m_proxy->Clear());
}

// Provider

BusListManagerProvider::BusListManagerProvider(std::function<Target()> target,
                                               QDBusConnection bus,
                                               QObject *parent)
    : QObject(parent)
    , m_target(std::move(target))
    , m_bus(std::move(bus))
{}

BusListManagerProvider::~BusListManagerProvider() = default;

BusListManager &BusListManagerProvider::listManager()
{
    Target target = m_target ? m_target() : Target();
    if (target.service.isEmpty())
        target.service = BusListManager::defaultService();
    if (!m_listManager || m_listManager->service() != target.service) {
        m_listManager = std::make_shared<BusListManager>(target.service, m_bus);
        m_listManager->setProgram(m_program);
        connect(m_listManager.get(), &BusListManager::lost, this, &BusListManagerProvider::lost);
        connect(m_listManager.get(), &BusListManager::back, this, &BusListManagerProvider::back);
    }
    // Objects made from here on take the bound; those already made keep theirs.
    m_listManager->setTimeoutMs(target.timeoutMs);
    return *m_listManager;
}

std::shared_ptr<Application> BusListManagerProvider::createApplication()
{
    listManager().bringUp();
    return std::make_shared<RemoteApplication>(m_listManager);
}

std::shared_ptr<LateBoundList> BusListManagerProvider::createObject(const QString &progId)
{
    if (progId.compare(QLatin1String("Helicon.ExeList"), Qt::CaseInsensitive) != 0)
        throw base::Error(base::Error::CannotCreateObject,
                          QStringLiteral("ActiveX component can't create object"));
    listManager().bringUp();
    return std::make_shared<RemoteLateBoundList>(m_listManager);
}

} // namespace barlink::listmanager
