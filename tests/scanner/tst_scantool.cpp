#include "LabelBytes.h"
#include "PtyPair.h"
#include "ScanOptions.h"
#include "ScanSession.h"
#include "VirtualPty.h"
#include "scanner/SerialScannerPort.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace barlink::scan;

Q_DECLARE_METATYPE(barlink::scan::LineEnd)

namespace {
const QString scanBinary = QStringLiteral(BARLINK_SCAN_BINARY);

// Reads from a file descriptor until `count` bytes came or nothing more arrives.
QByteArray readFd(int fd, qsizetype count)
{
    QByteArray bytes;
    char buffer[256];
    while (bytes.size() < count) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}
} // namespace

// The virtual scanner: its command line, how it encodes and shows bytes, its
// pseudo-terminal, its session logic, and the program itself.
class TestScanTool : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commandLine_data();
    void commandLine();
    void labelBytes_data();
    void labelBytes();
    void printableBytes_data();
    void printableBytes();
    void lineSplitter_data();
    void lineSplitter();
    void virtualPtyCarriesBytesBothWays();
    void virtualPtyLink_data();
    void virtualPtyLink();
    void sessionSendsPacedLabelsAndCountsAcks();
    void programSendsToDeviceAndPrintsAnswers();
    void programTimesOutWithoutAck();
    void programMakesLinkedPseudoTerminal();
    void programRemovesLinkOnTerminate();
};

void TestScanTool::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error"); // start of the error text; empty when accepted
    QTest::addColumn<QString>("device");
    QTest::addColumn<LineEnd>("lineEnd");
    QTest::addColumn<int>("paceMs");
    QTest::addColumn<int>("waitAcks");
    QTest::addColumn<bool>("stdinMode");

    const QStringList none;
    QTest::newRow("defaults: pty, stdin")
        << none << QString() << QString() << LineEnd::None << 0 << 0 << true;
    QTest::newRow("labels and options")
        << QStringList{"--eol", "crlf", "--pace", "20", "--wait-acks", "2", "%START%", "%END%"}
        << QString() << QString() << LineEnd::CrLf << 20 << 2 << false;
    QTest::newRow("device with settings")
        << QStringList{"--device", "/dev/ttyUSB0", "--settings", "19200,E,7,2", "--file", "p.txt"}
        << QString() << "/dev/ttyUSB0" << LineEnd::None << 0 << 0 << false;
    QTest::newRow("link and device")
        << QStringList{"--link", "/tmp/s", "--device", "/dev/ttyS0"} << "--link makes" << QString()
        << LineEnd::None << 0 << 0 << true;
    QTest::newRow("empty device") << QStringList{"--device", ""} << "--device needs" << QString()
                                  << LineEnd::None << 0 << 0 << true;
    QTest::newRow("bad settings") << QStringList{"--device", "/dev/x", "--settings", "9600"}
                                  << "--settings" << QString() << LineEnd::None << 0 << 0 << true;
    QTest::newRow("bad eol") << QStringList{"--eol", "tab"} << "--eol" << QString() << LineEnd::None
                             << 0 << 0 << true;
    QTest::newRow("negative gap") << QStringList{"--gap", "-1"} << "--gap" << QString()
                                  << LineEnd::None << 0 << 0 << true;
    QTest::newRow("unknown option") << QStringList{"--speed", "1"} << "Unknown option" << QString()
                                    << LineEnd::None << 0 << 0 << true;
}

void TestScanTool::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    QFETCH(QString, device);
    QFETCH(LineEnd, lineEnd);
    QFETCH(int, paceMs);
    QFETCH(int, waitAcks);
    QFETCH(bool, stdinMode);

    arguments.prepend(QStringLiteral("barlink-scan"));
    const ScanCommandLine result = parseScanCommandLine(arguments);
    QVERIFY(!result.helpRequested);
    if (!error.isEmpty()) {
        QVERIFY(!result.options);
        QVERIFY2(result.error.startsWith(error), qPrintable(result.error));
        return;
    }
    QVERIFY2(result.options, qPrintable(result.error));
    QCOMPARE(result.options->device, device);
    QCOMPARE(result.options->lineEnd, lineEnd);
    QCOMPARE(result.options->paceMs, paceMs);
    QCOMPARE(result.options->waitAcks, waitAcks);
    QCOMPARE(result.options->readsStandardInput(), stdinMode);
}

void TestScanTool::labelBytes_data()
{
    QTest::addColumn<bool>("fromStdin"); // raw bytes of a typed line instead of an argument
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<LineEnd>("lineEnd");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << false << QByteArray("%END%") << LineEnd::None << QByteArray("%END%");
    QTest::newRow("cr") << false << QByteArray("%END%") << LineEnd::Cr << QByteArray("%END%\r");
    QTest::newRow("lf") << false << QByteArray("A") << LineEnd::Lf << QByteArray("A\n");
    QTest::newRow("crlf") << false << QByteArray("A") << LineEnd::CrLf << QByteArray("A\r\n");
    QTest::newRow("compressed marker")
        << false << QByteArray("\303\261AB") << LineEnd::None << QByteArray("\361AB");
    QTest::newRow("outside latin-1")
        << false << QByteArray("\342\202\2541") << LineEnd::None << QByteArray("?1");
    QTest::newRow("typed utf-8") << true << QByteArray("\303\261AB") << LineEnd::Cr
                                 << QByteArray("\361AB\r");
    QTest::newRow("piped latin-1")
        << true << QByteArray("\361AB") << LineEnd::None << QByteArray("\361AB");
}

