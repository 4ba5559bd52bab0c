// The operator's view on the main window: the text size kept in the settings, and the recent
// scans, the last label and the plan of the table as a running station handles labels.
#include "StationRig.h"
#include "app/FontScale.h"
#include "app/MainWindow.h"
#include "app/RecentScansModel.h"
#include "app/ResultSound.h"
#include "app/ScanWords.h"
#include "base/Options.h"
#include "base/Settings.h"
#include "embeddedlist/RunState.h"
#include "fieldsel/PiecePlan.h"
#include "fieldsel/TablePlanWidget.h"
#include "journal/ui/OutcomeColours.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QBrush>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <map>

using namespace barlink;
using namespace barlink::testing;

Q_DECLARE_METATYPE(std::optional<barlink::journal::ForwardState>)

class tst_OperatorView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontScaleKept();
    void largerText();
    void scansShownAsHandled();
    void journalBadge_data();
    void journalBadge();
    void missingProgramTakenWithWarning();
    void takeBack_data();
    void takeBack();
    void resultSounds();
};

// The text size chosen is written alone and read back at the next start; its bad values are
// in tst_settingsfile.
void tst_OperatorView::fontScaleKept()
{
    const QTemporaryDir dir;
    base::Settings settings;
    base::Options options;
    ScriptedPrompter prompter;
    settings.programDir = dir.path();
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("KTQ.INI")), "[GESTBCOD]\r\nCommPort=2\r\n"));
    QVERIFY(settings::loadSettings(settings, options, prompter));
    QCOMPARE(settings.fontScale, 1.0);

    settings::writeFontScale(settings, 1.5);
    QVERIFY(settings::loadSettings(settings, options, prompter));
    QCOMPARE(settings.fontScale, 1.5);
    QCOMPARE(settings::readKey(settings, QStringLiteral("CommPort")), QStringLiteral("2"));
}

void tst_OperatorView::largerText()
{
    app::MainWindow window;
    const qreal normal = window.font().pointSizeF();
    QSignalSpy chosen(&window, &app::MainWindow::fontScaleChosen);
    auto *larger = window.findChild<QAction *>(QStringLiteral("actLargerText"));
    QVERIFY(larger);
    larger->trigger();
    QCOMPARE(chosen.value(0).value(0).toDouble(), app::LargerTextScale);
    // Every widget follows, those with a style sheet too.
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblPortState"))->font().pointSizeF(),
             normal * app::LargerTextScale);
}

void tst_OperatorView::scansShownAsHandled()
{
    using Rig = StationRig<FakeScannerPort>;
    const QTemporaryDir dir;
    QVERIFY(Rig::prepare(dir.path(), QStringLiteral("/dev/scanner"), SelectionKeys + MirrorKeys));
    app::MainWindow window;
    Rig rig(dir.path(), false, &window);
    // The shell's wiring: entries once the label is done, the pieces as they are placed.
    connect(&rig.station,
            &app::Station::entryMade,
            &window,
            &app::MainWindow::showEntry,
            Qt::QueuedConnection);
    connect(&rig.station,
            &app::Station::itemPlaced,
            &window,
            [&](const QStringList &fields, const QString &x, const QString &y) {
                window.setPieces(fieldsel::placePieces(
                    rig.station.autoSel().settings(), fields, x.toDouble(), y.toDouble()));
            });
    rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
    rig.store->addRow(QStringLiteral("#161=OLDER.CNC;"));
    QVERIFY(rig.start());

    auto *status = window.findChild<QFrame *>(QStringLiteral("picStatusBar"));
    rig.scanWithTicks("%71ABC");
    QTRY_VERIFY(window.recentScans().rowCount() >= 2);
    QVERIFY2(!status->styleSheet().isEmpty(), "a refusal flashes the status line");
    QTRY_VERIFY_WITH_TIMEOUT(status->styleSheet().isEmpty(), 3000);

    rig.scanWithTicks("%12MIRDOOR.CNC N X");
    rig.scanWithTicks("%22500 300 18");
    const QStringList expected{
        "Taken: MIRDOOR.CNC, field 4 (A)",
        "Taken: MIRDOOR.CNC, field 3 (S)",
        "Waiting for the dimensions label",
        "Refused: the label starts with %7, which is no known segment",
        "List cleared: 2 rows left from before removed",
    };
    QTRY_COMPARE(window.recentScans().rowCount(), int(expected.size()));
    for (int row = 0; row < int(expected.size()); ++row) {
        const QModelIndex index = window.recentScans().index(row, app::RecentScansModel::Outcome);
        QCOMPARE(index.data().toString(), expected.at(row));
    }
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("lblLastLabel"))
                ->text()
                .endsWith(expected.front()));

    const auto &pieces
        = window.findChild<fieldsel::TablePlanWidget *>(QStringLiteral("picTable"))->pieces();
    QCOMPARE(pieces.size(), std::size_t(2));
    QCOMPARE(pieces[0].mirror, false);
    QCOMPARE(pieces[1].mirror, true);

    // A typed label waits, window events running, until the label in hand is done.
    std::optional<base::LabelGate::Hold> inHand(std::in_place, rig.station.gate());
    QTimer::singleShot(0, &window, [&] { inHand.reset(); });
    QVERIFY(rig.station.typeLabel(QStringLiteral("%CLEAR%")) && !inHand);
}

