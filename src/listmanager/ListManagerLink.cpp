#include "ListManagerLink.h"

#include "base/Error.h"

namespace barlink::listmanager {

namespace {

[[noreturn]] void throwObjectNotSet()
{
    throw base::Error(base::Error::ObjectNotSet,
                      QStringLiteral("Object variable or With block variable not set"));
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

void ListManagerLink::clearHostList()
{
    if (!m_commandLineEmpty)
        return;
    if (!m_list)
        throwObjectNotSet();
    if (!m_clearObserver) {
        m_list->clearList();
        return;
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
    m_clearObserver(rows);
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

void ListManagerLink::release()
{
    m_lateBoundList.reset();
    m_list.reset();
    m_application.reset();
}

Application &ListManagerLink::requireApplication() const
{
    if (!m_application)
        throwObjectNotSet();
    return *m_application;
}

} // namespace barlink::listmanager
