#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace barlink::app {

// Places a window in the middle of its screen.
void centerForm(QWidget *window);

// Where a window of the wanted frame size goes beside an anchor window, all in the screen's
// available area (the screen less its panels): right of the anchor when it fits there, else
// below it, else as far right and down as the area allows. The size is cut to the area less
// a margin, so the window lies wholly on the screen at any scale factor and screen size.
[[nodiscard]] QRect placeBeside(const QRect &area, const QRect &anchor, QSize wanted,
                                int gap = 24);

// Moves and sizes a window to placeBeside its anchor on the anchor's screen. frameSize is
// the window's size with its title bar and borders, which the system adds to its contents.
void placeWindowBeside(QWidget *window, const QWidget *anchor, QSize frameSize);

} // namespace barlink::app
