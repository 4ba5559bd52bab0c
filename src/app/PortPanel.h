#pragma once

#include "base/OperatorDisplay.h"
#include "journal/ForwardState.h"
#include "journal/Journal.h"
#include "listmanager/ListWatch.h"

#include <QWidget>

class QBoxLayout;
class QLabel;
class QToolButton;

namespace barlink::app {

// The lasting states along the window's foot: the scanner port's state and line settings, and
// beside them (or on a line of their own under them where the screen is too narrow for both)
// the badges of the list manager's list, of the journal and of the shop's server.
class PortPanel : public QWidget
{
    Q_OBJECT
public:
    explicit PortPanel(QWidget *parent = nullptr);

    void setPortState(base::OperatorDisplay::PortState state, const QString &device);
    // The open port and its line settings ("COM1:9600,N,8,1").
    void setCurrentSettings(const QString &text);
    // The list manager's list (its run state and rows), or why the list manager cannot be
    // reached.
    void setListState(const listmanager::ListState &state);
    // Where the journal's entries go (a lasting badge beside the list's).
    void setJournalState(const journal::JournalState &state);
    // How far the entries have got to the shop's server (a badge shown once this is called).
    void setShopState(const journal::ForwardState &state);
    // The badges beside the port's where the screen is wide enough for all, else under it.
    void fit();

Q_SIGNALS:
    // The operator has seen that journal entries were lost.
    void lostEntriesSeen();

private:
    QBoxLayout *m_portRow = nullptr;
    QBoxLayout *m_badgeRow = nullptr;
    QLabel *m_portState = nullptr;
    QLabel *m_currentSettings = nullptr;
    QLabel *m_listState = nullptr;
    QLabel *m_journalState = nullptr;
    QToolButton *m_journalLostOk = nullptr;
    QLabel *m_shopCaption = nullptr;
    QLabel *m_shopState = nullptr;
    // The list's, the journal's and the shop's badges with their captions.
    QList<QWidget *> m_badges;
};

} // namespace barlink::app
