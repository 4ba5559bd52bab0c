#pragma once

// Test doubles for the seams between the station's core and its windows: the program's own
// stand-ins, with what only tests ask of them.

#include "app/StandIns.h"
#include "base/Error.h"

namespace barlink::testing {

// Records what the operator would see; the status line starts as the main window's does.
class FakeDisplay : public app::MemoryDisplay
{
public:
    FakeDisplay()
        : MemoryDisplay(QStringLiteral("Ready."))
    {}
};

// Answers message boxes from a script; an unscripted box gets the answer that changes nothing.
using ScriptedPrompter = app::MemoryPrompter;
using InstantPacer = app::InstantPacer;

// A scanner port in memory that can also fail to open.
class FakeScannerPort : public app::MemoryScannerPort
{
public:
    void open(const QString &device, const QString &lineSettings) override
    {
        ++openCalls;
        if (failOpen)
            throw base::Error(8002, QStringLiteral("Invalid port number"));
        MemoryScannerPort::open(device, lineSettings);
    }

    // Bytes come in from the scanner, and the port says so.
    void arrive(const QByteArray &bytes) { received += bytes, Q_EMIT bytesArrived(); }

    bool failOpen = false;
    int openCalls = 0;
};

} // namespace barlink::testing
