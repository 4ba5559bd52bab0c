#include "ListManagerLink.h"

#include "base/Error.h"

#include <QLoggingCategory>
#include <QMetaMethod>

#include <algorithm>

Q_LOGGING_CATEGORY(lcLink, "barlink.listmanager", QtWarningMsg)

namespace barlink::listmanager {

namespace {

[[noreturn]] void throwObjectNotSet()
{
    throw base::Error(base::Error::ObjectNotSet, base::Reason(base::Reason::Code::ObjectNotSet));
}

} // namespace

void ListManagerLink::setApplication(std::shared_ptr<Application> application)
{
    m_application = std::move(application);
}

void ListManagerLink::setCurrentList(std::shared_ptr<ExeList> list)
{
    m_list = std::move(list);
}

void ListManagerLink::setLateBoundList(std::shared_ptr<LateBoundList> list)
{
    m_lateBoundList = std::move(list);
}

std::optional<qint32> ListManagerLink::clearHostList()
{
    if (!m_commandLineEmpty)
        return std::nullopt;
    if (!m_list)
        throwObjectNotSet();
    // The count is asked only of a list whose clearing someone hears of.
    if (!isSignalConnected(QMetaMethod::fromSignal(&ListManagerLink::listCleared))) {
        m_list->clearList();
        return std::nullopt;
    }
    // Reading the count changes nothing in the list; a list that cannot tell it is cleared
    // all the same.
    std::optional<qint32> rows;
    try {
        rows = m_list->rows();
    } catch (...) {
        rows.reset();
    }
    m_list->clearList();
    Q_EMIT listCleared(rows);
    return rows;
}

void ListManagerLink::hostListStart()
{
    requireApplication().startList();
}

void ListManagerLink::hostListStop()
{
    requireApplication().holdList();
}

void ListManagerLink::hostListEnd()
{
    requireApplication().endList();
}

void ListManagerLink::setpoint()
{
    requireApplication().setpoint();
}

void ListManagerLink::addRow(const QString &row, ListManagerProvider &provider)
{
    const auto addLine = [this, &row] {
        if (!m_list)
            throwObjectNotSet();
        m_list->addLine(row);
    };
    try {
        addLine();
        Q_EMIT rowAdded(row);
        return;
    } catch (const base::Error &error) {
        qCInfo(lcLink) << "AddLine failed, recovering:" << error.what();
    }
    // One recovery, then one more try. The list's earlier rows are kept: emptying it here
    // would silently drop items the scanner was already told were taken.
    auto lateBound = provider.createObject(QStringLiteral("Helicon.ExeList"));
    setLateBoundList(lateBound);
    lateBound->setVisible(true);
    addLine();
    Q_EMIT rowAdded(row);
}

ListManagerLink::ListEnd ListManagerLink::listEnd(qint32 count) const
{
    ExeList &list = requireList();
    ListEnd end;
    end.rows = list.rows();
    for (qint32 line = std::max(1, end.rows - count + 1); line <= end.rows; ++line)
        end.lastRows << list.getLine(line);
    end.running = list.listInRun();
    end.exeRow = list.exeRow();
    return end;
}

void ListManagerLink::removeLastRows(qint32 count)
{
    ExeList &list = requireList();
    const qint32 rows = list.rows();
    for (qint32 line = rows; line > rows - count && line > 0; --line)
        list.delLine(line);
}

void ListManagerLink::release()
{
    m_lateBoundList.reset();
    m_list.reset();
    m_application.reset();
}

ExeList &ListManagerLink::requireList() const
{
    if (!m_list)
        throwObjectNotSet();
    return *m_list;
}

Application &ListManagerLink::requireApplication() const
{
    if (!m_application)
        throwObjectNotSet();
    return *m_application;
}

} // namespace barlink::listmanager
