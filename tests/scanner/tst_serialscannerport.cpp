#include "PtyPair.h"
#include "app/Error.h"
#include "scanner/SerialScannerPort.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using barlink::Error;
using barlink::scanner::SerialScannerPort;

namespace {
const QString defaultSettings = QStringLiteral("9600,N,8,1");

// The error number open() throws, or 0 when it opened.
int openErrorNumber(SerialScannerPort &port,
                    const QString &device,
                    const QString &settings,
                    QString *description = nullptr)
{
    try {
        port.open(device, settings);
    } catch (const Error &error) {
        if (description)
            *description = error.description();
        return error.number();
    }
    return 0;
}
} // namespace

// The scanner port over a real pseudo-terminal: the test plays the scanner at the master.
class TestSerialScannerPort : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void receivesWhatTheScannerSends();
    void discardInputDropsWaitingBytes();
    void writeReachesTheScanner();
    void writeOnClosedPortThrows();
    void appliesLineSettings_data();
    void appliesLineSettings();
    void opensWithRateWithoutStandardSpeed();
    void openFailures_data();
    void openFailures();
    void secondOpenOfSameDeviceIsBusy();
    void openClosesThePreviousDevice();
    void lostDeviceIsReportedOnceAndClosed();
    void reopensAfterLoss_data();
    void reopensAfterLoss();

private:
    std::unique_ptr<PtyPair> m_pty;
};

void TestSerialScannerPort::init()
{
    m_pty = std::make_unique<PtyPair>();
    if (!m_pty->isValid())
        QSKIP("no pseudo-terminal available");
}

void TestSerialScannerPort::receivesWhatTheScannerSends()
{
    SerialScannerPort port;
    port.open(m_pty->slavePath(), defaultSettings);
    QVERIFY(port.isOpen());
    QCOMPARE(port.bytesWaiting(), 0);

    QVERIFY(m_pty->write("%12PROG.CNC N1 X"));
    QTRY_COMPARE(port.bytesWaiting(), 16);
    QVERIFY(m_pty->write("\xf1\x01"));
    QTRY_COMPARE(port.bytesWaiting(), 18);
    QCOMPARE(port.readAll(), QByteArray("%12PROG.CNC N1 X\xf1\x01"));
    QCOMPARE(port.bytesWaiting(), 0);
    QCOMPARE(port.readAll(), QByteArray());
}

void TestSerialScannerPort::discardInputDropsWaitingBytes()
{
    SerialScannerPort port;
    port.open(m_pty->slavePath(), defaultSettings);
    QVERIFY(m_pty->write("%START%"));
    QTRY_COMPARE(port.bytesWaiting(), 7);
    port.discardInput();
    QCOMPARE(port.bytesWaiting(), 0);

    QVERIFY(m_pty->write("%STOP%"));
    QTRY_COMPARE(port.bytesWaiting(), 6);
    QCOMPARE(port.readAll(), QByteArray("%STOP%"));
}

void TestSerialScannerPort::writeReachesTheScanner()
{
    SerialScannerPort port;
    port.open(m_pty->slavePath(), defaultSettings);
    port.write("ACK\r");
    port.write("ACK\r");
    QTRY_COMPARE(m_pty->received(), QByteArray("ACK\rACK\r"));
}

void TestSerialScannerPort::writeOnClosedPortThrows()
{
    SerialScannerPort port;
    QCOMPARE(openErrorNumber(port, m_pty->slavePath(), defaultSettings), 0);
    port.close();
    QVERIFY(!port.isOpen());
    QCOMPARE(port.bytesWaiting(), 0);
    QCOMPARE(port.readAll(), QByteArray());
    port.discardInput();
    try {
        port.write("ACK\r");
        QFAIL("write on a closed port did not throw");
    } catch (const Error &error) {
        QCOMPARE(error.number(), 8012);
        QCOMPARE(error.description(), QStringLiteral("The device is not open"));
    }
}

// A pseudo-terminal keeps the baud rate and stop bits it is given; it always reports
// 8 data bits without parity, so those cannot be seen here.
void TestSerialScannerPort::appliesLineSettings_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<speed_t>("speed");
    QTest::addColumn<bool>("twoStop");
    QTest::newRow("9600,N,8,1") << "9600,N,8,1" << speed_t(B9600) << false;
    QTest::newRow("19200,E,7,2") << "19200,E,7,2" << speed_t(B19200) << true;
    QTest::newRow("1200,O,7,1") << "1200,O,7,1" << speed_t(B1200) << false;
    QTest::newRow("57600,N,8,2") << "57600,N,8,2" << speed_t(B57600) << true;
}

void TestSerialScannerPort::appliesLineSettings()
{
    QFETCH(QString, settings);
    QFETCH(speed_t, speed);
    QFETCH(bool, twoStop);

    SerialScannerPort port;
    port.open(m_pty->slavePath(), settings);
    termios mode{};
    QCOMPARE(::tcgetattr(m_pty->slaveFd(), &mode), 0);
    QCOMPARE(::cfgetospeed(&mode), speed);
    QCOMPARE((mode.c_cflag & CSTOPB) != 0, twoStop);
    QCOMPARE(mode.c_lflag & ECHO, tcflag_t(0));
}

