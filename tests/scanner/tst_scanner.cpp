// The scanner: the settings text of its port and the decisions taken on port errors, where a
// scan goes, label assembly from the port (quiet measured from the last byte, each route's
// handler and the rests it leaves, failures and the bounded buffer), the port over a real
// pseudo-terminal, and the virtual scanner tool.

#include "Tables.h"
#include "Fakes.h"
#include "LabelBytes.h"
#include "ManualClock.h"
#include "PtyPair.h"
#include "ScanOptions.h"
#include "TestSupport.h"
#include "base/LabelGate.h"
#include "scanner/LineSettings.h"
#include "scanner/PollerDisplay.h"
#include "scanner/PortErrors.h"
#include "scanner/ScanPoller.h"
#include "scanner/ScanRouting.h"
#include "scanner/SerialScannerPort.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <unistd.h>

using namespace barlink;
using namespace barlink::scanner;
using namespace barlink::testing;
using SP = QSerialPort;

Q_DECLARE_METATYPE(std::optional<barlink::scanner::LineSettings>)
Q_DECLARE_METATYPE(QSerialPort::SerialPortError)

namespace {

const QString defaultSettings = QStringLiteral("9600,N,8,1");
const QString scanBinary = QStringLiteral(BARLINK_SCAN_BINARY);

// A poller on a port in memory and on simulated time. What it emits is recorded as "I:label",
// "C:label" or "P:label", and a label it ignores as "X:label"; a compressed label is expanded
// to what follows its marker, up to a "|", and what follows the "|" is its rest.
struct Rig
{
    Rig()
    {
        port.open(QStringLiteral("/dev/pts/1"), defaultSettings);
        QObject::connect(&poller, &ScanPoller::statusChanged, [this] {
            port.received += std::exchange(during, {});
        });
        QObject::connect(&poller, &ScanPoller::labelIgnored, [this](const QString &label) {
            calls << "X:" + label;
        });
        QObject::connect(&poller, &ScanPoller::labelScanned, [this](const QString &label) {
            calls << "I:" + label;
            if (label == failOn)
                poller.abandonLabel();
        });
        QObject::connect(
            &poller, &ScanPoller::compressedLabelScanned, [this](const QString &label) {
                calls << "C:" + label;
                if (const QString expanded = label.section(u'|', 0, 0).mid(1); !expanded.isEmpty())
                    poller.takeExpansion(expanded, label.section(u'|', 1));
            });
        QObject::connect(&poller, &ScanPoller::programLabelScanned, [this](const QString &label) {
            calls << "P:" + label;
        });
        showPollerOn(poller, display);
    }

    // Each entry is what arrives before one tick; "" is a quiet tick, "<busy>" one while a label
    // is being handled, "<closed>" one after the port was closed. "<end=SUFFIX>" sets the label
    // end (a compressed label is whole once it holds "|"); "<during=BYTES>": bytes that arrive
    // while the next label is read out; "<fail=LABEL>": the handling of that label fails.
    void run(const QStringList &ticks)
    {
        for (const QString &piece : ticks) {
            std::optional<base::LabelGate::Hold> busy;
            if (piece == u"<busy>")
                busy.emplace(gate);
            else if (piece == u"<closed>")
                port.close();
            else if (piece.startsWith(u"<end="))
                poller.setLabelEnd(suffix = piece.mid(5).chopped(1),
                                   [](QStringView label) { return label.contains(u'|'); });
            else if (piece.startsWith(u"<during="))
                during = piece.mid(8).chopped(1).toLatin1();
            else if (piece.startsWith(u"<fail="))
                failOn = piece.mid(6).chopped(1);
            else
                port.received += piece.toLatin1();
            poller.tick();
        }
    }

    QStringList calls;
    QString failOn, suffix;
    QByteArray during;
    FakeScannerPort port;
    FakeDisplay display;
    base::LabelGate gate;
    base::ManualClock clock;
    ScanPoller poller{port, gate, nullptr, clock};
};

} // namespace

