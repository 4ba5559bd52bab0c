// Reading dimensions and comment from the first lines of KTQ and ISO program files.
#include "base/CurrentItem.h"
#include "base/Settings.h"
#include "program/ProgramFileReader.h"

#include "Fakes.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QDir>
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

} // namespace

class TestProgramFileReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void facts_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        // clang-format off
        const auto add = [](const char *name, const QByteArray &content, const char *expected,
                            const char *locale = "C") {
            QTest::newRow(name) << content << QString::fromLatin1(locale) << expected;
        };
        add("iso", "G71 X800 Y600 Z18\r\n(LEFT DOOR)\r\n", "iso 800 600 18 (LEFT DOOR)");
        add("iso G70, no conversion", "G70 X10.5 Y20 Z1\n(A)\n", "iso 10.5 20 1 (A)");
        add("iso trimmed, upper-cased", "  g71 x800 y600 z18  \n  (B) \n", "iso 800 600 18 (B)");
        add("iso comment without parentheses", "G71 X1 Y2 Z3\nN10 G0\n", "iso 1 2 3 ()");
        add("blank lines skipped", "\n   \nG71 X1 Y2 Z3\n  \n\n(C)\n", "iso 1 2 3 (C)");
        add("iso T after Z", "G71 X800 Y600 Z18 T5\n(C)", "iso 800 600 18 (C)");
        add("iso Z not a number", "G71 X800 Y600 Z1A\n(C)\n", "iso 800 600 - -");
        add("iso regional comma", "G71 X800,5 Y600 Z18\n(C)\n", "iso 800.5 600 18 (C)", "de_DE");
        add("iso comma not a C number", "G71 X800,5 Y600 Z18\n(C)\n", "iso - - - -");
        add("iso one line only", "G71 X800 Y600 Z18\n", "unknown - - - -");
        add("not a program", "G90 X10\n(C)\n", "not a program - - - -");
        add("ktq", "KTQ 2.0\r\n;;LEFT DOOR \r\nN1\r\nDIM UN=800 Y=600 Z=18\r\n",
            "ktq 800 600 18 (LEFT DOOR )");
        add("ktq lower case, LF", "ktq\n;;C\nDim un=800.5 y=600 z=18\n", "ktq 800.5 600 18 (C)");
        add("ktq CR only", "x KtQ\r;;C\rDIM UN=1 Y=2 Z=3\r", "ktq 1 2 3 (C)");
        add("ktq UN sought after the second line", "KTQ UN=7\n;;UN=9\n\n  \nDIM UN=1 Y=2 Z=3\n",
            "ktq 1 2 3 (UN=9)");
        add("ktq leading numeric part", "KTQ\n;;C\nDIM UN=12mm Y=abc Z=\n", "ktq 12 0 0 (C)");
        add("ktq point even in a comma locale", "KTQ\n;;C\nDIM UN=1.5 Y=2 Z=3\n", "ktq 1.5 2 3 (C)",
            "de_DE");
        add("ktq without UN line", "KTQ\n;;C\nN10\nN20\n", "ktq - - - -");
        add("ktq overflow", "KTQ\n;;C\nDIM UN=1 Y=1e39 Z=3\n", "ktq 1 - - -");
        add("overlong line", QByteArray(40000, 'G') + "\n(C)\n", "unknown - - - -");
        // clang-format on
    }

    void facts()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, locale);
        QFETCH(QString, expected);

        QBuffer buffer(&content);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(describe(program::readProgramFacts(buffer, QLocale(locale))), expected);
    }

    void largeFile_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<qint64>("maxBytesRead");

        QTest::newRow("ktq") << QByteArray("KTQ\r\n;;BIG\r\nDIM UN=1 Y=2 Z=3\r\n")
                             << "ktq 1 2 3 (BIG)" << qint64(64 * 1024);
        // The UN line never comes: the reader gives up after its budget, not at the end.
        QTest::newRow("ktq without UN")
            << QByteArray("KTQ\r\n;;BIG\r\n") << "ktq - - - -" << program::programReadBudgetBytes;
    }

    void largeFile()
    {
        QFETCH(QByteArray, head);
        QFETCH(qint64, maxBytesRead);
        QByteArray content = head + QByteArray("N10 G1 X100 Y100\r\n").repeated(1 << 20); // 18 MB
        QBuffer buffer(&content);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QTEST(describe(program::readProgramFacts(buffer, QLocale::c())), "expected");
        QVERIFY2(buffer.pos() <= maxBytesRead, QByteArray::number(buffer.pos()));
    }

    void readProgramFile_data()
    {
        QTest::addColumn<QString>("fileName"); // on disk; empty for none
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("programName");
        QTest::addColumn<QString>("expected"); // "x y z (comment)"
        QTest::addColumn<QString>("prompt");   // after the folder

        const QByteArray iso("G71 X800 Y600 Z18\n(DOOR)\n");
        const QString read = QStringLiteral("800 600 18 (DOOR)"), kept = QStringLiteral("1 2 3 ()");
        // clang-format off
        QTest::newRow("read") << "PROG.CNC" << iso << "PROG.CNC" << read << "";
        QTest::newRow("name in other case") << "prog.cnc" << iso << "PROG.CNC" << read << "";
        QTest::newRow("name trimmed") << "PROG.CNC" << iso << "PROG.CNC  " << read << "";
        QTest::newRow("missing") << "" << QByteArray() << "PROG.CNC" << kept << "";
        QTest::newRow("folder, not a file") << "PROG.CNC/" << QByteArray() << "PROG.CNC" << kept
                                        << "";
        QTest::newRow("outside the folder") << "../OUT.CNC" << iso << "../OUT.CNC" << kept << "";
        QTest::newRow("partly read") << "PROG.CNC" << QByteArray("G71 X800 Y600 ZZ\n(DOOR)\n")
                                     << "PROG.CNC" << "800 600 3 ()" << "";
        QTest::newRow("not a program") << "PROG.CNC" << QByteArray("G90 X10\n(DOOR)\n") << "PROG.CNC"
                                       << kept << "PROG.CNC Not a proper program file";
        // clang-format on
    }

    void readProgramFile()
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
            QVERIFY(testing::writeBytes(folder + fileName, content));

        base::Settings settings;
        settings.gcodePath = folder;
        testing::ScriptedPrompter prompter;
        program::ProgramFileReader reader(settings, prompter);
        reader.setLocale(QLocale::c());
        base::CurrentItem item;
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
            QCOMPARE(prompter.shown.first().buttons, base::Prompter::Buttons::Ok);
        }
    }
};

QTEST_GUILESS_MAIN(TestProgramFileReader)
#include "tst_programfilereader.moc"
