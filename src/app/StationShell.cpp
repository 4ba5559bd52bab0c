#include "StationShell.h"

#include "AboutDialog.h"
#include "GuideWindow.h"
#include "ResultSound.h"
#include "ScanWords.h"
#include "SettingsDialog.h"
#include "StationBuilder.h"
#include "StationDisplay.h"
#include "TryWindow.h"
#include "base/Error.h"
#include "base/Reasons.h"
#include "base/StatusTexts.h"
#include "exclusion/ExclusionDialog.h"
#include "fieldsel/FieldSelectionDialog.h"
#include "fieldsel/PiecePlan.h"
#include "journal/Connection.h"
#include "journal/EntryQuery.h"
#include "journal/LocalFile.h"
#include "journal/SpillFile.h"
#include "journal/ui/JournalWindow.h"
#include "listmanager/BusListWatch.h"
#include "program/EditorLaunch.h"
#include "settings/SettingsFile.h"
#include "testconsole/TestConsoleWindow.h"
#include "ui/Appearance.h"

#ifdef Q_OS_LINUX
#include "program/LinuxEditorPlatform.h"
#endif

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QScreen>
#include <QShortcut>

#include <algorithm>
#include <utility>

namespace barlink::app {

namespace {

// The width the list manager's window is left beside the main window.
constexpr int ListWindowMinimumWidth = 480;
// The most entries of a shift read at start for its counters: a few days of a busy station.
constexpr int MaxShiftEntriesCounted = 20'000;

} // namespace

StationShell::StationShell()
    : m_listManager([this] {
        return listmanager::BusListManagerProvider::Target{
            m_station.settings().listManagerService, m_station.settings().listManagerTimeoutMs};
    })
    , m_built(StationBuilder(m_window, m_prompter, m_pacer, m_port, m_listManager)
                  .folders(QApplication::applicationDirPath(), settings::windowsDirectory())
                  .journal(journal::defaultJournalPath(), journal::defaultSpillPath())
                  .build())
    , m_station(*m_built)
    , m_exclusionChoice(m_station.settings(), m_window)
    , m_testConsoleWanted(qEnvironmentVariableIntValue("BARLINK_TEST_CONSOLE") == 1)
{
    // What the main window shows of the station and hands it: see showStationOn().
    showStationOn(m_station, m_window);
    connect(&m_station, &Station::portSettingsRequested, this, &StationShell::showPortSettings);
    connect(&m_window, &MainWindow::portSettingsRequested, this, &StationShell::showPortSettings);
    // The program ends with its main window, even while the list manager's window or the
    // journal is open: without the scanner nothing more can come.
    connect(&m_window, &MainWindow::closed, this, [] { QApplication::exit(0); });
    connect(
        &m_window, &MainWindow::autoFieldSelectRequested, this, &StationShell::showFieldSelection);
    connect(&m_window,
            &MainWindow::exclusionInsertionRequested,
            this,
            &StationShell::showExclusionInsertion);
    connect(&m_window, &MainWindow::aboutRequested, this, &StationShell::showAbout);
    connect(&m_window, &MainWindow::listManagerRequested, this, &StationShell::showListManager);
    connect(&m_window, &MainWindow::journalRequested, this, &StationShell::showJournal);
    connect(&m_window, &MainWindow::tryRequested, this, &StationShell::showTry);
    connect(&m_window, &MainWindow::journalEntryRequested, this, &StationShell::showJournalAt);
    connect(&m_window, &MainWindow::guideRequested, this, &StationShell::showGuide);
    connect(&m_window, &MainWindow::fontScaleChosen, this, &StationShell::keepFontScale);
    connect(&m_window, &MainWindow::highContrastChosen, this, &StationShell::keepHighContrast);
    // Once shown at start-up and after each change of text size.
    connect(&m_window, &MainWindow::resultMoved, this, &StationShell::placeListWindow);
    connect(&m_window, &MainWindow::touchChosen, this, &StationShell::keepTouch);
    connect(&m_station, &Station::takeBackAsked, this, &StationShell::takeBackLastItem);

#ifdef Q_OS_LINUX
    m_editorPlatform = std::make_unique<program::LinuxEditorPlatform>();
    m_editorLaunch = std::make_unique<program::EditorLaunch>(
        *m_editorPlatform, m_pacer, m_window, m_station.settings());
    // Items sent from scanned labels and from program barcodes open the same editor.
    connect(&m_station, &Station::editorRequested, this, [this](const QString &programName) {
        m_editorLaunch->launchEditor(programName);
    });
#endif

    if (m_testConsoleWanted) {
        auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), &m_window);
        connect(shortcut, &QShortcut::activated, this, &StationShell::showTestConsole);
    }
    connect(&m_endSignals, &EndSignals::endRequested, this, &StationShell::endOnRequest);
    // Run from the build tree or the demo, no service file lets the bus start the list
    // manager: the program beside this one is started instead.
    m_listManager.setProgram(QApplication::applicationDirPath()
                             + QStringLiteral("/barlink-listmanager"));
    // The bus tells at once when the list manager ends (the List badge hears it too); the next
    // label starts it again.
    connect(&m_listManager,
            &listmanager::BusListManagerProvider::lost,
            this,
            [](const base::Reason &reason) {
                qCDebug(lcStartup) << "list manager lost:" << reason.english();
            });
    // Started again, it opens its window where the system puts it.
    connect(&m_listManager,
            &listmanager::BusListManagerProvider::back,
            this,
            &StationShell::placeListWindow);
    m_window.enableMenus();
}

