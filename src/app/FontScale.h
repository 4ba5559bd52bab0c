#pragma once

namespace barlink::base {
struct Settings;
}

namespace barlink::app {

// The main window's text size as a factor of the system's, kept as the settings key FontScale
// ("1", "1.5"). View > Larger text switches between these two.
inline constexpr double NormalTextScale = 1.0;
inline constexpr double LargerTextScale = 1.5;

// The factor kept in the settings: 1 when the key is missing or holds no number, and never
// beyond 0.5 to 3, so that a mistyped value leaves the window usable.
[[nodiscard]] double readFontScale(const base::Settings &settings);
// Writes the key alone; every other line of the settings file stays as it is. Throws
// barlink::Error when the file cannot be written.
void writeFontScale(const base::Settings &settings, double scale);

} // namespace barlink::app
