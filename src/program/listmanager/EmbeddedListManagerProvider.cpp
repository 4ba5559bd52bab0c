#include "EmbeddedListManagerProvider.h"

#include "EmbeddedApplication.h"
#include "EmbeddedLateBoundList.h"
#include "ListStore.h"

namespace barlink::listmanager {

namespace {

[[noreturn]] void throwCannotCreate()
{
    throw Error(Error::CannotCreateObject, QStringLiteral("ActiveX component can't create object"));
}

} // namespace

EmbeddedListManagerProvider::EmbeddedListManagerProvider(std::shared_ptr<ListStore> store)
    : m_store(std::move(store))
{}

std::shared_ptr<Application> EmbeddedListManagerProvider::createApplication()
{
    if (!m_store)
        throwCannotCreate();
    m_store->failures().check(u"Provider", u"CreateApplication");
    return std::make_shared<EmbeddedApplication>(m_store);
}

std::shared_ptr<LateBoundList> EmbeddedListManagerProvider::createObject(const QString &progId)
{
    if (!m_store || progId.compare(exeListProgId, Qt::CaseInsensitive) != 0)
        throwCannotCreate();
    m_store->failures().check(u"Provider", u"CreateObject");
    return std::make_shared<EmbeddedLateBoundList>(m_store);
}

} // namespace barlink::listmanager
