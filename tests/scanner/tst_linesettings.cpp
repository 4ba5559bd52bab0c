#include "scanner/LineSettings.h"
#include "scanner/PortErrors.h"

#include <QTest>

using barlink::scanner::LineSettings;
using SP = QSerialPort;

Q_DECLARE_METATYPE(std::optional<LineSettings>)
Q_DECLARE_METATYPE(QSerialPort::SerialPortError)

// The settings text of the scanner port and the decisions taken on port errors.
class TestLineSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<LineSettings>>("expected");
        using L = LineSettings;
        const auto refuse = [](const char *name, const char *text) {
            QTest::newRow(name) << QString::fromLatin1(text) << std::optional<L>();
        };
        // clang-format off
        QTest::newRow("even 7 2")               << "19200,E,7,2"  << std::optional(L{19200, SP::EvenParity, SP::Data7, SP::TwoStop});
        QTest::newRow("odd")                    << "300,O,8,1"    << std::optional(L{300, SP::OddParity, SP::Data8, SP::OneStop});
        QTest::newRow("mark 5 bits 1.5 stop")   << "110,M,5,1.5"  << std::optional(L{110, SP::MarkParity, SP::Data5, SP::OneAndHalfStop});
        QTest::newRow("space 6 bits")           << "1200,S,6,1"   << std::optional(L{1200, SP::SpaceParity, SP::Data6, SP::OneStop});
        QTest::newRow("lower-case parity")      << "9600,e,7,1"   << std::optional(L{9600, SP::EvenParity, SP::Data7, SP::OneStop});
        QTest::newRow("rate without an option") << "14400,N,8,1"  << std::optional(L{14400, SP::NoParity, SP::Data8, SP::OneStop});
        QTest::newRow("blanks around fields")   << " 57600 , N , 8 , 1 " << std::optional(L{57600, SP::NoParity, SP::Data8, SP::OneStop});
        QTest::newRow("largest rate")           << "2147483647,N,8,1" << std::optional(L{2147483647, SP::NoParity, SP::Data8, SP::OneStop});
        refuse("three fields", "9600,N,8");     refuse("five fields", "9600,N,8,1,0");
        refuse("zero rate", "0,N,8,1");         refuse("signed rate", "+9600,N,8,1");
        refuse("rate too large", "2147483648,N,8,1"); refuse("empty rate", ",N,8,1");
        refuse("unknown parity", "9600,X,8,1"); refuse("parity word", "9600,None,8,1");
        refuse("4 data bits", "9600,N,4,1");    refuse("9 data bits", "9600,N,9,1");
        refuse("0 stop bits", "9600,N,8,0");    refuse("3 stop bits", "9600,N,8,3");
        // clang-format on
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<LineSettings>, expected);
        QVERIFY(barlink::scanner::parseLineSettings(text) == expected);
    }

    void deviceLostDecision_data()
    {
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<bool>("lost");
        QTest::newRow("read error") << SP::ReadError << true;
        QTest::newRow("resource error") << SP::ResourceError << true;
        QTest::newRow("no error") << SP::NoError << false;
        QTest::newRow("modem lines unsupported") << SP::UnsupportedOperationError << false;
        QTest::newRow("busy") << SP::PermissionError << false;
    }
    void deviceLostDecision()
    {
        QFETCH(QSerialPort::SerialPortError, error);
        QTEST(barlink::scanner::isDeviceLost(error), "lost");
    }

    void openErrorMapping_data()
    {
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<QString>("systemText");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        // clang-format off
        QTest::newRow("missing device")   << SP::DeviceNotFoundError << "No such file or directory" << 8002 << "Invalid port number: /dev/ttyS7 (No such file or directory)";
        QTest::newRow("busy")             << SP::PermissionError << "Permission denied" << 8005 << "Port already open: /dev/ttyS7 (Permission denied)";
        QTest::newRow("open twice")       << SP::OpenError << QString() << 8005 << "Port already open: /dev/ttyS7";
        QTest::newRow("settings refused") << SP::UnsupportedOperationError << "Invalid argument" << 8015 << "Could not set comm state: /dev/ttyS7 (Invalid argument)";
        QTest::newRow("other")            << SP::UnknownError << "Input/output error" << 8010 << "The hardware is not available: /dev/ttyS7 (Input/output error)";
        // clang-format on
    }
    void openErrorMapping()
    {
        QFETCH(QSerialPort::SerialPortError, error);
        QFETCH(QString, systemText);
        const barlink::Error result
            = barlink::scanner::openError(error, QStringLiteral("/dev/ttyS7"), systemText);
        QTEST(result.number(), "number");
        QTEST(result.description(), "description");
    }
};

QTEST_GUILESS_MAIN(TestLineSettings)
#include "tst_linesettings.moc"
