#include "PtyPair.h"
#include "TestSupport.h"
#include "base/Error.h"
#include "scanner/SerialScannerPort.h"

#include <QFile>
#include <QTemporaryDir>
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
        QTest::newRow("missing device")     << "/dev/barlink-no-such-tty" << "9600,N,8,1" << false << 8002 << "Invalid port number: /dev/barlink-no-such-tty";
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

    void lostDeviceIsReportedOnceAndClosed()
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

    void reopensAfterLoss_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("new device path") << false;
        QTest::newRow("same link re-pointed") << true;
    }
    void reopensAfterLoss()
    {
        QFETCH(bool, throughLink);
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("scanner"));
        if (throughLink)
            QVERIFY(QFile::link(m_pty->slavePath(), link));

        SerialScannerPort port;
        int lost = 0;
        port.onDeviceLost = [&](const QString &) { ++lost; };
        port.open(throughLink ? link : m_pty->slavePath(), defaultSettings);
        m_pty->closeMaster();
        QTRY_COMPARE(lost, 1);

        PtyPair returned;
        QVERIFY(returned.isValid());
        if (throughLink)
            QVERIFY(QFile::remove(link) && QFile::link(returned.slavePath(), link));
        port.open(throughLink ? link : returned.slavePath(), defaultSettings);
        QVERIFY(returned.write("%END%"));
        QTRY_COMPARE(port.bytesWaiting(), 5);
        QCOMPARE(port.readAll(), QByteArray("%END%"));
        port.write("ACK\r");
        QTRY_COMPARE(returned.received(), QByteArray("ACK\r"));
        // The second loss is reported as well.
        returned.closeMaster();
        QTRY_COMPARE(lost, 2);
    }

private:
    std::unique_ptr<PtyPair> m_pty;
};

QTEST_GUILESS_MAIN(TestSerialScannerPort)
#include "tst_serialscannerport.moc"
