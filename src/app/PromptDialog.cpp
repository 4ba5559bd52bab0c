#include "PromptDialog.h"

#include "base/StatusTexts.h"

#include <QLoggingCategory>
#include <QMessageBox>

Q_LOGGING_CATEGORY(lcPrompt, "barlink.app.prompt", QtWarningMsg)

namespace barlink::app {

base::Prompter::Answer PromptDialog::ask(Icon icon, Buttons buttons, const QString &text)
{
    return askWithDetails(icon, buttons, text, QString());
}

base::Prompter::Answer PromptDialog::askWithDetails(Icon icon,
                                                    Buttons buttons,
                                                    const QString &text,
                                                    const QString &details)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(base::applicationTitle());
    box.setText(text);
    box.setInformativeText(details);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::RetryCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        // Every yes/no question asks before changing something (rows taken out of the list,
        // the port settings opened): a stray Enter answers No.
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    }
    qCDebug(lcPrompt).noquote() << "message box:" << text;
    m_open.append({text, &box});
    const int pressed = box.exec();
    m_open.removeIf([&box](const OpenBox &open) { return open.box == &box; });
    switch (pressed) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void PromptDialog::withdraw(const QString &text)
{
    for (const OpenBox &open : std::as_const(m_open)) {
        if (open.text != text)
            continue;
        qCDebug(lcPrompt).noquote() << "message box withdrawn:" << text;
        const bool yesNo = open.box->standardButtons().testFlag(QMessageBox::No);
        open.box->done(yesNo ? QMessageBox::No : QMessageBox::Cancel);
    }
}

} // namespace barlink::app
