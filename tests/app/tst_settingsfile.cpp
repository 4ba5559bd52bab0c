#include "app/Options.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink::app;

namespace {

// Answers every prompt with OK and records it as "icon/buttons/text".
class RecordingPrompter : public Prompter
{
public:
    QStringList asked;

    Answer ask(Icon icon, Buttons buttons, const QString &text) override
    {
        asked << QStringLiteral("%1/%2/%3").arg(int(icon)).arg(int(buttons)).arg(text);
        return Answer::Ok;
    }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A program folder and a "Windows directory" under one temporary folder.
struct Folders
{
    QTemporaryDir root;
    Settings settings;
    Options options;
    RecordingPrompter prompter;

    Folders()
    {
        settings.programDir = root.filePath(QStringLiteral("program"));
        settings.windowsDir = root.filePath(QStringLiteral("windows"));
        QDir().mkpath(settings.programDir);
        QDir().mkpath(settings.windowsDir);
    }
    QString path(const QString &relative) const { return root.filePath(relative); }
    bool load() { return loadSettings(settings, options, prompter); }
};

QString field(const Settings &s, const QString &name)
{
    const QHash<QString, QString> fields = {
        {QStringLiteral("serialSettings"), s.serialSettings},
        {QStringLiteral("gcodePath"), s.gcodePath},
        {QStringLiteral("listPath"), s.listPath},
        {QStringLiteral("serialPort"), QString::number(s.serialPort)},
        {QStringLiteral("commPollTime"), QString::number(s.commPollTime)},
        {QStringLiteral("csvInPath"), s.csvInPath},
        {QStringLiteral("csvOutPath"), s.csvOutPath},
        {QStringLiteral("commDevice"), s.commDevice},
        {QStringLiteral("editorPath"), s.editorPath},
        {QStringLiteral("tempPath"), s.tempPath},
    };
    return fields.value(name, QStringLiteral("no such field"));
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void loadKeys_data();
    void loadKeys();
    void loadSwitches_data();
    void loadSwitches();
    void locate_data();
    void locate();
    void switchWrittenAndReadBack_data();
    void switchWrittenAndReadBack();
    void serialSettingsSaved();
    void folderDefaults_data();
    void folderDefaults();
    void portDeviceName_data();
    void portDeviceName();

private:
    QTemporaryDir m_home;
};

void TestSettingsFile::init()
{
    qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", m_home.filePath(QStringLiteral("run")).toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
}

void TestSettingsFile::loadKeys_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    const QString data = m_home.filePath(QStringLiteral("data/barlink/"));
    auto row
        = [](const char *name, const QByteArray &line, const char *field, const QString &expected) {
              QTest::newRow(name) << line << QString::fromLatin1(field) << expected;
          };
    row("Settings default", "", "serialSettings", QStringLiteral("9600,N,8,1"));
    row("Settings not trimmed",
        "Settings=\" 19200,E,7,2 \"",
        "serialSettings",
        QStringLiteral(" 19200,E,7,2 "));
    row("GCodePath keeps its separator", "GCodePath=/g/", "gcodePath", QStringLiteral("/g/"));
    row("GCodePath cut to 127",
        "GCodePath=" + QByteArray(200, 'p'),
        "gcodePath",
        QString(127, QLatin1Char('p')));
    row("GCodePath default", "", "gcodePath", data + QStringLiteral("product/"));
    row("ListPath default", "", "listPath", data + QStringLiteral("product/lsx/"));
    row("CSVInPath drops one slash", "CSVInPath=/in//", "csvInPath", QStringLiteral("/in/"));
    row("CSVInPath drops a backslash", "CSVInPath=D:\\IN\\", "csvInPath", QStringLiteral("D:\\IN"));
    row("CSVInPath default", "", "csvInPath", data + QStringLiteral("csv"));
    row("CSVOutPath trimmed first", "CSVOutPath=\" /out/ \"", "csvOutPath", QStringLiteral("/out"));
    row("CSVOutPath default", "", "csvOutPath", data + QStringLiteral("Barlink.csv"));
    row("CommPort", "CommPort=2", "serialPort", QStringLiteral("2"));
    row("CommPort default", "", "serialPort", QStringLiteral("1"));
    row("CommPort beyond 16 bits", "CommPort=70000", "serialPort", QStringLiteral("0"));
    row("CommPollTime 99 keeps 1000", "CommPollTime=99", "commPollTime", QStringLiteral("1000"));
    row("CommPollTime 100 used", "CommPollTime=100", "commPollTime", QStringLiteral("100"));
    row("CommDevice", "CommDevice=/dev/ttyACM0", "commDevice", QStringLiteral("/dev/ttyACM0"));
    row("CommDevice not cut at 127",
        "CommDevice=/" + QByteArray(199, 'd'),
        "commDevice",
        QLatin1Char('/') + QString(199, QLatin1Char('d')));
    row("EditorPath default", "", "editorPath", QString());
    row("TempPath default", "", "tempPath", m_home.filePath(QStringLiteral("run/barlink")));
}

void TestSettingsFile::loadKeys()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, field);
    QFETCH(QString, expected);

    Folders station;
    writeAll(station.path(QStringLiteral("program/KTQ.INI")), "[GESTBCOD]\r\n" + line + "\r\n");
    QVERIFY(station.load());
    QCOMPARE(::field(station.settings, field), expected);
    QCOMPARE(station.prompter.asked, QStringList());
}

