// What the journal keeps of the labels a running station handles: label bytes go in at the
// scanner end of a pseudo-terminal, and the station's journal file is read back.
#include "Fakes.h"
#include "JournalFile.h"
#include "ManualClock.h"
#include "PtyPair.h"
#include "StationRig.h"
#include "Tables.h"
#include "journal/Journal.h"
#include "program/CompressedLabel.h"

#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {


// "label | kind | outcome | rows | field | reason" for the entries of labels, oldest first;
// the station's own events as "event | what | rows | detail".
QStringList journaled(const QString &path)
{
    QStringList lines;
    for (const journal::Entry &e : JournalFile(path).entries()) {
        if (e.kind == journal::Kind::StationEvent) {
            lines << QStringLiteral("event | %1 | %2 | %3")
                         .arg(e.label,
                              e.rows ? QString::number(*e.rows) : QString(),
                              e.reason.english());
            continue;
        }
        lines << QStringLiteral("%1 | %2 | %3 | %4 | %5 | %6")
                     .arg(e.label,
                          journal::storedName(e.kind),
                          journal::storedName(e.outcome),
                          e.rows ? QString::number(*e.rows) : QString(),
                          e.field,
                          e.reason.english());
    }
    return lines;
}

// Rows the journal file holds as taken, read on a connection of its own.
int rowsInFile(const QString &path)
{
    int rows = 0;
    for (const journal::Entry &e : JournalFile(path).entries()) {
        if (e.outcome == journal::Outcome::Taken)
            rows += e.rows.value_or(0);
    }
    return rows;
}

// A scanner port that looks in the journal file whenever the station writes to the scanner.
class CheckingPort : public FakeScannerPort
{
public:
    void write(const QByteArray &bytes) override
    {
        rowsAtAck << rowsInFile(journalPath);
        FakeScannerPort::write(bytes);
    }
    QString journalPath;
    QList<int> rowsAtAck;
};

} // namespace

class tst_JournaledScans : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outcomes_data();
    void outcomes();
    void rowsAreInTheFileBeforeTheirAck();
    void retentionWithoutUsableServer_data();
    void retentionWithoutUsableServer();
};

