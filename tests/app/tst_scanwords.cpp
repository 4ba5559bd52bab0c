// The outcome of a journal entry in the operator's words, and which entries the recent scans
// show; every reason in German and Italian.
#include "Tables.h"
#include "app/ScanResult.h"
#include "app/ScanWords.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTranslator>

using namespace barlink;
using journal::Entry;
using journal::Kind;
using journal::Outcome;

Q_DECLARE_METATYPE(journal::Entry)

namespace {

Entry scan(Outcome outcome,
           Kind kind,
           const QString &label,
           const QString &program = {},
           const QString &x = {})
{
    Entry entry;
    entry.outcome = outcome;
    entry.kind = kind;
    entry.label = label;
    entry.program = program;
    entry.x = x;
    return entry;
}

Entry with(Entry entry, const QString &field, std::optional<int> rows, const QString &reason = {})
{
    entry.field = field;
    entry.rows = rows;
    entry.reason = base::Reason::text(reason);
    return entry;
}

} // namespace

class tst_ScanWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void words_data();
    void words();
    void commandWords_data();
    void commandWords();
    void result_data();
    void result();
    void everyReasonTranslated_data();
    void everyReasonTranslated();
    void reasonsShown_data();
    void reasonsShown();
};

namespace {

// The program's translations into language, installed until the guard goes.
auto installed(QTranslator &translator, const QString &language)
{
    if (!translator.load(QStringLiteral(":/i18n/barlink_%1.qm").arg(language)))
        qFatal("no translations into %s", qPrintable(language));
    QCoreApplication::installTranslator(&translator);
    return qScopeGuard([&translator] { QCoreApplication::removeTranslator(&translator); });
}

} // namespace

// Each code with a value for each of its arguments, a value holding "; " and ": " as an error's
// words or a name may: shown in the language through its own words, every value whole.
void tst_ScanWords::everyReasonTranslated_data()
{
    testing::columns<QString, int>({"language", "code"});
    for (const char *language : {"de", "it"}) {
        for (int code = int(base::Reason::Code::Sentences) + 1; code < base::Reason::CodeCount;
             ++code) {
            const auto reason = base::Reason(base::Reason::Code(code));
            QTest::addRow("%s %s", qPrintable(reason.name()), language)
                << QString::fromLatin1(language) << code;
        }
    }
}

void tst_ScanWords::everyReasonTranslated()
{
    const auto code = base::Reason::Code(testing::fetch<int>("code"));
    const char *words = base::Reason::words(code);
    static const QRegularExpression placeholder(QStringLiteral("%([1-9])"));
    int count = 0;
    for (const QRegularExpressionMatch &m : placeholder.globalMatch(QString::fromLatin1(words)))
        count = std::max(count, m.captured(1).toInt());
    std::vector<base::Reason> args;
    QStringList values;
    for (int n = 1; n <= count; ++n) {
        values << QStringLiteral("v%1; x: y").arg(n);
        args.push_back(base::Reason::text(values.back()));
    }
    const base::Reason reason = base::Reason::of(code, args);
    QTranslator translator;
    const auto guard = installed(translator, testing::fetch<QString>("language"));
    const QString translation = translator.translate("Reason", words);
    QVERIFY2(!translation.isEmpty(), words);
    const QString shown = reason.shown();
    // Words of their own, unless the language has the same ones ("Name" in German, "Overflow"
    // in Italian) or there are none to translate ("%1: %2").
    const bool same = translation == QLatin1String(words);
    QVERIFY2(shown != reason.english() || same, qPrintable(shown));
    const QStringList sameWords{"Name", "Overflow", "%1: %2"};
    QVERIFY2(!same || sameWords.contains(translation), words);
    for (const QString &value : std::as_const(values))
        QVERIFY2(shown.contains(value), qPrintable(shown));
}

