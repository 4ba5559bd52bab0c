#pragma once

#include <array>

namespace barlink::app {

// The text size of every window as a factor of the system's, kept as the settings key FontScale
// ("1", "1.5"; settings::loadSettings reads it, settings::writeFontScale writes it). View >
// Text size offers these steps; a value kept from another step still applies as written.
inline constexpr double NormalTextScale = 1.0;
inline constexpr std::array TextScaleSteps{1.0, 1.25, 1.5, 2.0, 3.0};

// The step after (up) or before (down) scale, or scale itself at either end.
[[nodiscard]] constexpr double nextTextScale(double scale, bool up)
{
    if (up) {
        for (double step : TextScaleSteps) {
            if (step > scale + 1e-9)
                return step;
        }
        return scale;
    }
    double below = scale;
    for (double step : TextScaleSteps) {
        if (step < scale - 1e-9)
            below = step;
    }
    return below;
}

} // namespace barlink::app
