#pragma once

#include "base/Clock.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <functional>
#include <memory>

namespace barlink::base {
class LabelGate;
} // namespace barlink::base

namespace barlink::scanner {

class ScannerPort;
struct ScanRoute;

// Assembles labels from the scanner port: reads what arrives into the scan buffer and, once
// the port has been quiet for two poll intervals after the last read, emits the label as
// routeScan() says. With a label end (the scanner's suffix) it emits each label as soon as its
// end has been read, without waiting for quiet. The poller reads as soon as the port says bytes
// have arrived, ticks every poll interval while a label is pending, and does not wake while nothing
// is. The signals that hand a label on are connected directly: the label is handled before they
// return. Their handlers catch what they throw and say so with abandonLabel().
class ScanPoller : public QObject
{
    Q_OBJECT
public:
    // More characters than any label carries: a scanner that never goes quiet
    // cannot make the buffer grow beyond this.
    static constexpr qsizetype MaxScanBuffer = 256 * 1024;

    // gate: ticks skip while it is busy, and it is held while a label is handled.
    ScanPoller(ScannerPort &port,
               base::LabelGate &gate,
               QObject *parent = nullptr,
               base::Clock &clock = base::Clock::real());
    ~ScanPoller() override;

    // Starts polling at the interval; intervals below 1 ms are not used.
    void start(int intervalMs);
    void stop();
    // The scanner's suffix (LabelEnd), as characters; empty (the default): labels end only
    // when the port is quiet. compressedWhole tells whether a compressed label holds all its
    // data (see LabelFrame).
    void setLabelEnd(const QString &suffix, std::function<bool(QStringView)> compressedWhole = {});
    [[nodiscard]] int interval() const { return m_timer->interval(); }
    // Whether the poller will tick without the port's word that bytes have arrived.
    [[nodiscard]] bool isTicking() const { return m_timer->isActive(); }

    // One tick: reads what has arrived, or counts a quiet interval and hands the label on
    // after the second. Skips while a label is being handled.
    void tick();

    // The scanner went away: what it had sent of a label may be cut off, and joined to the
    // next scan it would make a label nobody scanned. It is thrown away; the operator scans
    // that label again.
    void dropPartialLabel();

    // The handling of the label just emitted failed: the label in hand is done with. What
    // followed it in the buffer stays, except the text a failed "%N%" was for.
    void abandonLabel();

    // The expansion of the compressed label just emitted, handed back by its handler: handled
    // as a label of its own, rest (what followed the compressed label) staying as the next.
    void takeExpansion(const QString &expanded, const QString &rest);

    [[nodiscard]] const QString &scanBuffer() const { return m_scanBuffer; }
    [[nodiscard]] int idleTicks() const { return m_idleTicks; }

    [[nodiscard]] static QString overflowText(qsizetype discarded);
    // What the operator is told once when labels end by quiet although a label end is set.
    [[nodiscard]] static QString labelEndMissingText(const QString &suffix);

Q_SIGNALS:
    // A label to interpret, as the dispatcher takes it ("%N%" of the apostrophe rule too).
    void labelScanned(const QString &label);
    // A label that carries a program, for the program barcode.
    void programLabelScanned(const QString &label);
    // A compressed label; its handler expands it and hands the expansion back with
    // takeExpansion(), or leaves it when it cannot be expanded, taking the rest with it.
    void compressedLabelScanned(const QString &label);
    // What the main window shows of the scan: the activity indicator, the last-scan line,
    // the status line.
    void activityChanged(bool visible, const QString &caption);
    void lastScanChanged(const QString &text);
    void statusChanged(const QString &text);
    // The scanner sent a label of nothing but blanks and control characters (a line end on
    // its own): it is not handled. scanned: the label as it came.
    void labelIgnored(const QString &scanned);
    // Once, after the first label that ended by quiet although a label end is set: the
    // scanner does not send it, and every label waits two poll intervals.
    void labelEndMissing(const QString &notice);

private:
    void bytesArrived();
    void step();
    void scheduleTick();
    // Reads what has arrived; true when a label end may have come with it.
    bool receive();
    // Hands on the label at the front: after quiet, the whole buffer; otherwise the label up to
    // its end, if it is complete. False when nothing was complete.
    bool handleLabel(bool quiet);
    // Hands on every label that has ended, one after the other, reading what came meanwhile.
    void handleEndedLabels();
    // expansion: the route of a compressed label's expansion.
    void handleRoute(const ScanRoute &route, bool expansion);
    void reportOverflowWhenQuiet();

    ScannerPort &m_port;
    base::LabelGate &m_gate;
    std::unique_ptr<base::Timer> m_timer;
    bool m_started = false;
    // The handler of the label just emitted called abandonLabel().
    bool m_abandoned = false;
    QString m_scanBuffer;
    QString m_labelEnd;
    std::function<bool(QStringView)> m_compressedWhole;
    bool m_labelEndMissingTold = false;
    // The label last taken ended with a line-end character (CR or LF). Line-end characters
    // that come next, before anything else, are the rest of that end, wherever they arrive:
    // in the same read (CR LF CR LF where LabelEnd is CR), or in a read of their own
    // milliseconds after the label was handled (the LF of a CR LF scanner whose LabelEnd is
    // CR). They belong to no label and go.
    bool m_afterLineEnd = false;
    int m_idleTicks = 0;
    // Characters thrown away since the buffer overflowed; reported once the port is quiet.
    qsizetype m_discarded = 0;
};

} // namespace barlink::scanner
