// Moving a program's companion CSV file into the collecting file.
#include "base/Error.h"
#include "base/Settings.h"
#include "label/CompanionCsv.h"

#include "Fakes.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using testing::readBytes;
using testing::writeBytes;

namespace {

// A companion folder and a collecting file in a temporary folder.
struct Station
{
    QTemporaryDir dir;
    base::Settings settings;
    testing::ScriptedPrompter prompter;

    Station()
    {
        QDir(dir.path()).mkdir(QStringLiteral("in"));
        settings.csvInPath = dir.filePath(QStringLiteral("in"));
        settings.csvOutPath = dir.filePath(QStringLiteral("out.csv"));
    }
    [[nodiscard]] QString in(const QString &name) const { return settings.csvInPath + u'/' + name; }
    // Copies, and gives the error number thrown (0 for none).
    int copy(const QString &programName)
    {
        return testing::errorNumber(
            [&] { label::copyCompanionCsv(settings, programName, prompter); });
    }
};

} // namespace

class TestCompanionCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Copied byte for byte; a last line end that is not CR LF becomes one.
    void copy_data()
    {
        QTest::addColumn<QString>("programName");
        QTest::addColumn<QString>("companion"); // the file on disk
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("collectedBefore"); // empty: no collecting file
        QTest::addColumn<QByteArray>("collected");       // empty: none written
        using B = QByteArray;
        // clang-format off
        QTest::newRow("lone CR")       << "PROG.CNC" << "PROG.CSV" << B("a;b\r")     << B() << B("a;b\r\n");
        QTest::newRow("two line ends") << "PROG.CNC" << "PROG.CSV" << B("a\r\n\r\n") << B() << B("a\r\n\r\n");
        QTest::newRow("LF CR: only the CR goes") << "PROG.CNC" << "PROG.CSV" << B("a\n\r") << B() << B("a\n\r\n");
        QTest::newRow("inner bytes as they are") << "PROG.CNC" << "PROG.CSV" << B("x\r\n\xe9\0y\n", 7) << B() << B("x\r\n\xe9\0y\r\n", 8);
        QTest::newRow("empty")         << "PROG.CNC" << "PROG.CSV" << B()            << B() << B("\r\n");
        QTest::newRow("appended")      << "PROG.CNC" << "PROG.CSV" << B("2\r\n")     << B("1\r\n") << B("1\r\n2\r\n");
        QTest::newRow("lower-case .cnc") << "prog.cnc" << "prog.CSV" << B("a")       << B() << B("a\r\n");
        QTest::newRow("lower-case file on disk") << "PROG.CNC" << "prog.csv" << B("a") << B() << B("a\r\n");
        QTest::newRow("other program's file") << "PROG.CNC" << "PROG2.CSV" << B("a") << B() << B();
        // clang-format on
    }
    void copy()
    {
        QFETCH(QString, programName);
        QFETCH(QString, companion);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, collectedBefore);
        QFETCH(QByteArray, collected);
        Station station;
        QVERIFY(writeBytes(station.in(companion), content));
        if (!collectedBefore.isEmpty())
            QVERIFY(writeBytes(station.settings.csvOutPath, collectedBefore));

        QCOMPARE(station.copy(programName), 0);
        QCOMPARE(readBytes(station.settings.csvOutPath), collected);
        QCOMPARE(QFile::exists(station.settings.csvOutPath), !collected.isEmpty());
        QCOMPARE(QFile::exists(station.in(companion)), collected.isEmpty()); // moved
        QCOMPARE(station.copy(programName), 0); // a second scan finds nothing more
        QCOMPARE(readBytes(station.settings.csvOutPath), collected);
        QVERIFY(station.prompter.shown.isEmpty());
    }

    void failedWriteKeepsCompanion_data()
    {
        QTest::addColumn<QString>("programName");
        QTest::addColumn<QString>("collectingFile"); // "<tmp>" for the test folder
        QTest::addColumn<qint64>("companionSize");
        QTest::addColumn<int>("error");
        // clang-format off
        QTest::newRow("disk full")          << "PROG.CNC"    << "/dev/full"          << qint64(10) << int(Error::DiskFull);
        QTest::newRow("folder missing")     << "PROG.CNC"    << "<tmp>/none/out.csv" << qint64(10) << int(Error::PathNotFound);
        QTest::newRow("companion too large") << "PROG.CNC"   << "<tmp>/out.csv" << label::maxCompanionCsvBytes + 1 << int(Error::OutOfMemory);
        QTest::newRow("name outside the folder") << "../PROG.CNC" << "<tmp>/out.csv"  << qint64(10) << 0;
        // clang-format on
    }
    void failedWriteKeepsCompanion()
    {
        QFETCH(QString, programName);
        QFETCH(QString, collectingFile);
        QFETCH(qint64, companionSize);
        const bool device = collectingFile.startsWith("/dev/");
        if (device && !QFile::exists(collectingFile))
            QSKIP("no /dev/full here");
        if (device) // opening a device to append seeks, and Qt says so
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot call seek"));
        Station station;
        station.settings.csvOutPath = collectingFile.replace("<tmp>", station.dir.path());
        // The companion of "../PROG.CNC" would lie beside the companion folder.
        const QString companion = station.in(programName.chopped(4) + ".CSV");
        {
            QFile f(companion);
            QVERIFY(f.open(QIODevice::WriteOnly)
                    && f.resize(companionSize)); // sparse: no disk space
        }
        QTEST(station.copy(programName), "error");
        QCOMPARE(QFileInfo(companion).size(), companionSize);
        if (!device)
            QVERIFY(!QFile::exists(station.settings.csvOutPath));
    }
};

QTEST_GUILESS_MAIN(TestCompanionCsv)
#include "tst_companioncsv.moc"
