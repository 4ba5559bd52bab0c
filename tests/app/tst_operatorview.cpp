// The operator's view on the main window: the text size and colours of every window, the
// keys of the windows it opens, the recent scans, the last label and the plan of the table to
// scale as a running station handles labels.
#include "ManualClock.h"
#include "StationRig.h"
#include "StationWindows.h"
#include "Tables.h"
#include "app/FontScale.h"
#include "app/MainWindow.h"
#include "app/PlanCaption.h"
#include "app/PromptDialog.h"
#include "app/RecentScansModel.h"
#include "app/ScanWords.h"
#include "app/ShiftCounts.h"
#include "app/StationDisplay.h"
#include "embeddedlist/EmbeddedApplication.h"
#include "embeddedlist/EmbeddedListWatch.h"
#include "embeddedlist/ListStore.h"
#include "embeddedlist/RunState.h"
#include "fieldsel/AutoSelSettings.h"
#include "fieldsel/PiecePlan.h"
#include "fieldsel/TablePlanWidget.h"
#include "journal/ui/OutcomeColours.h"
#include "ui/Appearance.h"
#include "ui/OutcomePalette.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

using namespace barlink;
using namespace barlink::testing;

Q_DECLARE_METATYPE(std::optional<barlink::journal::ForwardState>)
Q_DECLARE_METATYPE(barlink::journal::Entry)

namespace {

// A station on the embedded list manager shown on a main window as the program shows it: its
// pauses run window events, on the window's clock.
struct ShownStation
{
    using Rig = StationRig<FakeScannerPort>;
    const QTemporaryDir dir;
    const bool prepared
        = Rig::prepare(dir.path(), QStringLiteral("/dev/scanner"), SelectionKeys + MirrorKeys);
    base::ManualClock clock;
    app::MainWindow window{nullptr, &clock};
    Rig rig{dir.path(), {.realPauses = true, .shownOn = &window, .clock = &clock}};
    ShownStation() { app::showStationOn(rig.station, window); }
};

} // namespace

class tst_OperatorView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        ui::setTextScale(1.0);
        ui::setHighContrast(false);
        ui::setTouch(false);
    }
    void textSizeAndColours();
    void outcomeColoursReadable();
    void touchTargets_data();
    void touchTargets();
    void windowKeys();
    void planToScale_data();
    void planToScale();
    void scansShownAsHandled();
    void journalBadge_data();
    void journalBadge();
    void listBadge_data();
    void listBadge();
    void scannerLost();
    void refusalKept_data();
    void refusalKept();
    void countersStartEachShift();
    void countersCountPieces_data();
    void countersCountPieces();
    void layoutStaysPut();
    void takeBack_data();
    void takeBack();
    void takeBackShown_data();
    void takeBackShown();
};

// The text size chosen before the window shows reaches every widget of every window: check
// boxes, badges with a style sheet (one shown later), table headers, the larger last-scan line,
// a window opened later. It steps with the keyboard, not past the largest step. High contrast
// recolours every window, the result tile in its outcome's colours, and comes back to the
// system's.
void tst_OperatorView::textSizeAndColours()
{
    const qreal normal = QApplication::font().pointSizeF();
    const QColor usual = QApplication::palette().color(QPalette::Window);
    app::MainWindow window;
    window.setFontScale(3.0); // as at start, before the window is shown
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QTemporaryDir dir;
    app::TryWindow later(dir.path(), dir.path());
    window.setSegmentIndicator(app::MainWindow::Segment::Program, true); // polished only now
    for (QWidget *widget : QList<QWidget *>{
             window.findChild<QCheckBox *>(QStringLiteral("AClear")),
             window.findChild<QLabel *>(QStringLiteral("lblPortState")),
             window.findChild<QLabel *>(QStringLiteral("LabID_1")),
             window.findChild<QTableView *>(QStringLiteral("lstRecent"))->horizontalHeader(),
             later.findChild<QPlainTextEdit *>()}) {
        QVERIFY2(widget->font().pointSizeF() == normal * 3, widget->metaObject()->className());
    }
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("ComDisplay"))->font().pointSizeF()
            > normal * 3.5);
    QSignalSpy chosen(&window, &app::MainWindow::fontScaleChosen);
    QTest::keyClick(&window, Qt::Key_Equal, Qt::ControlModifier); // at the largest: nothing
    QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
    window.findChild<QMenu *>(QStringLiteral("mnuTextSize"))->actions().at(0)->trigger();
    QCOMPARE(QList<QVariantList>(chosen), QList<QVariantList>({{2.0}, {1.0}}));

    journal::Entry warned{.label = "%12PANEL.CNC", .program = "PANEL.CNC", .rows = 1};
    warned.reason = base::Reason::text(QStringLiteral("no dimensions"));
    window.showEntry(warned);
    const auto tileWears = [band
                            = window.findChild<QFrame *>(QStringLiteral("fraResult"))](bool high) {
        const ui::OutcomeColours pair = ui::outcomeColours(ui::OutcomeLook::ResultWarning, high);
        return band->styleSheet().contains(pair.background.name())
               && band->styleSheet().contains(pair.text.name());
    };
    QVERIFY(tileWears(false));
    QSignalSpy contrast(&window, &app::MainWindow::highContrastChosen);
    auto *highContrast = window.findChild<QAction *>(QStringLiteral("actHighContrast"));
    highContrast->trigger();
    QCOMPARE(contrast.value(0), QVariantList{true});
    QCOMPARE(later.palette().color(QPalette::Window), QColor(Qt::black));
    QVERIFY(tileWears(true));
    // A text kept larger follows a change of size in high contrast too.
    window.setFontScale(2.0);
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("ComDisplay"))->font().pointSizeF()
            > normal * 2);
    highContrast->trigger();
    QCOMPARE(later.palette().color(QPalette::Window), usual);
}

