#include "Fakes.h"
#include "TestSupport.h"
#include "base/Options.h"
#include "base/Settings.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::base;
using namespace barlink::settings;
using namespace barlink::testing;

namespace {

// A program folder and a "Windows directory" under one temporary folder.
struct Folders
{
    QTemporaryDir root;
    base::Settings settings;
    base::Options options;
    ScriptedPrompter prompter;

    Folders()
    {
        settings.programDir = path(QStringLiteral("program"));
        settings.windowsDir = path(QStringLiteral("windows"));
        QDir().mkpath(settings.programDir);
        QDir().mkpath(settings.windowsDir);
    }
    [[nodiscard]] QString path(const QString &relative) const { return root.filePath(relative); }
    bool load() { return loadSettings(settings, options, prompter); }
    // Loads a settings file in the program folder whose section holds these lines.
    bool load(const QByteArray &lines)
    {
        return writeBytes(path(QStringLiteral("program/KTQ.INI")),
                          "[GESTBCOD]\r\n" + lines + "\r\n")
               && load() && prompter.shown.isEmpty();
    }
};

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", m_home.filePath(QStringLiteral("run")).toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
    }

    void missingKeysReadAsDefaults()
    {
        Folders station;
        QVERIFY(station.load(QByteArray()));
        const base::Settings &s = station.settings;
        const QString data = m_home.filePath(QStringLiteral("data/barlink/"));
        QCOMPARE(s.serialSettings, QStringLiteral("9600,N,8,1"));
        QCOMPARE(s.gcodePath, data + QStringLiteral("product/"));
        QCOMPARE(s.listPath, data + QStringLiteral("product/lsx/"));
        QCOMPARE(s.csvInPath, data + QStringLiteral("csv"));
        QCOMPARE(s.csvOutPath, data + QStringLiteral("Barlink.csv"));
        QCOMPARE(s.serialPort, qint16(1));
    }

    void keysAreCutTrimmedAndBounded()
    {
        Folders a;
        QVERIFY(a.load("Settings=\" 19200,E,7,2 \"\r\nGCodePath=" + QByteArray(200, 'p')
                       + "\r\nCSVInPath=/in//\r\nCSVOutPath=\" /out/ \"\r\nCommPort=70000\r\n"
                         "CommPollTime=99\r\nCommDevice=/"
                       + QByteArray(199, 'd')));
        QCOMPARE(a.settings.serialSettings, QStringLiteral(" 19200,E,7,2 ")); // quotes only
        QCOMPARE(a.settings.gcodePath, QString(127, u'p'));
        QCOMPARE(a.settings.csvInPath, QStringLiteral("/in/"));     // one separator dropped
        QCOMPARE(a.settings.csvOutPath, QStringLiteral("/out"));    // after trimming
        QCOMPARE(a.settings.serialPort, qint16(0));                 // beyond 16 bits: no port
        QCOMPARE(a.settings.commPollTime, 1000);                    // below 100 the interval stays
        QCOMPARE(a.settings.commDevice, u'/' + QString(199, u'd')); // a path: not cut at 127

        Folders b;
        QVERIFY(b.load("GCodePath=/g/\r\nCSVInPath=D:\\IN\\\r\nCommPollTime=100"));
        QCOMPARE(b.settings.gcodePath, QStringLiteral("/g/"));
        QCOMPARE(b.settings.csvInPath, QStringLiteral("D:\\IN"));
        QCOMPARE(b.settings.commPollTime, 100);
    }

    void switches_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QList<int>>("values"); // AutoClear, Overwrite, AutoStart
        QTest::newRow("missing ticks") << QByteArray() << QList<int>{1, 1, 1};
        QTest::newRow("written form, cleared")
            << QByteArray("AutoClear= 0\r\nOverwrite=0\r\nAutoStart=0") << QList<int>{0, 0, 0};
        QTest::newRow("greyed; other numbers tick")
            << QByteArray("AutoClear=2\r\nOverwrite=5\r\nAutoStart=-1") << QList<int>{2, 1, 1};
    }
    void switches()
    {
        QFETCH(QByteArray, lines);
        Folders station;
        QVERIFY(station.load(lines));
        const base::Options &o = station.options;
        QTEST((QList<int>{o.value(base::Options::AutoClear),
                          o.value(base::Options::Overwrite),
                          o.value(base::Options::AutoStart)}),
              "values");
        QCOMPARE(o.value(base::Options::ShowEd), 0);
    }

    void locate_data()
    {
        QTest::addColumn<QString>("programFile"); // a file in the program folder, "dir:" a folder
        QTest::addColumn<bool>("windowsFile");    // KTQ.INI in the "Windows directory"
        QTest::addColumn<QString>("expectedFile");
        QTest::addColumn<int>("expectedPort"); // 0: not found
        // clang-format off
        QTest::newRow("program folder wins") << "KTQ.INI"     << true  << "program/KTQ.INI" << 3;
        QTest::newRow("Windows directory")   << ""            << true  << "windows/KTQ.INI" << 4;
        QTest::newRow("lower-case name")     << "ktq.ini"     << false << "program/ktq.ini" << 3;
        QTest::newRow("no file, a folder")   << "dir:KTQ.INI" << false << "windows/KTQ.INI" << 0;
        // clang-format on
    }
    void locate()
    {
        QFETCH(QString, programFile);
        QFETCH(bool, windowsFile);
        QFETCH(QString, expectedFile);
        QFETCH(int, expectedPort);

        Folders station;
        const QString windowsPath = station.path(QStringLiteral("windows/KTQ.INI"));
        if (programFile.startsWith(QLatin1String("dir:")))
            QVERIFY(QDir(station.settings.programDir).mkdir(programFile.mid(4)));
        else if (!programFile.isEmpty())
            QVERIFY(writeBytes(station.path(QStringLiteral("program/") + programFile),
                               "[gestbcod]\r\ncommport=3\r\n"));
        if (windowsFile)
            QVERIFY(writeBytes(windowsPath, "[GESTBCOD]\r\nCommPort=4\r\n"));
        const QByteArray windowsBefore = readBytes(windowsPath);

        const bool found = expectedPort != 0;
        QCOMPARE(station.load(), found);
        QCOMPARE(station.settings.settingsFilePath, station.path(expectedFile));
        QCOMPARE(station.settings.serialPort, qint16(expectedPort));
        QCOMPARE(station.prompter.texts(),
                 found ? QStringList() : QStringList{"File KTQ.INI Not Found"});
        if (!found) {
            const auto &box = station.prompter.shown.first();
            QCOMPARE(box.icon, base::Prompter::Icon::Critical);
            // Further text: the places looked at; the second one is where the file is made.
            QVERIFY2(box.details.contains(QDir::toNativeSeparators(station.path("program/KTQ.INI"))
                                          + u'\n' + QDir::toNativeSeparators(windowsPath)),
                     qPrintable(box.details));
        }

        // Writes go to the file in use, and create it where none was found.
        writeKey(station.settings, QStringLiteral("Exclusion"), QStringLiteral("00100001"));
        QCOMPARE(readKey(station.settings, QStringLiteral("exclusion")),
                 QStringLiteral("00100001"));
        if (expectedFile != QLatin1String("windows/KTQ.INI"))
            QCOMPARE(readBytes(windowsPath), windowsBefore);
    }

    // The port settings and the switches are written in place, in the forms read back.
    void writesKeepTheirForms()
    {
        Folders station;
        QVERIFY(station.load("Settings=9600,N,8,1\r\nCommPort=1\r\nAutoClear=7"));
        station.settings.serialSettings = QStringLiteral("19200,E,7,2");
        station.settings.serialPort = 12;
        saveSerialSettings(station.settings);
        writeOptionSwitch(station.settings, base::Options::AutoClear, 1);
        writeOptionSwitch(station.settings, base::Options::Overwrite, 0);
        writeOptionSwitch(station.settings, base::Options::AutoStart, 2);
        writeOptionSwitch(station.settings, base::Options::ShowEd, 0); // not stored
        QCOMPARE(readBytes(station.settings.settingsFilePath),
                 QByteArray("[GESTBCOD]\r\nSettings=19200,E,7,2\r\nCommPort=12\r\nAutoClear= 1\r\n"
                            "Overwrite= 0\r\nAutoStart= 2\r\n"));
        Folders reread;
        reread.settings = station.settings;
        QVERIFY(reread.load());
        QCOMPARE(reread.settings.serialPort, qint16(12));
        QCOMPARE(reread.options.value(base::Options::AutoStart), 2);
        QCOMPARE(reread.options.value(base::Options::Overwrite), 0);
    }

    // The folders that stand in for the control software's: the "Windows directory" under
    // the config home, the data home only when absolute, the temporary folder per user.
    void folderDefaults()
    {
        qputenv("USER", "operator");
        qputenv("XDG_CONFIG_HOME", "/cfg");
        QCOMPARE(windowsDirectory(), QStringLiteral("/cfg/barlink"));
        qputenv("XDG_DATA_HOME", "d");
        QCOMPARE(settingsDefaults().gcodePath,
                 QDir::homePath() + QStringLiteral("/.local/share/barlink/product/"));
    }

    void portDeviceName()
    {
        base::Settings settings;
        settings.serialPort = 4;
        QCOMPARE(barlink::settings::portDeviceName(settings), QStringLiteral("/dev/ttyS3"));
        settings.commDevice = QStringLiteral("/dev/pts/3");
        QCOMPARE(barlink::settings::portDeviceName(settings),
                 settings.commDevice); // the device wins
        settings = {};
        QCOMPARE(barlink::settings::portDeviceName(settings), QString()); // no port
    }

private:
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
