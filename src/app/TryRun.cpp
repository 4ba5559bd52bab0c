#include "TryRun.h"

#include "StandIns.h"
#include "Station.h"
#include "StationBuilder.h"
#include "base/Reasons.h"
#include "label/FieldCodes.h"
#include "label/ListRow.h"
#include "text/EscapedBytes.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <memory>

namespace barlink::app {

namespace {

// The account's words, translated under one name: the try window shows them in the operator's
// language; the command line, which runs before any translation is loaded, stays English.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(TryRun)
};

using Decision = base::LabelOutcome::Result;

// The poller's ticks one label may take at most: the quiet after its last byte, and the
// labels a scanner's burst holds.
constexpr int MaxTicksPerLabel = 1000;

// What the try run saw, in order, and what the station would show of it.
struct Account
{
    QStringList lines;
    // The status line texts and message boxes since the last takeShown(), as the account
    // words them.
    QStringList shown;
    void add(const QString &line) { lines << line; }
    void detail(const QString &line) { lines << QStringLiteral("    ") + line; }
    // A status line text or a message box: a line of the account and of the summary.
    void show(const QString &line)
    {
        detail(line);
        shown << line;
    }
    QStringList takeShown() { return std::exchange(shown, {}); }
};

// A status line text on one line of the account: a line end or other control character it
// holds (a label's rest shown while it is read) is written as the escapes of a label are.
QString oneLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\r')
            line += QStringLiteral("\\r");
        else if (c == u'\n')
            line += QStringLiteral("\\n");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            line += QStringLiteral("\\x")
                    + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            line += c;
    }
    return line;
}

// "#161=A.CNC;#162=;..." as lines of number, name and value: "161\tprogram\t\"A.CNC\"".
QStringList namedFields(const QString &row)
{
    static const QRegularExpression start(QStringLiteral("(?:^|;)#(\\d+)="));
    QStringList lines;
    QRegularExpressionMatchIterator it = start.globalMatch(row);
    QList<QRegularExpressionMatch> matches;
    while (it.hasNext())
        matches << it.next();
    for (qsizetype i = 0; i < matches.size(); ++i) {
        const qsizetype from = matches[i].capturedEnd();
        const qsizetype to = i + 1 < matches.size() ? matches[i + 1].capturedStart()
                                                    : row.size() - (row.endsWith(u';') ? 1 : 0);
        const int number = matches[i].captured(1).toInt();
        // Number, name and value apart, so that a window can lay them out as a table.
        lines << QStringLiteral("%1\t%2\t\"%3\"")
                     .arg(number)
                     .arg(label::rowFieldName(number), row.mid(from, to - from));
    }
    return lines;
}

// The item being collected, its filled parts only.
QString itemSoFar(const base::CurrentItem &item, const QString &segmentsSeen)
{
    QStringList parts;
    const auto part = [&parts](const QString &name, const QString &value) {
        if (!value.trimmed().isEmpty())
            parts << QStringLiteral("%1 %2").arg(name, value.trimmed());
    };
    part(Words::tr("program"), item.programName);
    part(Words::tr("comment"), item.itemComment);
    part(Words::tr("field"), item.runField);
    if (!item.dimX.trimmed().isEmpty() || !item.dimY.trimmed().isEmpty())
        parts << Words::tr("size %1 x %2 x %3")
                     .arg(item.dimX.trimmed(), item.dimY.trimmed(), item.dimZ.trimmed());
    for (std::size_t i = 0; i < item.itemVars.size(); ++i)
        part(QString(QLatin1Char(base::CurrentItem::VarLetters[i])), item.itemVars[i]);
    part(Words::tr("extra"), item.itemExtra);
    parts << Words::tr("segments in: %1").arg(segmentsSeen);
    return parts.join(QStringLiteral(", "));
}

