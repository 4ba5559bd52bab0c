#include "BusObjects.h"

#include "base/Error.h"
#include "embeddedlist/EmbeddedApplication.h"
#include "embeddedlist/EmbeddedExeList.h"
#include "embeddedlist/EmbeddedLateBoundList.h"
#include "embeddedlist/ListStore.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <exception>

namespace barlink::listservice {

template<typename T> T BusObject::guarded(const std::function<T()> &call, T fallback)
{
    try {
        return call();
    } catch (const base::Error &error) {
        answerError(error.number(), error.description());
    } catch (const std::exception &error) {
        answerError(base::Error::InternalError, QString::fromLocal8Bit(error.what()));
    }
    return fallback;
}

void BusObject::guarded(const std::function<void()> &call)
{
    guarded<int>([&call] {
        call();
        return 0;
    });
}

void BusObject::answerError(int number, const QString &description)
{
    if (calledFromDBus())
        sendErrorReply(QLatin1String(errorPrefix) + QString::number(number), description);
}

// ExeList

BusExeList::BusExeList(std::shared_ptr<embeddedlist::ListStore> store, QObject *parent)
    : BusObject(parent)
    , m_store(std::move(store))
    , m_list(std::make_unique<embeddedlist::EmbeddedExeList>(m_store))
{
    using embeddedlist::ListStore;
    // The store counts rows from 0, the interface's lines from 1.
    connect(m_store.get(), &ListStore::rowsAppended, this, [this](qint32 first, qint32 last) {
        Q_EMIT RowsAdded(first + 1, last - first + 1);
    });
    connect(m_store.get(), &ListStore::rowRemoved, this, [this](qint32 index) {
        Q_EMIT RowsRemoved(index + 1, 1);
    });
    connect(m_store.get(), &ListStore::listReset, this, [this] {
        Q_EMIT ListReset(m_store->rowCount());
    });
    connect(m_store.get(), &ListStore::rowChanged, this, [this](qint32) {
        Q_EMIT ListReset(m_store->rowCount());
    });
    connect(m_store.get(), &ListStore::runStateChanged, this, [this] {
        Q_EMIT RunStateChanged(m_list->listInRun(), m_list->exeRow());
    });
}

BusExeList::~BusExeList() = default;

bool BusExeList::listInRun()
{
    return guarded<bool>([this] { return m_list->listInRun(); });
}

bool BusExeList::visible()
{
    return guarded<bool>([this] { return m_list->visible(); });
}

void BusExeList::setVisible(bool visible)
{
    guarded([this, visible] { m_list->setVisible(visible); });
}

short BusExeList::columns()
{
    return guarded<short>([this] { return m_list->columns(); });
}

int BusExeList::rows()
{
    return guarded<int>([this] { return m_list->rows(); });
}

int BusExeList::repetitions()
{
    return guarded<int>([this] { return m_list->repetitions(); });
}

int BusExeList::exeRow()
{
    return guarded<int>([this] { return m_list->exeRow(); });
}

QStringList BusExeList::ColInfo()
{
    return guarded<QStringList>([this] { return m_list->colInfo(); });
}

void BusExeList::AddLine(const QString &row)
{
    Q_EMIT addLineReceived();
    guarded([this, &row] { m_list->addLine(row); });
}

void BusExeList::DelLine(int line)
{
    guarded([this, line] { m_list->delLine(line); });
}

QString BusExeList::GetLine(int line)
{
    return guarded<QString>([this, line] { return m_list->getLine(line); });
}

void BusExeList::SetLine(int line, const QString &row)
{
    guarded([this, line, &row] { m_list->setLine(line, row); });
}

void BusExeList::AppendList(const QString &path)
{
    guarded([this, &path] { m_list->appendList(path); });
}

void BusExeList::ClearList()
{
    guarded([this] { m_list->clearList(); });
}

void BusExeList::ViewWorks()
{
    guarded([this] { m_list->viewWorks(); });
}

void BusExeList::ViewWorksThrought()
{
    guarded([this] { m_list->viewWorksThrought(); });
}

void BusExeList::ListClose(bool close)
{
    guarded([this, close] { m_list->listClose(close); });
}

// Application

BusApplication::BusApplication(std::shared_ptr<embeddedlist::ListStore> store, QObject *parent)
    : BusObject(parent)
    , m_store(std::move(store))
    , m_application(std::make_unique<embeddedlist::EmbeddedApplication>(m_store))
{}

BusApplication::~BusApplication() = default;

bool BusApplication::visible()
{
    return guarded<bool>([this] { return m_application->visible(); });
}

void BusApplication::setVisible(bool visible)
{
    guarded([this, visible] { m_application->setVisible(visible); });
}

bool BusApplication::connected()
{
    return guarded<bool>([this] { return m_application->connected(); });
}

short BusApplication::accessLevel()
{
    return guarded<short>([this] { return m_application->accessLevel(); });
}

int BusApplication::windowState()
{
    return int(m_store->windowState());
}

void BusApplication::setWindowState(int state)
{
    guarded([this, state] {
        if (state < 0 || state > 2)
            throw base::Error(base::Error::InvalidCall,
                              QStringLiteral("Invalid procedure call or argument"));
        m_application->setWindowState(listmanager::WindowState(state));
    });
}

short BusApplication::listOpened()
{
    return guarded<short>([this] { return m_application->listOpened(); });
}

void BusApplication::Quit(bool quit)
{
    guarded([this, quit] { m_application->quit(quit); });
}

QDBusObjectPath BusApplication::OpenList(const QString &path)
{
    return guarded<QDBusObjectPath>(
        [this, &path] {
            (void)m_application->openList(path);
            const QDBusObjectPath list(QString::fromLatin1(currentListPath));
            Q_EMIT ListOpened(list);
            return list;
        },
        QDBusObjectPath(QStringLiteral("/")));
}

QDBusObjectPath BusApplication::NewList()
{
    return guarded<QDBusObjectPath>(
        [this] {
            if (!m_application->newList())
                return QDBusObjectPath(QStringLiteral("/"));
            const QDBusObjectPath list(QString::fromLatin1(currentListPath));
            Q_EMIT ListOpened(list);
            return list;
        },
        QDBusObjectPath(QStringLiteral("/")));
}

void BusApplication::StartList()
{
    guarded([this] { m_application->startList(); });
}

void BusApplication::HoldList()
{
    guarded([this] { m_application->holdList(); });
}

void BusApplication::EndList()
{
    guarded([this] { m_application->endList(); });
}

void BusApplication::Setpoint()
{
    guarded([this] { m_application->setpoint(); });
}

void BusApplication::EnableOpenList(bool enable)
{
    guarded([this, enable] { m_application->enableOpenList(enable); });
}

void BusApplication::EnableSaveList(bool enable)
{
    guarded([this, enable] { m_application->enableSaveList(enable); });
}

void BusApplication::EnableNewList(bool enable)
{
    guarded([this, enable] { m_application->enableNewList(enable); });
}

void BusApplication::ShowOnTop(bool onTop)
{
    guarded([this, onTop] { m_application->showOnTop(onTop); });
}

void BusApplication::PlaceBeside(const QRect &anchor,
                                 const QRect &keptClear,
                                 double textScale,
                                 bool highContrast)
{
    guarded([&] {
        // The station's own text sizes; NaN fails both tests.
        if (!(textScale >= MinTextScale && textScale <= MaxTextScale) || anchor.isEmpty())
            throw base::Error(base::Error::InvalidCall,
                              QStringLiteral("Invalid procedure call or argument"));
        Q_EMIT placeBesideAsked(anchor, keptClear, textScale, highContrast);
    });
}

// LateBoundList

BusLateBoundList::BusLateBoundList(std::shared_ptr<embeddedlist::ListStore> store, QObject *parent)
    : BusObject(parent)
    , m_store(std::move(store))
    , m_list(std::make_unique<embeddedlist::EmbeddedLateBoundList>(m_store))
{}

BusLateBoundList::~BusLateBoundList() = default;

bool BusLateBoundList::visible()
{
    return m_store->listVisible();
}

void BusLateBoundList::setVisible(bool visible)
{
    guarded([this, visible] { m_list->setVisible(visible); });
}

void BusLateBoundList::Clear()
{
    guarded([this] { m_list->clear(); });
}

} // namespace barlink::listservice
