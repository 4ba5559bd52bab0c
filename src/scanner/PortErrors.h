#pragma once

#include "base/Error.h"

#include <QSerialPort>
#include <QString>

namespace barlink::scanner {

// True for the errors that mean the device itself went away (unplugged, pseudo-terminal
// closed): the port must be closed, or QSerialPort keeps reporting them at full speed.
[[nodiscard]] bool isDeviceLost(QSerialPort::SerialPortError error);

// The error thrown when a device cannot be opened:
//   missing device                    -> 8002 "Invalid port number"
//   in use by another program         -> 8005 "Port already open" (see busyError())
//   line settings the device refuses  -> 8015 "Could not set comm state"
//   anything else                     -> 8010 "The hardware is not available"
// The description names the device and what the system said, e.g.
// "Invalid port number: /dev/ttyS7 (No such file or directory)".
[[nodiscard]] base::Error
openError(QSerialPort::SerialPortError error, const QString &device, const QString &systemText);

// The error thrown when another program has the device: 8005 "Port already open", with the
// device and the words the operator needs.
[[nodiscard]] base::Error busyError(const QString &device);

// The error thrown when the user may not use the device (its mode denies reading and
// writing): 70 "Permission denied", with the device and what the user needs.
[[nodiscard]] base::Error notAllowedError(const QString &device);

} // namespace barlink::scanner
