#include "scanner/LineSettings.h"

#include <QStringList>

#include <limits>

namespace barlink::scanner {

namespace {

std::optional<qint32> parseBaudRate(const QString &field)
{
    // Digits only: no sign, no decimal point, nothing a locale would read.
    if (field.isEmpty() || field.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : field) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value <= 0 || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(value);
}

std::optional<QSerialPort::Parity> parseParity(const QString &field)
{
    if (field.size() != 1)
        return std::nullopt;
    switch (field.at(0).toUpper().unicode()) {
    case 'N':
        return QSerialPort::NoParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'E':
        return QSerialPort::EvenParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return std::nullopt;
    }
}

std::optional<QSerialPort::DataBits> parseDataBits(const QString &field)
{
    if (field == QLatin1String("5"))
        return QSerialPort::Data5;
    if (field == QLatin1String("6"))
        return QSerialPort::Data6;
    if (field == QLatin1String("7"))
        return QSerialPort::Data7;
    if (field == QLatin1String("8"))
        return QSerialPort::Data8;
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> parseStopBits(const QString &field)
{
    if (field == QLatin1String("1"))
        return QSerialPort::OneStop;
    if (field == QLatin1String("1.5"))
        return QSerialPort::OneAndHalfStop;
    if (field == QLatin1String("2"))
        return QSerialPort::TwoStop;
    return std::nullopt;
}

} // namespace

std::optional<LineSettings> parseLineSettings(const QString &text)
{
    QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4)
        return std::nullopt;
    for (QString &field : fields)
        field = field.trimmed();

    const auto baudRate = parseBaudRate(fields.at(0));
    const auto parity = parseParity(fields.at(1));
    const auto dataBits = parseDataBits(fields.at(2));
    const auto stopBits = parseStopBits(fields.at(3));
    if (!baudRate || !parity || !dataBits || !stopBits)
        return std::nullopt;
    return LineSettings{*baudRate, *parity, *dataBits, *stopBits};
}

void applyLineSettings(QSerialPort &port, const LineSettings &settings)
{
    port.setBaudRate(settings.baudRate);
    port.setParity(settings.parity);
    port.setDataBits(settings.dataBits);
    port.setStopBits(settings.stopBits);
    port.setFlowControl(QSerialPort::NoFlowControl);
}

} // namespace barlink::scanner
