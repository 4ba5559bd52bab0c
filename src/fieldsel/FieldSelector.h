#pragma once

#include "FieldSlot.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace barlink::fieldsel {

class AutoSelSettings;
class AutoSelSettingsProvider;

// What a call of FieldSelector::autoSelectField does. The numbers are the modes' own, kept so that
// a mode reads the same in a trace as in the rules of the field selection.
enum class SelectMode : int {
    // Select in the normal group, unless a SeedForNext seed is pending.
    Normal = 0,
    // Select in the mirror group, unless a SeedForNext seed is pending.
    Mirror = 1,
    // Seed the alternation from the first character of runField and make the next
    // selection use the seeded group; returns "".
    SeedForNext = 6,
    // Seed the alternation only; returns "".
    Seed = 7,
    // Select in the group the alternation says.
    Alternate = 8,
};

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

    // A selection returns the chosen slot's code as held in the settings and then flips the
    // alternation. x and y are the piece's first and second dimension; runField is read by
    // the seeding modes only. Throws barlink::base::Error 6 when a half limit converted for
    // the comparison does not fit a single-precision number; the alternation then stays as
    // it was, except that a pending seed is used up.
    [[nodiscard]] QString
    autoSelectField(SelectMode mode, float x, float y, const QString &runField = QString());

    [[nodiscard]] const Alternation &alternation() const { return m_state; }

    // How a slot was chosen: the candidate row tried, the piece and the half limits in the
    // unit the piece was taken in, and the slot chosen.
    struct Choice
    {
        bool mirror = false;
        bool trFirst = false;
        float x = 0;
        float y = 0;
        bool millimetres = true;
        float limitX = 0; // the half limits in the piece's unit
        float limitY = 0;
        std::array<FieldSlot, 9> row{};
        FieldSlot slot = FieldSlot::SFN;
    };
    [[nodiscard]] static Choice
    explainChoice(const AutoSelSettings &settings, bool mirror, bool trFirst, float x, float y);
    // The choice in words, one line per candidate tried up to the one chosen: "FFS (S) is
    // off", "BFS (S): 1200 x 400 mm does not fit 1000 x 600", "SFS (S) fits: chosen".
    [[nodiscard]] static QStringList describeChoice(const AutoSelSettings &settings,
                                                    const Choice &choice);
    // The last selection made (Normal, Mirror, Alternate); counted so that a caller can tell a new
    // one.
    [[nodiscard]] const std::optional<Choice> &lastChoice() const { return m_lastChoice; }
    [[nodiscard]] quint64 selections() const { return m_selections; }

    // The first slot of the candidate row for mirror and trFirst that is enabled and whose
    // dimensions fit; SFN or SFM when none is. Below 140 in x and 60 in y the piece is taken
    // as measured in inches and the half limits (millimetres) are converted.
    [[nodiscard]] static FieldSlot
    chooseSlot(const AutoSelSettings &settings, bool mirror, bool trFirst, float x, float y);

private:
    void seed(QChar first);

    AutoSelSettingsProvider &m_provider;
    Alternation m_state;
    std::optional<Choice> m_lastChoice;
    quint64 m_selections = 0;
};

} // namespace barlink::fieldsel
