#pragma once

#include "journal/Entry.h"
#include "ui/OutcomePalette.h"

#include <QBrush>
#include <QVariant>

#include <optional>

namespace barlink::journal {

// The colours that make a label stand out, the same in the recent scans and in the journal
// window: refused, failed, taken with a warning; none for every other outcome.
inline std::optional<ui::OutcomeLook> outcomeLook(journal::Outcome outcome, bool warning = false)
{
    if (outcome == journal::Outcome::Refused)
        return ui::OutcomeLook::RowRefused;
    if (outcome == journal::Outcome::Failed)
        return ui::OutcomeLook::RowFailed;
    if (warning && outcome == journal::Outcome::Taken)
        return ui::OutcomeLook::RowWarning;
    return std::nullopt;
}

inline std::optional<ui::OutcomeLook> outcomeLook(const journal::Entry &entry)
{
    return outcomeLook(entry.outcome, journal::warns(entry));
}

// A row's background (Qt::BackgroundRole) or text (Qt::ForegroundRole) in the colours the
// windows have now; no value for a row that does not stand out or for another role.
inline QVariant outcomeBrush(std::optional<ui::OutcomeLook> look, int role)
{
    if (!look || (role != Qt::BackgroundRole && role != Qt::ForegroundRole))
        return {};
    const ui::OutcomeColours colours = ui::outcomeColours(*look);
    return QBrush(role == Qt::BackgroundRole ? colours.background : colours.text);
}

} // namespace barlink::journal
