#pragma once

#include <QWidget>

class QTextBrowser;

namespace barlink::app {

// Help > Guide: the guide for the operator and the setter, shipped inside the program. Escape
// closes it.
class GuideWindow : public QWidget
{
    Q_OBJECT
public:
    explicit GuideWindow(QWidget *parent = nullptr);

    // The guide's text, as shipped.
    [[nodiscard]] static QString guideText();

private:
    QTextBrowser *m_browser = nullptr;
};

} // namespace barlink::app
