#include "StationDisplay.h"

#include "MainWindow.h"
#include "PlanCaption.h"
#include "ScanWords.h"
#include "Station.h"
#include "TakeBack.h"
#include "fieldsel/PiecePlan.h"

namespace barlink::app {

void showStationOn(Station &station, MainWindow &window)
{
    window.bindOptions(station.options());
    QObject::connect(&window, &MainWindow::labelTyped, &station, &Station::typeLabel);
    QObject::connect(&station, &Station::typedLabelDone, &window, &MainWindow::typedLabelDone);
    QObject::connect(&window, &MainWindow::takeBackRequested, &station, &Station::askTakeBack);
    QObject::connect(
        &window, &MainWindow::lostEntriesSeen, &station, &Station::acknowledgeLostEntries);
    QObject::connect(&window, &MainWindow::closed, &station, &Station::shutdown);
    QObject::connect(&station, &Station::portStateChanged, &window, &MainWindow::setPortState);
    QObject::connect(
        &station, &Station::journalStateChanged, &window, &MainWindow::setJournalState);
    QObject::connect(&station, &Station::shopStateChanged, &window, &MainWindow::setShopState);

    // The window hears of an entry once the label is done, and of its pieces in the same pass:
    // the scanner's "ACK" never waits for the window, and the plan changes with the result.
    QObject::connect(
        &station, &Station::entryMade, &window, &MainWindow::showEntry, Qt::QueuedConnection);
    // The take-back action is offered while the last item's rows are in the list as far as the
    // station knows (a cleared list, or the item taken back, holds none), named on the button,
    // and never while the result shows a refusal: the operator would take back the good item
    // before it. Whether the list still lets it go is asked when the operator presses it, and
    // the answer says why not. Once taken back, the plan no longer shows it.
    QObject::connect(
        &station,
        &Station::entryMade,
        &window,
        [&station, &window](const journal::Entry &entry) {
            const bool takenBack
                = entry.label == journal::storedName(journal::StationEvent::ItemTakenBack);
            if (entry.kind == journal::Kind::StationEvent && !takenBack
                && entry.label != journal::storedName(journal::StationEvent::ListCleared))
                return;
            if (takenBack)
                window.setPieces(fieldsel::tablePlan(station.fieldSelection(), {}, 0, 0),
                                 plainWords(entry));
            const SentItem &item = station.lastItem();
            const bool refused = entry.outcome == journal::Outcome::Refused
                                 || entry.outcome == journal::Outcome::Failed;
            if (refused)
                window.setTakeBackAvailable(false, TakeBack::notAfterRefusal());
            else
                window.setTakeBackAvailable(!item.rows.isEmpty(),
                                            item.rows.isEmpty() ? TakeBack::nothingSent()
                                                                : item.program);
        },
        Qt::QueuedConnection);
    QObject::connect(
        &station,
        &Station::itemPlaced,
        &window,
        [&station, &window](
            const QStringList &fields, const QString &x, const QString &y, const QString &program) {
            fieldsel::TablePlan plan
                = fieldsel::tablePlan(station.fieldSelection(), fields, x.toDouble(), y.toDouble());
            const QString caption = planCaption(program, x, y, plan.pieces);
            window.setPieces(std::move(plan), caption);
            // A piece sent as normal and mirror is told entry by entry: the result names both.
            if (fields.size() > 1) {
                journal::Entry piece;
                piece.program = program;
                piece.x = x;
                piece.y = y;
                window.showPiecePair(piece, fields);
            }
        },
        Qt::QueuedConnection);
}

} // namespace barlink::app