StationShell::~StationShell() = default;

int StationShell::exec()
{
    // An end asked for during start-up does not wait for the event loop.
    const int status = m_endRequested ? 0 : QApplication::exec();
    // Once no event loop runs, the main window is closed as with its close box: the station
    // shuts down; then the shell and its objects go, the journal and the list manager included.
    if (m_endRequested)
        m_window.close();
    return status;
}

void StationShell::endOnRequest()
{
    m_endRequested = true;
    // Every event loop returns, those of a message box, a dialog or a pause too, and one opened
    // from now on returns at once, as though cancelled: the label in hand is done without
    // waiting for anyone, and exec() closes the main window once nothing runs.
    QApplication::exit(0);
}

bool StationShell::start(bool commandLineEmpty)
{
    if (m_station.start(commandLineEmpty) != Startup::Outcome::Running)
        return false;
    startGlance();
    if (m_station.settings().resultSound) {
        m_resultSound = std::make_unique<ResultSound>();
        connect(&m_station, &Station::labelHandled, m_resultSound.get(), &ResultSound::play);
    }
    m_station.startPolling();

    // The main window at the top left of the screen, the list manager beside it: on a screen
    // too narrow for both at their usual sizes the main window gives up width, so that the
    // list lies beside it and never over the result.
    m_window.move(24, 24);
    const QRect area = m_window.screen()->availableGeometry();
    const int besideList = area.width() - ListWindowMinimumWidth - 4 * 24;
    if (m_window.width() > besideList && besideList >= m_window.minimumSizeHint().width())
        m_window.resize(besideList, m_window.height());
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
    if (m_testConsoleWanted)
        showTestConsole();
    if (!m_station.settings().problems.isEmpty())
        showSettingsProblems();
    return true;
}

