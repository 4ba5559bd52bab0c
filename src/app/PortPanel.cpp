#include "PortPanel.h"

#include "PanelLook.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace barlink::app {

namespace {

// The list's run states as the list manager names them, translated when shown: idle, running,
// held (the badge's), ended (the embedded list manager's window's).
constexpr const char *RunStateCaptions[] = {
    QT_TRANSLATE_NOOP("RunState", "Idle"),
    QT_TRANSLATE_NOOP("RunState", "Running"),
    QT_TRANSLATE_NOOP("RunState", "Held"),
    QT_TRANSLATE_NOOP("RunState", "Ended"),
};

// What the window leaves of the screen's width on each side, with its frame.
constexpr int ScreenMargin = 48;

} // namespace

PortPanel::PortPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_portRow = new QHBoxLayout;
    m_portRow->setObjectName(QStringLiteral("portRow"));
    m_badgeRow = new QHBoxLayout;
    m_badgeRow->setObjectName(QStringLiteral("badgeRow"));
    layout->addLayout(m_portRow);
    layout->addLayout(m_badgeRow);

    auto *portCaption = new QLabel(tr("Scanner port:"), this);
    portCaption->setObjectName(QStringLiteral("lblPortCaption"));
    m_portState = new QLabel(this);
    m_portState->setObjectName(QStringLiteral("lblPortState"));
    m_portState->setToolTip(tr("State of the scanner port"));
    // A long device name is clipped rather than widening the window.
    m_currentSettings = new QLabel(this);
    m_currentSettings->setObjectName(QStringLiteral("lblCurSettings"));
    m_currentSettings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QSizePolicy clipped = m_currentSettings->sizePolicy();
    clipped.setHorizontalPolicy(QSizePolicy::Ignored);
    m_currentSettings->setSizePolicy(clipped);
    m_portRow->addWidget(portCaption);
    m_portRow->addWidget(m_portState);
    m_portRow->addWidget(m_currentSettings, 1);

    // The list manager's list, at the end of the port's line.
    auto *listCaption = new QLabel(tr("List:"), this);
    m_listState = new QLabel(this);
    m_listState->setObjectName(QStringLiteral("lblListState"));
    m_listState->setToolTip(tr("The list manager's list: its state and its number of rows"));
    // Where the journal's entries go: shown for as long as it is not the journal file.
    auto *journalCaption = new QLabel(tr("Journal:"), this);
    m_journalState = new QLabel(this);
    m_journalState->setObjectName(QStringLiteral("lblJournalState"));
    // Entries lost are shown until the operator has seen them.
    m_journalLostOk = new QToolButton(this);
    m_journalLostOk->setObjectName(QStringLiteral("cmdJournalLostOk"));
    m_journalLostOk->setText(tr("OK"));
    m_journalLostOk->setToolTip(tr("I have seen that journal entries were lost"));
    connect(m_journalLostOk, &QToolButton::clicked, this, &PortPanel::lostEntriesSeen);
    // How far the entries have got to the shop's server: shown only where there is one.
    m_shopCaption = new QLabel(tr("Shop:"), this);
    m_shopState = new QLabel(this);
    m_shopState->setObjectName(QStringLiteral("lblShopState"));
    m_shopCaption->setVisible(false);
    m_shopState->setVisible(false);
    m_badges = {listCaption,
                m_listState,
                journalCaption,
                m_journalState,
                m_journalLostOk,
                m_shopCaption,
                m_shopState};
    for (QWidget *badge : std::as_const(m_badges))
        m_portRow->addWidget(badge);
    setListState({});
    setJournalState({});
    setPortState(base::OperatorDisplay::PortState::Closed, QString());
}

void PortPanel::setPortState(base::OperatorDisplay::PortState state, const QString &device)
{
    using PortState = base::OperatorDisplay::PortState;
    QString text;
    QString colour;
    switch (state) {
    case PortState::Open:
        text = tr("Open");
        colour = QStringLiteral("#2e7d32");
        break;
    case PortState::Waiting:
        text = tr("Waiting for the scanner");
        colour = QStringLiteral("#f57c00");
        break;
    case PortState::Closed:
        text = tr("Closed");
        colour = QStringLiteral("#616161");
        break;
    }
    m_portState->setText(text);
    m_portState->setToolTip(device.isEmpty() ? text : text + QStringLiteral(": ") + device);
    m_portState->setStyleSheet(badgeStyle(colour));
}

