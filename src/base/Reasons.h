#pragma once

#include <QString>

#include <concepts>
#include <vector>

namespace barlink::base {

// Why a label was refused, failed or was taken with a warning, what is wrong with a setting,
// why the scanner's port did not open: a code and its arguments, kept as data and rendered
// when it is told. English for the journal's text, the export and the shop's server (english());
// the operator's language for the screen (shown()). An argument is itself a reason: plain text
// (a value, a path, the system's own words, never translated) or a reason nested in another.
class Reason
{
public:
    // The journal keeps a code by its name (name()), never by its number here: a code added
    // anywhere in this list changes no stored entry. A released name never changes meaning.
    enum class Code : unsigned char {
        Text,      // plain text (text()), never translated
        Several,   // the reasons a label gathered, in order, joined by "; "
        Sentences, // sentences one after another, joined by a blank
        // Each code below has English words with %1, %2... for its arguments (Reasons.cpp).
        ScannedTwice,
        UnsafeName,
        ValueWithSemicolon,
        ValueWithControl,
        NameValue,
        DimensionValue,
        WorkFieldValue,
        NoProgramNamed,
        HoldsNoSegmentStart,
        TooShortForSegment,
        UnknownSegment,
        SegmentTwice,
        NoWorkField,
        NoProgramNoDimensions,
        ProgramNotInFolder,
        CurrentFolder,
        OnlyBlanks,
        Unreadable,
        NoHardware,
        NoHardwareBecause,
        InvalidPort,
        InvalidPortBecause,
        PortOpen,
        PortOpenBecause,
        NoCommState,
        NoCommStateBecause,
        PortBusy,
        PortNotAllowed,
        NotUsed,
        WholeDays,
        WholeSeconds,
        DecimalRange,
        WholeMilliseconds,
        ZeroOrOne,
        TimeOfDay,
        StationNameRule,
        ConnectionString,
        TooLong,
        HoldsControl,
        AddressBlanks,
        KeywordExpected,
        NoEquals,
        NoClosingQuote,
        UsedInstead,
        ZeroInstead,
        UsualColours,
        MidnightCounters,
        NoSound,
        UsualTargets,
        ListWindowAsOpened,
        NoRefuseReply,
        LabelEndControls,
        QuietLabelEnd,
        BusNameRule,
        HostName,
        NotForwarded,
        AckInReply,
        PollTooLong,
        PollRange,
        PortNumberRange,
        SwitchValues,
        KeyGivenTwice,
        SectionGivenTwice,
        NoSingleByte,
        LoneBackslash,
        ShortHexEscape,
        NoEscape,
        ProgramAbandoned,
        ListManagerFailed,
        AddRow,
        StartList,
        ClearList,
        NoProgramFile,
        ProgramNotWritten,
        ListFileNotFound,
        RowsAddedAfter,
        RowsAddedAfterSentence,
        ListEmptied,
        ListEmptiedOne,
        ListEmptiedUncounted,
        ProgramFileWrite,
        CompanionCsvMove,
        NoSessionBus,
        ListManagerNoAnswer,
        ListManagerEnded,
        ListManagerNotRunning,
        ProgramDidNotStart,
        CommentCleaned,
        AtPath,
        FileNotFound,
        PathNotFound,
        PermissionDenied,
        DiskFull,
        PathFileAccessError,
        DeviceIoError,
        OutOfMemory,
        Overflow,
        SubscriptOutOfRange,
        InvalidCall,
        ObjectNotSet,
        DeviceNotOpen,
        DeviceDisconnected,
    };

    // No reason: empty text.
    Reason() = default;
    // Plain text, never translated.
    [[nodiscard]] static Reason text(QString text);
    // The reasons a label gathered, in order; one alone stays itself, none is no reason.
    [[nodiscard]] static Reason several(std::vector<Reason> parts);
    // Sentences one after another, joined by a blank.
    [[nodiscard]] static Reason sentences(std::vector<Reason> sentences);
    // A reason with its arguments in the order of its %1, %2...: each a Reason, or a QString or
    // a number taken as plain text.
    template<typename... Args>
    explicit Reason(Code code, const Args &...args)
        : m_code(code)
        , m_args{argument(args)...}
    {}

    // The same with the arguments in a list, as a stored reason is read.
    [[nodiscard]] static Reason of(Code code, std::vector<Reason> args);

    [[nodiscard]] Code code() const { return m_code; }
    [[nodiscard]] const std::vector<Reason> &args() const { return m_args; }
    [[nodiscard]] bool isEmpty() const { return m_code == Code::Text && m_text.isEmpty(); }
    // The reasons joined in this one: its parts when Several, itself alone otherwise, none
    // when empty.
    [[nodiscard]] std::vector<Reason> parts() const;
    // This reason with another part after its own, unless that part is there already.
    [[nodiscard]] Reason with(const Reason &part) const;

    // In English, as the journal keeps it.
    [[nodiscard]] QString english() const;
    // In the operator's language: every code's words through the "Reason" translations, plain
    // text as it is.
    [[nodiscard]] QString shown() const;

    // The stored form: the code's name ("scanned-twice"; empty for plain text), and the
    // arguments as a JSON array of plain texts and nested [name, arguments...] arrays.
    [[nodiscard]] QString name() const;
    [[nodiscard]] QString storedArgs() const;
    // The reason stored by name and arguments; plain `english` when there is no name, or one
    // this program does not know (a journal of an older or newer version).
    [[nodiscard]] static Reason
    fromStored(const QString &english, const QString &name, const QString &args);

    // Every code, with its English words (empty for Text, Several and Sentences).
    [[nodiscard]] static const char *words(Code code);
    static constexpr int CodeCount = int(Code::DeviceDisconnected) + 1;

    friend bool operator==(const Reason &, const Reason &) = default;

private:
    static Reason argument(const Reason &reason) { return reason; }
    static Reason argument(const QString &plain) { return text(plain); }
    // Whole numbers only: a fraction is formatted by the caller, as its reason wants it.
    template<std::integral Number> static Reason argument(Number number)
    {
        return text(QString::number(number));
    }

    Code m_code = Code::Text;
    QString m_text; // Text only
    std::vector<Reason> m_args;
};

} // namespace barlink::base