void StationShell::showSettingsProblems()
{
    const base::Settings &settings = m_station.settings();
    m_settingsProblems = std::make_unique<QMessageBox>(
        QMessageBox::Warning,
        base::applicationTitle(),
        tr("Some values in %1 are not used as written. Barlink goes on with what each line says; "
           "scanning is not held back.")
            .arg(QDir::toNativeSeparators(settings.settingsFilePath)),
        QMessageBox::Ok,
        &m_window);
    m_settingsProblems->setObjectName(QStringLiteral("settingsProblems"));
    // The journal keeps the problems in English; the operator reads them in the window's language.
    QStringList problems;
    for (const base::Reason &problem : settings.problems)
        problems << problem.shown();
    m_settingsProblems->setInformativeText(problems.join(QStringLiteral("\n\n")));
    m_settingsProblems->setWindowModality(Qt::NonModal);
    m_settingsProblems->show();
    qCDebug(lcStartup) << "settings problems shown:" << settings.problems.size();
}

void StationShell::showPortSettings()
{
    // OK in the dialog opens the port with what it shows; Cancel leaves the port as it is.
    SettingsDialog dialog(m_station.settings(), m_prompter, m_station.portControl(), &m_window);
    m_window.placeOffTheResult(&dialog);
    dialog.exec();
}

void StationShell::showFieldSelection()
{
    try {
        if (!m_fieldSelection) {
            m_fieldSelection
                = std::make_unique<fieldsel::FieldSelectionDialog>(m_station.fieldSelectionToEdit(),
                                                                   m_station.settings(),
                                                                   m_station.item(),
                                                                   &m_window);
        }
        m_window.placeOffTheResult(m_fieldSelection.get());
        m_fieldSelection->exec();
    } catch (const base::Error &error) {
        m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
    }
}

void StationShell::showExclusionInsertion()
{
    exclusion::ExclusionDialog dialog(m_exclusionChoice, m_prompter, &m_window);
    m_window.placeOffTheResult(&dialog);
    dialog.exec();
}

void StationShell::showAbout()
{
    AboutDialog dialog(&m_window);
    dialog.exec();
}

void StationShell::showListManager()
{
    // The list manager shows its own window.
    try {
        m_station.showList();
        placeListWindow();
        watchList();
    } catch (const base::Error &error) {
        m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
    }
}

void StationShell::placeListWindow()
{
    const listmanager::BusListManager *listManager = std::as_const(m_listManager).listManager();
    if (!m_station.settings().listManagerBeside || !listManager || !m_window.isVisible())
        return;
    listManager->placeWindowBeside(
        m_window.frameGeometry(),
        m_window.resultOnScreen(),
        ui::textScale(),
        ui::highContrast(),
        [window = QPointer<MainWindow>(&m_window)](const QString &why) {
            if (window && !why.isEmpty())
                window->setStatus(tr("The list manager's window stays where it is: %1").arg(why));
        });
}

void StationShell::showJournal()
{
    if (!m_journalWindow) {
        m_journalWindow = std::make_unique<journal::JournalWindow>(m_station.journalPath(),
                                                                   m_station.journalServer());
        m_window.placeOffTheResult(m_journalWindow.get(), QSize(1000, 560));
        connect(&m_station,
                &Station::journalWritten,
                m_journalWindow.get(),
                &journal::JournalWindow::entriesWritten);
    } else {
        m_journalWindow->refresh();
    }
    m_journalWindow->show();
    m_journalWindow->raise();
    m_journalWindow->activateWindow();
}

void StationShell::showTry()
{
    if (!m_tryWindow) {
        m_tryWindow = std::make_unique<TryWindow>(m_station.settings().programDir,
                                                  m_station.settings().windowsDir);
        m_window.placeOffTheResult(m_tryWindow.get(), QSize(760, 860));
    }
    m_tryWindow->show();
    m_tryWindow->raise();
    m_tryWindow->activateWindow();
}

void StationShell::showJournalAt(const journal::Entry &entry)
{
    showJournal();
    m_journalWindow->showEntry(entry);
}

void StationShell::showGuide()
{
    if (!m_guideWindow) {
        m_guideWindow = std::make_unique<GuideWindow>();
        m_window.placeOffTheResult(m_guideWindow.get(), QSize(760, 640));
    }
    m_guideWindow->show();
    m_guideWindow->raise();
    m_guideWindow->activateWindow();
}