void tst_OperatorView::journalBadge_data()
{
    using Place = journal::JournalState::Place;
    QTest::addColumn<journal::JournalState>("state");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<std::optional<journal::ForwardState>>("shop"); // none: no JournalServer
    QTest::addColumn<QString>("shopShown");
    const QDateTime since(QDate(2026, 12, 7), QTime(9, 5), Qt::LocalTime);
    QTest::newRow("file, no server") << journal::JournalState() << "written"
                                     << std::optional<journal::ForwardState>() << "";
    QTest::newRow("spill file, server refuses")
        << journal::JournalState{.place = Place::SpillFile, .since = since, .spilled = 12}
        << "file not written since 09:05 \u00b7 12 kept in the spill file"
        << std::optional(journal::ForwardState{
               .waiting = 7,
               .since = since,
               .reason = "cannot connect to the server: password authentication failed"})
        << "7 entries waiting since 09:05 \u00b7 cannot connect to the server";
    QTest::newRow("memory, server up to date")
        << journal::JournalState{
               .place = Place::Memory, .since = since, .held = 3, .heldSince = since.addSecs(60)}
        << "NOT WRITTEN \u00b7 3 held in memory since 09:06"
        << std::optional(journal::ForwardState()) << "up to date";
}

// Where the journal's entries go, and how far they have got to the shop's server, stay on the
// window whatever the status line shows next.
void tst_OperatorView::journalBadge()
{
    QFETCH(journal::JournalState, state);
    QFETCH(QString, shown);
    QFETCH(std::optional<journal::ForwardState>, shop);
    QFETCH(QString, shopShown);
    app::MainWindow window;
    window.setJournalState(state);
    if (shop)
        window.setShopState(*shop);
    window.setStatus(QStringLiteral("Ready."));
    window.show();
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblJournalState"))->text(), shown);
    auto *shopBadge = window.findChild<QLabel *>(QStringLiteral("lblShopState"));
    QCOMPARE(shopBadge->isVisible(), shop.has_value());
    if (shop)
        QCOMPARE(shopBadge->text(), shopShown);
}

// A program that is not in the g-code folder still goes into the list (the machine may have
// it), but the operator sees why its piece has no size, in orange, in the recent scans and in
// the entry the journal keeps before its "ACK".
void tst_OperatorView::missingProgramTakenWithWarning()
{
    using Rig = StationRig<FakeScannerPort>;
    const QTemporaryDir dir;
    QVERIFY(Rig::prepare(dir.path(), QStringLiteral("/dev/scanner")));
    app::MainWindow window;
    Rig rig(dir.path(), false, &window);
    connect(&rig.station, &app::Station::entryMade, &window, &app::MainWindow::showEntry);
    QVERIFY(rig.start());
    rig.scanWithTicks("%S%");
    rig.scanWithTicks("NOPE");
    QCOMPARE(rig.rows().size(), 1);
    QCOMPARE(rig.port.sent, QByteArray("ACK\r"));
    const QModelIndex shown = window.recentScans().index(0, app::RecentScansModel::Outcome);
    QCOMPARE(shown.data().toString(),
             "Taken, but NOPE.CNC is not in " + QDir::toNativeSeparators(dir.path() + "/gcode/")
                 + ": no dimensions");
    QCOMPARE(shown.data(Qt::BackgroundRole),
             journal::outcomeBackground(journal::Outcome::Taken, true));
}

