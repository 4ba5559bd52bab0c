// Names from labels: which ones stay inside their folder, and how a name is found on a
// file system that tells letter cases apart.
#include "base/FileNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::base;

class TestFileNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void safeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
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
    void safeNames()
    {
        QFETCH(QString, name);
        QTEST(isSafeRelativeName(name), "safe");
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("folder"); // inside the test folder
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected"); // inside the test folder
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
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Sub")));
        for (const char *file :
             {"PROG.CNC", "Sub/Inner.cnc", "Both.cnc", "BOTH.CNC", "both.cnc", "prefix.cnc"})
            QVERIFY(QFile(dir.filePath(QLatin1String(file))).open(QIODevice::WriteOnly));
        QCOMPARE(resolveFileName(dir.path() + folder, name), dir.path() + expected);
    }
};

QTEST_GUILESS_MAIN(TestFileNames)
#include "tst_filenames.moc"
