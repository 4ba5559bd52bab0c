// Barlink: scanned barcode labels become rows of the machine's list.

#include "app/AboutDialog.h"
#include "app/CommandLine.h"
#include "app/EventLoopPacer.h"
#include "app/GuardedApplication.h"
#include "app/MainWindow.h"
#include "app/PromptDialog.h"
#include "app/SettingsDialog.h"
#include "app/Station.h"
#include "base/CenterForm.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListManagerWindow.h"
#include "embeddedlist/ListStore.h"
#include "exclusion/ExclusionChoice.h"
#include "exclusion/ExclusionDialog.h"
#include "fieldsel/FieldSelectionDialog.h"
#include "program/EditorLaunch.h"
#include "scanner/SerialScannerPort.h"
#include "settings/SettingsFile.h"
#include "testconsole/TestConsoleWindow.h"

#ifdef Q_OS_LINUX
#include "program/LinuxEditorPlatform.h"
#endif

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QShortcut>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace barlink;

namespace {

// Creates the embedded list manager when start-up first asks for it, so that a
// second copy of the program, which ends at once, never touches the stored list.
class EmbeddedListManager final : public listmanager::ListManagerProvider
{
public:
    std::shared_ptr<listmanager::Application> createApplication() override
    {
        return provider().createApplication();
    }
    std::shared_ptr<listmanager::LateBoundList> createObject(const QString &progId) override
    {
        return provider().createObject(progId);
    }
    [[nodiscard]] embeddedlist::ListStore *store() const
    {
        return m_provider ? m_provider->store().get() : nullptr;
    }
    // The store, made now if the list manager was not asked for yet.
    [[nodiscard]] embeddedlist::ListStore *openStore() { return provider().store().get(); }

private:
    embeddedlist::EmbeddedListManagerProvider &provider()
    {
        if (!m_provider) {
            m_provider = std::make_unique<embeddedlist::EmbeddedListManagerProvider>(
                std::make_shared<embeddedlist::ListStore>());
        }
        return *m_provider;
    }

