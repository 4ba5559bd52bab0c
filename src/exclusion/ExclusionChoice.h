#pragma once

#include <QString>

#include <array>

namespace barlink::base {
class OperatorDisplay;
struct Settings;
} // namespace barlink::base

namespace barlink::exclusion {

// Eight numbered exclusions the machine can be told to leave out; box i (from 0) is exclusion i
// + 1.
inline constexpr int ExclusionCount = 8;
using ExclusionBoxes = std::array<bool, ExclusionCount>;

// The settings key the choice is written to.
inline constexpr QLatin1String ExclusionKey("Exclusion");

// Which boxes a mask sets: box i is set when character i + 1 of the mask is "1"; a short
// or empty mask leaves the rest clear.
[[nodiscard]] ExclusionBoxes boxesFromMask(const QString &mask);
// Eight characters, "1" for a set box and "0" for a clear one.
[[nodiscard]] QString maskFromBoxes(const ExclusionBoxes &boxes);
// The main window's line for a mask: " Exclusion Number " + the chosen numbers in rising
// order + "  for insertion.", or an empty text (nothing shown) when none is chosen.
[[nodiscard]] QString exclusionCaption(const QString &mask);

// The exclusion choice of this run, shared by every opening of the exclusion dialog. It
// starts empty on every run (the stored key is not read back) and changes only when the
// operator confirms a choice.
class ExclusionChoice
{
public:
    ExclusionChoice(const base::Settings &settings, base::OperatorDisplay &display)
        : m_settings(settings)
        , m_display(display)
    {}

    // Empty until the first confirmed choice, then eight "1"/"0" characters.
    [[nodiscard]] const QString &mask() const { return m_mask; }
    [[nodiscard]] ExclusionBoxes boxes() const { return boxesFromMask(m_mask); }

    // Writes the mask of `boxes` to the settings file, keeps it and shows its caption on
    // the main window. Throws barlink::base::Error when the file cannot be written; the mask and
    // the main window then stay as they were.
    void choose(const ExclusionBoxes &boxes);

private:
    const base::Settings &m_settings;
    base::OperatorDisplay &m_display;
    QString m_mask;
};

} // namespace barlink::exclusion
