// The station's windows driven by object name: the main window's manual entry, option
// switches and menus, the port settings dialog, the About box and where windows are placed;
// and the port control behind them: the device list, the port's opening with the settings in
// memory, and the scanner going away and coming back.

#include "JournalFile.h"
#include "ManualClock.h"
#include "StationWindows.h"
#include "Tables.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "app/ScanWords.h"
#include "base/Reasons.h"
#include "base/RowValues.h"
#include "fieldsel/TablePlanWidget.h"
#include "scanner/SerialDevice.h"
#include "settings/SettingsFile.h"
#include "ui/CenterForm.h"
#include "ui/Language.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace barlink;
using namespace barlink::testing;

namespace {

base::Settings settingsOf(int port, const QString &device, const QString &serialSettings)
{
    base::Settings settings;
    settings.serialPort = qint16(port);
    settings.commDevice = device;
    settings.serialSettings = serialSettings;
    return settings;
}

// A refusal as the journal keeps it, whatever the screen's language.
const QString EnglishRefusal = QStringLiteral(
    "Dimension X refused: 1;2 holds \";\", which would end a field of the list row.");

// Items of one menu, or menus of the bar, that share an accelerator.
QStringList sharedAccelerators(const QMainWindow &window)
{
    QStringList shared;
    QList<QWidget *> menus{window.menuBar()};
    for (QMenu *menu : window.findChildren<QMenu *>())
        menus << menu;
    for (const QWidget *menu : std::as_const(menus)) {
        QMap<QKeySequence, QString> taken;
        for (const QAction *action : menu->actions()) {
            const QKeySequence key = QKeySequence::mnemonic(action->text());
            if (!key.isEmpty() && action->isVisible() && taken.contains(key))
                shared << taken[key] + " / " + action->text();
            taken.insert(key, action->text());
        }
    }
    return shared;
}

QString named(const QWidget *widget)
{
    return QString::fromLatin1(widget->metaObject()->className()) + u' ' + widget->objectName();
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void manualEntry_data()
    {
        columns<QString, bool, QStringList, QString>({"typed", "accept", "interpreted", "status"});
        // clang-format off
        QTest::newRow("command in lower case") << "%start%" << true << QStringList{"%START%"} << "Type the Barcode-Label.";
        QTest::newRow("empty closes the entry") << "" << true << QStringList{} << "Ready.";
        QTest::newRow("refused stays for correction") << "prog" << false << QStringList{"PROG"} << "Type the Barcode-Label.";
        QTest::newRow("Escape closes the entry") << "prog\x1b" << true << QStringList{} << "Ready.";
        // clang-format on
    }
    void manualEntry()
    {
        // A typed text ending in the escape character is left with Escape instead of OK.
        QString typed = fetch<QString>("typed");
        const bool escape = typed.endsWith(u'\x1b');
        typed.chop(escape ? 1 : 0);
        const bool stillTyping = !fetch<bool>("accept"); // a refused label stays for correction

        app::MainWindow window;
        QStringList interpreted;
        QObject::connect(&window, &app::MainWindow::labelTyped, [&](const QString &label) {
            interpreted << label;
            window.typedLabelDone(!stillTyping);
        });
        base::Options options;
        window.bindOptions(options);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *entry = child<QLineEdit>(window, "txtEtichetta");
        auto *edit = child<QPushButton>(window, "cmdEdit");
        auto *ok = child<QPushButton>(window, "cmdEndEdit");
        QVERIFY(!entry->isEnabled() && !ok->isEnabled());

        QTest::mouseClick(edit, Qt::LeftButton);
        QVERIFY(entry->isEnabled() && ok->isEnabled() && !edit->isEnabled());
        QCOMPARE(window.status(), QStringLiteral("Type the Barcode-Label."));
        QTest::keyClicks(entry, typed);
        if (escape)
            QTest::keyClick(entry, Qt::Key_Escape);
        else
            QTest::mouseClick(ok, Qt::LeftButton);

        QTEST(interpreted, "interpreted");
        QCOMPARE((QList<bool>{entry->isEnabled(), ok->isEnabled(), !edit->isEnabled()}),
                 QList<bool>(3, stillTyping));
        QCOMPARE(entry->text(), stillTyping ? typed.toUpper() : QString());
        QTEST(window.status(), "status");
        // The next Space, wherever the focus went, changes no option switch.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(options.autoClear(), false);
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

    // LANGUAGE picks the language by its first entry; English when that is English.
    void speaksTheOperatorsLanguage_data()
    {
        // shown: a row value refusal as the recent scans show it; the journal keeps it in English
        // whatever the language.
        columns<QString, QString, QLocale::Language>({"language", "shown", "dates"});
        // clang-format off
        QTest::newRow("German") << "de"
            << "Abgelehnt: Maß X abgelehnt: 1;2 enthält „;“, das ein Feld der Listenzeile beenden würde."
            << QLocale::German;
        QTest::newRow("first of a list") << "it_IT:de:en"
            << "Rifiutata: Misura X rifiutato: 1;2 contiene \";\", che chiuderebbe un campo della riga di lista."
            << QLocale::Italian;
        QTest::newRow("English first") << "en_GB:de" << "Refused: " + EnglishRefusal << QLocale::C;
        // clang-format on
    }
    void speaksTheOperatorsLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, shown);
        QFETCH(QLocale::Language, dates);
        const QByteArray before = qgetenv("LANGUAGE");
        qputenv("LANGUAGE", language.toUtf8());
        ui::installTranslations(*QCoreApplication::instance());
        app::MainWindow window;
        journal::Entry refused;
        refused.outcome = journal::Outcome::Refused;
        refused.reason = base::rowValueRefusal(
            base::Reason(base::Reason::Code::DimensionValue, QStringLiteral("X")),
            QStringLiteral("1;2"));
        const QString words = app::plainWords(refused);
        window.setStatus(refused.reason.shown()); // the status line tells a label's failure
        const QString status = child<QLabel>(window, "lblStatusBar")->text();
        const QLocale::Language dateLanguage = ui::shownLocale().language();
        const QStringList shared = sharedAccelerators(window);
        qputenv("LANGUAGE", before);
        ui::removeTranslations(*QCoreApplication::instance());
        // A refusal made while the screen speaks another language is journaled in English.
        QCOMPARE(refused.reason.english(), EnglishRefusal);
        QCOMPARE(words, shown);
        QVERIFY2(shown.endsWith(QStringLiteral(": ") + status), qPrintable(status));
        QCOMPARE(dateLanguage, dates);
        QCOMPARE(shared, QStringList());
    }

