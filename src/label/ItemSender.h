#pragma once

#include "program/ItemOutlet.h"

#include <QObject>
#include <QString>

namespace barlink::base {
struct StationContext;
}

namespace barlink::label {

// The one home of each step of an item, for the label dispatcher and the program barcode
// alike. Sending: the program comment made fit for the row (a ";" or control character read
// from the program file becomes a space), the work field chosen by the run field's first
// character, the row added (twice for a mirror piece), the list started when "Machine Auto
// Start" is ticked, then the pauses, "Ready." and the reset of the item. Around it: the
// pending list clear (carried out only by a label that sends rows or a list command, so that
// a refused or ignored label never empties the list), the refusals, abandoning the item.
class ItemSender : public QObject, public program::ItemOutlet
{
    Q_OBJECT
public:
    explicit ItemSender(base::StationContext &context, QObject *parent = nullptr)
        : QObject(parent)
        , m_context(context)
    {}

    bool clearPendingList(bool showLateBoundList) override;
    [[nodiscard]] bool refuse(const base::Reason &refusal) override;
    [[nodiscard]] std::optional<base::Reason> refuseRepeat() override;
    void sendItem(float x, float y, const Way &way, int &rowsAdded) override;
    [[nodiscard]] base::LabelOutcome loadListFile(const QString &listName) override;
    void abandonItem() override;

    // Something the label's journal entry is to say of the item: told before its first row.
    void note(const base::Reason &text) { Q_EMIT noted(text); }

    // What the journal says of an item whose program comment could not go into its row as it
    // stood.
    [[nodiscard]] static base::Reason commentCleanedNote()
    {
        return base::Reason(base::Reason::Code::CommentCleaned);
    }

Q_SIGNALS:
    // The item just sent is to be opened in the program editor: "Show Program in Editor" is
    // ticked. Emitted before the item is reset.
    void editorRequested(const QString &programName);
    // A row of the item went into the list, in the work field given; acknowledge: the label
    // asks for an "ACK" for it. Nothing here writes to the scanner: the receiver journals the
    // row and then answers the scanner.
    void rowSent(const QString &field, bool acknowledge);
    // The rows of the item are all in the list; the pauses after them follow.
    void itemSent();
    // What the label's journal entry is to say of the item besides its rows: a value read from
    // a file that was changed so that it can go into the row, a program file that is not there.
    // Emitted before the item's first row.
    void noted(const base::Reason &note);

private:
    // One row: the field selection the run field asks for, the row, the start.
    void sendRow(float x, float y, const Way &way, int &rowsAdded);

    base::StationContext &m_context;
};

} // namespace barlink::label
