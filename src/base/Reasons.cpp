#include "Reasons.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace barlink::base {

namespace {

struct Pattern
{
    const char *text = nullptr;
    // The values ("%1", "%2") that are themselves reasons or value names, shown translated;
    // the others (names, folders, numbers) are shown as they came.
    QList<int> translatedValues;
    // The value ("%n") that takes as much as it can, where the words after it could also be
    // part of it; 0 for none.
    int greedy = 0;
    // Matches only when each translated value is itself a known reason through and through:
    // where two patterns could split the same text, the split that understands it wins.
    bool strict = false;
    // May be followed by ": " and the path an error is about, kept as it came.
    bool pathAfter = false;
};

const Pattern Patterns[] = {
    // The rows of a failed item after its failure, before anything that could take them in.
    {reason::RowsAddedAfterSentence, {1}, 0, true, true},
    {reason::RowsAddedAfter, {1}},
    {reason::ProgramAbandoned, {1}, 1},
    {reason::ListManagerFailed, {1}, 2},
    {reason::AddRow, {}},
    {reason::NoSessionBus, {}},
    {reason::ListManagerNoAnswer, {}},
    {reason::ListManagerEnded, {}},
    {reason::ListManagerNotRunning, {}, 2},
    {reason::ProgramDidNotStart, {}},
    {reason::StartList, {}},
    {reason::ClearList, {}},
    {reason::NoProgramFile, {}},
    {reason::ProgramNotWritten, {}},
    {reason::ListFileNotFound, {}},
    {reason::ListEmptiedOne, {}},
    {reason::ListEmptiedUncounted, {}},
    {reason::ListEmptied, {}},
    {reason::ProgramFileWrite, {}},
    {reason::CompanionCsvMove, {}},
    {reason::NoSingleByte, {}},
    {reason::LoneBackslash, {}},
    {reason::ShortHexEscape, {}},
    {reason::NoEscape, {}},
    {reason::ScannedTwice, {}},
    {reason::UnsafeName, {}},
    {reason::ValueWithSemicolon, {1}},
    {reason::ValueWithControl, {1}},
    {reason::NameValue, {}},
    {reason::DimensionValue, {}},
    {reason::WorkFieldValue, {}},
    {reason::NoProgramNamed, {}},
    {reason::HoldsNoSegmentStart, {}},
    {reason::TooShortForSegment, {}},
    {reason::UnknownSegment, {}},
    {reason::SegmentTwice, {}},
    {reason::NoWorkField, {}},
    {reason::NoProgramNoDimensions, {}},
    {reason::ProgramNotInFolder, {2}},
    {reason::CurrentFolder, {}},
    {reason::OnlyBlanks, {}},
    {reason::Unreadable, {1}},
    // The busy port before the plain open port, which would match it too.
    {reason::PortBusy, {}},
    {reason::NoHardwareBecause, {}},
    {reason::NoHardware, {}},
    {reason::InvalidPortBecause, {}},
    {reason::InvalidPort, {}},
    {reason::PortOpenBecause, {}},
    {reason::PortOpen, {}},
    {reason::NoCommStateBecause, {}},
    {reason::NoCommState, {}},
    {reason::PortNotAllowed, {}},
    // A setting's problem: why (%3) is the longest part that leaves a last sentence (%4).
    {reason::NotUsed, {3, 4}, 3},
    {reason::WholeDays, {}},
    {reason::WholeSeconds, {}},
    {reason::WholeMilliseconds, {}},
    {reason::DecimalRange, {}},
    {reason::ZeroOrOne, {}},
    {reason::TimeOfDay, {}},
    {reason::StationNameRule, {}},
    {reason::ConnectionString, {1}},
    {reason::TooLong, {}},
    {reason::HoldsControl, {}},
    {reason::AddressBlanks, {}},
    {reason::KeywordExpected, {}},
    {reason::NoEquals, {}},
    {reason::NoClosingQuote, {}},
    {reason::UsedInstead, {}},
    {reason::ZeroInstead, {}},
    {reason::UsualColours, {}},
    {reason::MidnightCounters, {}},
    {reason::NoSound, {}},
    {reason::NoRefuseReply, {}},
    {reason::LabelEndControls, {}},
    {reason::QuietLabelEnd, {}},
    {reason::HostName, {}},
    {reason::BusNameRule, {}},
    {reason::NotForwarded, {}},
    {reason::AckInReply, {}},
    {reason::PollTooLong, {}},
    {reason::PollRange, {}},
    {reason::PortNumberRange, {}},
    {reason::SwitchValues, {}},
    {reason::KeyGivenTwice, {}},
    {reason::SectionGivenTwice, {}},
};

// The patterns above, then each error description with the path it may name.
std::vector<Pattern> allPatterns()
{
    std::vector<Pattern> all(std::begin(Patterns), std::end(Patterns));
    for (const char *description : reason::ErrorDescriptions)
        all.push_back({description, {}, 0, false, true});
    return all;
}

const std::vector<Pattern> &patterns()
{
    static const std::vector<Pattern> all = allPatterns();
    return all;
}

// A pattern as a regular expression matching the whole text: each "%n" captures a value.
struct Compiled
{
    QRegularExpression expression;
    QList<int> numbers; // the "%n" of each capture, in order
};

Compiled compile(const Pattern &pattern)
{
    const QString source = QString::fromLatin1(pattern.text);
    const int greedy = pattern.greedy;
    Compiled compiled;
    QString expression = QStringLiteral("^");
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (c == QLatin1Char('%') && i + 1 < source.size() && source[i + 1].isDigit()
            && source[i + 1] != QLatin1Char('0')) {
            compiled.numbers << source[++i].digitValue();
            expression += compiled.numbers.last() == greedy ? QStringLiteral("(.+)")
                                                            : QStringLiteral("(.+?)");
        } else {
            expression += QRegularExpression::escape(QString(c));
        }
    }
    if (pattern.pathAfter)
        expression += QStringLiteral("(?<path>: .+)?");
    compiled.expression.setPattern(expression + QLatin1Char('$'));
    compiled.expression.setPatternOptions(QRegularExpression::DotMatchesEverythingOption);
    return compiled;
}

