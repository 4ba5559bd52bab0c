#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace barlink::labeltool {

// The text of one label as the scanner must deliver it, or why it cannot be made.
struct LabelText
{
    QString text;
    QString error;
    QStringList notes;           // what the station will make of it, worth knowing
    bool twoDimensional = false; // too long or too rich for a one-dimensional symbol

    [[nodiscard]] bool ok() const { return error.isEmpty(); }
    // The bytes the scanner sends: one byte per character (Latin-1).
    [[nodiscard]] QByteArray bytes() const { return text.toLatin1(); }
};

// One coded field of a program barcode header: a letter of U V X Y Z A B C D E F G I and
// its value.
struct HeaderField
{
    QChar letter;
    QString value;
};

// "%START%" for START, STOP, END, CLEAR, SETPOINT or SETP (any letter case).
[[nodiscard]] LabelText commandLabel(const QString &name);

// "%N%" for one of the 36 work field codes.
[[nodiscard]] LabelText fieldCodeLabel(const QString &code);

// A plain program name.
[[nodiscard]] LabelText programNameLabel(const QString &name);

// "%" + type + count + values joined by single blanks. Types: 0 list file (one value, the
// list name), 1 program (name, then optionally run field and one more value), 2 dimensions
// (X Y Z), 3 variables A-D, 4 variables E F G I. count: how many segment labels make up
// the item (1 to 4), or 9 for an item repeated 999 times that completes with this label.
[[nodiscard]] LabelText segmentLabel(int type, int count, const QStringList &values);

// The segment type named by a word (list, program, dims, vars-ad, vars-ei) or a digit; -1
// when none.
[[nodiscard]] int segmentType(const QString &name);

// "*%00" + list name + "^^": the list manager opens that list file.
[[nodiscard]] LabelText listLabel(const QString &listName);

// "^": sends the item collected so far as it is.
[[nodiscard]] LabelText bareItemLabel();

// name "^" fields "!" program text (name "^!" text without fields, so that the label still
// reaches the program barcode handler). programFile is the file as stored; its final line
// end (CR LF, LF or CR) is left out, as the station adds CR LF when it saves the text.
[[nodiscard]] LabelText programBarcodeLabel(const QString &name,
                                            const QList<HeaderField> &fields,
                                            const QByteArray &programFile);

// Puts the scanner prefix in front: the character with code 209 and seven characters,
// which the station drops. Only for labels that go to the program barcode handler.
[[nodiscard]] LabelText withScannerPrefix(const LabelText &label, const QString &seven);

// The compressed form of a label.
[[nodiscard]] LabelText compressedLabel(const LabelText &label, int level = 9);

// Decodes a label the way the station would before handling it, and says whether it gives
// back `expected` (for a compressed label: its expanded text; otherwise the label itself).
// Empty when it does; otherwise what differs.
[[nodiscard]] QString checkAgainstDecoder(const LabelText &label, const QString &expected);

} // namespace barlink::labeltool
