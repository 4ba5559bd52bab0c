#pragma once

#include "Application.h"

#include <memory>

namespace barlink::listmanager {

class ListStore;

// The list object the station creates by ProgID "Helicon.ExeList" to recover
// from a failed add: it shows and empties the current list.
class EmbeddedLateBoundList final : public LateBoundList
{
public:
    explicit EmbeddedLateBoundList(std::shared_ptr<ListStore> store);

    void setVisible(bool visible) override;
    void clear() override;

private:
    void check(QStringView member);

    std::shared_ptr<ListStore> m_store;
};

} // namespace barlink::listmanager