void TestSettingsFile::loadSwitches_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Options::Switch>("option");
    QTest::addColumn<int>("expected");

    QTest::newRow("written form, cleared") << QByteArray("AutoClear= 0") << Options::AutoClear << 0;
    QTest::newRow("greyed") << QByteArray("AutoClear=2") << Options::AutoClear << 2;
    QTest::newRow("other number ticks") << QByteArray("AutoClear=5") << Options::AutoClear << 1;
    QTest::newRow("minus one ticks") << QByteArray("AutoClear=-1") << Options::AutoClear << 1;
    QTest::newRow("missing ticks") << QByteArray() << Options::AutoClear << 1;
    QTest::newRow("Overwrite") << QByteArray("Overwrite=0") << Options::Overwrite << 0;
    QTest::newRow("AutoStart") << QByteArray("AutoStart=0") << Options::AutoStart << 0;
}

void TestSettingsFile::loadSwitches()
{
    QFETCH(QByteArray, line);
    QFETCH(Options::Switch, option);
    QFETCH(int, expected);

    Folders station;
    writeAll(station.path(QStringLiteral("program/KTQ.INI")), "[GESTBCOD]\r\n" + line + "\r\n");
    QVERIFY(station.load());
    QCOMPARE(station.options.value(option), expected);
    QCOMPARE(station.options.value(Options::ShowEd), 0);
}

void TestSettingsFile::locate_data()
{
    QTest::addColumn<QString>("programFile"); // a file in the program folder, "dir:" a folder
    QTest::addColumn<bool>("windowsFile");    // KTQ.INI in the "Windows directory"
    QTest::addColumn<QString>("expectedFile");
    QTest::addColumn<int>("expectedPort");

    QTest::newRow("program folder wins")
        << QStringLiteral("KTQ.INI") << true << QStringLiteral("program/KTQ.INI") << 3;
    QTest::newRow("Windows directory")
        << QString() << true << QStringLiteral("windows/KTQ.INI") << 4;
    QTest::newRow("lower-case name")
        << QStringLiteral("ktq.ini") << false << QStringLiteral("program/ktq.ini") << 3;
    QTest::newRow("no file: a folder of that name")
        << QStringLiteral("dir:KTQ.INI") << false << QStringLiteral("windows/KTQ.INI") << 0;
}

void TestSettingsFile::locate()
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
        writeAll(station.path(QStringLiteral("program/") + programFile),
                 "[gestbcod]\r\ncommport=3\r\n");
    if (windowsFile)
        writeAll(windowsPath, "[GESTBCOD]\r\nCommPort=4\r\n");
    const QByteArray windowsBefore = readAll(windowsPath);

    const bool found = expectedPort != 0;
    QCOMPARE(station.load(), found);
    QCOMPARE(station.settings.settingsFilePath, station.path(expectedFile));
    QCOMPARE(station.settings.serialPort, qint16(expectedPort));
    const QStringList notFound{QStringLiteral("%1/%2/File KTQ.INI Not Found")
                                   .arg(int(Prompter::Icon::Critical))
                                   .arg(int(Prompter::Buttons::Ok))};
    QCOMPARE(station.prompter.asked, found ? QStringList() : notFound);

    // Writes go to the file in use, and create it where none was found.
    writeKey(station.settings, QStringLiteral("Exclusion"), QStringLiteral("00100001"));
    QCOMPARE(readKey(station.settings, QStringLiteral("exclusion")), QStringLiteral("00100001"));
    if (expectedFile != QLatin1String("windows/KTQ.INI"))
        QCOMPARE(readAll(windowsPath), windowsBefore);
}

