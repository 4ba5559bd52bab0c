#pragma once

#include "listmanager/Application.h"

#include <memory>

namespace barlink::embeddedlist {

class ListStore;

// The list object the station creates by ProgID "Helicon.ExeList" to recover
// from a failed add: it shows and empties the current list.
class EmbeddedLateBoundList final : public listmanager::LateBoundList
{
public:
    explicit EmbeddedLateBoundList(std::shared_ptr<ListStore> store);

    void setVisible(bool visible) override;
    void clear() override;

private:
    std::shared_ptr<ListStore> m_store;
};

} // namespace barlink::embeddedlist
