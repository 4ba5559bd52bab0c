#pragma once

#include "base/Reasons.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace barlink::scanner {

// The serial port the scanner is attached to, as the scan poller and the acknowledgement use
// it. It tells of two events, the word that bytes have arrived and the loss of the device;
// everything else is asked for.
class ScannerPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the named device ("/dev/ttyS0", "/dev/pts/3", "COM1") with line settings
    // in the form "9600,N,8,1". Closes the port first if it is open.
    // Throws barlink::base::Error when the settings are invalid or the device cannot be opened.
    virtual void open(const QString &device, const QString &lineSettings) = 0;
    virtual void close() = 0;
    [[nodiscard]] virtual bool isOpen() const = 0;
    // Number of received characters waiting to be read.
    [[nodiscard]] virtual qint64 bytesWaiting() = 0;
    // Reads everything waiting.
    [[nodiscard]] virtual QByteArray readAll() = 0;
    // Throws away everything waiting.
    virtual void discardInput() = 0;
    // Sends bytes to the scanner; throws barlink::base::Error when the port is not open.
    virtual void write(const QByteArray &bytes) = 0;

Q_SIGNALS:
    // Once when the device went away (unplugged, pseudo-terminal closed): the port has
    // already been closed. reason says what happened.
    void deviceLost(const barlink::base::Reason &reason);
    // Received bytes have come in to be read. The scan poller reads them at once: quiet is
    // measured from the last byte.
    void bytesArrived();
};

} // namespace barlink::scanner
