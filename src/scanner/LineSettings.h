#pragma once

#include <QSerialPort>
#include <QString>

#include <optional>

namespace barlink::scanner {

// Serial line parameters as the settings write them: "9600,N,8,1".
struct LineSettings
{
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    friend bool operator==(const LineSettings &, const LineSettings &) = default;
};

// Reads "baud,parity,data bits,stop bits": any positive baud rate, parity N, O, E, M or S
// (either case), 5 to 8 data bits, 1, 1.5 or 2 stop bits; blanks around a field are
// allowed. Nothing when the text is not of that form.
[[nodiscard]] std::optional<LineSettings> parseLineSettings(const QString &text);

// Sets the line settings on a port (without flow control); an open port takes them at once.
void applyLineSettings(QSerialPort &port, const LineSettings &settings);

} // namespace barlink::scanner
