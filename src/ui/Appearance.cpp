#include "Appearance.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace barlink::ui {

namespace {

// The system's font and colours, as they were before the first change.
struct SystemLook
{
    QFont font = QApplication::font();
    QPalette palette = QApplication::palette();
    double scale = 1.0;
    bool highContrast = false;
    bool touch = false;
};

// 9 mm at 96 pixels to the inch: a target a gloved finger hits, at the system's text size.
constexpr int TouchTargetPixels = 36;
// The tick box of a check box or a radio button, with touch, at the system's text size.
constexpr int TouchIndicatorPixels = 24;
// The tick box in high contrast without touch, as a share of a line of text.
constexpr double IndicatorLineShare = 0.8;

SystemLook &systemLook()
{
    static SystemLook look;
    return look;
}

// Tells when the application's font has changed, as the application hears it: before any
// widget does, so that every scaled text has its size when the windows lay themselves out.
class FontWatch : public QObject
{
    Q_OBJECT
public:
    static FontWatch &instance()
    {
        static FontWatch *watch = [] {
            auto *created = new FontWatch(qApp);
            qApp->installEventFilter(created);
            return created;
        }();
        return *watch;
    }

Q_SIGNALS:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == qApp && event->type() == QEvent::ApplicationFontChange)
            Q_EMIT changed();
        return QObject::eventFilter(watched, event);
    }

private:
    using QObject::QObject;
};

// Sets its widget's text size from the application's whenever that changes.
class LargerText : public QObject
{
public:
    LargerText(QWidget *widget, double factor, double mostScale)
        : QObject(widget)
        , m_widget(widget)
        , m_factor(factor)
        , m_mostScale(mostScale)
    {
        connect(&FontWatch::instance(), &FontWatch::changed, this, &LargerText::apply);
        apply();
    }

private:
    void apply()
    {
        QFont font = m_widget->font();
        double size = QApplication::font().pointSizeF() * m_factor;
        if (m_mostScale > 0)
            size = std::min(size, systemLook().font.pointSizeF() * m_factor * m_mostScale);
        font.setPointSizeF(size);
        m_widget->setFont(font);
    }

    QWidget *m_widget;
    double m_factor;
    double m_mostScale;
};

// The application's style sheet for high contrast and touch, in pixels of the present text size.
void applyStyleSheet()
{
    const SystemLook &look = systemLook();
    QString sheet;
    // Tick boxes as large as a target needs, or as a line of text in high contrast; a radio
    // button's stays round.
    int indicator = 0;
    if (look.touch)
        indicator = qRound(TouchIndicatorPixels * look.scale);
    else if (look.highContrast)
        indicator = qRound(QFontMetrics(QApplication::font()).height() * IndicatorLineShare);
    if (look.highContrast) {
        // The style draws the edges of boxes and check marks from the window colour, which on
        // black would leave them unseen: white edges, and a ticked box filled.
        sheet += QStringLiteral(
                     "QCheckBox::indicator, QRadioButton::indicator { border: 2px solid white; "
                     "background: black; }"
                     "QRadioButton::indicator { border-radius: %1px; }"
                     "QCheckBox::indicator:checked, QRadioButton::indicator:checked { "
                     "background: #ffeb3b; }"
                     "QCheckBox::indicator:indeterminate { background: #9e9e9e; }"
                     "QLineEdit, QPlainTextEdit, QTextEdit, QAbstractItemView, "
                     "QPushButton, QComboBox, QAbstractSpinBox { border: 1px solid white; "
                     "padding: 2px; }"
                     // Black under their white text also where they lie on a coloured band (the
                     // result's take-back button), whose colour would show through.
                     "QPushButton { background: black; }"
                     // Enter presses the default button: a heavier edge. The yellow frame is the
                     // focus's alone, later in the sheet so that it wins on a default button with
                     // the focus.
                     "QPushButton:default:enabled { border: 2px solid white; }"
                     "QPushButton:focus:enabled { border: 2px solid #ffeb3b; }"
                     // Table headers are item views too: framed and padded, their sections would be
                     // clipped at the top.
                     "QHeaderView { border: none; padding: 0px; }")
                     // Half the box and its two edges: a circle.
                     .arg(indicator / 2 + 2);
    }
    if (indicator > 0)
        sheet += QStringLiteral("QCheckBox::indicator, QRadioButton::indicator { width: %1px; "
                                "height: %1px; }")
                     .arg(indicator);
    if (look.touch) {
        sheet += QStringLiteral("QPushButton, QToolButton, QCheckBox, QRadioButton, QComboBox, "
                                "QLineEdit, QAbstractSpinBox { min-height: %1px; }"
                                "QPushButton, QToolButton { min-width: %1px; }"
                                // A menu's items have no least height: padding around a
                                // line of text makes it up to 9 mm; a larger text needs
                                // none, and leaves the screen's height to the result.
                                "QMenu::item, QMenuBar::item { padding: %2px 12px; }")
                     .arg(touchTarget())
                     .arg(std::max(0,
                                   TouchTargetPixels
                                       - QFontMetrics(QApplication::font()).height())
                          / 2);
    }
    qApp->setStyleSheet(sheet);
}

} // namespace

