// Moving a program's companion CSV file into the collecting file.
#include "app/Error.h"
#include "app/Settings.h"
#include "label/CompanionCsv.h"

#include "Fakes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

// A companion folder and a collecting file in a temporary folder.
struct Station
{
    QTemporaryDir dir;
    app::Settings settings;
    testing::ScriptedPrompter prompter;

    Station()
    {
        QDir(dir.path()).mkdir(QStringLiteral("in"));
        settings.csvInPath = dir.filePath(QStringLiteral("in"));
        settings.csvOutPath = dir.filePath(QStringLiteral("out.csv"));
    }
    QString in(const QString &name) const { return settings.csvInPath + '/' + name; }

    // Copies, and gives the error number thrown (0 for none).
    int copy(const QString &programName)
    {
        try {
            label::copyCompanionCsv(settings, programName, prompter);
            return 0;
        } catch (const Error &error) {
            return error.number();
        }
    }
};

} // namespace

class TestCompanionCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copy_data();
    void copy();
    void secondScanFindsNothing();
    void failedWriteKeepsCompanion_data();
    void failedWriteKeepsCompanion();
};

void TestCompanionCsv::copy_data()
{
    QTest::addColumn<QString>("programName");
    QTest::addColumn<QString>("companion"); // file name on disk; empty for none
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("collectedBefore"); // "<none>": no collecting file
    QTest::addColumn<QByteArray>("collected");

    const QByteArray none("<none>");
    QTest::newRow("CR LF") << "PROG.CNC"
                           << "PROG.CSV" << QByteArray("a;b;c\r\n") << none
                           << QByteArray("a;b;c\r\n");
    QTest::newRow("lone CR") << "PROG.CNC"
                             << "PROG.CSV" << QByteArray("a;b\r") << none << QByteArray("a;b\r\n");
    QTest::newRow("two line ends")
        << "PROG.CNC"
        << "PROG.CSV" << QByteArray("a\r\n\r\n") << none << QByteArray("a\r\n\r\n");
    QTest::newRow("LF CR: only the CR goes")
        << "PROG.CNC"
        << "PROG.CSV" << QByteArray("a\n\r") << none << QByteArray("a\n\r\n");
    QTest::newRow("inner line ends, bytes as they are")
        << "PROG.CNC"
        << "PROG.CSV" << QByteArray("x\r\n\xe9\0y\n", 7) << none
        << QByteArray("x\r\n\xe9\0y\r\n", 8);
    QTest::newRow("empty") << "PROG.CNC"
                           << "PROG.CSV" << QByteArray() << none << QByteArray("\r\n");
    QTest::newRow("appended") << "PROG.CNC"
                              << "PROG.CSV" << QByteArray("2\r\n") << QByteArray("1\r\n")
                              << QByteArray("1\r\n2\r\n");
    QTest::newRow("lower-case .cnc")
        << "prog.cnc"
        << "prog.CSV" << QByteArray("a") << none << QByteArray("a\r\n");
    QTest::newRow("lower-case file on disk")
        << "PROG.CNC"
        << "prog.csv" << QByteArray("a") << none << QByteArray("a\r\n");
    QTest::newRow("no companion") << "PROG.CNC"
                                  << "" << QByteArray() << QByteArray("1\r\n")
                                  << QByteArray("1\r\n");
    QTest::newRow("other program's file") << "PROG.CNC"
                                          << "PROG2.CSV" << QByteArray("a") << none << none;
}

void TestCompanionCsv::copy()
{
    QFETCH(QString, programName);
    QFETCH(QString, companion);
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, collectedBefore);
    QFETCH(QByteArray, collected);

    Station station;
    if (!companion.isEmpty())
        QVERIFY(writeFile(station.in(companion), content));
    if (collectedBefore != "<none>")
        QVERIFY(writeFile(station.settings.csvOutPath, collectedBefore));

    QCOMPARE(station.copy(programName), 0);
    QCOMPARE(readAll(station.settings.csvOutPath), collected);
    const bool moved = collected != collectedBefore;
    if (!companion.isEmpty())
        QCOMPARE(QFile::exists(station.in(companion)), !moved);
    QVERIFY(station.prompter.shown.isEmpty());
}

void TestCompanionCsv::secondScanFindsNothing()
{
    Station station;
    QVERIFY(writeFile(station.in("PANEL.CSV"), "p;1\r\n"));
    QCOMPARE(label::companionCsvName(station.settings, "PANEL.CNC"), station.in("PANEL.CSV"));
    QCOMPARE(station.copy("PANEL.CNC"), 0);
    QCOMPARE(station.copy("PANEL.CNC"), 0);
    QCOMPARE(readAll(station.settings.csvOutPath), QByteArray("p;1\r\n"));
}

void TestCompanionCsv::failedWriteKeepsCompanion_data()
{
    QTest::addColumn<QString>("programName");
    QTest::addColumn<QString>("collectingFile"); // "<tmp>/" for the test folder
    QTest::addColumn<qint64>("companionSize");
    QTest::addColumn<int>("error");

    QTest::newRow("disk full") << "PROG.CNC"
                               << "/dev/full" << qint64(10) << int(Error::DiskFull);
    QTest::newRow("folder missing")
        << "PROG.CNC"
        << "<tmp>/none/out.csv" << qint64(10) << int(Error::PathNotFound);
    QTest::newRow("companion too large")
        << "PROG.CNC"
        << "<tmp>/out.csv" << label::maxCompanionCsvBytes + 1 << int(Error::OutOfMemory);
    QTest::newRow("name outside the folder") << "../PROG.CNC"
                                             << "<tmp>/out.csv" << qint64(10) << 0;
}

void TestCompanionCsv::failedWriteKeepsCompanion()
{
    QFETCH(QString, programName);
    QFETCH(QString, collectingFile);
    QFETCH(qint64, companionSize);
    QFETCH(int, error);

    if (collectingFile.startsWith("/dev/") && !QFile::exists(collectingFile))
        QSKIP("no /dev/full here");
    if (collectingFile.startsWith("/dev/")) // opening a device to append seeks, and Qt says so
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot call seek"));
    Station station;
    station.settings.csvOutPath = collectingFile.replace("<tmp>", station.dir.path());
    // The companion of "../PROG.CNC" would lie beside the companion folder.
    const QString companion = station.in(programName.left(programName.size() - 4) + ".CSV");
    {
        QFile f(companion);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(companionSize)); // sparse: costs no disk space
    }

    QCOMPARE(station.copy(programName), error);
    QVERIFY(QFile::exists(companion));
    QCOMPARE(QFileInfo(companion).size(), companionSize);
    if (!collectingFile.startsWith("/dev/"))
        QVERIFY(!QFile::exists(station.settings.csvOutPath));
}

QTEST_GUILESS_MAIN(TestCompanionCsv)
#include "tst_companioncsv.moc"
