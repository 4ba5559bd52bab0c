#pragma once

#include "listmanager/Application.h"

#include <memory>

namespace barlink::embeddedlist {

class ListStore;

// Creates the embedded list manager's objects, all over one store.
class EmbeddedListManagerProvider final : public listmanager::ListManagerProvider
{
public:
    static inline const QString exeListProgId = QStringLiteral("Helicon.ExeList");

    explicit EmbeddedListManagerProvider(std::shared_ptr<ListStore> store);

    [[nodiscard]] std::shared_ptr<listmanager::Application> createApplication() override;
    // Knows the ProgID "Helicon.ExeList" (in any letter case, as ProgIDs are).
    [[nodiscard]] std::shared_ptr<listmanager::LateBoundList>
    createObject(const QString &progId) override;

    [[nodiscard]] const std::shared_ptr<ListStore> &store() const { return m_store; }

private:
    std::shared_ptr<ListStore> m_store;
};

} // namespace barlink::embeddedlist
