#include "Station.h"

#include "base/Error.h"
#include "base/OperatorDisplay.h"
#include "base/Prompter.h"
#include "program/CompressedLabelDecoder.h"
#include "scanner/ScannerPort.h"
#include "settings/SettingsFile.h"

#include <QDir>

namespace barlink::app {

Station::Station(base::OperatorDisplay &display,
                 base::Prompter &prompter,
                 base::Pacer &pacer,
                 scanner::ScannerPort &port,
                 listmanager::ListManagerProvider &provider,
                 QString programDir,
                 QString windowsDir,
                 QObject *parent)
    : QObject(parent)
    , m_product(m_settings)
    , m_portControl(m_settings, port, display, prompter)
    , m_autoSel(m_settings)
    , m_selector(m_autoSel)
    , m_context{m_settings,
                m_options,
                m_item,
                display,
                prompter,
                pacer,
                m_link,
                provider,
                port,
                m_autoSel,
                m_selector}
    , m_sender(m_context)
    , m_dispatcher(m_context, m_sender)
    , m_programBarcode(m_context, m_sender)
    , m_poller(port, labelHandlers(), display, prompter, m_gate)
{
    m_settings.programDir = std::move(programDir);
    m_settings.windowsDir = std::move(windowsDir);
    connect(&m_options, &base::Options::userChanged, this, &Station::writeOption);
    connect(&m_sender, &label::ItemSender::editorRequested, this, &Station::editorRequested);
    // A label the scanner was sending when it went away is cut off: it must not join the next.
    connect(&m_portControl,
            &PortControl::deviceLost,
            &m_poller,
            &scanner::ScanPoller::dropPartialLabel);
}

Station::~Station() = default;

Startup::Outcome Station::start(bool commandLineEmpty)
{
    Startup startup(m_context, m_instances, m_product, m_portControl);
    startup.setListWait(m_listWaitPasses, m_listWaitIntervalMs);
    m_helpFile = QDir(m_settings.programDir).filePath(QStringLiteral("LBLHELP.HLP"));
    return startup.run(commandLineEmpty);
}

void Station::startPolling()
{
    m_poller.start(m_settings.commPollTime);
}

scanner::ScanPoller::Handlers Station::labelHandlers()
{
    return {
        .interpretLabel
        = [this](const QString &label) { (void)m_dispatcher.interpretLabel(label); },
        .decodeCompressedLabel =
            [this](const QString &label, QString &rest) {
                return program::decodeCompressedLabel(label, m_context.display, rest);
            },
        .interpretProgramBarcode
        = [this](const QString &label) { m_programBarcode.interpretProgramBarcode(label); },
    };
}

void Station::shutdown()
{
    m_poller.stop();
    m_portControl.closePort();
    m_link.release();
}

void Station::writeOption(base::Options::Switch s, int value)
{
    try {
        settings::writeOptionSwitch(m_settings, s, value);
    } catch (const Error &error) {
        m_context.prompter.inform(base::Prompter::Icon::Critical, unexpectedErrorText(error));
    }
}

} // namespace barlink::app
