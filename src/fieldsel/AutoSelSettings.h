#pragma once

#include "FieldSlot.h"

#include <QObject>
#include <QString>

#include <array>

namespace barlink::fieldsel {

// Where the mirror match looks for the trigger characters; Barcode means no test.
enum class TriggerSource { ProgramName, Comment, Barcode };

// What a mirror match produces: a mirror row, or a normal and a mirrored row.
enum class MirrorAction { Mirror, NormAndMirror };

// A stored trigger for one pair of source and action.
struct TriggerSet
{
    qint16 alignment = 0; // -1 from the left, 0 from the right
    qint16 position = 0;
    QString text;

    friend bool operator==(const TriggerSet &, const TriggerSet &) = default;
};

// What the setup dialog shows about the live trigger: the trigger characters drawn into a
// row of question marks at their position, and that position counted from either side.
struct TriggerDisplay
{
    bool enabled = false; // false while the source is Barcode, as it is at first
    QString text = QStringLiteral("????????????????????????");
    QString fromLeftText;  // "11 From Left"
    QString fromRightText; // "1 From Right"
    bool showFromLeft = true;

    friend bool operator==(const TriggerDisplay &, const TriggerDisplay &) = default;
};

// The field selection settings of the whole process: the slot codes and enable flags, the
// default field, the half limits and the mirror trigger. The setup dialog edits this object
// in place, so every change takes effect for the next selection at once; the selection and
// the mirror match read it.
//
// The live trigger behaves like the dialog's controls: a change of its text, position or
// alignment (a real change, not setting the same value) redraws the trigger display
// (placeText), which also sets the position maximum and keeps the position within it.
class AutoSelSettings : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Field slots. A code is any text and is returned as held; a slot counts as enabled only
    // when its flag is exactly 1, and SFN and SFM, which have no flag, always count.
    [[nodiscard]] QString code(FieldSlot slot) const;
    void setCode(FieldSlot slot, const QString &code);
    [[nodiscard]] qint16 enableFlag(FieldSlot slot) const;
    void setEnableFlag(FieldSlot slot, qint16 flag);
    [[nodiscard]] bool isEnabled(FieldSlot slot) const;

    // The default field: when not empty, the run field of an item that names none.
    [[nodiscard]] const QString &defaultField() const { return m_defaultField; }
    void setDefaultField(const QString &field);

    // The half limits in millimetres, kept exactly as typed; a text that is no number counts
    // as 0.
    [[nodiscard]] const QString &halfLimitX() const { return m_halfLimitX; }
    void setHalfLimitX(const QString &limit);
    [[nodiscard]] const QString &halfLimitY() const { return m_halfLimitY; }
    void setHalfLimitY(const QString &limit);

    // The source and the action. Changing them copies nothing by itself: the dialog stores
    // the live trigger first (getAutoSel) when the user presses the mouse on an option, and
    // loads the new set (setAutoSel, placeText) when the option is clicked.
    [[nodiscard]] TriggerSource source() const { return m_source; }
    void setSource(TriggerSource source);
    [[nodiscard]] MirrorAction action() const { return m_action; }
    void setAction(MirrorAction action);
    // True when the source is Program Name or Comment.
    [[nodiscard]] bool mirrorSourceIsNameOrComment() const
    {
        return m_source != TriggerSource::Barcode;
    }

    // The live trigger characters, as typed.
    [[nodiscard]] const QString &triggerText() const { return m_triggerText; }
    void setTriggerText(const QString &text);
    // The live position, counted from 1. It stays between 1 and the position maximum (when
    // the maximum is below 1, between the maximum and 1).
    [[nodiscard]] qint16 triggerPosition() const { return m_triggerPosition; }
    void setTriggerPosition(qint16 position);
    // True: the position counts from the left; false: from the right.
    [[nodiscard]] bool fromLeft() const { return m_fromLeft; }
    void setFromLeft(bool fromLeft);

    // 26 when the source is Comment, otherwise 13.
    [[nodiscard]] qint16 triggerWidth() const;
    // The largest trigger position: the trigger width minus the length of the trigger, as
    // last set by placeText (which leaves it alone while the source is Barcode).
    [[nodiscard]] qint16 positionMaximum() const { return m_positionMaximum; }

    // The stored trigger of a source (Program Name or Comment) and action; Barcode has none
    // (an empty set is returned, and setting one does nothing).
    [[nodiscard]] TriggerSet triggerSet(TriggerSource source, MirrorAction action) const;
    void setTriggerSet(TriggerSource source, MirrorAction action, const TriggerSet &set);
    // The action last chosen with each source: 1 Mirror, 0 Norm and Mirror.
    [[nodiscard]] qint16 pNameMSel() const { return m_pNameMSel; }
    void setPNameMSel(qint16 value);
    [[nodiscard]] qint16 commentMSel() const { return m_commentMSel; }
    void setCommentMSel(qint16 value);

    // Stores the live trigger into the set of the current source and action, and remembers
    // the action for the source. Nothing while the source is Barcode.
    void getAutoSel();
    // Loads the set of the current source and action into the live trigger: alignment, then
    // position (raised to 1, lowered to the current maximum, both written back into the
    // set), then text. Nothing while the source is Barcode.
    void setAutoSel();
    // Recomputes the position maximum and redraws the trigger display; with the source
    // Barcode it only disables the display.
    void placeText();

    [[nodiscard]] const TriggerDisplay &display() const { return m_display; }

    // Takes every value of other, the display included, and says so once: the setup dialog
    // keeps a copy from its opening and puts it back when the user cancels.
    void copyFrom(const AutoSelSettings &other);
    // Puts the last program name (source Program Name) or comment (source Comment) in the
    // place of the question marks, so the user can line the trigger up with real text; the
    // next placeText draws the question marks again.
    void showLastText(const QString &lastProgramName, const QString &lastProgramComment);

Q_SIGNALS:
    // Any value above changed.
    void changed();

private:
    [[nodiscard]] static std::size_t index(FieldSlot slot) { return std::size_t(slot); }
    // The index of a stored set in m_sets; -1 for Barcode.
    [[nodiscard]] static int setIndex(TriggerSource source, MirrorAction action);
    [[nodiscard]] TriggerSet *storedSet(TriggerSource source, MirrorAction action);
    void setPositionMaximum(int maximum);

    std::array<QString, FieldSlotCount> m_codes;
    std::array<qint16, FieldSlotCount> m_flags{};
    QString m_defaultField;
    QString m_halfLimitX;
    QString m_halfLimitY;

    TriggerSource m_source = TriggerSource::Barcode;
    MirrorAction m_action = MirrorAction::Mirror;
    QString m_triggerText;
    qint16 m_triggerPosition = 1;
    bool m_fromLeft = true;
    qint16 m_positionMaximum = 13;

    // Program Name / Mirror, Program Name / Norm and Mirror, Comment / Mirror,
    // Comment / Norm and Mirror.
    std::array<TriggerSet, 4> m_sets;
    qint16 m_pNameMSel = 0;
    qint16 m_commentMSel = 0;

    TriggerDisplay m_display;
};

} // namespace barlink::fieldsel
