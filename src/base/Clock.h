#pragma once

#include <QDateTime>
#include <QObject>

#include <memory>

namespace barlink::base {

// A timer handed out by a Clock: fires timeout() interval() ms after start(), once or every
// interval until stopped. The program's runs on the event loop, the tests' on simulated time.
class Timer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Takes effect at the next start().
    void setInterval(int ms) { m_interval = ms; }
    [[nodiscard]] int interval() const { return m_interval; }
    void setSingleShot(bool singleShot) { m_singleShot = singleShot; }
    [[nodiscard]] bool isSingleShot() const { return m_singleShot; }

    // Starts the interval anew from now, whether the timer was running or not.
    virtual void start() = 0;
    virtual void stop() = 0;
    [[nodiscard]] virtual bool isActive() const = 0;

Q_SIGNALS:
    void timeout();

private:
    int m_interval = 0;
    bool m_singleShot = false;
};

// Where the station's waiting comes from: the poller's intervals, the port's reconnection
// attempts, the pauses of label handling, start-up's wait for a list and the double-scan
// window. Whoever waits takes a Clock, so that tests run that waiting in simulated time and
// see both when something happens and when it does not.
class Clock
{
public:
    virtual ~Clock() = default;

    [[nodiscard]] virtual std::unique_ptr<Timer> makeTimer() = 0;
    // Lets ms pass while events keep being handled and timers keep firing.
    virtual void wait(int ms) = 0;
    // Milliseconds on a count that never goes back (not the time of day): how long ago
    // something happened, as the double-scan window measures it.
    [[nodiscard]] virtual qint64 now() const = 0;
    // The local date and time, for what the operator reads ("since 09:05", the shift).
    [[nodiscard]] virtual QDateTime currentTime() const { return QDateTime::currentDateTime(); }

    // The program's clock: QTimer and a local event loop.
    [[nodiscard]] static Clock &real();
};

} // namespace barlink::base
