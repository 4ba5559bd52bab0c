#pragma once

#include "EndSignals.h"
#include "EventLoopPacer.h"
#include "MainWindow.h"
#include "PromptDialog.h"
#include "Station.h"
#include "exclusion/ExclusionChoice.h"
#include "listmanager/BusListManager.h"
#include "scanner/SerialScannerPort.h"

#include <QMessageBox>
#include <QObject>

#include <memory>

namespace barlink::fieldsel {
class FieldSelectionDialog;
}
namespace barlink::journal {
class JournalWindow;
}
namespace barlink::program {
class EditorLaunch;
class EditorPlatform;
} // namespace barlink::program
namespace barlink::app {
class GuideWindow;
class ResultSound;
class TryWindow;
} // namespace barlink::app
namespace barlink::testconsole {
class TestConsoleWindow;
}

namespace barlink::app {

// The program's windows and dialogs around one station on the serial port and the list manager
// on the session bus: the main window with its message boxes and pauses, and what its menus open.
// Answers what the windows and the station ask for.
class StationShell : public QObject
{
    Q_OBJECT
public:
    StationShell();
    ~StationShell() override;

    // Runs the start-up, then starts polling and shows the windows. False when the program
    // is to end at once (another copy runs, or the port start-up refused). commandLineEmpty:
    // no arguments but the toolkit's own.
    [[nodiscard]] bool start(bool commandLineEmpty);
    // Runs the event loop; returns the program's exit status. Asked by the system to end
    // (SIGTERM, SIGINT, SIGHUP), the program ends as when the main window is closed, and 0.
    [[nodiscard]] int exec();

private:
    // Leaves every event loop at once: see exec().
    void endOnRequest();
    void showPortSettings();
    void showFieldSelection();
    void showExclusionInsertion();
    void showAbout();
    void showListManager();
    // With ListManagerBeside: asks the list manager to keep its window beside the main window,
    // off the result, in the main window's text size and colours.
    void placeListWindow();
    void showTestConsole();
    void showJournal();
    void showTry();
    void showJournalAt(const journal::Entry &entry);
    void showGuide();
    void keepFontScale(double scale);
    void keepHighContrast(bool on);
    void keepTouch(bool on);
    // Asks the operator to confirm the rows the last item would take out of the list (query),
    // then takes them back; says why when it cannot.
    void takeBackLastItem(const Station::TakeBackQuery &query);
    // The settings values start-up did not use as written, in a window that holds nothing
    // back: the scanner's labels are taken while it is open.
    void showSettingsProblems();
    // The main window's view of the list, the recent scans and the text size, from start.
    void startGlance();
    // The List badge follows the list manager's list through its signals, from now on.
    void watchList();

    // Made first and gone last: while the shell and its objects go (the journal and the list
    // manager included), a first request does not cut that short; a second ends it at once.
    EndSignals m_endSignals;
    bool m_endRequested = false;
    MainWindow m_window;
    PromptDialog m_prompter{&m_window};
    EventLoopPacer m_pacer;
    scanner::SerialScannerPort m_port;
    // The list manager the setting ListManagerService names, started when it is not running.
    listmanager::BusListManagerProvider m_listManager;
    // The station the builder made, and the name it goes by.
    std::unique_ptr<Station> m_built;
    Station &m_station;
    // Made at its first opening and kept: it shows and edits the one field selection model
    // of the station, which is loaded on first use.
    std::unique_ptr<fieldsel::FieldSelectionDialog> m_fieldSelection;
    // Lives for the run; every opening of the dialog starts from it.
    exclusion::ExclusionChoice m_exclusionChoice;
    std::unique_ptr<program::EditorPlatform> m_editorPlatform;
    std::unique_ptr<program::EditorLaunch> m_editorLaunch;
    // The list manager test console is for developers: with BARLINK_TEST_CONSOLE=1 it opens
    // beside the main window, and Ctrl+Shift+T on the main window brings it back once closed.
    bool m_testConsoleWanted = false;
    PromptDialog m_consolePrompter;
    std::unique_ptr<testconsole::TestConsoleWindow> m_testConsole;
    // Made at its first opening; each opening reads the journal again from the newest entry.
    std::unique_ptr<journal::JournalWindow> m_journalWindow;
    // Made at its first opening; keeps the labels typed in it.
    std::unique_ptr<TryWindow> m_tryWindow;
    // Made at its first opening.
    std::unique_ptr<GuideWindow> m_guideWindow;
    // Shown at start when the settings file holds values not used as written.
    std::unique_ptr<QMessageBox> m_settingsProblems;
    // What the List badge shows.
    std::unique_ptr<listmanager::ListWatch> m_listWatch;
    // Made at start when ResultSound is on.
    std::unique_ptr<ResultSound> m_resultSound;
};

} // namespace barlink::app
