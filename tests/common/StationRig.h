#pragma once

// A station as the program puts it together, on the embedded list manager (its member calls
// counted, and failing where the test plans so), with the operator's windows faked and a
// scanner port of the test's choice: the real serial port adapter (a pseudo-terminal in
// tests) or a port in memory. Its folders live in a temporary root: program/KTQ.INI,
// windows/, gcode/, lists/, csvin/, run/, temp/ and data/ (the list manager's list).

#include "Fakes.h"
#include "FaultyListManager.h"
#include "RigSupport.h"
#include "StationProbe.h"
#include "TestSupport.h"
#include "app/EventLoopPacer.h"
#include "app/Station.h"
#include "app/StationBuilder.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"
#include "scanner/SerialScannerPort.h"

#include <QDir>

#include <memory>

namespace barlink::testing {

template<typename Port = scanner::SerialScannerPort> struct StationRig
{
    static constexpr int PollMs = 100;

    // realPauses: the station's pauses keep window events (and scanner ticks) running, as in
    // the program; otherwise they return at once. shownOn: a window instead of the fake.
    // journal: the journal file (empty: nothing is journaled). clock: the poller's, the port's
    // and the real pauses' time.
    explicit StationRig(const QString &root,
                        bool realPauses = false,
                        base::OperatorDisplay *shownOn = nullptr,
                        const QString &journal = {},
                        base::Clock &clock = base::Clock::real())
        : eventLoopPacer(clock)
        , store(std::make_shared<embeddedlist::ListStore>(root + QStringLiteral("/data")))
        , embedded(store)
        , provider(embedded, faults)
        , built(app::StationBuilder(shownOn ? *shownOn : display,
                                    prompter,
                                    realPauses ? static_cast<base::Pacer &>(eventLoopPacer)
                                               : instantPacer,
                                    port,
                                    provider)
                    .folders(root + QStringLiteral("/program"), root + QStringLiteral("/windows"))
                    .instanceLockDir(root + QStringLiteral("/run"))
                    .listWait(3, 1)
                    .journal(journal)
                    .clock(clock)
                    .build())
        , station(*built)
    {}

    // Makes the folders under `root` and the settings file: the scanner on `device`, polled
    // every PollMs, neither automatic clear nor automatic start, overwrite on. `keys`
    // ("Key=Value" lines) add keys or override these: they come first, in place of the line of
    // the same key (a key given twice is a settings problem).
    static bool prepare(const QString &root, const QString &device, const QByteArray &keys = {})
    {
        for (const char *folder : {"program", "windows", "gcode", "lists", "csvin", "run", "temp"})
            if (!QDir(root).mkpath(QLatin1String(folder)))
                return false;
        const QByteArray r = root.toLocal8Bit();
        const QByteArrayList defaults{"CommDevice=" + device.toLocal8Bit(),
                                      "CommPollTime=" + QByteArray::number(PollMs),
                                      "Settings=9600,N,8,1",
                                      "GCodePath=" + r + "/gcode/",
                                      "ListPath=" + r + "/lists/",
                                      "CSVInPath=" + r + "/csvin",
                                      "CSVOutPath=" + r + "/collected.csv",
                                      "AutoClear= 0",
                                      "AutoStart= 0",
                                      "Overwrite= 1"};
        QByteArray lines = keys + (keys.isEmpty() || keys.endsWith('\n') ? "" : "\r\n");
        const auto given = [&keys](const QByteArray &line) {
            const QByteArray name = line.left(line.indexOf('=')).toLower();
            for (const QByteArray &key : keys.split('\n'))
                if (key.left(key.indexOf('=')).trimmed().toLower() == name)
                    return true;
            return false;
        };
        for (const QByteArray &line : defaults)
            if (!given(line))
                lines += line + "\r\n";
        return writeBytes(root + QStringLiteral("/program/KTQ.INI"), "[GESTBCOD]\r\n" + lines);
    }

    // Starts the station and its polling; false when it did not come up with its port open.
    [[nodiscard]] bool start()
    {
        const bool up = station.start(true) == app::Startup::Outcome::Running && port.isOpen();
        if (up)
            station.startPolling();
        return up;
    }

    // With the port in memory: hands `bytes` over as one burst and runs polling ticks until
    // the station has handled everything in it (or 20 ticks have passed).
    void scanWithTicks(const QByteArray &bytes)
    {
        port.received += bytes;
        station.readScannerNow(20);
    }

    // The rows in short (see rowSummaries).
    [[nodiscard]] QStringList rows() const { return rowSummaries(store->rows()); }

    FakeDisplay display;
    ScriptedPrompter prompter;
    InstantPacer instantPacer;
    app::EventLoopPacer eventLoopPacer;
    Port port;
    ListManagerFaults faults;
    std::shared_ptr<embeddedlist::ListStore> store;
    embeddedlist::EmbeddedListManagerProvider embedded;
    FaultyProvider provider;
    // The station the builder made, and the name it goes by.
    std::unique_ptr<app::Station> built;
    app::Station &station;
};

// The station on a pseudo-terminal.
using PtyStation = StationRig<scanner::SerialScannerPort>;

} // namespace barlink::testing
