// The main window's manual entry, option switches and menus, and the port
// settings dialog, driven by object name.

#include "Fakes.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/SettingsDialog.h"
#include "label/LabelGate.h"
#include "label/LabelInterpreter.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
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

template<typename T>
T *child(QWidget &window, const char *name)
{
    auto *widget = window.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control named %s", name);
    return widget;
}

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
        QTest::addColumn<bool>("stillTyping");
        QTest::addColumn<QString>("status");

        QTest::newRow("command in lower case")
            << "%start%" << true << QStringList{"%START%"} << false << "Type the Barcode-Label.";
        QTest::newRow("empty closes the entry") << "" << true << QStringList{} << false << "Ready.";
        QTest::newRow("refused stays for correction")
            << "prog" << false << QStringList{"PROG"} << true << "Type the Barcode-Label.";
    }

    void manualEntry()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accept);

        app::MainWindow window;
        RecordingInterpreter interpreter;
        interpreter.accept = accept;
        label::LabelGate gate;
        window.setLabelInterpreter(&interpreter, &gate);
        window.show();

        auto *entry = child<QLineEdit>(window, "txtEtichetta");
        auto *edit = child<QPushButton>(window, "cmdEdit");
        auto *ok = child<QPushButton>(window, "cmdEndEdit");
        QVERIFY(!entry->isEnabled());
        QVERIFY(!ok->isEnabled());
        QCOMPARE(child<QLabel>(window, "lblStatusBar")->text(), QStringLiteral("Ready."));

        QTest::mouseClick(edit, Qt::LeftButton);
        QVERIFY(entry->isEnabled());
        QVERIFY(!edit->isEnabled());
        QVERIFY(ok->isEnabled());
        QCOMPARE(window.status(), QStringLiteral("Type the Barcode-Label."));

        QTest::keyClicks(entry, typed);
        QTest::mouseClick(ok, Qt::LeftButton);

        QTEST(interpreter.labels, "interpreted");
        QFETCH(bool, stillTyping);
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
        app::Options options;
        options.setValue(app::Options::Overwrite, 1);
        options.setValue(app::Options::AutoStart, 2);
        window.bindOptions(options);
        window.show();

        auto *clear = child<QCheckBox>(window, "AClear");
        auto *overwrite = child<QCheckBox>(window, "Overwrite");
        auto *autoStart = child<QCheckBox>(window, "AutoStart");
        QCOMPARE(clear->checkState(), Qt::Unchecked);
        QCOMPARE(overwrite->checkState(), Qt::Checked);
        QCOMPARE(autoStart->checkState(), Qt::PartiallyChecked);
        QVERIFY(child<QCheckBox>(window, "ShowEd")->isHidden());
        QCOMPARE(autoStart->text(), QStringLiteral("  Machine Auto Start"));

        QSignalSpy written(&options, &app::Options::userChanged);
        // On the box itself: a check box is wider than its caption in the layout.
        QTest::mouseClick(clear, Qt::LeftButton, {}, QPoint(8, clear->height() / 2));
        overwrite->click(); // a second mouse click at once would count as a double click

        QCOMPARE(written.size(), 2);
        QCOMPARE(written.at(0).at(0).value<app::Options::Switch>(), app::Options::AutoClear);
        QCOMPARE(written.at(0).at(1).toInt(), 1);
        QCOMPARE(written.at(1).at(1).toInt(), 0);
        QVERIFY(options.autoClear());
        QVERIFY(!options.overwrite());

        options.setValue(app::Options::AutoClear, 0); // from the program: no write
        QCOMPARE(clear->checkState(), Qt::Unchecked);
        QCOMPARE(written.size(), 2);
    }

    void menusCarryTheirNames()
    {
        app::MainWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Barlink"));
        for (const char *name : {"mnuExit", "mnuSetttings", "MnuAutoFld", "ExIns", "mnuAbout"})
            QVERIFY2(window.findChild<QAction *>(QLatin1String(name)), name);
        QVERIFY(child<QLabel>(window, "ComDisplay")->text().startsWith(QStringLiteral(" Last Scan:")));
        QVERIFY(!window.findChild<QAction *>(QStringLiteral("MnuAutoFld"))->isEnabled());
        window.onAbout = [] {};
        window.enableMenus();
        QVERIFY(window.findChild<QAction *>(QStringLiteral("mnuAbout"))->isEnabled());
    }

    void settingsDialogFillsInAndStores_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("storedPort");
        QTest::addColumn<QString>("stored");

        QTest::newRow("unchanged")
            << 3 << "19200,E,7,2"
            << QStringList{"optCom3", "optBaud19200", "optParityEven", "optDataBits7", "optStopBits2"}
            << QStringList{} << 3 << "19200,E,7,2";
        QTest::newRow("operator's choice")
            << 3 << "19200,E,7,2" << QStringList{"optCom3"}
            << QStringList{"optCom2", "optBaud9600", "optParityNone", "optDataBits8", "optStopBits1"}
            << 2 << "9600,N,8,1";
        QTest::newRow("baud without option stays")
            << 1 << "14400,N,8,1" << QStringList{"optCom1", "optParityNone"} << QStringList{}
            << 1 << "14400,N,8,1";
        QTest::newRow("port out of range stores 0")
            << 7 << "9600,N,8,1" << QStringList{"optBaud9600"} << QStringList{} << 0
            << "9600,N,8,1";
    }

    void settingsDialogFillsInAndStores()
    {
        QFETCH(int, port);
        QFETCH(QString, settings);
        QFETCH(QStringList, checked);
        QFETCH(QStringList, clicks);

        QTemporaryDir dir;
        app::Settings values;
        values.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI"));
        values.serialPort = qint16(port);
        values.serialSettings = settings;
        ScriptedPrompter prompter;
        app::SettingsDialog dialog(values, prompter);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings"));

        for (const QString &name : checked)
            QVERIFY2(dialog.findChild<QRadioButton *>(name)->isChecked(), qPrintable(name));
        if (port < 1 || port > 4) {
            for (const char *name : {"optCom1", "optCom2", "optCom3", "OptCom4"})
                QVERIFY(!child<QRadioButton>(dialog, name)->isChecked());
        }
        for (const QString &name : clicks)
            dialog.findChild<QRadioButton *>(name)->click();
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QTEST(int(values.serialPort), "storedPort");
        QTEST(values.serialSettings, "stored");
        QFile file(values.settingsFilePath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QFETCH(QString, stored);
        QFETCH(int, storedPort);
        QVERIFY(content.contains("Settings=" + stored.toLatin1() + "\r\n"));
        QVERIFY(content.contains("CommPort=" + QByteArray::number(storedPort) + "\r\n"));
        QVERIFY(prompter.shown.isEmpty());
    }

    void settingsDialogCancelChangesNothing()
    {
        QTemporaryDir dir;
        app::Settings values;
        values.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI"));
        values.serialPort = 1;
        values.serialSettings = QStringLiteral("9600,N,8,1");
        ScriptedPrompter prompter;
        app::SettingsDialog dialog(values, prompter);
        dialog.show();
        QTest::mouseClick(child<QRadioButton>(dialog, "OptCom4"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(values.serialPort, qint16(1));
        QVERIFY(!QFile::exists(values.settingsFilePath));
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
