#pragma once

#include <QByteArray>

#include <utility>

namespace barlink::scanner {
class ScannerPort;
}

namespace barlink::app {

// The one reply to the scanner: "ACK" for a row that went into the list, the refusal reply for
// a label refused. The station calls it once the journal has the label's entry, so that what
// the scanner hears is recorded; nothing else writes to the scanner.
class ScannerReply
{
public:
    explicit ScannerReply(scanner::ScannerPort &port)
        : m_port(port)
    {}

    // The bytes of a refusal (empty: a refused label gets no reply).
    void setRefusal(QByteArray bytes) { m_refusal = std::move(bytes); }

    // Whether an "ACK" would reach the scanner now: the port is open. A row sent while it is
    // closed is not acknowledged, and its entry need not be kept at once.
    [[nodiscard]] bool canAcknowledge() const;
    // "ACK" for a row. A port that cannot take it fails the label in hand.
    void acknowledge();
    // The refusal reply, when there is one and the port is open. A scanner that does not hear
    // it is no reason to stop: the refusal stands and the status line shows it.
    void refuse();

    [[nodiscard]] static QByteArray acknowledgement() { return QByteArrayLiteral("ACK\r"); }

private:
    scanner::ScannerPort &m_port;
    QByteArray m_refusal;
};

} // namespace barlink::app
