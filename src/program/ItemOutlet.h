#pragma once

#include "base/Error.h"
#include "base/LabelOutcome.h"
#include "base/Reasons.h"

#include <QString>

#include <optional>

namespace barlink::program {

// The steps of an item that every kind of label shares: the pending list clear, the
// double-scan refusal, sending, abandoning, loading a list file. The label handling provides
// them, so that a program barcode takes its item exactly as the other labels do.
class ItemOutlet
{
public:
    // What the kinds of label do differently when they send an item.
    struct Way
    {
        // The scanner is answered "ACK" and a carriage return for each row, once the row is
        // journaled and when its port is open.
        bool acknowledge = false;
    };

    // A list manager call of the sending step failed: the error it raised, and what it was
    // asked to do ("add the row", "start the list").
    class ListManagerFailure : public base::Error
    {
    public:
        ListManagerFailure(const base::Error &error, base::Reason asked)
            : base::Error(error)
            , m_asked(std::move(asked))
        {}
        [[nodiscard]] const base::Reason &asked() const { return m_asked; }

    private:
        base::Reason m_asked;
    };

    // Runs one list manager call; an error it raises becomes a ListManagerFailure.
    template<typename Call> static void callListManager(const base::Reason &asked, Call &&call)
    {
        try {
            call();
        } catch (const base::Error &error) {
            throw ListManagerFailure(error, asked);
        }
    }

    // The text of a failure, told how many rows of the item went in before it, so that the
    // item is not scanned again and added twice: the reason ends as a sentence (a full stop
    // added unless it has one) and the count follows.
    [[nodiscard]] static base::Reason withRowsAdded(const base::Reason &reason, int rows)
    {
        if (rows == 0)
            return reason;
        return base::Reason(reason.english().endsWith(QLatin1Char('.'))
                                ? base::Reason::Code::RowsAddedAfter
                                : base::Reason::Code::RowsAddedAfterSentence,
                            reason,
                            rows);
    }
    // The same for an error: its reason told so, its number and path kept.
    [[nodiscard]] static base::Error withRowsAdded(const base::Error &error, int rows)
    {
        if (rows == 0)
            return error;
        return base::Error(error.number(), withRowsAdded(error.reason(), rows), error.path());
    }

    virtual ~ItemOutlet() = default;

    // The clear start-up left pending is carried out now, by a label that sends rows or a list
    // command: the list is emptied, and the label's journal entry says how many rows from
    // before went. showLateBoundList: the late-bound list object, when held, is shown first.
    // Returns whether the list was cleared; nothing happens when no clear is pending, and a
    // clear that fails stays pending.
    virtual bool clearPendingList(bool showLateBoundList) = 0;

    // Why the label is refused before anything changes: refusal, shown on the status line.
    // False, and nothing shown, when refusal is empty.
    [[nodiscard]] virtual bool refuse(const base::Reason &refusal) = 0;

    // The item just completed has the same labels as the one taken last, within the
    // double-scan window: it is abandoned and the status line says so. Returns why, or
    // nothing when the item is no repeat.
    [[nodiscard]] virtual std::optional<base::Reason> refuseRepeat() = 0;

    // Sends the current item, x and y being its plan dimensions for the field selection: one
    // row, or a normal and a mirrored row for a mirror piece; then pauses, shows "Ready.",
    // darkens the indicators, keeps the program as the last one, asks for it in the editor
    // when "Show Program in Editor" is ticked, and resets the item. Each row added counts in
    // rowsAdded, so that a failure after the first can say how many went in. A failing list manager
    // call throws ListManagerFailure; the handling stops where an error arose.
    virtual void sendItem(float x, float y, const Way &way, int &rowsAdded) = 0;

    // A list label: empties the list, then has the list manager open the list file of listName
    // (see label::ListFileLoader), and says what became of it. The next item repeats nothing
    // before it. A clear that fails throws ListManagerFailure and nothing is loaded.
    [[nodiscard]] virtual base::LabelOutcome loadListFile(const QString &listName) = 0;

    // Ends the item whose label failed or was refused: nothing of it may reach the next item's
    // row, and the operator scans the item again. The labels collected for the double-scan
    // guard are dropped, the indicators darkened, the item reset.
    virtual void abandonItem() = 0;
};

} // namespace barlink::program
