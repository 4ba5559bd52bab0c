#pragma once

#include <QProxyStyle>

namespace barlink::ui {

// The application's style with room for a menu item's whole text at every text size. The style
// draws an item's check column about as wide as four fifths of the item's height, but sizes the
// item with a fixed column: at large text sizes the difference came off the text, which was cut
// in the middle ("Scelta aut…tica campo"). Each item gets the growing part as room.
class MenuTextRoomStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    [[nodiscard]] QSize sizeFromContents(ContentsType type,
                                         const QStyleOption *option,
                                         const QSize &size,
                                         const QWidget *widget) const override;
};

// Puts MenuTextRoomStyle over the style the application runs with (the system's, or -style).
void giveMenuTextRoom();

} // namespace barlink::ui
