// barlink-label: makes the labels a Barlink station reads, as text and as barcode images.

#include "BarcodeImage.h"
#include "LabelOptions.h"
#include "LabelText.h"
#include "SheetRun.h"

#include "scanner/ScanPoller.h"

#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include <unistd.h>

using namespace barlink::labeltool;

namespace {

void printError(const QString &message)
{
    std::fputs(("barlink-label: " + message + '\n').toLocal8Bit().constData(), stderr);
}

bool isPrintableAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

bool readProgramFile(const QString &path, QByteArray *content)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    // More than the station takes in one label is of no use.
    *content = file.read(barlink::scanner::ScanPoller::MaxScanBuffer + 1);
    return true;
}

bool writeText(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty() || path == QLatin1String("-")) {
        return std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout)
                   == std::size_t(bytes.size())
               && std::fflush(stdout) == 0;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()
        || !file.flush()) {
        printError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool sheetRequested(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--sheet", 7) == 0)
            return true;
    }
    return false;
}

int makeSheets(const LabelRequest &request)
{
    SheetJob job{
        request.sheet, request.imagePath, request.programsDir, *request.layout, request.dpi};
    // A progress line for long lists, where someone watches the terminal.
    const bool terminal = isatty(STDERR_FILENO) != 0;
    const LabelProgress progress = [terminal](qsizetype written, qsizetype total) {
        if (terminal && total >= 500 && (written % 100 == 0 || written == total)) {
            std::fprintf(stderr,
                         "\rbarlink-label: %lld of %lld labels%s",
                         qlonglong(written),
                         qlonglong(total),
                         written == total ? "\n" : "");
        }
    };
    const SheetReport report = barlink::labeltool::makeSheets(job, progress);
    for (const QString &note : report.notes)
        printError(QStringLiteral("note: ") + note);
    if (!report.error.isEmpty())
        printError(report.error);
    if (report.error.isEmpty() || !report.leftOut.isEmpty()) {
        const QString line = summaryLine(report, job.layout) + QLatin1Char('\n');
        std::fputs(line.toLocal8Bit().constData(), report.error.isEmpty() ? stdout : stderr);
    }
    return sheetExitStatus(report);
}

} // namespace

int main(int argc, char *argv[])
{
    // Labels for a cutting list are drawn with fonts, which need the GUI module; no window
    // is shown, so no display is needed.
    const bool sheets = sheetRequested(argc, argv);
    if (sheets && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app
        = sheets ? std::make_unique<QGuiApplication>(argc, argv)
                 : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("barlink-label"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(BARLINK_VERSION_MAJOR)
                                                .arg(BARLINK_VERSION_MINOR)
                                                .arg(BARLINK_VERSION_PATCH));

    const LabelCommandLine commandLine = parseLabelCommandLine(QCoreApplication::arguments());
    if (commandLine.helpRequested) {
        std::fputs(commandLine.helpText.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (commandLine.versionRequested) {
        const QString line = QCoreApplication::applicationName() + QLatin1Char(' ')
                             + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        std::fputs(line.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!commandLine.request) {
        printError(commandLine.error);
        printError(QStringLiteral("see barlink-label --help"));
        return sheets ? FailedStatus : 1;
    }
    const LabelRequest &request = *commandLine.request;
    if (!request.sheet.isEmpty())
        return makeSheets(request);

    QByteArray programFile;
    if (request.kind == QLatin1String("program")
        && !readProgramFile(request.values.value(1), &programFile))
        return 1;
    const LabelText label = composeLabel(request, programFile);
    if (!label.ok()) {
        printError(label.error);
        return 1;
    }
    for (const QString &note : label.notes)
        printError(QStringLiteral("note: ") + note);

    const QByteArray bytes = label.bytes();
    if (request.textToStandardOutput() && !writeText(QString(), bytes))
        return 1;
    if (!request.textPath.isEmpty() && request.textPath != QLatin1String("-")
        && !writeText(request.textPath, bytes))
        return 1;
    if (!request.imagePath.isEmpty()) {
        ImageOptions options;
        options.symbology = request.symbology.value_or(defaultSymbology(label.twoDimensional));
        options.scale = request.scale;
        options.humanReadable = isPrintableAscii(bytes);
        if (options.symbology == Symbology::Code128 && !isPrintableAscii(bytes))
            printError(QStringLiteral("note: Code 128 carries these characters with shift codes "
                                      "that scanners read differently; datamatrix is safer."));
        const QString error = writeBarcodeImage(bytes, request.imagePath, options);
        if (!error.isEmpty()) {
            printError(error);
            if (options.symbology != Symbology::Code128 && !request.compress)
                printError(QStringLiteral("a long program fits better with --compress"));
            return 1;
        }
    }
    return 0;
}
