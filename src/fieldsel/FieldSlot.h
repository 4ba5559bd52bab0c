#pragma once

#include <QLatin1String>

#include <array>

namespace barlink::fieldsel {

// The eighteen field slots of the automatic field selection. A slot's key has three
// letters: the row ("F" front, "B" back, "S" standard), "F", and the field letter. The
// field letters pair a normal with a mirror field: S with A, T with R, and the fallback N
// with M. Listed in the order the settings file keys are read and written.
enum class FieldSlot {
    SFN,
    SFM,
    SFS,
    SFA,
    SFT,
    SFR,
    BFN,
    BFM,
    FFN,
    FFM,
    BFS,
    BFA,
    BFT,
    BFR,
    FFS,
    FFA,
    FFT,
    FFR,
};

inline constexpr std::size_t FieldSlotCount = 18;

inline constexpr std::array<FieldSlot, FieldSlotCount> AllFieldSlots = {
    FieldSlot::SFN,
    FieldSlot::SFM,
    FieldSlot::SFS,
    FieldSlot::SFA,
    FieldSlot::SFT,
    FieldSlot::SFR,
    FieldSlot::BFN,
    FieldSlot::BFM,
    FieldSlot::FFN,
    FieldSlot::FFM,
    FieldSlot::BFS,
    FieldSlot::BFA,
    FieldSlot::BFT,
    FieldSlot::BFR,
    FieldSlot::FFS,
    FieldSlot::FFA,
    FieldSlot::FFT,
    FieldSlot::FFR,
};

// Which dimensions of a piece must fit for the slot to be chosen.
enum class FitRequirement { XAndY, XOnly, YOnly, Nothing };

// The slot's three-letter key: "SFN", "FFA", ...
[[nodiscard]] QLatin1String slotKey(FieldSlot slot);

// SFN and SFM have no enable flag: they are always candidates.
[[nodiscard]] bool hasEnableFlag(FieldSlot slot);

[[nodiscard]] FitRequirement fitRequirement(FieldSlot slot);

// How many characters the user may type for the slot's code: 5 for the front S, A, T and R
// slots, 3 for every other slot (and for the default field).
[[nodiscard]] int maxCodeLength(FieldSlot slot);

} // namespace barlink::fieldsel