// fields: the work field of each row the label added.
QString outcomeWords(const base::LabelOutcome &outcome, const QStringList &fields)
{
    if (outcome.warns()) {
        base::LabelOutcome taken = outcome;
        taken.reason = {};
        return outcomeWords(taken, fields) + Words::tr(", but ") + outcome.reason.shown();
    }
    switch (outcome.result) {
    case Decision::Taken:
        if (fields.isEmpty())
            return Words::tr("taken");
        if (fields.size() == 1)
            return Words::tr("taken: sent once, field %1").arg(fields.front());
        return Words::tr("taken: sent %1 (normal and mirrored), fields %2")
            .arg(fields.size() == 2 ? Words::tr("twice") : Words::tr("%1 times").arg(fields.size()),
                 fields.join(QStringLiteral(", ")));
    case Decision::Waiting:
        return Words::tr("waiting for the next label");
    case Decision::Refused:
        return Words::tr("refused: ") + outcome.reason.shown();
    case Decision::Failed:
        return Words::tr("failed: ") + outcome.reason.shown();
    }
    return {};
}

} // namespace

TryRun::TryRun(QString programDir, QString windowsDir)
    : m_programDir(std::move(programDir))
    , m_windowsDir(std::move(windowsDir))
{}

TryRun::Result TryRun::run(const QList<QByteArray> &labels) const
{
    Account account;
    MemoryDisplay display;
    MemoryPrompter prompter;
    InstantPacer pacer;
    MemoryScannerPort port;
    RecordingListManager listManager;
    QObject::connect(&display, &MemoryDisplay::statusChanged, [&account](const QString &text) {
        account.show(Words::tr("status line: ") + oneLine(text));
    });
    QObject::connect(&prompter, &MemoryPrompter::boxShown, [&account](QString text) {
        account.show(Words::tr("message box: ") + text.replace(u'\n', u' '));
    });
    QObject::connect(&port, &MemoryScannerPort::written, [&account](const QByteArray &bytes) {
        account.detail(Words::tr("the scanner would hear \"%1\"").arg(text::escapeBytes(bytes)));
    });
    QObject::connect(&listManager, &RecordingListManager::told, [&account](const QString &change) {
        account.detail(change);
    });

    // The station is never started: no lock, no port, no journal. Its settings are read as
    // start-up reads them, and nothing it would write is written.
    account.add(Words::tr("Settings"));
    StationBuilder builder(display, prompter, pacer, port, listManager);
    const std::unique_ptr<Station> built = builder.mode(StationBuilder::Mode::Try)
                                               .folders(m_programDir, m_windowsDir)
                                               .writes(false)
                                               .build();
    Station &station = *built;
    if (builder.settingsRead())
        account.detail(Words::tr("read from ") + station.settings().settingsFilePath);
    for (const base::Reason &problem : std::as_const(station.settings().problems))
        account.detail(problem.shown());
    // The item is left as start-up leaves it, not reset: on a freshly started station the first
    // item's comment (162) and fields 282 and 223 are empty where no label or program file
    // fills them; only after an item has been sent do they carry a blank.
    account.detail(Words::tr("tried as a freshly started station: nothing scanned before"));

    Result result;
    for (const QString &line : account.takeShown())
        result.summary << line;
    // Each label's own outcome, rows and field choices; a label the scanner sends may hold
    // several that are handled one by one (a compressed label, "%N%" before a text).
    base::LabelOutcome outcome;
    QStringList pieceFields;
    qsizetype boxesBefore = 0;
    QObject::connect(
        &station, &Station::rowTried, &station, [&](const QString &field, QStringList why) {
            pieceFields << field;
            const QString row = listManager.addedRows().constLast();
            result.rows << row;
            account.detail(Words::tr("row %1 in work field %2 (number %3)")
                               .arg(result.rows.size())
                               .arg(field)
                               .arg(label::FieldCodes::position(field)));
            if (!why.isEmpty()) {
                account.detail(Words::tr("  field chosen from the table: ") + why.takeFirst());
                for (const QString &line : std::as_const(why))
                    account.detail(QStringLiteral("    ") + line);
            } else {
                account.detail(Words::tr("  field as the labels or the default field give it"));
            }
            account.detail(Words::tr("  the eighteen fields:"));
            for (const QString &line : namedFields(row))
                account.detail(QStringLiteral("    ") + line);
        });
    QStringList handled;
    QObject::connect(
        &station,
        &Station::labelHandled,
        &station,
        [&](const QString &, const base::LabelOutcome &decided) {
            outcome = decided;
            QString words = outcomeWords(decided, std::exchange(pieceFields, {}));
            // The station takes no label while a message box waits for its answer.
            if (prompter.shown.size() != boxesBefore) {
                words = Words::tr("held by a message box until it is answered, then ") + words;
                result.allTaken = false;
            }
            boxesBefore = prompter.shown.size();
            handled << words;
            if (decided.result == Decision::Refused || decided.result == Decision::Failed)
                result.allTaken = false;
        });

    // Whether the segments taken in wait for more: a label left waiting makes them wait, rows
    // sent after it (a "^" label sends the item as it stands) do not.
    bool segmentsWait = false;
    for (const QByteArray &label : labels) {
        const qsizetype rowsBefore = result.rows.size();
        const QString shown = text::escapeBytes(label);
        account.add(Words::tr("Label \"%1\"").arg(shown));
        handled.clear();
        pieceFields.clear();
        boxesBefore = prompter.shown.size();
        outcome = {};
        // Read and handled at once, as the poller would over its intervals: each label the
        // scanner's bytes hold, one by one.
        port.received = label;
        station.readScannerNow(MaxTicksPerLabel);
        for (const QString &words : std::as_const(handled))
            account.detail(words);
        if (outcome.result == Decision::Waiting)
            segmentsWait = true;
        else if (result.rows.size() != rowsBefore)
            segmentsWait = false;
        if (outcome.result == Decision::Waiting)
            account.detail(Words::tr("item so far: ")
                           + itemSoFar(station.item(), station.segmentsSeen()));
        for (const base::Reason &skipped : station.takeNotWritten())
            account.detail(Words::tr("not written: ") + skipped.shown());
        result.summary << QStringLiteral("%1: %2").arg(
            shown, handled.isEmpty() ? Words::tr("nothing to handle") : handled.join(u"; "));
        for (const QString &line : account.takeShown())
            result.summary << QStringLiteral("    ") + line;
    }
    if (!station.segmentsSeen().isEmpty() && segmentsWait) {
        result.itemWaiting = true;
        result.summary << Words::tr("The last item is not complete: nothing of it was sent.");
    } else if (!station.segmentsSeen().isEmpty()) {
        // The segment labels' count is only emptied by a completed item, %CLEAR% or a list
        // label: a label of a type already taken in is refused until then.
        result.summary << Words::tr("The item was sent; the segments taken in before it (%1) "
                                    "still count for the next labels.")
                              .arg(station.segmentsSeen());
    }
    result.account = account.lines;
    return result;
}

int TryRun::Result::exitStatus() const
{
    if (!allTaken)
        return 1;
    return itemWaiting ? 3 : 0;
}

int runTryCommand(const QStringList &arguments,
                  const QString &programDir,
                  const QString &windowsDir,
                  QTextStream &out,
                  QTextStream &err)
{
    const qsizetype at = arguments.indexOf(QLatin1String("--try"));
    const QStringList texts = at < 0 ? QStringList() : arguments.mid(at + 1);
    if (texts.isEmpty()) {
        err << "barlink: --try needs one or more labels: barlink --try LABEL...\n";
        return 2;
    }
    QList<QByteArray> labels;
    for (const QString &text : texts) {
        const text::EscapedBytes label = text::unescapeBytes(text);
        if (!label.ok()) {
            err << QStringLiteral("barlink: the label \"%1\" cannot be read: %2\n")
                       .arg(text, label.error.english());
            return 2;
        }
        labels << label.bytes;
    }
    const TryRun::Result result = TryRun(programDir, windowsDir).run(labels);
    for (const QString &row : result.rows)
        out << row << '\n';
    out.flush();
    for (const QString &line : result.summary)
        err << line << '\n';
    err.flush();
    return result.exitStatus();
}

} // namespace barlink::app