void tst_JournaledScans::outcomes_data()
{
    columns<QByteArray, QByteArrayList, QStringList>({"keys", "scans", "entries"});
    const QByteArray program = "BAR.CNC^UN^X600^Y400^Z18!" + QByteArray(5000, 'G');
    // A list is kept from before: the first label that sends rows, or a list command, empties
    // it and says so; a label refused or waiting leaves it as it is.
    const QString cleared = "event | list-cleared | 1 | ",
                  emptied = "list emptied: 1 row from before";
    // clang-format off
    QTest::addRow("waiting, then taken with its row") << QByteArray() << QByteArrayList{"%12PROG.CNC N1 X", "%22600 400 18"} << QStringList{"%12PROG.CNC N1 X | segment | waiting |  |  | ", cleared, "%22600 400 18 | segment | taken | 1 | N1 | " + emptied};
    QTest::addRow("a mirror piece: one entry per acknowledged row") << SelectionKeys + MirrorKeys << QByteArrayList{"%12MIRDOOR.CNC N X", "%22500 300 18"} << QStringList{"%12MIRDOOR.CNC N X | segment | waiting |  |  | ", cleared, "%22500 300 18 | segment | taken | 1 | S | " + emptied, "%22500 300 18 | segment | taken | 1 | A | " + emptied};
    QTest::addRow("unknown segment, segment scanned twice") << QByteArray() << QByteArrayList{"%71ABC", "%12PROG.CNC N1 X", "%12PROG.CNC N1 X"} << QStringList{"%71ABC | segment | refused |  |  | the label starts with %7, which is no known segment", "%12PROG.CNC N1 X | segment | waiting |  |  | ", "%12PROG.CNC N1 X | segment | refused |  |  | segment %1 was already scanned for this item"};
    QTest::addRow("plain name without a work field, a command") << QByteArray() << QByteArrayList{"PANEL", "%START%"} << QStringList{"PANEL | plain-name | refused |  |  | no work field chosen", cleared, "%START% | command | taken |  |  | " + emptied, "event | list-started |  | %START%"};
    QTest::addRow("a field code, a refused name, then an item") << QByteArray() << QByteArrayList{"%N%", "%11../ETC N1", "%19ONE.CNC X"} << QStringList{"%N% | field-code | taken |  |  | ", "%11../ETC N1 | segment | refused |  |  | Name refused: ../ETC reaches outside its folder.", cleared, "%19ONE.CNC X | segment | taken | 1 | N | ONE.CNC is not in <root>/gcode/: no dimensions; " + emptied};
    QTest::addRow("a list whose file is missing") << QByteArray() << QByteArrayList{"%01MISSING", "%19ONE.CNC N"} << QStringList{cleared, "%01MISSING | list | failed |  |  | List File <root>/lists/MISSING.LST Not Found", "%19ONE.CNC N | segment | taken | 1 | N | ONE.CNC is not in <root>/gcode/: no dimensions", "prompt | List File <root>/lists/MISSING.LST Not Found | "};
    QTest::addRow("a failed segment keeps its kind and names its path") << QByteArray("CSVOutPath=<root>/missing/out.csv") << QByteArrayList{"%12PROG.CNC N1 X"} << QStringList{"%12PROG.CNC N1 X | segment | failed |  |  | Path not found: <root>/missing/out.csv", "prompt | Unexpected error # 76 occured: Path not found | Path: <root>/missing/out.csv"};
    QTest::addRow("the scanner's line end, and a label of a tab alone") << QByteArray() << QByteArrayList{"%START%\r\n\t\r\n"} << QStringList{cleared, "%START% | command | taken |  |  | " + emptied, "event | list-started |  | %START%", "<HT><CR><LF> | plain-name | refused |  |  | ignored: the label is nothing but blanks and control characters once the scanner's line end is removed"};
    QTest::addRow("a comment with ; sent with a space") << QByteArray() << QByteArrayList{"%19SEMI.CNC N"} << QStringList{cleared, "%19SEMI.CNC N | segment | taken | 1 | N | " + emptied + "; the program's comment held \";\" or a control character: sent with a space in its place"};
    QTest::addRow("settings problems in the start entry") << QByteArray("JournalDays=1,000\r\nHighContrast=2\r\n") << QByteArrayList{"%START%"} << QStringList{"event | start |  | JournalDays=1,000 is not used: a whole number of days from 0 to 36500 is expected. 400 is used instead. HighContrast=2 is not used: 0 or 1 is expected. The usual colours are used.", cleared, "%START% | command | taken |  |  | " + emptied, "event | list-started |  | %START%"};
    QTest::addRow("program barcode kept as its summary") << QByteArray() << QByteArrayList{program} << QStringList{cleared, "BAR.CNC (5000 bytes) | program-barcode | taken | 1 | N | " + emptied};
    QTest::addRow("a refused program barcode keeps the list") << QByteArray() << QByteArrayList{"../BAR.CNC^UN!G1"} << QStringList{"../BAR.CNC (2 bytes) | program-barcode | refused |  |  | Name refused: ../BAR.CNC reaches outside its folder."};
    QTest::addRow("compressed label kept as its expansion's summary") << QByteArray() << QByteArrayList{program::makeCompressedLabel(QString::fromLatin1(program.left(2000))) .toLatin1()} << QStringList{cleared, "BAR.CNC (1975 bytes) | compressed | taken | 1 | N | " + emptied};
    // clang-format on
}

