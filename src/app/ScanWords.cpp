#include "ScanWords.h"

#include "label/FieldCodes.h"

#include <QCoreApplication>

namespace barlink::app {

namespace {

using journal::Entry;
using journal::Kind;
using journal::Outcome;
using journal::StationEvent;

QString takenWords(const Entry &entry)
{
    switch (entry.kind) {
    case Kind::Command:
        return QStringLiteral("Command carried out");
    case Kind::FieldCode: {
        // A field-code label is the code between its first and last character.
        const QString code = entry.label.mid(1, entry.label.size() - 2).trimmed();
        return QStringLiteral("Work field set for the next item: %1").arg(fieldWords(code));
    }
    case Kind::List:
        return QStringLiteral("List file loaded: %1").arg(entry.label.mid(3).trimmed());
    default:
        break;
    }
    QStringList parts;
    if (!entry.program.isEmpty())
        parts << entry.program;
    if (!entry.field.isEmpty())
        parts << fieldWords(entry.field);
    if (entry.rows.value_or(0) > 1)
        parts << QStringLiteral("%1 rows").arg(*entry.rows);
    if (parts.isEmpty())
        return QStringLiteral("Taken");
    return QStringLiteral("Taken: ") + parts.join(QStringLiteral(", "));
}

// "Taken, but NOPE.CNC is not in /cnc/: no dimensions": the warning says what is wrong with
// the rows that went.
QString warningWords(const Entry &entry)
{
    return QCoreApplication::translate("ScanWords", "Taken, but %1").arg(entry.reason);
}

QString waitingWords(const Entry &entry)
{
    // The entry holds the item as it stood after the label: what it still lacks is what the
    // operator scans next.
    const bool dimensions = !entry.x.isEmpty() || !entry.y.isEmpty();
    if (!entry.program.isEmpty() && !dimensions)
        return QStringLiteral("Waiting for the dimensions label");
    if (entry.program.isEmpty() && dimensions)
        return QStringLiteral("Waiting for the program label");
    return QStringLiteral("Waiting for the next label");
}

QString withDetail(const QString &words, const QString &detail)
{
    return detail.isEmpty() ? words : words + QStringLiteral(": ") + detail;
}

QString eventWords(const Entry &entry)
{
    if (entry.label == storedName(StationEvent::ListCleared)) {
        if (!entry.rows)
            return withDetail(QStringLiteral("List cleared"), entry.reason);
        return *entry.rows == 1 ? QStringLiteral("List cleared: 1 row left from before removed")
                                : QStringLiteral("List cleared: %1 rows left from before removed")
                                      .arg(*entry.rows);
    }
    static const std::pair<StationEvent, const char *> Words[] = {
        {StationEvent::Start, "Station started"},
        {StationEvent::End, "Station ended"},
        {StationEvent::PortOpened, "Scanner port opened"},
        {StationEvent::PortLost, "Scanner port lost"},
        {StationEvent::PortBack, "Scanner port back"},
        {StationEvent::ListStarted, "List started"},
        {StationEvent::ListHeld, "List held"},
        {StationEvent::ForwardingStalled, "Shop journal not reached"},
        {StationEvent::ForwardingResumed, "Shop journal reached again"},
        {StationEvent::ItemTakenBack, "Taken back"},
    };
    for (const auto &[event, words] : Words) {
        if (entry.label == storedName(event))
            return withDetail(QLatin1String(words), entry.reason);
    }
    return withDetail(entry.label, entry.reason);
}

} // namespace

QString fieldWords(const QString &code)
{
    const int position = label::FieldCodes::position(code);
    if (position == 0)
        return QStringLiteral("field %1").arg(label::FieldCodes::Count + 1);
    return QStringLiteral("field %1 (%2)").arg(position).arg(code);
}

QString plainWords(const Entry &entry)
{
    switch (entry.outcome) {
    case Outcome::Taken:
        return journal::warns(entry) ? warningWords(entry) : takenWords(entry);
    case Outcome::Waiting:
        return waitingWords(entry);
    case Outcome::Refused:
        return withDetail(QStringLiteral("Refused"), entry.reason);
    case Outcome::Failed:
        return withDetail(QStringLiteral("Failed"), entry.reason);
    case Outcome::Event:
        return eventWords(entry);
    }
    return {};
}

bool isRecentScan(const Entry &entry)
{
    if (entry.kind != Kind::StationEvent)
        return true;
    if (entry.label == storedName(StationEvent::ItemTakenBack))
        return true;
    return entry.label == storedName(StationEvent::ListCleared) && entry.rows.value_or(1) > 0;
}

} // namespace barlink::app
