#pragma once

#include <QList>
#include <QString>

namespace barlink::scanner {

// A serial device of the system, as the port settings dialog offers it.
struct SerialDevice
{
    QString path;        // what to open: the stable /dev/serial/by-id/ name where there is one
    QString systemPath;  // the device itself, e.g. /dev/ttyACM0
    QString description; // as the system reports them; may be empty
    QString manufacturer;

    // The path, and on a second line what the system says of the device:
    // "/dev/serial/by-id/usb-Maker_Scanner-if00" "\n" "ttyACM0: Scanner, Maker"; the path alone
    // when it says nothing.
    [[nodiscard]] QString caption() const;
};

// The serial devices the system has (ttyS*, ttyUSB*, ttyACM*; pseudo-terminals are never
// among them), with their stable names from /dev/serial/by-id.
[[nodiscard]] QList<SerialDevice> systemSerialDevices();

// Gives each device the name of a link in byIdFolder that points to it as its path (its
// system path where there is none). Devices with such a name come first; the rest follow by
// name, numbers in their order (ttyS2 before ttyS10).
[[nodiscard]] QList<SerialDevice> withStableNames(QList<SerialDevice> devices,
                                                  const QString &byIdFolder);

} // namespace barlink::scanner
