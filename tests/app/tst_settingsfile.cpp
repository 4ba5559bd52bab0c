// The station's files: the profile file rules (reads of section "S", in-place single-key
// writes and failures), the station's keys read from and written to KTQ.INI, which names from
// labels stay inside their folder, how a name is found on a file system that tells letter cases
// apart, and whether a file is there, with the questions a removable disk asks.

#include "Fakes.h"
#include "Tables.h"
#include "TestSupport.h"
#include "base/FileExists.h"
#include "base/FileNames.h"
#include "base/Options.h"
#include "base/Settings.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

using namespace barlink;
using namespace barlink::base;
using namespace barlink::settings;
using namespace barlink::testing;
using P = base::Prompter::Answer;

namespace {

const QString S = QStringLiteral("S");
// A program folder and a "Windows directory" under one temporary folder.
struct Folders
{
    QTemporaryDir root;
    base::Settings settings;
    base::Options options;
    ScriptedPrompter prompter;

    Folders()
    {
        settings.programDir = path("program");
        settings.windowsDir = path("windows");
        QDir().mkpath(settings.programDir);
        QDir().mkpath(settings.windowsDir);
    }
    [[nodiscard]] QString path(const QString &relative) const { return root.filePath(relative); }
    bool load() { return loadSettings(settings, options, prompter); }
    // Loads a settings file in the program folder whose section holds these lines.
    bool load(const QByteArray &lines)
    {
        return writeBytes(path("program/KTQ.INI"), "[GESTBCOD]\r\n" + lines + "\r\n") && load()
               && prompter.shown.isEmpty();
    }
};

// AutoClear, Overwrite, AutoStart, ShowEd: "1 1 1 0".
QString switches(const base::Options &o)
{
    using O = base::Options;
    return QStringLiteral("%1 %2 %3 %4")
        .arg(o.value(O::AutoClear))
        .arg(o.value(O::Overwrite))
        .arg(o.value(O::AutoStart))
        .arg(o.value(O::ShowEd));
}

// "true", "false" or "error N" for what fileExists did.
QString outcome(const QString &path, base::Prompter &prompter, const PathQuery &query = queryPath)
{
    try {
        return fileExists(path, prompter, query) ? QStringLiteral("true") : QStringLiteral("false");
    } catch (const base::Error &error) {
        return QStringLiteral("error %1").arg(error.number());
    }
}

} // namespace

