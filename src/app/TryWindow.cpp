#include "TryWindow.h"

#include "TryRun.h"
#include "text/EscapedBytes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace barlink::app {

namespace {

bool isBad(const QString &text)
{
    for (const char *bad : {"refused", "failed", "held by a message box"}) {
        if (text.startsWith(QLatin1String(bad))
            || text.contains(QLatin1String(": ") + QLatin1String(bad)))
            return true;
    }
    return false;
}

// The account in HTML: a label as a heading, its details indented by level, a refusal or
// failure in red, the fields of a row as a table.
QString accountHtml(const QStringList &lines)
{
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
                                   "<td style=\"color:#555\">%2&nbsp;&nbsp;</td>"
                                   "<td><tt>%3</tt></td></tr>")
                        .arg(cells[0].toHtmlEscaped(),
                             cells[1].toHtmlEscaped(),
                             cells[2].toHtmlEscaped());
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
            style += QStringLiteral("color:#b71c1c;font-weight:bold;");
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
    setWindowTitle(QStringLiteral("Try a label"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(
        QStringLiteral("Labels as the scanner sends them, one per line (escapes: \\r \\n \\xHH "
                       "\\\\). Trying adds no row, writes no file and sends nothing to the "
                       "scanner."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_labels = new QPlainTextEdit(this);
    m_labels->setObjectName(QStringLiteral("txtTryLabels"));
    m_labels->setPlaceholderText(QStringLiteral("%12PANEL.CNC S1 X\n%22600 400 18"));
    m_labels->setMaximumHeight(m_labels->fontMetrics().lineSpacing() * 6);
    layout->addWidget(m_labels);

    auto *buttons = new QHBoxLayout;
    m_try = new QPushButton(QStringLiteral("&Try"), this);
    m_try->setObjectName(QStringLiteral("cmdTry"));
    m_try->setDefault(true);
    buttons->addWidget(m_try);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    m_account = new QTextBrowser(this);
    m_account->setObjectName(QStringLiteral("txtTryAccount"));
    layout->addWidget(m_account, 1);

    connect(m_try, &QPushButton::clicked, this, &TryWindow::tryLabels);
}

void TryWindow::tryLabels()
{
    QList<QByteArray> labels;
    const QStringList lines = m_labels->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const text::EscapedBytes label = text::unescapeBytes(line);
        if (!label.ok()) {
            m_account->setHtml(
                accountHtml({QStringLiteral("Label \"%1\"").arg(line),
                             QStringLiteral("    refused: it cannot be read: ") + label.error}));
            return;
        }
        labels << label.bytes;
    }
    if (labels.isEmpty()) {
        m_account->setHtml(accountHtml({QStringLiteral("Type a label to try.")}));
        return;
    }
    const TryRun::Result result = TryRun(m_programDir, m_windowsDir).run(labels);
    QStringList shown{QStringLiteral("In short")};
    for (const QString &line : result.summary)
        shown << QStringLiteral("    ") + line;
    shown << result.account;
    shown << (result.rows.isEmpty()
                  ? QStringLiteral("No row would reach the list manager")
                  : QStringLiteral("Rows as the list manager would receive them"));
    QString html = accountHtml(shown);
    for (const QString &row : result.rows)
        html += QStringLiteral("<p style=\"margin-left:12px\"><tt>%1</tt></p>")
                    .arg(row.toHtmlEscaped().replace(u';', QStringLiteral(";&#8203;")));
    m_account->setHtml(html);
}

} // namespace barlink::app
