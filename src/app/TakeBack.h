#pragma once

#include "listmanager/ListManagerLink.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace barlink::app {

// The rows the last item put into the list, as the station saw them go: what taking the item
// back would remove.
struct SentItem
{
    QString program;
    QStringList fields;   // the work field of each row
    QStringList rows;     // the rows' texts, in order
    qint32 listRows = -1; // the list's row count right after them; -1: the list did not tell
};

// Whether the last item can be taken back out of the list: only while its rows are still the
// last rows of the list, untouched, and the list does not run nor has the machine on them.
class TakeBack
{
    Q_DECLARE_TR_FUNCTIONS(TakeBack)

public:
    // Why the item cannot be taken back from a list whose end is `end`, in plain words; empty
    // when it can.
    [[nodiscard]] static QString refusal(const SentItem &item,
                                         const listmanager::ListManagerLink::ListEnd &end);
    // Why not, when no item is there to take back, or the list cannot tell its rows.
    [[nodiscard]] static QString nothingSent();
    // Why not, while the result shows a label refused or failed: the button would take back
    // the item before it.
    [[nodiscard]] static QString notAfterRefusal();
    [[nodiscard]] static QString listSilent(const QString &error);
    // The rows named for the operator: "row 7: PANEL.CNC, field 3 (S)", given the line of
    // the first.
    [[nodiscard]] static QStringList rowNames(const SentItem &item, qint32 firstLine);
    // The question that asks the operator to confirm, above the rows' names.
    [[nodiscard]] static QString question();
};

} // namespace barlink::app
