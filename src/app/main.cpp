// Barlink: scanned barcode labels become rows of the machine's list.

#include "app/CommandLine.h"
#include "app/GuardedApplication.h"
#include "app/StationShell.h"
#include "ui/Language.h"
#include "ui/MenuTextRoomStyle.h"

#include <QApplication>
#include <QIcon>

using namespace barlink;

int main(int argc, char *argv[])
{
    // --help, --version, the journal export and trying labels need no display and no station.
    if (const std::optional<int> status = app::runWithoutStation(argc, argv))
        return *status;

    app::GuardedApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Barlink"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(BARLINK_VERSION_MAJOR)
                                            .arg(BARLINK_VERSION_MINOR)
                                            .arg(BARLINK_VERSION_PATCH));
    // Every window carries the program's icon; the desktop entry names the same one.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/barlink.svg")));
    QApplication::setDesktopFileName(QStringLiteral("org.barlink.Barlink"));
    // The operator's language: the system locale's, or LANGUAGE's first entry; English otherwise.
    ui::installTranslations(application);
    // Menus keep their whole texts at every text size.
    ui::giveMenuTextRoom();
    // Whatever no handler caught is reported; the program then ends with status 1.
    try {
        app::StationShell shell;
        // QApplication has taken its own options (-platform, -style, ...) off the command line.
        if (!shell.start(QApplication::arguments().size() <= 1))
            return 0;
        return shell.exec();
    } catch (...) {
        app::GuardedApplication::reportCurrentException();
    }
    return 1;
}
