// Barlink: scanned barcode labels become rows of the machine's list.

#include "app/CommandLine.h"
#include "app/GuardedApplication.h"
#include "app/StationShell.h"
#include "app/TryRun.h"
#include "journal/ExportCommand.h"
#include "journal/LocalFile.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTextStream>

#include <cstdio>

using namespace barlink;

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

    // The journal export needs no display and no station: it ends here.
    if (arguments.contains(QLatin1String("--export-journal"))) {
        QCoreApplication core(argc, argv);
        // The JournalServer key of the settings file the station would read.
        base::Settings settings;
        settings.settingsFilePath
            = QDir(QCoreApplication::applicationDirPath()).filePath(settings::SettingsFileName);
        if (!QFileInfo::exists(settings.settingsFilePath))
            settings.settingsFilePath
                = QDir(settings::windowsDirectory()).filePath(settings::SettingsFileName);
        const journal::ExportPlaces places{
            .journalPath = journal::defaultJournalPath(),
            .server = settings::readKey(settings, QStringLiteral("JournalServer"), {}, 512)};
        return journal::runExportJournal(arguments, places).value_or(2);
    }

    // Trying labels needs no display and no station either; it writes nothing.
    if (arguments.contains(QLatin1String("--try"))) {
        QCoreApplication core(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return app::runTryCommand(arguments,
                                  QCoreApplication::applicationDirPath(),
                                  settings::windowsDirectory(),
                                  out,
                                  err);
    }

    app::GuardedApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Barlink"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(BARLINK_VERSION_MAJOR)
                                            .arg(BARLINK_VERSION_MINOR)
                                            .arg(BARLINK_VERSION_PATCH));
    // Every window carries the program's icon; the desktop entry names the same one.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/barlink.svg")));
    QApplication::setDesktopFileName(QStringLiteral("org.barlink.Barlink"));
    // Whatever no handler caught is reported; the program then ends with status 1.
    try {
        app::StationShell shell;
        // QApplication has taken its own options (-platform, -style, ...) off the command line.
        if (!shell.start(QApplication::arguments().size() <= 1))
            return 0;
        return QApplication::exec();
    } catch (...) {
        app::GuardedApplication::reportCurrentException();
    }
    return 1;
}
