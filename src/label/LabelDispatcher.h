#pragma once

#include "LabelInterpreter.h"
#include "base/LabelOutcome.h"
#include "base/OperatorDisplay.h"
#include "text/TokenReader.h"

#include <QCoreApplication>
#include <QString>

namespace barlink::base {
struct StationContext;
}
namespace barlink::fieldsel {
enum class SelectMode; // int, as every scoped enum by default
}

namespace barlink::label {

class ItemSender;

// Decides what one complete label is (a list command, a field-code label, a plain
// program name or one segment of an item), fills the current item, and when the
// item is complete has it sent, answering "ACK" to the scanner for each row.
class LabelDispatcher : public LabelInterpreter
{
public:
    LabelDispatcher(base::StationContext &context, ItemSender &sender)
        : m_context(context)
        , m_sender(sender)
    {}

    bool interpretLabel(const QString &label) override;

    // What an item sent without its program file says: "NOPE.CNC is not in <folder>: no
    // dimensions". In English whatever the operator's language: it goes into the journal.
    [[nodiscard]] static base::Reason missingProgramWarning(const QString &programName,
                                                            const QString &folder);
    // A label without "%" and "$": a program name on its own.
    [[nodiscard]] static bool isPlainLabel(const QString &label);

    // The segment types received for the item being collected, in order of arrival.
    [[nodiscard]] const QString &segmentsSeen() const { return m_segmentsSeen; }
    // What became of the last label interpreted, unless its handling threw.
    [[nodiscard]] const base::LabelOutcome &lastOutcome() const { return m_outcome; }

private:
    // One of the list commands, the whole label exactly.
    [[nodiscard]] static bool isCommand(const QString &label);
    // listCleared: the list was emptied for this label already, "%CLEAR%" need not do it again.
    void runCommand(const QString &label, bool listCleared);
    // The machine field code a field-code label fixes; empty for any other label.
    [[nodiscard]] static QString fieldCodeIn(const QString &label);
    // Why the label is refused before anything changes: a name that reaches outside its
    // folder, a program name or a dimension that cannot go into a row, a work field token
    // with a control character, a plain label or program segment that names no program;
    // empty when it is not.
    [[nodiscard]] base::Reason refusalOf(const QString &label) const;
    void takePlainLabel(const QString &label, QString &count, int &outcome);
    // Why a label with "%" or "$" was not taken in as a segment.
    [[nodiscard]] base::Reason notASegmentReason(const QString &label) const;
    void decide(base::LabelOutcome::Kind kind,
                base::LabelOutcome::Result result,
                const base::Reason &reason = {});
    // The item's companion CSV goes into the collecting file, unless files are not written.
    void moveCompanionCsv();
    void readSegmentContents(base::OperatorDisplay::Segment type, const QString &contents);
    // Sends the item; returns the warning its rows went with, or an empty text.
    [[nodiscard]] base::Reason completeItem();
    // A label whose handling failed ends the item it belongs to (ItemSender::abandonItem);
    // the segments collected for it go too.
    void abandonItem();
    void forgetSegments();
    // Runs the field selection in a mode that only seeds its alternation from the run field
    // (SeedForNext or Seed); no field is chosen.
    void seedFieldSelection(fieldsel::SelectMode mode);

    base::StationContext &m_context;
    ItemSender &m_sender;
    QString m_segmentsSeen;
    text::TokenReader m_tokens;
    base::LabelOutcome m_outcome;
    // Rows the item being completed has added so far.
    int m_rowsAdded = 0;
};

} // namespace barlink::label