class tst_Scanner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        columns<QString, std::optional<LineSettings>>({"text", "expected"});
        using L = LineSettings;
        const auto refuse = [](const char *name, const char *text) {
            QTest::newRow(name) << QString::fromLatin1(text) << std::optional<L>();
        };
        // clang-format off
        QTest::newRow("even 7 2")               << "19200,E,7,2"  << std::optional(L{19200, SP::EvenParity, SP::Data7, SP::TwoStop});
        QTest::newRow("odd")                    << "300,O,8,1"    << std::optional(L{300, SP::OddParity, SP::Data8, SP::OneStop});
        QTest::newRow("mark 5 bits 1.5 stop")   << "110,M,5,1.5"  << std::optional(L{110, SP::MarkParity, SP::Data5, SP::OneAndHalfStop});
        QTest::newRow("space 6 bits")           << "1200,S,6,1"   << std::optional(L{1200, SP::SpaceParity, SP::Data6, SP::OneStop});
        QTest::newRow("lower-case parity")      << "9600,e,7,1"   << std::optional(L{9600, SP::EvenParity, SP::Data7, SP::OneStop});
        QTest::newRow("rate without an option") << "14400,N,8,1"  << std::optional(L{14400, SP::NoParity, SP::Data8, SP::OneStop});
        QTest::newRow("blanks around fields")   << " 57600 , N , 8 , 1 " << std::optional(L{57600, SP::NoParity, SP::Data8, SP::OneStop});
        QTest::newRow("largest rate")           << "2147483647,N,8,1" << std::optional(L{2147483647, SP::NoParity, SP::Data8, SP::OneStop});
        refuse("three fields", "9600,N,8");     refuse("zero rate", "0,N,8,1");
        refuse("signed rate", "+9600,N,8,1");   refuse("rate too large", "2147483648,N,8,1");
        refuse("parity word", "9600,None,8,1"); refuse("4 data bits", "9600,N,4,1");
        refuse("9 data bits", "9600,N,9,1");
        refuse("3 stop bits", "9600,N,8,3");    refuse("five fields", "9600,N,8,1,0");
        // clang-format on
    }
    void parse()
    {
        QVERIFY(parseLineSettings(fetch<QString>("text"))
                == fetch<std::optional<LineSettings>>("expected"));
    }

    void openErrorMapping_data()
    {
        columns<QSerialPort::SerialPortError, QString, int, QString>(
            {"error", "systemText", "number", "description"});
        // clang-format off
        QTest::newRow("missing device")   << SP::DeviceNotFoundError << "No such file or directory" << 8002 << "Invalid port number: /dev/ttyS7 (No such file or directory)";
        QTest::newRow("busy")             << SP::PermissionError << "Permission denied" << 8005 << "Port already open: another program uses the scanner on /dev/ttyS7";
        QTest::newRow("open twice")       << SP::OpenError << QString() << 8005 << "Port already open: /dev/ttyS7";
        QTest::newRow("settings refused") << SP::UnsupportedOperationError << "Invalid argument" << 8015 << "Could not set comm state: /dev/ttyS7 (Invalid argument)";
        QTest::newRow("other")            << SP::UnknownError << "Input/output error" << 8010 << "The hardware is not available: /dev/ttyS7 (Input/output error)";
        // clang-format on
    }
    void openErrorMapping()
    {
        const base::Error result = openError(fetch<SP::SerialPortError>("error"),
                                             QStringLiteral("/dev/ttyS7"),
                                             fetch<QString>("systemText"));
        QTEST(result.number(), "number");
        QTEST(result.description(), "description");
    }
    // The route of a scan buffer, written "kind:label|rest", the kind being O ordinary,
    // P program, C compressed, X ignored, W pending or - nothing, "+N" after it when "%N%"
    // comes first and "?" when the label came without its label end, and "||next" when
    // labels follow the label end. With a suffix the port is quiet only where the row says
    // so; a compressed label is whole here once it holds "END".
    void routeScan_data()
    {
        columns<QString, QString, bool, QString>({"buffer", "suffix", "quiet", "route"});
        const auto row = [](const char *name, const QString &buffer, const QString &route,
                            const char *suffix = "", bool quiet = true) {
            QTest::newRow(name) << buffer << QString::fromLatin1(suffix) << quiet << route;
        };
        const QString f1(QChar(0xF1));
        // clang-format off
        row("every line end at the end goes",    "PANEL\r\n\r\n",         "O:PANEL|");
        row("LF CR goes too",                    "PANEL\n\r",             "O:PANEL|");
        row("a line end inside ends the label",  "%11P N\r%11P N\r",       "O:%11P N|%11P N\r");
        row("line ends before the label go",     "\n\r%11P N",            "O:%11P N|");
        row("line end after a closing %",        "%START%\r\n%STOP%\r\n", "O:%START%|%STOP%\r\n");
        row("a blank after it stays",            "%START%\r\n \r\n",      "O:%START%| \r\n");
        row("line end alone: ignored",           "\r\n",                  "X:\r\n|");
        row("blanks and controls: ignored",      " \t\x1d\r\n",           "X: \t\x1d\r\n|");
        row("empty buffer: nothing",             "",                      "-:|");
        row("line ends inside a program kept",   "P^X1!G1\r\nG2\r\n",     "P:P^X1!G1\r\nG2|");
        row("apostrophe text without line end",  "'ABC\r\n$DEF",          "O+N:ABC|");
        row("apostrophe, line end only",         "'\r\n$",                "X:\r\n|");
        row("apostrophe and dollar only",        "'$ABC",                 "-:|");
        row("compressed whole, line end too",    f1 + "Z\r",             "C:" + f1 + "Z\r|");
        row("marker after the start: ordinary",  "A" + f1,                "O:A" + f1 + "|");
        row("a % past the first ends it",        "AB%CD",                 "O:AB%|CD");
        row("a leading % does not end it",       "%ST",                   "O:%ST|");
        row("exclamation becomes a blank",       "%22600!400!18",         "O:%22600 400 18|");
        row("program label whole, ! and % kept", "A^B!C%D",               "P:A^B!C%D|");
        row("apostrophe without dollar",         "'ABC",                  "O:'ABC|");
        row("apostrophe, text split at %",       "'AB%CD$E",              "O+N:AB%|CD");
        row("apostrophe then program label",     "'A^B$x",                "P+N:A^B|");
        row("apostrophe then compressed",        "'" + f1 + "Z$x",        "C+N:" + f1 + "Z|");
        row("suffix ends it, the next stays", "PANEL\rNEXT", "O:PANEL|||NEXT", "\r", false);
        row("half a two-byte suffix: pending", "PANEL\rX", "W:|", "\r\n", false);
        row("CR LF where the suffix is CR", "PANEL\r\nNEXT", "O:PANEL|||NEXT", "\r", false);
        row("split at %: the rest has ended", "%START%%STOP%\x03X", "O:%START%|%STOP%\x03||X", "\x03", false);
        row("suffix alone: ignored", "\rNEXT", "X:\r|||NEXT", "\r", false);
        row("an LF left before the next label", "\n%11P N\r", "O:%11P N|", "\r", false);
        row("program barcode: not cut", "P^X1!G1\rG2\r", "W:|", "\r", false);
        row("compressed, suffix in its data", f1 + "Z\rQ", "W:|", "\r", false);
        row("compressed whole: all of it", f1 + "Z\rEND\rX", "C:" + f1 + "Z\rEND\rX|", "\r", false);
        row("quiet: the suffix goes", "P^X1!G1\x03G2\x03", "P:P^X1!G1\x03G2|", "\x03", true);
        row("quiet without the suffix", "PANEL\r\n", "O?:PANEL|", "\x03", true);
        // clang-format on
    }
    void routeScan()
    {
        const LabelFrame frame{fetch<QString>("suffix"), fetch<bool>("quiet"), [](QStringView l) {
                                   return l.contains(u"END");
                               }};
        const ScanRoute route = scanner::routeScan(fetch<QString>("buffer"), frame);
        const char *kinds = "-WXCPO";
        QCOMPARE(QString(QLatin1Char(kinds[int(route.kind)])) + (route.fieldNFirst ? "+N" : "")
                     + (route.withoutLabelEnd ? "?" : "") + ':' + route.label + '|' + route.rest
                     + (route.next.isEmpty() ? QString() : "||" + route.next),
                 fetch<QString>("route"));
    }

    // What the poller does with each route: "I:" ordinary labels, "P:" program labels, "C:"
    // compressed ones (an apostrophe rule's "%N%" comes first), a rest handled two quiet ticks
    // after the label, nothing while a label is in hand or the port is closed; left: what waits
    // in the buffer. A label whose handling fails is done with; what followed it stays, but the
    // text a failing "%N%" was for goes with it. With a label end, each label is handled as soon
    // as its end has been read, what arrives meanwhile is no longer thrown away, and "told" is
    // the status line saying that labels come without their end.
    void routesLabels_data()
    {
        columns<QStringList, QStringList, QString>({"ticks", "calls", "left"});
        using L = QStringList;
        const QString f1(QChar(0xF1));
        // clang-format off
        QTest::newRow("second command two ticks later")    << L{"%START%%STOP%", "", "", "", ""} << L{"I:%START%", "I:%STOP%"} << "";
        QTest::newRow("apostrophe: %N% first")             << L{"'ABC$DEF", "", ""} << L{"I:%N%", "I:ABC"} << "";
        QTest::newRow("compressed: rests in order")        << L{f1 + "%START%X|R", "", ""} << L{"C:" + f1 + "%START%X|R", "I:%START%"} << "XR";
        QTest::newRow("apostrophe then compressed")        << L{"'" + f1 + "Z$x", "", ""} << L{"I:%N%", "C:" + f1 + "Z", "I:Z"} << "";
        QTest::newRow("expanded: no apostrophe rule")      << L{f1 + "'AB$C%D", "", ""} << L{"C:" + f1 + "'AB$C%D", "I:'AB$C%"} << "D";
        QTest::newRow("not expanded: the rest goes too")   << L{f1 + "|%STOP%", "", "", "", ""} << L{"C:" + f1 + "|%STOP%"} << "";
        QTest::newRow("a line end alone is ignored")       << L{"\r\n", "", ""} << L{"X:\r\n"} << "";
        // A rest that ended at a line end stays a label of its own when the next scan joins it.
        QTest::newRow("double trigger, then the next scan") << L{"A\rB\r", "", "", "C", "", "", "", ""} << L{"I:A", "I:B", "I:C"} << "";
        QTest::newRow("busy ticks are no quiet ticks")     << L{"%START%", "<busy>", "<busy>", "", "<busy>"} << L{} << "%START%";
        QTest::newRow("then two quiet ticks end it")       << L{"%START%", "<busy>", "<busy>", "", ""} << L{"I:%START%"} << "";
        QTest::newRow("closed port: nothing handled")      << L{"%START%", "", "<closed>", "<closed>"} << L{} << "%START%";
        QTest::newRow("failed label: the rest is kept")    << L{"<fail=%START%>", "%START%%STOP%", "", "", "", ""} << L{"I:%START%", "I:%STOP%"} << "";
        QTest::newRow("failing %N% abandons the label")    << L{"<fail=%N%>", "'ABC$DEF", "", "", "", ""} << L{"I:%N%"} << "";
        QTest::newRow("label end: arriving as one is read") << L{"<end=\r>", "<during=A2\r>", "A1\r"} << L{"I:A1", "I:A2"} << "";
        QTest::newRow("label end: compressed whole, next") << L{"<end=\r>", f1 + "Z\r", "Q|\rA2\r"} << L{"C:" + f1 + "Z\rQ|\rA2\r", "I:Z\rQ", "I:A2"} << "";
        QTest::newRow("label end: more line ends after it go") << L{"<end=\r>", "A1\r\n\r\nA2\r"} << L{"I:A1", "I:A2"} << "";
        QTest::newRow("label end missing: quiet, told once") << L{"<end=\r>", "A1", "", "", "A2", "", ""} << L{"I:A1", "I:A2", "told"} << "";
        // clang-format on
    }
    void routesLabels()
    {
        Rig rig;
        rig.run(fetch<QStringList>("ticks"));
        const QString notice = QStringLiteral("Labels are arriving without the LabelEnd suffix \\r:");
        QTEST(rig.calls + QStringList(rig.display.statusHistory.filter(notice).size(), "told"),
              "calls");
        QTEST(rig.poller.scanBuffer(), "left");
    }

    // A CR LF scanner whose LabelEnd is CR: the LF comes in a read of its own, at once, a few
    // milliseconds later, after one or two quiet intervals, or with the next label. It belongs
    // to no label: the next label is taken as it is, and nothing is ignored.
    void leftoverLineEndDropped_data()
    {
        columns<int>({"lfAtMs"});
        QTest::newRow("in the same read") << 0;
        QTest::newRow("2 ms later") << 2;
        QTest::newRow("with the next label") << 1000;
    }
    void leftoverLineEndDropped()
    {
        const int lfAt = fetch<int>("lfAtMs");
        Rig rig;
        rig.run({"<end=\r>"});
        rig.poller.start(100);
        rig.port.arrive(lfAt == 0 ? "A1\r\n" : "A1\r");
        QCOMPARE(rig.calls, QStringList{"I:A1"});
        if (lfAt != 0 && lfAt < 1000) {
            rig.clock.advance(lfAt);
            rig.port.arrive("\n");
        }
        rig.clock.advance(1000 - rig.clock.now());
        rig.port.arrive(lfAt == 1000 ? "\nA2\r" : "A2\r");
        rig.clock.advance(1000);
        QCOMPARE(rig.calls, (QStringList{"I:A1", "I:A2"}));
        QCOMPARE(rig.poller.scanBuffer(), QString());
    }

    // When a label is handled, in simulated time. Bursts ("ms:bytes") are read as they arrive,
    // each read shown by its first character; the label is handled once the port has been quiet
    // for two intervals after its last byte: not before, and not as late as three. A poller with
    // nothing pending does not tick.
    void handledAfterTwoQuietIntervals_data()
    {
        columns<int, QStringList, int>({"interval", "bursts", "handledAt"});
        // clang-format off
        QTest::newRow("one burst")                       << 100 << QStringList{"0:%START%"} << 200;
        QTest::newRow("rest just before the second")     << 100 << QStringList{"5:%ST", "204:ART%"} << 404;
        QTest::newRow("bytes under two intervals apart") << 100 << QStringList{"0:%S", "150:T", "290:A", "420:RT%"} << 620;
        QTest::newRow("interval below 1 ms: 1 ms")       << 0   << QStringList{"0:%START%"} << 2;
        // clang-format on
    }
    void handledAfterTwoQuietIntervals()
    {
        Rig rig;
        rig.poller.start(fetch<int>("interval"));
        QVERIFY(!rig.poller.isTicking());
        QMap<qint64, QByteArray> bursts;
        for (const QString &burst : fetch<QStringList>("bursts"))
            bursts.insert(burst.section(u':', 0, 0).toLongLong(),
                          burst.section(u':', 1).toLatin1());
        qint64 handledAt = -1;
        for (qint64 ms = 0; ms <= 2000 && handledAt < 0; ++ms) {
            rig.clock.advance(ms - rig.clock.now());
            if (!rig.calls.isEmpty())
                handledAt = ms;
            else if (bursts.contains(ms))
                rig.port.arrive(bursts[ms]);
            if (ms == bursts.firstKey())
                QCOMPARE(rig.display.activityCaption, QStringLiteral("%"));
        }
        QTEST(int(handledAt), "handledAt");
        QCOMPARE(rig.calls, QStringList{"I:%START%"});
        QCOMPARE(rig.display.lastScan, QStringLiteral(" Last Scan:    %START%"));
        QVERIFY(!rig.display.activityVisible);
        QCOMPARE(rig.display.status(), QStringLiteral("Reading Barcode-Label.%START%"));
        QVERIFY(!rig.poller.isTicking());
    }

    void endlessInputIsBounded()
    {
        Rig rig;
        const QString chunk(64 * 1024, QLatin1Char('A'));
        for (int i = 0; i < 10; ++i)
            rig.run({chunk});
        QVERIFY(rig.poller.scanBuffer().size() <= ScanPoller::MaxScanBuffer);
        rig.run({"", ""});
        QVERIFY(rig.calls.isEmpty());
        QCOMPARE(rig.display.status(), QStringLiteral("Scanner input too long: 655360 characters "
                                                      "without a pause were discarded."));
        QVERIFY(rig.poller.scanBuffer().isEmpty());
        rig.run({"%START%", "", ""}); // the next label is read normally
        QCOMPARE(rig.calls, QStringList{"I:%START%"});
    }

    // The port over a real pseudo-terminal: what arrives is read as it came, discarded input
    // is gone, and what the port writes reaches the device.
    void portBytesBothWays()
    {
        NEED_PTY(pty);
        SerialScannerPort port;
        port.open(pty.slavePath(), defaultSettings);
        QVERIFY(port.isOpen());
        QVERIFY(pty.write("%START%"));
        QTRY_COMPARE(port.bytesWaiting(), 7);
        port.discardInput();
        QCOMPARE(port.bytesWaiting(), 0);
        QVERIFY(pty.write("%12PROG.CNC N1 X\xf1\x01"));
        QTRY_COMPARE(port.bytesWaiting(), 18);
        QCOMPARE(port.readAll(), QByteArray("%12PROG.CNC N1 X\xf1\x01"));
        QCOMPARE(port.bytesWaiting(), 0);
        port.write("ACK\r");
        port.write("ACK\r");
        QTRY_COMPARE(pty.received(), QByteArray("ACK\rACK\r"));

        port.close();
        QVERIFY(!port.isOpen());
        QCOMPARE(port.bytesWaiting(), 0);
        QCOMPARE(port.readAll(), QByteArray());
        port.discardInput();
        QString description;
        QCOMPARE(errorNumber([&] { port.write("ACK\r"); }, &description), 8012);
        QCOMPARE(description, QStringLiteral("The device is not open"));
    }

    // However fast the device sends, the port holds at most ReadBufferBytes between reads.
    void portReadBufferIsBounded()
    {
        NEED_PTY(pty);
        SerialScannerPort port;
        port.open(pty.slavePath(), defaultSettings);
        const QByteArray chunk(4096, 'A');
        qint64 sent = 0;
        for (int i = 0; i < 1000 && sent < 4 * SerialScannerPort::ReadBufferBytes; ++i) {
            sent += std::max<qint64>(0, ::write(pty.masterFd(), chunk.data(), chunk.size()));
            QCoreApplication::processEvents();
        }
        QVERIFY(port.bytesWaiting() > 0);
        QVERIFY(port.bytesWaiting() <= SerialScannerPort::ReadBufferBytes);
    }

    // A pseudo-terminal keeps the baud rate and stop bits it is given; it always reports
    // 8 data bits without parity, so those cannot be seen here. 0: no standard speed.
    void portAppliesLineSettings_data()
    {
        columns<QString, speed_t, bool>({"settings", "speed", "twoStop"});
        QTest::newRow("19200,E,7,2") << "19200,E,7,2" << speed_t(B19200) << true;
        QTest::newRow("14400,N,8,1") << "14400,N,8,1" << speed_t(0) << false;
    }
    void portAppliesLineSettings()
    {
        NEED_PTY(pty);
        const speed_t speed = fetch<speed_t>("speed");
        SerialScannerPort port;
        port.open(pty.slavePath(), fetch<QString>("settings"));
        QVERIFY(port.isOpen());
        termios mode{};
        QCOMPARE(::tcgetattr(pty.slaveFd(), &mode), 0);
        if (speed != 0)
            QCOMPARE(::cfgetospeed(&mode), speed);
        QTEST((mode.c_cflag & CSTOPB) != 0, "twoStop");
        QCOMPARE(mode.c_lflag & ECHO, tcflag_t(0));
    }

    // denied: the user may not use the device (the check before opening says so).
    void portOpenFailures_data()
    {
        columns<QString, QString, bool, int, QString>(
            {"device", "settings", "denied", "number", "descriptionStart"});
        // clang-format off
        QTest::newRow("settings before device") << QString() << "fast"     << false << 380  << "Invalid property value";
        QTest::newRow("no device")          << QString()   << "9600,N,8,1" << false << 8002 << "Invalid port number";
        QTest::newRow("device not allowed") << "pty" << "9600,N,8,1" << true << 70 << "Permission denied: ";
        // clang-format on
    }
    void portOpenFailures()
    {
        NEED_PTY(pty);
        const bool denied = fetch<bool>("denied");
        QString device = fetch<QString>("device");
        if (device == QLatin1String("pty"))
            device = pty.slavePath();
        SerialScannerPort port;
        if (denied)
            port.setAccessCheck([](const QString &) { return EACCES; });
        QString description;
        QTEST(errorNumber([&] { port.open(device, fetch<QString>("settings")); }, &description),
              "number");
        QVERIFY2(description.startsWith(fetch<QString>("descriptionStart")),
                 qPrintable(description));
        // Not allowed is not "in use": the operator is told what the user needs.
        QCOMPARE(description.contains(QStringLiteral("dialout group")), denied);
        QVERIFY(!port.isOpen());
    }

    // A device that one port has open is busy for a second, by whichever name the second knows
    // it (its own, a link to it), and so is a device another program has locked, root or not;
    // the second opens it once the first lets go (the first port by opening another device).
    void portOpenDeviceIsBusyUntilReleased_data()
    {
        columns<QString, bool>({"secondName", "otherProgram"});
        QTest::newRow("same name") << "device" << false;
        QTest::newRow("a link to the device") << "link" << false;
        QTest::newRow("another program's lock") << "device" << true;
    }
    void portOpenDeviceIsBusyUntilReleased()
    {
        NEED_PTY(pty);
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("scanner"));
        QVERIFY(QFile::link(pty.slavePath(), link));
        const QString name = fetch<QString>("secondName") == u"link" ? link : pty.slavePath();
        SerialScannerPort first;
        int otherProgram = -1;
        if (fetch<bool>("otherProgram")) {
            otherProgram
                = ::open(QFile::encodeName(pty.slavePath()).constData(), O_RDWR | O_NOCTTY);
            QCOMPARE(::flock(otherProgram, LOCK_EX | LOCK_NB), 0);
        } else {
            first.open(pty.slavePath(), defaultSettings);
        }
        SerialScannerPort second;
        const auto openSecond = [&] { second.open(name, defaultSettings); };
        QString description;
        QCOMPARE(errorNumber(openSecond, &description), 8005);
        QCOMPARE(description, busyError(name).description());
        QVERIFY(!second.isOpen());

        if (otherProgram >= 0) {
            ::close(otherProgram);
        } else {
            PtyPair other;
            QVERIFY(other.isValid());
            first.open(other.slavePath(), defaultSettings);
            QVERIFY(other.write("B"));
            QTRY_COMPARE(first.bytesWaiting(), 1);
            QCOMPARE(first.readAll(), QByteArray("B"));
        }
        QCOMPARE(errorNumber(openSecond), 0);
        QVERIFY(pty.write("A"));
        QTRY_COMPARE(second.bytesWaiting(), 1);
    }

    // A line typed (UTF-8) or piped (Latin-1) into the scanner tool.
    void inputLineBytes()
    {
        QCOMPARE(scan::inputLineBytes("\303\261AB", "\r"), QByteArray("\361AB\r"));
        QCOMPARE(scan::inputLineBytes("\361AB", {}), QByteArray("\361AB"));
    }
    // With --device: labels from the command line go to the device, answers are printed.
    void programOnADevice()
    {
        NEED_PTY(line);
        QProcess scan;
        scan.start(scanBinary,
                   QString::fromUtf8(
                       "--device %1 --suffix \\x03\\r --wait-acks 1 --timeout 60 %END%\xc3\xb1")
                       .arg(line.slavePath())
                       .split(u' '));
        QVERIFY2(scan.waitForStarted(), qPrintable(scan.errorString()));
        QTRY_COMPARE_WITH_TIMEOUT(line.received(), QByteArray("%END%\xf1\x03\r"), 20000);
        QVERIFY(line.write("ACK\r"));
        QVERIFY(scan.waitForFinished(20000));
        QCOMPARE(scan.exitStatus(), QProcess::NormalExit);
        QCOMPARE(scan.exitCode(), 0);
        const QList<QByteArray> out = scan.readAllStandardOutput().split('\n');
        QCOMPARE(out.value(0), "Scanner device: " + line.slavePath().toLocal8Bit());
        QVERIFY2(out.contains("-> %END%\\xF1\\x03\\r"), out.join('|').constData());
        QVERIFY2(out.contains("<- ACK"), out.join('|').constData());
    }
};

QTEST_GUILESS_MAIN(tst_Scanner)
#include "tst_scanner.moc"
