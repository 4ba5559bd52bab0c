#pragma once

// A station as the program puts it together, on the real serial port adapter and the embedded
// list manager, with the operator's windows faked. Its folders live in a temporary root:
// program/KTQ.INI, windows/, gcode/, lists/, csvin/, temp/, run/ and data/ (the list).

#include "Fakes.h"
#include "RigSupport.h"
#include "TestSupport.h"
#include "app/EventLoopPacer.h"
#include "app/Station.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"
#include "scanner/SerialScannerPort.h"

#include <QDir>
#include <QMap>

#include <memory>

namespace barlink::testing {

// A whole station whose scanner port is a real serial device (a pseudo-terminal in tests).
struct PtyStation
{
    static constexpr int PollMs = 100;

    // realPauses: the station's pauses keep window events (and scanner ticks) running, as in
    // the program; otherwise they return at once.
    explicit PtyStation(const QString &root, bool realPauses = false)
        : store(std::make_shared<embeddedlist::ListStore>(root + QStringLiteral("/data")))
        , provider(store)
        , station(display,
                  prompter,
                  realPauses ? static_cast<base::Pacer &>(eventLoopPacer) : instantPacer,
                  port,
                  provider,
                  root + QStringLiteral("/program"),
                  root + QStringLiteral("/windows"))
    {
        station.setInstanceLockDir(root + QStringLiteral("/run"));
        station.setListWait(3, 1);
    }

    // Makes the folders under `root` and the settings file: the scanner on `device`, polled
    // every PollMs, neither automatic clear nor automatic start, overwrite on. `keys`
    // ("Key=Value" lines) add keys or override these.
    static bool prepare(const QString &root, const QString &device, const QByteArray &keys = {})
    {
        for (const char *folder : {"program", "windows", "gcode", "lists", "csvin", "temp"}) {
            if (!QDir(root).mkpath(QLatin1String(folder)))
                return false;
        }
        const QByteArray r = root.toLocal8Bit();
        QMap<QByteArray, QByteArray> values{{"CommDevice", device.toLocal8Bit()},
                                            {"CommPollTime", QByteArray::number(PollMs)},
                                            {"Settings", "9600,N,8,1"},
                                            {"GCodePath", r + "/gcode/"},
                                            {"ListPath", r + "/lists/"},
                                            {"CSVInPath", r + "/csvin"},
                                            {"CSVOutPath", r + "/collected.csv"},
                                            {"AutoClear", " 0"},
                                            {"AutoStart", " 0"},
                                            {"Overwrite", " 1"}};
        for (const QByteArray &line : keys.split('\n')) {
            const qsizetype equals = line.indexOf('=');
            if (equals > 0)
                values.insert(line.left(equals), line.mid(equals + 1).chopped(line.endsWith('\r')));
        }
        QByteArray ini = "[GESTBCOD]\r\n";
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            ini += it.key() + '=' + it.value() + "\r\n";
        return writeBytes(root + QStringLiteral("/program/KTQ.INI"), ini);
    }

    // Starts the station and its polling; false when it did not come up with its port open.
    [[nodiscard]] bool start()
    {
        if (station.start(true) != app::Startup::Outcome::Running || !port.isOpen())
            return false;
        station.startPolling();
        return true;
    }

    [[nodiscard]] QStringList rows() const { return rowSummaries(store->rows()); }

    FakeDisplay display;
    ScriptedPrompter prompter;
    InstantPacer instantPacer;
    app::EventLoopPacer eventLoopPacer;
    scanner::SerialScannerPort port;
    std::shared_ptr<embeddedlist::ListStore> store;
    embeddedlist::EmbeddedListManagerProvider provider;
    app::Station station;
};

} // namespace barlink::testing