    std::unique_ptr<embeddedlist::EmbeddedListManagerProvider> m_provider;
};

// The station's whole run, from start-up to the end of the event loop.
int runStation()
{
    // QApplication has taken its own options (-platform, -style, ...) off the command line.
    const bool commandLineEmpty = QApplication::arguments().size() <= 1;

    app::MainWindow window;
    app::PromptDialog prompter(&window);
    app::EventLoopPacer pacer;
    scanner::SerialScannerPort port;
    EmbeddedListManager listManager;

    app::Station station(window,
                         prompter,
                         pacer,
                         port,
                         listManager,
                         QApplication::applicationDirPath(),
                         settings::windowsDirectory());

    // OK in the dialog opens the port with what it shows; Cancel leaves the port as it is.
    auto portSettingsDialog = [&] {
        app::SettingsDialog dialog(station.settings(), prompter, station.portControl(), &window);
        dialog.exec();
    };
    QObject::connect(&station.portControl(),
                     &app::PortControl::settingsDialogRequested,
                     &window,
                     portSettingsDialog);
    QObject::connect(&window, &app::MainWindow::portSettingsRequested, &window, portSettingsDialog);
    QObject::connect(&window, &app::MainWindow::closed, &station, &app::Station::shutdown);

    // The field selection setup dialog is made at its first opening and kept: it shows and
    // edits the one field selection model of the station, which is loaded on first use.
    std::unique_ptr<fieldsel::FieldSelectionDialog> fieldSelection;
    QObject::connect(&window, &app::MainWindow::autoFieldSelectRequested, &window, [&] {
        try {
            if (!fieldSelection) {
                fieldSelection = std::make_unique<fieldsel::FieldSelectionDialog>(
                    station.autoSel().settings(), station.settings(), station.item(), &window);
            }
            fieldSelection->exec();
        } catch (const Error &error) {
            prompter.inform(base::Prompter::Icon::Critical, unexpectedErrorText(error));
        }
    });

    // The exclusion choice lives for the run; every opening of the dialog starts from it.
    exclusion::ExclusionChoice exclusionChoice(station.settings(), window);
    QObject::connect(&window, &app::MainWindow::exclusionInsertionRequested, &window, [&] {
        exclusion::ExclusionDialog dialog(exclusionChoice, prompter, &window);
        dialog.exec();
    });
    QObject::connect(&window, &app::MainWindow::aboutRequested, &window, [&] {
        app::AboutDialog dialog(&window);
        dialog.exec();
    });

#ifdef Q_OS_LINUX
    program::LinuxEditorPlatform editorPlatform;
    program::EditorLaunch editorLaunch(editorPlatform, pacer, window, station.settings());
    // Items sent from scanned labels and from program barcodes open the same editor.
    QObject::connect(&station,
                     &app::Station::editorRequested,
                     &station,
                     [&](const QString &programName) { editorLaunch.launchEditor(programName); });
#endif

    // The list manager test console is for developers: with BARLINK_TEST_CONSOLE=1 it opens
    // beside the main window, and Ctrl+Shift+T on the main window brings it back once closed.
    const bool testConsoleWanted = qEnvironmentVariableIntValue("BARLINK_TEST_CONSOLE") == 1;
    app::PromptDialog consolePrompter;
    std::unique_ptr<testconsole::TestConsoleWindow> testConsole;
    auto openTestConsole = [&] {
        if (!testConsole) {
            testConsole = std::make_unique<testconsole::TestConsoleWindow>(
                listManager, station.product(), consolePrompter);
            consolePrompter.setParent(testConsole.get());
            // Below the main window, as far as the screen allows.
            testConsole->adjustSize();
            const QRect screen = window.screen()->availableGeometry();
            testConsole->move(24,
                              std::min(window.frameGeometry().bottom() + 24,
                                       screen.bottom() - testConsole->height()));
        }
        testConsole->show();
        testConsole->raise();
        testConsole->activateWindow();
    };
    if (testConsoleWanted) {
        auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), &window);
        QObject::connect(shortcut, &QShortcut::activated, &window, openTestConsole);
    }
    // The list manager's window; the View menu shows it again once it has been closed.
    std::unique_ptr<embeddedlist::ListManagerWindow> listWindow;
    const auto makeListWindow = [&](embeddedlist::ListStore *store) {
        listWindow = std::make_unique<embeddedlist::ListManagerWindow>(store);
        // Beside the main window, or below it, wholly on the screen at any scale.
        base::placeWindowBeside(listWindow.get(), &window, QSize(900, 560));
    };
    QObject::connect(&window, &app::MainWindow::listManagerRequested, &window, [&] {
        embeddedlist::ListStore *store = listManager.openStore();
        if (!listWindow)
            makeListWindow(store);
        store->setVisible(true);
        listWindow->show();
        listWindow->raise();
        listWindow->activateWindow();
    });
    window.enableMenus();

    if (station.start(commandLineEmpty) != app::Startup::Outcome::Running)
        return 0;
    window.bindOptions(station.options());
    window.setLabelInterpreter(&station.dispatcher(), &station.gate());
    station.startPolling();

    // The main window at the top left of the screen, the list manager beside it.
    window.move(24, 24);
    window.show();
    if (embeddedlist::ListStore *store = listManager.store()) {
        makeListWindow(store);
        if (store->visible())
            listWindow->show();
    }
    if (testConsoleWanted)
        openTestConsole();

    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // --help and --version are answered before anything else happens: no display is needed.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> answer = app::commandLineAnswer(arguments)) {
        std::fputs(answer->toLocal8Bit().constData(), stdout);
        return 0;
    }

    app::GuardedApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Barlink"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(BARLINK_VERSION_MAJOR)
                                            .arg(BARLINK_VERSION_MINOR)
                                            .arg(BARLINK_VERSION_PATCH));
    // Whatever no handler caught is reported; the program then ends with status 1.
    try {
        return runStation();
    } catch (...) {
        app::GuardedApplication::reportCurrentException();
    }
    return 1;
}
