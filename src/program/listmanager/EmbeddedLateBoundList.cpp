#include "EmbeddedLateBoundList.h"

#include "ListStore.h"

namespace barlink::listmanager {

EmbeddedLateBoundList::EmbeddedLateBoundList(std::shared_ptr<ListStore> store)
    : m_store(std::move(store))
{}

void EmbeddedLateBoundList::setVisible(bool visible)
{
    check(u"Visible");
    m_store->setListVisible(visible);
}

void EmbeddedLateBoundList::clear()
{
    check(u"Clear");
    m_store->clear();
}

void EmbeddedLateBoundList::check(QStringView member)
{
    m_store->failures().check(u"Helicon.ExeList", member);
}

} // namespace barlink::listmanager
