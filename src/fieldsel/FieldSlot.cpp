#include "FieldSlot.h"

namespace barlink::fieldsel {

QLatin1String slotKey(FieldSlot slot)
{
    static constexpr std::array<const char *, FieldSlotCount> keys = {
        "SFN",
        "SFM",
        "SFS",
        "SFA",
        "SFT",
        "SFR",
        "BFN",
        "BFM",
        "FFN",
        "FFM",
        "BFS",
        "BFA",
        "BFT",
        "BFR",
        "FFS",
        "FFA",
        "FFT",
        "FFR",
    };
    return QLatin1String(keys[static_cast<std::size_t>(slot)]);
}

bool hasEnableFlag(FieldSlot slot)
{
    return slot != FieldSlot::SFN && slot != FieldSlot::SFM;
}

FitRequirement fitRequirement(FieldSlot slot)
{
    switch (slot) {
    case FieldSlot::SFN:
    case FieldSlot::SFM:
        return FitRequirement::Nothing;
    case FieldSlot::SFS:
    case FieldSlot::SFT:
    case FieldSlot::SFA:
    case FieldSlot::SFR:
        return FitRequirement::XOnly;
    case FieldSlot::FFN:
    case FieldSlot::BFN:
    case FieldSlot::FFM:
    case FieldSlot::BFM:
        return FitRequirement::YOnly;
    default:
        return FitRequirement::XAndY;
    }
}

int maxCodeLength(FieldSlot slot)
{
    switch (slot) {
    case FieldSlot::FFS:
    case FieldSlot::FFA:
    case FieldSlot::FFT:
    case FieldSlot::FFR:
        return 5;
    default:
        return 3;
    }
}

} // namespace barlink::fieldsel
