#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>

namespace barlink::journal {

// How far the station's journal has got to the shop-wide table: up to date, or entries
// waiting, since when and why.
struct ForwardState
{
    qint64 waiting = 0; // entries in the journal file that the server does not have yet
    QDateTime since;    // UTC: when forwarding stopped being up to date; invalid while it is
    // Why entries wait or the shop cannot see the station, in plain words followed by the
    // server's own message; empty while the entries are only on their way.
    QString reason;

    [[nodiscard]] bool upToDate() const { return waiting == 0 && reason.isEmpty(); }

    friend bool operator==(const ForwardState &, const ForwardState &) = default;
};

} // namespace barlink::journal

Q_DECLARE_METATYPE(barlink::journal::ForwardState)