void PortPanel::setCurrentSettings(const QString &text)
{
    m_currentSettings->setText(text);
    m_currentSettings->setToolTip(text);
}

void PortPanel::fit()
{
    // The list's and the journal's badges beside the port's where the screen is wide enough
    // for all, else on a line of their own under it.
    int needed = 0;
    for (QLayout *row : {static_cast<QLayout *>(m_portRow), static_cast<QLayout *>(m_badgeRow)})
        for (int i = 0; i < row->count(); ++i)
            if (QWidget *widget = row->itemAt(i)->widget(); widget && !widget->isHidden())
                needed += widget->minimumSizeHint().width() + m_portRow->spacing();
    const QScreen *shownOn = screen();
    const bool oneRow
        = !shownOn || needed + 2 * ScreenMargin <= shownOn->availableGeometry().width();
    placeInRow(m_badges, oneRow, m_portRow, m_badgeRow);
}

void PortPanel::setListState(const listmanager::ListState &state)
{
    using listmanager::Reach;
    switch (state.reach) {
    case Reach::Reached:
        break;
    case Reach::Unknown:
        m_listState->setText(tr("not open"));
        m_listState->setToolTip(tr("The list manager has not answered yet."));
        m_listState->setStyleSheet(badgeStyle(QStringLiteral("#616161")));
        return;
    case Reach::NotRunning:
    case Reach::NotAnswering:
    case Reach::NoBus: {
        QString tip;
        if (state.reach == Reach::NotRunning) {
            m_listState->setText(tr("list manager not running"));
            tip = tr("No list manager holds the bus name %1: rows cannot be added. The next "
                     "label starts it again.")
                      .arg(state.service);
        } else if (state.reach == Reach::NotAnswering) {
            m_listState->setText(tr("list manager not answering"));
            tip = tr("The list manager %1 does not answer: rows cannot be added.")
                      .arg(state.service);
        } else {
            m_listState->setText(tr("no session bus"));
            tip = tr("Barlink reaches the list manager on the session bus, and there is none: "
                     "rows cannot be added. Start Barlink in a desktop session, or under "
                     "dbus-run-session.");
        }
        if (!state.detail.isEmpty())
            tip += u'\n' + state.detail;
        m_listState->setToolTip(tip);
        m_listState->setStyleSheet(badgeStyle(QStringLiteral("#c62828")));
        return;
    }
    }
    m_listState->setToolTip(tr("The list manager's list: its state and its number of rows"));
    if (!state.opened) {
        m_listState->setText(tr("not open"));
        m_listState->setStyleSheet(badgeStyle(QStringLiteral("#616161")));
        return;
    }
    // The list manager tells whether its list runs and which row the machine works on: a list
    // not in run with a row in work is held.
    const char *runState = state.inRun        ? RunStateCaptions[1]
                           : state.exeRow > 0 ? RunStateCaptions[2]
                                              : RunStateCaptions[0];
    const QString rowText = state.rows == 1 ? tr("1 row") : tr("%1 rows").arg(state.rows);
    m_listState->setText(QCoreApplication::translate("RunState", runState)
                         + QStringLiteral(" \u00b7 ") + rowText);
    m_listState->setStyleSheet(badgeStyle(state.inRun        ? QStringLiteral("#2e7d32")
                                          : state.exeRow > 0 ? QStringLiteral("#f57c00")
                                                             : QStringLiteral("#546e7a")));
}

