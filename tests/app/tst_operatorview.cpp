// The operator's view on the main window: the text size kept in the settings, and the recent
// scans, the last label and the plan of the table as a running station handles labels.
#include "StationRig.h"
#include "Tables.h"
#include "app/FontScale.h"
#include "app/MainWindow.h"
#include "app/RecentScansModel.h"
#include "base/Options.h"
#include "base/Settings.h"
#include "fieldsel/PiecePlan.h"
#include "fieldsel/TablePlanWidget.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
    // shop: none without a JournalServer
    columns<journal::JournalState, QString, std::optional<journal::ForwardState>, QString>(
        {"state", "shown", "shop", "shopShown"});
    const QDateTime since(QDate(2026, 12, 7), QTime(9, 5), Qt::LocalTime);
    QTest::newRow("file, no server")
        << journal::JournalState() << "written" << std::optional<journal::ForwardState>() << "";
    QTest::newRow("spill file, server refuses")
        << journal::JournalState{.place = Place::SpillFile, .since = since, .spilled = 12}
        << "file not written since 09:05 \u00b7 12 kept in the spill file"
        << std::optional(journal::ForwardState{
               .waiting = 7,
               .since = since,
               .reason = "cannot connect to the server: password authentication failed"})
        << "7 entries waiting since 09:05 \u00b7 cannot connect to the server";
    QTest::newRow("memory, server up to date")
        << journal::JournalState{.place = Place::Memory,
                                 .since = since,
                                 .held = 3,
                                 .heldSince = since.addSecs(60)}
        << "NOT WRITTEN \u00b7 3 held in memory since 09:06"
        << std::optional(journal::ForwardState()) << "up to date";
}

// Where the journal's entries go, and how far they have got to the shop's server, stay on the
// window whatever the status line shows next.
void tst_OperatorView::journalBadge()
{
    const auto &shop = fetch<std::optional<journal::ForwardState>>("shop");
    app::MainWindow window;
    window.setJournalState(fetch<journal::JournalState>("state"));
    if (shop)
        window.setShopState(*shop);
    window.setStatus(QStringLiteral("Ready."));
    window.show();
    QTEST(window.findChild<QLabel *>(QStringLiteral("lblJournalState"))->text(), "shown");
    auto *shopBadge = window.findChild<QLabel *>(QStringLiteral("lblShopState"));
    QCOMPARE(shopBadge->isVisible(), shop.has_value());
    if (shop)
        QTEST(shopBadge->text(), "shopShown");
}

QTEST_MAIN(tst_OperatorView)
#include "tst_operatorview.moc"
