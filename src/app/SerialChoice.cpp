#include "SerialChoice.h"

#include "text/NumericValue.h"

#include <QStringList>

#include <cmath>
#include <limits>

namespace barlink::app {

namespace {

qint32 toLong(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<qint32>::min()
          && rounded <= std::numeric_limits<qint32>::max()))
        return 0;
    return static_cast<qint32>(rounded);
}

} // namespace

SerialChoice SerialChoice::fromSettings(qint16 port, const QString &serialSettings)
{
    SerialChoice choice;
    choice.port = port;
    const qsizetype comma = serialSettings.indexOf(QLatin1Char(','));
    const QString head = comma < 0 ? serialSettings : serialSettings.left(comma);
    choice.baud = toLong(text::numericValue(head));
    if (comma < 0)
        return choice;
    const QString rest = serialSettings.mid(comma + 1);
    const QStringList parts = rest.split(QLatin1Char(','));
    choice.parity = parts.value(0);
    choice.dataBits = parts.value(1);
    choice.stopBits = parts.value(2);
    if (parts.size() > 3)
        choice.stopBits = QStringList(parts.mid(2)).join(QLatin1Char(','));
    return choice;
}

QString SerialChoice::toSettings() const
{
    return QString::number(baud) + QLatin1Char(',') + parity + QLatin1Char(',') + dataBits
           + QLatin1Char(',') + stopBits;
}

} // namespace barlink::app
