#pragma once

// The types of the folders above are only named here, never used: every folder can take the
// context without including theirs.
namespace barlink::fieldsel {
class AutoSelSettingsProvider;
class FieldSelector;
} // namespace barlink::fieldsel
namespace barlink::listmanager {
class ListManagerLink;
class ListManagerProvider;
} // namespace barlink::listmanager

namespace barlink::base {

struct CurrentItem;
class DoubleScanGuard;
class FileWrites;
class OperatorDisplay;
class Options;
class Pacer;
class Prompter;
struct Settings;

// What the parts of one station share for the whole run: the settings and option switches,
// the item being collected, the operator's windows and pauses, the list manager and the field
// selection, the double-scan guard and whether files are written. The station
// builds it once and hands it to its parts by reference; a part uses what it needs of it.
struct StationContext
{
    Settings &settings;
    Options &options;
    CurrentItem &item;
    OperatorDisplay &display;
    Prompter &prompter;
    Pacer &pacer;
    listmanager::ListManagerLink &link;
    listmanager::ListManagerProvider &provider;
    fieldsel::AutoSelSettingsProvider &autoSel;
    fieldsel::FieldSelector &selector;
    DoubleScanGuard &doubleScan;
    FileWrites &writes;
};

} // namespace barlink::base