// Reasons within reasons, and values that look like a reason's own punctuation, in the
// operator's language.
void tst_ScanWords::reasonsShown_data()
{
    using base::Reason;
    using Code = Reason::Code;
    testing::columns<QString, Reason, QString>({"language", "reason", "shown"});
    const Reason hostName(Code::NotUsed,
                          QStringLiteral("StationName"),
                          QStringLiteral("A\x01"),
                          Reason(Code::StationNameRule, 64),
                          Reason(Code::HostName));
    // A warning noted before the rows went and told again with the outcome is told once.
    const Reason warning(Code::ProgramNotInFolder, QStringLiteral("A.CNC"), QStringLiteral("/g/"));
    const Reason told = Reason::several({warning, Reason(Code::ListEmptiedOne)}).with(warning);
    // clang-format off
    QTest::addRow("a warning told once") << "de" << told << "A.CNC ist nicht in /g/: keine Maße; Liste geleert: 1 Zeile von vorher";
    QTest::addRow("the host name instead") << "de" << hostName << "StationName=A\x01 wird nicht verwendet: erwartet werden höchstens 64 Zeichen ohne Steuerzeichen. Stattdessen gilt der Rechnername.";
    // clang-format on
}

void tst_ScanWords::reasonsShown()
{
    QTranslator translator;
    const auto guard = installed(translator, testing::fetch<QString>("language"));
    QTEST(testing::fetch<base::Reason>("reason").shown(), "shown");
}

void tst_ScanWords::words_data()
{
    using journal::StationEvent;
    using journal::stationEventEntry;
    testing::columns<Entry, QString, bool>({"entry", "words", "recent"});

    const QString panel = QStringLiteral("PANEL.CNC");
    const Entry segment
        = scan(Outcome::Taken, Kind::Segment, QStringLiteral("%22600 400 18"), panel);
    // clang-format off
    QTest::addRow("taken, machine field code") << with(segment, QStringLiteral("S"), 1) << "Taken: PANEL.CNC, field 3 (S)" << true;
    QTest::addRow("taken, code with a suffix") << with(segment, QStringLiteral("N1/"), 1) << "Taken: PANEL.CNC, field 19 (N1/)" << true;
    QTest::addRow("taken, a code the machine does not know goes to the last field") << with(segment, QStringLiteral("3"), 1) << "Taken: PANEL.CNC, field 37" << true;
    QTest::addRow("taken, two rows in one entry") << with(segment, QStringLiteral("A"), 2) << "Taken: PANEL.CNC, field 4 (A), 2 rows" << true;
    QTest::addRow("waiting, program without dimensions") << scan(Outcome::Waiting, Kind::Segment, QStringLiteral("%12PANEL.CNC S X"), panel) << "Waiting for the dimensions label" << true;
    QTest::addRow("waiting, dimensions without program") << scan(Outcome::Waiting, Kind::Segment, QStringLiteral("%22600 400 18"), {}, "600") << "Waiting for the program label" << true;
    QTest::addRow("waiting, both known") << scan(Outcome::Waiting, Kind::Segment, QStringLiteral("%13PANEL.CNC"), panel, "600") << "Waiting for the next label" << true;
    QTest::addRow("refused with its reason") << with(scan(Outcome::Refused, Kind::Segment, QStringLiteral("%71ABC")), {}, {}, QStringLiteral("the label starts with %7, which is no known segment")) << "Refused: the label starts with %7, which is no known segment" << true;
    QTest::addRow("field-code label") << scan(Outcome::Taken, Kind::FieldCode, QStringLiteral("%S1%")) << "Work field set for the next item: field 9 (S1)" << true;
    QTest::addRow("list file") << scan(Outcome::Taken, Kind::List, QStringLiteral("%01DEMO")) << "List file loaded: DEMO" << true;
    QTest::addRow("list file, program label") << scan(Outcome::Taken, Kind::List, QStringLiteral("*%00DEMO^^")) << "List file loaded: DEMO" << true;
    QTest::addRow("rows left from before cleared") << stationEventEntry(StationEvent::ListCleared, 4) << "List cleared: 4 rows left from before removed" << true;
    QTest::addRow("an empty list cleared is no news") << stationEventEntry(StationEvent::ListCleared, 0) << "List cleared: 0 rows left from before removed" << false;
    QTest::addRow("an item taken back") << stationEventEntry(StationEvent::ItemTakenBack, 1, QStringLiteral("PANEL.CNC, field 3 (S)")) << "Taken back: PANEL.CNC, field 3 (S)" << true;
    // clang-format on
}

void tst_ScanWords::words()
{
    QTEST(app::plainWords(testing::fetch<Entry>("entry")), "words");
    QTEST(app::isRecentScan(testing::fetch<Entry>("entry")), "recent");
}