// Every outcome's words are readable on its colour: a contrast ratio of 4.5:1 in the usual
// colours, 7:1 in high contrast (relative luminance of the sRGB colours).
void tst_OperatorView::outcomeColoursReadable()
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double c) {
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
               + 0.0722 * linear(colour.blueF());
    };
    for (int look = 0; look < int(ui::OutcomeLook::Count); ++look) {
        for (const bool high : {false, true}) {
            const ui::OutcomeColours pair = ui::outcomeColours(ui::OutcomeLook(look), high);
            const auto [dark, light] = std::minmax({luminance(pair.text), luminance(pair.background)});
            QVERIFY2((light + 0.05) / (dark + 0.05) >= (high ? 7.0 : 4.5),
                     qPrintable(QStringLiteral("look %1, high contrast %2").arg(look).arg(high)));
        }
    }
}

void tst_OperatorView::touchTargets_data()
{
    columns<double, QString, QString>({"scale", "keys", "label"});
    // "<" is the backspace key.
    QTest::newRow("100%, marks and spaces") << 1.0 << "%12P.CNC S*%00A-B_C'$!&/^"
                                            << "%12P.CNC S*%00A-B_C'$!&/^";
    QTest::newRow("200%, a slip mended") << 2.0 << "DEMP<O"
                                         << "DEMO";
}

