#include "CenterForm.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

namespace barlink::ui {

namespace {

// The least height of a window placed under the part of its anchor kept clear.
constexpr int LeastHeightUnder = 100;

} // namespace

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
    const QRect &area, const QRect &anchor, QSize wanted, int gap, const QRect &keptClear)
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
    // Too little room for the wanted size: the larger room, when a useful window fits in it:
    // 320 by 200 at least, and a third of the wanted size (which grows with the text).
    const QSize least = QSize(std::min(wanted.width(), 320), std::min(wanted.height(), 200))
                            .expandedTo(wanted / 3);
    const auto useful = [&least](const QRect &room) {
        return room.width() >= least.width() && room.height() >= least.height();
    };
    const auto roomArea = [](const QRect &room) {
        return room.isValid() ? qint64(room.width()) * room.height() : 0;
    };
    const QRect &larger = roomArea(rightRoom) >= roomArea(belowRoom) ? rightRoom : belowRoom;
    if (useful(larger))
        return QRect(larger.topLeft(), wanted.boundedTo(larger.size()));
    // No useful room beside it: over the anchor, across the screen under the part kept clear,
    // however low that room is, as long as a title and a line or two fit there; the window
    // scrolls inside.
    const QRect margined = area.adjusted(gap, gap, -gap, -gap);
    if (!keptClear.isEmpty()) {
        const QRect underClear(QPoint(margined.left(), keptClear.bottom() + 1 + gap),
                               margined.bottomRight());
        if (underClear.width() >= least.width() && underClear.height() >= LeastHeightUnder)
            return QRect(underClear.topLeft(), wanted.boundedTo(underClear.size()));
    }
    // Else over the lower half of the screen.
    const QRect lowerHalf(QPoint(margined.left(), area.center().y()), margined.bottomRight());
    return QRect(lowerHalf.topLeft(), wanted.boundedTo(lowerHalf.size()).expandedTo(QSize(1, 1)));
}

void placeWindowBeside(QWidget *window,
                       const QWidget *anchor,
                       QSize frameSize,
                       const QRect &keptClear)
{
    const QScreen *screen = anchor->screen();
    if (!screen)
        return;
    // Before it is first shown a window knows no frame: take the anchor's.
    const QSize frame = anchor->frameGeometry().size() - anchor->size();
    const QRect place = placeBeside(
        screen->availableGeometry(), anchor->frameGeometry(), frameSize, 24, keptClear);
    window->resize(place.size() - frame);
    window->move(place.topLeft());
}

void tabStopsAtChecked(QButtonGroup *group)
{
    const auto follow = [group] {
        const QList<QAbstractButton *> buttons = group->buttons();
        QAbstractButton *stop = group->checkedButton();
        if (!stop && !buttons.isEmpty())
            stop = buttons.first();
        for (QAbstractButton *button : buttons)
            button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
    };
    follow();
    QObject::connect(group, &QButtonGroup::buttonToggled, group, follow);
}

namespace {

// A scroll area that asks for its contents' whole size, so that the window around it opens at
// its usual size where the screen has room for it.
class ContentsScrollArea : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;
    [[nodiscard]] QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};

} // namespace

void scrollInside(QWidget *window)
{
    QLayout *layout = window->layout();
    if (!layout)
        return;
    auto *contents = new QWidget;
    contents->setObjectName(QStringLiteral("contents"));
    // Takes the layout, with the widgets in it, from the window.
    contents->setLayout(layout);
    auto *area = new ContentsScrollArea(window);
    area->setObjectName(QStringLiteral("scrContents"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    // Tab goes to the controls inside, which the area scrolls into view.
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidget(contents);
    auto *outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
}

} // namespace barlink::ui
