#pragma once

#include "program/ItemOutlet.h"

#include <QString>

namespace barlink::base {
class OperatorDisplay;
class Options;
class Pacer;
class Prompter;
struct Settings;
} // namespace barlink::base
namespace barlink::fieldsel {
class AutoSelSettingsProvider;
class FieldSelector;
} // namespace barlink::fieldsel
namespace barlink::listmanager {
class ListManagerLink;
class ListManagerProvider;
} // namespace barlink::listmanager
namespace barlink::scanner {
class ScannerPort;
}

namespace barlink::base {
struct CurrentItem;
} // namespace barlink::base

namespace barlink::label {

// The one step that sends a completed item, for the label dispatcher and the program barcode
// alike: the work field chosen by the run field's first character, the row added (twice for
// a mirror piece), the list started when "Machine Auto Start" is ticked, then the pauses,
// "Ready." and the reset of the item.
class ItemSender : public program::ItemOutlet
{
public:
    struct Parts
    {
        const base::Settings &settings;
        base::Options &options;
        base::OperatorDisplay &display;
        base::Pacer &pacer;
        base::Prompter &prompter;
        base::CurrentItem &item;
        listmanager::ListManagerLink &link;
        listmanager::ListManagerProvider &provider;
        scanner::ScannerPort &port;
        fieldsel::AutoSelSettingsProvider &autoSel;
        fieldsel::FieldSelector &selector;
    };

    explicit ItemSender(Parts parts)
        : m_parts(parts)
    {}

    void sendItem(float x, float y, const Way &way, int &rowsAdded) override;
    void loadListFile(const QString &listName) override;

    [[nodiscard]] static QString acknowledgement() { return QStringLiteral("ACK\r"); }

private:
    // One row: the field selection the run field asks for, the row, the start, the "ACK".
    void sendRow(float x, float y, const Way &way, int &rowsAdded);

    Parts m_parts;
};

} // namespace barlink::label