// With touch, every button, box and recent-scan row of the main window, the keypad of the open
// manual entry included, is 9 mm (36 pixels at 96 to the inch) at least, more with the text.
// The keypad types a label, which its OK hands over as the entry's OK does.
void tst_OperatorView::touchTargets()
{
    const int least = qRound(36 * fetch<double>("scale"));
    app::MainWindow window;
    window.setFontScale(fetch<double>("scale"));
    window.setTouch(true);
    QStringList given;
    connect(&window, &app::MainWindow::labelTyped, [&](const QString &label) {
        given << label;
        window.typedLabelDone(true);
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(790, 700); // as on a screen of 1366 by 768
    window.findChild<QPushButton *>(QStringLiteral("cmdEdit"))->click();
    // A piece whose line in the shift wraps: the boxes above the entry grow with their text.
    window.showEntry({.label = "DEMO", .field = "N", .program = "PANNELLO-ANTA-SINISTRA-LUNGA.CNC", .x = "800", .y = "600", .rows = 1});
    // The keypad lies whole in its box, whose neighbours wrap their text to the width.
    const auto *keypad = window.findChild<QWidget *>(QStringLiteral("keypad"));
    QVERIFY(keypad);
    QTRY_VERIFY(keypad->isVisible()
                && keypad->parentWidget()->contentsRect().contains(keypad->geometry()));
    // The glance's boxes, the one grown by it among them, lie within the glance, none over
    // another.
    const QWidget *glance = keypad->parentWidget()->parentWidget();
    const auto boxesApart = [glance] {
        const QList<QGroupBox *> boxes = glance->findChildren<QGroupBox *>(
            QString(), Qt::FindDirectChildrenOnly);
        return std::all_of(boxes.begin(), boxes.end(), [&](const QGroupBox *box) {
            return glance->rect().contains(box->geometry())
                   && std::none_of(boxes.begin(), boxes.end(), [box](const QGroupBox *other) {
                          return other != box && other->geometry().intersects(box->geometry());
                      });
        });
    };
    QTRY_VERIFY(boxesApart());
    for (QAbstractButton *button : window.findChildren<QAbstractButton *>()) {
        if (button->isVisible())
            QVERIFY2(button->height() >= least && button->width() >= least,
                     qPrintable(button->objectName() + button->text()));
    }
    const auto *recent = window.findChild<QTableView *>(QStringLiteral("lstRecent"));
    QVERIFY(recent->rowHeight(0) >= least);

    const auto key = [&](const QString &name) {
        auto *button = keypad->findChild<QPushButton *>(QStringLiteral("key") + name);
        QVERIFY2(button, qPrintable(name));
        button->click();
    };
    for (const QChar c : fetch<QString>("keys"))
        key(c == u'<' ? QStringLiteral("Backspace") : c == u' ' ? QStringLiteral("Space") : c);
    key(QStringLiteral("Enter"));
    QCOMPARE(given, QStringList{fetch<QString>("label")});
    QVERIFY(!keypad->isVisible());
    // Off again, the rows are as high as their text.
    window.setTouch(false);
    QVERIFY(recent->rowHeight(0) < least);
}

// Escape closes the windows the main window opens; Ctrl+Enter in the try window's labels
// tries them rather than starting a line; Enter on a yes/no question answers No.
void tst_OperatorView::windowKeys()
{
    StationWindows windows;
    for (const char *name : {"Try", "Journal", "Guide"}) {
        const std::unique_ptr<QWidget> shown = windows.make(QLatin1String(name));
        shown->show();
        shown->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(shown.get()));
        if (auto *labels = shown->findChild<QPlainTextEdit *>()) {
            labels->setFocus();
            QTest::keyClicks(labels, QStringLiteral("%CLEAR%"));
            QTest::keyClick(labels, Qt::Key_Return, Qt::ControlModifier);
            QCOMPARE(labels->toPlainText(), QStringLiteral("%CLEAR%"));
            QVERIFY(!shown->findChild<QTextBrowser *>()->toPlainText().isEmpty());
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY2(!shown->isVisible(), name);
    }
    // A stray Enter on the take-back question (or any yes/no question) takes nothing back.
    app::PromptDialog prompter;
    QTimer::singleShot(0, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(prompter.askWithDetails(base::Prompter::Icon::Question,
                                     base::Prompter::Buttons::YesNo,
                                     QStringLiteral("Take back the last item?"),
                                     QStringLiteral("row 2: MIRDOOR.CNC, field 4 (A)")),
             base::Prompter::Answer::No);
}

void tst_OperatorView::planToScale_data()
{
    columns<double, QSize, QStringList, QString, QString, QString>(
        {"scale", "room", "codes", "x", "y", "caption"});
    using L = QStringList;
    // clang-format off
    QTest::newRow("normal text, wide room") << 1.0 << QSize(900, 300) << L{"S"} << "600" << "400" << "P.CNC, 600 \u00d7 400 mm: field 3 (S)";
    QTest::newRow("300% text, narrow room") << 3.0 << QSize(500, 700) << L{"S"} << "1500" << "300" << "P.CNC, 1500 \u00d7 300 mm: field 3 (S)";
    QTest::newRow("mirrored pair, 200%") << 2.0 << QSize(760, 520) << L{"S", "A"} << "500" << "300" << "P.CNC, 500 \u00d7 300 mm: field 3 (S) and its mirror in field 4 (A)";
    QTest::newRow("mirrored pair longer than half its field") << 1.0 << QSize(700, 450) << L{"S", "A"} << "800" << "500" << "P.CNC, 800 \u00d7 500 mm: field 3 (S) and its mirror in field 4 (A)";
    QTest::newRow("size unknown") << 1.0 << QSize(600, 400) << L{"S"} << "" << "" << "P.CNC, size unknown: field 3 (S)";
    // clang-format on
}

// "Where the piece goes": a table of 2000 by 1200 drawn in its own proportions whatever the
// room and the text size, each field named once per place (a disabled one not at all), the
// pieces to scale in shape and size; no piece drawn without dimensions. The two pieces of a
// mirrored pair lie side by side, in their own shape, neither hiding the other or its name.
void tst_OperatorView::planToScale()
{
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QStringList, codes);
    fieldsel::AutoSelSettings settings;
    settings.setHalfLimitX(QStringLiteral("1000"));
    settings.setHalfLimitY(QStringLiteral("600"));
    using fieldsel::FieldSlot;
    for (auto [slot, code] : {std::pair{FieldSlot::SFN, "N"},
                              {FieldSlot::FFS, "S"},
                              {FieldSlot::FFA, "A"},
                              {FieldSlot::BFS, "B"}}) {
        settings.setCode(slot, QLatin1String(code));
        settings.setEnableFlag(slot, slot == FieldSlot::BFS ? 0 : 1);
    }
    ui::setTextScale(fetch<double>("scale"));
    const fieldsel::TablePlan plan
        = fieldsel::tablePlan(settings, codes, x.toDouble(), y.toDouble());
    QTEST(app::planCaption(QStringLiteral("P.CNC"), x, y, plan.pieces), "caption");
    QCOMPARE(plan.fields.size(), std::size_t(2));
    QCOMPARE(plan.fields.back().name, QStringLiteral("S / A"));
    fieldsel::TablePlanWidget widget;
    widget.setPlan(plan);
    widget.resize(fetch<QSize>("room"));

    const auto near = [](qreal drawn, qreal real) { return qAbs(drawn / real - 1) < 0.02; };
    const QRectF table = widget.tableRect();
    QVERIFY(near(table.width() / table.height(), 2000.0 / 1200));
    const bool pair = codes.size() > 1;
    for (int i = 0; i < int(codes.size()); ++i) {
        const QRectF piece = widget.pieceRect(i);
        QCOMPARE(piece.isEmpty(), !plan.sizeKnown);
        if (piece.isEmpty())
            continue;
        QVERIFY(table.contains(piece));
        QVERIFY(near(piece.width() / piece.height(), x.toDouble() / y.toDouble()));
        QVERIFY(pair || near(piece.width() / table.width(), x.toDouble() / 2000));
        for (int other = 0; other < int(codes.size()); ++other) {
            QVERIFY(other == i || !widget.pieceRect(other).intersects(piece));
            QVERIFY(other == i || !widget.pieceRect(other).intersects(widget.pieceName(i).rect));
        }
    }
}

void tst_OperatorView::scansShownAsHandled()
{
    ShownStation shown;
    QVERIFY(shown.prepared);
    auto &[dir, prepared, clock, window, rig] = shown;
    // The plan shows the item's pieces, with its result, by the time its label is done.
    const auto *plan = window.findChild<fieldsel::TablePlanWidget *>(QStringLiteral("picTable"));
    std::size_t piecesWhenDone = 0;
    connect(&rig.station, &app::Station::labelHandled, &window, [&] {
        piecesWhenDone = plan->pieces().size();
    });
    rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
    rig.store->addRow(QStringLiteral("#161=OLDER.CNC;"));
    QVERIFY(rig.start());

    auto *status = window.findChild<QFrame *>(QStringLiteral("picStatusBar"));
    rig.scanWithTicks("%71ABC");
    QTRY_VERIFY(window.recentScans().rowCount() >= 1);
    QVERIFY2(!status->styleSheet().isEmpty(), "a refusal flashes the status line");
    QTRY_VERIFY_WITH_TIMEOUT(status->styleSheet().isEmpty(), 3000);

    // A program not in the g-code folder still goes into the list (the machine may have it),
    // taken with a warning, in orange. Its row is the first: the rows from before go, which the
    // result says; the refused label left them. (Its field seeds the alternation: S after A.)
    QCOMPARE(rig.store->rows().size(), 2);
    rig.scanWithTicks("%19NOPE.CNC N");
    const auto *advice = window.findChild<QLabel *>(QStringLiteral("lblResultAdvice"));
    QTRY_VERIFY(advice->text().endsWith(QStringLiteral("\nList emptied: 2 rows from before")));
    for (const char *label : {"%12MIRDOOR.CNC N X", "%22500 300 18"})
        rig.scanWithTicks(label);
    const QStringList expected{
        "Taken: MIRDOOR.CNC, field 3 (S)",
        "Taken: MIRDOOR.CNC, field 4 (A)",
        "Waiting for the dimensions label",
        "Taken, but NOPE.CNC is not in " + QDir::toNativeSeparators(dir.path() + "/gcode/")
            + ": no dimensions; list emptied: 2 rows from before",
        "List cleared: 2 rows left from before removed",
        "Refused: the label starts with %7, which is no known segment",
    };
    QTRY_COMPARE(window.recentScans().rowCount(), int(expected.size()));
    for (int row = 0; row < int(expected.size()); ++row) {
        const QModelIndex index = window.recentScans().index(row, app::RecentScansModel::Outcome);
        QCOMPARE(index.data().toString(), expected.at(row));
    }
    QCOMPARE(window.recentScans().index(3, app::RecentScansModel::Outcome).data(Qt::BackgroundRole),
             journal::outcomeBrush(ui::OutcomeLook::RowWarning, Qt::BackgroundRole));
    // The refusal at the start stays on the band until it is seen.
    auto *lastLabel = window.findChild<QLabel *>(QStringLiteral("lblLastLabel"));
    QVERIFY(lastLabel->text().contains(u"%71ABC"));
    QTest::mouseClick(window.findChild<QLabel *>("lblResultHeadline"), Qt::LeftButton);
    QVERIFY(!lastLabel->text().contains(u"%71ABC"));

    QCOMPARE(piecesWhenDone, std::size_t(2));
    QVERIFY(plan->pieces()[0].mirror != plan->pieces()[1].mirror);
    // The result and the last label's line under it name both fields of the mirror piece,
    // which can be taken back.
    const QString headline = window.findChild<QLabel *>("lblResultHeadline")->text();
    QVERIFY2(headline.contains(u"field 4 (A) + field 3 (S)"), qPrintable(headline));
    const QString line = window.findChild<QLabel *>("lblLastLabel")->text();
    QVERIFY2(line.endsWith(u"Taken: MIRDOOR.CNC, field 4 (A) + field 3 (S)"), qPrintable(line));
    auto *takeBack = window.findChild<QPushButton *>(QStringLiteral("cmdTakeBack"));
    QTRY_VERIFY(takeBack->isEnabled());
    QCOMPARE(takeBack->toolTip(), QStringLiteral("MIRDOOR.CNC"));
    // The option switches are the station's.
    window.findChild<QCheckBox *>(QStringLiteral("AClear"))->click();
    QVERIFY(rig.station.options().autoClear());

    // OK in the window while a label is in hand (as in its pauses) does not wait on the spot,
    // where it would stack on the pauses' own event loop: the typed label follows the label,
    // and the entry closes once it is taken.
    auto *entry = window.findChild<QLineEdit *>(QStringLiteral("txtEtichetta"));
    window.findChild<QPushButton *>(QStringLiteral("cmdEdit"))->click();
    entry->setText(QStringLiteral("%S%"));
    std::optional<base::LabelGate::Hold> inHand(std::in_place,
                                                app::StationProbe(rig.station).gate());
    QTimer::singleShot(0, &window, [&] { inHand.reset(); });
    window.findChild<QPushButton *>(QStringLiteral("cmdEndEdit"))->click();
    QVERIFY(inHand && entry->isEnabled());
    QTRY_VERIFY(window.recentScans().index(0, app::RecentScansModel::Label).data().toString()
                == QStringLiteral("%S%"));
    QVERIFY(!entry->isEnabled());
}

void tst_OperatorView::journalBadge_data()
{
    using Place = journal::JournalState::Place;
    using Shop = std::optional<journal::ForwardState>; // none without a JournalServer
    columns<journal::JournalState, QString, QString, Shop, QString>(
        {"state", "shown", "colour", "shop", "shopShown"});
    const QDateTime since(QDate(2026, 12, 7), QTime(9, 5), Qt::LocalTime);
    const QString refused = "cannot connect to the server: password authentication failed";
    // clang-format off
    const QString green = "#2e7d32", orange = "#f57c00";
    QTest::newRow("file, no server") << journal::JournalState() << "written" << green << Shop() << "";
    QTest::newRow("spill file, server refuses") << journal::JournalState{.place = Place::SpillFile, .since = since, .spilled = 12} << "file not written since 09:05 \u00b7 12 kept in the spill file" << orange << Shop({.waiting = 7, .since = since, .reason = refused}) << "7 entries waiting since 09:05 \u00b7 cannot connect to the server";
    QTest::newRow("memory, server up to date") << journal::JournalState{.place = Place::Memory, .since = since, .held = 3, .heldSince = since.addSecs(60)} << "NOT WRITTEN \u00b7 3 held in memory since 09:06" << "#c62828" << Shop(journal::ForwardState()) << "up to date";
    QTest::newRow("taking in a spill file") << journal::JournalState{.place = Place::SpillFile, .takingBack = true, .takenPercent = 37} << "taking in the spill file \u00b7 37 %" << "#546e7a" << Shop() << "";
    QTest::newRow("a spill file that cannot be read") << journal::JournalState{.spillUnreadable = "the spill file /s cannot be read: Permission denied"} << "written \u00b7 spill file unreadable" << orange << Shop() << "";
    QTest::newRow("entries lost, not acknowledged") << journal::JournalState{.lostUnacknowledged = 3} << "written \u00b7 3 entries lost" << orange << Shop() << "";
    QTest::newRow("a reader holds the log") << journal::JournalState{.untidyLogBytes = 30 << 20} << "written \u00b7 cannot be tidied" << orange << Shop() << "";
    // clang-format on
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
    auto *badge = window.findChild<QLabel *>(QStringLiteral("lblJournalState"));
    QTEST(badge->text(), "shown");
    QVERIFY(badge->styleSheet().contains(fetch<QString>("colour")));
    // Lost entries stay told until the operator says so.
    auto *seen = window.findChild<QToolButton *>(QStringLiteral("cmdJournalLostOk"));
    QCOMPARE(seen->isVisible(), fetch<journal::JournalState>("state").lostUnacknowledged > 0);
    QSignalSpy acknowledged(&window, &app::MainWindow::lostEntriesSeen);
    seen->click();
    QCOMPARE(acknowledged.size(), 1);
    auto *shopBadge = window.findChild<QLabel *>(QStringLiteral("lblShopState"));
    QCOMPARE(shopBadge->isVisible(), shop.has_value());
    if (shop)
        QTEST(shopBadge->text(), "shopShown");
}

void tst_OperatorView::listBadge_data()
{
    columns<QString, QString, QString>({"script", "shown", "colour"});
    // clang-format off
    QTest::newRow("no list handed out") << "" << "not open" << "#616161";
    QTest::newRow("handed out") << "new" << "Idle \u00b7 0 rows" << "#546e7a";
    QTest::newRow("one row") << "new add" << "Idle \u00b7 1 row" << "#546e7a";
    QTest::newRow("running") << "new add add start" << "Running \u00b7 2 rows" << "#2e7d32";
    QTest::newRow("held") << "new add start hold" << "Held \u00b7 1 row" << "#f57c00";
    QTest::newRow("ended") << "new add start end" << "Idle \u00b7 1 row" << "#546e7a";
    // clang-format on
}

// The List badge as the list manager's list changes: what the list watch tells, the list
// manager in the same process here.
void tst_OperatorView::listBadge()
{
    QTemporaryDir dir;
    auto store = std::make_shared<embeddedlist::ListStore>(dir.path());
    embeddedlist::EmbeddedApplication application(store);
    std::shared_ptr<listmanager::ExeList> list;
    app::MainWindow window;
    embeddedlist::EmbeddedListWatch watch(store.get());
    connect(&watch, &listmanager::ListWatch::stateChanged, &window, &app::MainWindow::setListState);
    window.setListState(watch.state());
    for (const QString &step : fetch<QString>("script").split(u' ', Qt::SkipEmptyParts)) {
        if (step == QLatin1String("new"))
            list = application.newList();
        else if (step == QLatin1String("add"))
            list->addLine(QStringLiteral("#161=P.CNC;"));
        else if (step == QLatin1String("start"))
            application.startList();
        else if (step == QLatin1String("hold"))
            application.holdList();
        else if (step == QLatin1String("end"))
            application.endList();
    }
    auto *badge = window.findChild<QLabel *>(QStringLiteral("lblListState"));
    QTEST(badge->text(), "shown");
    QVERIFY(badge->styleSheet().contains(fetch<QString>("colour")));
    // A list command's result tells the list as it is now, the same way.
    auto *advice = window.findChild<QLabel *>(QStringLiteral("lblResultAdvice"));
    window.showEntry({.label = "%START%", .kind = journal::Kind::Command});
    QCOMPARE(advice->text(), "The list now: " + fetch<QString>("shown"));
    window.showEntry({.label = "%12P.CNC", .program = "P.CNC", .rows = 1});
    QVERIFY(advice->text().isEmpty());
}

// While the port waits for the scanner the result band says so in place of the result, in its
// own colour, since when (kept while the port tries again);
// the last result on a line under it, and back in its place when the scanner is.
void tst_OperatorView::scannerLost()
{
    using State = base::OperatorDisplay::PortState;
    base::ManualClock clock;
    clock.setCurrentTime(QDateTime(QDate(2026, 12, 7), QTime(9, 5)));
    app::MainWindow window(nullptr, &clock);
    window.show();
    window.showEntry({.label = "%12PANEL.CNC", .program = "PANEL.CNC", .rows = 1});
    const auto label = [&](const char *name) { return window.findChild<QLabel *>(name); };
    auto *band = window.findChild<QFrame *>(QStringLiteral("fraResult"));
    const QString okLook = band->styleSheet();
    window.setPortState(State::Waiting, QStringLiteral("/dev/ttyACM0"));
    clock.advance(3 * 60'000);
    window.setPortState(State::Waiting, QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(label("lblResultWord")->text(), QStringLiteral("\u2298 NO SCANNER"));
    QCOMPARE(label("lblResultHeadline")->text(),
             QStringLiteral("Since 09:05: /dev/ttyACM0 is not there"));
    QVERIFY(band->styleSheet() != okLook);
    QVERIFY(label("lblResultBefore")->isVisible());
    QVERIFY(label("lblResultBefore")->text().contains(u"OK \u00b7 PANEL.CNC"));
    window.setPortState(State::Open, QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(label("lblResultWord")->text(), QStringLiteral("\u2714 OK"));
    QCOMPARE(band->styleSheet(), okLook);
    QVERIFY(!label("lblResultBefore")->isVisible());
    window.setPortState(State::Waiting, QString());
    QCOMPARE(label("lblResultHeadline")->text(), QStringLiteral("Since 09:08"));
}

void tst_OperatorView::refusalKept_data()
{
    columns<QStringList, QString>({"steps", "kept"});
    using L = QStringList;
    // clang-format off
    QTest::newRow("shown on the band itself") << L{"refused"} << "";
    QTest::newRow("item taken at once, 5 s not yet") << L{"refused", "taken", "+4999"} << "%71ABC";
    QTest::newRow("item taken, 5 s passed") << L{"refused", "taken", "+5000"} << "";
    QTest::newRow("only time passed") << L{"refused", "waiting", "+60000"} << "%71ABC";
    QTest::newRow("a command is no item") << L{"refused", "command", "+60000"} << "%71ABC";
    QTest::newRow("5 s count from the item") << L{"refused", "+60000", "taken", "+4999"} << "%71ABC";
    QTest::newRow("a touch on the band") << L{"refused", "taken", "touch"} << "";
    QTest::newRow("Enter on the band") << L{"refused", "waiting", "enter"} << "";
    QTest::newRow("seen while on the band") << L{"refused", "enter", "taken"} << "";
    QTest::newRow("a later refusal in its place") << L{"refused", "taken", "+3000", "refused again", "taken", "+3000"} << "%72XYZ";
    // clang-format on
}

// A label refused (or failed) stays on the band once a later result takes its place, white on
// red in the last label's line, until a later item has been taken and 5 s have passed on the
// window's clock, or the operator says it is seen (Enter on the band, a touch on it).
void tst_OperatorView::refusalKept()
{
    base::ManualClock clock;
    app::MainWindow window(nullptr, &clock);
    auto *band = window.findChild<QFrame *>(QStringLiteral("fraResult"));
    const journal::Entry taken{.label = "%12PANEL.CNC", .program = "PANEL.CNC", .rows = 1};
    const std::map<QString, journal::Entry> entries{
        {"refused", {.label = "%71ABC", .outcome = journal::Outcome::Refused}},
        {"refused again", {.label = "%72XYZ", .outcome = journal::Outcome::Failed}},
        {"taken", taken},
        {"waiting", {.label = "%12NEXT.CNC", .outcome = journal::Outcome::Waiting}},
        {"command", {.label = "%START%", .kind = journal::Kind::Command}}};
    for (const QString &step : fetch<QStringList>("steps")) {
        if (step.startsWith(u'+'))
            clock.advance(step.toInt());
        else if (step == u"touch")
            QTest::mouseClick(window.findChild<QLabel *>("lblResultHeadline"), Qt::LeftButton);
        else if (step == u"enter")
            QTest::keyClick(band, Qt::Key_Return);
        else
            window.showEntry(entries.at(step));
    }
    const QString line = window.findChild<QLabel *>(QStringLiteral("lblLastLabel"))->text();
    const QString kept = fetch<QString>("kept");
    QCOMPARE(line.startsWith(u'\u2716'), !kept.isEmpty());
    QVERIFY2(kept.isEmpty() || line.contains(kept), qPrintable(line));
}

// The counters start afresh when a shift begins, with or without a label to tell them; without
// a shift start, the day is the shift.
void tst_OperatorView::countersStartEachShift()
{
    QCOMPARE(app::ShiftCounts::shiftBegan(QDateTime(QDate(2026, 12, 7), QTime(0, 30)), QTime()),
             QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
    base::ManualClock clock;
    clock.setCurrentTime(QDateTime(QDate(2026, 12, 7), QTime(5, 57)));
    app::MainWindow window(nullptr, &clock);
    window.setShiftStart(QTime(6, 0));
    journal::Entry piece;
    piece.time = clock.currentTime().addSecs(-3600);
    piece.program = QStringLiteral("PANEL.CNC");
    piece.rows = 2;
    journal::Entry refused = piece;
    refused.outcome = journal::Outcome::Refused;
    window.countShiftEntries({piece, refused});
    window.showEntry(piece);
    auto *taken = window.findChild<QLabel *>(QStringLiteral("lblTaken"));
    QCOMPARE(taken->text(), QStringLiteral("\u2714 2 taken"));
    QCOMPARE(window.shiftCounts().refused(), 1);
    QCOMPARE(window.shiftCounts().pieces().size(), std::size_t(2));
    clock.advance(3 * 60'000);
    QCOMPARE(taken->text(), QStringLiteral("\u2714 0 taken"));
    QVERIFY(window.shiftCounts().pieces().empty());
    refused.time = clock.currentTime();
    window.showEntry(refused);
    QCOMPARE(window.shiftCounts().refused(), 1);
}

// Pieces, not rows: a mirrored pair is one piece of two rows, whether its label's entry holds
// both or the scanner was answered row by row; the same label again after the pauses, or after
// another label, is another piece.
void tst_OperatorView::countersCountPieces_data()
{
    columns<QList<journal::Entry>, QString, QString>({"entries", "taken", "pieces"});
    const auto entry = [](const char *field, int rows, int ms) {
        journal::Entry made{.time = QDateTime(QDate(2026, 12, 7), QTime(9, 0)).addMSecs(ms),
                            .label = "%22800 500 18"};
        std::tie(made.field, made.program, made.x, made.y, made.rows)
            = std::tuple(QString::fromLatin1(field), "MIR.CNC", "800", "500", rows);
        return made;
    };
    journal::Entry refused = entry("", 0, 10);
    refused.outcome = journal::Outcome::Refused;
    using L = QList<journal::Entry>;
    const QString one = "09:00  MIR.CNC \u00b7 field 3 (S) \u00b7 800 \u00d7 500 mm",
                  two = one + '\n' + one;
    // clang-format off
    QTest::newRow("a pair told row by row") << L{entry("S", 1, 0), entry("A", 1, 20)} << "\u2714 1 taken" << "09:00  MIR.CNC \u00b7 field 3 (S) + field 4 (A) \u00b7 800 \u00d7 500 mm (2 rows)";
    QTest::newRow("a pair in one entry") << L{entry("A", 2, 0)} << "\u2714 1 taken" << "09:00  MIR.CNC \u00b7 field 4 (A) \u00b7 800 \u00d7 500 mm (2 rows)";
    QTest::newRow("the same label after the pauses") << L{entry("S", 1, 0), entry("S", 1, 1300)} << "\u2714 2 taken" << two;
    QTest::newRow("another label between") << L{entry("S", 1, 0), refused, entry("S", 1, 20)} << "\u2714 2 taken" << two;
    // clang-format on
}

void tst_OperatorView::countersCountPieces()
{
    base::ManualClock clock;
    clock.setCurrentTime(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
    app::MainWindow window(nullptr, &clock);
    const auto &entries = fetch<QList<journal::Entry>>("entries");
    window.countShiftEntries({entries.begin(), entries.end()});
    QTEST(window.findChild<QLabel *>(QStringLiteral("lblTaken"))->text(), "taken");
    QTEST(window.findChild<QLabel *>(QStringLiteral("lblLastPieces"))->text(), "pieces");
}

// Nothing below the result moves as an item's segments arrive and its result comes; the
// buttons are large enough for a gloved finger; the keyboard gets through the recent scans.
void tst_OperatorView::layoutStaysPut()
{
    app::MainWindow window;
    window.setFontScale(1.25); // where the band keeps room for more than the word beside it
    window.resize(1000, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *recent = window.findChild<QTableView *>(QStringLiteral("lstRecent"));
    auto *plan = window.findChild<QWidget *>(QStringLiteral("picTable"));
    const auto places = [&] {
        QCoreApplication::sendPostedEvents();
        return QList<QRect>{QRect(recent->mapTo(&window, QPoint()), recent->size()),
                            QRect(plan->mapTo(&window, QPoint()), plan->size())};
    };
    const QList<QRect> before = places();
    window.showEntry(
        {.label = "%12PANEL.CNC",
         .outcome = journal::Outcome::Refused,
         .reason = base::Reason(base::Reason::Code::ScannedTwice, QStringLiteral("0.8"))});
    window.setSegmentIndicator(base::OperatorDisplay::Segment::Program, true);
    window.setAutoFieldSelectionVisible(true);
    window.setExclusionText(QStringLiteral("Exclusion 3"));
    QCOMPARE(places(), before);

    for (const QPushButton *button : window.findChildren<QPushButton *>())
        QVERIFY2(button->height() >= 48, qPrintable(button->objectName()));
    QSignalSpy takeBack(&window, &app::MainWindow::takeBackRequested);
    window.setTakeBackAvailable(true, QStringLiteral("R&D.CNC"));
    auto *takeBackButton = window.findChild<QPushButton *>(QStringLiteral("cmdTakeBack"));
    QCOMPARE(takeBackButton->text(), u"Take back R&&D.CNC"); // shown as "R&D.CNC"
    takeBackButton->click();
    QCOMPARE(takeBack.size(), 1);

    QSignalSpy opened(&window, &app::MainWindow::journalEntryRequested);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    recent->setFocus();
    recent->setCurrentIndex(window.recentScans().index(0, 0));
    QTest::keyClick(recent, Qt::Key_Return);
    QCOMPARE(opened.size(), 1);
    QTest::keyClick(recent, Qt::Key_Tab);
    QVERIFY(!recent->hasFocus());
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
                 rig.station.typeLabel(QString::fromLatin1(label));
             rig.store->runCommand(RunCommand::Start);
             rig.store->runCommand(RunCommand::Hold);
         }}};
    if (acts.count(then))
        acts.at(then)();
    const app::Station::TakeBackQuery query = rig.station.takeBackQuery();
    const bool asked = then == "nothing" || then.endsWith(u"while asked");
    QCOMPARE(query.refusal.isEmpty(), asked);
    std::optional<base::LabelGate::Hold> inHand;
    QSignalSpy typed(&rig.station, &app::Station::typedLabelDone);
    if (then == "new item while asked")
        rig.station.typeLabel(QStringLiteral("%19LATER.CNC N"));
    else if (then == "label in hand while asked")
        inHand.emplace(app::StationProbe(rig.station).gate());
    const QStringList rows = rig.rows();
    QCOMPARE(QList<QVariantList>(typed),
             QList<QVariantList>(qsizetype(then == "new item while asked"), {true}));
    QCOMPARE(rig.station.takeBackLastItem(query.rows).isEmpty(), then == "nothing");
    QCOMPARE(rig.rows() == rows, then != "nothing");
    if (inHand) {
        // Asked while a label is in hand, the question comes once, when that label is done.
        QSignalSpy asked(&rig.station, &app::Station::takeBackAsked);
        rig.station.askTakeBack();
        rig.station.askTakeBack();
        QVERIFY(asked.isEmpty());
        inHand.reset();
        QTRY_COMPARE(asked.size(), 1);
    }
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

void tst_OperatorView::takeBackShown_data()
{
    columns<QString, bool, QString, int>({"then", "offered", "word", "taken"});
    // clang-format off
    QTest::newRow("nothing") << "" << true << "\u2714 OK" << 2;
    QTest::newRow("next item waits") << "%12NEXT.CNC N X" << true << "\u2026 WAITING" << 2;
    QTest::newRow("a label refused") << "%71ABC" << false << "\u2716 REFUSED" << 2;
    QTest::newRow("list cleared") << "%CLEAR%" << false << "\u2714 OK" << 2;
    QTest::newRow("taken back") << "take back" << false << "TAKEN BACK" << 1;
    // clang-format on
}

// The take-back button names the item it takes back, and is offered only while that item's
// rows are in the list and the result does not show a refusal (whose item it is not). Once
// the item is taken back, the result, the plan, the counters and the last pieces show the
// station without it.
void tst_OperatorView::takeBackShown()
{
    ShownStation shown;
    QVERIFY(shown.prepared);
    auto &[dir, prepared, clock, window, rig] = shown;
    QVERIFY(rig.start());
    for (const char *label : {"%19EARLIER.CNC N", "%12MIRDOOR.CNC N X", "%22500 300 18"})
        rig.scanWithTicks(label);
    QFETCH(QString, then);
    if (then == u"take back")
        QCOMPARE(rig.station.takeBackLastItem(rig.station.takeBackQuery().rows), QString());
    else if (then.startsWith(u"%C"))
        rig.station.typeLabel(then);
    else if (!then.isEmpty())
        rig.scanWithTicks(then.toLatin1());
    QCoreApplication::sendPostedEvents();
    auto *button = window.findChild<QPushButton *>(QStringLiteral("cmdTakeBack"));
    QTEST(button->isEnabled(), "offered");
    QCOMPARE(button->text(),
             button->isEnabled() ? u"Take back MIRDOOR.CNC" : u"Take back last item");
    QCOMPARE(window.findChild<QAction *>(QStringLiteral("actTakeBack"))->text(),
             button->isEnabled() ? u"Take &back MIRDOOR.CNC\u2026" : u"Take &back last item\u2026");
    QTEST(window.findChild<QLabel *>(QStringLiteral("lblResultWord"))->text(), "word");
    // A list command says what it did, on the result and in the recent scans.
    if (then == u"%CLEAR%") {
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblResultHeadline"))->text(),
                 u"List emptied (3 rows)");
        QCOMPARE(window.recentScans().index(0, app::RecentScansModel::Outcome).data().toString(),
                 u"List emptied (3 rows)");
    }
    QTEST(window.shiftCounts().taken(), "taken");
    QCOMPARE(window.shiftCounts().pieces().front().entry.program,
             fetch<int>("taken") == 1 ? u"EARLIER.CNC" : u"MIRDOOR.CNC");
    const auto *plan = window.findChild<fieldsel::TablePlanWidget *>(QStringLiteral("picTable"));
    QCOMPARE(plan->pieces().empty(), then == u"take back");
}

QTEST_MAIN(tst_OperatorView)
#include "tst_operatorview.moc"
