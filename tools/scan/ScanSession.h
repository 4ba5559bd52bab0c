#pragma once

#include "LabelBytes.h"
#include "ScanOptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QQueue>
#include <QTimer>

#include <functional>

namespace barlink::scan {

// One run of the virtual scanner: sends the queued labels with the chosen pacing and
// gaps, prints the answers, counts "ACK"s and decides when the run is over.
class ScanSession : public QObject
{
    Q_OBJECT
public:
    using Sender = std::function<void(const QByteArray &)>;
    using Printer = std::function<void(const QString &)>;

    ScanSession(const ScanOptions &options, Sender send, Printer print, QObject *parent = nullptr);

    // Starts the clock of --delay and --timeout.
    void start();
    // Queues one label (already in bytes, line end included).
    void addLabel(const QByteArray &label);
    // No more labels will be added.
    void endOfLabels();
    // Bytes that arrived from Barlink.
    void received(const QByteArray &bytes);

    [[nodiscard]] int acks() const { return m_acks; }

Q_SIGNALS:
    // The run is over: exit code and, on failure, why.
    void finished(int exitCode, const QString &message);

private:
    void pump();
    void sendNext();
    void checkDone();
    [[nodiscard]] qint64 quietTimeLeft() const;
    void finish(int exitCode, const QString &message = {});

    ScanOptions m_options;
    Sender m_send;
    Printer m_print;
    QQueue<QByteArray> m_labels;
    QByteArray m_current; // the label being paced out
    qsizetype m_currentSent = 0;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceLastLabel;
    QTimer m_step;
    QTimer m_linger;
    QTimer m_timeout;
    LineSplitter m_answers;
    int m_acks = 0;
    bool m_noMoreLabels = false;
    bool m_finished = false;
};

} // namespace barlink::scan
