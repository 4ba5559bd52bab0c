#include "Reasons.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace barlink::base {

namespace {

struct Words
{
    const char *name; // what the journal keeps
    const char *text; // the English words, %1, %2... for the arguments
};

// In the order of Reason::Code.
constexpr Words Table[] = {
    {"", ""},
    {"several", ""},
    {"sentences", ""},
    {"scanned-twice",
     QT_TRANSLATE_NOOP("Reason", "scanned twice: the same piece as the item taken %1 s before")},
    {"unsafe-name", QT_TRANSLATE_NOOP("Reason", "Name refused: %1 reaches outside its folder.")},
    {"value-with-semicolon",
     QT_TRANSLATE_NOOP("Reason",
                       "%1 refused: %2 holds \";\", which would end a field of the list row.")},
    {"value-with-control",
     QT_TRANSLATE_NOOP("Reason",
                       "%1 refused: %2 holds a control character, which no list row can carry.")},
    {"name-value", QT_TRANSLATE_NOOP("Reason", "Name")},
    {"dimension-value", QT_TRANSLATE_NOOP("Reason", "Dimension %1")},
    {"work-field-value", QT_TRANSLATE_NOOP("Reason", "Work field")},
    {"no-program-named",
     QT_TRANSLATE_NOOP("Reason", "no program is named: a row is never sent without one")},
    {"holds-no-segment-start",
     QT_TRANSLATE_NOOP("Reason",
                       "the label holds %1 but does not start with %, so it is no segment")},
    {"too-short-for-segment",
     QT_TRANSLATE_NOOP("Reason", "the label is too short to be a segment")},
    {"unknown-segment",
     QT_TRANSLATE_NOOP("Reason", "the label starts with %%1, which is no known segment")},
    {"segment-twice", QT_TRANSLATE_NOOP("Reason", "segment %%1 was already scanned for this item")},
    {"no-work-field", QT_TRANSLATE_NOOP("Reason", "no work field chosen")},
    {"no-program-no-dimensions",
     QT_TRANSLATE_NOOP("Reason", "the item names no program: no dimensions")},
    {"program-not-in-folder", QT_TRANSLATE_NOOP("Reason", "%1 is not in %2: no dimensions")},
    {"current-folder", QT_TRANSLATE_NOOP("Reason", "the current folder")},
    {"only-blanks",
     QT_TRANSLATE_NOOP("Reason",
                       "ignored: the label is nothing but blanks and control characters once the "
                       "scanner's line end is removed")},
    {"unreadable", QT_TRANSLATE_NOOP("Reason", "it could not be read: %1")},
    {"no-hardware", QT_TRANSLATE_NOOP("Reason", "The hardware is not available: %1")},
    {"no-hardware-because", QT_TRANSLATE_NOOP("Reason", "The hardware is not available: %1 (%2)")},
    {"invalid-port", QT_TRANSLATE_NOOP("Reason", "Invalid port number: %1")},
    {"invalid-port-because", QT_TRANSLATE_NOOP("Reason", "Invalid port number: %1 (%2)")},
    {"port-open", QT_TRANSLATE_NOOP("Reason", "Port already open: %1")},
    {"port-open-because", QT_TRANSLATE_NOOP("Reason", "Port already open: %1 (%2)")},
    {"no-comm-state", QT_TRANSLATE_NOOP("Reason", "Could not set comm state: %1")},
    {"no-comm-state-because", QT_TRANSLATE_NOOP("Reason", "Could not set comm state: %1 (%2)")},
    {"port-busy",
     QT_TRANSLATE_NOOP("Reason", "Port already open: another program uses the scanner on %1")},
    {"port-not-allowed",
     QT_TRANSLATE_NOOP(
         "Reason",
         "Permission denied: %1. This user is not allowed to use serial devices; an administrator "
         "must allow it (on Debian: add the user to the dialout group, then log in again)")},
    {"not-used", QT_TRANSLATE_NOOP("Reason", "%1=%2 is not used: %3. %4")},
    {"whole-days", QT_TRANSLATE_NOOP("Reason", "a whole number of days from 0 to %1 is expected")},
    {"whole-seconds",
     QT_TRANSLATE_NOOP("Reason", "a whole number of seconds from 0 to %1 is expected")},
    {"decimal-range",
     QT_TRANSLATE_NOOP("Reason",
                       "a number from %1 to %2 is expected, with a point before any decimals")},
    {"whole-milliseconds",
     QT_TRANSLATE_NOOP("Reason", "a whole number of milliseconds from %1 to %2 is expected")},
    {"zero-or-one", QT_TRANSLATE_NOOP("Reason", "0 or 1 is expected")},
    {"time-of-day", QT_TRANSLATE_NOOP("Reason", "a time of day as HH:MM (06:00) is expected")},
    {"station-name-rule",
     QT_TRANSLATE_NOOP("Reason", "at most %1 characters without a control character are expected")},
    {"connection-string",
     QT_TRANSLATE_NOOP("Reason",
                       "%1, and a libpq connection string is expected (\"host=... dbname=... "
                       "user=...\" or \"postgresql://...\")")},
    {"too-long", QT_TRANSLATE_NOOP("Reason", "it is longer than %1 characters")},
    {"holds-control", QT_TRANSLATE_NOOP("Reason", "it holds a control character")},
    {"address-blanks", QT_TRANSLATE_NOOP("Reason", "a postgresql:// address holds no blanks")},
    {"keyword-expected",
     QT_TRANSLATE_NOOP("Reason", "a keyword is expected before the \"=\" at character %1")},
    {"no-equals", QT_TRANSLATE_NOOP("Reason", "\"%1\" is not followed by \"=\" and a value")},
    {"no-closing-quote", QT_TRANSLATE_NOOP("Reason", "the value of \"%1\" has no closing quote")},
    {"used-instead", QT_TRANSLATE_NOOP("Reason", "%1 is used instead.")},
    {"zero-instead",
     QT_TRANSLATE_NOOP("Reason", "0 is used instead: an item scanned twice is not refused.")},
    {"usual-colours", QT_TRANSLATE_NOOP("Reason", "The usual colours are used.")},
    {"midnight-counters", QT_TRANSLATE_NOOP("Reason", "The counters start at midnight.")},
    {"no-sound", QT_TRANSLATE_NOOP("Reason", "No sound is played.")},
    {"usual-targets", QT_TRANSLATE_NOOP("Reason", "Buttons and boxes keep their usual size.")},
    {"list-window-as-opened",
     QT_TRANSLATE_NOOP("Reason", "The list manager's window stays where it opens.")},
    {"no-refuse-reply",
     QT_TRANSLATE_NOOP("Reason", "Nothing is sent to the scanner when a label is refused.")},
    {"label-end-controls",
     QT_TRANSLATE_NOOP(
         "Reason",
         "only control characters are expected: \\r, \\n, or \\xHH from \\x00 to \\x1f or \\x7f")},
    {"quiet-label-end",
     QT_TRANSLATE_NOOP("Reason",
                       "A label ends when the scanner has been quiet for two poll intervals.")},
    {"bus-name-rule",
     QT_TRANSLATE_NOOP("Reason",
                       "a bus name of two or more parts joined by \".\" is expected, each of "
                       "letters, digits, _ and -, none beginning with a digit")},
    {"host-name", QT_TRANSLATE_NOOP("Reason", "The host name is used instead.")},
    {"not-forwarded", QT_TRANSLATE_NOOP("Reason", "Nothing is forwarded to a shop-wide journal.")},
    {"ack-in-reply",
     QT_TRANSLATE_NOOP(
         "Reason",
         "RefuseReply=%1 holds \"ACK\" and a carriage return, which the scanner hears when a label "
         "is taken: it may take a refused label for a taken one. It is used as written.")},
    {"poll-too-long",
     QT_TRANSLATE_NOOP("Reason",
                       "CommPollTime=%1 is more than %2 ms, which would keep a scanned label "
                       "waiting for its answer too long: %2 is used instead.")},
    {"poll-range",
     QT_TRANSLATE_NOOP("Reason", "a whole number of milliseconds from 100 to %1 is expected")},
    {"port-number-range", QT_TRANSLATE_NOOP("Reason", "a port number of at most %1 is expected")},
    {"switch-values", QT_TRANSLATE_NOOP("Reason", "0, 1 or 2 is expected")},
    {"key-given-twice",
     QT_TRANSLATE_NOOP(
         "Reason", "%1 is given on line %2 and again on line %3: the value on line %2 is used.")},
    {"section-given-twice",
     QT_TRANSLATE_NOOP(
         "Reason",
         "[%1] is given on line %2 and again on line %3: nothing from line %3 on is read.")},
    {"no-single-byte",
     QT_TRANSLATE_NOOP("Reason", "\"%1\" has no single-byte code at character %2")},
    {"lone-backslash", QT_TRANSLATE_NOOP("Reason", "a lone \\ at the end at character %1")},
    {"short-hex-escape",
     QT_TRANSLATE_NOOP("Reason", "\\x without two hexadecimal digits at character %1")},
    {"no-escape",
     QT_TRANSLATE_NOOP("Reason", "\\%1 is no escape (\\r, \\n, \\xHH, \\\\) at character %2")},
    {"program-abandoned", QT_TRANSLATE_NOOP("Reason", "Program barcode abandoned: %1")},
    {"list-manager-failed", QT_TRANSLATE_NOOP("Reason", "the list manager failed to %1: %2")},
    {"add-row", QT_TRANSLATE_NOOP("Reason", "add the row")},
    {"start-list", QT_TRANSLATE_NOOP("Reason", "start the list")},
    {"clear-list", QT_TRANSLATE_NOOP("Reason", "clear the list")},
    {"no-program-file", QT_TRANSLATE_NOOP("Reason", "it names no program file.")},
    {"program-not-written",
     QT_TRANSLATE_NOOP("Reason", "the program file %1 could not be written (%2).")},
    {"list-file-not-found", QT_TRANSLATE_NOOP("Reason", "List File %1 Not Found")},
    {"rows-added-after", QT_TRANSLATE_NOOP("Reason", "%1 Rows of this item already added: %2.")},
    {"rows-added-after-sentence",
     QT_TRANSLATE_NOOP("Reason", "%1. Rows of this item already added: %2.")},
    {"list-emptied", QT_TRANSLATE_NOOP("Reason", "list emptied: %1 rows from before")},
    {"list-emptied-one", QT_TRANSLATE_NOOP("Reason", "list emptied: 1 row from before")},
    {"list-emptied-uncounted",
     QT_TRANSLATE_NOOP("Reason", "list emptied: the list did not tell how many rows it held")},
    {"program-file-write", QT_TRANSLATE_NOOP("Reason", "program file %1 (%2 bytes)")},
    {"companion-csv-move", QT_TRANSLATE_NOOP("Reason", "companion CSV %1 moved into %2")},
    {"no-session-bus",
     QT_TRANSLATE_NOOP("Reason",
                       "no session bus: Barlink reaches the list manager over the session bus. "
                       "Start Barlink in a desktop session, or under dbus-run-session")},
    {"list-manager-no-answer",
     QT_TRANSLATE_NOOP("Reason", "the list manager %1 did not answer within %2 s")},
    {"list-manager-ended", QT_TRANSLATE_NOOP("Reason", "the list manager %1 ended")},
    {"list-manager-not-running",
     QT_TRANSLATE_NOOP("Reason", "the list manager %1 is not running and cannot be started: %2")},
    {"program-did-not-start", QT_TRANSLATE_NOOP("Reason", "%1 did not take the name in time")},
    {"comment-cleaned",
     QT_TRANSLATE_NOOP("Reason",
                       "the program's comment held \";\" or a control character: sent with a "
                       "space in its place")},
    {"at-path", QT_TRANSLATE_NOOP("Reason", "%1: %2")},
    {"file-not-found", QT_TRANSLATE_NOOP("Reason", "File not found")},
    {"path-not-found", QT_TRANSLATE_NOOP("Reason", "Path not found")},
    {"permission-denied", QT_TRANSLATE_NOOP("Reason", "Permission denied")},
    {"disk-full", QT_TRANSLATE_NOOP("Reason", "Disk full")},
    {"path-file-access-error", QT_TRANSLATE_NOOP("Reason", "Path/File access error")},
    {"device-io-error", QT_TRANSLATE_NOOP("Reason", "Device I/O error")},
    {"out-of-memory", QT_TRANSLATE_NOOP("Reason", "Out of memory")},
    {"overflow", QT_TRANSLATE_NOOP("Reason", "Overflow")},
    {"subscript-out-of-range", QT_TRANSLATE_NOOP("Reason", "Subscript out of range")},
    {"invalid-call", QT_TRANSLATE_NOOP("Reason", "Invalid procedure call or argument")},
    {"object-not-set",
     QT_TRANSLATE_NOOP("Reason", "Object variable or With block variable not set")},
    {"device-not-open", QT_TRANSLATE_NOOP("Reason", "The device is not open")},
    {"device-disconnected", QT_TRANSLATE_NOOP("Reason", "device disconnected")},
};
static_assert(std::size(Table) == std::size_t(Reason::CodeCount));

const QString Joint = QStringLiteral("; ");

// words with %1..%9 replaced by the arguments in one pass, so that an argument holding "%1"
// stays as it is; "%%1" is a "%" before the first argument.
QString filled(const QString &words, const QStringList &args)
{
    QString result;
    result.reserve(words.size() + 16 * args.size());
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QChar c = words[i];
        if (c == u'%' && i + 1 < words.size()) {
            const int n = words[i + 1].digitValue();
            if (n >= 1 && n <= args.size()) {
                result += args[n - 1];
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

QJsonArray storedArray(const std::vector<Reason> &args);

QJsonValue storedValue(const Reason &reason)
{
    if (reason.code() == Reason::Code::Text)
        return reason.english();
    QJsonArray array = storedArray(reason.args());
    array.prepend(reason.name());
    return array;
}

QJsonArray storedArray(const std::vector<Reason> &args)
{
    QJsonArray array;
    for (const Reason &arg : args)
        array.append(storedValue(arg));
    return array;
}

std::optional<Reason::Code> codeNamed(const QString &name)
{
    for (int i = 1; i < Reason::CodeCount; ++i) {
        if (name == QLatin1String(Table[i].name))
            return Reason::Code(i);
    }
    return std::nullopt;
}

std::optional<Reason> fromArgs(Reason::Code code, const QJsonArray &array, qsizetype first);

std::optional<Reason> fromValue(const QJsonValue &value)
{
    if (value.isString())
        return Reason::text(value.toString());
    const QJsonArray array = value.toArray();
    const std::optional<Reason::Code> code
        = array.isEmpty() ? std::nullopt : codeNamed(array.first().toString());
    if (!code)
        return std::nullopt;
    return fromArgs(*code, array, 1);
}

// A reason of code whose arguments are array's elements from first on.
std::optional<Reason> fromArgs(Reason::Code code, const QJsonArray &array, qsizetype first)
{
    std::vector<Reason> args;
    for (qsizetype i = first; i < array.size(); ++i) {
        std::optional<Reason> arg = fromValue(array.at(i));
        if (!arg)
            return std::nullopt;
        args.push_back(std::move(*arg));
    }
    if (code == Reason::Code::Several)
        return Reason::several(std::move(args));
    if (code == Reason::Code::Sentences)
        return Reason::sentences(std::move(args));
    return Reason::of(code, std::move(args));
}

} // namespace

Reason Reason::text(QString text)
{
    Reason reason;
    reason.m_text = std::move(text);
    return reason;
}

Reason Reason::several(std::vector<Reason> reasons)
{
    std::vector<Reason> parts;
    for (Reason &reason : reasons) {
        if (reason.m_code == Code::Several) {
            for (Reason &part : reason.m_args)
                parts.push_back(std::move(part));
        } else if (!reason.isEmpty()) {
            parts.push_back(std::move(reason));
        }
    }
    if (parts.size() == 1)
        return std::move(parts.front());
    Reason reason;
    if (!parts.empty()) {
        reason.m_code = Code::Several;
        reason.m_args = std::move(parts);
    }
    return reason;
}

Reason Reason::sentences(std::vector<Reason> sentences)
{
    Reason reason = several(std::move(sentences));
    if (reason.m_code == Code::Several)
        reason.m_code = Code::Sentences;
    return reason;
}

Reason Reason::of(Code code, std::vector<Reason> args)
{
    Reason reason;
    reason.m_code = code;
    reason.m_args = std::move(args);
    return reason;
}

std::vector<Reason> Reason::parts() const
{
    if (m_code == Code::Several)
        return m_args;
    if (isEmpty())
        return {};
    return {*this};
}

Reason Reason::with(const Reason &part) const
{
    std::vector<Reason> all = parts();
    for (const Reason &p : part.parts()) {
        if (std::find(all.begin(), all.end(), p) == all.end())
            all.push_back(p);
    }
    return several(std::move(all));
}

QString Reason::english() const
{
    if (m_code == Code::Text)
        return m_text;
    QStringList args;
    args.reserve(qsizetype(m_args.size()));
    for (const Reason &arg : m_args)
        args << arg.english();
    if (m_code == Code::Several)
        return args.join(Joint);
    if (m_code == Code::Sentences)
        return args.join(u' ');
    return filled(QString::fromLatin1(words(m_code)), args);
}

QString Reason::shown() const
{
    if (m_code == Code::Text)
        return m_text;
    QStringList args;
    args.reserve(qsizetype(m_args.size()));
    for (const Reason &arg : m_args)
        args << arg.shown();
    if (m_code == Code::Several)
        return args.join(Joint);
    if (m_code == Code::Sentences)
        return args.join(u' ');
    return filled(QCoreApplication::translate("Reason", words(m_code)), args);
}

QString Reason::name() const
{
    return QString::fromLatin1(Table[int(m_code)].name);
}

QString Reason::storedArgs() const
{
    if (m_code == Code::Text)
        return {};
    return QString::fromUtf8(QJsonDocument(storedArray(m_args)).toJson(QJsonDocument::Compact));
}

Reason Reason::fromStored(const QString &english, const QString &name, const QString &args)
{
    const std::optional<Code> code = name.isEmpty() ? std::nullopt : codeNamed(name);
    if (!code)
        return text(english);
    const QJsonDocument document = QJsonDocument::fromJson(args.toUtf8());
    if (!document.isArray())
        return text(english);
    return fromArgs(*code, document.array(), 0).value_or(text(english));
}

const char *Reason::words(Code code)
{
    return Table[int(code)].text;
}

} // namespace barlink::base
