#include "TryWindow.h"

#include "TryRun.h"
#include "text/EscapedBytes.h"
#include "ui/Appearance.h"
#include "ui/CenterForm.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace barlink::app {

namespace {

// A line of the account that tells of a label not taken, in the words the account uses.
bool isBad(const QString &text)
{
    for (const char *bad : {QT_TRANSLATE_NOOP("TryRun", "refused: "),
                            QT_TRANSLATE_NOOP("TryRun", "failed: "),
                            QT_TRANSLATE_NOOP("TryRun",
                                              "held by a message box until it is "
                                              "answered, then ")}) {
        const QString words = QCoreApplication::translate("TryRun", bad);
        if (text.startsWith(words) || text.contains(QLatin1String(": ") + words))
            return true;
    }
    return false;
}

// The account in HTML: a label as a heading, its details indented by level, a refusal or
// failure in red (light on the high-contrast black), the fields of a row as a table.
QString accountHtml(const QStringList &lines)
{
    const bool dark = ui::highContrast();
    const QString badColour = dark ? QStringLiteral("#ff8a80") : QStringLiteral("#b71c1c");
    const QString nameColour = dark ? QStringLiteral("#e0e0e0") : QStringLiteral("#555");
    QString html;
    bool inTable = false;
    for (const QString &line : lines) {
        const QString text = line.trimmed();
        const qsizetype level = (line.size() - QStringView(line).trimmed().size()) / 2;
        const QStringList cells = text.split(u'\t');
        if (cells.size() == 3) {
            if (!inTable)
                html += QStringLiteral("<table style=\"margin-left:%1px\" cellspacing=\"0\" "
                                       "cellpadding=\"1\">")
                            .arg(12 * level);
            inTable = true;
            html += QStringLiteral("<tr><td align=\"right\"><tt>%1</tt>&nbsp;</td>"
                                   "<td style=\"color:%4\">%2&nbsp;&nbsp;</td>"
                                   "<td><tt>%3</tt></td></tr>")
                        .arg(cells[0].toHtmlEscaped(),
                             cells[1].toHtmlEscaped(),
                             cells[2].toHtmlEscaped(),
                             nameColour);
            continue;
        }
        if (inTable)
            html += QStringLiteral("</table>");
        inTable = false;
        if (level == 0) {
            html += QStringLiteral("<h4 style=\"margin-top:12px;margin-bottom:2px\">%1</h4>")
                        .arg(text.toHtmlEscaped());
            continue;
        }
        QString style = QStringLiteral("margin-left:%1px;").arg(12 * level);
        if (isBad(text))
            style += QStringLiteral("color:%1;font-weight:bold;").arg(badColour);
        html += QStringLiteral("<div style=\"%1\">%2</div>").arg(style, text.toHtmlEscaped());
    }
    if (inTable)
        html += QStringLiteral("</table>");
    return html;
}

} // namespace

TryWindow::TryWindow(QString programDir, QString windowsDir, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_programDir(std::move(programDir))
    , m_windowsDir(std::move(windowsDir))
{
    setObjectName(QStringLiteral("frmTry"));
    setWindowTitle(tr("Try a label"));
    auto *layout = new QVBoxLayout(this);
    auto *intro
        = new QLabel(tr("Labels as the scanner sends them, one per line (escapes: \\r \\n \\xHH "
                        "\\\\). Trying adds no row, writes no file and sends nothing to the "
                        "scanner."),
                     this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_labels = new QPlainTextEdit(this);
    m_labels->setObjectName(QStringLiteral("txtTryLabels"));
    m_labels->setPlaceholderText(QStringLiteral("%12PANEL.CNC S1 X\n%22600 400 18"));
    // Labels hold no tab; Tab goes on to the next control.
    m_labels->setTabChangesFocus(true);
    fitLabelsBox();
    layout->addWidget(m_labels);

    auto *buttons = new QHBoxLayout;
    m_try = new QPushButton(tr("&Try"), this);
    m_try->setObjectName(QStringLiteral("cmdTry"));
    m_try->setDefault(true);
    m_try->setToolTip(tr("Try the labels (Ctrl+Enter)"));
    buttons->addWidget(m_try);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    m_account = new QTextBrowser(this);
    m_account->setObjectName(QStringLiteral("txtTryAccount"));
    layout->addWidget(m_account, 1);

    // Low on a small screen at a large text size, the window's parts scroll.
    ui::scrollInside(this);

    connect(m_try, &QPushButton::clicked, this, &TryWindow::tryLabels);
    // Enter in the box starts a new label; Ctrl+Enter tries them, from either Enter key.
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &TryWindow::tryLabels);
    }
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this),
            &QShortcut::activated,
            this,
            &QWidget::close);
}

void TryWindow::fitLabelsBox()
{
    // Six lines of labels at the text size in force.
    m_labels->setMaximumHeight(m_labels->fontMetrics().lineSpacing() * 6
                               + 2 * m_labels->frameWidth() + 8);
}

void TryWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitLabelsBox();
}

void TryWindow::tryLabels()
{
    QList<QByteArray> labels;
    const QStringList lines = m_labels->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const text::EscapedBytes label = text::unescapeBytes(line);
        if (!label.ok()) {
            m_account->setHtml(accountHtml(
                {QCoreApplication::translate("TryRun", "Label \"%1\"").arg(line),
                 QStringLiteral("    ") + QCoreApplication::translate("TryRun", "refused: ")
                     + QCoreApplication::translate("TryRun", "it cannot be read: %1")
                           .arg(label.error.shown())}));
            return;
        }
        labels << label.bytes;
    }
    if (labels.isEmpty()) {
        m_account->setHtml(accountHtml({tr("Type a label to try.")}));
        return;
    }
    const TryRun::Result result = TryRun(m_programDir, m_windowsDir).run(labels);
    QStringList shown{tr("In short")};
    for (const QString &line : result.summary)
        shown << QStringLiteral("    ") + line;
    shown << result.account;
    shown << (result.rows.isEmpty() ? tr("No row would reach the list manager")
                                    : tr("Rows as the list manager would receive them"));
    QString html = accountHtml(shown);
    for (const QString &row : result.rows)
        html += QStringLiteral("<p style=\"margin-left:12px\"><tt>%1</tt></p>")
                    .arg(row.toHtmlEscaped().replace(u';', QStringLiteral(";&#8203;")));
    m_account->setHtml(html);
}

} // namespace barlink::app