void TestSerialScannerPort::opensWithRateWithoutStandardSpeed()
{
    SerialScannerPort port;
    port.open(m_pty->slavePath(), QStringLiteral("14400,N,8,1"));
    QVERIFY(port.isOpen());
}

void TestSerialScannerPort::openFailures_data()
{
    QTest::addColumn<QString>("device"); // "<pty>" stands for the test's pseudo-terminal
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("descriptionStart");
    QTest::newRow("invalid settings") << "<pty>"
                                      << "9600,Q,8,1" << 380 << "Invalid property value";
    QTest::newRow("settings checked before the device")
        << QString() << "fast" << 380 << "Invalid property value";
    QTest::newRow("no device") << QString() << "9600,N,8,1" << 8002 << "Invalid port number";
    QTest::newRow("blank device") << "  "
                                  << "9600,N,8,1" << 8002 << "Invalid port number";
    QTest::newRow("missing device")
        << "/dev/barlink-no-such-tty"
        << "9600,N,8,1" << 8002 << "Invalid port number: /dev/barlink-no-such-tty";
}

void TestSerialScannerPort::openFailures()
{
    QFETCH(QString, device);
    QFETCH(QString, settings);
    QFETCH(int, number);
    QFETCH(QString, descriptionStart);
    if (device == QLatin1String("<pty>"))
        device = m_pty->slavePath();

    SerialScannerPort port;
    QString description;
    QCOMPARE(openErrorNumber(port, device, settings, &description), number);
    QVERIFY2(description.startsWith(descriptionStart), qPrintable(description));
    QVERIFY(!port.isOpen());
}

void TestSerialScannerPort::secondOpenOfSameDeviceIsBusy()
{
    SerialScannerPort first;
    first.open(m_pty->slavePath(), defaultSettings);
    SerialScannerPort second;
    QString description;
    QCOMPARE(openErrorNumber(second, m_pty->slavePath(), defaultSettings, &description), 8005);
    QVERIFY2(description.contains(m_pty->slavePath()), qPrintable(description));
    QVERIFY(first.isOpen());

    // Closing the first releases the device.
    first.close();
    QCOMPARE(openErrorNumber(second, m_pty->slavePath(), defaultSettings), 0);
}

void TestSerialScannerPort::openClosesThePreviousDevice()
{
    PtyPair other;
    QVERIFY(other.isValid());
    SerialScannerPort port;
    port.open(m_pty->slavePath(), defaultSettings);
    port.open(other.slavePath(), defaultSettings);

    QVERIFY(other.write("B"));
    QTRY_COMPARE(port.bytesWaiting(), 1);
    QCOMPARE(port.readAll(), QByteArray("B"));
    SerialScannerPort again;
    QCOMPARE(openErrorNumber(again, m_pty->slavePath(), defaultSettings), 0);
}

void TestSerialScannerPort::lostDeviceIsReportedOnceAndClosed()
{
    SerialScannerPort port;
    int lost = 0;
    QString reason;
    port.onDeviceLost = [&](const QString &why) {
        ++lost;
        reason = why;
        QVERIFY(!port.isOpen());
    };
    port.open(m_pty->slavePath(), defaultSettings);
    m_pty->closeMaster();

    QTRY_COMPARE(lost, 1);
    QVERIFY(!port.isOpen());
    QCOMPARE(reason, QStringLiteral("device disconnected"));
    // A port left open would go on reporting the hang-up at full speed.
    QTest::qWait(300);
    QCOMPARE(lost, 1);
    QCOMPARE(port.bytesWaiting(), 0);
}

void TestSerialScannerPort::reopensAfterLoss_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("new device path") << false;
    QTest::newRow("same link re-pointed") << true;
}

void TestSerialScannerPort::reopensAfterLoss()
{
    QFETCH(bool, throughLink);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("scanner"));
    if (throughLink)
        QVERIFY(QFile::link(m_pty->slavePath(), link));
    const QString firstDevice = throughLink ? link : m_pty->slavePath();

    SerialScannerPort port;
    int lost = 0;
    port.onDeviceLost = [&](const QString &) { ++lost; };
    port.open(firstDevice, defaultSettings);
    m_pty->closeMaster();
    QTRY_COMPARE(lost, 1);

    PtyPair returned;
    QVERIFY(returned.isValid());
    if (throughLink) {
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(returned.slavePath(), link));
    }
    port.open(throughLink ? link : returned.slavePath(), defaultSettings);
    QVERIFY(port.isOpen());
    QVERIFY(returned.write("%END%"));
    QTRY_COMPARE(port.bytesWaiting(), 5);
    QCOMPARE(port.readAll(), QByteArray("%END%"));
    port.write("ACK\r");
    QTRY_COMPARE(returned.received(), QByteArray("ACK\r"));

    // The second loss is reported as well.
    returned.closeMaster();
    QTRY_COMPARE(lost, 2);
}

QTEST_GUILESS_MAIN(TestSerialScannerPort)
#include "tst_serialscannerport.moc"
