#include "CommandLine.h"

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
        "Options:\n"
        "  -h, --help     Show this help and exit.\n"
        "  -v, --version  Show the version and exit.\n"
        "  --export-journal FILE [--since YYYY-MM-DD] [--shop] [--station NAME]\n"
        "                 Write the scan journal as CSV to FILE (- for the standard output)\n"
        "                 and exit: the entries from that day on, the shop-wide journal,\n"
        "                 one station's entries.\n"
        "  --try LABEL...\n"
        "                 Show what Barlink would do with the labels, in order, and exit,\n"
        "                 adding, writing and sending nothing: the rows as the list manager\n"
        "                 would receive them on the standard output, one line per label on\n"
        "                 the standard error. Escapes in a label: \\r \\n \\xHH \\\\.\n"
        "                 Exit status 0 when every label was taken, 1 when one was refused\n"
        "                 or failed, 2 for a wrong command line.\n"
        "\n"
        "The toolkit's own options (-platform NAME, -style NAME, ...) are taken as well.\n");
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

} // namespace barlink::app