void TestSettingsFile::switchWrittenAndReadBack_data()
{
    QTest::addColumn<Options::Switch>("option");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("AutoClear ticked") << Options::AutoClear << 1 << QByteArray("AutoClear= 1");
    QTest::newRow("AutoClear cleared") << Options::AutoClear << 0 << QByteArray("AutoClear= 0");
    QTest::newRow("Overwrite cleared") << Options::Overwrite << 0 << QByteArray("Overwrite= 0");
    QTest::newRow("AutoStart greyed") << Options::AutoStart << 2 << QByteArray("AutoStart= 2");
    QTest::newRow("ShowEd not stored") << Options::ShowEd << 1 << QByteArray();
}

void TestSettingsFile::switchWrittenAndReadBack()
{
    QFETCH(Options::Switch, option);
    QFETCH(int, value);
    QFETCH(QByteArray, line);

    Folders station;
    const QString path = station.path(QStringLiteral("program/KTQ.INI"));
    const QByteArray before = "[GESTBCOD]\r\nAutoClear=7\r\nOverwrite=7\r\nAutoStart=7\r\n";
    writeAll(path, before);
    QVERIFY(station.load());
    writeOptionSwitch(station.settings, option, value);
    if (line.isEmpty()) {
        QCOMPARE(readAll(path), before);
        return;
    }
    QVERIFY2(readAll(path).contains("\r\n" + line + "\r\n"), readAll(path).constData());
    Folders reread;
    reread.settings = station.settings;
    QVERIFY(reread.load());
    QCOMPARE(reread.options.value(option), value);
}

void TestSettingsFile::serialSettingsSaved()
{
    Folders station;
    const QString path = station.path(QStringLiteral("program/KTQ.INI"));
    writeAll(path, "[GESTBCOD]\r\nSettings=9600,N,8,1\r\nCommPort=1\r\n");
    QVERIFY(station.load());
    station.settings.serialSettings = QStringLiteral("19200,E,7,2");
    station.settings.serialPort = 12;
    saveSerialSettings(station.settings);
    QCOMPARE(readAll(path), QByteArray("[GESTBCOD]\r\nSettings=19200,E,7,2\r\nCommPort=12\r\n"));
}

void TestSettingsFile::folderDefaults_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("expected");

    const QString home = QDir::homePath();
    const QString windows = QStringLiteral("windows");
    const QString gcode = QStringLiteral("gcode");
    const QString temp = QStringLiteral("temp");
    QTest::newRow("config home set") << QByteArray("XDG_CONFIG_HOME") << QStringLiteral("/cfg")
                                     << windows << QStringLiteral("/cfg/barlink");
    QTest::newRow("data home relative")
        << QByteArray("XDG_DATA_HOME") << QStringLiteral("d") << gcode
        << home + QStringLiteral("/.local/share/barlink/product/");
    QTest::newRow("no runtime folder") << QByteArray("XDG_RUNTIME_DIR") << QString() << temp
                                       << QDir::tempPath() + QStringLiteral("/barlink-operator");
}

void TestSettingsFile::folderDefaults()
{
    QFETCH(QByteArray, variable);
    QFETCH(QString, value);
    QFETCH(QString, which);
    QFETCH(QString, expected);

    qputenv("USER", "operator");
    if (value.isNull())
        qunsetenv(variable.constData());
    else
        qputenv(variable.constData(), value.toLocal8Bit());
    const SettingsDefaults defaults = settingsDefaults();
    const QString actual = which == QLatin1String("windows") ? windowsDirectory()
                           : which == QLatin1String("gcode") ? defaults.gcodePath
                                                             : defaults.tempPath;
    QCOMPARE(actual, expected);
}

void TestSettingsFile::portDeviceName_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("expected");

    QTest::newRow("COM1") << QString() << 1 << QStringLiteral("/dev/ttyS0");
    QTest::newRow("COM4") << QString() << 4 << QStringLiteral("/dev/ttyS3");
    QTest::newRow("no port") << QString() << 0 << QString();
    QTest::newRow("device wins") << QStringLiteral("/dev/pts/3") << 1
                                 << QStringLiteral("/dev/pts/3");
}

void TestSettingsFile::portDeviceName()
{
    QFETCH(QString, device);
    QFETCH(int, port);
    QFETCH(QString, expected);

    Settings settings;
    settings.commDevice = device;
    settings.serialPort = qint16(port);
    QCOMPARE(barlink::app::portDeviceName(settings), expected);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
