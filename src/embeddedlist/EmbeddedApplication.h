#pragma once

#include "listmanager/Application.h"

#include <memory>

namespace barlink::embeddedlist {

class ListStore;

// The embedded list manager's Application object. Every Application object
// created works on the same store, as clients of one list manager do.
class EmbeddedApplication final : public listmanager::Application
{
public:
    // The access level every client gets: the embedded list manager has no passwords.
    static constexpr qint16 fixedAccessLevel = 1;

    explicit EmbeddedApplication(std::shared_ptr<ListStore> store);

    [[nodiscard]] bool visible() override;
    void setVisible(bool visible) override;
    [[nodiscard]] bool connected() override;
    [[nodiscard]] qint16 accessLevel() override;
    // 0 normal, 1 minimised, 2 maximised; other values raise error 5.
    void setWindowState(listmanager::WindowState state) override;
    // 1 while a list is open, 0 otherwise.
    [[nodiscard]] qint16 listOpened() override;
    // Hides the list manager and notes the request; it does not end the station,
    // which hosts the list manager, and later calls keep working.
    void quit(bool quit) override;
    [[nodiscard]] std::shared_ptr<listmanager::ExeList> openList(const QString &path) override;
    // The current list, created empty when there is none; an existing list keeps its rows.
    [[nodiscard]] std::shared_ptr<listmanager::ExeList> newList() override;
    void startList() override;
    void holdList() override;
    void endList() override;
    void setpoint() override;
    void enableOpenList(bool enable) override;
    void enableSaveList(bool enable) override;
    void enableNewList(bool enable) override;
    void showOnTop(bool onTop) override;

private:
    std::shared_ptr<ListStore> m_store;
};

} // namespace barlink::embeddedlist
