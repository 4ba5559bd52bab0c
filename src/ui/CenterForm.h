#pragma once

#include <QRect>
#include <QSize>

class QButtonGroup;
class QWidget;

namespace barlink::ui {

// Places a window in the middle of its screen.
void centerForm(QWidget *window);

// Where a window of the wanted frame size goes beside an anchor window, in the screen's
// available area (the screen less its panels) less a margin, so that it never covers keptClear
// (a part of the anchor the operator must always see, in screen coordinates; empty for none):
// right of the anchor when it fits there, else below it; else made smaller to fit the larger
// of those two rooms, as long as a useful window (320 by 200) fits there; else over the anchor,
// across the screen under keptClear when a useful window fits there; else over the lower half
// of the screen. The window lies wholly on the screen at any scale factor and screen size.
[[nodiscard]] QRect placeBeside(const QRect &area,
                                const QRect &anchor,
                                QSize wanted,
                                int gap = 24,
                                const QRect &keptClear = {});

// Moves and sizes a window to placeBeside its anchor on the anchor's screen. frameSize is
// the window's size with its title bar and borders, which the system adds to its contents.
void placeWindowBeside(QWidget *window,
                       const QWidget *anchor,
                       QSize frameSize,
                       const QRect &keptClear = {});

// Puts the window's contents in a scroll area of their own (up and down, and sideways past
// their least width), so that the window can be made smaller than its contents at a large text
// size. The window asks for its contents' usual size still.
void scrollInside(QWidget *window);

// Tab stops at the checked option of the group only (at its first while none is), as long as
// the group lives; the arrow keys move between its options.
void tabStopsAtChecked(QButtonGroup *group);

} // namespace barlink::ui