void setTextScale(double scale)
{
    SystemLook &look = systemLook();
    look.scale = scale;
    QFont font = look.font;
    font.setPointSizeF(look.font.pointSizeF() * scale);
    QApplication::setFont(font);
    // Every window follows, with the widgets in it, before the event loop runs too (the
    // toolkit tells the windows only while it runs; twice is harmless). Each widget is told:
    // some (table headers) miss what their parent passes on.
    QEvent changed(QEvent::ApplicationFontChange);
    for (QWidget *window : QApplication::topLevelWidgets())
        QCoreApplication::sendEvent(window, &changed);
    for (QWidget *widget : QApplication::allWidgets()) {
        if (!widget->isWindow())
            QCoreApplication::sendEvent(widget, &changed);
    }
    // A widget with a style sheet takes its parent's font only when polished, from rules kept
    // since: polished afresh.
    for (QWidget *widget : QApplication::allWidgets()) {
        if (widget->testAttribute(Qt::WA_StyleSheet)) {
            widget->style()->unpolish(widget);
            widget->style()->polish(widget);
        }
    }
    // Sizes in pixels follow the text.
    if (look.touch || look.highContrast)
        applyStyleSheet();
    // Polished afresh under a style sheet, a widget gets back the font it had when first
    // polished: the texts kept larger take their size again.
    Q_EMIT FontWatch::instance().changed();
}

double textScale()
{
    return systemLook().scale;
}

void keepTextLarger(QWidget *widget, double factor, double mostScale)
{
    new LargerText(widget, factor, mostScale);
}

void setHighContrast(bool on)
{
    SystemLook &look = systemLook();
    look.highContrast = on;
    QApplication::setPalette(on ? highContrastPalette() : look.palette);
    applyStyleSheet();
    QEvent changed(QEvent::ApplicationPaletteChange);
    for (QWidget *window : QApplication::topLevelWidgets())
        QCoreApplication::sendEvent(window, &changed);
}

bool highContrast()
{
    return systemLook().highContrast;
}

void setTouch(bool on)
{
    systemLook().touch = on;
    applyStyleSheet();
}

bool touch()
{
    return systemLook().touch;
}

int touchTarget()
{
    const SystemLook &look = systemLook();
    return look.touch ? qRound(TouchTargetPixels * look.scale) : 0;
}

QPalette highContrastPalette()
{
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    const QColor yellow(0xff, 0xeb, 0x3b);
    QPalette palette(white, black);
    for (QPalette::ColorRole role : {QPalette::Base,
                                     QPalette::Window,
                                     QPalette::Button,
                                     QPalette::AlternateBase,
                                     QPalette::ToolTipBase}) {
        palette.setColor(role, role == QPalette::AlternateBase ? QColor(0x21, 0x21, 0x21) : black);
    }
    for (QPalette::ColorRole role : {QPalette::WindowText,
                                     QPalette::Text,
                                     QPalette::ButtonText,
                                     QPalette::ToolTipText,
                                     QPalette::BrightText}) {
        palette.setColor(role, white);
    }
    palette.setColor(QPalette::Highlight, yellow);
    palette.setColor(QPalette::HighlightedText, black);
    palette.setColor(QPalette::Link, QColor(0x80, 0xd8, 0xff));
    palette.setColor(QPalette::PlaceholderText, QColor(0xbd, 0xbd, 0xbd));
    palette.setColor(QPalette::Light, white);
    palette.setColor(QPalette::Midlight, QColor(0xbd, 0xbd, 0xbd));
    palette.setColor(QPalette::Mid, QColor(0x9e, 0x9e, 0x9e));
    palette.setColor(QPalette::Dark, white);
    palette.setColor(QPalette::Shadow, white);
    // Greyed controls stay readable: light grey on black rather than the usual dim grey.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(0xa0, 0xa0, 0xa0));
    return palette;
}

} // namespace barlink::ui

#include "Appearance.moc"
