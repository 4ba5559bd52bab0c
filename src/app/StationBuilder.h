#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace barlink::base {
class Clock;
class OperatorDisplay;
class Pacer;
class Prompter;
} // namespace barlink::base
namespace barlink::listmanager {
class ListManagerProvider;
}
namespace barlink::scanner {
class ScannerPort;
}

namespace barlink::app {

class Station;

// Puts a station together, the one way for the program, the try run, the tests, the fuzzing
// harnesses and the benchmarks: what differs between them is a parameter.
class StationBuilder
{
public:
    enum class Mode {
        // The station is started with Station::start(), which reads the settings, takes the
        // instance lock, waits for the list manager, opens the port and the journal.
        Started,
        // The station is never started; it is left as start-up leaves a station: its
        // settings read as start-up reads them (message boxes included), the list manager's
        // application and a new list handed to it and its port open. It takes no lock and
        // keeps no journal.
        Try,
    };

    // The station's seams: the operator's windows, the pauses, the scanner port and the list
    // manager. They outlive the station.
    StationBuilder(base::OperatorDisplay &display,
                   base::Prompter &prompter,
                   base::Pacer &pacer,
                   scanner::ScannerPort &port,
                   listmanager::ListManagerProvider &listManager);

    StationBuilder &mode(Mode mode);
    // Where the settings file is looked for: the program's folder, then the Windows directory.
    StationBuilder &folders(QString programDir, QString windowsDir);
    // The journal file, and the spill file for entries it cannot take (empty: none). Without
    // a journal file nothing is journaled.
    StationBuilder &journal(QString path, QString spillPath = {});
    // Off: no program file, companion CSV, list file or settings write reaches the disk; the
    // station keeps what it skipped (base::FileWrites).
    StationBuilder &writes(bool on);
    // Where the single-instance lock is taken (default: the user's runtime folder).
    StationBuilder &instanceLockDir(QString dir);
    // How often, and how far apart, start-up looks for a list in the list manager.
    StationBuilder &listWait(int passes, int intervalMs);
    // The time of every timer and wait of the station: the poller, the port's reconnection,
    // start-up's wait for a list and the double-scan window (default: the real one). The pauses
    // take theirs from the pacer.
    StationBuilder &clock(base::Clock &clock);

    [[nodiscard]] std::unique_ptr<Station> build();

    // Try mode, after build(): whether a settings file was found and read.
    [[nodiscard]] bool settingsRead() const { return m_settingsRead; }

private:
    base::OperatorDisplay &m_display;
    base::Prompter &m_prompter;
    base::Pacer &m_pacer;
    scanner::ScannerPort &m_port;
    listmanager::ListManagerProvider &m_listManager;
    Mode m_mode = Mode::Started;
    QString m_programDir;
    QString m_windowsDir;
    QString m_journalPath;
    QString m_spillPath;
    bool m_writes = true;
    QString m_lockDir;
    struct ListWait
    {
        int passes;
        int intervalMs;
    };
    std::optional<ListWait> m_listWait;
    bool m_settingsRead = false;
    base::Clock *m_clock = nullptr;
};

} // namespace barlink::app
