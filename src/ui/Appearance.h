#pragma once

#include <QPalette>

class QWidget;

namespace barlink::ui {

// The text size of every window, as a factor of the system's: the application's font, which
// every widget without a size of its own follows, layouts and dialogs included.
void setTextScale(double scale);
[[nodiscard]] double textScale();

// Keeps a widget's text factor times the application's, through every change of text size;
// with mostScale, it stops growing once the text size passes that many times the system's.
void keepTextLarger(QWidget *widget, double factor, double mostScale = 0);

// The windows in a high-contrast scheme (white and yellow on black) or in the system's colours.
void setHighContrast(bool on);
[[nodiscard]] bool highContrast();
[[nodiscard]] QPalette highContrastPalette();

// Targets for a finger in a glove: every button, box, row and menu item the operator touches at
// least touchTarget() pixels tall (and buttons as wide), its tick box large.
void setTouch(bool on);
[[nodiscard]] bool touch();
// The least size of a target at the present text size, in pixels; 0 without touch.
[[nodiscard]] int touchTarget();

} // namespace barlink::ui
