#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace barlink::app {
class OperatorDisplay;
class Prompter;
} // namespace barlink::app
namespace barlink::label {
class LabelGate;
}

namespace barlink::scanner {

class ScannerPort;

// The polling tick: drains the scanner port into the scan buffer and, once the
// port has been quiet for two ticks, hands the label on as routeScan() says.
class ScanPoller : public QObject
{
    Q_OBJECT
public:
    // More characters than any label carries: a scanner that never goes quiet
    // cannot make the buffer grow beyond this.
    static constexpr qsizetype MaxScanBuffer = 256 * 1024;

    // Where labels go.
    struct Handlers
    {
        std::function<void(const QString &label)> interpretLabel;
        // The expanded text of the compressed label, empty when it cannot be expanded. rest
        // receives what follows the compressed label, a label of its own.
        std::function<QString(const QString &label, QString &rest)> decodeCompressedLabel;
        std::function<void(const QString &label)> interpretProgramBarcode;
    };

    ScanPoller(ScannerPort &port,
               Handlers handlers,
               app::OperatorDisplay &display,
               app::Prompter &prompter,
               label::LabelGate &gate,
               QObject *parent = nullptr);

    // Starts the timer; intervals below 1 ms are not used.
    void start(int intervalMs);
    void stop() { m_timer.stop(); }
    [[nodiscard]] int interval() const { return m_timer.interval(); }

    // One tick. Skips while a label is being handled.
    void tick();

    // The scanner went away: what it had sent of a label may be cut off, and joined to the
    // next scan it would make a label nobody scanned. It is thrown away; the operator scans
    // that label again.
    void dropPartialLabel();

    [[nodiscard]] const QString &scanBuffer() const { return m_scanBuffer; }
    [[nodiscard]] int idleTicks() const { return m_idleTicks; }

    [[nodiscard]] static QString overflowText(qsizetype discarded);

private:
    void receive();
    void handleLabel();
    void reportOverflowWhenQuiet();

    ScannerPort &m_port;
    Handlers m_handlers;
    app::OperatorDisplay &m_display;
    app::Prompter &m_prompter;
    label::LabelGate &m_gate;
    QTimer m_timer;
    QString m_scanBuffer;
    int m_idleTicks = 0;
    // Characters thrown away since the buffer overflowed; reported once the port is quiet.
    qsizetype m_discarded = 0;
};

} // namespace barlink::scanner
