// Labels made by barlink-label, sent by the virtual scanner barlink-scan over a
// pseudo-terminal to a running station: the program file saved and the rows added must be
// what the label says.

#include "StationRig.h"

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

const QString labelBinary = QStringLiteral(BARLINK_LABEL_BINARY);
const QString scanBinary = QStringLiteral(BARLINK_SCAN_BINARY);
// How long anything may take to show up; generous, as the machine is shared.
constexpr int Patience = 60000;

const QByteArray Iso = "G71 X900 Y700 Z20\r\n(LEFT DOOR)\r\nG0 X1 Y1\r\nM30\r\n";

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

class tst_LabelRoundTrip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("program"); // the program file given to barlink-label
        QTest::addColumn<QStringList>("labels"); // barlink-label arguments, one label each
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("saved");  // program file expected equal to `program`
        QTest::addColumn<int>("acks");       // the sender ends after so many "ACK"s; 0: the test
                                             // ends it
        QTest::addColumn<QString>("status"); // the start of a status line text seen on the way
        // clang-format off
        const auto add = [](const char *name, const QByteArray &program, const QStringList &labels,
                            const QString &rows, const QString &saved = {}, int acks = 0,
                            const QString &status = {}) {
            QTest::newRow(name) << program << labels << rows.split('|') << saved << acks << status;
        };
        add("program barcode", Iso, {"program PROG1 @program -x 800 -y 500 -z 18"},
            "PROG1 f3 800x500x18 r1 c:LEFT DOOR", "PROG1");
        add("with the scanner prefix, compressed", Iso,
            {"program PROG3 @program --field N1 --prefix209 1234567 --compress"},
            "PROG3 f7 900x700x20 r1 c:LEFT DOOR", "PROG3");
        // Both expansion routes and their threshold are in tst_compressedlabel; here the
        // longest label crosses the pseudo-terminal.
        add("compressed, the longest", programOfLabelLength("BIG", 32767),
            {"program BIG @program -x 800 -y 500 -z 18 --compress"}, "BIG f3 800x500x18 r1",
            "BIG");
        add("compressed segment label goes to the dispatcher", {},
            {"segment program DOOR.CNC N --repeat --compress"}, "DOOR.CNC f1 xx r999", {}, 1);
        add("compressed list label", {}, {"list PANEL1 --compress"}, "A.CNC f xx r|B.CNC f xx r");
        add("damaged compressed label, then the next one", Iso,
            {"program LOST @program --compress @damage", "segment program NEXT.CNC N --repeat"},
            "NEXT.CNC f1 xx r999", {}, 1,
            "Compressed label not read: its compressed data does not expand");
        // clang-format on
    }

    void roundTrip()
    {
        QFETCH(QByteArray, program);
        QFETCH(QStringList, labels);
        QFETCH(QString, saved);
        QFETCH(int, acks);

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
        QStringList scanArguments{"--link",
                                  link,
                                  "--delay",
                                  "200",
                                  "--timeout",
                                  "600",
                                  "--gap",
                                  labels.size() > 1 ? "3000" : "600000",
                                  "--wait-acks",
                                  QString::number(acks)};
        for (qsizetype i = 0; i < labels.size(); ++i) {
            QStringList arguments = labels[i].split(QLatin1Char(' '));
            const bool damage = arguments.removeAll(QStringLiteral("@damage")) > 0;
            arguments.replaceInStrings(QStringLiteral("@program"), root + "/program.cnc");
            const QString text = root + QStringLiteral("/label%1.bin").arg(i);
            QProcess encoder;
            encoder.start(labelBinary, arguments + QStringList{"--text", text});
            QVERIFY(encoder.waitForFinished(Patience));
            QVERIFY2(encoder.exitCode() == 0, encoder.readAllStandardError().constData());
            if (damage) {
                QByteArray bytes = readBytes(text);
                bytes[bytes.size() / 2] = bytes[bytes.size() / 2] == 'A' ? 'B' : 'A';
                QVERIFY(writeBytes(text, bytes));
            }
            scanArguments << QStringLiteral("--file") << text;
        }
        QProcess scan;
        scan.start(scanBinary, scanArguments);
        QVERIFY2(scan.waitForStarted(), qPrintable(scan.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), Patience);

        PtyStation rig(root);
        QVERIFY2(rig.start(), qPrintable(rig.prompter.texts().join('|')));
        QFETCH(QStringList, rows);
        QTRY_COMPARE_WITH_TIMEOUT(rig.rows().size(), rows.size(), Patience);
        QCOMPARE(rig.rows(), rows);
        if (!saved.isEmpty())
            QCOMPARE(readBytes(root + QStringLiteral("/gcode/") + saved), program);
        QFETCH(QString, status);
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

QTEST_GUILESS_MAIN(tst_LabelRoundTrip)
#include "tst_labelroundtrip.moc"
