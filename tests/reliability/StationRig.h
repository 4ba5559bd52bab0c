#pragma once

// A station put together as the program does it, on the embedded list manager (its member
// calls counted, and failing where the test plans so), with the operator's windows faked and
// a scanner port of the test's choice. Folders live in a temporary root:
//   program/KTQ.INI  gcode/  lists/  csvin/  collected.csv  data/ (the list manager's list)

#include "Fakes.h"
#include "FaultyListManager.h"
#include "app/Station.h"
#include "base/StatusTexts.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>

#include <memory>

namespace barlink::testing {

inline constexpr int RigPollMs = 100;

inline bool writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes the folders of a station under root.
inline bool makeStationFolders(const QString &root)
{
    for (const char *folder : {"program", "windows", "gcode", "lists", "csvin", "run", "temp"}) {
        if (!QDir(root).mkpath(QLatin1String(folder)))
            return false;
    }
    return true;
}

// The settings file at `path`: the scanner on `device`, polled every RigPollMs, folders under
// `root`, neither automatic clear nor automatic start. `keys` ("Key=Value" lines) add keys or
// override these.
inline bool writeStationSettings(const QString &path,
                                 const QString &root,
                                 const QString &device,
                                 const QByteArray &keys = {})
{
    const QByteArray r = root.toLocal8Bit();
    QMap<QByteArray, QByteArray> values{
        {"CommDevice", device.toLocal8Bit()},
        {"CommPollTime", QByteArray::number(RigPollMs)},
        {"Settings", "9600,N,8,1"},
        {"GCodePath", r + "/gcode/"},
        {"ListPath", r + "/lists/"},
        {"CSVInPath", r + "/csvin"},
        {"CSVOutPath", r + "/collected.csv"},
        {"AutoClear", " 0"},
        {"AutoStart", " 0"},
        {"Overwrite", " 1"},
    };
    for (const QByteArray &line : keys.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            values.insert(line.left(equals).trimmed(), line.mid(equals + 1));
    }
    QByteArray ini = "[GESTBCOD]\r\n";
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        ini += it.key() + '=' + it.value() + "\r\n";
    return writeFileBytes(path, ini);
}

// A station on `port` with its list in root/data.
template<typename Port> struct StationRig
{
    explicit StationRig(const QString &root)
        : store(std::make_shared<embeddedlist::ListStore>(root + QStringLiteral("/data")))
        , embedded(store)
        , provider(embedded, faults)
        , station(display,
                  prompter,
                  pacer,
                  port,
                  provider,
                  root + QStringLiteral("/program"),
                  root + QStringLiteral("/windows"))
    {
        station.setInstanceLockDir(root + QStringLiteral("/run"));
        station.setListWait(3, 1);
    }

    // The program names of the list's rows, in order.
    [[nodiscard]] QStringList rowNames() const
    {
        QStringList names;
        for (const QString &row : store->rows()) {
            const qsizetype end = row.indexOf(QLatin1Char(';'));
            names << row.mid(5, end - 5); // "#161=" NAME ";"
        }
        return names;
    }

    FakeDisplay display;
    ScriptedPrompter prompter;
    InstantPacer pacer;
    Port port;
    ListManagerFaults faults;
    std::shared_ptr<embeddedlist::ListStore> store;
    embeddedlist::EmbeddedListManagerProvider embedded;
    FaultyProvider provider;
    app::Station station;
};

// Hands `bytes` to the fake port as one burst and runs polling ticks until the station has
// handled everything in it (or 20 ticks have passed).
inline void scanWithTicks(StationRig<FakeScannerPort> &rig, const QByteArray &bytes)
{
    rig.port.received += bytes;
    scanner::ScanPoller &poller = rig.station.poller();
    for (int i = 0; i < 20; ++i) {
        poller.tick();
        if (rig.port.received.isEmpty() && poller.scanBuffer().isEmpty() && poller.idleTicks() == 0)
            return;
    }
}

} // namespace barlink::testing
