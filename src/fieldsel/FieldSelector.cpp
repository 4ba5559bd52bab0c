#include "FieldSelector.h"

#include "AutoSelSettings.h"
#include "AutoSelSettingsProvider.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"

#include <QCoreApplication>
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

// Whether the piece of the choice fits the slot's requirement.
[[nodiscard]] bool fits(FieldSlot slot, const FieldSelector::Choice &choice)
{
    const bool fitsX = choice.limitX > choice.x;
    const bool fitsY = choice.limitY > choice.y;
    switch (fitRequirement(slot)) {
    case FitRequirement::XAndY:
        return fitsX && fitsY;
    case FitRequirement::XOnly:
        return fitsX;
    case FitRequirement::YOnly:
        return fitsY;
    case FitRequirement::Nothing:
        return true;
    }
    return false;
}

} // namespace

FieldSelector::FieldSelector(AutoSelSettingsProvider &provider)
    : m_provider(provider)
{}

QString FieldSelector::autoSelectField(SelectMode mode, float x, float y, const QString &runField)
{
    if (mode == SelectMode::SeedForNext || mode == SelectMode::Seed) {
        if (mode == SelectMode::SeedForNext)
            m_state.reload = true;
        if (!runField.isEmpty())
            seed(runField.front());
        return {};
    }

    bool mirror = mode == SelectMode::Mirror;
    if (mode == SelectMode::Alternate || m_state.reload) {
        mirror = m_state.nextMirror;
        m_state.reload = false;
    }

    const AutoSelSettings &settings = m_provider.settings();
    m_lastChoice = explainChoice(settings, mirror, m_state.trFirst, x, y);
    ++m_selections;
    const FieldSlot slot = m_lastChoice->slot;
    qCDebug(lcSelect) << "mode" << static_cast<int>(mode) << "x" << x << "y" << y << "mirror"
                      << mirror << "trFirst" << m_state.trFirst << "->" << slotKey(slot);

    m_state.nextMirror = !mirror;
    m_state.trFirst = !m_state.trFirst;
    return settings.code(slot);
}

FieldSlot FieldSelector::chooseSlot(
    const AutoSelSettings &settings, bool mirror, bool trFirst, float x, float y)
{
    return explainChoice(settings, mirror, trFirst, x, y).slot;
}

FieldSelector::Choice FieldSelector::explainChoice(
    const AutoSelSettings &settings, bool mirror, bool trFirst, float x, float y)
{
    Choice choice{.mirror = mirror, .trFirst = trFirst, .x = x, .y = y};
    choice.millimetres = y >= MillimetresThresholdY || x >= MillimetresThresholdX;
    const float factor = choice.millimetres ? 1.0f : InchesPerMillimetre;
    choice.limitY = limit(settings.halfLimitY(), factor);
    choice.limitX = limit(settings.halfLimitX(), factor);
    choice.row = mirror ? (trFirst ? MirrorRFirst : MirrorAFirst)
                        : (trFirst ? NormalTFirst : NormalSFirst);
    choice.slot = choice.row.back();
    for (FieldSlot slot : choice.row) {
        if (settings.isEnabled(slot) && fits(slot, choice)) {
            choice.slot = slot;
            break;
        }
    }
    return choice;
}

QStringList FieldSelector::describeChoice(const AutoSelSettings &settings, const Choice &choice)
{
    const QString unit = choice.millimetres ? QStringLiteral("mm") : QStringLiteral("in");
    const auto number = [](float value) { return QString::number(double(value), 'g', 6); };
    const QString pair
        = choice.mirror
              ? (choice.trFirst
                     ? QCoreApplication::translate("FieldSelector", "mirror fields, R first")
                     : QCoreApplication::translate("FieldSelector", "mirror fields, A first"))
              : (choice.trFirst
                     ? QCoreApplication::translate("FieldSelector", "normal fields, T first")
                     : QCoreApplication::translate("FieldSelector", "normal fields, S first"));
    QStringList lines{
        QCoreApplication::translate("FieldSelector", "piece %1 x %2 %3 (%4), %5")
            .arg(number(choice.x),
                 number(choice.y),
                 unit,
                 choice.millimetres
                     ? QCoreApplication::translate("FieldSelector", "taken as millimetres")
                     : QCoreApplication::translate("FieldSelector",
                                                   "under 140 x 60: taken as inches"),
                 pair)};
    for (FieldSlot slot : choice.row) {
        const QString code = settings.code(slot);
        const QString name = code.isEmpty() ? QString(slotKey(slot))
                                            : QStringLiteral("%1 (%2)").arg(slotKey(slot), code);
        if (slot == choice.slot) {
            lines << (settings.isEnabled(slot) && fits(slot, choice)
                          ? name + QCoreApplication::translate("FieldSelector", ": fits, chosen")
                          : name
                                + QCoreApplication::translate(
                                    "FieldSelector", ": no candidate fits, the last one is taken"));
            break;
        }
        if (!settings.isEnabled(slot)) {
            lines << name + QCoreApplication::translate("FieldSelector", ": off");
            continue;
        }
        QString need;
        switch (fitRequirement(slot)) {
        case FitRequirement::XAndY:
            need = QCoreApplication::translate("FieldSelector", "x under %1 and y under %2")
                       .arg(number(choice.limitX), number(choice.limitY));
            break;
        case FitRequirement::XOnly:
            need = QCoreApplication::translate("FieldSelector", "x under %1")
                       .arg(number(choice.limitX));
            break;
        case FitRequirement::YOnly:
            need = QCoreApplication::translate("FieldSelector", "y under %1")
                       .arg(number(choice.limitY));
            break;
        case FitRequirement::Nothing:
            break;
        }
        lines << QCoreApplication::translate("FieldSelector", "%1: needs %2 %3, does not fit")
                     .arg(name, need, unit);
    }
    return lines;
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
