// Labels made by barlink-label, sent by the virtual scanner barlink-scan over a
// pseudo-terminal to a running station: the program file saved and the rows added must be
// what the label says.

#include "Fakes.h"
#include "app/Station.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListStore.h"
#include "scanner/SerialScannerPort.h"

#include <QDir>
#include <QFile>
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

const QByteArray SelectionKeys = "FieldCode_FFS=S\r\nFieldFlag_FFS= 1\r\nFieldCode_FFA=A\r\n"
                                 "FieldFlag_FFA= 1\r\nFieldCode_SFN=N\r\nFieldCode_SFM=M\r\n"
                                 "HalfLimitX=1000\r\nHalfLimitY=600\r\n";
const QByteArray MirrorKeys = "AutoSelSetting=1\r\nPNameMSel=0\r\nPNameNandMText=MIR\r\n"
                              "PNameNandMLR=-1\r\nPNameNandMCPos=1\r\n";

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

QString rowField(const QString &row, int number)
{
    const QString key = QLatin1Char('#') + QString::number(number) + QLatin1Char('=');
    const qsizetype at = row.indexOf(key);
    if (at < 0)
        return {};
    const qsizetype start = at + key.size();
    return row.mid(start, row.indexOf(QLatin1Char(';'), start) - start);
}

QString summary(const QString &row)
{
    return QStringLiteral("%1 f%2 %3x%4x%5 r%6 c:%7")
        .arg(rowField(row, 161),
             rowField(row, 171),
             rowField(row, 168),
             rowField(row, 169),
             rowField(row, 170),
             rowField(row, 164),
             rowField(row, 162));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

struct Rig
{
    explicit Rig(const QString &root)
        : store(std::make_shared<listmanager::ListStore>(root + QStringLiteral("/data")))
        , provider(store)
        , station({display, prompter, pacer, port, provider},
                  root + QStringLiteral("/program"),
                  root + QStringLiteral("/windows"))
    {
        station.setInstanceLockDir(root + QStringLiteral("/run"));
        station.setListWait(3, 1);
    }

    QStringList rows() const
    {
        QStringList list;
        for (const QString &row : store->rows())
            list << summary(row);
        return list;
    }

    FakeDisplay display;
    ScriptedPrompter prompter;
    InstantPacer pacer;
    scanner::SerialScannerPort port;
    std::shared_ptr<listmanager::ListStore> store;
    listmanager::EmbeddedListManagerProvider provider;
    app::Station station;
};

} // namespace

