#pragma once

#include "journal/Entry.h"

#include <QBrush>
#include <QColor>
#include <QVariant>

namespace barlink::journal {

// The background that makes a label stand out, the same in the recent scans and in the journal
// window: red for refused, a deeper red for failed, orange for taken with a warning; no value
// for every other outcome.
inline QVariant outcomeBackground(journal::Outcome outcome, bool warning = false)
{
    if (outcome == journal::Outcome::Refused)
        return QBrush(QColor(0xff, 0xcd, 0xd2));
    if (outcome == journal::Outcome::Failed)
        return QBrush(QColor(0xef, 0x9a, 0x9a));
    if (warning && outcome == journal::Outcome::Taken)
        return QBrush(QColor(0xff, 0xcc, 0x80));
    return {};
}

inline QVariant outcomeBackground(const journal::Entry &entry)
{
    return outcomeBackground(entry.outcome, journal::warns(entry));
}

} // namespace barlink::journal
