// barlink-scan: a virtual barcode scanner for trying out and testing Barlink.

#include "LabelBytes.h"
#include "ScanOptions.h"
#include "ScanSession.h"
#include "VirtualPty.h"

#include "scanner/LineSettings.h"
#include "scanner/PortErrors.h"

#include <QCoreApplication>
#include <QFile>
#include <QSerialPort>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace barlink::scan;

namespace {

int signalPipe[2] = {-1, -1};

extern "C" void onSignal(int number)
{
    const auto byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void printLine(std::FILE *stream, const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void printError(const QString &message)
{
    printLine(stderr, QStringLiteral("barlink-scan: ") + message);
}

// SIGINT and SIGTERM end the event loop, so that the link is removed on the way out.
void watchSignals(QCoreApplication &app)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char number = 0;
        if (::read(signalPipe[0], &number, 1) == 1)
            app.exit(128 + number);
    });
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool openDevice(QSerialPort &port, const ScanOptions &options)
{
    // The command line has checked the settings already.
    const auto settings = barlink::scanner::parseLineSettings(options.settings);
    port.setPortName(options.device);
    barlink::scanner::applyLineSettings(port, settings.value());
    if (port.open(QIODevice::ReadWrite))
        return true;
    printError(QStringLiteral("cannot open %1: %2").arg(options.device, port.errorString()));
    return false;
}

// Labels from the command line: the arguments, then the files.
bool queueGivenLabels(ScanSession &session, const ScanOptions &options)
{
    for (const QString &label : options.labels)
        session.addLabel(labelBytes(label, options.labelEnd));
    for (const QString &path : options.files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            printError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
            return false;
        }
        session.addLabel(file.readAll() + options.labelEnd);
    }
    session.endOfLabels();
    return true;
}

// Labels typed on standard input, one per line.
void readLabelsFromStandardInput(QCoreApplication &app,
                                 ScanSession &session,
                                 const QByteArray &labelEnd)
{
    if (::fcntl(STDIN_FILENO, F_GETFL) == -1) {
        session.endOfLabels(); // no standard input at all
        return;
    }
    auto splitter = std::make_shared<LineSplitter>();
    auto *notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &session, [=, &session] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n > 0) {
            for (const QByteArray &line : splitter->feed(QByteArray(buffer, n)))
                session.addLabel(inputLineBytes(line, labelEnd));
            return;
        }
        if (n < 0 && errno == EINTR)
            return;
        notifier->setEnabled(false);
        const QByteArray last = splitter->takePending();
        if (!last.isEmpty())
            session.addLabel(inputLineBytes(last, labelEnd));
        session.endOfLabels();
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("barlink-scan"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(BARLINK_VERSION_MAJOR)
                                                .arg(BARLINK_VERSION_MINOR)
                                                .arg(BARLINK_VERSION_PATCH));

    const ScanCommandLine commandLine = parseScanCommandLine(QCoreApplication::arguments());
    if (commandLine.helpRequested) {
        std::fputs(commandLine.helpText.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (commandLine.versionRequested) {
        printLine(stdout,
                  QCoreApplication::applicationName() + QLatin1Char(' ')
                      + QCoreApplication::applicationVersion());
        return 0;
    }
    if (!commandLine.options) {
        printError(commandLine.error);
        printError(QStringLiteral("see barlink-scan --help"));
        return 1;
    }
    const ScanOptions &options = *commandLine.options;
    watchSignals(app);

    std::unique_ptr<VirtualPty> pty;
    QSerialPort port;
    ScanSession::Sender send;
    if (options.device.isEmpty()) {
        QString error;
        pty = VirtualPty::create(options.link, &error);
        if (!pty) {
            printError(error);
            return 1;
        }
        printLine(stdout, QStringLiteral("Scanner device: ") + pty->devicePath());
        if (!pty->linkPath().isEmpty())
            printLine(stdout, QStringLiteral("Scanner link: ") + pty->linkPath());
        send = [&pty](const QByteArray &bytes) { pty->send(bytes); };
    } else {
        if (!openDevice(port, options))
            return 1;
        printLine(stdout, QStringLiteral("Scanner device: ") + options.device);
        send = [&port](const QByteArray &bytes) { port.write(bytes); };
    }

    ScanSession session(options, send, [](const QString &line) { printLine(stdout, line); });
    QObject::connect(
        &session, &ScanSession::finished, &app, [&app](int exitCode, const QString &message) {
            if (!message.isEmpty())
                printError(message);
            app.exit(exitCode);
        });
    if (pty) {
        QObject::connect(pty.get(), &VirtualPty::received, &session, &ScanSession::received);
    } else {
        QObject::connect(
            &port, &QSerialPort::readyRead, &session, [&] { session.received(port.readAll()); });
        // A device that went away is closed at once (closing it may report again).
        QObject::connect(&port,
                         &QSerialPort::errorOccurred,
                         &app,
                         [&, lost = false](QSerialPort::SerialPortError error) mutable {
                             if (lost || !barlink::scanner::isDeviceLost(error))
                                 return;
                             lost = true;
                             printError(QStringLiteral("the device went away"));
                             port.close();
                             app.exit(1);
                         });
    }

    if (options.readsStandardInput()) {
        readLabelsFromStandardInput(app, session, options.labelEnd);
    } else if (!queueGivenLabels(session, options)) {
        return 1;
    }
    session.start();
    const int exitCode = app.exec();
    if (port.isOpen())
        port.waitForBytesWritten(1000);
    return exitCode;
}
