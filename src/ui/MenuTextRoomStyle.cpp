#include "ui/MenuTextRoomStyle.h"

#include <QApplication>
#include <QStyleFactory>

namespace barlink::ui {

QSize MenuTextRoomStyle::sizeFromContents(ContentsType type,
                                          const QStyleOption *option,
                                          const QSize &size,
                                          const QWidget *widget) const
{
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_MenuItem)
        result.rwidth() += result.height() * 4 / 5;
    return result;
}

void giveMenuTextRoom()
{
    QApplication::setStyle(
        new MenuTextRoomStyle(QStyleFactory::create(QApplication::style()->name())));
}

} // namespace barlink::ui
