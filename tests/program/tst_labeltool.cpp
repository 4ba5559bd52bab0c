// barlink-label: the label texts it writes for every kind, what it refuses, and barcode
// images that an independent decoder reads back to the same bytes. Then labels it made, sent
// by the virtual scanner barlink-scan over a pseudo-terminal to a running station: the
// program file saved and the rows added must be what the label says.

#include "LabelOptions.h"
#include "LabelText.h"
#include "ManualClock.h"
#include "StationRig.h"
#include "Tables.h"

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::labeltool;
using namespace barlink::testing;

namespace {

const QString labelBinary = QStringLiteral(BARLINK_LABEL_BINARY);
const QString scanBinary = QStringLiteral(BARLINK_SCAN_BINARY);
// How long anything may take to show up; generous, as the machine is shared.
constexpr int Patience = 60000;

const QByteArray Program = "G71 X900 Y700 Z20\r\n(LEFT DOOR)\r\nG0 X1 Y1\r\nM30\r\n";

// Runs barlink-label; true when it succeeded. What it wrote to standard error goes to
// *errors.
bool runLabel(const QStringList &arguments, QByteArray *errors)
{
    QProcess process;
    process.start(labelBinary, arguments);
    const bool finished = process.waitForFinished(Patience);
    *errors = process.readAllStandardError();
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A program file whose label "<name>^X800^Y500^Z18!" + program has exactly `length`
// characters.
QByteArray programOfLabelLength(const QString &name, int length)
{
    const int header = int(name.size()) + 15;
    QRandomGenerator random{quint32(length)};
    QByteArray text = "G71 X900 Y700 Z20\r\n";
    while (text.size() < length - header)
        text += QStringLiteral("G1 X%1 Y%2\r\n")
                    .arg(random.bounded(2000))
                    .arg(random.bounded(1000))
                    .toLatin1();
    text.truncate(length - header - 1);
    return text + "M\r\n";
}

} // namespace

class tst_LabelTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelText_data()
    {
        // text: the label's bytes; empty when refused
        // error: start of the refusal
        columns<QStringList, QByteArray, QString>({"arguments", "text", "error"});
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
        ok("program segment", {"segment", "program", "PROG.CNC", "N1", "X", "--count", "2"}, "%12PROG.CNC N1 X");
        ok("variables by digit, repeated", {"segment", "4", "5", "6", "7", "8", "--repeat"}, "%495 6 7 8");
        ok("list segment keeps blanks", {"segment", "list", "MY LIST"}, "%01MY LIST");
        no("percent in a value", {"segment", "program", "A%B"}, "\"A%B\": \"%\" would end");
        ok("list label", {"list", "PANEL1"}, "*%00PANEL1^^");
        ok("bare label with prefix", {"bare", "--prefix209", "1234567"}, "\xD1" "1234567^");
        ok("program barcode, header in reading order", QString("program PROG1 @file --var i=9 -z 18 --field N -x 800 --extra X --var A=1") .split(' '), "PROG1^UN^VX^X800^Z18^I9^A1!" + Program.chopped(2));
        ok("program barcode without header fields still holds ^", {"program", "P", "@file"}, "P^!" + Program.chopped(2));
        no("header value with ^", {"program", "P", "@file", "--extra", "A^B"}, "the V value cannot hold");
        // clang-format on
    }
    void labelText()
    {
        const QString &error = fetch<QString>("error");
        const LabelCommandLine commandLine
            = parseLabelCommandLine(QStringList{"barlink-label"} + fetch<QStringList>("arguments"));
        LabelText label;
        if (commandLine.request)
            label = composeLabel(*commandLine.request, Program);
        else
            label.error = commandLine.error;
        if (error.isEmpty()) {
            QVERIFY2(label.ok(), qPrintable(label.error));
            QTEST(label.bytes(), "text");
        } else {
            QVERIFY2(label.error.startsWith(error), qPrintable(label.error));
        }
    }

