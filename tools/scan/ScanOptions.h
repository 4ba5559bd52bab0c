#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace barlink::scan {

// How one run of barlink-scan was asked to behave.
struct ScanOptions
{
    QString device;                                  // --device; empty: make a pseudo-terminal
    QString link;                                    // --link
    QString settings = QStringLiteral("9600,N,8,1"); // --settings, for --device
    QStringList labels;                              // arguments, one label each
    QStringList files;                               // --file, one label each
    QByteArray labelEnd;    // appended to each label, as a scanner's suffix: --eol or --suffix
    int gapMs = 3500;       // --gap, quiet time between labels
    int paceMs = 0;         // --pace, between characters
    int delayMs = 0;        // --delay, before the first label
    int waitAcks = 0;       // --wait-acks
    int timeoutSeconds = 0; // --timeout, 0 = none

    // Without labels and files the labels are read from standard input, one per line.
    [[nodiscard]] bool readsStandardInput() const { return labels.isEmpty() && files.isEmpty(); }
};

// The outcome of reading the command line: options, a help or version request, or an error
// text.
struct ScanCommandLine
{
    std::optional<ScanOptions> options;
    bool helpRequested = false;
    bool versionRequested = false;
    QString error;
    QString helpText;
};

// Reads the command line (arguments()[0] is the program).
[[nodiscard]] ScanCommandLine parseScanCommandLine(const QStringList &arguments);

} // namespace barlink::scan
