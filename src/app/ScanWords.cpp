#include "ScanWords.h"

#include "base/Reasons.h"
#include "label/FieldCodes.h"
#include "program/ProgramBarcode.h"

#include <QCoreApplication>

namespace barlink::app {

namespace {

using journal::Entry;
using journal::Kind;
using journal::Outcome;
using journal::StationEvent;

// The words of this file, translated under one name.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ScanWords)
};

// The list a list label names: "%01DEMO" (a segment) and "*%00DEMO^^" (a program label)
// both name DEMO.
QString listNameIn(const QString &label)
{
    const program::ProgramLabel parsed = program::parseProgramLabel(label);
    if (parsed.form == program::ProgramLabel::Form::ListLoad)
        return parsed.listName.trimmed();
    return label.mid(3).trimmed();
}


// What a list command did. %CLEAR% empties the list, which the entry before it tells with the
// rows it held; without that, it dropped the labels of the item so far.
QString commandWords(const Entry &entry, const Entry *before)
{
    if (entry.label == QLatin1String("%START%"))
        return Words::tr("List started");
    if (entry.label == QLatin1String("%STOP%"))
        return Words::tr("List held");
    if (entry.label == QLatin1String("%END%"))
        return Words::tr("List ended");
    if (entry.label != QLatin1String("%CLEAR%"))
        return Words::tr("Setpoint set");
    if (!before || before->label != storedName(StationEvent::ListCleared))
        return Words::tr("Labels of the item so far dropped; the list is as it was");
    if (!before->rows)
        return Words::tr("List emptied");
    return *before->rows == 1 ? Words::tr("List emptied (1 row)")
                              : Words::tr("List emptied (%1 rows)").arg(*before->rows);
}

QString takenWords(const Entry &entry, const Entry *before)
{
    switch (entry.kind) {
    case Kind::Command:
        return commandWords(entry, before);
    case Kind::FieldCode: {
        // A field-code label is the code between its first and last character.
        const QString code = entry.label.mid(1, entry.label.size() - 2).trimmed();
        return Words::tr("Work field set for the next item: %1").arg(fieldWords(code));
    }
    case Kind::List:
        return Words::tr("List file loaded: %1").arg(listNameIn(entry.label));
    default:
        break;
    }
    QStringList parts;
    if (!entry.program.isEmpty())
        parts << entry.program;
    if (!entry.field.isEmpty())
        parts << fieldWords(entry.field);
    if (entry.rows.value_or(0) > 1)
        parts << Words::tr("%1 rows").arg(*entry.rows);
    if (parts.isEmpty())
        return Words::tr("Taken");
    return Words::tr("Taken: ") + parts.join(QStringLiteral(", "));
}

// "Taken, but NOPE.CNC is not in /cnc/: no dimensions": the warning says what is wrong with
// the rows that went.
QString warningWords(const Entry &entry)
{
    return Words::tr("Taken, but %1").arg(entry.reason.shown());
}

QString waitingWords(const Entry &entry)
{
    // The entry holds the item as it stood after the label: what it still lacks is what the
    // operator scans next.
    const bool dimensions = !entry.x.isEmpty() || !entry.y.isEmpty();
    if (!entry.program.isEmpty() && !dimensions)
        return Words::tr("Waiting for the dimensions label");
    if (entry.program.isEmpty() && dimensions)
        return Words::tr("Waiting for the program label");
    return Words::tr("Waiting for the next label");
}

QString withDetail(const QString &words, const QString &detail)
{
    return detail.isEmpty() ? words : words + QStringLiteral(": ") + detail;
}

QString eventWords(const Entry &entry)
{
    if (entry.label == storedName(StationEvent::ListCleared)) {
        if (!entry.rows)
            return withDetail(Words::tr("List cleared"), entry.reason.shown());
        return *entry.rows == 1
                   ? Words::tr("List cleared: 1 row left from before removed")
                   : Words::tr("List cleared: %1 rows left from before removed").arg(*entry.rows);
    }
    static const std::pair<StationEvent, const char *> EventWords[] = {
        {StationEvent::Start, QT_TRANSLATE_NOOP("ScanWords", "Station started")},
        {StationEvent::End, QT_TRANSLATE_NOOP("ScanWords", "Station ended")},
        {StationEvent::PortOpened, QT_TRANSLATE_NOOP("ScanWords", "Scanner port opened")},
        {StationEvent::PortLost, QT_TRANSLATE_NOOP("ScanWords", "Scanner port lost")},
        {StationEvent::PortBack, QT_TRANSLATE_NOOP("ScanWords", "Scanner port back")},
        {StationEvent::ListStarted, QT_TRANSLATE_NOOP("ScanWords", "List started")},
        {StationEvent::ListHeld, QT_TRANSLATE_NOOP("ScanWords", "List held")},
        {StationEvent::ForwardingStalled,
         QT_TRANSLATE_NOOP("ScanWords", "Shop journal not reached")},
        {StationEvent::ForwardingResumed,
         QT_TRANSLATE_NOOP("ScanWords", "Shop journal reached again")},
        {StationEvent::ItemTakenBack, QT_TRANSLATE_NOOP("ScanWords", "Taken back")},
        {StationEvent::SpillUnreadable,
         QT_TRANSLATE_NOOP("ScanWords", "Spill file of the journal cannot be read")},
        {StationEvent::SpillReadable,
         QT_TRANSLATE_NOOP("ScanWords", "Spill file of the journal read again")},
        {StationEvent::LogUntidy, QT_TRANSLATE_NOOP("ScanWords", "Journal cannot be tidied")},
        {StationEvent::LogTidied, QT_TRANSLATE_NOOP("ScanWords", "Journal tidied again")},
    };
    for (const auto &[event, words] : EventWords) {
        if (entry.label == storedName(event))
            return withDetail(Words::tr(words), entry.reason.shown());
    }
    return withDetail(entry.label, entry.reason.shown());
}

} // namespace

namespace {

QString fieldWordsIn(const QString &code, bool translated)
{
    const auto words = [translated](const char *text) {
        return translated ? Words::tr(text) : QString::fromLatin1(text);
    };
    const int position = label::FieldCodes::position(code);
    if (position == 0)
        return words(QT_TRANSLATE_NOOP("ScanWords", "field %1")).arg(label::FieldCodes::Count + 1);
    return words(QT_TRANSLATE_NOOP("ScanWords", "field %1 (%2)")).arg(position).arg(code);
}

} // namespace

QString fieldWords(const QString &code)
{
    return fieldWordsIn(code, true);
}

QString storedFieldWords(const QString &code)
{
    return fieldWordsIn(code, false);
}

QString plainWords(const Entry &entry, const Entry *before)
{
    switch (entry.outcome) {
    case Outcome::Taken:
        return journal::warns(entry) ? warningWords(entry) : takenWords(entry, before);
    case Outcome::Waiting:
        return waitingWords(entry);
    case Outcome::Refused:
        return withDetail(Words::tr("Refused"), entry.reason.shown());
    case Outcome::Failed:
        return withDetail(Words::tr("Failed"), entry.reason.shown());
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

QString shownLine(const QString &text)
{
    constexpr qsizetype MaxShownCharacters = 200;
    qsizetype end = text.indexOf(QLatin1Char('\n'));
    const qsizetype cr = text.indexOf(QLatin1Char('\r'));
    if (cr >= 0 && (end < 0 || cr < end))
        end = cr;
    if (end < 0 && text.size() <= MaxShownCharacters)
        return text;
    if (end < 0 || end > MaxShownCharacters)
        end = MaxShownCharacters;
    return text.left(end) + QChar(0x2026);
}

} // namespace barlink::app
