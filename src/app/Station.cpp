#include "Station.h"

#include "base/Error.h"
#include "base/OperatorDisplay.h"
#include "base/Prompter.h"
#include "program/CompressedLabelDecoder.h"
#include "scanner/ScannerPort.h"
#include "settings/SettingsFile.h"

#include <QDir>

namespace barlink::app {

Station::Station(Seams seams, QString programDir, QString windowsDir, QObject *parent)
    : QObject(parent)
    , m_seams(seams)
    , m_product(m_settings)
    , m_portControl(m_settings, seams.port, seams.display, seams.prompter)
    , m_autoSel(m_settings)
    , m_selector(m_autoSel)
    , m_sender({m_settings,
                m_options,
                seams.display,
                seams.pacer,
                seams.prompter,
                m_item,
                m_link,
                seams.provider,
                seams.port,
                m_autoSel,
                m_selector})
    , m_dispatcher({m_settings,
                    m_options,
                    seams.display,
                    seams.pacer,
                    seams.prompter,
                    m_item,
                    m_link,
                    m_autoSel,
                    m_selector,
                    m_sender})
    , m_programBarcode(
          {m_settings, m_options, seams.display, seams.prompter, m_item, m_link, m_sender})
    , m_poller(seams.port, labelHandlers(), seams.display, seams.prompter, m_gate)
{
    m_settings.programDir = std::move(programDir);
    m_settings.windowsDir = std::move(windowsDir);
    connect(&m_options, &base::Options::userChanged, this, &Station::writeOption);
    // A label the scanner was sending when it went away is cut off: it must not join the next.
    connect(&m_portControl,
            &PortControl::deviceLost,
            &m_poller,
            &scanner::ScanPoller::dropPartialLabel);
}

Station::~Station() = default;

Startup::Outcome Station::start(bool commandLineEmpty)
{
    Startup startup({m_settings,
                     m_options,
                     m_seams.prompter,
                     m_seams.display,
                     m_instances,
                     m_product,
                     m_portControl,
                     m_seams.provider,
                     m_link,
                     m_item});
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
                return program::decodeCompressedLabel(label, m_seams.display, rest);
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
        m_seams.prompter.inform(base::Prompter::Icon::Critical, unexpectedErrorText(error));
    }
}

} // namespace barlink::app
