#pragma once

// A station as the program puts it together, for the tests, the fuzzing harnesses and the
// benchmarks: its settings file written (prepare()), then the station built, on the embedded
// list manager (its member calls counted, and failing where the test plans so) or one of the
// caller's, with the operator's windows faked and a scanner port of the caller's choice: the
// real serial port adapter (a pseudo-terminal) or a port in memory. Its folders live in a
// root folder: program/KTQ.INI, windows/, gcode/, lists/, csvin/, run/, temp/ and data/ (the
// list manager's list).

#include "Fakes.h"
#include "FaultyListManager.h"
#include "ManualClock.h"
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
#include <QtCore/qtestsupport_core.h>

#include <cstddef>
#include <memory>
#include <type_traits>

namespace barlink::testing {

// How a rig's station is put together; the defaults are what most tests want.
struct RigPlan
{
    // The station's pauses keep window events (and scanner ticks) running on the clock, as the
    // program's do; otherwise they return at once.
    bool realPauses = false;
    // A window instead of the fake display; message boxes answered by another prompter.
    base::OperatorDisplay *shownOn = nullptr;
    base::Prompter *askedOn = nullptr;
    // The journal file (empty: nothing is journaled).
    QString journal = {};
    // The time of every timer and wait of the station and of its real pauses (default: the
    // real one).
    base::Clock *clock = nullptr;
    // A list manager of its own (a bus client) instead of the embedded one; start-up waits for
    // its list as the program does.
    listmanager::ListManagerProvider *listManager = nullptr;
    // Try: built as the try run builds it (settings read, a list handed over, the port open),
    // not to be started.
    app::StationBuilder::Mode mode = app::StationBuilder::Mode::Started;
};

template<typename Port = scanner::SerialScannerPort> struct StationRig
{
    static constexpr int PollMs = 100;

    // The station over the folders prepare() made under root.
    explicit StationRig(const QString &root, const RigPlan &plan = {})
        : eventLoopPacer(plan.clock ? *plan.clock : base::Clock::real())
        , store(std::make_shared<embeddedlist::ListStore>(root + QStringLiteral("/data")))
        , embedded(store)
        , provider(embedded, faults)
        , built(build(root, plan))
        , station(*built)
    {}

    // Makes the folders under `root` and the settings file: the scanner on `device`, polled
    // every PollMs, neither automatic clear nor automatic start, overwrite on. `keys`
    // ("Key=Value" lines) add keys or override these: they come first, in place of the line of
    // the same key (a key given twice is a settings problem). False when a folder or the file
    // cannot be made, or a value is longer than the settings file lets a value be read.
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
        for (const QByteArray &line : defaults) {
            if (given(line))
                continue;
            // A longer value would be cut short where it is read.
            if (line.size() - line.indexOf('=') - 1 > MaxValueLength)
                return false;
            lines += line + "\r\n";
        }
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

    // Writes `pieces` at the terminal `pty`, each once the station has read the one before and
    // a poll interval on `clock` after it, then moves `clock` on a poll interval at a time (at
    // most 50 times) until `handled()` holds; by default until the station has shown something,
    // with nothing left in its buffer or in hand. False when a piece was not read or it
    // was never handled.
    template<typename Pty, typename Handled = std::nullptr_t>
    [[nodiscard]] bool writeUntilHandled(Pty &pty,
                                         base::ManualClock &clock,
                                         const QByteArrayList &pieces,
                                         Handled handled = nullptr)
    {
        const QString &buffer = app::StationProbe(station).poller().scanBuffer();
        const qsizetype mark = display.statusHistory.size();
        const auto done = [&] {
            if constexpr (std::is_null_pointer_v<Handled>)
                return display.statusHistory.size() > mark && buffer.isEmpty()
                       && !app::StationProbe(station).gate().isBusy();
            else
                return handled();
        };
        for (const QByteArray &piece : pieces) {
            if (&piece != &pieces.first())
                clock.advance(PollMs);
            const qsizetype expected = buffer.size() + piece.size();
            if (!pty.write(piece)
                || !QTest::qWaitFor([&] { return buffer.size() >= expected; }, 10000))
                return false;
        }
        for (int i = 0; i < 50 && !done(); ++i)
            clock.advance(PollMs);
        return done();
    }

    // The rows in short (see rowSummaries).
    [[nodiscard]] QStringList rows() const { return rowSummaries(store->rows()); }

    // The characters of a settings value that are read (the rest is cut off).
    static constexpr qsizetype MaxValueLength = 127;

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

private:
    std::unique_ptr<app::Station> build(const QString &root, const RigPlan &plan)
    {
        app::StationBuilder builder(
            plan.shownOn ? *plan.shownOn : display,
            plan.askedOn ? *plan.askedOn : static_cast<base::Prompter &>(prompter),
            plan.realPauses ? static_cast<base::Pacer &>(eventLoopPacer) : instantPacer,
            port,
            plan.listManager ? *plan.listManager
                             : static_cast<listmanager::ListManagerProvider &>(provider));
        builder.mode(plan.mode)
            .folders(root + QStringLiteral("/program"), root + QStringLiteral("/windows"))
            .instanceLockDir(root + QStringLiteral("/run"))
            .journal(plan.journal)
            .clock(plan.clock ? *plan.clock : base::Clock::real());
        if (!plan.listManager)
            builder.listWait(3, 1);
        return builder.build();
    }
};

// The station on a pseudo-terminal.
using PtyStation = StationRig<scanner::SerialScannerPort>;

} // namespace barlink::testing
