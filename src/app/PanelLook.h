#pragma once

#include "ui/Appearance.h"

#include <QBoxLayout>
#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

#include <cmath>

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

// A badge: white text on a rounded patch of colour, black text on a light one (orange). Of
// black and white the one that contrasts more with a colour does so by 4.5:1 at least, for
// any colour.
inline QString badgeStyle(const QString &colour)
{
    const QColor patch(colour);
    const auto linear
        = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const double luminance = 0.2126 * linear(patch.redF()) + 0.7152 * linear(patch.greenF())
                             + 0.0722 * linear(patch.blueF());
    // Where black and white contrast alike: (L + 0.05) / 0.05 = 1.05 / (L + 0.05).
    const bool light = luminance > 0.179;
    return QStringLiteral("QLabel { background: %1; color: %2; border-radius: 4px; "
                          "padding: 2px 8px; }")
        .arg(colour, light ? QStringLiteral("black") : QStringLiteral("white"));
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