class tst_LabelRoundTrip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QByteArray>("program");        // the program file given to barlink-label
        QTest::addColumn<QList<QStringList>>("labels"); // barlink-label arguments, one label each
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("saved");  // program file expected equal to `program`
        QTest::addColumn<QString>("status"); // the start of a status line text seen on the way
        QTest::addColumn<int>("acks");       // the sender ends after so many "ACK"s; 0: the test
                                             // ends it

        const QByteArray none;
        const QString ready = QStringLiteral("Ready.");
        const auto sized = [](int length) {
            const QString name = QStringLiteral("BIG%1").arg(length);
            return std::pair{programOfLabelLength(name, length),
                             QStringList{"program",
                                         name,
                                         "@program",
                                         "-x",
                                         "800",
                                         "-y",
                                         "500",
                                         "-z",
                                         "18",
                                         "--compress"}};
        };

        QTest::newRow("program barcode")
            << none << Iso
            << QList<QStringList>{{"program",
                                   "PROG1",
                                   "@program",
                                   "-x",
                                   "800",
                                   "-y",
                                   "500",
                                   "-z",
                                   "18"}}
            << QStringList{"PROG1 f3 800x500x18 r1 c:"} << "PROG1" << ready << 0;
        QTest::newRow("no header fields")
            << none << Iso << QList<QStringList>{{"program", "PLAIN", "@program"}}
            << QStringList{"PLAIN f1 900x700x20 r1 c:LEFT DOOR"} << "PLAIN" << ready << 0;
        QTest::newRow("with the scanner prefix, compressed")
            << none << Iso
            << QList<QStringList>{{"program",
                                   "PROG3",
                                   "@program",
                                   "--field",
                                   "N1",
                                   "--prefix209",
                                   "1234567",
                                   "--compress"}}
            << QStringList{"PROG3 f7 900x700x20 r1 c:LEFT DOOR"} << "PROG3" << ready << 0;
        QTest::newRow("mirror piece, two rows")
            << MirrorKeys << Iso
            << QList<QStringList>{{"program",
                                   "MIRDOOR",
                                   "@program",
                                   "-x",
                                   "500",
                                   "-y",
                                   "300",
                                   "-z",
                                   "18"}}
            << QStringList{"MIRDOOR f3 500x300x18 r1 c:", "MIRDOOR f4 500x300x18 r1 c:"}
            << "MIRDOOR" << ready << 0;
        for (int length : {100, 23072, 23073, 32767}) {
            const auto [program, arguments] = sized(length);
            QTest::addRow("compressed, %d characters", length)
                << none << program << QList<QStringList>{arguments}
                << QStringList{QStringLiteral("BIG%1 f3 800x500x18 r1 c:").arg(length)}
                << QStringLiteral("BIG%1").arg(length) << ready << 0;
        }
        QTest::newRow("compressed segment label goes to the dispatcher")
            << none << none
            << QList<QStringList>{{"segment", "program", "DOOR.CNC", "N", "--repeat", "--compress"}}
            << QStringList{"DOOR.CNC f1 xx r999 c:"} << "" << ready << 1;
        QTest::newRow("compressed list label")
            << none << none << QList<QStringList>{{"list", "PANEL1", "--compress"}}
            << QStringList{"A.CNC f xx r c:", "B.CNC f xx r c:"} << ""
            << "" << 0;
        QTest::newRow("damaged compressed label, then the next one")
            << none << Iso
            << QList<QStringList>{{"program", "LOST", "@program", "--compress", "@damage"},
                                  {"segment", "program", "NEXT.CNC", "N", "--repeat"}}
            << QStringList{"NEXT.CNC f1 xx r999 c:"} << ""
            << "Compressed label not read: its compressed data does not expand" << 1;
    }

    void roundTrip()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QByteArray, program);
        QFETCH(QList<QStringList>, labels);
        QFETCH(QString, saved);

        QTemporaryDir dir;
        const QString root = dir.path();
        for (const char *folder : {"program", "windows", "gcode", "lists"})
            QVERIFY(QDir(root).mkpath(QLatin1String(folder)));
        const QString link = root + QStringLiteral("/scanner");
        writeFile(root + QStringLiteral("/program/KTQ.INI"),
                  "[GESTBCOD]\r\nCommDevice=" + link.toLocal8Bit() + "\r\nCommPollTime=100\r\n"
                      + "GCodePath=" + root.toLocal8Bit() + "/gcode/\r\nListPath="
                      + root.toLocal8Bit() + "/lists/\r\nTempPath=" + root.toLocal8Bit()
                      + "/temp\r\nAutoClear= 0\r\nAutoStart= 0\r\nOverwrite= 1\r\n" + SelectionKeys
                      + keys);
        writeFile(root + QStringLiteral("/lists/PANEL1.LST"), "#161=A.CNC;\r\n#161=B.CNC;\r\n");
        writeFile(root + QStringLiteral("/program.cnc"), program);

        // Each label as barlink-label writes it, in a file of its own.
        // Labels follow each other after a pause that lets the station handle each one; after
        // the last, the sender waits for its "ACK"s or stays on the line until the test ends.
        QFETCH(int, acks);
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
            QStringList arguments = labels[i];
            const bool damage = arguments.removeAll(QStringLiteral("@damage")) > 0;
            arguments.replaceInStrings(QStringLiteral("@program"), root + "/program.cnc");
            const QString text = root + QStringLiteral("/label%1.bin").arg(i);
            QProcess encoder;
            encoder.start(labelBinary, arguments + QStringList{"--text", text});
            QVERIFY(encoder.waitForFinished(Patience));
            QVERIFY2(encoder.exitCode() == 0, encoder.readAllStandardError().constData());
            if (damage) {
                QByteArray bytes = readFile(text);
                bytes[bytes.size() / 2] = bytes[bytes.size() / 2] == 'A' ? 'B' : 'A';
                writeFile(text, bytes);
            }
            scanArguments << QStringLiteral("--file") << text;
        }
        QProcess scan;
        scan.start(scanBinary, scanArguments);
        QVERIFY2(scan.waitForStarted(), qPrintable(scan.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), Patience);

        Rig rig(root);
        QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
        QVERIFY2(rig.port.isOpen(), qPrintable(rig.prompter.texts().join('|')));
        rig.station.startPolling();

        QFETCH(QStringList, rows);
        QTRY_COMPARE_WITH_TIMEOUT(rig.rows().size(), rows.size(), Patience);
        QCOMPARE(rig.rows(), rows);
        if (!saved.isEmpty())
            QCOMPARE(readFile(root + QStringLiteral("/gcode/") + saved), program);
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
