#include "GuardedApplication.h"

#include "PromptDialog.h"
#include "base/Error.h"

#include <QLoggingCategory>
#include <QScopeGuard>

#include <exception>

Q_LOGGING_CATEGORY(lcGuard, "barlink.app.guard", QtWarningMsg)

namespace barlink::app {

bool GuardedApplication::s_reporting = false;

GuardedApplication::GuardedApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentException();
    }
    return false;
}

void GuardedApplication::reportCurrentException()
{
    QString text;
    try {
        throw;
    } catch (const std::exception &exception) {
        text = base::unexpectedErrorText(exception);
    } catch (...) {
        text = base::unexpectedErrorText(base::Error::InternalError,
                                         QStringLiteral("Internal error"));
    }
    qCCritical(lcGuard).noquote() << text;
    if (s_reporting)
        return;
    s_reporting = true;
    const auto done = qScopeGuard([] { s_reporting = false; });
    PromptDialog(activeModalWidget() ? activeModalWidget() : activeWindow())
        .inform(base::Prompter::Icon::Critical, text);
}

} // namespace barlink::app
