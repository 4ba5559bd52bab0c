// Reading dimensions and comment from the first lines of KTQ and ISO program files.
#include "app/Settings.h"
#include "label/CurrentItem.h"
#include "program/ProgramFileReader.h"

#include "Fakes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using program::ProgramFileFacts;

namespace {

// Facts as one text: "iso 800 600 18 (LEFT DOOR)"; a value not read shows as "-".
QString describe(const ProgramFileFacts &facts)
{
    static const char *const formats[] = {"unknown", "ktq", "iso", "not a program"};
    QStringList parts{QLatin1String(formats[int(facts.format)])};
    for (const std::optional<float> &v : {facts.x, facts.y, facts.z})
        parts << (v ? QString::number(double(*v)) : QStringLiteral("-"));
    parts << (facts.comment ? '(' + *facts.comment + ')' : QStringLiteral("-"));
    return parts.join(' ');
}

// Passes reads through to a file and counts the bytes handed out.
class CountingDevice : public QIODevice
{
public:
    explicit CountingDevice(QIODevice &inner)
        : m_inner(inner)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    qint64 bytesRead = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = m_inner.read(data, maxSize);
        if (n > 0)
            bytesRead += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QIODevice &m_inner;
};

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(content), content.size());
}

} // namespace

class TestProgramFileReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void facts_data();
    void facts();
    void largeFile_data();
    void largeFile();
    void readProgramFile_data();
    void readProgramFile();
};

void TestProgramFileReader::facts_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    const QString c = QStringLiteral("C");
    QTest::newRow("iso") << QByteArray("G71 X800 Y600 Z18\r\n(LEFT DOOR)\r\n") << c
                         << "iso 800 600 18 (LEFT DOOR)";
    QTest::newRow("iso G70, no conversion")
        << QByteArray("G70 X10.5 Y20 Z1\n(A)\n") << c << "iso 10.5 20 1 (A)";
    QTest::newRow("iso trimmed, upper-cased")
        << QByteArray("  g71 x800 y600 z18  \n  (B) \n") << c << "iso 800 600 18 (B)";
    QTest::newRow("iso comment without parentheses")
        << QByteArray("G71 X1 Y2 Z3\nN10 G0\n") << c << "iso 1 2 3 ()";
    QTest::newRow("blank lines skipped")
        << QByteArray("\n   \nG71 X1 Y2 Z3\n  \n\n(C)\n") << c << "iso 1 2 3 (C)";
    QTest::newRow("iso T after Z")
        << QByteArray("G71 X800 Y600 Z18 T5\n(C)") << c << "iso 800 600 18 (C)";
    QTest::newRow("iso Z not a number")
        << QByteArray("G71 X800 Y600 Z1A\n(C)\n") << c << "iso 800 600 - -";
    QTest::newRow("iso Z missing") << QByteArray("G71 X800 Y600\n(C)\n") << c << "iso 800 600 - -";
    QTest::newRow("iso too large for a single")
        << QByteArray("G71 X1e39 Y1 Z1\n(C)\n") << c << "iso - - - -";
    QTest::newRow("iso regional comma") << QByteArray("G71 X800,5 Y600 Z18\n(C)\n") << "de_DE"
                                        << "iso 800.5 600 18 (C)";
    QTest::newRow("iso comma not a C number")
        << QByteArray("G71 X800,5 Y600 Z18\n(C)\n") << c << "iso - - - -";
    QTest::newRow("iso one line only")
        << QByteArray("G71 X800 Y600 Z18\n") << c << "unknown - - - -";
    QTest::newRow("not a program") << QByteArray("G90 X10\n(C)\n") << c << "not a program - - - -";

    QTest::newRow("ktq") << QByteArray("KTQ 2.0\r\n;;LEFT DOOR \r\nN1\r\nDIM UN=800 Y=600 Z=18\r\n")
                         << c << "ktq 800 600 18 (LEFT DOOR )";
    QTest::newRow("ktq lower case, LF")
        << QByteArray("ktq\n;;C\nDim un=800.5 y=600 z=18\n") << c << "ktq 800.5 600 18 (C)";
    QTest::newRow("ktq CR only") << QByteArray("x KtQ\r;;C\rDIM UN=1 Y=2 Z=3\r") << c
                                 << "ktq 1 2 3 (C)";
    QTest::newRow("ktq UN sought after the second line")
        << QByteArray("KTQ UN=7\n;;UN=9\n\n  \nDIM UN=1 Y=2 Z=3\n") << c << "ktq 1 2 3 (UN=9)";
    QTest::newRow("ktq leading numeric part")
        << QByteArray("KTQ\n;;C\nDIM UN=12mm Y=abc Z=\n") << c << "ktq 12 0 0 (C)";
    QTest::newRow("ktq point even in a comma locale")
        << QByteArray("KTQ\n;;C\nDIM UN=1.5 Y=2 Z=3\n") << "de_DE"
        << "ktq 1.5 2 3 (C)";
    QTest::newRow("ktq without UN line")
        << QByteArray("KTQ\n;;C\nN10\nN20\n") << c << "ktq - - - -";
    QTest::newRow("ktq overflow") << QByteArray("KTQ\n;;C\nDIM UN=1 Y=1e39 Z=3\n") << c
                                  << "ktq 1 - - -";
    QTest::newRow("overlong line") << QByteArray(40000, 'G') + "\n(C)\n" << c << "unknown - - - -";
}

