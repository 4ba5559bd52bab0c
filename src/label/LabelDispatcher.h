#pragma once

#include "LabelInterpreter.h"
#include "base/OperatorDisplay.h"
#include "text/TokenReader.h"

#include <QString>

#include <functional>

namespace barlink::base {
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
}

namespace barlink::base {
struct CurrentItem;
} // namespace barlink::base

namespace barlink::label {

class ItemSender;

// Decides what one complete label is (a list command, a field-code label, a plain
// program name or one segment of an item), fills the current item, and when the
// item is complete has it sent, answering "ACK" to the scanner for each row.
class LabelDispatcher : public LabelInterpreter
{
public:
    struct Parts
    {
        base::Settings &settings;
        base::Options &options;
        base::OperatorDisplay &display;
        base::Pacer &pacer;
        base::Prompter &prompter;
        base::CurrentItem &item;
        listmanager::ListManagerLink &link;
        fieldsel::AutoSelSettingsProvider &autoSel;
        fieldsel::FieldSelector &selector;
        ItemSender &sender;
    };

    explicit LabelDispatcher(Parts parts)
        : m_parts(parts)
    {}

    bool interpretLabel(const QString &label) override;

    // Opens the program just sent in the editor, when "Show Program in Editor" is ticked.
    std::function<void()> launchEditor;

    // The segment types received for the item being collected, in order of arrival.
    [[nodiscard]] const QString &segmentsSeen() const { return m_segmentsSeen; }

private:
    bool runCommand(const QString &label);
    bool fieldCodeLabel(const QString &label);
    [[nodiscard]] QString unsafeNameIn(const QString &label) const;
    void takePlainLabel(const QString &label, QString &count, int &outcome);
    void readSegmentContents(base::OperatorDisplay::Segment type, const QString &contents);
    void completeItem();
    // A label whose handling failed ends the item it belongs to: nothing of it may reach the
    // next item's row, and the operator scans the item again.
    void abandonItem();
    // Runs the field selection in a mode that only seeds its alternation from the run field
    // (6 or 7); no field is chosen.
    void seedFieldSelection(int mode);

    Parts m_parts;
    QString m_segmentsSeen;
    text::TokenReader m_tokens;
    // Rows the item being completed has added so far.
    int m_rowsAdded = 0;
};

} // namespace barlink::label
