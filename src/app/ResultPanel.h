#pragma once

#include "ScanResult.h"
#include "journal/Entry.h"
#include "listmanager/ListWatch.h"

#include <QWidget>

#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QHBoxLayout;

namespace barlink::base {
class Clock;
class Timer;
} // namespace barlink::base

namespace barlink::app {

// What the operator reads first, from a few metres: the result of the label handled last (a
// word on its colour, the reason, the advice, the last label and what comes next) with the
// button that takes the last item back; while the scanner is lost, that state in its place,
// the last result on a line under it.
class ResultPanel : public QWidget
{
    Q_OBJECT
public:
    // clock: the time a refusal stays after a later item was taken.
    explicit ResultPanel(base::Clock &clock, QWidget *parent = nullptr);
    ~ResultPanel() override;

    // A label's journal entry: its result and the last label's line; an item taken back
    // likewise. Other station events leave the band as it is.
    void showEntry(const journal::Entry &entry);
    // A piece sent as normal and mirror: the result and the last label's line, when it is
    // taken, name both fields.
    void showPiecePair(const journal::Entry &piece, const QStringList &fields);
    // The list manager's list as it is now: told under the result of a list command.
    void setListState(const listmanager::ListState &state);
    // Whether the last item can be taken back now; what: the item's program, which the button
    // names, or why not.
    void setTakeBackAvailable(bool available, const QString &what);
    // The item's program as a button or a menu item names it: cut short where it is long,
    // its "&" shown as itself rather than taken for a shortcut.
    static QString takeBackName(const QString &what);
    // The band says since when (a time, or a day and a time) the port waits for its scanner;
    // device may be empty. An empty since brings the last result back.
    void setScannerLost(const QString &since, const QString &device);
    [[nodiscard]] bool scannerLostShown() const;
    // The button in the order Tab goes through the window.
    [[nodiscard]] QList<QWidget *> tabOrder() const;
    // At each text size: the band keeps one height for the usual results and room for its
    // texts beside the word.
    void keepMinimumSize();

Q_SIGNALS:
    void takeBackClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // High contrast on or off: the band and the kept refusal take the scheme's colours.
    void changeEvent(QEvent *event) override;

private:
    void showResult(const ScanResult &result);
    // The result, or the scanner's absence over it.
    void showBand();
    // The last label's line, cut to its width; or, while a refusal the band no longer shows is
    // not yet seen, that refusal in its place.
    void showLastLabel();
    // The operator has seen the refusal (Enter on the band, or a touch on it).
    void refusalSeen();

    QFrame *m_band = nullptr;
    QHBoxLayout *m_bandLayout = nullptr;
    QVBoxLayout *m_texts = nullptr;
    QLabel *m_word = nullptr;
    QPushButton *m_takeBack = nullptr;
    QLabel *m_headline = nullptr;
    QLabel *m_advice = nullptr;
    QLabel *m_lastLabel = nullptr;
    QString m_lastLabelText; // the last entry's label, as the line under the headline shows it
    QLabel *m_next = nullptr;
    // The last result, while the scanner's absence takes its place.
    QLabel *m_before = nullptr;
    ScanResult m_result;
    // Since when the scanner is away (empty: it is there), and the device waited for.
    QString m_lostSince;
    QString m_lostDevice;
    // The last label refused (or failed) until the operator has seen it: it stays on the band
    // once a later result takes the band's place, until a later item has been taken and
    // RefusalKeptMilliseconds have passed, or the operator says it is seen.
    QString m_refusal;
    // The entry given last, and whether the result is a list command's; the list's state.
    journal::Entry m_previous;
    bool m_command = false;
    listmanager::ListState m_listState;
    bool m_refusalInBand = false;
    std::unique_ptr<base::Timer> m_refusalTimer;
};

} // namespace barlink::app
