#include "Startup.h"

#include "InstanceCounter.h"
#include "PortControl.h"
#include "base/Clock.h"
#include "base/CurrentItem.h"
#include "base/Error.h"
#include "base/OperatorDisplay.h"
#include "base/ProductEnvironment.h"
#include "base/Prompter.h"
#include "base/Settings.h"
#include "base/StationContext.h"
#include "journal/JournalRecorder.h"
#include "listmanager/Application.h"
#include "listmanager/ListManagerLink.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcStartup, "barlink.app.startup", QtWarningMsg)

namespace barlink::app {

// Runs one start-up step; an error is reported and start-up goes on with the next step.
template<typename Step> void Startup::guarded(Step step)
{
    try {
        step();
    } catch (const std::exception &error) {
        m_context.prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
    }
}

QString Startup::noListText(const QString &reason)
{
    QString text = tr("The list manager has not handed out a list.");
    if (!reason.isEmpty())
        text += QStringLiteral("\n\n") + reason;
    text += tr("\n\nRetry to wait for the list again, Cancel to go on without a list.");
    return text;
}

Startup::Outcome Startup::run(bool commandLineEmpty)
{
    if (m_instances.countInstances(QStringLiteral("BarCode")) > 1) {
        m_context.prompter.inform(base::Prompter::Icon::Warning, alreadyRunningText());
        return Outcome::AlreadyRunning;
    }

    // The result does not matter: without a file the values stay as they were. A settings
    // folder that cannot be looked into is reported and start-up goes on the same way.
    guarded([this] {
        (void)settings::loadSettings(m_context.settings, m_context.options, m_context.prompter);
    });
    // Problems with the settings hold nothing back: they are journaled here, and told once
    // start-up is done.
    m_recorder.recordEvent(
        journal::StationEvent::Start,
        std::nullopt,
        base::Reason::sentences(std::vector<base::Reason>(m_context.settings.problems.begin(),
                                                          m_context.settings.problems.end())));

    guarded([this] {
        m_product.registerApplication({QCoreApplication::applicationName(),
                                       QCoreApplication::applicationDirPath(),
                                       QCoreApplication::applicationFilePath(),
                                       QCoreApplication::applicationVersion()});
    });

    bool portStarted = false;
    guarded([&] { portStarted = m_port.startPort(); });
    if (!portStarted)
        return Outcome::PortRefused;

    m_context.link.setCommandLineEmpty(commandLineEmpty);
    guarded([this] { createApplication(); });
    if (commandLineEmpty)
        waitForList();

    m_context.item.clearListPending = true;
    return Outcome::Running;
}

void Startup::createApplication()
{
    m_context.link.setApplication(m_context.provider.createApplication());
}

void Startup::waitForList()
{
    for (;;) {
        QString reason;
        for (int pass = 0; pass < m_listWaitPasses; ++pass) {
            try {
                if (!m_context.link.application())
                    createApplication();
                if (auto list = m_context.link.application()->newList()) {
                    m_context.link.setCurrentList(std::move(list));
                    return;
                }
            } catch (const std::exception &error) {
                // An error does not go away by asking again at once: ask the operator.
                reason = base::unexpectedErrorText(error);
                break;
            }
            m_clock.wait(m_listWaitIntervalMs);
        }
        qCInfo(lcStartup) << "no list yet:" << reason;
        const auto answer = m_context.prompter.ask(base::Prompter::Icon::Warning,
                                                   base::Prompter::Buttons::RetryCancel,
                                                   noListText(reason));
        if (answer != base::Prompter::Answer::Retry) {
            m_context.display.setStatus(noListStatus());
            return;
        }
    }
}

} // namespace barlink::app