void PortPanel::setJournalState(const journal::JournalState &state)
{
    using Place = journal::JournalState::Place;
    const QString since = state.since.toLocalTime().toString(QStringLiteral("HH:mm"));
    QString text;
    QStringList tips;
    QString colour = QStringLiteral("#2e7d32");
    if (state.takingBack && state.reason.isEmpty() && state.place != Place::Memory) {
        text = tr("taking in the spill file \u00b7 %1 %").arg(state.takenPercent);
        tips << tr("The entries kept in the spill file go into the journal file, a few at a time "
                   "between the scans. Every scan meanwhile is on the disk, in the spill file.");
        colour = QStringLiteral("#546e7a");
    } else if (state.place == Place::File) {
        text = tr("written");
        tips << tr("Every scan is on the disk before the scanner hears ACK.");
    } else if (state.place == Place::SpillFile) {
        text = tr("file not written since %1 · %2 kept in the spill file")
                   .arg(since)
                   .arg(state.spilled);
        tips << tr("The journal file cannot be written (%1). Every scan is still on the disk, in "
                   "the spill file, and goes into the journal file once it can be written.")
                    .arg(state.reason);
        colour = QStringLiteral("#f57c00");
    } else {
        text = tr("NOT WRITTEN · %1 held in memory since %2")
                   .arg(state.held)
                   .arg(state.heldSince.toLocalTime().toString(QStringLiteral("HH:mm")));
        tips << tr("Neither the journal file nor the spill file can be written (%1). Scans are "
                   "held in memory and are lost if Barlink ends before a file can be written.")
                    .arg(state.reason);
        colour = QStringLiteral("#c62828");
    }
    // What else needs a look goes after it, and turns a green badge orange.
    const QString orange = QStringLiteral("#f57c00");
    if (!state.spillUnreadable.isEmpty()) {
        text += QStringLiteral(" \u00b7 ") + tr("spill file unreadable");
        tips << tr("Entries wait in a spill file that cannot be read (%1). They go into the "
                   "journal file once it can be read.")
                    .arg(state.spillUnreadable);
        colour = state.place == Place::Memory ? colour : orange;
    }
    if (state.untidyLogBytes > 0) {
        text += QStringLiteral(" \u00b7 ") + tr("cannot be tidied");
        tips << tr("Another program is reading the journal file, so that its write-ahead log "
                   "(%1 MB) cannot be emptied; it is emptied once that program stops reading.")
                    .arg(double(state.untidyLogBytes) / (1 << 20), 0, 'f', 1);
        colour = state.place == Place::Memory ? colour : orange;
    }
    if (state.lostUnacknowledged > 0) {
        text += QStringLiteral(" \u00b7 ")
                + (state.lostUnacknowledged == 1
                       ? tr("1 entry lost")
                       : tr("%1 entries lost").arg(state.lostUnacknowledged));
        tips << tr("Journal entries could not be read back or kept; the journal's "
                   "\"entries-lost\" entry says which. Click OK once you have seen it.");
        colour = state.place == Place::Memory ? colour : orange;
    }
    m_journalState->setText(text);
    m_journalState->setToolTip(tips.join(u'\n'));
    m_journalState->setStyleSheet(badgeStyle(colour));
    m_journalLostOk->setVisible(state.lostUnacknowledged > 0);
}

void PortPanel::setShopState(const journal::ForwardState &state)
{
    m_shopCaption->setVisible(true);
    m_shopState->setVisible(true);
    if (state.upToDate()) {
        m_shopState->setText(tr("up to date"));
        m_shopState->setToolTip(tr("The shop's server has every entry of this station."));
        m_shopState->setStyleSheet(badgeStyle(QStringLiteral("#2e7d32")));
        return;
    }
    // The first words of the reason on the badge; the whole of it, the server's message
    // included, in its tool tip.
    const QString reason = state.reason.section(QLatin1Char(':'), 0, 0);
    QString text
        = state.waiting == 1 ? tr("1 entry waiting") : tr("%1 entries waiting").arg(state.waiting);
    if (state.since.isValid())
        text += tr(" since %1").arg(state.since.toLocalTime().toString(QStringLiteral("HH:mm")));
    if (!reason.isEmpty())
        text += QStringLiteral(" \u00b7 ") + reason;
    m_shopState->setText(text);
    m_shopState->setToolTip(state.reason.isEmpty() ? tr("On their way to the shop's server.")
                                                   : state.reason);
    m_shopState->setStyleSheet(
        badgeStyle(state.reason.isEmpty() ? QStringLiteral("#546e7a") : QStringLiteral("#f57c00")));
}

} // namespace barlink::app