class tst_SettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", m_home.filePath(QStringLiteral("run")).toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
    }

    void readString_data()
    {
        columns<QByteArray, QString, QString, int, QString>(
            {"content", "key", "expected", "bufferSize", "defaultValue"});
        // clang-format off
        const auto row = [](const char *name, const QByteArray &content, const char *key, const char *expected,
                            int bufferSize = 128, const char *def = "dflt") {
            QTest::newRow(name) << content << QString::fromLatin1(key) << QString::fromLatin1(expected)
                                << bufferSize << QString::fromLatin1(def);
        };
        row("blanks around name and value",     "[S]\r\n  Port = COM3 \r\n", "port", "COM3");
        row("tab vt ff ctrl-z are blanks",      "[S]\n\tk\v=\f v\x1a\n", "k", "v");
        row("header ends at the last bracket",  "[S]]\r\nk=1\r\n", "k", "dflt");
        row("header trimmed",                   "[ S ]\r\nk=1\r\n", "k", "1");
        row("bracket without close is a key",   "[S]\r\n[k=1\r\n", "[k", "1");
        row("split at first equals",            "[S]\r\nk=a=b\r\n", "k", "a=b");
        row("key without equals gives default", "[S]\r\nk\r\nk=2\r\n", "k", "dflt");
        row("empty value is not the default",   "[S]\r\nk=\r\n", "k", "");
        row("semicolon line is a comment",      "[S]\r\n  ;k=1\r\nk=2\r\n", "k", "2");
        row("hash is not a comment",            "[S]\r\n#k=1\r\n", "#k", "1");
        row("no inline comment",                "[S]\r\na=abc ; x\r\n", "a", "abc ; x");
        row("names ignore case",                "[s]\r\ncommport=2\r\n", "CommPort", "2");
        row("accented names ignore case",       "[S]\r\n\xe9t\xe9=1\r\n", "\xc9T\xc9", "1");
        row("first key wins",                   "[S]\r\nk=1\r\nk=2\r\n", "k", "1");
        row("only first section searched",      "[S]\r\na=1\r\n[T]\r\n[s]\r\nk=2\r\n", "k", "dflt");
        row("key before any section",           "k=1\r\n[S]\r\n", "k", "dflt");
        row("CR-only line ends",                "[S]\rx=0\rk=v\r", "k", "v");
        row("runs of line ends, blank lines",   "\r\n\n[S]\r\n\r\r\n  \n\rk=v", "k", "v");
        row("single quotes stripped",           "[S]\r\nk=' a '\r\n", "k", " a ");
        row("unlike quotes kept",               "[S]\r\nk=\"x'\r\n", "k", "\"x'");
        row("cut to buffer size minus one",     "[S]\r\nk=abcdef\r\n", "k", "abc", 4);
        row("quotes stripped then cut",         "[S]\r\nk=\"abcdef\"\r\n", "k", "abc", 4);
        row("default quotes stripped",          "", "k", "x y", 128, "'x y'");
        row("default loses trailing blanks",    "", "k", " d", 128, " d \t");
        row("default cut to buffer size",       "", "k", "EN", 3, "END.-");
        row("UTF-8 mark before the header",     "\xEF\xBB\xBF[S]\r\nk=v\r\n", "k", "v");
        row("UTF-8 after the mark",             "\xEF\xBB\xBF[S]\r\nk=caf\xC3\xA9\r\n", "k", "caf\xE9");
        row("UTF-8 names ignore case",          "\xEF\xBB\xBF[S]\r\n\xC3\xA9t\xC3\xA9=1\r\n", "\xC9T\xC9", "1");
        row("UTF-8 cut by characters",          "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\xC3\xA9\xC3\xA9\r\n", "k", "\xE9\xE9", 3);
        // clang-format on
    }
    void readString()
    {
        QTEST(ProfileFile::readStringFrom(fetch<QByteArray>("content"),
                                          S,
                                          fetch<QString>("key"),
                                          fetch<QString>("defaultValue"),
                                          fetch<int>("bufferSize")),
              "expected");
    }

    void readInt_data()
    {
        columns<QByteArray, int>({"line", "expected"});
        // clang-format off
        QTest::newRow("leading digits") << QByteArray("k=42A9") << 42;  QTest::newRow("no leading digit") << QByteArray("k=B42") << 0;
        QTest::newRow("minus") << QByteArray("k=-1") << -1;             QTest::newRow("wraps at 32 bits") << QByteArray("k=4294967297") << 1;
        QTest::newRow("empty gives default") << QByteArray("k=") << 7;  QTest::newRow("missing gives default") << QByteArray("other=3") << 7;
        // clang-format on
    }
    void readInt()
    {
        QVERIFY(writeBytes(path(), "[S]\r\n" + fetch<QByteArray>("line") + "\r\n"));
        QTEST(ProfileFile(path()).readInt(S, QStringLiteral("k"), 7), "expected");
    }

    // Writes to section "S"; what was written reads back. What is not one line of it is
    // refused ("after" empty) and changes nothing.
    void write_data()
    {
        columns<QByteArray, QString, QString, QByteArray>({"before", "key", "value", "after"});
        // clang-format off
        const auto row = [](const char *name, const QByteArray &before, const char *key, const char *value,
                            const QByteArray &after) {
            QTest::newRow(name) << before << QString::fromLatin1(key) << QString::fromLatin1(value) << after;
        };
        row("key keeps its spelling", "[S]\r\nAutoClear= 0\r\n", "autoclear", " 1", "[S]\r\nAutoClear= 1\r\n");
        row("only the value changes", "[S]\r\n  k = old \x1a\r\nz=1\r\n", "k", "new", "[S]\r\n  k =new \x1a\r\nz=1\r\n");
        row("key without equals gets one", "[S]\r\nk  \r\n", "k", "v", "[S]\r\nk=v  \r\n");
        row("first duplicate written", "[S]\r\nk=1\r\nk=2\r\n", "k", "v", "[S]\r\nk=v\r\nk=2\r\n");
        row("new key before the blank line", "[S]\r\na=1\r\n\r\n[B]\r\nb=2\r\n", "n", "3", "[S]\r\na=1\r\nn=3\r\n\r\n[B]\r\nb=2\r\n");
        row("new key after a closing comment", "[s]\r\na=1\r\n; end\r\n[B]\r\n", "n", "3", "[s]\r\na=1\r\n; end\r\nn=3\r\n[B]\r\n");
        row("new key under a bare header", "[S]\r\n\r\n[B]\r\n", "n", "3", "[S]\r\nn=3\r\n\r\n[B]\r\n");
        row("new key in LF file", "[S]\na=1\n\n[B]\n", "n", "3", "[S]\na=1\nn=3\n\n[B]\n");
        row("new key at end without line end", "[S]\r\na=1", "n", "3", "[S]\r\na=1\r\nn=3\r\n");
        row("new key only in first section", "[S]\r\na=1\r\n[T]\r\n[S]\r\nk=2\r\n", "k", "v", "[S]\r\na=1\r\nk=v\r\n[T]\r\n[S]\r\nk=2\r\n");
        row("same key of other section untouched", "[T]\r\nk=1\r\n", "k", "v", "[T]\r\nk=1\r\n[S]\r\nk=v\r\n");
        row("new section in LF file", "[A]\na=1\n\n", "k", "v", "[A]\na=1\n\n[S]\nk=v\n");
        row("new section without final line end", "[A]\na=1", "k", "v", "[A]\na=1\n[S]\nk=v\n");
        row("empty file", "", "k", "v", "[S]\r\nk=v\r\n");
        row("UTF-8 mark and encoding kept", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "k", "\xE9", "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\n");
        row("new section after the mark alone", "\xEF\xBB\xBF", "k", "v", "\xEF\xBB\xBF[S]\r\nk=v\r\n");
        row("refused: equals in key", "[S]\r\nk=1\r\n", "a=b", "", ""); row("refused: key read as comment", "[S]\r\nk=1\r\n", ";k", "", "");
        row("refused: line end in value", "[S]\r\nk=1\r\n", "k", "a\nb", "");
        // clang-format on
    }
    void write()
    {
        const QString &key = fetch<QString>("key"), &value = fetch<QString>("value");
        const QByteArray &before = fetch<QByteArray>("before"), &after = fetch<QByteArray>("after");
        QVERIFY(writeBytes(path(), before));
        QCOMPARE(errorNumber([&] { ProfileFile(path()).writeString(S, key, value); }),
                 after.isEmpty() ? int(base::Error::InvalidCall) : 0);
        QCOMPARE(readBytes(path()), after.isEmpty() ? before : after);
        if (after.isEmpty()) // nor is an empty section written to
            QCOMPARE(errorNumber([&] { ProfileFile(path()).writeString({}, "k", "v"); }),
                     int(base::Error::InvalidCall));
        else // reading drops the leading blanks
            QCOMPARE(ProfileFile(path()).readString(S, key, "missing"), value.trimmed());
    }

    // A value of the station's goes into a file other programs share, which keeps every byte
    // but its own line (the table above has the layouts of single writes).
    void writesKeepASharedFileByteForByte()
    {
        const QByteArray shared
            = "; shared by the station programs\r\n[Editor]\r\nFont = Courier  "
              "\r\nLast=C:\\Prog\\caf\xe9.cnc\r\n\r\n[Other]\r\n#kept=yes\r\nCount=3";
        const QString file = m_home.filePath("config/KTQ.INI");
        const ProfileFile profile(file);
        // A missing folder and file are created.
        profile.writeString("New", "Name", "x");
        QCOMPARE(readBytes(file), QByteArray("[New]\r\nName=x\r\n"));
        QVERIFY(writeBytes(file, shared));
        profile.writeString("New", "Name", QStringLiteral(u"\u00e9t\u00e9"));
        QCOMPARE(readBytes(file), shared + "\r\n[New]\r\nName=\xe9t\xe9\r\n");
        QCOMPARE(QDir(m_home.filePath("config")).entryList(QDir::Files), QStringList{"KTQ.INI"});
    }

    void failedWriteLeavesFileAsItWas()
    {
        const QByteArray before = "[GESTBCOD]\r\nSettings=9600,N,8,1\r\n" + QByteArray(900, ';');
        QVERIFY(writeBytes(path(), before));

        {
            // The new content cannot be written in full.
            const FileSizeLimit limit(1024);
            QVERIFY(limit.isSet());
            QCOMPARE(
                errorNumber([&] { ProfileFile(path()).writeString(S, S, QString(300, u'x')); }),
                int(base::Error::DiskFull));
        }
        QCOMPARE(readBytes(path()), before);
        QCOMPARE(QDir(m_home.path()).entryList(QDir::Files), QStringList{"t.ini"});

        // A folder of the path that is a file.
        QCOMPARE(errorNumber([&] { ProfileFile(path() + "/x.ini").writeString(S, S, S); }),
                 int(base::Error::PathNotFound));
        QCOMPARE(readBytes(path()), before);
    }

    // Lines of megabytes (a file filled by accident): a key after them is still found, a value
    // is read as its first 127 characters, and writing a key keeps every other byte.
    void hugeLinesKeptAndRead()
    {
        const QByteArray huge(3 * 1024 * 1024, 'x');
        QVERIFY(writeBytes(path(), "[Junk]\r\n" + huge + "\r\n[S]\r\nbig=" + huge + "\r\nk=v\r\n"));
        const ProfileFile file(path());
        QCOMPARE(file.readString(S, "k"), QStringLiteral("v"));
        QCOMPARE(file.readString(S, "big"), QString(127, u'x'));
        file.writeString(S, "k", "w");
        QCOMPARE(readBytes(path()), "[Junk]\r\n" + huge + "\r\n[S]\r\nbig=" + huge + "\r\nk=w\r\n");
    }

    // The keys as read ("values": "Key=value" items, <data> for the data home's folder).
    // Missing keys read as defaults, and missing switches tick; the older keys are cut, trimmed
    // and bounded as they always were. The keys this station adds take only a well-formed value
    // in range: a bad one is not used and start-up says which key, which value and what is used
    // instead ("problem": the start of the one problem told; empty: none). CommPollTime keeps
    // its leading-digits reading, but is never longer than 10 s.
    void keys_data()
    {
        columns<QByteArray, QString, QString>({"lines", "values", "problem"});
        const auto row = [](const char *name,
                            const QByteArray &lines,
                            const QString &values,
                            const QString &problem = {}) {
            QTest::newRow(name) << lines << values << problem;
        };
        const QByteArray longName = "StationName=" + QByteArray(65, 'x');
        const QByteArray oldKeys = "Settings=\" 19200,E,7,2 \"\r\nGCodePath=" + QByteArray(200, 'p')
                                   + "\r\nCSVInPath=/in//\r\nCSVOutPath=\" /out/ "
                                     "\"\r\nCommPort=7\r\nCommPollTime=99\r\n"
                                     "AutoClear=2\r\nOverwrite=1x\r\nAutoStart=1\r\nCommDevice=/"
                                   + QByteArray(199, 'd');
        // clang-format off
        row("missing keys", "", "Settings=9600,N,8,1; GCodePath=<data>product/; ListPath=<data>product/lsx/; CSVInPath=<data>csv; CSVOutPath=<data>Barlink.csv; CommPort=1; Switches=1 1 1 0; ItemPauseMs=600");
        // Quotes only; one separator dropped; below 100 the interval stays; a path is not cut
        // at 127; a switch by its leading digits, 2 greyed.
        row("older keys cut, trimmed, bounded", oldKeys, "Settings= 19200,E,7,2 ; GCodePath=" + QString(127, u'p') + "; CSVInPath=/in/; CSVOutPath=/out; CommPort=7; CommPollTime=1000; CommDevice=/" + QString(199, u'd') + "; Switches=2 1 1 0");
        // A number outside its key's range is told as written, and never wrapped at 32 bits:
        // beyond 16 bits no port, a switch other than 0, 1, 2 ticks, a poll time is at most 10 s.
        row("port beyond 16 bits: none", "CommPort=70000", "CommPort=0", "CommPort=70000 is not used: a port number of at most 32767 is expected. 0 is used instead.");
        row("switch other than 0, 1, 2", "Overwrite=5", "Switches=1 1 1 0", "Overwrite=5 is not used: 0, 1 or 2 is expected. 1 is used instead.");
        row("switch below 0", "AutoStart=-1", "Switches=1 1 1 0", "AutoStart=-1 is not used");
        row("switch beyond 32 bits", "AutoClear=4294967296", "Switches=1 1 1 0", "AutoClear=4294967296 is not used");
        row("poll time beyond 32 bits", "CommPollTime=4294967396", "CommPollTime=10000", "CommPollTime=4294967396 is more than 10000 ms");
        row("poll time below 32 bits", "CommPollTime=-99999999999", "CommPollTime=1000", "CommPollTime=-99999999999 is not used: a whole number of milliseconds from 100 to 10000 is expected. 1000 is used instead.");
        row("poll time below 100 keeps the interval", "CommPollTime=-5", "CommPollTime=1000");
        // Only the first of a key given twice is read, and nothing after the section's second
        // header: the lines not read are told, counted as an editor counts them.
        row("key twice: the first", "CommPort=2\r\ncommport = 3", "CommPort=2", "CommPort is given on line 2 and again on line 3: the value on line 2 is used.");
        row("key twice, LF lines and a blank one", "CommPort=2\n\ncommport=3", "CommPort=2", "CommPort is given on line 2 and again on line 4");
        row("section twice: the first", "CommPort=2\r\n\r\n[Other]\r\nCommPort=4\r\n[ gestbcod ]\r\nCommPollTime=250", "CommPort=2; CommPollTime=1000", "[gestbcod] is given on line 1 and again on line 6: nothing from line 6 on is read.");
        row("older keys kept", "GCodePath=/g/\r\nCSVInPath=D:\\IN\\\r\nCommPollTime=100", "GCodePath=/g/; CSVInPath=D:\\IN; CommPollTime=100");
        row("days with a comma", "JournalDays=1,000", "JournalDays=400", "JournalDays=1,000 is not used: a whole number of days from 0 to 36500 is expected. 400 is used instead.");
        row("days negative", "JournalDays=-5", "JournalDays=400", "JournalDays=-5 is not used");
        row("days 0: kept for ever", "JournalDays=0", "JournalDays=0");
        row("days empty: as missing", "JournalDays=", "JournalDays=400");
        row("duplicate not a number", "DuplicateSeconds=abc", "DuplicateSeconds=0", "DuplicateSeconds=abc is not used: a whole number of seconds from 0 to 3600 is expected. 0 is used instead: an item scanned twice is not refused.");
        row("duplicate beyond 32 bits", "DuplicateSeconds=4294967296", "DuplicateSeconds=0", "DuplicateSeconds=4294967296 is not used");
        row("duplicate in range", "DuplicateSeconds=3", "DuplicateSeconds=3");
        row("item pause 0: none", "ItemPauseMs=0", "ItemPauseMs=0");
        row("item pause in seconds", "ItemPauseMs=0.6", "ItemPauseMs=600", "ItemPauseMs=0.6 is not used: a whole number of milliseconds from 0 to 10000 is expected. 600 is used instead.");
        row("item pause beyond 10 s", "ItemPauseMs=10001", "ItemPauseMs=600", "ItemPauseMs=10001 is not used");
        row("font scale with a comma", "FontScale=1,5", "FontScale=1", "FontScale=1,5 is not used: a number from 0.5 to 3 is expected");
        row("font scale 0", "FontScale=0", "FontScale=1", "FontScale=0 is not used");
        row("shift start", "ShiftStart=06:00", "ShiftStart=06:00");
        row("shift start past the day", "ShiftStart=25:00", "ShiftStart=", "ShiftStart=25:00 is not used: a time of day as HH:MM (06:00) is expected. The counters start at midnight.");
        row("high contrast yes", "HighContrast=yes", "HighContrast=0", "HighContrast=yes is not used: 0 or 1 is expected. The usual colours are used.");
        row("list manager beside", "ListManagerBeside=1", "ListManagerBeside=1");
        row("list manager beside yes", "ListManagerBeside=yes", "ListManagerBeside=0", "ListManagerBeside=yes is not used: 0 or 1 is expected. The list manager's window stays where it opens.");
        row("sound on", "ResultSound=1", "ResultSound=1");
        row("sound yes: no sound", "ResultSound=yes", "ResultSound=0", "ResultSound=yes is not used: 0 or 1 is expected. No sound is played.");
        row("reply malformed", "RefuseReply=\\q", "RefuseReply=", "RefuseReply=\\q is not used");
        row("reply that acknowledges: used", "RefuseReply=NO ACK\\r", "RefuseReply=NO ACK\\r", "RefuseReply=NO ACK\\r holds \"ACK\" and a carriage return, which the scanner hears when a label is taken: it may take a refused label for a taken one. It is used as written.");
        row("label end malformed", "LabelEnd=\\x3", "LabelEnd=", "LabelEnd=\\x3 is not used: ");
        row("label end", "LabelEnd=\\x03", "LabelEnd=\\x03");
        row("label end CR LF", "LabelEnd=\\r\\n", "LabelEnd=\\r\\n");
        // A label end cuts labels wherever it occurs: only control characters can be one.
        row("label end in letters", "LabelEnd=CR", "LabelEnd=", "LabelEnd=CR is not used: only control characters are expected: \\r, \\n, or \\xHH from \\x00 to \\x1f or \\x7f. A label ends when the scanner has been quiet for two poll intervals.");
        row("station name", "StationName=BENCH 1", "StationName=BENCH 1");
        row("station name too long", longName, "StationName=", QString::fromLatin1(longName + " is not used: at most 64 characters"));
        row("server keywords", "JournalServer=host=db dbname='shop floor' user=barlink", "JournalServer=host=db dbname='shop floor' user=barlink");
        row("server without =", "JournalServer=db.example", "JournalServer=", "JournalServer=db.example is not used: \"db.example\" is not followed by \"=\" and a value");
        row("server quote not closed", "JournalServer=dbname='shop", "JournalServer=", "JournalServer=dbname='shop is not used: the value of \"dbname\" has no closing quote");
        row("poll time by its leading digits", "CommPollTime=1,000", "CommPollTime=1000");
        row("list manager of an adapter", "ListManagerService=com.example.Cnc_1.ListManager", "ListManagerService=com.example.Cnc_1.ListManager");
        row("list manager: one part", "ListManagerService=ListManager", "ListManagerService=org.barlink.ListManager", "ListManagerService=ListManager is not used: a bus name of two or more parts joined by \".\" is expected, each of letters, digits, _ and -, none beginning with a digit. org.barlink.ListManager is used instead.");
        row("list manager: a part begins with a digit", "ListManagerService=org.1barlink.X", "ListManagerService=org.barlink.ListManager", "ListManagerService=org.1barlink.X is not used");
        row("list manager: an empty part", "ListManagerService=org..ListManager", "ListManagerService=org.barlink.ListManager", "ListManagerService=org..ListManager is not used");
        row("list manager bound", "ListManagerTimeoutMs=300", "ListManagerTimeoutMs=300");
        row("list manager bound below 100", "ListManagerTimeoutMs=50", "ListManagerTimeoutMs=5000", "ListManagerTimeoutMs=50 is not used: a whole number of milliseconds from 100 to 60000 is expected. 5000 is used instead.");
        row("list manager bound in seconds", "ListManagerTimeoutMs=5s", "ListManagerTimeoutMs=5000", "ListManagerTimeoutMs=5s is not used");
        // clang-format on
    }
    void keys()
    {
        Folders station;
        QVERIFY(station.load(fetch<QByteArray>("lines")));
        const base::Settings &s = station.settings;
        const QMap<QString, QString> values{
            {"Settings", s.serialSettings},
            {"GCodePath", s.gcodePath},
            {"ListPath", s.listPath},
            {"CSVInPath", s.csvInPath},
            {"CSVOutPath", s.csvOutPath},
            {"CommPort", QString::number(s.serialPort)},
            {"CommDevice", s.commDevice},
            {"Switches", switches(station.options)},
            {"JournalDays", QString::number(s.journalDays)},
            {"DuplicateSeconds", QString::number(s.duplicateSeconds)},
            {"ItemPauseMs", QString::number(s.itemPauseMs)},
            {"FontScale", QString::number(s.fontScale)},
            {"ShiftStart", s.shiftStart.toString(QStringLiteral("HH:mm"))},
            {"HighContrast", QString::number(int(s.highContrast))},
            {"Touch", QString::number(int(s.touch))},
            {"ListManagerBeside", QString::number(int(s.listManagerBeside))},
            {"ResultSound", QString::number(int(s.resultSound))},
            {"RefuseReply", s.refuseReply},
            {"LabelEnd", s.labelEnd},
            {"StationName", s.stationName},
            {"ListManagerService", s.listManagerService},
            {"ListManagerTimeoutMs", QString::number(s.listManagerTimeoutMs)},
            {"JournalServer", s.journalServer},
            {"CommPollTime", QString::number(s.commPollTime)}};
        const QString data = m_home.filePath(QStringLiteral("data/barlink/"));
        for (const QString &item : fetch<QString>("values").split(QStringLiteral("; "))) {
            const QString key = item.section(u'=', 0, 0);
            QCOMPARE(key + u'=' + values.value(key), QString(item).replace("<data>", data));
        }
        const QString problem = fetch<QString>("problem");
        QCOMPARE(s.problems.size(), problem.isEmpty() ? 0 : 1);
        const QString first = s.problems.value(0).english();
        QVERIFY2(first.startsWith(problem), qPrintable(first));
    }

    // A settings file saved by an editor with the UTF-8 byte-order mark reads as one without
    // it (its section would otherwise be a section of another name), in UTF-8; a switch written
    // back keeps the mark.
    void byteOrderMark()
    {
        Folders station;
        const QString file = station.path("program/KTQ.INI");
        QVERIFY(writeBytes(file,
                           "\xEF\xBB\xBF[GESTBCOD]\r\nCommDevice=/dev/scanner\r\nCommPollTime=250"
                           "\r\nStationName=S\xC3\xBC"
                           "d\r\nAutoClear= 0\r\n"));
        QVERIFY(station.load());
        QCOMPARE(station.settings.commDevice, QStringLiteral("/dev/scanner"));
        QCOMPARE(station.settings.commPollTime, 250);
        QCOMPARE(station.settings.stationName, QStringLiteral(u"S\u00fcd"));
        QCOMPARE(station.options.value(base::Options::AutoClear), 0);
        QVERIFY(station.settings.problems.isEmpty());
        writeOptionSwitch(station.settings, base::Options::AutoClear, 1);
        QCOMPARE(readBytes(file),
                 "\xEF\xBB\xBF[GESTBCOD]\r\nCommDevice=/dev/scanner\r\nCommPollTime=250"
                 "\r\nStationName=S\xC3\xBC"
                 "d\r\nAutoClear= 1\r\n");
    }

    void locate_data()
    {
        // programFile: a file in the program folder, "dir:" a folder; windowsFile: KTQ.INI in
        // the "Windows directory"; expectedPort 0: not found
        columns<QString, bool, QString, int>(
            {"programFile", "windowsFile", "expectedFile", "expectedPort"});
        // clang-format off
        QTest::newRow("program folder wins") << "KTQ.INI"     << true  << "program/KTQ.INI" << 3;
        QTest::newRow("Windows directory")   << ""            << true  << "windows/KTQ.INI" << 4;
        QTest::newRow("lower-case name")     << "ktq.ini"     << false << "program/ktq.ini" << 3;
        QTest::newRow("no file, a folder")   << "dir:KTQ.INI" << false << "windows/KTQ.INI" << 0;
        // clang-format on
    }
    void locate()
    {
        const QString &programFile = fetch<QString>("programFile"),
                      &expectedFile = fetch<QString>("expectedFile");
        const int expectedPort = fetch<int>("expectedPort");
        Folders station;
        const QString windowsPath = station.path("windows/KTQ.INI");
        if (programFile.startsWith(u"dir:"))
            QVERIFY(QDir(station.settings.programDir).mkdir(programFile.mid(4)));
        else if (!programFile.isEmpty())
            QVERIFY(writeBytes(station.path("program/" + programFile), "[gestbcod]\r\ncommport=3"));
        if (fetch<bool>("windowsFile"))
            QVERIFY(writeBytes(windowsPath, "[GESTBCOD]\r\nCommPort=4\r\n"));
        const QByteArray windowsBefore = readBytes(windowsPath);

        const bool found = expectedPort != 0;
        QCOMPARE(station.load(), found);
        QCOMPARE(station.settings.settingsFilePath, station.path(expectedFile));
        QCOMPARE(station.settings.serialPort, qint16(expectedPort));
        QCOMPARE(station.prompter.texts(), QStringList(found ? 0 : 1, "File KTQ.INI Not Found"));
        if (!found) {
            const auto &box = station.prompter.shown.first();
            QCOMPARE(box.icon, base::Prompter::Icon::Critical);
            // Further text: the places looked at; the second one is where the file is made.
            const QString places = station.path("program/KTQ.INI") + u'\n' + windowsPath;
            QVERIFY(box.details.contains(QDir::toNativeSeparators(places)));
        }

        // Writes go to the file in use, and create it where none was found.
        writeKey(station.settings, "Exclusion", "00100001");
        QCOMPARE(readKey(station.settings, "exclusion"), QStringLiteral("00100001"));
        if (expectedFile != "windows/KTQ.INI")
            QCOMPARE(readBytes(windowsPath), windowsBefore);
    }

    // The port settings, the switches and the text size and colours the operator chose are
    // written in place, in the forms read back.
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
        writeFontScale(station.settings, 1.5);
        writeHighContrast(station.settings, true);
        writeTouch(station.settings, true);
        QCOMPARE(readBytes(station.settings.settingsFilePath),
                 QByteArray("[GESTBCOD]\r\nSettings=19200,E,7,2\r\nCommPort=12\r\nAutoClear= 1\r\n"
                            "Overwrite= 0\r\nAutoStart= 2\r\nFontScale=1.5\r\nHighContrast=1\r\n"
                            "Touch=1\r\n"));
        QVERIFY(station.load()); // reads back what was written
        QCOMPARE(switches(station.options), QStringLiteral("1 0 2 0"));
        QVERIFY(station.settings.fontScale == 1.5 && station.settings.highContrast
                && station.settings.touch);
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
        QCOMPARE(barlink::settings::portDeviceName(settings), settings.commDevice); // it wins
        settings = {};
        QCOMPARE(barlink::settings::portDeviceName(settings), QString()); // no port
    }

    void safeNames_data()
    {
        columns<QString, bool>({"name", "safe"});
        // clang-format off
        const auto safe = [](const char *name, const char *text) { QTest::newRow(name) << QString::fromLatin1(text) << true; };
        const auto unsafe = [](const char *name, const char *text) { QTest::newRow(name) << QString::fromLatin1(text) << false; };
        safe("empty", ""); safe("plain", "PROG.CNC"); safe("subfolder /", "sub/PROG.CNC");
        safe("subfolder \\", "sub\\PROG.CNC"); safe("dots inside a name", "..PROG..CNC"); safe("colon later", "PROG1:A.CNC");
        unsafe("absolute /", "/etc/passwd"); unsafe("UNC", "\\\\server\\share\\P.CNC"); unsafe("drive", "C:\\P.CNC");
        unsafe("drive relative", "c:P.CNC"); unsafe("parent first", "../P.CNC"); unsafe("parent inside /", "sub/../../P.CNC");
        unsafe("parent inside \\", "sub\\..\\..\\P.CNC"); unsafe("three dots", "...\\P.CNC"); unsafe("parent with blank", ".. \\P.CNC");
        // clang-format on
    }
    void safeNames() { QTEST(isSafeRelativeName(fetch<QString>("name")), "safe"); }

    void resolve_data()
    {
        columns<QString, QString, QString>(
            {"folder", "name", "expected"}); // inside the test folder
        // clang-format off
        QTest::newRow("exact")               << "/"          << "PROG.CNC"      << "/PROG.CNC";
        QTest::newRow("other case")          << "/"          << "prog.cnc"      << "/PROG.CNC";
        QTest::newRow("subfolder")           << "/"          << "sub/INNER.CNC" << "/Sub/Inner.cnc";
        QTest::newRow("subfolder \\")        << "/"          << "SUB\\inner.cnc" << "/Sub/Inner.cnc";
        QTest::newRow("exact wins")          << "/"          << "Both.cnc"      << "/Both.cnc";
        QTest::newRow("first in name order") << "/"          << "both.CNC"      << "/BOTH.CNC";
        QTest::newRow("missing: as built")   << "/"          << "sub\\NONE.CNC" << "/sub/NONE.CNC";
        QTest::newRow("missing folder")      << "/nofolder/" << "PROG.CNC"      << "/nofolder/PROG.CNC";
        QTest::newRow("plain prefix")        << "/pre"       << "FIX.CNC"       << "/prefix.cnc";
        // clang-format on
    }
    void resolve()
    {
#ifdef Q_OS_WIN
        QSKIP("names are found in any letter case by the file system itself");
#endif
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Sub")));
        for (const char *file :
             {"PROG.CNC", "Sub/Inner.cnc", "Both.cnc", "BOTH.CNC", "both.cnc", "prefix.cnc"})
            QVERIFY(QFile(dir.filePath(QLatin1String(file))).open(QIODevice::WriteOnly));
        QCOMPARE(resolveFileName(dir.path() + fetch<QString>("folder"), fetch<QString>("name")),
                 dir.path() + fetch<QString>("expected"));
    }

    void realEntries_data()
    {
        columns<QString, QString>(
            {"path", "expected"}); // path: under the test folder unless absolute
        // clang-format off
        const auto row = [](const char *name, const char *path, const char *expected) { QTest::newRow(name) << QString::fromLatin1(path) << QString::fromLatin1(expected); };
        row("normal file", "KTQ.INI", "true");  row("file in a hidden folder", ".config/KTQ.INI", "true");
        row("folder", ".config", "false");      row("hidden file", ".hidden", "false");     row("fifo", "fifo", "false");
        row("device", "/dev/null", "false");    row("missing", "nofolder/KTQ.INI", "false"); row("under a file", "KTQ.INI/x", "false");
        row("symlink loop", "loop/KTQ.INI", "error 52");
        // clang-format on
    }
    void realEntries()
    {
        QTemporaryDir dir;
        const QDir root(dir.path());
        QVERIFY(root.mkpath(QStringLiteral(".config")));
        for (const char *name : {"KTQ.INI", ".hidden", ".config/KTQ.INI"})
            QVERIFY(QFile(root.filePath(QLatin1String(name))).open(QIODevice::WriteOnly));
        QCOMPARE(::mkfifo(QFile::encodeName(root.filePath("fifo")).constData(), 0600), 0);
        QVERIFY(QFile::link(root.filePath("loop"), root.filePath("loop")));

        ScriptedPrompter prompter;
        QTEST(outcome(root.filePath(fetch<QString>("path")), prompter), "expected");
        QVERIFY(prompter.shown.isEmpty());
    }

    // Each row scripts what the file system says in turn (errno; 0 finds the file) and the
    // operator's answers; the texts are those of the boxes shown.
    void scriptedFailures_data()
    {
        columns<QList<int>, QList<P>, QString, QStringList>(
            {"results", "answers", "expected", "asked"});
        const QString unformatted = "Unformatted Disk", insert = "Insert Disk";
        using E = QList<int>;
        // clang-format off
        QTest::newRow("unformatted, retry finds it") << E{EIO, 0} << QList<P>{P::Retry} << "true" << QStringList{unformatted};
        QTest::newRow("unformatted, cancel")         << E{EIO} << QList<P>{P::Cancel} << "false" << QStringList{unformatted};
        QTest::newRow("insert disk twice, missing")  << E{ENOMEDIUM, ENOMEDIUM, ENOENT} << QList<P>{P::Ok, P::Ok} << "false" << QStringList{insert, insert};
        QTest::newRow("insert disk, cancel")         << E{ENOMEDIUM} << QList<P>{P::Cancel} << "false" << QStringList{insert};
        QTest::newRow("retry into another failure")  << E{EIO, ENOMEDIUM, 0} << QList<P>{P::Retry, P::Ok} << "true" << QStringList{unformatted, insert};
        // Errors that ask nothing: the file is not there, or an error is thrown.
        const auto quiet = [](const char *name, int systemError, const char *expected) { QTest::newRow(name) << E{systemError} << QList<P>{} << QString::fromLatin1(expected) << QStringList{}; };
        quiet("device gone", ENODEV, "false");       quiet("no such device", ENXIO, "false");   quiet("path not found", ENOTDIR, "false");
        quiet("permission", EACCES, "error 70");     quiet("name too long", ENAMETOOLONG, "error 52"); quiet("anything else", EBUSY, "error 75");
        // clang-format on
    }
    void scriptedFailures()
    {
        const QList<int> &results = fetch<QList<int>>("results");
        ScriptedPrompter prompter;
        prompter.answers.append(fetch<QList<P>>("answers"));
        int made = 0;
        const auto query = [&](const QString &) {
            const int systemError = results.value(made++, ENOENT);
            return systemError == 0
                       ? base::PathStatus{base::PathStatus::Answer::NormalFile, 0, QString()}
                       : statusFromErrno(systemError);
        };
        QTEST(outcome(QStringLiteral("/media/usb/KTQ.INI"), prompter, query), "expected");
        QTEST(prompter.texts(), "asked");
        QCOMPARE(made, results.size());
        for (const auto &shown : std::as_const(prompter.shown)) {
            QCOMPARE(shown.icon, base::Prompter::Icon::Question);
            QCOMPARE(shown.buttons,
                     shown.text == QLatin1String("Insert Disk")
                         ? base::Prompter::Buttons::OkCancel
                         : base::Prompter::Buttons::RetryCancel);
        }
    }

private:
    [[nodiscard]] QString path() const
    {
        return m_home.filePath(QStringLiteral("t.ini"));
    }
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_settingsfile.moc"
