#include "scanner/LineSettings.h"
#include "scanner/PortErrors.h"

#include <QTest>

using barlink::scanner::LineSettings;
using barlink::scanner::parseLineSettings;

Q_DECLARE_METATYPE(QSerialPort::Parity)
Q_DECLARE_METATYPE(QSerialPort::DataBits)
Q_DECLARE_METATYPE(QSerialPort::StopBits)
Q_DECLARE_METATYPE(QSerialPort::SerialPortError)

// The settings text of the scanner port and the decisions taken on port errors.
class TestLineSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parsesValidSettings_data();
    void parsesValidSettings();
    void refusesInvalidSettings_data();
    void refusesInvalidSettings();
    void deviceLostDecision_data();
    void deviceLostDecision();
    void openErrorMapping_data();
    void openErrorMapping();
};

void TestLineSettings::parsesValidSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("baud");
    QTest::addColumn<QSerialPort::Parity>("parity");
    QTest::addColumn<QSerialPort::DataBits>("dataBits");
    QTest::addColumn<QSerialPort::StopBits>("stopBits");

    QTest::newRow("default") << "9600,N,8,1" << 9600 << QSerialPort::NoParity << QSerialPort::Data8
                             << QSerialPort::OneStop;
    QTest::newRow("even 7 2") << "19200,E,7,2" << 19200 << QSerialPort::EvenParity
                              << QSerialPort::Data7 << QSerialPort::TwoStop;
    QTest::newRow("odd") << "300,O,8,1" << 300 << QSerialPort::OddParity << QSerialPort::Data8
                         << QSerialPort::OneStop;
    QTest::newRow("mark 5 bits 1.5 stop") << "110,M,5,1.5" << 110 << QSerialPort::MarkParity
                                          << QSerialPort::Data5 << QSerialPort::OneAndHalfStop;
    QTest::newRow("space 6 bits") << "1200,S,6,1" << 1200 << QSerialPort::SpaceParity
                                  << QSerialPort::Data6 << QSerialPort::OneStop;
    QTest::newRow("lower-case parity") << "9600,e,7,1" << 9600 << QSerialPort::EvenParity
                                       << QSerialPort::Data7 << QSerialPort::OneStop;
    QTest::newRow("rate without an option") << "14400,N,8,1" << 14400 << QSerialPort::NoParity
                                            << QSerialPort::Data8 << QSerialPort::OneStop;
    QTest::newRow("blanks around fields") << " 57600 , N , 8 , 1 " << 57600 << QSerialPort::NoParity
                                          << QSerialPort::Data8 << QSerialPort::OneStop;
    QTest::newRow("largest rate") << "2147483647,N,8,1" << 2147483647 << QSerialPort::NoParity
                                  << QSerialPort::Data8 << QSerialPort::OneStop;
}

void TestLineSettings::parsesValidSettings()
{
    QFETCH(QString, text);
    QFETCH(qint32, baud);
    QFETCH(QSerialPort::Parity, parity);
    QFETCH(QSerialPort::DataBits, dataBits);
    QFETCH(QSerialPort::StopBits, stopBits);

    const std::optional<LineSettings> settings = parseLineSettings(text);
    QVERIFY(settings.has_value());
    QCOMPARE(*settings, (LineSettings{baud, parity, dataBits, stopBits}));
}

void TestLineSettings::refusesInvalidSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("rate only") << "9600";
    QTest::newRow("three fields") << "9600,N,8";
    QTest::newRow("five fields") << "9600,N,8,1,0";
    QTest::newRow("zero rate") << "0,N,8,1";
    QTest::newRow("negative rate") << "-9600,N,8,1";
    QTest::newRow("signed rate") << "+9600,N,8,1";
    QTest::newRow("decimal rate") << "9600.5,N,8,1";
    QTest::newRow("rate too large") << "2147483648,N,8,1";
    QTest::newRow("empty rate") << ",N,8,1";
    QTest::newRow("unknown parity") << "9600,X,8,1";
    QTest::newRow("parity word") << "9600,None,8,1";
    QTest::newRow("empty parity") << "9600,,8,1";
    QTest::newRow("4 data bits") << "9600,N,4,1";
    QTest::newRow("9 data bits") << "9600,N,9,1";
    QTest::newRow("0 stop bits") << "9600,N,8,0";
    QTest::newRow("3 stop bits") << "9600,N,8,3";
    QTest::newRow("1,5 stop bits") << "9600,N,8,1,5";
    QTest::newRow("semicolons") << "9600;N;8;1";
}

void TestLineSettings::refusesInvalidSettings()
{
    QFETCH(QString, text);
    QVERIFY(!parseLineSettings(text).has_value());
}

void TestLineSettings::deviceLostDecision_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<bool>("lost");
    QTest::newRow("read error") << QSerialPort::ReadError << true;
    QTest::newRow("resource error") << QSerialPort::ResourceError << true;
    QTest::newRow("no error") << QSerialPort::NoError << false;
    QTest::newRow("modem lines unsupported") << QSerialPort::UnsupportedOperationError << false;
    QTest::newRow("busy") << QSerialPort::PermissionError << false;
}

void TestLineSettings::deviceLostDecision()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(bool, lost);
    QCOMPARE(barlink::scanner::isDeviceLost(error), lost);
}

void TestLineSettings::openErrorMapping_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<QString>("systemText");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::newRow("missing device")
        << QSerialPort::DeviceNotFoundError << "No such file or directory" << 8002
        << "Invalid port number: /dev/ttyS7 (No such file or directory)";
    QTest::newRow("busy") << QSerialPort::PermissionError << "Permission denied" << 8005
                          << "Port already open: /dev/ttyS7 (Permission denied)";
    QTest::newRow("open twice") << QSerialPort::OpenError << QString() << 8005
                                << "Port already open: /dev/ttyS7";
    QTest::newRow("settings refused")
        << QSerialPort::UnsupportedOperationError << "Invalid argument" << 8015
        << "Could not set comm state: /dev/ttyS7 (Invalid argument)";
    QTest::newRow("other") << QSerialPort::UnknownError << "Input/output error" << 8010
                           << "The hardware is not available: /dev/ttyS7 (Input/output error)";
}

void TestLineSettings::openErrorMapping()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(QString, systemText);
    QFETCH(int, number);
    QFETCH(QString, description);
    const barlink::Error result
        = barlink::scanner::openError(error, QStringLiteral("/dev/ttyS7"), systemText);
    QCOMPARE(result.number(), number);
    QCOMPARE(result.description(), description);
}

QTEST_GUILESS_MAIN(TestLineSettings)
#include "tst_linesettings.moc"
