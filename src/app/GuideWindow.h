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

    // The guide in the given language ("de", "it"), as shipped; the English guide for English
    // and for a language the guide has not been written in.
    [[nodiscard]] static QString guideText(const QString &language);

private:
    QTextBrowser *m_browser = nullptr;
};

} // namespace barlink::app
