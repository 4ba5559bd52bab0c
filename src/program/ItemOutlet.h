#pragma once

#include "base/Error.h"
#include "base/LabelOutcome.h"

#include <QString>

namespace barlink::program {

// Where the item of a program barcode goes, and the list file of a list label: the steps
// that end every label's handling at the list manager. The label handling provides them, so
// that a program barcode sends and loads exactly as the other labels do.
class ItemOutlet
{
public:
    // What the kinds of label do differently when they send an item.
    struct Way
    {
        // "ACK" and a carriage return go to the scanner after each row, when its port is open.
        bool acknowledge = false;
    };

    // A list manager call of the sending step failed: the error it raised, and what it was
    // asked to do ("add the row", "start the list").
    class ListManagerFailure : public base::Error
    {
    public:
        ListManagerFailure(const base::Error &error, QString asked)
            : base::Error(error)
            , m_asked(std::move(asked))
        {}
        [[nodiscard]] const QString &asked() const { return m_asked; }

    private:
        QString m_asked;
    };

    // Runs one list manager call; an error it raises becomes a ListManagerFailure.
    template<typename Call> static void callListManager(const QString &asked, Call &&call)
    {
        try {
            call();
        } catch (const base::Error &error) {
            throw ListManagerFailure(error, asked);
        }
    }

    virtual ~ItemOutlet() = default;

    // Sends the current item, x and y being its plan dimensions for the field selection: one
    // row, or a normal and a mirrored row for a mirror piece; then pauses, shows "Ready.",
    // darkens the indicators, keeps the program as the last one, asks for it in the editor
    // when "Show Program in Editor" is ticked, and resets the item. Each row added counts in
    // rowsAdded, so that a failure after the first can say how many went in. A failing list manager
    // call throws ListManagerFailure; the handling stops where an error arose.
    virtual void sendItem(float x, float y, const Way &way, int &rowsAdded) = 0;

    // Has the list manager open the list file of listName (see label::ListFileLoader), and
    // says what became of it.
    [[nodiscard]] virtual base::LabelOutcome loadListFile(const QString &listName) = 0;
};

} // namespace barlink::program
