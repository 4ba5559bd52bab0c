// Names from labels: which ones stay inside their folder, and how a name is found on a
// file system that tells letter cases apart.
#include "app/FileNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink::app;

class TestFileNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void safeNames_data();
    void safeNames();
    void resolve_data();
    void resolve();
};

void TestFileNames::safeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("empty") << "" << true;
    QTest::newRow("plain") << "PROG.CNC" << true;
    QTest::newRow("subfolder /") << "sub/PROG.CNC" << true;
    QTest::newRow("subfolder \\") << "sub\\PROG.CNC" << true;
    QTest::newRow("dots inside a name") << "..PROG..CNC" << true;
    QTest::newRow("colon later") << "PROG1:A.CNC" << true;
    QTest::newRow("absolute /") << "/etc/passwd" << false;
    QTest::newRow("UNC") << "\\\\server\\share\\P.CNC" << false;
    QTest::newRow("drive") << "C:\\P.CNC" << false;
    QTest::newRow("drive relative") << "c:P.CNC" << false;
    QTest::newRow("parent") << ".." << false;
    QTest::newRow("parent first") << "../P.CNC" << false;
    QTest::newRow("parent inside /") << "sub/../../P.CNC" << false;
    QTest::newRow("parent inside \\") << "sub\\..\\..\\P.CNC" << false;
    QTest::newRow("three dots") << "...\\P.CNC" << false;
    QTest::newRow("parent with blank") << ".. \\P.CNC" << false;
}

void TestFileNames::safeNames()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(isSafeRelativeName(name), safe);
    QCOMPARE(unsafeNameMessage(name), "Name refused: " + name + " reaches outside its folder.");
}

void TestFileNames::resolve_data()
{
    QTest::addColumn<QString>("folder"); // inside the test folder
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // inside the test folder

    QTest::newRow("exact") << "/"
                           << "PROG.CNC"
                           << "/PROG.CNC";
    QTest::newRow("other case") << "/"
                                << "prog.cnc"
                                << "/PROG.CNC";
    QTest::newRow("lower on disk") << "/"
                                   << "LOWER.CNC"
                                   << "/lower.cnc";
    QTest::newRow("subfolder") << "/"
                               << "sub/INNER.CNC"
                               << "/Sub/Inner.cnc";
    QTest::newRow("subfolder \\") << "/"
                                  << "SUB\\inner.cnc"
                                  << "/Sub/Inner.cnc";
    QTest::newRow("exact wins") << "/"
                                << "Both.cnc"
                                << "/Both.cnc";
    QTest::newRow("first in name order") << "/"
                                         << "both.CNC"
                                         << "/BOTH.CNC";
    QTest::newRow("missing: as built") << "/"
                                       << "sub\\NONE.CNC"
                                       << "/sub/NONE.CNC";
    QTest::newRow("missing folder") << "/nofolder/"
                                    << "PROG.CNC"
                                    << "/nofolder/PROG.CNC";
    QTest::newRow("plain prefix") << "/pre"
                                  << "FIX.CNC"
                                  << "/prefix.cnc";
}

void TestFileNames::resolve()
{
#ifdef Q_OS_WIN
    QSKIP("names are found in any letter case by the file system itself");
#endif
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Sub")));
    for (const char *file : {"PROG.CNC",
                             "lower.cnc",
                             "Sub/Inner.cnc",
                             "Both.cnc",
                             "BOTH.CNC",
                             "both.cnc",
                             "prefix.cnc"}) {
        QFile f(dir.filePath(QLatin1String(file)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(resolveFileName(dir.path() + folder, name), dir.path() + expected);
}

QTEST_GUILESS_MAIN(TestFileNames)
#include "tst_filenames.moc"
