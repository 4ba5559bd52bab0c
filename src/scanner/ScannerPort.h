#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace barlink::scanner {

// The serial port the scanner is attached to, as the scan poller and the acknowledgement use
// it. Its one event is the word that bytes have arrived; everything else is asked for.
class ScannerPort
{
public:
    virtual ~ScannerPort() = default;

    // Opens the named device ("/dev/ttyS0", "/dev/pts/3", "COM1") with line settings
    // in the form "9600,N,8,1". Closes the port first if it is open.
    // Throws barlink::Error when the settings are invalid or the device cannot be opened.
    virtual void open(const QString &device, const QString &lineSettings) = 0;
    virtual void close() = 0;
    [[nodiscard]] virtual bool isOpen() const = 0;
    // Number of received characters waiting to be read.
    [[nodiscard]] virtual qint64 bytesWaiting() = 0;
    // Reads everything waiting.
    [[nodiscard]] virtual QByteArray readAll() = 0;
    // Throws away everything waiting.
    virtual void discardInput() = 0;
    // Sends bytes to the scanner; throws barlink::Error when the port is not open.
    virtual void write(const QByteArray &bytes) = 0;

    // Called once when the device went away (unplugged, pseudo-terminal closed):
    // the port has already been closed. The argument says what happened.
    std::function<void(const QString &reason)> onDeviceLost;
    // Called when received bytes have come in to be read. The scan poller sets it: quiet is
    // measured from the last byte, so it reads them at once.
    std::function<void()> onBytesArrived;
};

} // namespace barlink::scanner
