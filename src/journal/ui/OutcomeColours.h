#pragma once

#include "journal/Entry.h"

#include <QBrush>
#include <QColor>
#include <QVariant>

namespace barlink::journal {

// The background that makes a refused or failed label stand out, the same in the recent scans
// and in the journal window; no value for every other outcome.
inline QVariant outcomeBackground(journal::Outcome outcome)
{
    if (outcome == journal::Outcome::Refused)
        return QBrush(QColor(0xff, 0xcd, 0xd2));
    if (outcome == journal::Outcome::Failed)
        return QBrush(QColor(0xff, 0xe0, 0xb2));
    return {};
}

} // namespace barlink::journal
