#include "PtyPair.h"
#include "TestSupport.h"
#include "base/Error.h"
#include "scanner/SerialScannerPort.h"

#include <QTest>

#include <cerrno>
#include <memory>

using barlink::Error;
using barlink::scanner::SerialScannerPort;
using barlink::testing::errorNumber;

namespace {

const QString defaultSettings = QStringLiteral("9600,N,8,1");

} // namespace

// The scanner port over a real pseudo-terminal: the test plays the scanner at the master.
class TestSerialScannerPort : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_pty = std::make_unique<PtyPair>();
        if (!m_pty->isValid())
            QSKIP("no pseudo-terminal available");
    }

    void bytesBothWays()
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

        QVERIFY(m_pty->write("%START%"));
        QTRY_COMPARE(port.bytesWaiting(), 7);
        port.discardInput();
        QCOMPARE(port.bytesWaiting(), 0);
        QVERIFY(m_pty->write("%STOP%"));
        QTRY_COMPARE(port.bytesWaiting(), 6);
        QCOMPARE(port.readAll(), QByteArray("%STOP%"));

        port.write("ACK\r");
        port.write("ACK\r");
        QTRY_COMPARE(m_pty->received(), QByteArray("ACK\rACK\r"));
    }

    // However fast the device sends, the port holds at most ReadBufferBytes between reads.
    void readBufferIsBounded()
    {
        SerialScannerPort port;
        port.open(m_pty->slavePath(), defaultSettings);
        const QByteArray chunk(4096, 'A');
        qint64 sent = 0;
        for (int i = 0; i < 1000 && sent < 4 * SerialScannerPort::ReadBufferBytes; ++i) {
            sent += std::max<qint64>(0, ::write(m_pty->masterFd(), chunk.data(), chunk.size()));
            QCoreApplication::processEvents();
        }
        QVERIFY(port.bytesWaiting() > 0);
        QVERIFY(port.bytesWaiting() <= SerialScannerPort::ReadBufferBytes);
    }

    void closedPortReadsNothingAndRefusesWrites()
    {
        SerialScannerPort port;
        port.open(m_pty->slavePath(), defaultSettings);
        port.close();
        QVERIFY(!port.isOpen());
        QCOMPARE(port.bytesWaiting(), 0);
        QCOMPARE(port.readAll(), QByteArray());
        port.discardInput();
        QString description;
        QCOMPARE(errorNumber([&] { port.write("ACK\r"); }, &description), 8012);
        QCOMPARE(description, QStringLiteral("The device is not open"));
    }

    // A pseudo-terminal keeps the baud rate and stop bits it is given; it always reports
    // 8 data bits without parity, so those cannot be seen here. 0: no standard speed.
    void appliesLineSettings_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<speed_t>("speed");
        QTest::addColumn<bool>("twoStop");
        QTest::newRow("19200,E,7,2") << "19200,E,7,2" << speed_t(B19200) << true;
        QTest::newRow("1200,O,7,1") << "1200,O,7,1" << speed_t(B1200) << false;
        QTest::newRow("14400,N,8,1") << "14400,N,8,1" << speed_t(0) << false;
    }
    void appliesLineSettings()
    {
        QFETCH(QString, settings);
        QFETCH(speed_t, speed);
        SerialScannerPort port;
        port.open(m_pty->slavePath(), settings);
        QVERIFY(port.isOpen());
        termios mode{};
        QCOMPARE(::tcgetattr(m_pty->slaveFd(), &mode), 0);
        if (speed != 0)
            QCOMPARE(::cfgetospeed(&mode), speed);
        QTEST((mode.c_cflag & CSTOPB) != 0, "twoStop");
        QCOMPARE(mode.c_lflag & ECHO, tcflag_t(0));
    }

    // denied: the user may not use the device (the check before opening says so).
    void openFailures_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<bool>("denied");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("descriptionStart");
        // clang-format off
        QTest::newRow("settings before device") << QString() << "fast"     << false << 380  << "Invalid property value";
        QTest::newRow("no device")          << QString()   << "9600,N,8,1" << false << 8002 << "Invalid port number";
        QTest::newRow("device not allowed") << "pty" << "9600,N,8,1" << true << 70 << "Permission denied: ";
        // clang-format on
    }
    void openFailures()
    {
        QFETCH(QString, device);
        QFETCH(QString, settings);
        QFETCH(bool, denied);
        QFETCH(QString, descriptionStart);
        if (device == QLatin1String("pty"))
            device = m_pty->slavePath();
        SerialScannerPort port;
        if (denied)
            port.setAccessCheck([](const QString &) { return EACCES; });
        QString description;
        QTEST(errorNumber([&] { port.open(device, settings); }, &description), "number");
        QVERIFY2(description.startsWith(descriptionStart), qPrintable(description));
        // Not allowed is not "in use": the operator is told what the user needs.
        QCOMPARE(description.contains(QStringLiteral("dialout group")), denied);
        QVERIFY(!port.isOpen());
    }

    // An open device is busy for a second port; opening another device releases it.
    void openDeviceIsBusyUntilReleased()
    {
        SerialScannerPort first;
        first.open(m_pty->slavePath(), defaultSettings);
        SerialScannerPort second;
        const auto openSecond = [&] { second.open(m_pty->slavePath(), defaultSettings); };
        QString description;
        QCOMPARE(errorNumber(openSecond, &description), 8005);
        QVERIFY2(description.contains(m_pty->slavePath()), qPrintable(description));
        QVERIFY(first.isOpen());

        PtyPair other;
        QVERIFY(other.isValid());
        first.open(other.slavePath(), defaultSettings);
        QVERIFY(other.write("B"));
        QTRY_COMPARE(first.bytesWaiting(), 1);
        QCOMPARE(first.readAll(), QByteArray("B"));
        QCOMPARE(errorNumber(openSecond), 0);
    }

private:
    std::unique_ptr<PtyPair> m_pty;
};

QTEST_GUILESS_MAIN(TestSerialScannerPort)
#include "tst_serialscannerport.moc"
