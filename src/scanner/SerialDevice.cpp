#include "scanner/SerialDevice.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>
#include <QStringList>

#include <algorithm>
#include <tuple>

namespace barlink::scanner {

namespace {

// "ttyS10" -> ("ttyS", 10); a name without a number at its end gets -1.
std::pair<QString, long long> nameAndNumber(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    qsizetype digits = name.size();
    while (digits > 0 && name.at(digits - 1).isDigit())
        --digits;
    bool ok = false;
    const long long number = name.mid(digits).toLongLong(&ok);
    return {name.left(digits), ok ? number : -1};
}

} // namespace

QString SerialDevice::caption() const
{
    QStringList about;
    if (!description.isEmpty())
        about << description;
    if (!manufacturer.isEmpty() && manufacturer != description)
        about << manufacturer;
    QString note = about.join(QStringLiteral(", "));
    if (path != systemPath) {
        const QString name = QFileInfo(systemPath).fileName();
        note = note.isEmpty() ? name : name + QStringLiteral(": ") + note;
    }
    return note.isEmpty() ? path : path + QLatin1Char('\n') + note;
}

QList<SerialDevice> systemSerialDevices()
{
    QList<SerialDevice> devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.systemPath = info.systemLocation();
        device.description = info.description();
        device.manufacturer = info.manufacturer();
        devices.append(device);
    }
    return withStableNames(std::move(devices), QStringLiteral("/dev/serial/by-id"));
}

QList<SerialDevice> withStableNames(QList<SerialDevice> devices, const QString &byIdFolder)
{
    // Link target -> the first link to it by name.
    QHash<QString, QString> stableName;
    const QFileInfoList links
        = QDir(byIdFolder)
              .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        if (link.isSymLink() && !stableName.contains(QDir::cleanPath(link.symLinkTarget())))
            stableName.insert(QDir::cleanPath(link.symLinkTarget()), link.absoluteFilePath());
    }
    for (SerialDevice &device : devices)
        device.path = stableName.value(QDir::cleanPath(device.systemPath), device.systemPath);

    std::stable_sort(devices.begin(), devices.end(), [](const auto &a, const auto &b) {
        const auto key = [](const SerialDevice &d) {
            const auto [name, number] = nameAndNumber(d.systemPath);
            return std::make_tuple(d.path == d.systemPath, name, number, d.systemPath);
        };
        return key(a) < key(b);
    });
    return devices;
}

} // namespace barlink::scanner
