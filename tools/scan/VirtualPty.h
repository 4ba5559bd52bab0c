#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

namespace barlink::scan {

// A pseudo-terminal standing in for the scanner's serial line: Barlink opens the device
// end, this program writes labels into and reads answers from the master end. Both ends
// are raw. The device end is kept open here too, so the line survives Barlink closing
// and reopening its port.
class VirtualPty : public QObject
{
    Q_OBJECT
public:
    // Makes a new pseudo-terminal and, when linkPath is not empty, a symbolic link there
    // to its device (replacing an older symbolic link, never another kind of file).
    // Nothing, with *error set, when that fails.
    [[nodiscard]] static std::unique_ptr<VirtualPty> create(const QString &linkPath,
                                                            QString *error);
    ~VirtualPty() override;

    [[nodiscard]] QString devicePath() const { return m_devicePath; }
    [[nodiscard]] QString linkPath() const { return m_linkPath; }

    // Queues bytes for the device end; they go out as fast as the line takes them.
    void send(const QByteArray &bytes);
    [[nodiscard]] bool hasUnsentBytes() const { return !m_unsent.isEmpty(); }

Q_SIGNALS:
    void received(const QByteArray &bytes);

private:
    VirtualPty(int master, int slave, QString devicePath);
    void readMaster();
    void writeMaster();

    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
    QString m_linkPath;
    QByteArray m_unsent;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
};

} // namespace barlink::scan
