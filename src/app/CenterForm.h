#pragma once

class QWidget;

namespace barlink::app {

// Places a window in the middle of its screen.
void centerForm(QWidget *window);

} // namespace barlink::app
