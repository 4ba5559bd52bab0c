// Barlink: scanned barcode labels become rows of the machine's list.

#include "app/EventLoopPacer.h"
#include "app/MainWindow.h"
#include "app/PromptDialog.h"
#include "app/SettingsDialog.h"
#include "app/SettingsFile.h"
#include "app/Station.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListManagerWindow.h"
#include "program/listmanager/ListStore.h"
#include "scanner/SerialScannerPort.h"

#include <QApplication>
#include <QDialog>

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
    [[nodiscard]] listmanager::ListStore *store() const
    {
        return m_provider ? m_provider->store().get() : nullptr;
    }

private:
    listmanager::EmbeddedListManagerProvider &provider()
    {
        if (!m_provider) {
            m_provider = std::make_unique<listmanager::EmbeddedListManagerProvider>(
                std::make_shared<listmanager::ListStore>());
        }
        return *m_provider;
    }

    std::unique_ptr<listmanager::EmbeddedListManagerProvider> m_provider;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Barlink"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(BARLINK_VERSION_MAJOR)
                                            .arg(BARLINK_VERSION_MINOR)
                                            .arg(BARLINK_VERSION_PATCH));
    // QApplication has taken its own options (-platform, -style, ...) off the command line.
    const bool commandLineEmpty = QApplication::arguments().size() <= 1;

    app::MainWindow window;
    app::PromptDialog prompter(&window);
    app::EventLoopPacer pacer;
    scanner::SerialScannerPort port;
    EmbeddedListManager listManager;

    app::Station station({window, prompter, pacer, port, listManager},
                         QApplication::applicationDirPath(),
                         app::windowsDirectory());

    auto portSettingsDialog = [&] {
        app::SettingsDialog dialog(station.settings(), prompter, &window);
        return dialog.exec() == QDialog::Accepted;
    };
    station.portControl().showSettingsDialog = portSettingsDialog;
    window.onPortSettings = [&] {
        if (portSettingsDialog())
            station.portControl().applySerialSettings();
    };
    window.onClose = [&] { station.shutdown(); };
    window.enableMenus();

    if (station.start(commandLineEmpty) != app::Startup::Outcome::Running)
        return 0;
    window.bindOptions(station.options());
    window.setLabelInterpreter(&station.dispatcher(), &station.gate());
    station.startPolling();

    // The main window at the top left of the screen, the list manager beside it.
    window.move(24, 24);
    window.show();
    std::unique_ptr<listmanager::ListManagerWindow> listWindow;
    if (listmanager::ListStore *store = listManager.store()) {
        listWindow = std::make_unique<listmanager::ListManagerWindow>(store);
        listWindow->resize(900, 560);
        listWindow->move(window.frameGeometry().right() + 24, 24);
        if (store->visible())
            listWindow->show();
    }

    return QApplication::exec();
}
