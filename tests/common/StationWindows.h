#pragma once

// The windows the main window opens, each made by name as the station makes it, over a folder
// of their own (the settings file and the journal there) and the station's stand-ins.

#include "Fakes.h"
#include "app/AboutDialog.h"
#include "app/GuideWindow.h"
#include "app/PortControl.h"
#include "app/SettingsDialog.h"
#include "app/TryWindow.h"
#include "base/CurrentItem.h"
#include "base/Settings.h"
#include "exclusion/ExclusionChoice.h"
#include "exclusion/ExclusionDialog.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelectionDialog.h"
#include "journal/ui/JournalWindow.h"

#include <QTemporaryDir>
#include <QWidget>

#include <memory>

namespace barlink::testing {

class StationWindows
{
public:
    StationWindows() { settings.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI")); }

    // What make() knows, in the order the menus offer them.
    static inline const QStringList Names{
        "Settings", "Field selection", "Exclusions", "Journal", "Try", "Guide", "About"};

    // The window of that name, not shown; none for a name not in Names.
    std::unique_ptr<QWidget> make(const QString &name)
    {
        if (name == u"Settings")
            return std::make_unique<app::SettingsDialog>(settings, prompter, control);
        if (name == u"Field selection")
            return std::make_unique<fieldsel::FieldSelectionDialog>(
                fields.settings(), settings, item);
        if (name == u"Exclusions")
            return std::make_unique<exclusion::ExclusionDialog>(exclusions, prompter);
        if (name == u"Journal")
            return std::make_unique<journal::JournalWindow>(journalPath(), QString());
        if (name == u"Try")
            return std::make_unique<app::TryWindow>(dir.path(), dir.path());
        if (name == u"Guide")
            return std::make_unique<app::GuideWindow>();
        if (name == u"About")
            return std::make_unique<app::AboutDialog>();
        return nullptr;
    }

    [[nodiscard]] QString journalPath() const
    {
        return dir.filePath(QStringLiteral("journal.sqlite"));
    }

    QTemporaryDir dir;
    base::Settings settings;
    FakeDisplay display;
    FakeScannerPort port;
    ScriptedPrompter prompter;
    app::PortControl control{settings, port, display, prompter};
    fieldsel::AutoSelSettingsProvider fields{settings};
    exclusion::ExclusionChoice exclusions{settings, display};
    const base::CurrentItem item;
};

} // namespace barlink::testing