    // A generated symbol read back by a decoder that has nothing to do with libzint, and a
    // program too long for one Data Matrix refused.
    void images_data()
    {
        // decoderArguments: "refused": the tool refuses
        columns<QStringList, QString, QStringList>({"arguments", "decoder", "decoderArguments"});
        // clang-format off
        QTest::newRow("compressed with prefix, Data Matrix: bytes above 127 and controls") << QStringList{"program", "PROG1", "@file", "--compress", "--prefix209", "ABCDEFG"} << "dmtxread" << QStringList{"-N1"};
        QTest::newRow("segment label, Code 128") << QStringList{"segment", "program", "PROG.CNC", "N1", "X", "--count", "2"} << "zbarimg" << QStringList{"--raw", "-q", "--nodbus"};
        QTest::newRow("too long for one Data Matrix") << QStringList{"program", "BIG", "@big"} << "svg" << QStringList{"refused"};
        // clang-format on
    }
    void images()
    {
        QStringList arguments = fetch<QStringList>("arguments");
        const QString &decoder = fetch<QString>("decoder");
        const QStringList &decoderArguments = fetch<QStringList>("decoderArguments");
        const QString decoderPath = QStandardPaths::findExecutable(decoder);
        if (decoder != u"svg" && decoderPath.isEmpty())
            QSKIP(
                qPrintable(decoder + " is not installed (Debian packages dmtx-utils, zbar-tools)"));

        QTemporaryDir dir;
        QByteArray big;
        for (int i = 0; i < 400; ++i)
            big += QByteArray::number(i * 7919 % 10007) + "\r\n";
        QVERIFY(writeBytes(dir.filePath("big.cnc"), big));
        QVERIFY(writeBytes(dir.filePath("prog.cnc"), Program.repeated(12))); // a mid-sized symbol
        arguments.replaceInStrings("@file", dir.filePath("prog.cnc"));
        arguments.replaceInStrings("@big", dir.filePath("big.cnc"));
        const QString image = dir.filePath(decoder == u"svg" ? "label.svg" : "label.png");
        const QString text = dir.filePath(QStringLiteral("label.bin"));

        QByteArray errors;
        const bool refused = decoderArguments == QStringList{"refused"};
        QVERIFY2(runLabel(arguments + QStringList{"-o", image, "--text", text}, &errors) != refused,
                 errors.constData());
        if (refused) {
            QVERIFY(!errors.isEmpty());
        } else {
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
    }

    void roundTrip_data()
    {
        // program: the program file given to barlink-label
        // labels: barlink-label arguments, one label each
        // saved: program file expected equal to `program`
        // acks: the sender ends after so many "ACK"s; 0: the test
        // ends it
        // status: the start of a status line text seen on the way
        // clang-format off
        columns<QByteArray, QStringList, QStringList, QString, int, QString>({"program", "labels", "rows", "saved", "acks", "status"});
        const auto add = [](const char *name, const QByteArray &program, const QStringList &labels,
                            const QString &rows, const QString &saved = {}, int acks = 0,
                            const QString &status = {}) {
            QTest::newRow(name) << program << labels << rows.split('|') << saved << acks << status;
        };
        add("with the scanner prefix, compressed", Program, {"program PROG3 @program --field N1 --prefix209 1234567 --compress"}, "PROG3 f7 900x700x20 r1 c:LEFT DOOR", "PROG3");
        // Both expansion routes and their threshold are in tst_program; here the longest
        // label crosses the pseudo-terminal.
        add("compressed, the longest", programOfLabelLength("BIG", 32767), {"program BIG @program -x 800 -y 500 -z 18 --compress"}, "BIG f3 800x500x18 r1", "BIG");
        add("compressed segment label goes to the dispatcher", {}, {"segment program DOOR.CNC N --repeat --compress"}, "DOOR.CNC f1 xx r999", {}, 1);
        add("compressed list label", {}, {"list PANEL1 --compress"}, "A.CNC f xx r|B.CNC f xx r");
        add("damaged compressed label, then the next one", Program, {"program LOST @program --compress @damage", "segment program NEXT.CNC N --repeat"}, "NEXT.CNC f1 xx r999", {}, 1, "Compressed label not read: its compressed data does not expand");
        // clang-format on
    }
    void roundTrip()
    {
        const QByteArray &program = fetch<QByteArray>("program");
        const QStringList &labels = fetch<QStringList>("labels");
        const QString &saved = fetch<QString>("saved"), &status = fetch<QString>("status");
        const int acks = fetch<int>("acks");
        QTemporaryDir dir;
        const QString root = dir.path();
        const QString link = root + QStringLiteral("/scanner");
        QVERIFY(PtyStation::prepare(root, link, SelectionKeys));
        QVERIFY(writeBytes(root + QStringLiteral("/lists/PANEL1.LST"),
                           "#161=A.CNC;\r\n#161=B.CNC;\r\n"));
        QVERIFY(writeBytes(root + QStringLiteral("/program.cnc"), program));

        // Each label as barlink-label writes it, in a file of its own. Labels follow each
        // other after a pause that lets the station handle each one; after the last, the
        // sender waits for its "ACK"s or stays on the line until the test ends.
        QStringList scanArguments
            = QStringLiteral("--link %1 --delay 200 --timeout 600 --gap %2 --wait-acks %3")
                  .arg(link, labels.size() > 1 ? "1500" : "600000", QString::number(acks))
                  .split(u' ');
        QList<QByteArray> sent;
        for (qsizetype i = 0; i < labels.size(); ++i) {
            QStringList arguments = labels[i].split(QLatin1Char(' '));
            const bool damage = arguments.removeAll(QStringLiteral("@damage")) > 0;
            arguments.replaceInStrings(QStringLiteral("@program"), root + "/program.cnc");
            const QString text = root + QStringLiteral("/label%1.bin").arg(i);
            QByteArray errors;
            QVERIFY2(runLabel(arguments + QStringList{"--text", text}, &errors),
                     errors.constData());
            if (damage) {
                QByteArray bytes = readBytes(text);
                bytes[bytes.size() / 2] = bytes[bytes.size() / 2] == 'A' ? 'B' : 'A';
                QVERIFY(writeBytes(text, bytes));
            }
            sent << readBytes(text);
            scanArguments << QStringLiteral("--file") << text;
        }
        QProcess scan;
        scan.start(scanBinary, scanArguments);
        QVERIFY2(scan.waitForStarted(), qPrintable(scan.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), Patience);

        // The station's poller runs in simulated time: each label is handed on once all of its
        // bytes have come, however slowly they cross, and a label routed wrongly fails at once
        // instead of leaving the test waiting for rows that never come.
        base::ManualClock clock;
        PtyStation rig(root, {.clock = &clock});
        QVERIFY2(rig.start(), qPrintable(rig.prompter.texts().join('|')));
        const QString &buffer = app::StationProbe(rig.station).poller().scanBuffer();
        for (const QByteArray &label : sent) {
            QTRY_VERIFY_WITH_TIMEOUT(buffer.size() >= label.size(), Patience);
            QCOMPARE(buffer, QString::fromLatin1(label));
            for (int i = 0;
                 i < 10 && (!buffer.isEmpty() || app::StationProbe(rig.station).gate().isBusy());
                 ++i)
                clock.advance(PtyStation::PollMs);
        }
        QCOMPARE(rig.rows(), fetch<QStringList>("rows"));
        if (!saved.isEmpty())
            QCOMPARE(readBytes(root + QStringLiteral("/gcode/") + saved), program);
        const QStringList &history = rig.display.statusHistory;
        QVERIFY2(status.isEmpty()
                     || std::any_of(history.begin(),
                                    history.end(),
                                    [&](const QString &s) { return s.startsWith(status); }),
                 qPrintable(history.join('|')));
        QVERIFY2(rig.prompter.shown.isEmpty(), qPrintable(rig.prompter.texts().join('|')));
        // The decoder leaves no temporary file behind.
        QVERIFY(QDir(root + QStringLiteral("/temp")).entryList(QDir::Files).isEmpty());

        if (acks > 0) {
            QTRY_COMPARE_WITH_TIMEOUT(scan.state(), QProcess::NotRunning, Patience);
            QCOMPARE(scan.exitCode(), 0);
        }
        rig.station.shutdown();
        if (scan.state() != QProcess::NotRunning) {
            scan.terminate();
            QVERIFY(scan.waitForFinished(Patience));
        }
    }
};

QTEST_GUILESS_MAIN(tst_LabelTool)
#include "tst_labeltool.moc"
