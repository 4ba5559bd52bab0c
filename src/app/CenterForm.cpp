#include "CenterForm.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace barlink::app {

void centerForm(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

QRect placeBeside(const QRect &area, const QRect &anchor, QSize wanted, int gap)
{
    const QSize size = wanted.boundedTo(QSize(std::max(1, area.width() - 2 * gap),
                                              std::max(1, area.height() - 2 * gap)));
    const QRect right(QPoint(anchor.right() + 1 + gap, anchor.top()), size);
    if (area.contains(right))
        return right;
    const QRect below(QPoint(anchor.left(), anchor.bottom() + 1 + gap), size);
    if (area.contains(below))
        return below;
    // No room beside or below: on the screen at least, overlapping the anchor.
    QRect placed = right;
    placed.moveRight(std::min(placed.right(), area.right() - gap));
    placed.moveBottom(std::min(placed.bottom(), area.bottom() - gap));
    placed.moveLeft(std::max(placed.left(), area.left() + gap));
    placed.moveTop(std::max(placed.top(), area.top() + gap));
    return placed;
}

void placeWindowBeside(QWidget *window, const QWidget *anchor, QSize frameSize)
{
    const QScreen *screen = anchor->screen();
    if (!screen)
        return;
    // Before it is first shown a window knows no frame: take the anchor's.
    const QSize frame = anchor->frameGeometry().size() - anchor->size();
    const QRect place = placeBeside(screen->availableGeometry(), anchor->frameGeometry(),
                                    frameSize);
    window->resize(place.size() - frame);
    window->move(place.topLeft());
}

} // namespace barlink::app
