#include "EmbeddedListManagerProvider.h"

#include "EmbeddedApplication.h"
#include "EmbeddedLateBoundList.h"
#include "ListStore.h"
#include "base/Error.h"

namespace barlink::embeddedlist {

namespace {

[[noreturn]] void throwCannotCreate()
{
    throw base::Error(base::Error::CannotCreateObject,
                      QStringLiteral("ActiveX component can't create object"));
}

} // namespace

EmbeddedListManagerProvider::EmbeddedListManagerProvider(std::shared_ptr<ListStore> store)
    : m_store(std::move(store))
{}

std::shared_ptr<listmanager::Application> EmbeddedListManagerProvider::createApplication()
{
    if (!m_store)
        throwCannotCreate();
    return std::make_shared<EmbeddedApplication>(m_store);
}

std::shared_ptr<listmanager::LateBoundList>
EmbeddedListManagerProvider::createObject(const QString &progId)
{
    if (!m_store || progId.compare(exeListProgId, Qt::CaseInsensitive) != 0)
        throwCannotCreate();
    return std::make_shared<EmbeddedLateBoundList>(m_store);
}

} // namespace barlink::embeddedlist
