#pragma once

#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"
#include "listmanager/Application.h"

#include <memory>

namespace barlink::app {

// Creates the embedded list manager when start-up first asks for it, so that a second copy
// of the program, which ends at once, never touches the stored list.
class LazyListManagerProvider final : public listmanager::ListManagerProvider
{
public:
    std::shared_ptr<listmanager::Application> createApplication() override
    {
        return provider().createApplication();
    }
    std::shared_ptr<listmanager::LateBoundList> createObject(const QString &progId) override
    {
        return provider().createObject(progId);
    }
    // The store, or null while the list manager has not been asked for.
    [[nodiscard]] embeddedlist::ListStore *store() const
    {
        return m_provider ? m_provider->store().get() : nullptr;
    }
    // The store, made now if the list manager was not asked for yet.
    [[nodiscard]] embeddedlist::ListStore *openStore() { return provider().store().get(); }

private:
    embeddedlist::EmbeddedListManagerProvider &provider()
    {
        if (!m_provider) {
            m_provider = std::make_unique<embeddedlist::EmbeddedListManagerProvider>(
                std::make_shared<embeddedlist::ListStore>());
        }
        return *m_provider;
    }

    std::unique_ptr<embeddedlist::EmbeddedListManagerProvider> m_provider;
};

} // namespace barlink::app
