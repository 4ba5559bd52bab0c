#pragma once

#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

namespace barlink::ui {

// Places a window in the middle of its screen.
void centerForm(QWidget *window);

// Where a window of the wanted frame size goes beside an anchor window, in the screen's
// available area (the screen less its panels) less a margin: right of the anchor when it fits
// there, else below it; else made smaller to fit the larger of those two rooms, as long as
// a useful window (320 by 200) fits there; else over the anchor, under its part down to
// keptClearTo (a screen y) when one is given and a useful window fits there. The window lies
// wholly on the screen at any scale factor and screen size.
[[nodiscard]] QRect placeBeside(const QRect &area,
                                const QRect &anchor,
                                QSize wanted,
                                int gap = 24,
                                std::optional<int> keptClearTo = {});

// Moves and sizes a window to placeBeside its anchor on the anchor's screen. frameSize is
// the window's size with its title bar and borders, which the system adds to its contents.
void placeWindowBeside(QWidget *window,
                       const QWidget *anchor,
                       QSize frameSize,
                       std::optional<int> keptClearTo = {});

} // namespace barlink::ui
