#pragma once

#include "scanner/ScannerPort.h"

#include <QSerialPort>

#include <functional>

namespace barlink::scanner {

// The scanner port on a serial device, a USB scanner's tty or a pseudo-terminal,
// through QSerialPort. Received bytes reach the port's buffer while the event loop
// runs; bytesArrived() is emitted each time some have.
class SerialScannerPort final : public ScannerPort
{
    Q_OBJECT
public:
    // The most received bytes held between two reads. Beyond it the port stops taking
    // bytes from the device until the next read, so a device that sends without pause
    // costs no more memory than this; a scanner sends a few kilobytes in a poll interval.
    static constexpr qint64 ReadBufferBytes = 64 * 1024;

    SerialScannerPort();
    ~SerialScannerPort() override;
    SerialScannerPort(const SerialScannerPort &) = delete;
    SerialScannerPort &operator=(const SerialScannerPort &) = delete;

    // Whether the user may read and write a device: 0, or the error number (errno) that
    // access() gives. Tests replace it: they run as root, whom no device mode keeps out.
    using AccessCheck = std::function<int(const QString &device)>;
    [[nodiscard]] static int systemAccessError(const QString &device);
    void setAccessCheck(AccessCheck check) { m_accessCheck = std::move(check); }

    // Opens the device itself, whatever link names it, and keeps it from every other program:
    // one scanner, one station. Throws barlink::base::Error 380 for invalid line settings, 70 when
    // the user may not use the device (see notAllowedError()), 8005 when another program has it
    // (see busyError()), 8002/8010/8015 when the device cannot be opened (see openError()).
    void open(const QString &device, const QString &lineSettings) override;
    void close() override;
    [[nodiscard]] bool isOpen() const override;
    [[nodiscard]] qint64 bytesWaiting() override;
    [[nodiscard]] QByteArray readAll() override;
    void discardInput() override;
    // Throws barlink::base::Error 8012 when the port is not open, 57 when the bytes cannot be
    // queued.
    void write(const QByteArray &bytes) override;

private:
    // The device a name stands for, links followed, so that every name of a device has the
    // same lock file; the name itself when there is no such file.
    [[nodiscard]] static QString systemDevice(const QString &device);
    // Takes the open device for this port alone; false when another program holds it.
    [[nodiscard]] static bool takeDevice(qintptr handle);

    void handleError(QSerialPort::SerialPortError error);
    void closePort();

    QSerialPort m_port;
    AccessCheck m_accessCheck = systemAccessError;
    // Closing a dead device reports errors of its own; they are not a new loss.
    bool m_closing = false;
};

} // namespace barlink::scanner
