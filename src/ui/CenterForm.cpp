#include "CenterForm.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace barlink::ui {

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

QRect placeBeside(
    const QRect &area, const QRect &anchor, QSize wanted, int gap, std::optional<int> keptClearTo)
{
    // The free room right of the anchor and below it, each less a margin at the screen's edge.
    const QRect rightRoom(QPoint(anchor.right() + 1 + gap, std::max(anchor.top(), area.top())),
                          QPoint(area.right() - gap, area.bottom() - gap));
    const QRect belowRoom(QPoint(std::max(anchor.left(), area.left()), anchor.bottom() + 1 + gap),
                          QPoint(area.right() - gap, area.bottom() - gap));
    for (const QRect &room : {rightRoom, belowRoom}) {
        if (room.width() >= wanted.width() && room.height() >= wanted.height())
            return QRect(room.topLeft(), wanted);
    }
    // Too little room for the wanted size: the larger room, when a useful window fits in it.
    const QSize least(std::min(wanted.width(), 320), std::min(wanted.height(), 200));
    const auto roomArea = [](const QRect &room) {
        return room.isValid() ? qint64(room.width()) * room.height() : 0;
    };
    const QRect &larger = roomArea(rightRoom) >= roomArea(belowRoom) ? rightRoom : belowRoom;
    if (larger.width() >= least.width() && larger.height() >= least.height())
        return QRect(larger.topLeft(), wanted.boundedTo(larger.size()));
    // No useful room: over the anchor, under the part of it kept clear where a useful window
    // fits there.
    if (keptClearTo) {
        const QRect underClear(QPoint(anchor.left() + gap, *keptClearTo + 1 + gap),
                               QPoint(area.right() - gap, area.bottom() - gap));
        if (underClear.width() >= least.width() && underClear.height() >= least.height())
            return QRect(underClear.topLeft(), wanted.boundedTo(underClear.size()));
    }
    // Else on the screen at least, over the anchor.
    const QSize size = wanted.boundedTo(
        QSize(std::max(1, area.width() - 2 * gap), std::max(1, area.height() - 2 * gap)));
    QRect placed(QPoint(anchor.right() + 1 + gap, anchor.top()), size);
    placed.moveRight(std::min(placed.right(), area.right() - gap));
    placed.moveBottom(std::min(placed.bottom(), area.bottom() - gap));
    placed.moveLeft(std::max(placed.left(), area.left() + gap));
    placed.moveTop(std::max(placed.top(), area.top() + gap));
    return placed;
}

void placeWindowBeside(QWidget *window,
                       const QWidget *anchor,
                       QSize frameSize,
                       std::optional<int> keptClearTo)
{
    const QScreen *screen = anchor->screen();
    if (!screen)
        return;
    // Before it is first shown a window knows no frame: take the anchor's.
    const QSize frame = anchor->frameGeometry().size() - anchor->size();
    const QRect place = placeBeside(
        screen->availableGeometry(), anchor->frameGeometry(), frameSize, 24, keptClearTo);
    window->resize(place.size() - frame);
    window->move(place.topLeft());
}

} // namespace barlink::ui