void TestScanTool::labelBytes()
{
    QFETCH(bool, fromStdin);
    QFETCH(QByteArray, input);
    QFETCH(LineEnd, lineEnd);
    QFETCH(QByteArray, bytes);
    if (fromStdin)
        QCOMPARE(inputLineBytes(input, lineEnd), bytes);
    else
        QCOMPARE(barlink::scan::labelBytes(QString::fromUtf8(input), lineEnd), bytes);
}

void TestScanTool::printableBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ack") << QByteArray("ACK") << "ACK";
    QTest::newRow("line ends") << QByteArray("A\r\n\t") << "A\\r\\n\\t";
    QTest::newRow("backslash") << QByteArray("C:\\X") << "C:\\\\X";
    QTest::newRow("control and high") << QByteArray("\x01\x7f\xf1") << "\\x01\\x7F\\xF1";
}

void TestScanTool::printableBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(barlink::scan::printableBytes(bytes), text);
}

void TestScanTool::lineSplitter_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QByteArray>("pending");
    using L = QList<QByteArray>;
    QTest::newRow("one cr line") << L{"ACK\r"} << L{"ACK"} << QByteArray();
    QTest::newRow("split over chunks")
        << L{"AC", "K\rAC", "K\r"} << L{"ACK", "ACK"} << QByteArray();
    QTest::newRow("crlf is one end") << L{"ACK\r\nNAK\n"} << L{"ACK", "NAK"} << QByteArray();
    QTest::newRow("unfinished") << L{"ACK\rAC"} << L{"ACK"} << QByteArray("AC");
    QTest::newRow("overlong line cut")
        << L{QByteArray(LineSplitter::maxLineLength + 3, 'x')}
        << L{QByteArray(LineSplitter::maxLineLength, 'x')} << QByteArray("xxx");
}

void TestScanTool::lineSplitter()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QByteArray, pending);
    LineSplitter splitter;
    QList<QByteArray> got;
    for (const QByteArray &chunk : chunks)
        got += splitter.feed(chunk);
    QCOMPARE(got, lines);
    QCOMPARE(splitter.takePending(), pending);
}

void TestScanTool::virtualPtyCarriesBytesBothWays()
{
    QString error;
    const auto pty = VirtualPty::create({}, &error);
    QVERIFY2(pty, qPrintable(error));
    const int device = ::open(pty->devicePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    QVERIFY(device >= 0);

    pty->send("%START%\xf1");
    QCOMPARE(readFd(device, 8), QByteArray("%START%\xf1"));

    QSignalSpy received(pty.get(), &VirtualPty::received);
    QCOMPARE(::write(device, "ACK\r", 4), 4);
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.at(0).at(0).toByteArray(), QByteArray("ACK\r"));
    ::close(device);
}

void TestScanTool::virtualPtyLink_data()
{
    QTest::addColumn<QString>("existing"); // what is at the link path before
    QTest::addColumn<bool>("created");
    QTest::newRow("nothing there") << QString() << true;
    QTest::newRow("stale link") << "link" << true;
    QTest::newRow("regular file") << "file" << false;
}

void TestScanTool::virtualPtyLink()
{
    QFETCH(QString, existing);
    QFETCH(bool, created);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("scanner"));
    if (existing == QLatin1String("link"))
        QVERIFY(QFile::link(QStringLiteral("/dev/pts/does-not-exist"), link));
    if (existing == QLatin1String("file")) {
        QFile file(link);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QString error;
    auto pty = VirtualPty::create(link, &error);
    QCOMPARE(bool(pty), created);
    if (!created) {
        QVERIFY2(error.contains(link), qPrintable(error));
        QVERIFY(!QFileInfo(link).isSymLink());
        return;
    }
    QCOMPARE(QFileInfo(link).symLinkTarget(), pty->devicePath());
    pty.reset();
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestScanTool::sessionSendsPacedLabelsAndCountsAcks()
{
    ScanOptions options;
    options.gapMs = 0;
    options.paceMs = 1;
    options.waitAcks = 2;
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
    QCOMPARE(printed, (QStringList{"-> AB", "-> \\xF1"}));

    session.received("ACK\rAC");
    QCOMPARE(finished.size(), 0);
    session.received("K\r");
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
    QCOMPARE(printed.mid(2), (QStringList{"<- ACK", "<- ACK"}));
}

void TestScanTool::programSendsToDeviceAndPrintsAnswers()
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

void TestScanTool::programTimesOutWithoutAck()
{
    PtyPair line;
    QVERIFY(line.isValid());
    QProcess scan;
    scan.start(scanBinary,
               {"--device", line.slavePath(), "--wait-acks", "1", "--timeout", "1", "%END%"});
    QVERIFY(scan.waitForFinished(20000));
    QCOMPARE(scan.exitCode(), 2);
    QVERIFY(scan.readAllStandardError().contains("timed out"));
    QCOMPARE(line.received(), QByteArray("%END%"));
}

// The default use: barlink-scan makes the device, the station opens it through the link,
// labels are typed on standard input.
void TestScanTool::programMakesLinkedPseudoTerminal()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("scanner"));
    QProcess scan;
    scan.start(scanBinary, {"--link", link, "--wait-acks", "1", "--timeout", "60"});
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

    QVERIFY(scan.waitForFinished(20000));
    QCOMPARE(scan.exitCode(), 0);
    QVERIFY(scan.readAllStandardOutput().contains("<- ACK"));
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestScanTool::programRemovesLinkOnTerminate()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("scanner"));
    QProcess scan;
    scan.start(scanBinary, {"--link", link});
    QVERIFY(scan.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 20000);
    scan.terminate();
    QVERIFY(scan.waitForFinished(20000));
    QCOMPARE(scan.exitStatus(), QProcess::NormalExit);
    QCOMPARE(scan.exitCode(), 128 + SIGTERM);
    QVERIFY(!QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(TestScanTool)
#include "tst_scantool.moc"