void TestProgramFileReader::facts()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, locale);
    QFETCH(QString, expected);

    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(describe(program::readProgramFacts(buffer, QLocale(locale))), expected);
}

void TestProgramFileReader::largeFile_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qint64>("maxBytesRead");

    QTest::newRow("iso") << QByteArray("G71 X800 Y600 Z18\r\n(BIG)\r\n") << "iso 800 600 18 (BIG)"
                         << qint64(64 * 1024);
    QTest::newRow("ktq") << QByteArray("KTQ\r\n;;BIG\r\nDIM UN=1 Y=2 Z=3\r\n") << "ktq 1 2 3 (BIG)"
                         << qint64(64 * 1024);
    // The UN line never comes: the reader gives up after its budget, not at the end.
    QTest::newRow("ktq without UN")
        << QByteArray("KTQ\r\n;;BIG\r\n") << "ktq - - - -" << program::programReadBudgetBytes;
}

void TestProgramFileReader::largeFile()
{
    QFETCH(QByteArray, head);
    QFETCH(QString, expected);
    QFETCH(qint64, maxBytesRead);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("BIG.CNC")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(head);
    const QByteArray block = QByteArray("N10 G1 X100 Y100\r\n").repeated(1 << 16);
    while (file.size() < 50 * 1024 * 1024)
        QCOMPARE(file.write(block), block.size());
    file.close();

    QVERIFY(file.open(QIODevice::ReadOnly));
    CountingDevice counting(file);
    QCOMPARE(describe(program::readProgramFacts(counting, QLocale::c())), expected);
    QVERIFY2(counting.bytesRead <= maxBytesRead, QByteArray::number(counting.bytesRead));
}

void TestProgramFileReader::readProgramFile_data()
{
    QTest::addColumn<QString>("fileName"); // on disk; empty for none
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("programName");
    QTest::addColumn<QString>("expected"); // "x y z (comment)"
    QTest::addColumn<QString>("prompt");   // after the folder

    const QByteArray iso("G71 X800 Y600 Z18\n(DOOR)\n");
    QTest::newRow("read") << "PROG.CNC" << iso << "PROG.CNC"
                          << "800 600 18 (DOOR)"
                          << "";
    QTest::newRow("name in other case") << "prog.cnc" << iso << "PROG.CNC"
                                        << "800 600 18 (DOOR)"
                                        << "";
    QTest::newRow("name trimmed") << "PROG.CNC" << iso << "PROG.CNC  "
                                  << "800 600 18 (DOOR)"
                                  << "";
    QTest::newRow("missing") << "" << QByteArray() << "PROG.CNC"
                             << "1 2 3 ()"
                             << "";
    QTest::newRow("folder, not a file") << "PROG.CNC/" << QByteArray() << "PROG.CNC"
                                        << "1 2 3 ()"
                                        << "";
    QTest::newRow("outside the folder") << "../OUT.CNC" << iso << "../OUT.CNC"
                                        << "1 2 3 ()"
                                        << "";
    QTest::newRow("partly read") << "PROG.CNC" << QByteArray("G71 X800 Y600 ZZ\n(DOOR)\n")
                                 << "PROG.CNC"
                                 << "800 600 3 ()"
                                 << "";
    QTest::newRow("not a program") << "PROG.CNC" << QByteArray("G90 X10\n(DOOR)\n") << "PROG.CNC"
                                   << "1 2 3 ()"
                                   << "PROG.CNC Not a proper program file";
}

void TestProgramFileReader::readProgramFile()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QString, programName);
    QFETCH(QString, expected);
    QFETCH(QString, prompt);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("gcode/"));
    QVERIFY(QDir().mkpath(folder));
    if (fileName.endsWith('/'))
        QVERIFY(QDir().mkpath(folder + fileName));
    else if (!fileName.isEmpty())
        writeFile(folder + fileName, content);

    app::Settings settings;
    settings.gcodePath = folder;
    testing::ScriptedPrompter prompter;
    program::ProgramFileReader reader(settings, prompter);
    reader.setLocale(QLocale::c());
    label::CurrentItem item;
    item.programName = programName;
    item.programComment = QStringLiteral("previous");
    float x = 1, y = 2, z = 3;
    reader.readProgramFile(item, x, y, z);

    QCOMPARE(QStringLiteral("%1 %2 %3 (%4)").arg(x).arg(y).arg(z).arg(item.programComment),
             expected);
    if (prompt.isEmpty()) {
        QVERIFY(prompter.shown.isEmpty());
    } else {
        QCOMPARE(prompter.texts(), QStringList{folder + prompt});
        QCOMPARE(prompter.shown.first().buttons, app::Prompter::Buttons::Ok);
    }
}

QTEST_GUILESS_MAIN(TestProgramFileReader)
#include "tst_programfilereader.moc"
