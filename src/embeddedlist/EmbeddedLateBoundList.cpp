#include "EmbeddedLateBoundList.h"

#include "ListStore.h"

namespace barlink::embeddedlist {

EmbeddedLateBoundList::EmbeddedLateBoundList(std::shared_ptr<ListStore> store)
    : m_store(std::move(store))
{}

void EmbeddedLateBoundList::setVisible(bool visible)
{
    m_store->setListVisible(visible);
}

void EmbeddedLateBoundList::clear()
{
    m_store->clear();
}

} // namespace barlink::embeddedlist