// The last item's rows are taken back only while they are the list's last rows, untouched,
// the list does not run, and no label is in hand; what is taken back is journaled. "then":
// what happens before the question, or between the question and the answer.
void tst_OperatorView::takeBack_data()
{
    QTest::addColumn<QString>("then");
    for (const char *then : {"nothing",
                             "start",
                             "add by hand",
                             "remove first by hand",
                             "change last by hand",
                             "clear, resend, start, hold",
                             "new item while asked",
                             "label in hand while asked"})
        QTest::newRow(then) << QString::fromLatin1(then);
}

void tst_OperatorView::takeBack()
{
    QFETCH(QString, then);
    using Rig = StationRig<FakeScannerPort>;
    using embeddedlist::RunCommand;
    const QTemporaryDir dir;
    QVERIFY(Rig::prepare(dir.path(),
                         QStringLiteral("/dev/scanner"),
                         SelectionKeys + MirrorKeys + "DuplicateSeconds=60\r\n"));
    Rig rig(dir.path());
    journal::Entry last;
    connect(&rig.station, &app::Station::entryMade, [&](const journal::Entry &e) { last = e; });
    QVERIFY(rig.start());
    for (const char *label : {"%19EARLIER.CNC N", "%12MIRDOOR.CNC N X", "%22500 300 18"})
        rig.scanWithTicks(label);
    const QStringList before = rig.rows();
    const QString byHand = QStringLiteral("#161=BYHAND.CNC;");
    const std::map<QString, std::function<void()>> acts{
        {"start", [&] { rig.store->runCommand(RunCommand::Start); }},
        {"add by hand", [&] { rig.store->addRow(byHand); }},
        {"remove first by hand", [&] { rig.store->removeRow(0); }},
        {"change last by hand", [&] { rig.store->setRow(2, byHand); }},
        {"clear, resend, start, hold", [&] {
             for (const char *label : {"%CLEAR%", "%19ONLY.CNC N"})
                 (void)rig.station.typeLabel(QString::fromLatin1(label));
             rig.store->runCommand(RunCommand::Start);
             rig.store->runCommand(RunCommand::Hold);
         }}};
    if (acts.count(then))
        acts.at(then)();
    const app::Station::TakeBackQuery query = rig.station.takeBackQuery();
    const bool asked = then == "nothing" || then.endsWith(u"while asked");
    QCOMPARE(query.refusal.isEmpty(), asked);
    std::optional<base::LabelGate::Hold> inHand;
    if (then == "new item while asked")
        QVERIFY(rig.station.typeLabel(QStringLiteral("%19LATER.CNC N")));
    else if (then == "label in hand while asked")
        inHand.emplace(rig.station.gate());
    const QStringList rows = rig.rows();
    QCOMPARE(rig.station.takeBackLastItem(query.rows).isEmpty(), then == "nothing");
    QCOMPARE(rig.rows() == rows, then != "nothing");
    if (then != "nothing")
        return;
    // Both rows of the mirror piece, named for the operator, and only they; the same labels
    // may be scanned again at once.
    QCOMPARE(query.rows,
             QStringList({"row 2: MIRDOOR.CNC, field 4 (A)", "row 3: MIRDOOR.CNC, field 3 (S)"}));
    QCOMPARE(rig.rows(), before.mid(0, 1));
    QCOMPARE(app::plainWords(last), "Taken back: MIRDOOR.CNC, field 4 (A), field 3 (S)");
    for (const char *label : {"%12MIRDOOR.CNC N X", "%22500 300 18"})
        rig.scanWithTicks(label);
    QCOMPARE(rig.rows(), before);
}

// Which sound an outcome gets (a warning is taken: its rows went), and that both sounds are in
// the program's resources; the speaker is not tested (the test machine may have none).
void tst_OperatorView::resultSounds()
{
    using R = base::LabelOutcome::Result;
    using S = app::ResultSound::Sound;
    QCOMPARE(app::ResultSound::soundFor({.result = R::Taken, .reason = "no file"}), S::Taken);
    QCOMPARE(app::ResultSound::soundFor({.result = R::Waiting}), S::None);
    QCOMPARE(app::ResultSound::soundFor({.result = R::Failed}), S::Refused);
    for (const S sound : {S::Taken, S::Refused})
        QVERIFY(QFile(app::ResultSound::source(sound)).size() > 1000);
}

QTEST_MAIN(tst_OperatorView)
#include "tst_operatorview.moc"
