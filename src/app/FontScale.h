#pragma once

namespace barlink::app {

// The main window's text size as a factor of the system's, kept as the settings key FontScale
// ("1", "1.5"; settings::loadSettings reads it, settings::writeFontScale writes it). View >
// Larger text switches between these two.
inline constexpr double NormalTextScale = 1.0;
inline constexpr double LargerTextScale = 1.5;

} // namespace barlink::app