    void menusStayDisabledUntilTheirCommandIsSet()
    {
        app::MainWindow window;
        auto *about = child<QAction>(window, "mnuAbout");
        auto *listManager = child<QAction>(window, "mnuListManager");
        QObject::connect(&window, &app::MainWindow::aboutRequested, [] {});
        QSignalSpy listManagerShown(&window, &app::MainWindow::listManagerRequested);
        QVERIFY(!about->isEnabled() && !listManager->isEnabled());
        window.enableMenus();
        QVERIFY(about->isEnabled() && listManager->isEnabled());
        QVERIFY(!child<QAction>(window, "MnuAutoFld")->isEnabled());
        listManager->trigger();
        QCOMPARE(listManagerShown.size(), 1);
    }

    // The last-scan line keeps its width while characters arrive; long texts are cut.
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

        // The lines show the first line of a text, at most 200 characters of it, so that a
        // label far longer than any window is laid out quickly; the status text stays whole.
        const QString endless(100000, u'X');
        window.setStatus(endless);
        window.setLastScan(QStringLiteral("PB1^X800\r\nG71"));
        QCOMPARE(window.status(), endless);
        QCOMPARE(child<QLabel>(window, "lblStatusBar")->text(), QString(200, u'X') + u'\u2026');
        QCOMPARE(lastScan->text(), QStringLiteral("PB1^X800\u2026"));
    }

    // At every text size up to 200%, on the screens of the shop floor, the window fits; the
    // band's texts keep their proportion to the window's and wrap or end in an ellipsis rather
    // than being cut; three recent scans show; the plan's piece names are whole.
    void fitsTheScreen_data()
    {
        columns<double, QSize, bool>({"scale", "screen", "scrolls"});
        QTest::newRow("100%, 1366x768 beside the list") << 1.0 << QSize(790, 738) << false;
        QTest::newRow("200%, 1366x768") << 2.0 << QSize(1360, 738) << true;
        QTest::newRow("200%, 1920x1080") << 2.0 << QSize(1914, 1050) << false;
        QTest::newRow("300%, 1366x768") << 3.0 << QSize(1360, 738) << true;
    }
    void fitsTheScreen()
    {
        app::MainWindow window;
        window.setFontScale(fetch<double>("scale"));
        const auto normal = qScopeGuard([&window] { window.setFontScale(1.0); });
        window.showEntry(
            {.label = "%12PANNELLO-ANTA-SINISTRA.CNC N1 X",
             .outcome = journal::Outcome::Refused,
             .reason = base::Reason(base::Reason::Code::ScannedTwice, QStringLiteral("0.8"))});
        const QRectF field(0, 0.5, 0.5, 0.5), door(0, 0.8, 0.15, 0.167);
        window.setPieces(
            {{2000, 1200}, {}, {{"S", field, door, false}, {"A", field, door, true}}, true});
        window.resize(fetch<QSize>("screen"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), fetch<QSize>("screen"));
        // The word stops growing past twice the system's text size.
        const double scale = fetch<double>("scale");
        QCOMPARE(child<QLabel>(window, "lblResultWord")->font().pointSizeF(),
                 window.font().pointSizeF() * 3 * std::min(scale, 2.0) / scale);
        auto *whole = child<QScrollArea>(window, "scrWindow");
        QVERIFY(whole->widget()->width() <= whole->viewport()->width());
        const auto lines = child<QWidget>(window, "fraResult")->findChildren<QLabel *>();
        for (auto *line : lines) {
            for (auto *other : lines)
                QVERIFY2(line == other || !line->isVisible() || !other->isVisible()
                             || !line->geometry().intersects(other->geometry()),
                         qPrintable(line->objectName() + " over " + other->objectName()));
            QVERIFY2(line->wordWrap()
                         ? line->height() >= line->heightForWidth(line->width())
                         : line->fontMetrics().horizontalAdvance(line->text()) <= line->width(),
                     qPrintable(line->objectName()));
        }
        auto *glance = child<QScrollArea>(window, "scrGlance");
        auto *recent = child<QTableView>(window, "lstRecent");
        QCOMPARE(glance->verticalScrollBar()->isVisible(), fetch<bool>("scrolls"));
        QVERIFY(!glance->horizontalScrollBar()->isVisible());
        QVERIFY(recent->mapTo(glance, QPoint(0, recent->height())).y() <= glance->height());
        QVERIFY(recent->viewport()->height() >= 3 * recent->rowHeight(0));
        auto *plan = child<fieldsel::TablePlanWidget>(window, "picTable");
        for (int i : {0, 1})
            QVERIFY(!plan->pieceRect(i).intersects(plan->pieceName(i).rect)
                    || plan->pieceRect(i).contains(plan->pieceName(i).rect));
        // The port's line asks no more than the screen's width: its badges go under it.
        const QWidget *portRow = child<QLabel>(window, "lblPortState")->parentWidget();
        QVERIFY(portRow->minimumSizeHint().width() <= window.screen()->availableGeometry().width());
        // Nor does the window scroll sideways at its least width.
        window.resize(1, window.height());
        QCoreApplication::sendPostedEvents();
        QVERIFY(!glance->horizontalScrollBar()->isVisible());
        QVERIFY(whole->widget()->width() <= whole->viewport()->width());
    }

    // Clicks the named controls ("txtDevice=PATH" types a path, "lstDevices=N" clicks the
    // N-th device, "tab=NAME" presses Tab until NAME has focus, "key=KEY" presses Return, Space
    // or Down), then OK unless a key closed the dialog (or Cancel when "cancel" is last).
    // "fail" first: the first opening fails, so OK has to be pressed twice.
    void settingsDialog_data()
    {
        // stored: port|line settings|device
        columns<int, QString, QString, QStringList, QStringList, QString>(
            {"port", "settings", "device", "checked", "clicks", "stored"});
        using L = QStringList;
        const QString usb = QStringLiteral("/dev/serial/by-id/usb-Maker_Scanner-if00");
        // clang-format off
        QTest::newRow("unchanged") << 3 << "19200,E,7,2" << "" << L{"optCom3", "optBaud19200", "optParityEven", "optDataBits7", "optStopBits2"} << L{} << "3|19200,E,7,2|";
        QTest::newRow("operator's choice") << 3 << "19200,E,7,2" << "" << L{"optCom3"} << L{"optCom2", "optBaud9600", "optParityNone", "optDataBits8", "optStopBits1"} << "2|9600,N,8,1|";
        QTest::newRow("baud without option stays") << 1 << "14400,N,8,1" << "" << L{"optCom1", "optParityNone"} << L{} << "1|14400,N,8,1|";
        QTest::newRow("port out of range stores 0") << 7 << "9600,N,8,1" << "" << L{"optBaud9600"} << L{} << "0|9600,N,8,1|";
        QTest::newRow("cancel changes nothing") << 1 << "9600,N,8,1" << "" << L{} << L{"OptCom4", "cancel"} << "";
        QTest::newRow("nothing stored: usual line settings") << 0 << "" << "" << L{"optBaud9600", "optParityNone", "optDataBits8", "optStopBits1"} << L{} << "0|9600,N,8,1|";
        QTest::newRow("stored device shown") << 2 << "9600,N,8,1" << "/dev/ttyUSB3" << L{"optDevice"} << L{} << "2|9600,N,8,1|/dev/ttyUSB3";
        QTest::newRow("Com clears the device") << 1 << "9600,N,8,1" << "/dev/ttyACM0" << L{"optDevice"} << L{"optCom2"} << "2|9600,N,8,1|";
        QTest::newRow("device from the list") << 1 << "9600,N,8,1" << "" << L{"optCom1"} << L{"lstDevices=0"} << "1|9600,N,8,1|" + usb;
        QTest::newRow("Tab into the device list, Enter: device unchanged") << 1 << "9600,N,8,1" << "/dev/ttyACM9" << L{"optDevice"} << L{"tab=lstDevices", "key=Return"} << "1|9600,N,8,1|/dev/ttyACM9";
        QTest::newRow("Down, Enter chooses and stores") << 1 << "9600,N,8,1" << "/dev/ttyACM9" << L{"optDevice"} << L{"tab=lstDevices", "key=Down", "key=Return"} << "1|9600,N,8,1|/dev/ttyS0";
        QTest::newRow("typed device, first opening fails") << 3 << "9600,N,8,1" << "" << L{"optCom3"} << L{"fail", "txtDevice=/dev/ttyUSB7"} << "3|9600,N,8,1|/dev/ttyUSB7";
        // clang-format on
    }
    void settingsDialog()
    {
        const int port = fetch<int>("port");
        const QString &device = fetch<QString>("device"), &settings = fetch<QString>("settings");
        const QString &stored = fetch<QString>("stored");
        QStringList clicks = fetch<QStringList>("clicks");
        const QString storedDevice = stored.section(u'|', 2);
        const bool failFirst = clicks.removeAll(QStringLiteral("fail")) > 0;
        const bool cancel = clicks.removeAll(QStringLiteral("cancel")) > 0;
        QTemporaryDir dir;
        base::Settings values = settingsOf(port, device, settings);
        values.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI"));
        ScriptedPrompter prompter;
        FakeDisplay display;
        FakeScannerPort scanner; // what each OK opened, from the settings in memory then
        scanner.failOpen = failFirst;
        app::PortControl control(values, scanner, display, prompter);
        app::SettingsDialog dialog(values, prompter, control);
        dialog.setDevices(
            {{"/dev/serial/by-id/usb-Maker_Scanner-if00", "/dev/ttyACM0", "Scanner", "Maker"},
             {"/dev/ttyS0", "/dev/ttyS0", "", ""}});
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (const QString &name : fetch<QStringList>("checked"))
            QVERIFY2(child<QRadioButton>(dialog, name)->isChecked(), qPrintable(name));
        if (port < 1 || port > 4 || !device.isEmpty())
            for (const char *name : {"optCom1", "optCom2", "optCom3", "OptCom4"})
                QVERIFY(!child<QRadioButton>(dialog, name)->isChecked());
        for (const QString &click : std::as_const(clicks)) {
            const QString name = click.section(u'=', 0, 0);
            const QString value = click.section(u'=', 1);
            if (name == QLatin1String("txtDevice")) {
                QTest::keyClicks(child<QLineEdit>(dialog, name), value);
            } else if (name == QLatin1String("tab")) {
                for (int i = 0; i < 20 && QApplication::focusWidget()->objectName() != value; ++i)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget()->objectName(), value);
            } else if (name == QLatin1String("key")) {
                const std::map<QString, Qt::Key> keys{
                    {"Return", Qt::Key_Return}, {"Space", Qt::Key_Space}, {"Down", Qt::Key_Down}};
                QTest::keyClick(QApplication::focusWidget(), keys.at(value));
            } else if (name == QLatin1String("lstDevices")) {
                auto *list = child<QListWidget>(dialog, name);
                const QPoint at = list->visualItemRect(list->item(value.toInt())).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            } else {
                child<QRadioButton>(dialog, name)->click();
            }
        }
        auto *ok = child<QPushButton>(dialog, "cmdOK");
        if (failFirst) {
            // The dialog stays open, says why, and OK tries what it shows again. Placed low on
            // the screen and scrolling inside, it makes room for the message within the screen.
            const QRect area = dialog.screen()->availableGeometry();
            dialog.resize(dialog.width(), area.height() / 2);
            dialog.move(dialog.x(), area.bottom() + 1 - dialog.frameGeometry().height());
            QTest::mouseClick(ok, Qt::LeftButton);
            const auto *error = child<QLabel>(dialog, "lblPortError");
            QVERIFY(dialog.isVisible() && error->isVisible());
            QCOMPARE(dialog.frameGeometry().intersected(area), dialog.frameGeometry());
            QVERIFY(error->text().contains("Invalid port number"));
            scanner.failOpen = false;
        }
        if (dialog.isVisible())
            QTest::mouseClick(cancel ? child<QPushButton>(dialog, "cmdCancel") : ok,
                              Qt::LeftButton);

        QCOMPARE(dialog.result(), int(cancel ? QDialog::Rejected : QDialog::Accepted));
        const auto joined = [](int p, const QString &s, const QString &d) {
            return QString::number(p) + u'|' + s + u'|' + d;
        };
        QCOMPARE(joined(values.serialPort, values.serialSettings, values.commDevice),
                 cancel ? joined(port, settings, device) : stored);
        const QByteArray content = readBytes(values.settingsFilePath);
        QCOMPARE(content.isEmpty(), cancel);
        QCOMPARE(scanner.openCalls, cancel ? 0 : failFirst ? 2 : 1);
        if (!cancel) {
            QCOMPARE(scanner.openedDevice, settings::portDeviceName(values));
            QVERIFY(content.contains("Settings=" + values.serialSettings.toLatin1() + "\r\n"));
            QVERIFY(content.contains("CommPort=" + QByteArray::number(values.serialPort) + "\r\n"));
            // CommDevice is written when it changes, and written empty to clear it.
            QCOMPARE(content.contains("CommDevice=" + storedDevice.toLatin1() + "\r\n"),
                     storedDevice != device);
            QCOMPARE(content.contains("CommDevice"), storedDevice != device);
        }
        QVERIFY(prompter.shown.isEmpty());
    }

    void aboutShowsThisBuild()
    {
        app::AboutDialog dialog;
        // The designed text and the version as the build declares it: major, minor, revision.
        QCOMPARE(child<QLabel>(dialog, "lblProdInfo")->text(),
                 QStringLiteral("Barcode Manager, Version " BARLINK_DECLARED_VERSION));
        QVERIFY(!child<QLabel>(dialog, "imgApp")->pixmap().isNull());
    }

    // A window placed beside another lies wholly in the screen's available area, whatever
    // the screen's size and the windows' sizes (large scale factors make both big).
    void placedBesideOnTheScreen_data()
    {
        columns<QRect, QRect, QSize, QRect, QPoint>(
            {"area", "anchor", "wanted", "clear", "expected"});
        const QRect none;
        // clang-format off
        QTest::newRow("right") << QRect(0, 0, 1920, 1040) << QRect(24, 24, 600, 500) << QSize(900, 560) << none << QPoint(648, 24);
        QTest::newRow("below") << QRect(0, 0, 1280, 1400) << QRect(24, 24, 600, 500) << QSize(900, 560) << none << QPoint(24, 548);
        QTest::newRow("no useful room: lower half") << QRect(0, 30, 1024, 738) << QRect(24, 54, 1400, 1300) << QSize(2000, 1200) << none << QPoint(24, 398);
        QTest::newRow("no useful room: under the part kept clear") << QRect(0, 0, 1366, 738) << QRect(24, 24, 1318, 690) << QSize(900, 560) << QRect(24, 100, 1318, 300) << QPoint(24, 424);
        QTest::newRow("room beside too narrow for the text: under it") << QRect(0, 0, 1920, 1050) << QRect(24, 24, 1344, 1000) << QSize(2000, 1120) << QRect(24, 60, 1344, 250) << QPoint(24, 334);
        QTest::newRow("nor under it: lower half") << QRect(0, 0, 1366, 738) << QRect(24, 24, 1318, 690) << QSize(900, 560) << QRect(24, 100, 1318, 550) << QPoint(24, 368);
        QTest::newRow("second screen") << QRect(1920, 0, 1920, 1080) << QRect(1944, 24, 600, 500) << QSize(900, 560) << none << QPoint(2568, 24);
        // clang-format on
    }
    void placedBesideOnTheScreen()
    {
        const QRect &area = fetch<QRect>("area");
        const QRect placed = ui::placeBeside(
            area, fetch<QRect>("anchor"), fetch<QSize>("wanted"), 24, fetch<QRect>("clear"));
        QVERIFY(area.contains(placed));
        QTEST(placed.topLeft(), "expected");
    }

    // Each window the main window opens, at 300% on 1366x768 and 200% on 1920x1080: within
    // the screen, off the result band, the field selection also when the text grows while it
    // is open. Tab goes round it (and the main window), out of every control, stopping only at
    // controls that draw their focus and at one option of a group.
    void windowsFitAndTabRound_data()
    {
        columns<QString, QPoint, double, double>({"window", "screen", "opened", "scale"});
        for (const char *window : {"Settings", "Field selection", "Journal", "Try", "Guide"}) {
            QTest::addRow("%s, 1366x768 300%%", window) << window << QPoint(0, 0) << 3.0 << 3.0;
            QTest::addRow("%s, 1920x1080 200%%", window) << window << QPoint(1366, 0) << 2.0 << 2.0;
        }
        QTest::newRow("Field selection, 300% while open")
            << "Field selection" << QPoint() << 1.0 << 3.0;
        QTest::newRow("main window") << "" << QPoint() << 1.0 << 1.0;
    }
    void windowsFitAndTabRound()
    {
        QScreen *screen = QGuiApplication::screenAt(fetch<QPoint>("screen"));
        if (QGuiApplication::screens().size() < 2)
            QSKIP("needs the two screens of screens.json, which ctest sets up");
        app::MainWindow main;
        main.setScreen(screen);
        main.move(screen->availableGeometry().topLeft() + QPoint(24, 24));
        main.setFontScale(fetch<double>("opened"));
        const auto normal = qScopeGuard([&main] { main.setFontScale(1.0); });
        main.showEntry({.label = "%12PANNELLO-ANTA-SINISTRA.CNC N1 X",
                        .outcome = journal::Outcome::Refused,
                        .reason = base::Reason(base::Reason::Code::ScannedTwice, "0.8")});
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        StationWindows windows;
        {
            JournalFile file(windows.journalPath()); // rows a Tab could walk through
            QSqlQuery query(file.db());
            query.prepare(journal::insertEntrySql(journal::Store::Local));
            for (const char *label : {"%19A.CNC N", "%19B.CNC N"})
                QVERIFY(journal::insertEntry(
                    query,
                    {.time = QDateTime::currentDateTimeUtc(), .station = "S1", .label = label}));
        }
        const QString &name = fetch<QString>("window");
        const std::unique_ptr<QWidget> window = windows.make(name);
        // As the station opens it; none: the window's own.
        const QSize size = name == "Journal" ? QSize(1000, 560)
                           : name == "Try"   ? QSize(760, 860)
                           : name == "Guide" ? QSize(760, 640)
                                             : QSize();
        if (window) {
            main.placeOffTheResult(window.get(), size);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            const double scale = fetch<double>("scale");
            main.setFontScale(scale);
            const QWidget *band = child<QWidget>(main, "fraResult");
            QTRY_VERIFY2(screen->availableGeometry().contains(window->frameGeometry())
                             && !window->frameGeometry().intersects(
                                 QRect(band->mapToGlobal(QPoint(0, 0)), band->size())),
                         qPrintable(QDebug::toString(window->frameGeometry())));
            // The window grows with the text where there is room.
            QVERIFY(window->frameGeometry().width()
                    >= std::min(size.width() * scale, screen->size().width() - 96.0));
        }
        QWidget *shown = window ? window.get() : &main;
        QApplication::setActiveWindow(shown);
        QVERIFY(QTest::qWaitForWindowActive(shown));
        QWidget *const first = QApplication::focusWidget(), *at = first;
        QVERIFY(window || first->objectName() == "cmdEdit");
        int stops = 0;
        for (const QWidget *w : shown->findChildren<QWidget *>())
            stops += w->isVisibleTo(shown) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
        for (int step = 0; step <= stops && (step == 0 || at != first); ++step) {
            QTest::keyClick(at, Qt::Key_Tab);
            QWidget *next = QApplication::focusWidget();
            QVERIFY2(next != at || stops == 1, qPrintable("Tab stays in " + named(at)));
            const auto *option = qobject_cast<QRadioButton *>(next);
            QVERIFY2(!qobject_cast<QScrollArea *>(next)
                         && (!option || option->isChecked() || !option->group()
                             || !option->group()->checkedButton()),
                     qPrintable(named(next)));
            at = next;
        }
        QVERIFY2(at == first, qPrintable("Tab does not come back to " + named(first)));
    }

    // devices: "name:description:maker" under dev/; links: "link>target" in dev/by-id/.
    void deviceListUsesStableNames_data()
    {
        columns<QStringList, QStringList, QStringList>({"devices", "links", "captions"});
        using L = QStringList;
        // clang-format off
        QTest::newRow("ports in number order") << L{"ttyS10::", "ttyS2::", "ttyS0::"} << L{} << L{"dev/ttyS0", "dev/ttyS2", "dev/ttyS10"};
        QTest::newRow("USB device by its stable name, first") << L{"ttyS0::", "ttyACM0:Scanner:Maker"} << L{"usb-Maker_Scanner-if00>../ttyACM0"} << L{"dev/by-id/usb-Maker_Scanner-if00\nttyACM0: Scanner, Maker", "dev/ttyS0"};
        QTest::newRow("link to another device") << L{"ttyUSB0:FT232R USB UART:FTDI"} << L{"usb-FTDI-if00>../ttyUSB1"} << L{"dev/ttyUSB0\nFT232R USB UART, FTDI"};
        // clang-format on
    }
    void deviceListUsesStableNames()
    {
        QTemporaryDir dir;
        const QString dev = dir.filePath(QStringLiteral("dev"));
        QVERIFY(QDir().mkpath(dev + "/by-id"));
        for (const QString &link : fetch<QStringList>("links"))
            QVERIFY(QFile::link(link.section(u'>', 1), dev + "/by-id/" + link.section(u'>', 0, 0)));
        QList<scanner::SerialDevice> found;
        for (const QString &device : fetch<QStringList>("devices")) {
            const QStringList parts = device.split(u':');
            found.append({QString(), dev + u'/' + parts[0], parts[1], parts[2]});
        }
        QStringList captions;
        for (const auto &device : scanner::withStableNames(found, dev + QStringLiteral("/by-id")))
            captions << device.caption().remove(dir.path() + u'/');
        QTEST(captions, "captions");
    }

    // How the port came to be closed, and whether it then waits for its device.
    void portWaitsForItsDevice_data()
    {
        columns<QString, QString>({"how", "device"});
        // clang-format off
        QTest::newRow("not there at start-up, waited for") << "start" << "/dev/pts/7";
        QTest::newRow("not there at start-up, settings asked for") << "start settings" << "/dev/pts/7";
        QTest::newRow("no port chosen, cancel") << "start" << "";
        QTest::newRow("shut down") << "shutdown" << "/dev/pts/7";
        // clang-format on
    }
    void portWaitsForItsDevice()
    {
        const QString &how = fetch<QString>("how"), &device = fetch<QString>("device");
        const bool atStart = how.startsWith(QLatin1String("start"));
        const bool waits = atStart && !device.isEmpty();
        using State = base::OperatorDisplay::PortState;
        base::Settings settings = settingsOf(0, device, "9600,N,8,1");
        FakeDisplay display;
        ScriptedPrompter prompter;
        FakeScannerPort port;
        base::ManualClock clock;
        app::PortControl control(settings, port, display, prompter, nullptr, clock);
        int dialogs = 0;
        QObject::connect(&control, &app::PortControl::settingsDialogRequested, [&] { ++dialogs; });
        State portState = State::Closed;
        QString portDevice;
        QObject::connect(&control, &app::PortControl::stateChanged, [&](State s, const QString &d) {
            portState = s, portDevice = d;
        });
        if (atStart) {
            // A missing device is said plainly, the error as the detail; the settings dialog
            // comes when asked for. A station with no port at all gets the error and the dialog.
            const bool settingsWanted = how.endsWith(QLatin1String("settings"));
            if (settingsWanted)
                prompter.answers << base::Prompter::Answer::Yes;
            port.failOpen = true;
            QVERIFY(control.startPort());
            QCOMPARE(dialogs, int(!waits || settingsWanted));
            const QString error = "Unexpected error # 8002 occured: Invalid port number";
            QCOMPARE(prompter.shown.first().text,
                     waits ? app::PortControl::scannerMissingText(device) : error);
            QCOMPARE(prompter.shown.first().details, waits ? error : QString());
        } else {
            QVERIFY(control.applySerialSettings());
            QCOMPARE(portState, State::Open);
            port.failOpen = true;
            control.closePort();
        }
        QVERIFY(!port.isOpen());
        QCOMPARE(portState, waits ? State::Waiting : State::Closed);
        QCOMPARE(portDevice, device);
        const int opens = port.openCalls;
        QCOMPARE(control.isReconnecting(), waits);
        // Tried again every 2 s, quietly, for as long as it waits; a port shut on purpose or
        // with no device is not tried at all.
        clock.advance(1999);
        QCOMPARE(port.openCalls, opens);
        clock.advance(1);
        QCOMPARE(port.openCalls, opens + int(waits));
        clock.advance(2000);
        QCOMPARE(port.openCalls, opens + 2 * int(waits));
        if (!waits)
            return;
        QVERIFY(display.status().contains(u"Waiting for the scanner"));
        QCOMPARE(prompter.shown.size(), 1);

        port.failOpen = false;
        clock.advance(1999);
        QVERIFY(!port.isOpen());
        clock.advance(1);
        QVERIFY(port.isOpen());
        QCOMPARE(port.openedDevice, device);
        QVERIFY(!control.isReconnecting());
        QCOMPARE(portState, State::Open);
        QCOMPARE(display.status(), app::PortControl::openText(device));
        QCOMPARE(display.currentSettings, device + QStringLiteral(":9600,N,8,1"));
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
