// The operator's view on the main window: the text size kept in the settings, and the recent
// scans, the last label and the plan of the table as a running station handles labels.
#include "StationRig.h"
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

using namespace barlink;
using namespace barlink::testing;

class tst_OperatorView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontScaleKept();
    void largerText();
    void scansShownAsHandled();
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
    connect(&rig.station.recorder(),
            &app::JournalRecorder::entryMade,
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
}

QTEST_MAIN(tst_OperatorView)
#include "tst_operatorview.moc"
