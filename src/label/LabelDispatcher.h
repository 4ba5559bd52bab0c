#pragma once

#include "LabelInterpreter.h"
#include "text/TokenReader.h"

#include <QString>

#include <functional>

namespace barlink::app {
class OperatorDisplay;
class Options;
class Pacer;
class Prompter;
struct Settings;
} // namespace barlink::app
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

namespace barlink::label {

struct CurrentItem;

// Decides what one complete label is (a list command, a field-code label, a plain
// program name or one segment of an item), fills the current item, and when the
// item is complete sends it to the list manager and answers "ACK" to the scanner.
class LabelDispatcher : public LabelInterpreter
{
public:
    struct Parts
    {
        app::Settings &settings;
        app::Options &options;
        app::OperatorDisplay &display;
        app::Pacer &pacer;
        app::Prompter &prompter;
        CurrentItem &item;
        listmanager::ListManagerLink &link;
        listmanager::ListManagerProvider &provider;
        scanner::ScannerPort &port;
        fieldsel::AutoSelSettingsProvider &autoSel;
        fieldsel::FieldSelector &selector;
    };

    explicit LabelDispatcher(Parts parts)
        : m_parts(parts)
    {}

    bool interpretLabel(const QString &label) override;

    // Opens the program just sent in the editor, when "Show Program in Editor" is ticked.
    std::function<void()> launchEditor;

    // The segment types received for the item being collected, in order of arrival.
    [[nodiscard]] const QString &segmentsSeen() const { return m_segmentsSeen; }

    [[nodiscard]] static QString acknowledgement() { return QStringLiteral("ACK\r"); }

private:
    bool runCommand(const QString &label);
    bool fieldCodeLabel(const QString &label);
    [[nodiscard]] QString unsafeNameIn(const QString &label) const;
    void takePlainLabel(const QString &label, QString &count, int &outcome);
    void readSegmentContents(int type, const QString &contents);
    void completeItem();
    // A label whose handling failed ends the item it belongs to: nothing of it may reach the
    // next item's row, and the operator scans the item again.
    void abandonItem();
    void sendCurrentItem(float &x, float &y);
    void readProgramFile(float &x, float &y, float &z);
    QString autoSelectField(int mode, float &x, float &y);

    Parts m_parts;
    QString m_segmentsSeen;
    text::TokenReader m_tokens;
    // Rows the item being completed has added so far.
    int m_rowsAdded = 0;
};

} // namespace barlink::label
