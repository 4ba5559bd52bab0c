#pragma once

#include <QString>

#include <memory>

namespace barlink::listmanager {
class Application;
class ExeList;
class ListManagerProvider;
} // namespace barlink::listmanager

namespace barlink::testconsole {

// A line number typed into the console: the whole text must be a number; it is rounded
// half to even to a 32-bit whole number. Throws barlink::base::Error 13 "Type mismatch" for a
// text that is not a number and 6 "Overflow" beyond the 32-bit range.
[[nodiscard]] qint32 lineNumberOf(const QString &text);

// The folder of list files under the product folder: its "Lsx" subfolder. Where the file
// system tells names apart by case, an existing subfolder of that name in another letter
// case ("lsx") is the one meant.
[[nodiscard]] QString listFolderIn(const QString &productFolder);

// The test console's own references to a list manager application and one of its lists,
// apart from those the station uses for scanned items. Both start empty; members reached
// through an empty reference throw barlink::base::Error 91.
class ConsoleSession
{
public:
    explicit ConsoleSession(listmanager::ListManagerProvider &provider);
    ~ConsoleSession();
    ConsoleSession(const ConsoleSession &) = delete;
    ConsoleSession &operator=(const ConsoleSession &) = delete;

    [[nodiscard]] bool hasApplication() const { return bool(m_application); }
    [[nodiscard]] bool hasList() const { return bool(m_list); }
    // The references themselves; error 91 while empty.
    [[nodiscard]] listmanager::Application &application();
    [[nodiscard]] listmanager::ExeList &list();

    // A new Application object in place of the held one.
    void appInit();
    void appTerminate() { m_application.reset(); }
    // Quit with True, then drops both references.
    void quit();
    // NewList or OpenList; the returned list replaces the held one.
    void newList();
    void openList(const QString &path);
    void listTerminate() { m_list.reset(); }
    // ListClose with True, then drops the list reference.
    void listClose();
    // Drops the list reference, then the application reference.
    void dropAll();

private:
    listmanager::ListManagerProvider &m_provider;
    std::shared_ptr<listmanager::Application> m_application;
    std::shared_ptr<listmanager::ExeList> m_list;
};

} // namespace barlink::testconsole