const std::vector<Compiled> &compiledPatterns()
{
    static const std::vector<Compiled> compiled = [] {
        std::vector<Compiled> all;
        for (const Pattern &pattern : patterns())
            all.push_back(compile(pattern));
        return all;
    }();
    return compiled;
}

// A part in the operator's language, and whether all of it was understood.
struct Shown
{
    QString text;
    bool understood = false;
};

Shown shownPart(const QString &part)
{
    const std::vector<Compiled> &compiled = compiledPatterns();
    for (std::size_t p = 0; p < compiled.size(); ++p) {
        const QRegularExpressionMatch match = compiled[p].expression.match(part);
        if (!match.hasMatch())
            continue;
        const Pattern &pattern = patterns()[p];
        // The values by their number, "%1" first, whatever order the English gives them; a
        // value the English names twice is one value.
        const QList<int> &numbers = compiled[p].numbers;
        QStringList values(numbers.isEmpty() ? 0
                                             : *std::max_element(numbers.begin(), numbers.end()));
        bool understood = true;
        for (qsizetype i = 0; i < numbers.size(); ++i) {
            const int number = numbers[i];
            QString value = match.captured(int(i + 1));
            if (pattern.translatedValues.contains(number)) {
                Shown shown = shownPart(value);
                understood = understood && shown.understood;
                value = std::move(shown.text);
            }
            values[number - 1] = value;
        }
        if (pattern.strict && !understood)
            continue;
        const QString words = QCoreApplication::translate("Reason", pattern.text);
        const QString path = pattern.pathAfter ? match.captured(u"path") : QString();
        switch (values.size()) {
        case 0:
            return {words + path, understood};
        case 1:
            return {words.arg(values[0]) + path, understood};
        case 2:
            return {words.arg(values[0], values[1]) + path, understood};
        case 3:
            return {words.arg(values[0], values[1], values[2]) + path, understood};
        default:
            return {words.arg(values[0], values[1], values[2], values[3]) + path, understood};
        }
    }
    return {part, false};
}

} // namespace

QString shownReason(const QString &stored)
{
    const QString joint = QStringLiteral("; ");
    QStringList parts = stored.split(joint);
    for (QString &part : parts)
        part = shownPart(part).text;
    return parts.join(joint);
}

} // namespace barlink::base
