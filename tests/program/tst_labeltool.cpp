// barlink-label: the label texts it writes for every kind, what it refuses, and barcode
// images that an independent decoder reads back to the same bytes.

#include "LabelOptions.h"
#include "LabelText.h"
#include "TestSupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink::labeltool;
using namespace barlink::testing;

namespace {

const QString labelBinary = QStringLiteral(BARLINK_LABEL_BINARY);

const QByteArray Program = "G71 X900 Y700 Z20\r\n(LEFT DOOR)\r\nG0 X1 Y1\r\nM30\r\n";

// Runs barlink-label; true when it succeeded. What it wrote to standard error goes to
// *errors.
bool runLabel(const QStringList &arguments, QByteArray *errors)
{
    QProcess process;
    process.start(labelBinary, arguments);
    const bool finished = process.waitForFinished(60000);
    *errors = process.readAllStandardError();
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

class tst_LabelTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelText_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("text"); // the label's bytes; empty when refused
        QTest::addColumn<QString>("error");   // start of the refusal

        const auto ok = [](const char *name, const QStringList &arguments, const QByteArray &text) {
            QTest::newRow(name) << arguments << text << QString();
        };
        const auto no = [](const char *name, const QStringList &arguments, const char *error) {
            QTest::newRow(name) << arguments << QByteArray() << QString::fromLatin1(error);
        };
        // clang-format off
        ok("command", {"command", "setp"}, "%SETP%");
        ok("field code", {"field", "N1/"}, "%N1/%");
        no("name read as a field code", {"name", "ANB"}, "\"ANB\" would be read as a field-code");
        no("name outside its folder", {"name", "../PANEL"}, "\"../PANEL\" reaches outside");
        no("name with !", {"name", "A!B"}, "\"A!B\" holds \"!\"");
        ok("program segment", {"segment", "program", "PROG.CNC", "N1", "X", "--count", "2"},
           "%12PROG.CNC N1 X");
        ok("variables by digit, repeated", {"segment", "4", "5", "6", "7", "8", "--repeat"},
           "%495 6 7 8");
        ok("list segment keeps blanks", {"segment", "list", "MY LIST"}, "%01MY LIST");
        no("percent in a value", {"segment", "program", "A%B"}, "\"A%B\": \"%\" would end");
        ok("list label", {"list", "PANEL1"}, "*%00PANEL1^^");
        ok("bare label with prefix", {"bare", "--prefix209", "1234567"}, "\xD1" "1234567^");
        ok("program barcode, header in reading order",
           QString("program PROG1 @file --var i=9 -z 18 --field N -x 800 --extra X --var A=1")
               .split(' '),
           "PROG1^UN^VX^X800^Z18^I9^A1!" + Program.chopped(2));
        ok("program barcode without header fields still holds ^", {"program", "P", "@file"},
           "P^!" + Program.chopped(2));
        no("header value with ^", {"program", "P", "@file", "--extra", "A^B"},
           "the V value cannot hold");
        // clang-format on
    }

    void labelText()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        const LabelCommandLine commandLine
            = parseLabelCommandLine(QStringList{"barlink-label"} + arguments);
        LabelText label;
        if (commandLine.request)
            label = composeLabel(*commandLine.request, Program);
        else
            label.error = commandLine.error;
        if (error.isEmpty()) {
            QVERIFY2(label.ok(), qPrintable(label.error));
            QCOMPARE(label.bytes(), text);
        } else {
            QVERIFY2(label.error.startsWith(error), qPrintable(label.error));
        }
    }

    // A generated symbol read back by a decoder that has nothing to do with libzint.
    void imageDecodesToTheSameBytes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("decoder");
        QTest::addColumn<QStringList>("decoderArguments");
        QTest::newRow("compressed with prefix, Data Matrix: bytes above 127 and controls")
            << QStringList{"program", "PROG1", "@file", "--compress", "--prefix209", "ABCDEFG"}
            << "dmtxread" << QStringList{"-N1"};
        QTest::newRow("segment label, Code 128")
            << QStringList{"segment", "program", "PROG.CNC", "N1", "X", "--count", "2"} << "zbarimg"
            << QStringList{"--raw", "-q", "--nodbus"};
    }

    void imageDecodesToTheSameBytes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, decoder);
        QFETCH(QStringList, decoderArguments);
        const QString decoderPath = QStandardPaths::findExecutable(decoder);
        if (decoderPath.isEmpty())
            QSKIP(qPrintable(decoder
                             + QStringLiteral(" is not installed (Debian packages "
                                              "dmtx-utils, zbar-tools)")));

        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("prog.cnc"));
        QVERIFY(writeBytes(program, Program.repeated(12))); // some 500 bytes: a mid-sized symbol
        arguments.replaceInStrings(QStringLiteral("@file"), program);
        const QString image = dir.filePath(QStringLiteral("label.png"));
        const QString text = dir.filePath(QStringLiteral("label.bin"));

        QByteArray errors;
        QVERIFY2(runLabel(arguments + QStringList{"-o", image, "--text", text}, &errors),
                 errors.constData());
        const QByteArray bytes = readBytes(text);
        QVERIFY(!bytes.isEmpty());

        QProcess decode;
        decode.start(decoderPath, decoderArguments + QStringList{image});
        QVERIFY(decode.waitForFinished(120000));
        QByteArray decoded = decode.readAllStandardOutput();
        if (decoder == QLatin1String("zbarimg"))
            decoded.chop(1); // its line end
        QCOMPARE(decoded, bytes);
    }

    void imageFormatsAndLimits_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("image");
        QTest::addColumn<QByteArray>("starts"); // the image file's first bytes; empty: refused
        QTest::newRow("svg") << QStringList{"field", "N"} << "n.svg" << QByteArray("<?xml");
        QTest::newRow("too long for one Data Matrix")
            << QStringList{"program", "BIG", "@big"} << "big.png" << QByteArray();
    }

    void imageFormatsAndLimits()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, image);
        QFETCH(QByteArray, starts);
        QTemporaryDir dir;
        QByteArray big;
        for (int i = 0; i < 400; ++i)
            big += QByteArray::number(i * 7919 % 10007) + "\r\n";
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("big.cnc")), big));
        arguments.replaceInStrings(QStringLiteral("@big"), dir.filePath(QStringLiteral("big.cnc")));
        const QString path = dir.filePath(image);

        QByteArray errors;
        QCOMPARE(runLabel(arguments + QStringList{"-o", path}, &errors), !starts.isEmpty());
        if (starts.isEmpty())
            QVERIFY(!errors.isEmpty());
        else
            QCOMPARE(readBytes(path).left(starts.size()), starts);
    }
};

QTEST_GUILESS_MAIN(tst_LabelTool)
#include "tst_labeltool.moc"
