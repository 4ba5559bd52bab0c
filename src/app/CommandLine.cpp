#include "CommandLine.h"

#include "TryRun.h"
#include "base/Error.h"
#include "base/Settings.h"
#include "journal/ExportCommand.h"
#include "journal/LocalFile.h"
#include "journal/ShopStatus.h"
#include "journal/SpillFile.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace barlink::app {

namespace {

QString versionText()
{
    return QStringLiteral("barlink %1.%2.%3\n")
        .arg(BARLINK_VERSION_MAJOR)
        .arg(BARLINK_VERSION_MINOR)
        .arg(BARLINK_VERSION_PATCH);
}

QString helpText()
{
    return QStringLiteral(
        "Usage: barlink [TEXT...]\n"
        "Barlink: scanned barcode labels become rows of the machine's list.\n"
        "\n"
        "Started without arguments, Barlink waits at start-up until the list manager hands\n"
        "out a list. Started with any other text on its command line, it asks for none.\n"
        "\n"
        "The list manager is a program of its own, barlink-listmanager, reached over the\n"
        "session bus (the name org.barlink.ListManager, or the one the setting\n"
        "ListManagerService names); the bus starts it at the first call. Barlink needs a\n"
        "session bus: a desktop session has one. Started without one (from a service\n"
        "manager, over ssh), start it under dbus-run-session (dbus-run-session -- barlink),\n"
        "or give it the session's bus in DBUS_SESSION_BUS_ADDRESS.\n"
        "\n"
        "Options:\n"
        "  -h, --help     Show this help and exit.\n"
        "  -v, --version  Show the version and exit.\n"
        "  --export-journal FILE\n"
        "                 Write the scan journal as CSV to FILE (- for the standard output)\n"
        "                 and exit. A device or a pipe is written directly; the journal's\n"
        "                 own files and its spill file are never written over. A damaged\n"
        "                 journal file gives every entry that can be read; the standard\n"
        "                 error says how many could not be, and the exit status is 1, as\n"
        "                 for a write that fails. With it:\n"
        "  --since YYYY-MM-DD, --until YYYY-MM-DD\n"
        "                 The entries from the start of the first day, up to the end of the\n"
        "                 second (that day included). Days are UTC days, as the times in\n"
        "                 the CSV are.\n"
        "  --shop         The shop-wide journal instead of the station's.\n"
        "  --station NAME\n"
        "                 One station's entries.\n"
        "  --journal FILE\n"
        "                 That journal file instead of the station's (a copy, one moved\n"
        "                 aside); it is read as it is, never changed.\n"
        "  --raw          A cell from a label or a setting (station, label, reason, field,\n"
        "                 program, X, Y, Z) that begins with = + - @, a tab or a carriage\n"
        "                 return is written as it is; without --raw it is written after a ',\n"
        "                 so that a spreadsheet shows it as text, not a formula (a negative\n"
        "                 number alone, such as -3.5, is written as it is).\n"
        "  --shop-status [--stale MINUTES]\n"
        "                 Show every station that forwards to the shop-wide journal: when\n"
        "                 the server last heard of it, its newest entry, the entries still\n"
        "                 waiting, its version and journal file; a station not seen for\n"
        "                 more than MINUTES (10), or with a last report in the future, is\n"
        "                 marked. Answers within 15 s. Exit status as a monitoring plugin's:\n"
        "                 0 every station seen, 1 a station not seen, 2 the server cannot be\n"
        "                 reached or did not answer in time, 3 a wrong command line, no\n"
        "                 JournalServer setting, no station on the server, or a table that\n"
        "                 cannot be read.\n"
        "  --try LABEL...\n"
        "                 Show what a freshly started Barlink would do with the labels, in\n"
        "                 order, and exit, adding, writing and sending nothing: the rows as\n"
        "                 the list manager would receive them on the standard output; on\n"
        "                 the standard error a line per label, each followed by the status\n"
        "                 line texts and message boxes the station would show for it.\n"
        "                 Escapes in a label: \\r \\n \\xHH \\\\.\n"
        "                 Exit status 0 when every label was taken and no item waits for\n"
        "                 more labels, 1 when one was refused, failed or held by a message\n"
        "                 box, 3 when the labels end with an item still waiting, 2 for a\n"
        "                 wrong command line.\n"
        "\n"
        "The toolkit's own options (-platform NAME, -style NAME, ...) are taken as well.\n");
}

// The JournalServer key of the settings file the station would read.
QString journalServerSetting(const QString &programDir)
{
    base::Settings settings;
    settings.settingsFilePath = QDir(programDir).filePath(settings::SettingsFileName);
    if (!QFileInfo::exists(settings.settingsFilePath))
        settings.settingsFilePath
            = QDir(settings::windowsDirectory()).filePath(settings::SettingsFileName);
    base::Reason problem;
    const QString server = settings::readJournalServer(settings, &problem);
    if (!problem.isEmpty())
        std::fputs(qPrintable(QStringLiteral("barlink: %1\n").arg(problem.english())), stderr);
    return server;
}

} // namespace

std::optional<QString> commandLineAnswer(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help"))
            return helpText();
        if (argument == QLatin1String("-v") || argument == QLatin1String("--version"))
            return versionText();
    }
    return std::nullopt;
}

std::optional<int> runWithoutStation(int &argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> answer = commandLineAnswer(arguments)) {
        std::fputs(answer->toLocal8Bit().constData(), stdout);
        return 0;
    }
    const bool exportJournal = arguments.contains(QLatin1String("--export-journal"));
    const bool shopStatus = arguments.contains(QLatin1String("--shop-status"));
    if (!exportJournal && !shopStatus && !arguments.contains(QLatin1String("--try")))
        return std::nullopt;

    QCoreApplication core(argc, argv);
    const QString programDir = QCoreApplication::applicationDirPath();
    QTextStream err(stderr);
    try {
        if (exportJournal) {
            const journal::ExportPlaces places{.journalPath = journal::defaultJournalPath(),
                                               .server = journalServerSetting(programDir),
                                               .spillPath = journal::defaultSpillPath()};
            return journal::runExportJournal(arguments, places, err).value_or(2);
        }
        QTextStream out(stdout);
        if (shopStatus)
            return journal::runShopStatus(arguments, journalServerSetting(programDir), out)
                .value_or(3);
        return runTryCommand(arguments, programDir, settings::windowsDirectory(), out, err);
    } catch (const base::Error &error) {
        err << "barlink: " << base::unexpectedErrorText(error) << '\n';
    } catch (const std::exception &error) {
        err << "barlink: " << QString::fromLocal8Bit(error.what()) << '\n';
    }
    return 1;
}

} // namespace barlink::app
