#pragma once

#include "Application.h"
#include "ExeList.h"

#include <functional>
#include <memory>
#include <optional>

namespace barlink::listmanager {

// The list manager references the station holds for the whole run (the
// Application, the current list, the late-bound fallback list) and the list
// commands it sends through them. A command whose object is not held raises
// error 91, as a call on an unset object does.
class ListManagerLink
{
public:
    [[nodiscard]] const std::shared_ptr<Application> &application() const { return m_application; }
    void setApplication(std::shared_ptr<Application> application);
    [[nodiscard]] const std::shared_ptr<ExeList> &currentList() const { return m_list; }
    void setCurrentList(std::shared_ptr<ExeList> list);
    [[nodiscard]] const std::shared_ptr<LateBoundList> &lateBoundList() const
    {
        return m_lateBoundList;
    }
    void setLateBoundList(std::shared_ptr<LateBoundList> list);

    // Only whether the command line was empty matters: with text on it no list
    // is requested at start-up and the list is never cleared.
    [[nodiscard]] bool commandLineEmpty() const { return m_commandLineEmpty; }
    void setCommandLineEmpty(bool empty) { m_commandLineEmpty = empty; }

    // Told of every list cleared, with the rows that were in it when the list could say.
    void setClearObserver(std::function<void(std::optional<qint32> rows)> observer)
    {
        m_clearObserver = std::move(observer);
    }

    // ClearList on the current list, only when the command line was empty.
    void clearHostList();
    void hostListStart();
    void hostListStop();
    void hostListEnd();
    void setpoint();

    // Drops the references: the late-bound list, the current list, the Application.
    void release();

private:
    Application &requireApplication() const;

    std::shared_ptr<Application> m_application;
    std::shared_ptr<ExeList> m_list;
    std::shared_ptr<LateBoundList> m_lateBoundList;
    bool m_commandLineEmpty = true;
    std::function<void(std::optional<qint32>)> m_clearObserver;
};

} // namespace barlink::listmanager
