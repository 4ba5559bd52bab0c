#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace barlink::app {

// The system's requests that the program end (SIGTERM, SIGINT and SIGHUP on Linux), handed to
// the event loop as endRequested(), so that the program ends as when its main window is closed.
// A second request after the first ends the program at once. One per program, made in the
// thread that runs the event loop.
class EndSignals : public QObject
{
    Q_OBJECT
public:
    explicit EndSignals(QObject *parent = nullptr);
    ~EndSignals() override;
    EndSignals(const EndSignals &) = delete;
    EndSignals &operator=(const EndSignals &) = delete;

Q_SIGNALS:
    // name: the request as the system calls it, e.g. "SIGTERM".
    void endRequested(const QString &name);

private:
    void takeRequest();

    // The end of the socket pair the event loop reads; the signal handler writes the other.
    int m_socket = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace barlink::app
