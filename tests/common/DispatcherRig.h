#pragma once

// The parts the label handlers work on: a settings file with the test's keys and the gcode/
// and lists/ folders in a temporary root, the operator's windows faked, an open scanner port
// in memory, the embedded list manager (its member calls counted, and failing where the test
// plans so) with a fresh current list, and the field selection.

#include "Fakes.h"
#include "FaultyListManager.h"
#include "RigSupport.h"
#include "TestSupport.h"
#include "base/CurrentItem.h"
#include "base/DoubleScanGuard.h"
#include "base/FileWrites.h"
#include "base/Options.h"
#include "base/Settings.h"
#include "base/StationContext.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelector.h"
#include "label/ItemSender.h"
#include "label/LabelDispatcher.h"
#include "listmanager/ListManagerLink.h"
#include "program/ProgramBarcode.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace barlink::testing {

// The parts a label handler is built from, ready for one test.
struct DispatcherRig
{
    // keys: lines of the settings file's section, each ending in "\r\n".
    explicit DispatcherRig(const QByteArray &keys = SelectionKeys)
    {
        settings.settingsFilePath = root + QStringLiteral("/KTQ.INI");
        settings.gcodePath = root + QStringLiteral("/gcode/");
        settings.listPath = root + QStringLiteral("/lists/");
        settings.csvInPath = root + QStringLiteral("/csv");
        settings.csvOutPath = root + QStringLiteral("/out.csv");
        QDir(root).mkpath(QStringLiteral("gcode"));
        QDir(root).mkpath(QStringLiteral("lists"));
        writeBytes(settings.settingsFilePath, "[GESTBCOD]\r\n" + keys);
        link.setApplication(provider.createApplication());
        link.setCurrentList(link.application()->newList());
        port.open(QStringLiteral("/dev/pts/1"), QStringLiteral("9600,N,8,1"));
    }

    [[nodiscard]] QStringList rows() const { return rowSummaries(store->rows()); }

    QTemporaryDir dir;
    QString root = dir.path();
    base::Settings settings;
    base::Options options;
    FakeDisplay display;
    InstantPacer pacer;
    ScriptedPrompter prompter;
    base::CurrentItem item;
    FakeScannerPort port;
    std::shared_ptr<embeddedlist::ListStore> store
        = std::make_shared<embeddedlist::ListStore>(root + QStringLiteral("/data"));
    ListManagerFaults faults;
    embeddedlist::EmbeddedListManagerProvider embedded{store};
    FaultyProvider provider{embedded, faults};
    listmanager::ListManagerLink link;
    fieldsel::AutoSelSettingsProvider autoSel{settings};
    fieldsel::FieldSelector selector{autoSel};
    base::DoubleScanGuard doubleScan;
    base::FileWrites writes;
    base::StationContext context{settings,
                                 options,
                                 item,
                                 display,
                                 prompter,
                                 pacer,
                                 link,
                                 provider,
                                 port,
                                 autoSel,
                                 selector,
                                 doubleScan,
                                 writes};
    label::ItemSender sender{context};
};

} // namespace barlink::testing
