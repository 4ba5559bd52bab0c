#include "LabelBytes.h"
#include "PtyPair.h"
#include "ScanOptions.h"
#include "ScanSession.h"
#include "VirtualPty.h"
#include "scanner/SerialScannerPort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace barlink::scan;

Q_DECLARE_METATYPE(barlink::scan::LineEnd)

namespace {

const QString scanBinary = QStringLiteral(BARLINK_SCAN_BINARY);

} // namespace

// The virtual scanner: how it encodes and shows bytes, its pseudo-terminal, its session
// logic, and the program itself in both of its modes.
class TestScanTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // barlink and both tools answer --help and --version and end at once, before anything
    // else happens: no display is there, and nothing may appear in the home folder.
    void helpAndVersion_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("start"); // of what it prints
        const QString version = QStringLiteral(" %1.%2.%3\n")
                                    .arg(BARLINK_VERSION_MAJOR)
                                    .arg(BARLINK_VERSION_MINOR)
                                    .arg(BARLINK_VERSION_PATCH);
        const QList<std::pair<const char *, QString>> programs = {
            {"barlink", QStringLiteral(BARLINK_BINARY)},
            {"barlink-scan", scanBinary},
            {"barlink-label", QStringLiteral(BARLINK_LABEL_BINARY)},
        };
        for (const auto &[name, path] : programs) {
            QTest::addRow("%s --help", name) << path << "--help" << QStringLiteral("Usage: ");
            QTest::addRow("%s --version", name) << path << "--version" << name + version;
        }
    }
    void helpAndVersion()
    {
        QFETCH(QString, program);
        QFETCH(QString, option);
        QTemporaryDir home;
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, {option});
        QVERIFY(process.waitForFinished(30000));
        const QByteArray errors = process.readAllStandardError();
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(process.exitCode() == 0, errors.constData());
        const QString printed = QString::fromLocal8Bit(process.readAllStandardOutput());
        QFETCH(QString, start);
        QVERIFY2(printed.startsWith(start), qPrintable(printed));
        QVERIFY(QDir(home.path()).isEmpty());
    }

    void labelBytes_data()
    {
        QTest::addColumn<bool>("fromStdin"); // raw bytes of a typed line instead of an argument
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<LineEnd>("lineEnd");
        QTest::addColumn<QByteArray>("bytes");
        using B = QByteArray;
        // clang-format off
        QTest::newRow("cr")                << false << B("%END%")          << LineEnd::Cr   << B("%END%\r");
        QTest::newRow("lf")                << false << B("A")              << LineEnd::Lf   << B("A\n");
        QTest::newRow("crlf")              << false << B("A")              << LineEnd::CrLf << B("A\r\n");
        QTest::newRow("compressed marker") << false << B("\303\261AB")     << LineEnd::None << B("\361AB");
        QTest::newRow("outside latin-1")   << false << B("\342\202\2541")  << LineEnd::None << B("?1");
        QTest::newRow("typed utf-8")       << true  << B("\303\261AB")     << LineEnd::Cr   << B("\361AB\r");
        QTest::newRow("piped latin-1")     << true  << B("\361AB")         << LineEnd::None << B("\361AB");
        // clang-format on
    }
    void labelBytes()
    {
        QFETCH(bool, fromStdin);
        QFETCH(QByteArray, input);
        QFETCH(LineEnd, lineEnd);
        QTEST(fromStdin ? inputLineBytes(input, lineEnd)
                        : barlink::scan::labelBytes(QString::fromUtf8(input), lineEnd),
              "bytes");
    }

    void printableBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("line ends") << QByteArray("A\r\n\t") << "A\\r\\n\\t";
        QTest::newRow("backslash") << QByteArray("C:\\X") << "C:\\\\X";
        QTest::newRow("control and high") << QByteArray("\x01\x7f\xf1") << "\\x01\\x7F\\xF1";
    }
    void printableBytes()
    {
        QFETCH(QByteArray, bytes);
        QTEST(barlink::scan::printableBytes(bytes), "text");
    }

    void lineSplitter_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<QByteArray>("pending");
        using L = QList<QByteArray>;
        const qsizetype max = LineSplitter::maxLineLength;
        // clang-format off
        QTest::newRow("one cr line")       << L{"ACK\r"}              << L{"ACK"}        << QByteArray();
        QTest::newRow("split over chunks") << L{"AC", "K\rAC", "K\r"} << L{"ACK", "ACK"} << QByteArray();
        QTest::newRow("crlf is one end")   << L{"ACK\r\nNAK\n"}       << L{"ACK", "NAK"} << QByteArray();
        QTest::newRow("unfinished")        << L{"ACK\rAC"}            << L{"ACK"}        << QByteArray("AC");
        QTest::newRow("overlong line cut") << L{QByteArray(max + 3, 'x')} << L{QByteArray(max, 'x')} << QByteArray("xxx");
        // clang-format on
    }
    void lineSplitter()
    {
        QFETCH(QList<QByteArray>, chunks);
        LineSplitter splitter;
        QList<QByteArray> got;
        for (const QByteArray &chunk : chunks)
            got += splitter.feed(chunk);
        QTEST(got, "lines");
        QTEST(splitter.takePending(), "pending");
    }

    // A stale link is replaced and removed again; a regular file in the way is refused.
    void virtualPtyLink()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("scanner"));
        QVERIFY(QFile::link(QStringLiteral("/dev/pts/does-not-exist"), link));
        QString error;
        auto pty = VirtualPty::create(link, &error);
        QVERIFY2(pty, qPrintable(error));
        QCOMPARE(QFileInfo(link).symLinkTarget(), pty->devicePath());
        pty.reset();
        QVERIFY(!QFileInfo(link).exists() && !QFileInfo(link).isSymLink());

        QVERIFY(QFile(link).open(QIODevice::WriteOnly));
        QVERIFY(!VirtualPty::create(link, &error));
        QVERIFY2(error.contains(link), qPrintable(error));
        QVERIFY(QFileInfo(link).isFile());
    }

    // Labels go out a character at a time; ACK answers are counted until the time is up.
    void sessionSendsPacedLabelsAndCountsAcks()
    {
        ScanOptions options;
        options.gapMs = 0;
        options.paceMs = 1;
        options.waitAcks = 3;
        options.timeoutSeconds = 2;
        QList<QByteArray> sent;
        QStringList printed;
        ScanSession session(
            options,
            [&](const QByteArray &bytes) { sent.append(bytes); },
            [&](const QString &line) { printed.append(line); });
        QSignalSpy finished(&session, &ScanSession::finished);

        session.addLabel("AB");
        session.addLabel("\xf1");
        session.endOfLabels();
        session.start();
        QTRY_COMPARE(sent, (QList<QByteArray>{"A", "B", "\xf1"}));
        session.received("ACK\rAC");
        session.received("K\r");
        QCOMPARE(printed, (QStringList{"-> AB", "-> \\xF1", "<- ACK", "<- ACK"}));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QCOMPARE(finished.at(0).at(0).toInt(), 2);
        QCOMPARE(finished.at(0).at(1).toString(),
                 QStringLiteral("timed out after 2 s with 2 of 3 ACK answers"));
    }

    // With --device: labels from the command line go to the device, answers are printed.
    void programOnADevice()
    {
        PtyPair line;
        QVERIFY(line.isValid());
        QProcess scan;
        scan.start(scanBinary,
                   {"--device",
                    line.slavePath(),
                    "--eol",
                    "cr",
                    "--wait-acks",
                    "1",
                    "--timeout",
                    "60",
                    "%END%\xc3\xb1"});
        QVERIFY2(scan.waitForStarted(), qPrintable(scan.errorString()));
        QTRY_COMPARE_WITH_TIMEOUT(line.received(), QByteArray("%END%\xf1\r"), 20000);
        QVERIFY(line.write("ACK\r"));
        QVERIFY(scan.waitForFinished(20000));
        QCOMPARE(scan.exitStatus(), QProcess::NormalExit);
        QCOMPARE(scan.exitCode(), 0);
        const QList<QByteArray> out = scan.readAllStandardOutput().split('\n');
        QCOMPARE(out.value(0), "Scanner device: " + line.slavePath().toLocal8Bit());
        QVERIFY2(out.contains("-> %END%\\xF1\\r"), out.join('|').constData());
        QVERIFY2(out.contains("<- ACK"), out.join('|').constData());
    }

    // The default use: barlink-scan makes the device, the station opens it through the link,
    // labels are typed on standard input; ending the program removes the link.
    void programMakesLinkedPseudoTerminal()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("scanner"));
        QProcess scan;
        scan.start(scanBinary, {"--link", link});
        QVERIFY(scan.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(scan.canReadLine(), 20000);
        const QByteArray first = scan.readLine().trimmed();
        QVERIFY2(first.startsWith("Scanner device: /dev/pts/"), first.constData());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 20000);

        barlink::scanner::SerialScannerPort port;
        port.open(link, QStringLiteral("9600,N,8,1"));
        scan.write("%12PROG.CNC N1 X\n");
        QTRY_COMPARE_WITH_TIMEOUT(port.bytesWaiting(), 16, 20000);
        QCOMPARE(port.readAll(), QByteArray("%12PROG.CNC N1 X"));
        port.write("ACK\r");
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += scan.readAllStandardOutput()).contains("<- ACK"), 20000);

        scan.terminate();
        QVERIFY(scan.waitForFinished(20000));
        QCOMPARE(scan.exitStatus(), QProcess::NormalExit);
        QCOMPARE(scan.exitCode(), 128 + SIGTERM);
        QVERIFY(!QFileInfo(link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestScanTool)
#include "tst_scantool.moc"
