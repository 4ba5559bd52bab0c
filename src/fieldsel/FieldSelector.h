#pragma once

#include "FieldSlot.h"

#include <QString>

namespace barlink::fieldsel {

class AutoSelSettings;
class AutoSelSettingsProvider;

// Chooses the work field of an item from its two plan dimensions and the field selection
// settings, taking turns between the S and T pairs of fields and, for items sent normal
// and mirrored, between the normal and the mirror group.
class FieldSelector
{
public:
    // The turn-taking state; all false at start-up and never saved.
    struct Alternation
    {
        bool trFirst = false;    // the T / R pair is tried before the S / A pair
        bool nextMirror = false; // the group of the next alternating selection
        bool reload = false;     // the next selection uses nextMirror whatever its mode

        friend bool operator==(const Alternation &, const Alternation &) = default;
    };

    // The settings are taken from provider at the first selection.
    explicit FieldSelector(AutoSelSettingsProvider &provider);

    // Modes:
    //   6  seed the alternation from the first character of runField and make the next
    //      selection use the seeded group; returns ""
    //   7  seed the alternation only; returns ""
    //   8  select in the group the alternation says
    //   0  select in the normal group, 1 (or any other mode) in the mirror group, unless a
    //      mode 6 seed is pending
    // A selection returns the chosen slot's code as held in the settings and then flips the
    // alternation. x and y are the piece's first and second dimension; runField is read in
    // modes 6 and 7 only. Throws barlink::Error 6 when a half limit converted for the
    // comparison does not fit a single-precision number; the alternation then stays as it
    // was, except that a pending seed is used up.
    [[nodiscard]] QString
    autoSelectField(int mode, float x, float y, const QString &runField = QString());

    [[nodiscard]] const Alternation &alternation() const { return m_state; }

    // The first slot of the candidate row for mirror and trFirst that is enabled and whose
    // dimensions fit; SFN or SFM when none is. Below 140 in x and 60 in y the piece is taken
    // as measured in inches and the half limits (millimetres) are converted.
    [[nodiscard]] static FieldSlot
    chooseSlot(const AutoSelSettings &settings, bool mirror, bool trFirst, float x, float y);

private:
    void seed(QChar first);

    AutoSelSettingsProvider &m_provider;
    Alternation m_state;
};

} // namespace barlink::fieldsel
