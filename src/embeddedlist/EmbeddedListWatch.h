#pragma once

#include "listmanager/ListWatch.h"

#include <QPointer>

namespace barlink::embeddedlist {

class ListStore;

// Watches the embedded list manager's list in the same process: every change the store
// announces is taken as the store's whole state, which it holds at hand.
class EmbeddedListWatch final : public listmanager::ListWatch
{
    Q_OBJECT
public:
    explicit EmbeddedListWatch(ListStore *store, QObject *parent = nullptr);

private:
    void readStore();

    QPointer<ListStore> m_store;
};

} // namespace barlink::embeddedlist
