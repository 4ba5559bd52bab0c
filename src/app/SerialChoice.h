#pragma once

#include <QString>

namespace barlink::app {

// The choices of the port settings dialog, filled from the settings in memory and
// turned back into the line settings text ("9600,N,8,1") on OK.
struct SerialChoice
{
    qint16 port = 0;     // 1 to 4 select an option; 0 none
    QString device;      // the serial device chosen instead of a port number; empty: none
    qint32 baud = 0;
    QString parity;      // "N", "O", "E"; another text selects no option
    QString dataBits;    // "7", "8"; another text selects no option
    QString stopBits;    // "1", "2"; another text selects no option

    // Fills the choices: the baud rate is the number before the first comma; the
    // rest gives parity, data bits and stop bits in the form "N,8,1". A part that
    // does not follow that form (e.g. "1.5" stop bits) is kept as written, so OK
    // without a change writes it back unchanged.
    [[nodiscard]] static SerialChoice fromSettings(qint16 port, const QString &serialSettings);

    // "9600,N,8,1": the numbers in decimal without blanks.
    [[nodiscard]] QString toSettings() const;
};

} // namespace barlink::app
