#pragma once

#include "base/LabelOutcome.h"
#include "scanner/ScanRouting.h"

#include <QLatin1String>
#include <QString>
#include <QStringView>

namespace barlink::base {
struct CurrentItem;
struct StationContext;
} // namespace barlink::base

namespace barlink::program {

class ItemOutlet;
struct PlanSize;

// The layout of a label that carries a program, shared by the handler below and the label
// encoder: [prefix] name "^" coded fields "!" program text, or "*%00" list name "^^".
namespace programlabel {
// Everything with this character anywhere goes to the program barcode handler.
inline constexpr char16_t Separator = scanner::scanmarker::Program;
// The header runs up to the first "!"; the program text is everything after it.
inline constexpr char16_t TextMarker = u'!';
// A label without "!" that begins with this loads a list file; its last two characters
// are dropped.
inline constexpr QLatin1String ListPrefix("*%00");
inline constexpr qsizetype ListSuffixLength = 2;
// A label whose first character has this code loses its first PrefixLength characters.
inline constexpr char16_t PrefixCode = 209;
inline constexpr qsizetype PrefixLength = 8;
// Header fields 2 up to this one carry a code letter; later fields are ignored.
inline constexpr qsizetype LastCodedField = 14;
// The code letters, case-sensitive: U run field, V extra text, X Y Z dimensions, A-D and
// E, F, G, I the item variables (there is no H).
inline constexpr QLatin1String CodeLetters("UVXYZABCDEFGI");
// A program text of this many characters or fewer is not saved.
inline constexpr qsizetype UnsavedTextLength = 10;
} // namespace programlabel

// What a label handed to the program barcode handler is, once its prefix is gone.
struct ProgramLabel
{
    enum class Form {
        Program,  // header "!" program text
        ListLoad, // "*%00" list name and two characters
        BareItem, // neither: the current item is sent as it is
    };

    Form form = Form::BareItem;
    QString header;      // Program: the text before the first "!"
    QString programText; // Program: the text after it, leading and trailing spaces removed
    QString listName;    // ListLoad: the text between "*%00" and the last two characters
};

[[nodiscard]] ProgramLabel parseProgramLabel(QStringView label);

// Which segment indicators a program header lights besides "Program".
struct HeaderIndicators
{
    bool dimensions = false; // X, Y, Z
    bool varsAToD = false;
    bool varsEToI = false;
};

// Stores the coded header fields 2 to 14 in the item, in order, a later letter overwriting
// an earlier one: the value is the field from its second character on with leading and
// trailing spaces removed. U is taken only while item.runField is blank; a field that is
// empty or begins with any other character is skipped. Field 1 (the program name) is not
// touched here.
HeaderIndicators applyProgramHeader(QStringView header, base::CurrentItem &item);

// Takes labels that carry a whole program (or name a list file, or send the current item
// as it is), saves the program as a program file in the g-code folder and has the item
// sent, as every label's item is, through the outlet.
class ProgramBarcode
{
public:
    ProgramBarcode(base::StationContext &context, ItemOutlet &outlet)
        : m_context(context)
        , m_outlet(outlet)
    {}

    // Handles one complete label. Never throws for a failure of its own steps: a program
    // file that cannot be written, or a failing list manager call, abandons the label with
    // a warning (status line and message box); a program name that reaches outside the
    // g-code folder, or a name or dimension that would break the list row, is refused on the
    // status line before anything changes. An abandoned
    // program barcode or bare item leaves the item reset, as a handled one does; an
    // abandoned list label leaves it as it was.
    void interpretProgramBarcode(const QString &label);
    // What became of the last label handled.
    [[nodiscard]] const base::LabelOutcome &lastOutcome() const { return m_outcome; }

    // "Program barcode abandoned: <reason>"
    [[nodiscard]] static base::Reason abandonedText(const base::Reason &reason);

private:
    // text: the label as handed over; label: what it is.
    void handle(const QString &text, const ProgramLabel &label);
    // Why a program label with this header is refused before anything changes: its name
    // (base::programNameRefusal) or a dimension that cannot go into a row; empty when it is not.
    [[nodiscard]] static base::Reason refusalOf(const QString &header);
    // The label completes an item with the same labels as the item taken last, within the
    // double-scan window: the item is refused and reset.
    [[nodiscard]] bool refusedAsRepeat(const QString &text);
    [[nodiscard]] PlanSize takeProgram(const ProgramLabel &label);
    // What a program file holds for the program text.
    [[nodiscard]] static QByteArray programFileBytes(const QString &programText);
    void saveProgramFile(const QString &path, const QByteArray &bytes);
    void abandon(const base::Reason &reason);

    base::StationContext &m_context;
    ItemOutlet &m_outlet;
    // Whether the handling of the label in hand has changed the item, so that an abandoned
    // label resets it.
    bool m_itemTouched = false;
    // Rows the label in hand has added, for the report of a failure after the first.
    int m_rowsAdded = 0;
    base::LabelOutcome m_outcome;
};

} // namespace barlink::program