void tst_ScanWords::commandWords_data()
{
    using journal::StationEvent;
    using journal::stationEventEntry;
    testing::columns<QString, Entry, QString>({"label", "before", "words"});
    const Entry piece = with(scan(Outcome::Taken, Kind::Segment, "%22600 400 18", "P.CNC"), "S", 1);
    // clang-format off
    QTest::addRow("start") << "%START%" << piece << "List started";
    QTest::addRow("stop") << "%STOP%" << piece << "List held";
    QTest::addRow("end") << "%END%" << piece << "List ended";
    QTest::addRow("setpoint") << "%SETP%" << piece << "Setpoint set";
    QTest::addRow("clear, rows told") << "%CLEAR%" << stationEventEntry(StationEvent::ListCleared, 7) << "List emptied (7 rows)";
    QTest::addRow("clear, one row") << "%CLEAR%" << stationEventEntry(StationEvent::ListCleared, 1) << "List emptied (1 row)";
    QTest::addRow("clear, rows not told") << "%CLEAR%" << stationEventEntry(StationEvent::ListCleared, std::nullopt) << "List emptied";
    QTest::addRow("clear of an item's labels") << "%CLEAR%" << piece << "Labels of the item so far dropped; the list is as it was";
    // clang-format on
}

// What a list command did, from its entry and the one before it.
void tst_ScanWords::commandWords()
{
    const Entry command = scan(Outcome::Taken, Kind::Command, testing::fetch<QString>("label"));
    QTEST(app::plainWords(command, &testing::fetch<Entry>("before")), "words");
}

// The main window's result: its word, its first line and what the station waits for next.
void tst_ScanWords::result_data()
{
    testing::columns<Entry, QString, QString, QString, QString>(
        {"entry", "word", "headline", "next", "advice"});
    const QString panel = QStringLiteral("PANEL.CNC");
    Entry taken = with(scan(Outcome::Taken, Kind::Segment, "%22600 400 18", panel, "600"), "S", 1);
    taken.y = QStringLiteral("400");
    const Entry refused = with(scan(Outcome::Refused, Kind::Segment, "%12PANEL.CNC", panel),
                               {},
                               {},
                               "the program is not in the folder");
    Entry warned = with(taken, "S", 1);
    warned.reason = base::Reason::several({base::Reason(base::Reason::Code::NoProgramNoDimensions),
                                           base::Reason(base::Reason::Code::ListEmptiedOne)});
    Entry twice = scan(Outcome::Refused, Kind::Segment, "%22600 400 18", panel);
    twice.reason = base::Reason(base::Reason::Code::ScannedTwice, QStringLiteral("0.8"));
    // clang-format off
    QTest::addRow("taken: the piece") << taken << "OK" << "PANEL.CNC \u00b7 field 3 (S) \u00b7 600 \u00d7 400 mm" << "Ready for the next piece" << "";
    QTest::addRow("taken with notes: a warning, a line each") << warned << "WARNING" << "PANEL.CNC \u00b7 field 3 (S) \u00b7 600 \u00d7 400 mm" << "Ready for the next piece" << "The item names no program: no dimensions\nList emptied: 1 row from before";
    QTest::addRow("program taken in") << scan(Outcome::Waiting, Kind::Segment, "%12PANEL.CNC", panel) << "WAITING" << "Waiting for the dimensions label" << "Scan the dimensions label of PANEL.CNC" << "";
    QTest::addRow("refused mid-item: the item still waits") << refused << "REFUSED" << "The program is not in the folder" << "Scan the dimensions label of PANEL.CNC" << "Nothing was added to the list. Check the label and scan it again, or type it with Edit.";
    QTest::addRow("refused as scanned twice") << twice << "REFUSED" << "Scanned twice: the same piece as the item taken 0.8 s before" << "Scan the dimensions label of PANEL.CNC" << "It was not added again. To add one more of the same piece, scan it again.";
    // clang-format on
}

void tst_ScanWords::result()
{
    const app::ScanResult result = app::ScanResult::of(testing::fetch<Entry>("entry"));
    QTEST(result.word, "word");
    QTEST(result.headline, "headline");
    QTEST(result.next, "next");
    QTEST(result.advice, "advice");
}

QTEST_GUILESS_MAIN(tst_ScanWords)
#include "tst_scanwords.moc"
