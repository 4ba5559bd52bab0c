#pragma once

#include "ui/Appearance.h"

#include <QBoxLayout>
#include <QFont>
#include <QString>
#include <QWidget>

namespace barlink::app {

// Keeps a text factor times the window's, in bold or not, through every change of text size;
// with mostScale, it stops growing once the text size passes that many times the system's.
inline void keepScaled(QWidget *widget, qreal factor, bool bold, qreal mostScale = 0)
{
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
    ui::keepTextLarger(widget, factor, mostScale);
}

// A badge: white text on a rounded patch of colour.
inline QString badgeStyle(const QString &colour)
{
    return QStringLiteral("QLabel { background: %1; color: white; border-radius: 4px; "
                          "padding: 2px 8px; }")
        .arg(colour);
}

// Moves widgets to the end of row, or to a line of their own (under, held left by a stretch),
// unless they are there already.
inline void
placeInRow(const QList<QWidget *> &widgets, bool inRow, QBoxLayout *row, QBoxLayout *under)
{
    if (inRow == (row->indexOf(widgets.front()) >= 0))
        return;
    for (QWidget *widget : widgets) {
        row->removeWidget(widget);
        under->removeWidget(widget);
        (inRow ? row : under)->addWidget(widget);
    }
    if (!inRow)
        under->addStretch(1);
    else if (QLayoutItem *stretch = under->takeAt(0))
        delete stretch;
}

} // namespace barlink::app
