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

// One line of the account in HTML: a label as a heading, its details indented, a refusal or
// failure in red, the fields of a row in a fixed-width font.
QString accountLine(const QString &line)
{
    const qsizetype depth = line.size() - line.trimmed().size();
    const QString text = line.trimmed().toHtmlEscaped();
    if (depth == 0)
        return QStringLiteral("<p style=\"margin-top:10px\"><b>%1</b></p>").arg(text);
    const bool bad
        = text.startsWith(QLatin1String("refused")) || text.startsWith(QLatin1String("failed"));
    const bool field = depth > 6;
    QString style = QStringLiteral("margin-left:%1px;").arg(18 * (depth - 2) / 2);
    if (bad)
        style += QStringLiteral("color:#b71c1c;font-weight:bold;");
    if (field)
        style += QStringLiteral("font-family:monospace;");
    return QStringLiteral("<div style=\"%1\">%2</div>").arg(style, text);
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
                accountLine(QStringLiteral("Label \"%1\"").arg(line))
                + accountLine(QStringLiteral("    refused: it cannot be read: ") + label.error));
            return;
        }
        labels << label.bytes;
    }
    if (labels.isEmpty()) {
        m_account->setHtml(accountLine(QStringLiteral("Type a label to try.")));
        return;
    }
    const TryRun::Result result = TryRun(m_programDir, m_windowsDir).run(labels);
    QString html = accountLine(result.rows.isEmpty() ? QStringLiteral("No row would be added")
                                                     : QStringLiteral("Rows for the list manager"));
    for (const QString &row : result.rows)
        html += accountLine(QStringLiteral("        ") + row);
    for (const QString &line : result.account)
        html += accountLine(line);
    m_account->setHtml(html);
}

} // namespace barlink::app
