// The main window's manual entry, option switches and menus, and the port
// settings dialog, driven by object name.

#include "Fakes.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "app/PortControl.h"
#include "app/SettingsDialog.h"
#include "base/LabelGate.h"
#include "base/Settings.h"
#include "label/LabelInterpreter.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

class RecordingInterpreter : public label::LabelInterpreter
{
public:
    bool interpretLabel(const QString &label) override
    {
        labels << label;
        return accept;
    }
    QStringList labels;
    bool accept = true;
};

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void manualEntry_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QStringList>("interpreted");
        QTest::addColumn<QString>("status");
        // clang-format off
        QTest::newRow("command in lower case") << "%start%" << true << QStringList{"%START%"} << "Type the Barcode-Label.";
        QTest::newRow("empty closes the entry") << "" << true << QStringList{} << "Ready.";
        QTest::newRow("refused stays for correction") << "prog" << false << QStringList{"PROG"} << "Type the Barcode-Label.";
        // clang-format on
    }
    void manualEntry()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accept);
        const bool stillTyping = !accept; // a refused label stays for correction

        app::MainWindow window;
        RecordingInterpreter interpreter;
        interpreter.accept = accept;
        base::LabelGate gate;
        window.setLabelInterpreter(&interpreter, &gate);
        window.show();
        auto *entry = child<QLineEdit>(window, "txtEtichetta");
        auto *edit = child<QPushButton>(window, "cmdEdit");
        auto *ok = child<QPushButton>(window, "cmdEndEdit");
        QVERIFY(!entry->isEnabled() && !ok->isEnabled());

        QTest::mouseClick(edit, Qt::LeftButton);
        QVERIFY(entry->isEnabled() && ok->isEnabled() && !edit->isEnabled());
        QCOMPARE(child<QLabel>(window, "lblStatusBar")->text(),
                 QStringLiteral("Type the Barcode-Label."));
        QTest::keyClicks(entry, typed);
        QTest::mouseClick(ok, Qt::LeftButton);

        QTEST(interpreter.labels, "interpreted");
        QCOMPARE(entry->isEnabled(), stillTyping);
        QCOMPARE(ok->isEnabled(), stillTyping);
        QCOMPARE(edit->isEnabled(), !stillTyping);
        QCOMPARE(entry->text(), stillTyping ? typed.toUpper() : QString());
        QTEST(window.status(), "status");
        QVERIFY(!gate.isBusy());
    }

    void optionSwitchesFollowTheModelAndTheOperator()
    {
        app::MainWindow window;
        base::Options options;
        options.setValue(base::Options::Overwrite, 1);
        options.setValue(base::Options::AutoStart, 2);
        window.bindOptions(options);
        window.show();
        auto *clear = child<QCheckBox>(window, "AClear");
        auto *overwrite = child<QCheckBox>(window, "Overwrite");
        QCOMPARE(clear->checkState(), Qt::Unchecked);
        QCOMPARE(overwrite->checkState(), Qt::Checked);
        QCOMPARE(child<QCheckBox>(window, "AutoStart")->checkState(), Qt::PartiallyChecked);
        QVERIFY(child<QCheckBox>(window, "ShowEd")->isHidden());

        QSignalSpy written(&options, &base::Options::userChanged);
        // On the box itself: a check box is wider than its caption in the layout.
        QTest::mouseClick(clear, Qt::LeftButton, {}, QPoint(8, clear->height() / 2));
        overwrite->click(); // a second mouse click at once would count as a double click
        QCOMPARE(written.size(), 2);
        QCOMPARE(written.at(0).at(0).value<base::Options::Switch>(), base::Options::AutoClear);
        QCOMPARE(written.at(0).at(1).toInt(), 1);
        QCOMPARE(written.at(1).at(1).toInt(), 0);
        QVERIFY(options.autoClear() && !options.overwrite());

        options.setValue(base::Options::AutoClear, 0); // from the program: no write
        QCOMPARE(clear->checkState(), Qt::Unchecked);
        QCOMPARE(written.size(), 2);
    }

    void menusStayDisabledUntilTheirCommandIsSet()
    {
        app::MainWindow window;
        auto *about = child<QAction>(window, "mnuAbout");
        auto *listManager = child<QAction>(window, "mnuListManager");
        QObject::connect(&window, &app::MainWindow::aboutRequested, [] {});
        int listManagerShown = 0;
        QObject::connect(
            &window, &app::MainWindow::listManagerRequested, [&] { ++listManagerShown; });
        QVERIFY(!about->isEnabled() && !listManager->isEnabled());
        window.enableMenus();
        QVERIFY(about->isEnabled() && listManager->isEnabled());
        QVERIFY(!child<QAction>(window, "MnuAutoFld")->isEnabled());
        listManager->trigger();
        QCOMPARE(listManagerShown, 1);
    }

    // The last-scan line keeps its width while characters arrive; the exclusion label is
    // there only while it has a text.
    void linesKeepTheirPlace()
    {
        app::MainWindow window;
        window.resize(620, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *lastScan = child<QLabel>(window, "ComDisplay");
        const int width = lastScan->width();
        window.setActivity(true, QStringLiteral("X"));
        window.setLastScan(QStringLiteral(" Last Scan:    %12PROG"));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(lastScan->width(), width);

        auto *exclusion = child<QLabel>(window, "ExLab");
        QVERIFY(exclusion->isHidden());
        window.setExclusionText(QStringLiteral("Exclusion 3"));
        QVERIFY(!exclusion->isHidden());
        window.setExclusionText(QString());
        QVERIFY(exclusion->isHidden());
    }

    // Clicks the named controls ("txtDevice=PATH" types a path, "lstDevices=N" clicks the
    // N-th device), then OK (or Cancel when "cancel" is last); storedPort -1: no port stored.
    // failFirst: the first opening fails, so OK has to be pressed twice.
    void settingsDialog_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("failFirst");
        QTest::addColumn<int>("storedPort");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("storedDevice");
        using L = QStringList;
        const QString usb = QStringLiteral("/dev/serial/by-id/usb-Maker_Scanner-if00");
        // clang-format off
        QTest::newRow("unchanged") << 3 << "19200,E,7,2" << "" << L{"optCom3", "optBaud19200", "optParityEven", "optDataBits7", "optStopBits2"}
                                   << L{} << false << 3 << "19200,E,7,2" << "";
        QTest::newRow("operator's choice") << 3 << "19200,E,7,2" << "" << L{"optCom3"}
                                   << L{"optCom2", "optBaud9600", "optParityNone", "optDataBits8", "optStopBits1"} << false << 2 << "9600,N,8,1" << "";
        QTest::newRow("baud without option stays") << 1 << "14400,N,8,1" << "" << L{"optCom1", "optParityNone"} << L{} << false << 1 << "14400,N,8,1" << "";
        QTest::newRow("port out of range stores 0") << 7 << "9600,N,8,1" << "" << L{"optBaud9600"} << L{} << false << 0 << "9600,N,8,1" << "";
        QTest::newRow("cancel changes nothing") << 1 << "9600,N,8,1" << "" << L{} << L{"OptCom4", "cancel"} << false << -1 << "9600,N,8,1" << "";
        QTest::newRow("nothing stored: usual line settings") << 0 << "" << "" << L{"optBaud9600", "optParityNone", "optDataBits8", "optStopBits1"}
                                   << L{} << false << 0 << "9600,N,8,1" << "";
        QTest::newRow("stored device shown") << 2 << "9600,N,8,1" << "/dev/ttyUSB3" << L{"optDevice"} << L{} << false << 2 << "9600,N,8,1" << "/dev/ttyUSB3";
        QTest::newRow("Com clears the device") << 1 << "9600,N,8,1" << "/dev/ttyACM0" << L{"optDevice"} << L{"optCom2"} << false << 2 << "9600,N,8,1" << "";
        QTest::newRow("device from the list") << 1 << "9600,N,8,1" << "" << L{"optCom1"} << L{"lstDevices=0"} << false << 1 << "9600,N,8,1" << usb;
        QTest::newRow("typed device, first opening fails") << 3 << "9600,N,8,1" << "" << L{"optCom3"} << L{"txtDevice=/dev/ttyUSB7"} << true << 3 << "9600,N,8,1" << "/dev/ttyUSB7";
        // clang-format on
    }
    void settingsDialog()
    {
        QFETCH(int, port);
        QFETCH(QString, device);
        QFETCH(QStringList, checked);
        QFETCH(QStringList, clicks);
        QFETCH(bool, failFirst);
        QFETCH(int, storedPort);
        QFETCH(QString, stored);
        QFETCH(QString, storedDevice);

        QTemporaryDir dir;
        base::Settings values;
        values.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI"));
        values.serialPort = qint16(port);
        QFETCH(QString, settings);
        values.serialSettings = settings;
        values.commDevice = device;
        ScriptedPrompter prompter;
        FakeDisplay display;
        FakeScannerPort scanner; // what each OK opened, from the settings in memory then
        scanner.failOpen = failFirst;
        app::PortControl control(values, scanner, display, prompter);
        app::SettingsDialog dialog(values, prompter, control);
        dialog.setDevices({{QStringLiteral("/dev/serial/by-id/usb-Maker_Scanner-if00"),
                            QStringLiteral("/dev/ttyACM0"),
                            QStringLiteral("Scanner"),
                            QStringLiteral("Maker")}});
        dialog.show();
        for (const QString &name : checked)
            QVERIFY2(child<QRadioButton>(dialog, name)->isChecked(), qPrintable(name));
        if (port < 1 || port > 4 || !device.isEmpty()) {
            for (const char *name : {"optCom1", "optCom2", "optCom3", "OptCom4"})
                QVERIFY(!child<QRadioButton>(dialog, name)->isChecked());
        }
        const bool cancel = clicks.removeAll(QStringLiteral("cancel")) > 0;
        for (const QString &click : std::as_const(clicks)) {
            const QString name = click.section(u'=', 0, 0);
            const QString value = click.section(u'=', 1);
            if (name == QLatin1String("txtDevice")) {
                QTest::keyClicks(child<QLineEdit>(dialog, name), value);
            } else if (name == QLatin1String("lstDevices")) {
                auto *list = child<QListWidget>(dialog, name);
                QTest::mouseClick(list->viewport(),
                                  Qt::LeftButton,
                                  {},
                                  list->visualItemRect(list->item(value.toInt())).center());
            } else {
                child<QRadioButton>(dialog, name)->click();
            }
        }
        auto *ok = child<QPushButton>(dialog, "cmdOK");
        if (failFirst) {
            // The dialog stays open, says why, and OK tries what it shows again.
            QTest::mouseClick(ok, Qt::LeftButton);
            QVERIFY(dialog.isVisible());
            QVERIFY(child<QLabel>(dialog, "lblPortError")->isVisible());
            QVERIFY(child<QLabel>(dialog, "lblPortError")->text().contains("Invalid port number"));
            scanner.failOpen = false;
        }
        QTest::mouseClick(cancel ? child<QPushButton>(dialog, "cmdCancel") : ok, Qt::LeftButton);

        QCOMPARE(dialog.result(), int(cancel ? QDialog::Rejected : QDialog::Accepted));
        QCOMPARE(int(values.serialPort), cancel ? port : storedPort);
        QCOMPARE(values.serialSettings, cancel ? settings : stored);
        QCOMPARE(values.commDevice, cancel ? device : storedDevice);
        const QByteArray content = readBytes(values.settingsFilePath);
        QCOMPARE(content.isEmpty(), cancel);
        QCOMPARE(scanner.openCalls, cancel ? 0 : failFirst ? 2 : 1);
        if (!cancel) {
            QCOMPARE(scanner.openedDevice, settings::portDeviceName(values));
            QVERIFY(content.contains("Settings=" + stored.toLatin1() + "\r\n"));
            QVERIFY(content.contains("CommPort=" + QByteArray::number(storedPort) + "\r\n"));
            // CommDevice is written when it changes, and written empty to clear it.
            QCOMPARE(content.contains("CommDevice=" + storedDevice.toLatin1() + "\r\n"),
                     storedDevice != device);
            QCOMPARE(content.contains("CommDevice"), storedDevice != device);
        }
        QVERIFY(prompter.shown.isEmpty());
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
