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
    connect(store, &ListStore::listOpenChanged, this, &EmbeddedListWatch::readStore);
    readStore();
}

void EmbeddedListWatch::readStore()
{
    if (!m_store)
        return;
    listmanager::ListState state;
    state.reach = listmanager::Reach::Reached;
    state.opened = m_store->listOpen();
    state.rows = m_store->rowCount();
    state.inRun = m_store->runState() == RunState::Running;
    state.exeRow = m_store->exeRow();
    takeState(state);
}

} // namespace barlink::embeddedlist
