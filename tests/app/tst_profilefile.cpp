#include "base/Error.h"
#include "settings/ProfileFile.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using barlink::Error;
using barlink::settings::ProfileFile;
using namespace barlink::testing;

namespace {

const QString S = QStringLiteral("S");

} // namespace

// The profile file rules: reads of section "S", in-place single-key writes, and failures.
class TestProfileFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }

    void readString_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("bufferSize");
        QTest::addColumn<QString>("defaultValue");
        // clang-format off
        const auto row = [](const char *name, const QByteArray &content, const char *key, const char *expected,
                            int bufferSize = 128, const char *def = "dflt") {
            QTest::newRow(name) << content << QString::fromLatin1(key) << QString::fromLatin1(expected)
                                << bufferSize << QString::fromLatin1(def);
        };
        row("blanks around name and value",     "[S]\r\n  Port = COM3 \r\n", "port", "COM3");
        row("tab vt ff ctrl-z are blanks",      "[S]\n\tk\v=\f v\x1a\n", "k", "v");
        row("header trimmed",                   "[ S ]\r\nk=1\r\n", "k", "1");
        row("header ends at the last bracket",  "[S]]\r\nk=1\r\n", "k", "dflt");
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
        row("key of another section",           "[T]\r\nk=1\r\n[S]\r\nx=1\r\n", "k", "dflt");
        row("key before any section",           "k=1\r\n[S]\r\n", "k", "dflt");
        row("CR-only line ends",                "[S]\rx=0\rk=v\r", "k", "v");
        row("runs of line ends, blank lines",   "\r\n\n[S]\r\n\r\r\n  \n\rk=v", "k", "v");
        row("single quotes stripped",           "[S]\r\nk=' a '\r\n", "k", " a ");
        row("unlike quotes kept",               "[S]\r\nk=\"x'\r\n", "k", "\"x'");
        row("cut to buffer size minus one",     "[S]\r\nk=abcdef\r\n", "k", "abc", 4);
        row("quotes stripped then cut",         "[S]\r\nk=\"abcdef\"\r\n", "k", "abc", 4);
        row("buffer of one",                    "[S]\r\nk=abc\r\n", "k", "", 1);
        row("default quotes stripped",          "", "k", "x y", 128, "'x y'");
        row("default loses trailing blanks",    "", "k", " d", 128, " d \t");
        row("default cut to buffer size",       "", "k", "EN", 3, "END.-");
        // clang-format on
    }
    void readString()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, key);
        QFETCH(int, bufferSize);
        QFETCH(QString, defaultValue);
        QTEST(ProfileFile::readStringFrom(content, S, key, defaultValue, bufferSize), "expected");
    }

    void readInt_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        // clang-format off
        QTest::newRow("leading digits") << QByteArray("k=42A9") << 42;  QTest::newRow("no leading digit") << QByteArray("k=B42") << 0;
        QTest::newRow("minus") << QByteArray("k=-1") << -1;             QTest::newRow("wraps at 32 bits") << QByteArray("k=4294967297") << 1;
        QTest::newRow("empty gives default") << QByteArray("k=") << 7;  QTest::newRow("missing gives default") << QByteArray("other=3") << 7;
        // clang-format on
    }
    void readInt()
    {
        QFETCH(QByteArray, line);
        QVERIFY(writeBytes(path(), "[S]\r\n" + line + "\r\n"));
        QTEST(ProfileFile(path()).readInt(S, QStringLiteral("k"), 7), "expected");
    }

    // Writes to section "S"; what was written reads back.
    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
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
        row("new key in CR file", "[S]\ra=1\r[B]\r", "n", "3", "[S]\ra=1\rn=3\r[B]\r");
        row("new key at end without line end", "[S]\r\na=1", "n", "3", "[S]\r\na=1\r\nn=3\r\n");
        row("new key only in first section", "[S]\r\na=1\r\n[T]\r\n[S]\r\nk=2\r\n", "k", "v", "[S]\r\na=1\r\nk=v\r\n[T]\r\n[S]\r\nk=2\r\n");
        row("same key of other section untouched", "[T]\r\nk=1\r\n", "k", "v", "[T]\r\nk=1\r\n[S]\r\nk=v\r\n");
        row("new section in LF file", "[A]\na=1\n\n", "k", "v", "[A]\na=1\n\n[S]\nk=v\n");
        row("new section without final line end", "[A]\na=1", "k", "v", "[A]\na=1\n[S]\nk=v\n");
        row("empty file", "", "k", "v", "[S]\r\nk=v\r\n");
        // clang-format on
    }
    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QVERIFY(writeBytes(path(), before));
        ProfileFile(path()).writeString(S, key, value);
        QTEST(readBytes(path()), "after");
        // Reading drops the leading blanks.
        QCOMPARE(ProfileFile(path()).readString(S, key, QStringLiteral("missing")),
                 value.trimmed());
    }

    void writeRefusesWhatIsNotOneLine_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        // clang-format off
        QTest::newRow("empty section") << "" << "k" << "";           QTest::newRow("equals in key") << "S" << "a=b" << "";
        QTest::newRow("key read as comment") << "S" << ";k" << "";   QTest::newRow("line end in value") << "S" << "k" << "a\nb";
        // clang-format on
    }
    void writeRefusesWhatIsNotOneLine()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QVERIFY(writeBytes(path(), "[S]\r\nk=1\r\n"));
        QCOMPARE(errorNumber([&] { ProfileFile(path()).writeString(section, key, value); }),
                 int(Error::InvalidCall));
        QCOMPARE(readBytes(path()), QByteArray("[S]\r\nk=1\r\n"));
    }

    void writesKeepASharedFileByteForByte()
    {
        const QByteArray head
            = "; shared by the station programs\r\n[Editor]\r\nFont = Courier  \r\n"
              "Last=C:\\Prog\\caf\xe9.cnc\r\n\r\n[GESTBCOD]\r\n";
        const QByteArray tail = "\r\n[Other]\r\n#kept=yes\r\nCount=3";
        const QString file = m_dir.filePath(QStringLiteral("config/KTQ.INI"));
        const ProfileFile profile(file);
        const QString section = QStringLiteral("GESTBCOD");
        // A missing folder and file are created.
        profile.writeString(QStringLiteral("New"), QStringLiteral("Name"), QStringLiteral("x"));
        QCOMPARE(readBytes(file), QByteArray("[New]\r\nName=x\r\n"));

        QVERIFY(writeBytes(file, head + "Settings=9600,N,8,1\r\nAutoClear= 1\r\n" + tail));
        profile.writeString(section, QStringLiteral("Settings"), QStringLiteral("19200,E,7,2"));
        profile.writeString(section, QStringLiteral("AutoClear"), QStringLiteral(" 0"));
        profile.writeString(section, QStringLiteral("CommPort"), QStringLiteral("2"));
        profile.writeString(
            QStringLiteral("New"), QStringLiteral("Name"), QStringLiteral(u"\u00e9t\u00e9"));
        QCOMPARE(readBytes(file),
                 head + "Settings=19200,E,7,2\r\nAutoClear= 0\r\nCommPort=2\r\n" + tail
                     + "\r\n[New]\r\nName=\xe9t\xe9\r\n");
        QCOMPARE(QDir(m_dir.filePath(QStringLiteral("config"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("KTQ.INI")});
    }

    void failedWriteLeavesFileAsItWas()
    {
        const QByteArray before = "[GESTBCOD]\r\nSettings=9600,N,8,1\r\n" + QByteArray(900, ';');
        QVERIFY(writeBytes(path(), before));

        // The file size limit holds for root too: the new content cannot be written in full.
        rlimit saved = {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 1024;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const int number = errorNumber([&] {
            ProfileFile(path()).writeString(QStringLiteral("GESTBCOD"),
                                            QStringLiteral("GCodePath"),
                                            QString(300, QLatin1Char('x')));
        });
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(number, int(Error::DiskFull));
        QCOMPARE(readBytes(path()), before);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("t.ini")});

        // A folder of the path that is a file.
        QCOMPARE(errorNumber(
                     [&] { ProfileFile(path() + QStringLiteral("/x.ini")).writeString(S, S, S); }),
                 int(Error::PathNotFound));
        QCOMPARE(readBytes(path()), before);
    }

    void hugeLineStaysCheap()
    {
        const QByteArray huge(3 * 1024 * 1024, 'x');
        QVERIFY(writeBytes(path(), "[Junk]\r\n" + huge + "\r\n[S]\r\nbig=" + huge + "\r\nk=v\r\n"));
        const ProfileFile file(path());
        QCOMPARE(file.readString(S, QStringLiteral("k")), QStringLiteral("v"));
        QCOMPARE(file.readString(S, QStringLiteral("big")), QString(127, QLatin1Char('x')));
        file.writeString(S, QStringLiteral("k"), QStringLiteral("w"));
        QCOMPARE(readBytes(path()), "[Junk]\r\n" + huge + "\r\n[S]\r\nbig=" + huge + "\r\nk=w\r\n");
    }

private:
    [[nodiscard]] QString path() const { return m_dir.filePath(QStringLiteral("t.ini")); }
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
