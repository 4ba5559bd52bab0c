#include "Entry.h"

#include <array>

namespace barlink::journal {

namespace {

// Stored names in enumerator order.
constexpr std::array SourceNames{"scanner", "manual", "station"};
constexpr std::array KindNames{"command",
                               "field-code",
                               "segment",
                               "plain-name",
                               "list",
                               "program-barcode",
                               "compressed",
                               "station-event"};
constexpr std::array OutcomeNames{"taken", "waiting", "refused", "failed", "event"};
constexpr std::array EventNames{"start",
                                "end",
                                "port-opened",
                                "port-lost",
                                "port-back",
                                "list-cleared",
                                "list-started",
                                "list-held",
                                "entries-lost",
                                "journal-back",
                                "entries-held",
                                "journal-damaged",
                                "forwarding-stalled",
                                "forwarding-resumed",
                                "item-taken-back",
                                "spill-unreadable",
                                "spill-readable",
                                "log-untidy",
                                "log-tidied"};

// The names as texts, made once (the export asks for three per entry).
template<std::size_t N> std::array<QString, N> texts(const std::array<const char *, N> &names)
{
    std::array<QString, N> made;
    for (std::size_t i = 0; i < N; ++i)
        made[i] = QString::fromLatin1(names[i]);
    return made;
}

template<typename Enum, std::size_t N>
std::optional<Enum> valueNamed(const std::array<const char *, N> &names, QStringView name)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (name == QLatin1String(names[i]))
            return static_cast<Enum>(i);
    }
    return std::nullopt;
}

constexpr std::array<const char *, 32> ControlNames{
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

} // namespace

QString storedName(Source source)
{
    static const auto names = texts(SourceNames);
    return names.at(static_cast<std::size_t>(source));
}

QString storedName(Kind kind)
{
    static const auto names = texts(KindNames);
    return names.at(static_cast<std::size_t>(kind));
}

QString storedName(Outcome outcome)
{
    static const auto names = texts(OutcomeNames);
    return names.at(static_cast<std::size_t>(outcome));
}

QString storedName(StationEvent event)
{
    static const auto names = texts(EventNames);
    return names.at(static_cast<std::size_t>(event));
}

std::optional<Source> sourceNamed(QStringView name)
{
    return valueNamed<Source>(SourceNames, name);
}

std::optional<Kind> kindNamed(QStringView name)
{
    return valueNamed<Kind>(KindNames, name);
}

std::optional<Outcome> outcomeNamed(QStringView name)
{
    return valueNamed<Outcome>(OutcomeNames, name);
}

QString escapeControls(QStringView label)
{
    QString shown;
    shown.reserve(label.size());
    for (const QChar c : label) {
        const char16_t u = c.unicode();
        if (u < ControlNames.size())
            shown += QLatin1Char('<') + QLatin1String(ControlNames[u]) + QLatin1Char('>');
        else if (u == 0x7F)
            shown += QLatin1String("<DEL>");
        else if (u >= 0x80 && u <= 0x9F)
            shown += QStringLiteral("<U+%1>").arg(int(u), 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

QString programSummary(const QString &programName, qint64 bytes)
{
    return QStringLiteral("%1 (%2 bytes)").arg(programName).arg(bytes);
}

Entry stationEventEntry(StationEvent event, std::optional<int> rows, base::Reason detail)
{
    Entry entry;
    entry.source = Source::Station;
    entry.kind = Kind::StationEvent;
    entry.outcome = Outcome::Event;
    entry.label = storedName(event);
    entry.reason = std::move(detail);
    entry.rows = rows;
    return entry;
}

} // namespace barlink::journal
