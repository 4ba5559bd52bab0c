#include "GuideWindow.h"

#include "ui/Language.h"

#include <QFile>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace barlink::app {

GuideWindow::GuideWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmGuide"));
    setWindowTitle(tr("Barlink Guide"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtGuide"));
    m_browser->setOpenExternalLinks(true);
    m_browser->document()->setDocumentMargin(16);
    m_browser->setMarkdown(guideText(ui::shownLanguage()));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(760, 640);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this),
            &QShortcut::activated,
            this,
            &QWidget::close);
}

QString GuideWindow::guideText(const QString &language)
{
    QFile file(QStringLiteral(":/barlink/guide_%1.md").arg(language));
    if (language.isEmpty() || !file.exists())
        file.setFileName(QStringLiteral(":/barlink/guide.md"));
    if (!file.open(QIODevice::ReadOnly))
        return tr("The guide is missing from this build.");
    return QString::fromUtf8(file.readAll());
}

} // namespace barlink::app
