#include "StationBuilder.h"

#include "Station.h"
#include "base/Clock.h"
#include "listmanager/Application.h"
#include "scanner/ScannerPort.h"
#include "settings/SettingsFile.h"

namespace barlink::app {

StationBuilder::StationBuilder(base::OperatorDisplay &display,
                               base::Prompter &prompter,
                               base::Pacer &pacer,
                               scanner::ScannerPort &port,
                               listmanager::ListManagerProvider &listManager)
    : m_display(display)
    , m_prompter(prompter)
    , m_pacer(pacer)
    , m_port(port)
    , m_listManager(listManager)
{}

StationBuilder &StationBuilder::mode(Mode mode)
{
    m_mode = mode;
    return *this;
}

StationBuilder &StationBuilder::folders(QString programDir, QString windowsDir)
{
    m_programDir = std::move(programDir);
    m_windowsDir = std::move(windowsDir);
    return *this;
}

StationBuilder &StationBuilder::journal(QString path, QString spillPath)
{
    m_journalPath = std::move(path);
    m_spillPath = std::move(spillPath);
    return *this;
}

StationBuilder &StationBuilder::writes(bool on)
{
    m_writes = on;
    return *this;
}

StationBuilder &StationBuilder::instanceLockDir(QString dir)
{
    m_lockDir = std::move(dir);
    return *this;
}

StationBuilder &StationBuilder::listWait(int passes, int intervalMs)
{
    m_listWait = ListWait{passes, intervalMs};
    return *this;
}

StationBuilder &StationBuilder::clock(base::Clock &clock)
{
    m_clock = &clock;
    return *this;
}

std::unique_ptr<Station> StationBuilder::build()
{
    // Not make_unique: the constructor is the builder's alone.
    std::unique_ptr<Station> station(new Station(m_display,
                                                 m_prompter,
                                                 m_pacer,
                                                 m_port,
                                                 m_listManager,
                                                 m_programDir,
                                                 m_windowsDir,
                                                 nullptr,
                                                 m_clock ? *m_clock : base::Clock::real()));
    station->m_writes.setEnabled(m_writes);
    if (!m_lockDir.isEmpty())
        station->setInstanceLockDir(m_lockDir);
    if (m_listWait)
        station->setListWait(m_listWait->passes, m_listWait->intervalMs);
    if (m_mode == Mode::Started) {
        station->setJournalPath(m_journalPath, m_spillPath);
        return station;
    }

    // What start-up leaves behind, without its lock, its wait for the list manager and its
    // journal: the settings, the label settings taken from them, a list and an open port.
    station->m_recorder.discard();
    m_settingsRead = settings::loadSettings(station->m_settings, station->m_options, m_prompter);
    station->applyLabelSettings();
    listmanager::ListManagerLink &link = station->m_link;
    link.setApplication(m_listManager.createApplication());
    link.setCurrentList(link.application()->newList());
    m_port.open(station->settings().commDevice, station->settings().serialSettings);
    return station;
}

} // namespace barlink::app
