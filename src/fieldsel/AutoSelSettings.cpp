#include "AutoSelSettings.h"

#include <algorithm>
#include <limits>

namespace barlink::fieldsel {

namespace {

constexpr qint16 ProgramNameWidth = 13;
constexpr qint16 CommentWidth = 26;

template<typename T> bool assign(T &member, const T &value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

// A position within the range of the position control: between 1 and the maximum, or
// between the maximum and 1 when the trigger leaves no room.
[[nodiscard]] qint16 withinRange(int position, qint16 maximum)
{
    const int low = std::min<int>(1, maximum);
    const int high = std::max<int>(1, maximum);
    return qint16(std::clamp(position, low, high));
}

} // namespace

QString AutoSelSettings::code(FieldSlot slot) const
{
    return m_codes[index(slot)];
}

void AutoSelSettings::setCode(FieldSlot slot, const QString &code)
{
    if (assign(m_codes[index(slot)], code))
        Q_EMIT changed();
}

qint16 AutoSelSettings::enableFlag(FieldSlot slot) const
{
    return m_flags[index(slot)];
}

void AutoSelSettings::setEnableFlag(FieldSlot slot, qint16 flag)
{
    if (assign(m_flags[index(slot)], flag))
        Q_EMIT changed();
}

bool AutoSelSettings::isEnabled(FieldSlot slot) const
{
    return !hasEnableFlag(slot) || m_flags[index(slot)] == 1;
}

void AutoSelSettings::setDefaultField(const QString &field)
{
    if (assign(m_defaultField, field))
        Q_EMIT changed();
}

void AutoSelSettings::setHalfLimitX(const QString &limit)
{
    if (assign(m_halfLimitX, limit))
        Q_EMIT changed();
}

void AutoSelSettings::setHalfLimitY(const QString &limit)
{
    if (assign(m_halfLimitY, limit))
        Q_EMIT changed();
}

void AutoSelSettings::setSource(TriggerSource source)
{
    if (assign(m_source, source))
        Q_EMIT changed();
}

void AutoSelSettings::setAction(MirrorAction action)
{
    if (assign(m_action, action))
        Q_EMIT changed();
}

void AutoSelSettings::setTriggerText(const QString &text)
{
    if (assign(m_triggerText, text))
        placeText();
}

void AutoSelSettings::setTriggerPosition(qint16 position)
{
    if (assign(m_triggerPosition, withinRange(position, m_positionMaximum)))
        placeText();
}

void AutoSelSettings::setFromLeft(bool fromLeft)
{
    if (assign(m_fromLeft, fromLeft))
        placeText();
}

qint16 AutoSelSettings::triggerWidth() const
{
    return m_source == TriggerSource::Comment ? CommentWidth : ProgramNameWidth;
}

TriggerSet AutoSelSettings::triggerSet(TriggerSource source, MirrorAction action) const
{
    const int i = setIndex(source, action);
    return i < 0 ? TriggerSet() : m_sets[std::size_t(i)];
}

void AutoSelSettings::setTriggerSet(TriggerSource source,
                                    MirrorAction action,
                                    const TriggerSet &set)
{
    TriggerSet *stored = storedSet(source, action);
    if (stored && assign(*stored, set))
        Q_EMIT changed();
}

void AutoSelSettings::setPNameMSel(qint16 value)
{
    if (assign(m_pNameMSel, value))
        Q_EMIT changed();
}

void AutoSelSettings::setCommentMSel(qint16 value)
{
    if (assign(m_commentMSel, value))
        Q_EMIT changed();
}

void AutoSelSettings::getAutoSel()
{
    TriggerSet *set = storedSet(m_source, m_action);
    if (!set)
        return;
    set->alignment = m_fromLeft ? -1 : 0;
    set->position = m_triggerPosition;
    set->text = m_triggerText;
    qint16 &mSel = m_source == TriggerSource::ProgramName ? m_pNameMSel : m_commentMSel;
    mSel = m_action == MirrorAction::Mirror ? 1 : 0;
    Q_EMIT changed();
}

void AutoSelSettings::setAutoSel()
{
    TriggerSet *set = storedSet(m_source, m_action);
    if (!set)
        return;
    // Left for any alignment but 0, then right for any but -1: only -1 ends up counting
    // from the left, and each change redraws with the new source.
    if (set->alignment != 0)
        setFromLeft(true);
    if (set->alignment != -1)
        setFromLeft(false);
    // The position is corrected against the maximum in force before the new text is set;
    // setting the text then recomputes the maximum and pulls the position within it.
    if (set->position < 1)
        set->position = 1;
    if (m_positionMaximum < set->position)
        set->position = m_positionMaximum;
    setTriggerPosition(set->position);
    setTriggerText(set->text);
    Q_EMIT changed();
}

void AutoSelSettings::placeText()
{
    if (m_source == TriggerSource::Barcode) {
        m_display.enabled = false;
        Q_EMIT changed();
        return;
    }
    m_display.enabled = true;

    const int width = triggerWidth();
    setPositionMaximum(width - int(m_triggerText.size()));

    QString shown(width - 1, QLatin1Char('?'));
    const int p = m_triggerPosition;
    // A position outside the display leaves the captions as they were.
    if (p >= 1 && p <= shown.size()) {
        const qsizetype count = std::min(m_triggerText.size(), shown.size() - (p - 1));
        shown.replace(p - 1, count, m_triggerText.left(count));
        m_display.text = shown;
        m_display.fromLeftText = tr("%1 From Left").arg(p);
        m_display.fromRightText = tr("%1 From Right").arg(m_positionMaximum + 1 - p);
        m_display.showFromLeft = m_fromLeft;
    }
    Q_EMIT changed();
}

void AutoSelSettings::showLastText(const QString &lastProgramName,
                                   const QString &lastProgramComment)
{
    if (m_source == TriggerSource::ProgramName)
        m_display.text = lastProgramName;
    else if (m_source == TriggerSource::Comment)
        m_display.text = lastProgramComment;
    else
        return;
    Q_EMIT changed();
}

int AutoSelSettings::setIndex(TriggerSource source, MirrorAction action)
{
    if (source == TriggerSource::Barcode)
        return -1;
    return (source == TriggerSource::ProgramName ? 0 : 2)
           + (action == MirrorAction::Mirror ? 0 : 1);
}

TriggerSet *AutoSelSettings::storedSet(TriggerSource source, MirrorAction action)
{
    const int i = setIndex(source, action);
    return i < 0 ? nullptr : &m_sets[std::size_t(i)];
}

void AutoSelSettings::setPositionMaximum(int maximum)
{
    m_positionMaximum = qint16(std::clamp<int>(
        maximum, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
    m_triggerPosition = withinRange(m_triggerPosition, m_positionMaximum);
}

void AutoSelSettings::copyFrom(const AutoSelSettings &other)
{
    if (&other == this)
        return;
    m_codes = other.m_codes;
    m_flags = other.m_flags;
    m_defaultField = other.m_defaultField;
    m_halfLimitX = other.m_halfLimitX;
    m_halfLimitY = other.m_halfLimitY;
    m_source = other.m_source;
    m_action = other.m_action;
    m_triggerText = other.m_triggerText;
    m_triggerPosition = other.m_triggerPosition;
    m_fromLeft = other.m_fromLeft;
    m_positionMaximum = other.m_positionMaximum;
    m_sets = other.m_sets;
    m_pNameMSel = other.m_pNameMSel;
    m_commentMSel = other.m_commentMSel;
    m_display = other.m_display;
    Q_EMIT changed();
}

} // namespace barlink::fieldsel
