#include "ScanOptions.h"

#include "scanner/LineSettings.h"
#include "text/EscapedBytes.h"

#include <QCommandLineParser>

namespace barlink::scan {

namespace {

const char *const description = R"(Virtual barcode scanner for Barlink.

By default it creates a pseudo-terminal and prints its device on the first line
("Scanner device: /dev/pts/N"); point Barlink's CommDevice setting at that path,
or at the stable path made with --link. With --device it opens an existing serial
device instead, for example one end of a null-modem cable.

Each LABEL argument (and each --file) is sent as one scanned label, with --gap
milliseconds of quiet between labels so that Barlink handles each on its own.
Without labels, every line typed on standard input is sent as one label.
Characters are sent as single bytes (Latin-1), so "ñ" goes out as 0xF1.
Answers from Barlink are printed as they arrive, one per line: "<- ACK".

Examples:
  barlink-scan --link /tmp/barlink-scanner
  barlink-scan --link /tmp/barlink-scanner "%12PROG.CNC N1 X" "%22600 400 18"
  barlink-scan --device /dev/ttyUSB0 --settings 9600,N,8,1 --eol cr "%END%"
  barlink-scan --link /tmp/barlink-scanner --suffix '\x03' --gap 100 "%START%" "%STOP%"
  barlink-scan --device /dev/pts/5 --wait-acks 1 --timeout 20 "%END%"

Exit status: 0 when done, 1 on a usage or device error, 2 on --timeout,
128 + signal number when interrupted.)";

std::optional<int>
nonNegative(const QCommandLineParser &parser, const QString &name, QString *error)
{
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 0) {
        *error = QStringLiteral("--%1 needs a whole number of 0 or more, not \"%2\"")
                     .arg(name, parser.value(name));
        return std::nullopt;
    }
    return value;
}

std::optional<QByteArray> lineEndNamed(const QString &name)
{
    if (name == QLatin1String("none"))
        return QByteArray();
    if (name == QLatin1String("cr"))
        return QByteArrayLiteral("\r");
    if (name == QLatin1String("lf"))
        return QByteArrayLiteral("\n");
    if (name == QLatin1String("crlf"))
        return QByteArrayLiteral("\r\n");
    return std::nullopt;
}

} // namespace

