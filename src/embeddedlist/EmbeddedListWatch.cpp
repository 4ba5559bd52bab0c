#include "EmbeddedListWatch.h"

#include "ListStore.h"

namespace barlink::embeddedlist {

EmbeddedListWatch::EmbeddedListWatch(ListStore *store, QObject *parent)
    : ListWatch(parent)
    , m_store(store)
{
    for (auto signal : {&ListStore::listReset, &ListStore::runStateChanged})
        connect(store, signal, this, &EmbeddedListWatch::readStore);
    connect(store, &ListStore::rowsAppended, this, &EmbeddedListWatch::readStore);
    connect(store, &ListStore::rowRemoved, this, &EmbeddedListWatch::readStore);
    readStore();
}

void EmbeddedListWatch::readStore()
{
    if (!m_store)
        return;
    takeState({.reachable = true,
               .opened = m_store->listOpen(),
               .rows = m_store->rowCount(),
               .inRun = m_store->runState() == RunState::Running,
               .exeRow = m_store->exeRow()});
}

} // namespace barlink::embeddedlist
