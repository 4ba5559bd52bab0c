#pragma once

#include "base/Error.h"
#include "base/LabelOutcome.h"

#include <QString>

namespace barlink::base {
class OperatorDisplay;
class Pacer;
class Prompter;
struct Settings;
} // namespace barlink::base
namespace barlink::listmanager {
class ListManagerLink;
}

namespace barlink::label {

// Has the list manager open a saved list file, which then becomes the machine's list.
class ListFileLoader
{
public:
    ListFileLoader(const base::Settings &settings,
                   listmanager::ListManagerLink &link,
                   base::OperatorDisplay &display,
                   base::Pacer &pacer,
                   base::Prompter &prompter);

    // ListPath + listName + ".LST", as built: ListPath is a plain prefix and the name is
    // taken unchanged (an empty name gives ListPath + ".LST", "A.LST" gives "A.LST.LST").
    [[nodiscard]] QString listFileName(const QString &listName) const;

    // Asks the list manager to open the list file (found in any letter case, so
    // "panel1.lst" on disk serves PANEL1) and releases the list it hands back at once. On
    // success nothing else changes: the "Load List" indicator stays lit. On any failure:
    // pause and "Ready.", then for a missing file (error 53) the warning
    // "List File <name> Not Found" with the name as built, then all five segment
    // indicators go dark. A name that reaches outside ListPath is not asked for: after the
    // pause the status line says it was refused. Returns what became of the list: taken,
    // refused (the name), or failed with the error ("List File <name> Not Found" for a
    // missing file).
    [[nodiscard]] base::LabelOutcome loadListFile(const QString &listName);

private:
    [[nodiscard]] base::LabelOutcome reportFailure(const base::Error &error,
                                                   const QString &listName);

    const base::Settings &m_settings;
    listmanager::ListManagerLink &m_link;
    base::OperatorDisplay &m_display;
    base::Pacer &m_pacer;
    base::Prompter &m_prompter;
};

} // namespace barlink::label
