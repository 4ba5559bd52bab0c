#include "label/ListFileLoader.h"

#include "base/Error.h"
#include "base/FileNames.h"
#include "base/OperatorDisplay.h"
#include "base/Prompter.h"
#include "base/Reasons.h"
#include "base/Settings.h"
#include "base/StatusTexts.h"
#include "listmanager/ListManagerLink.h"

namespace barlink::label {

namespace {

const QString ListSuffix = QStringLiteral(".LST");

} // namespace

ListFileLoader::ListFileLoader(const base::Settings &settings,
                               listmanager::ListManagerLink &link,
                               base::OperatorDisplay &display,
                               base::Pacer &pacer,
                               base::Prompter &prompter)
    : m_settings(settings)
    , m_link(link)
    , m_display(display)
    , m_pacer(pacer)
    , m_prompter(prompter)
{}

QString ListFileLoader::listFileName(const QString &listName) const
{
    return m_settings.listPath + listName + ListSuffix;
}

base::LabelOutcome ListFileLoader::loadListFile(const QString &listName)
{
    using Result = base::LabelOutcome::Result;
    if (!base::isSafeRelativeName(listName)) {
        base::showReadyAfterPause(m_display, m_pacer, m_settings.itemPauseMs);
        m_display.setStatus(base::unsafeNameMessage(listName).shown());
        m_display.hideSegmentIndicators();
        return {base::LabelOutcome::Kind::List, Result::Refused, base::unsafeNameMessage(listName)};
    }
    try {
        const std::shared_ptr<listmanager::Application> &application = m_link.application();
        if (!application)
            throw base::Error(base::Error::ObjectNotSet,
                              base::Reason(base::Reason::Code::ObjectNotSet));
        // The list object handed back is not kept.
        (void)application->openList(
            base::resolveFileName(m_settings.listPath, listName + ListSuffix));
    } catch (const base::Error &error) {
        return reportFailure(error, listName);
    } catch (const std::exception &error) {
        return reportFailure(base::Error(0, QString::fromLocal8Bit(error.what())), listName);
    }
    return {base::LabelOutcome::Kind::List, Result::Taken, {}};
}

base::LabelOutcome ListFileLoader::reportFailure(const base::Error &error, const QString &listName)
{
    base::showReadyAfterPause(m_display, m_pacer, m_settings.itemPauseMs);
    // Only a missing file is worth the operator's attention; other failures end quietly.
    const base::Reason notFound(base::Reason::Code::ListFileNotFound, listFileName(listName));
    const bool missing = error.number() == base::Error::FileNotFound;
    if (missing)
        m_prompter.inform(base::Prompter::Icon::Warning, notFound.shown());
    m_display.hideSegmentIndicators();
    return {base::LabelOutcome::Kind::List,
            base::LabelOutcome::Result::Failed,
            missing ? notFound : error.reason()};
}

} // namespace barlink::label