void StationShell::takeBackLastItem(const Station::TakeBackQuery &query)
{
    using base::Prompter;
    if (!query.refusal.isEmpty()) {
        m_prompter.inform(Prompter::Icon::Information, query.refusal);
        return;
    }
    if (m_prompter.askWithDetails(Prompter::Icon::Question,
                                  Prompter::Buttons::YesNo,
                                  TakeBack::question(),
                                  query.rows.join(u'\n'))
        != Prompter::Answer::Yes)
        return;
    if (const QString why = m_station.takeBackLastItem(query.rows); !why.isEmpty())
        m_prompter.inform(Prompter::Icon::Warning, why);
}

void StationShell::keepFontScale(double scale)
{
    try {
        m_station.writeFontScale(scale);
    } catch (const base::Error &error) {
        m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
    }
}

void StationShell::keepHighContrast(bool on)
{
    try {
        m_station.writeHighContrast(on);
        placeListWindow();
    } catch (const base::Error &error) {
        m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
    }
}

void StationShell::keepTouch(bool on)
{
    try {
        m_station.writeTouch(on);
    } catch (const base::Error &error) {
        m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
    }
}

void StationShell::startGlance()
{
    m_window.setFontScale(m_station.settings().fontScale);
    m_window.setShiftStart(m_station.settings().shiftStart);
    m_window.setHighContrast(m_station.settings().highContrast);
    m_window.setTouch(m_station.settings().touch);
    // The table and its fields before the first item.
    try {
        m_window.setPieces(fieldsel::tablePlan(m_station.fieldSelection(), {}, 0, 0));
    } catch (const base::Error &error) {
        m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
    }
    watchList();
    if (m_station.journalPath().isEmpty())
        return;
    // The scans the journal holds from before: a short read through the time index.
    journal::Connection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.database();
    if (journal::openLocalFile(db, m_station.journalPath(), journal::Durability::Checkpoints)
            .isEmpty()) {
        m_window.setRecentEntries(journal::readEntries(db, journal::Store::Local, {}, 80));
        // The shift's counters from the journal: one read of the shift's entries.
        journal::Filter shift;
        shift.from = m_window.shiftCounts().began().toUTC();
        std::vector<journal::Entry> entries
            = journal::readEntries(db, journal::Store::Local, shift, MaxShiftEntriesCounted);
        std::reverse(entries.begin(), entries.end());
        m_window.countShiftEntries(entries);
    }
    db.close();
}

void StationShell::watchList()
{
    if (m_listWatch)
        return;
    // The badge follows the list manager the station talks to, on the same bus; it learns the
    // list's state from the list manager's signals and the bus's word on its name alone.
    const listmanager::BusListManager *listManager = std::as_const(m_listManager).listManager();
    m_listWatch = std::make_unique<listmanager::BusListWatch>(
        listManager ? listManager->bus() : QDBusConnection::sessionBus(),
        m_station.settings().listManagerService,
        m_station.settings().listManagerTimeoutMs);
    connect(m_listWatch.get(),
            &listmanager::ListWatch::stateChanged,
            &m_window,
            &MainWindow::setListState);
    m_window.setListState(m_listWatch->state());
}

void StationShell::showTestConsole()
{
    if (!m_testConsole) {
        m_testConsole = std::make_unique<testconsole::TestConsoleWindow>(
            m_listManager, m_station.product(), m_consolePrompter);
        m_consolePrompter.setParent(m_testConsole.get());
        // Below the main window, as far as the screen allows.
        m_testConsole->adjustSize();
        const QRect screen = m_window.screen()->availableGeometry();
        m_testConsole->move(24,
                            std::min(m_window.frameGeometry().bottom() + 24,
                                     screen.bottom() - m_testConsole->height()));
    }
    m_testConsole->show();
    m_testConsole->raise();
    m_testConsole->activateWindow();
}

} // namespace barlink::app