void tst_JournaledScans::outcomes()
{
    QByteArray keys = fetch<QByteArray>("keys");
    QStringList entries = fetch<QStringList>("entries");
    const QTemporaryDir dir;
    NEED_PTY(pty);
    QVERIFY(PtyStation::prepare(dir.path(),
                                pty.slavePath(),
                                keys.replace("<root>", dir.path().toLocal8Bit())
                                    + "\nStationName=BENCH 1"));
    QVERIFY(writeBytes(dir.path() + "/csvin/PROG.CSV", "PROG;1\r\n"));
    QVERIFY(writeBytes(dir.path() + "/gcode/SEMI.CNC", "G71 X9 Y7 Z2\r\n(LEFT;DOOR)\r\nM30\r\n"));
    const QString path = dir.path() + QStringLiteral("/journal/journal.sqlite");
    QStringList prompts;
    {
        base::ManualClock clock;
        PtyStation rig(dir.path(), {.journal = path, .clock = &clock});
        // A list kept from before: the first label clears it.
        rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
        QVERIFY(rig.start());
        for (const QByteArray &bytes : fetch<QByteArrayList>("scans"))
            QVERIFY2(rig.writeUntilHandled(pty, clock, {bytes}), bytes.left(40).constData());
        // The row from before is there until a clear is journaled.
        QCOMPARE(rig.store->rows().contains(QStringLiteral("#161=OLD.CNC;")),
                 !entries.join(u'\n').contains(QStringLiteral("list-cleared")));
        rig.station.shutdown();
        for (const auto &shown : std::as_const(rig.prompter.shown))
            prompts << QStringLiteral("prompt | %1 | %2").arg(shown.text, shown.details);
    }
    // The station's events around the scans, and the messages shown after the journal.
    QString start = QStringLiteral("event | start |  | ");
    if (entries.value(0).startsWith(start))
        start = entries.takeFirst();
    QStringList expected{start, QStringLiteral("event | port-opened |  | ") + pty.slavePath()};
    QStringList expectedPrompts;
    for (const QString &entry : std::as_const(entries))
        (entry.startsWith(u"prompt | ") ? expectedPrompts : expected) << entry;
    expected << QStringLiteral("event | end |  | ") << expectedPrompts;
    QCOMPARE((journaled(path) + prompts).join(u'\n'),
             expected.join(u'\n').replace("<root>", dir.path()));
}

// A mirror piece sends two rows, each with its "ACK": each row is in the file before its "ACK"
// goes, and the file never holds a row that has not gone.
void tst_JournaledScans::rowsAreInTheFileBeforeTheirAck()
{
    const QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(PtyStation::prepare(dir.path(), QStringLiteral("fake"), SelectionKeys + MirrorKeys));
    const QString journal = dir.path() + QStringLiteral("/journal.sqlite");
    StationRig<CheckingPort> rig(dir.path(), {.journal = journal});
    CheckingPort &port = rig.port;
    port.journalPath = journal;
    QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);

    for (const QByteArray label : {"%12MIRDOOR.CNC N X", "%22500 300 18"}) {
        port.arrive(label);
        for (int tick = 0; tick < 3; ++tick)
            app::StationProbe(rig.station).poller().tick();
    }
    QCOMPARE(port.sent, QByteArray("ACK\rACK\r"));
    QCOMPARE(port.rowsAtAck, (QList<int>{1, 2}));
}

void tst_JournaledScans::retentionWithoutUsableServer_data()
{
    columns<QByteArray, bool>({"keys", "kept"});
    QTest::newRow("no JournalServer line") << QByteArray("JournalDays=1") << false;
    QTest::newRow("JournalServer with an unclosed quote")
        << QByteArray("JournalDays=1\r\nJournalServer=host='shop dbname=journal") << true;
    QTest::newRow("JournalServer empty") << QByteArray("JournalDays=1\r\nJournalServer=") << true;
}

// Entries older than JournalDays go at start only where no JournalServer line is given: a
// server that cannot be used has confirmed none of them.
void tst_JournaledScans::retentionWithoutUsableServer()
{
    const QTemporaryDir dir;
    QVERIFY(PtyStation::prepare(dir.path(), QStringLiteral("fake"), fetch<QByteArray>("keys")));
    const QString path = dir.path() + QStringLiteral("/journal.sqlite");
    {
        journal::Journal old(path, QStringLiteral("S"), 0);
        old.open();
        journal::Entry entry = journal::stationEventEntry(journal::StationEvent::Start);
        entry.time = QDateTime::currentDateTimeUtc().addDays(-800);
        old.append(entry);
    }
    StationRig<FakeScannerPort> rig(dir.path(), {.journal = path});
    QCOMPARE(rig.station.start(true), app::Startup::Outcome::Running);
    QCOMPARE(JournalFile(path).entries().front().time.date() < QDate::currentDate().addDays(-700),
             fetch<bool>("kept"));
}

QTEST_MAIN(tst_JournaledScans)
#include "tst_journaledscans.moc"
