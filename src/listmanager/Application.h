#pragma once

#include "ExeList.h"

#include <QString>

#include <memory>

namespace barlink::listmanager {

// The states the list manager's window can be put in, numbered as the automation interface
// numbers them.
enum class WindowState : int { Normal = 0, Minimized = 1, Maximized = 2 };

// The list manager application, as its automation interface offers it.
// Every member throws barlink::base::Error when the list manager reports a failure.
class Application
{
public:
    virtual ~Application() = default;

    [[nodiscard]] virtual bool visible() = 0;
    virtual void setVisible(bool visible) = 0;
    [[nodiscard]] virtual bool connected() = 0;
    [[nodiscard]] virtual qint16 accessLevel() = 0;
    // A state outside the three raises error 5.
    virtual void setWindowState(WindowState state) = 0;
    [[nodiscard]] virtual qint16 listOpened() = 0;
    virtual void quit(bool quit) = 0;
    // Loads a list file into the current list; a missing file raises error 53.
    [[nodiscard]] virtual std::shared_ptr<ExeList> openList(const QString &path) = 0;
    // Hands out the current list; an empty pointer while none is available.
    [[nodiscard]] virtual std::shared_ptr<ExeList> newList() = 0;
    virtual void startList() = 0;
    virtual void holdList() = 0;
    virtual void endList() = 0;
    virtual void setpoint() = 0;
    virtual void enableOpenList(bool enable) = 0;
    virtual void enableSaveList(bool enable) = 0;
    virtual void enableNewList(bool enable) = 0;
    virtual void showOnTop(bool onTop) = 0;
};

// The list object created late-bound by its ProgID ("Helicon.ExeList"), used to
// recover when adding a row fails.
class LateBoundList
{
public:
    virtual ~LateBoundList() = default;
    virtual void setVisible(bool visible) = 0;
    virtual void clear() = 0;
};

// Creates list manager objects: the Application by its class, the fallback list by ProgID.
class ListManagerProvider
{
public:
    virtual ~ListManagerProvider() = default;
    // Throws barlink::base::Error (429) when the list manager cannot be reached.
    [[nodiscard]] virtual std::shared_ptr<Application> createApplication() = 0;
    // Throws barlink::base::Error (429) for an unknown ProgID.
    [[nodiscard]] virtual std::shared_ptr<LateBoundList> createObject(const QString &progId) = 0;
};

} // namespace barlink::listmanager
