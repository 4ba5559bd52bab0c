#pragma once

#include <QString>

namespace barlink::base {

// Why a label was refused, or taken with a warning, in the words the journal keeps: English,
// the shop's record. The screen shows the same reason in the operator's language (shownReason).
namespace reason {

inline constexpr char ScannedTwice[]
    = QT_TRANSLATE_NOOP("Reason", "scanned twice: the same piece as the item taken %1 s before");
inline constexpr char UnsafeName[]
    = QT_TRANSLATE_NOOP("Reason", "Name refused: %1 reaches outside its folder.");
inline constexpr char ValueWithSemicolon[] = QT_TRANSLATE_NOOP(
    "Reason", "%1 refused: %2 holds \";\", which would end a field of the list row.");
inline constexpr char ValueWithControl[] = QT_TRANSLATE_NOOP(
    "Reason", "%1 refused: %2 holds a control character, which no list row can carry.");
// The values a row value refusal names.
inline constexpr char NameValue[] = QT_TRANSLATE_NOOP("Reason", "Name");
inline constexpr char DimensionValue[] = QT_TRANSLATE_NOOP("Reason", "Dimension %1");
inline constexpr char WorkFieldValue[] = QT_TRANSLATE_NOOP("Reason", "Work field");
inline constexpr char NoProgramNamed[]
    = QT_TRANSLATE_NOOP("Reason", "no program is named: a row is never sent without one");
inline constexpr char HoldsNoSegmentStart[] = QT_TRANSLATE_NOOP(
    "Reason", "the label holds %1 but does not start with %, so it is no segment");
inline constexpr char TooShortForSegment[]
    = QT_TRANSLATE_NOOP("Reason", "the label is too short to be a segment");
inline constexpr char UnknownSegment[]
    = QT_TRANSLATE_NOOP("Reason", "the label starts with %%1, which is no known segment");
inline constexpr char SegmentTwice[]
    = QT_TRANSLATE_NOOP("Reason", "segment %%1 was already scanned for this item");
inline constexpr char NoWorkField[] = QT_TRANSLATE_NOOP("Reason", "no work field chosen");
inline constexpr char NoProgramNoDimensions[]
    = QT_TRANSLATE_NOOP("Reason", "the item names no program: no dimensions");
inline constexpr char ProgramNotInFolder[]
    = QT_TRANSLATE_NOOP("Reason", "%1 is not in %2: no dimensions");
inline constexpr char CurrentFolder[] = QT_TRANSLATE_NOOP("Reason", "the current folder");
inline constexpr char OnlyBlanks[]
    = QT_TRANSLATE_NOOP("Reason",
                        "ignored: the label is nothing but blanks and control characters once "
                        "the scanner's line end is removed");
inline constexpr char Unreadable[] = QT_TRANSLATE_NOOP("Reason", "it could not be read: %1");

// Why the scanner's port did not open: %1 the device, %2 the system's own words, as the
// serial port gives them.
inline constexpr char NoHardware[]
    = QT_TRANSLATE_NOOP("Reason", "The hardware is not available: %1");
inline constexpr char NoHardwareBecause[]
    = QT_TRANSLATE_NOOP("Reason", "The hardware is not available: %1 (%2)");
inline constexpr char InvalidPort[] = QT_TRANSLATE_NOOP("Reason", "Invalid port number: %1");
inline constexpr char InvalidPortBecause[]
    = QT_TRANSLATE_NOOP("Reason", "Invalid port number: %1 (%2)");
inline constexpr char PortOpen[] = QT_TRANSLATE_NOOP("Reason", "Port already open: %1");
inline constexpr char PortOpenBecause[] = QT_TRANSLATE_NOOP("Reason", "Port already open: %1 (%2)");
inline constexpr char NoCommState[] = QT_TRANSLATE_NOOP("Reason", "Could not set comm state: %1");
inline constexpr char NoCommStateBecause[]
    = QT_TRANSLATE_NOOP("Reason", "Could not set comm state: %1 (%2)");
inline constexpr char PortBusy[]
    = QT_TRANSLATE_NOOP("Reason", "Port already open: another program uses the scanner on %1");
inline constexpr char PortNotAllowed[]
    = QT_TRANSLATE_NOOP("Reason",
                        "Permission denied: %1. This user is not allowed to use serial "
                        "devices; an administrator must allow it (on Debian: add the user "
                        "to the dialout group, then log in again)");

// What is wrong with a setting, and what is used instead: "%1=%2 is not used: %3. %4" with the
// key, its value, why and what instead.
inline constexpr char NotUsed[] = QT_TRANSLATE_NOOP("Reason", "%1=%2 is not used: %3. %4");
inline constexpr char WholeDays[]
    = QT_TRANSLATE_NOOP("Reason", "a whole number of days from 0 to %1 is expected");
inline constexpr char WholeSeconds[]
    = QT_TRANSLATE_NOOP("Reason", "a whole number of seconds from 0 to %1 is expected");
inline constexpr char DecimalRange[] = QT_TRANSLATE_NOOP(
    "Reason", "a number from %1 to %2 is expected, with a point before any decimals");
inline constexpr char WholeMilliseconds[] = QT_TRANSLATE_NOOP(
    "Reason", "a whole number of milliseconds from %1 to %2 is expected");
inline constexpr char ZeroOrOne[] = QT_TRANSLATE_NOOP("Reason", "0 or 1 is expected");
inline constexpr char TimeOfDay[]
    = QT_TRANSLATE_NOOP("Reason", "a time of day as HH:MM (06:00) is expected");
inline constexpr char StationNameRule[]
    = QT_TRANSLATE_NOOP("Reason", "at most %1 characters without a control character are expected");
inline constexpr char ConnectionString[]
    = QT_TRANSLATE_NOOP("Reason",
                        "%1, and a libpq connection string is expected (\"host=... dbname=... "
                        "user=...\" or \"postgresql://...\")");
inline constexpr char TooLong[] = QT_TRANSLATE_NOOP("Reason", "it is longer than %1 characters");
inline constexpr char HoldsControl[] = QT_TRANSLATE_NOOP("Reason", "it holds a control character");
inline constexpr char AddressBlanks[]
    = QT_TRANSLATE_NOOP("Reason", "a postgresql:// address holds no blanks");
inline constexpr char KeywordExpected[]
    = QT_TRANSLATE_NOOP("Reason", "a keyword is expected before the \"=\" at character %1");
inline constexpr char NoEquals[]
    = QT_TRANSLATE_NOOP("Reason", "\"%1\" is not followed by \"=\" and a value");
inline constexpr char NoClosingQuote[]
    = QT_TRANSLATE_NOOP("Reason", "the value of \"%1\" has no closing quote");
inline constexpr char UsedInstead[] = QT_TRANSLATE_NOOP("Reason", "%1 is used instead.");
inline constexpr char ZeroInstead[]
    = QT_TRANSLATE_NOOP("Reason", "0 is used instead: an item scanned twice is not refused.");
inline constexpr char UsualColours[] = QT_TRANSLATE_NOOP("Reason", "The usual colours are used.");
inline constexpr char MidnightCounters[]
    = QT_TRANSLATE_NOOP("Reason", "The counters start at midnight.");
inline constexpr char NoSound[] = QT_TRANSLATE_NOOP("Reason", "No sound is played.");
inline constexpr char NoRefuseReply[]
    = QT_TRANSLATE_NOOP("Reason", "Nothing is sent to the scanner when a label is refused.");
inline constexpr char LabelEndControls[]
    = QT_TRANSLATE_NOOP("Reason",
                        "only control characters are expected: \\r, \\n, or \\xHH from \\x00 "
                        "to \\x1f or \\x7f");
inline constexpr char QuietLabelEnd[] = QT_TRANSLATE_NOOP(
    "Reason", "A label ends when the scanner has been quiet for two poll intervals.");
inline constexpr char BusNameRule[] = QT_TRANSLATE_NOOP(
    "Reason",
    "a bus name of two or more parts joined by \".\" is expected, each of letters, digits, _ and -, "
    "none beginning with a digit");
inline constexpr char HostName[] = QT_TRANSLATE_NOOP("Reason", "The host name is used instead.");
inline constexpr char NotForwarded[]
    = QT_TRANSLATE_NOOP("Reason", "Nothing is forwarded to a shop-wide journal.");
inline constexpr char AckInReply[] = QT_TRANSLATE_NOOP(
    "Reason",
    "RefuseReply=%1 holds \"ACK\" and a carriage return, which the scanner hears when a label is "
    "taken: it may take a refused label for a taken one. It is used as written.");
inline constexpr char PollTooLong[]
    = QT_TRANSLATE_NOOP("Reason",
                        "CommPollTime=%1 is more than %2 ms, which would keep a scanned label "
                        "waiting for its answer too long: %2 is used instead.");
inline constexpr char PollRange[]
    = QT_TRANSLATE_NOOP("Reason", "a whole number of milliseconds from 100 to %1 is expected");
inline constexpr char PortNumberRange[]
    = QT_TRANSLATE_NOOP("Reason", "a port number of at most %1 is expected");
inline constexpr char SwitchValues[] = QT_TRANSLATE_NOOP("Reason", "0, 1 or 2 is expected");
// Lines of the settings file that are not read: the key or section, where it is given first,
// and where again.
inline constexpr char KeyGivenTwice[] = QT_TRANSLATE_NOOP(
    "Reason", "%1 is given on line %2 and again on line %3: the value on line %2 is used.");
inline constexpr char SectionGivenTwice[]
    = QT_TRANSLATE_NOOP("Reason",
                        "[%1] is given on line %2 and again on line %3: nothing from line %3 on "
                        "is read.");

// Why an escaped byte text (RefuseReply, LabelEnd) cannot be read: %n the character and where.
inline constexpr char NoSingleByte[]
    = QT_TRANSLATE_NOOP("Reason", "\"%1\" has no single-byte code at character %2");
inline constexpr char LoneBackslash[]
    = QT_TRANSLATE_NOOP("Reason", "a lone \\ at the end at character %1");
inline constexpr char ShortHexEscape[]
    = QT_TRANSLATE_NOOP("Reason", "\\x without two hexadecimal digits at character %1");
inline constexpr char NoEscape[]
    = QT_TRANSLATE_NOOP("Reason", "\\%1 is no escape (\\r, \\n, \\xHH, \\\\) at character %2");

// Why a label's handling stopped part-way, as its failure keeps it.
inline constexpr char ProgramAbandoned[]
    = QT_TRANSLATE_NOOP("Reason", "Program barcode abandoned: %1");
inline constexpr char ListManagerFailed[]
    = QT_TRANSLATE_NOOP("Reason", "the list manager failed to %1: %2");
// What the list manager was asked to do.
inline constexpr char AddRow[] = QT_TRANSLATE_NOOP("Reason", "add the row");
inline constexpr char StartList[] = QT_TRANSLATE_NOOP("Reason", "start the list");
inline constexpr char ClearList[] = QT_TRANSLATE_NOOP("Reason", "clear the list");
inline constexpr char NoProgramFile[] = QT_TRANSLATE_NOOP("Reason", "it names no program file.");
inline constexpr char ProgramNotWritten[]
    = QT_TRANSLATE_NOOP("Reason", "the program file %1 could not be written (%2).");
inline constexpr char ListFileNotFound[] = QT_TRANSLATE_NOOP("Reason", "List File %1 Not Found");
// How many rows of a failed item went into the list, after the failure ("%1" and "%1." before).
inline constexpr char RowsAdded[]
    = QT_TRANSLATE_NOOP("Reason", "Rows of this item already added: %1.");
inline constexpr char RowsAddedAfter[]
    = QT_TRANSLATE_NOOP("Reason", "%1 Rows of this item already added: %2.");
inline constexpr char RowsAddedAfterSentence[]
    = QT_TRANSLATE_NOOP("Reason", "%1. Rows of this item already added: %2.");

// The clear start-up left pending, carried out by the first label that sends rows or a list
// command: what the list held from before.
inline constexpr char ListEmptied[]
    = QT_TRANSLATE_NOOP("Reason", "list emptied: %1 rows from before");
inline constexpr char ListEmptiedOne[]
    = QT_TRANSLATE_NOOP("Reason", "list emptied: 1 row from before");
inline constexpr char ListEmptiedUncounted[]
    = QT_TRANSLATE_NOOP("Reason", "list emptied: the list did not tell how many rows it held");

// What a try run would have written.
inline constexpr char ProgramFileWrite[]
    = QT_TRANSLATE_NOOP("Reason", "program file %1 (%2 bytes)");
inline constexpr char CompanionCsvMove[]
    = QT_TRANSLATE_NOOP("Reason", "companion CSV %1 moved into %2");

// The list manager on the session bus.
inline constexpr char NoSessionBus[] = QT_TRANSLATE_NOOP(
    "Reason",
    "no session bus: Barlink reaches the list manager over the session bus. Start Barlink in a "
    "desktop session, or under dbus-run-session");
inline constexpr char ListManagerNoAnswer[]
    = QT_TRANSLATE_NOOP("Reason", "the list manager %1 did not answer within %2 s");
inline constexpr char ListManagerEnded[]
    = QT_TRANSLATE_NOOP("Reason", "the list manager %1 ended");
inline constexpr char ListManagerNotRunning[]
    = QT_TRANSLATE_NOOP("Reason", "the list manager %1 is not running and cannot be started: %2");
inline constexpr char ProgramDidNotStart[]
    = QT_TRANSLATE_NOOP("Reason", "%1 did not take the name in time");

// The descriptions the station's errors carry, alone or with the path they are about
// ("Path not found: /data/Barlink.csv").
inline constexpr const char *ErrorDescriptions[] = {
    QT_TRANSLATE_NOOP("Reason", "File not found"),
    QT_TRANSLATE_NOOP("Reason", "Path not found"),
    QT_TRANSLATE_NOOP("Reason", "Permission denied"),
    QT_TRANSLATE_NOOP("Reason", "Disk full"),
    QT_TRANSLATE_NOOP("Reason", "Path/File access error"),
    QT_TRANSLATE_NOOP("Reason", "Device I/O error"),
    QT_TRANSLATE_NOOP("Reason", "Out of memory"),
    QT_TRANSLATE_NOOP("Reason", "Overflow"),
    QT_TRANSLATE_NOOP("Reason", "Subscript out of range"),
    QT_TRANSLATE_NOOP("Reason", "Invalid procedure call or argument"),
    QT_TRANSLATE_NOOP("Reason", "Object variable or With block variable not set"),
    QT_TRANSLATE_NOOP("Reason", "The device is not open"),
};

} // namespace reason

// A stored reason in the operator's language: each part ("; " joins the parts a label gathered)
// is matched against the reasons above and translated with its values filled in; a part that
// matches none (an error's own words, a reason from an older version) is shown as stored.
[[nodiscard]] QString shownReason(const QString &stored);

} // namespace barlink::base
