#include "ScanResult.h"

#include "ScanWords.h"

#include "base/Reasons.h"

#include <QStringList>

namespace barlink::app {

namespace {

// A reason starts in lower case, as it follows "Refused: "; alone on the result it is a sentence.
QString sentence(const QString &text)
{
    if (text.isEmpty())
        return text;
    return text.front().toUpper() + text.mid(1);
}

// Each thing a taken label's entry says of it as a line of its own: the rows sent without a
// size, the list emptied of the rows from before.
QString notesOf(const base::Reason &reason)
{
    QStringList lines;
    for (const base::Reason &part : reason.parts())
        lines << sentence(part.shown());
    return lines.join(u'\n');
}

bool isScannedTwice(const journal::Entry &entry)
{
    return entry.reason.code() == base::Reason::Code::ScannedTwice;
}

} // namespace

ScanResult ScanResult::ready()
{
    return {.tone = Tone::Ready,
            .word = tr("READY"),
            .headline = {},
            .advice = {},
            .next = tr("Ready for the next piece")};
}

QString ScanResult::pieceWords(const journal::Entry &entry, const QStringList &fields)
{
    QStringList parts;
    if (!entry.program.isEmpty())
        parts << entry.program;
    QStringList fieldParts;
    for (const QString &field : fields.isEmpty() ? QStringList{entry.field} : fields) {
        if (!field.isEmpty())
            fieldParts << fieldWords(field);
    }
    if (!fieldParts.isEmpty())
        parts << fieldParts.join(QStringLiteral(" + "));
    if (!entry.x.isEmpty() || !entry.y.isEmpty())
        parts << tr("%1 \u00d7 %2 mm").arg(entry.x, entry.y);
    else if (!entry.program.isEmpty())
        parts << tr("size unknown");
    if (fields.isEmpty() && entry.rows.value_or(0) > 1)
        parts << tr("%1 rows").arg(*entry.rows);
    return parts.join(QStringLiteral(" \u00b7 "));
}

QString ScanResult::nextStep(const journal::Entry &entry)
{
    // After a label that sent rows the item is done, whatever the entry kept of it.
    if (entry.rows.value_or(0) > 0 && entry.outcome != journal::Outcome::Failed)
        return tr("Ready for the next piece");
    const bool program = !entry.program.isEmpty();
    const bool dimensions = !entry.x.isEmpty() || !entry.y.isEmpty();
    if (program && !dimensions)
        return tr("Scan the dimensions label of %1").arg(entry.program);
    if (!program && dimensions)
        return tr("Scan the program label for the piece of %1 \u00d7 %2 mm").arg(entry.x, entry.y);
    if (program && entry.outcome == journal::Outcome::Waiting)
        return tr("Scan the next label of %1").arg(entry.program);
    return tr("Ready for the next piece");
}

ScanResult ScanResult::of(const journal::Entry &entry, const journal::Entry *before)
{
    ScanResult result;
    result.next = nextStep(entry);
    switch (entry.outcome) {
    case journal::Outcome::Taken: {
        const QString piece = entry.rows.value_or(0) > 0 ? pieceWords(entry) : QString();
        result.headline = piece.isEmpty() ? plainWords(entry, before) : piece;
        // A taken label with a reason went through with something the operator should know.
        if (entry.reason.isEmpty()) {
            result.tone = Tone::Ok;
            result.word = tr("OK");
        } else {
            result.tone = Tone::Warning;
            result.word = tr("WARNING");
            result.advice = notesOf(entry.reason);
        }
        break;
    }
    case journal::Outcome::Waiting:
        result.tone = Tone::Waiting;
        result.word = tr("WAITING");
        result.headline = plainWords(entry);
        break;
    case journal::Outcome::Refused:
        result.tone = Tone::Refused;
        result.word = tr("REFUSED");
        result.headline = sentence(entry.reason.shown());
        result.advice = isScannedTwice(entry)
                            ? tr("It was not added again. To add one more of the same piece, "
                                 "scan it again.")
                            : tr("Nothing was added to the list. Check the label and scan it "
                                 "again, or type it with Edit.");
        break;
    case journal::Outcome::Failed:
        result.tone = Tone::Failed;
        result.word = tr("FAILED");
        result.headline = sentence(entry.reason.shown());
        result.advice = entry.rows.value_or(0) > 0
                            ? tr("Rows of this label are in the list already: look at the list "
                                 "before you scan it again.")
                            : tr("Nothing was added to the list. Put the cause right, then scan "
                                 "the label again.");
        break;
    case journal::Outcome::Event:
        // An item taken back: the band no longer shows it, and says where it went.
        if (entry.label != journal::storedName(journal::StationEvent::ItemTakenBack))
            return {};
        result.tone = Tone::Ready;
        result.word = tr("TAKEN BACK");
        result.headline = plainWords(entry);
        result.next = tr("Ready for the next piece");
        break;
    }
    return result;
}

} // namespace barlink::app
