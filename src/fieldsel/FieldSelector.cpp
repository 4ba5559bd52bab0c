#include "FieldSelector.h"

#include "AutoSelSettings.h"
#include "AutoSelSettingsProvider.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"

#include <QLoggingCategory>

#include <array>

namespace barlink::fieldsel {

namespace {

Q_LOGGING_CATEGORY(lcSelect, "barlink.fieldsel.select", QtWarningMsg)

using Row = std::array<FieldSlot, 9>;

using enum FieldSlot;

// The candidates of each group, in the order they are tried, for the S/A pair first and
// for the T/R pair first. With T first in the normal group, SFS comes after the N slots.
constexpr Row NormalSFirst = {FFS, BFS, SFS, FFT, BFT, SFT, FFN, BFN, SFN};
constexpr Row NormalTFirst = {FFT, BFT, SFT, FFS, BFS, FFN, BFN, SFS, SFN};
constexpr Row MirrorAFirst = {FFA, BFA, SFA, FFR, BFR, SFR, FFM, BFM, SFM};
constexpr Row MirrorRFirst = {FFR, BFR, SFR, FFA, BFA, SFA, FFM, BFM, SFM};

constexpr float MillimetresThresholdX = 140.0f;
constexpr float MillimetresThresholdY = 60.0f;
constexpr float InchesPerMillimetre = 0.03937f;

// A half limit in the unit of the piece, as a single-precision number.
[[nodiscard]] float limit(const QString &halfLimit, float factor)
{
    return text::toSingle(text::numericValue(halfLimit) * double(factor));
}

} // namespace

FieldSelector::FieldSelector(AutoSelSettingsProvider &provider)
    : m_provider(provider)
{}

QString FieldSelector::autoSelectField(int mode, float x, float y, const QString &runField)
{
    if (mode == 6 || mode == 7) {
        if (mode == 6)
            m_state.reload = true;
        if (!runField.isEmpty())
            seed(runField.front());
        return {};
    }

    bool mirror = mode != 0;
    if (mode == 8 || m_state.reload) {
        mirror = m_state.nextMirror;
        m_state.reload = false;
    }

    const AutoSelSettings &settings = m_provider.settings();
    const FieldSlot slot = chooseSlot(settings, mirror, m_state.trFirst, x, y);
    qCDebug(lcSelect) << "mode" << mode << "x" << x << "y" << y << "mirror" << mirror << "trFirst"
                      << m_state.trFirst << "->" << slotKey(slot);

    m_state.nextMirror = !mirror;
    m_state.trFirst = !m_state.trFirst;
    return settings.code(slot);
}

FieldSlot FieldSelector::chooseSlot(
    const AutoSelSettings &settings, bool mirror, bool trFirst, float x, float y)
{
    const bool millimetres = y >= MillimetresThresholdY || x >= MillimetresThresholdX;
    const float factor = millimetres ? 1.0f : InchesPerMillimetre;
    const bool fitsY = limit(settings.halfLimitY(), factor) > y;
    const bool fitsX = limit(settings.halfLimitX(), factor) > x;

    const Row &row = mirror ? (trFirst ? MirrorRFirst : MirrorAFirst)
                            : (trFirst ? NormalTFirst : NormalSFirst);
    for (FieldSlot slot : row) {
        if (!settings.isEnabled(slot))
            continue;
        switch (fitRequirement(slot)) {
        case FitRequirement::XAndY:
            if (fitsX && fitsY)
                return slot;
            break;
        case FitRequirement::XOnly:
            if (fitsX)
                return slot;
            break;
        case FitRequirement::YOnly:
            if (fitsY)
                return slot;
            break;
        case FitRequirement::Nothing:
            return slot;
        }
    }
    return row.back();
}

void FieldSelector::seed(QChar first)
{
    switch (first.unicode()) {
    case u'S':
    case u'N':
        m_state = {false, false, m_state.reload};
        break;
    case u'A':
        m_state = {false, true, m_state.reload};
        break;
    case u'T':
        m_state = {true, false, m_state.reload};
        break;
    case u'R':
    case u'M':
        m_state = {true, true, m_state.reload};
        break;
    default:
        break;
    }
}

} // namespace barlink::fieldsel
