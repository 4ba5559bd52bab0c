#include "LabelBytes.h"
#include "PtyPair.h"
#include "ScanOptions.h"
#include "VirtualPty.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink::scan;

Q_DECLARE_METATYPE(barlink::scan::LineEnd)

namespace {

const QString scanBinary = QStringLiteral(BARLINK_SCAN_BINARY);

} // namespace

// The virtual scanner: how it encodes bytes and splits answers, its pseudo-terminal, and the
// program on a device. Its link mode, file labels and ACK counting carry tst_labelroundtrip.
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
        QTest::newRow("lf")                << false << B("A")              << LineEnd::Lf   << B("A\n");
        QTest::newRow("crlf")              << false << B("A")              << LineEnd::CrLf << B("A\r\n");
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

    void lineSplitter_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<QByteArray>("pending");
        using L = QList<QByteArray>;
        const qsizetype max = LineSplitter::maxLineLength;
        // clang-format off
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
};

QTEST_GUILESS_MAIN(TestScanTool)
#include "tst_scantool.moc"
