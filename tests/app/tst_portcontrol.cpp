// The port settings choice, the port's opening with the settings in memory, and
// what happens when the scanner goes away and comes back.

#include "Fakes.h"
#include "app/PortControl.h"
#include "app/SerialChoice.h"
#include "base/Settings.h"
#include "scanner/SerialDevice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

base::Settings settingsOf(int port, const char *device, const char *serialSettings)
{
    base::Settings settings;
    settings.serialPort = qint16(port);
    settings.commDevice = QString::fromLatin1(device);
    settings.serialSettings = QString::fromLatin1(serialSettings);
    return settings;
}

} // namespace

class tst_PortControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choiceFromSettings_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("choice"); // baud, parity, data bits, stop bits
        QTest::addColumn<QString>("written");
        // clang-format off
        QTest::newRow("all changed")              << 3 << "19200,E,7,2"  << "19200|E|7|2"  << "19200,E,7,2";
        QTest::newRow("baud without option")      << 1 << "14400,N,8,1"  << "14400|N|8|1"  << "14400,N,8,1";
        QTest::newRow("one and a half stop bits") << 2 << "9600,N,8,1.5" << "9600|N|8|1.5" << "9600,N,8,1.5";
        QTest::newRow("no comma")                 << 1 << "9600"         << "9600|||"      << "9600,,,";
        QTest::newRow("not a number")             << 1 << "fast,N,8,1"   << "0|N|8|1"      << "0,N,8,1";
        QTest::newRow("port out of range kept")   << 9 << "9600,N,8,1"   << "9600|N|8|1"   << "9600,N,8,1";
        // clang-format on
    }
    void choiceFromSettings()
    {
        QFETCH(int, port);
        QFETCH(QString, settings);
        const auto choice = app::SerialChoice::fromSettings(qint16(port), settings);
        QCOMPARE(choice.port, qint16(port));
        QTEST(QStringList(
                  {QString::number(choice.baud), choice.parity, choice.dataBits, choice.stopBits})
                  .join(u'|'),
              "choice");
        QTEST(choice.toSettings(), "written");
    }

    // devices: "name:description:maker" under dev/; links: "link>target" in dev/by-id/.
    void deviceListUsesStableNames_data()
    {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QStringList>("captions");
        using L = QStringList;
        // clang-format off
        QTest::newRow("ports in number order") << L{"ttyS10::", "ttyS2::", "ttyS0::"} << L{}
            << L{"dev/ttyS0", "dev/ttyS2", "dev/ttyS10"};
        QTest::newRow("USB device by its stable name, first")
            << L{"ttyS0::", "ttyACM0:Scanner:Maker"} << L{"usb-Maker_Scanner-if00>../ttyACM0"}
            << L{"dev/by-id/usb-Maker_Scanner-if00\nttyACM0: Scanner, Maker", "dev/ttyS0"};
        QTest::newRow("link to another device") << L{"ttyUSB0:FT232R USB UART:FTDI"}
            << L{"usb-FTDI-if00>../ttyUSB1"} << L{"dev/ttyUSB0\nFT232R USB UART, FTDI"};
        // clang-format on
    }
    void deviceListUsesStableNames()
    {
        QFETCH(QStringList, devices);
        QFETCH(QStringList, links);
        QTemporaryDir dir;
        const QString dev = dir.filePath(QStringLiteral("dev"));
        QVERIFY(QDir().mkpath(dev + QStringLiteral("/by-id")));
        for (const QString &link : std::as_const(links)) {
            QVERIFY(QFile::link(link.section(u'>', 1),
                                dev + QStringLiteral("/by-id/") + link.section(u'>', 0, 0)));
        }
        QList<scanner::SerialDevice> found;
        for (const QString &device : std::as_const(devices)) {
            const QStringList parts = device.split(u':');
            found.append({QString(), dev + u'/' + parts[0], parts[1], parts[2]});
        }
        QStringList captions;
        for (const auto &device : scanner::withStableNames(found, dev + QStringLiteral("/by-id")))
            captions << device.caption().remove(dir.path() + u'/');
        QTEST(captions, "captions");
    }

    // A port that does not open: the error is shown and the settings dialog offered until the
    // operator cancels it or the choice opens the port; the caption changes only then.
    void failedOpenOffersTheDialog_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("operator cancels") << true;
        QTest::newRow("the choice opens it") << false;
    }
    void failedOpenOffersTheDialog()
    {
        QFETCH(bool, cancel);
        base::Settings settings = settingsOf(1, "", "9600,N,8,1");
        FakeDisplay display;
        display.currentSettings = QStringLiteral("before");
        ScriptedPrompter prompter;
        FakeScannerPort port;
        port.failOpen = true;
        app::PortControl control(settings, port, display, prompter);
        int dialogs = 0;
        QObject::connect(&control, &app::PortControl::settingsDialogRequested, [&] {
            ++dialogs;
            port.failOpen = false; // the dialog's choice opens the port; Cancel leaves it shut
            if (!cancel)
                QVERIFY(control.reopen().isEmpty());
        });
        QCOMPARE(control.applySerialSettings(), !cancel);
        QCOMPARE(dialogs, 1);
        QCOMPARE(
            prompter.texts(),
            QStringList(QStringLiteral("Unexpected error # 8002 occured: Invalid port number")));
        QCOMPARE(prompter.shown.first().icon, base::Prompter::Icon::Critical);
        QCOMPARE(display.currentSettings,
                 cancel ? QStringLiteral("before") : QStringLiteral("COM1:9600,N,8,1"));
    }

    // How the port came to be closed, and whether it then waits for its device.
    void portWaitsForItsDevice_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("waits");
        // clang-format off
        QTest::newRow("scanner unplugged")              << "lost"     << "/dev/pts/7" << true;
        QTest::newRow("not there at start-up, cancel")  << "start"    << "/dev/pts/7" << true;
        QTest::newRow("no port chosen, cancel")         << "start"    << ""           << false;
        QTest::newRow("shut down")                      << "shutdown" << "/dev/pts/7" << false;
        // clang-format on
    }
    void portWaitsForItsDevice()
    {
        QFETCH(QString, how);
        QFETCH(QString, device);
        QFETCH(bool, waits);
        using State = base::OperatorDisplay::PortState;
        base::Settings settings = settingsOf(0, device.toLatin1().constData(), "9600,N,8,1");
        FakeDisplay display;
        ScriptedPrompter prompter;
        FakeScannerPort port;
        app::PortControl control(settings, port, display, prompter);
        control.setReconnectInterval(10);
        int dialogs = 0;
        QObject::connect(&control, &app::PortControl::settingsDialogRequested, [&] { ++dialogs; });

        if (how == QLatin1String("start")) {
            port.failOpen = true;
            QVERIFY(control.startPort());
            QCOMPARE(dialogs, 1);
        } else {
            QVERIFY(control.applySerialSettings());
            QCOMPARE(display.portState, State::Open);
            port.failOpen = true;
            if (how == QLatin1String("lost"))
                port.loseDevice(QStringLiteral("the device went away"));
            else
                control.closePort();
        }
        QVERIFY(!port.isOpen());
        QCOMPARE(display.portState, waits ? State::Waiting : State::Closed);
        QCOMPARE(display.portDevice, device);
        const int opens = port.openCalls;
        QCOMPARE(control.isReconnecting(), waits);
        if (!waits)
            return;
        QVERIFY2(display.status().contains(QStringLiteral("Waiting for the scanner")),
                 qPrintable(display.status()));
        QTRY_VERIFY(port.openCalls > opens + 1); // tried again, quietly
        QCOMPARE(prompter.shown.size(), how == QLatin1String("start") ? 1 : 0);

        port.failOpen = false;
        QTRY_VERIFY(port.isOpen());
        QCOMPARE(port.openedDevice, device);
        QVERIFY(!control.isReconnecting());
        QCOMPARE(display.portState, State::Open);
        QCOMPARE(display.status(), app::PortControl::openText(device));
        QCOMPARE(display.currentSettings, device + QStringLiteral(":9600,N,8,1"));
    }
};

QTEST_GUILESS_MAIN(tst_PortControl)
#include "tst_portcontrol.moc"