ScanCommandLine parseScanCommandLine(const QStringList &arguments)
{
    const ScanOptions defaults;
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(description));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("link"),
         QStringLiteral(
             "Also make a symbolic link at <path> to the pseudo-terminal; removed on exit."),
         QStringLiteral("path")},
        {QStringLiteral("device"),
         QStringLiteral("Open this existing serial device instead of making a pseudo-terminal."),
         QStringLiteral("path")},
        {QStringLiteral("settings"),
         QStringLiteral("Line settings for --device (default %1).").arg(defaults.settings),
         QStringLiteral("baud,parity,data,stop"),
         defaults.settings},
        {QStringLiteral("file"),
         QStringLiteral(
             "Send the bytes of this file as one label (a program barcode); may repeat."),
         QStringLiteral("path")},
        {QStringLiteral("eol"),
         QStringLiteral("Line end sent after each label: none, cr, lf or crlf (default none)."),
         QStringLiteral("end"),
         QStringLiteral("none")},
        {QStringLiteral("suffix"),
         QStringLiteral("Bytes sent after each label, written as Barlink's LabelEnd setting: "
                        "\\r, \\n, \\xHH and \\\\ for their byte (for example \\x03). "
                        "Instead of --eol."),
         QStringLiteral("bytes")},
        {QStringLiteral("gap"),
         QStringLiteral("Quiet time between labels in ms (default %1). Barlink takes a label "
                        "as complete after two quiet polls of its port (1000 ms each by default), "
                        "so a shorter gap can merge two labels; with its LabelEnd set to "
                        "the --suffix, any gap will do.")
             .arg(defaults.gapMs),
         QStringLiteral("ms"),
         QString::number(defaults.gapMs)},
        {QStringLiteral("pace"),
         QStringLiteral("Send characters one at a time, this many ms apart (a slow scanner)."),
         QStringLiteral("ms"),
         QStringLiteral("0")},
        {QStringLiteral("delay"),
         QStringLiteral("Wait this many ms before the first label (time to start Barlink)."),
         QStringLiteral("ms"),
         QStringLiteral("0")},
        {QStringLiteral("wait-acks"),
         QStringLiteral("Exit once this many ACK answers have arrived and all labels are sent."),
         QStringLiteral("n"),
         QStringLiteral("0")},
        {QStringLiteral("timeout"),
         QStringLiteral("Give up after this many seconds with exit status 2 (default: never)."),
         QStringLiteral("s"),
         QStringLiteral("0")},
    });
    parser.addPositionalArgument(
        QStringLiteral("label"),
        QStringLiteral("Labels to send; none: read them from standard input."),
        QStringLiteral("[label...]"));

    ScanCommandLine result;
    result.helpText = parser.helpText();
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.helpRequested = true;
        return result;
    }
    if (parser.isSet(version)) {
        result.versionRequested = true;
        return result;
    }

    ScanOptions options;
    options.device = parser.value(QStringLiteral("device"));
    options.link = parser.value(QStringLiteral("link"));
    options.settings = parser.value(QStringLiteral("settings"));
    options.files = parser.values(QStringLiteral("file"));
    options.labels = parser.positionalArguments();

    if (parser.isSet(QStringLiteral("device")) && options.device.isEmpty()) {
        result.error = QStringLiteral("--device needs a device path");
        return result;
    }
    if (!options.device.isEmpty() && !options.link.isEmpty()) {
        result.error = QStringLiteral(
            "--link makes a link to a pseudo-terminal; it cannot go with --device");
        return result;
    }
    if (!barlink::scanner::parseLineSettings(options.settings)) {
        result.error = QStringLiteral("--settings \"%1\" is not of the form 9600,N,8,1")
                           .arg(options.settings);
        return result;
    }
    const auto lineEnd = lineEndNamed(parser.value(QStringLiteral("eol")));
    if (!lineEnd) {
        result.error = QStringLiteral("--eol must be none, cr, lf or crlf");
        return result;
    }
    options.labelEnd = *lineEnd;
    if (parser.isSet(QStringLiteral("suffix"))) {
        if (parser.isSet(QStringLiteral("eol"))) {
            result.error = QStringLiteral("--suffix and --eol both say what follows each label: "
                                          "give one of them");
            return result;
        }
        const barlink::text::EscapedBytes suffix
            = barlink::text::unescapeBytes(parser.value(QStringLiteral("suffix")));
        if (!suffix.ok()) {
            result.error = QStringLiteral("--suffix \"%1\": %2")
                               .arg(parser.value(QStringLiteral("suffix")), suffix.error.english());
            return result;
        }
        options.labelEnd = suffix.bytes;
    }

    QString error;
    const auto gap = nonNegative(parser, QStringLiteral("gap"), &error);
    const auto pace = gap ? nonNegative(parser, QStringLiteral("pace"), &error) : std::nullopt;
    const auto delay = pace ? nonNegative(parser, QStringLiteral("delay"), &error) : std::nullopt;
    const auto acks
        = delay ? nonNegative(parser, QStringLiteral("wait-acks"), &error) : std::nullopt;
    const auto timeout
        = acks ? nonNegative(parser, QStringLiteral("timeout"), &error) : std::nullopt;
    if (!timeout) {
        result.error = error;
        return result;
    }
    options.gapMs = *gap;
    options.paceMs = *pace;
    options.delayMs = *delay;
    options.waitAcks = *acks;
    options.timeoutSeconds = *timeout;
    result.options = options;
    return result;
}

} // namespace barlink::scan
