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

} // namespace reason

// A stored reason in the operator's language: each part ("; " joins the parts a label gathered)
// is matched against the reasons above and translated with its values filled in; a part that
// matches none (an error's own words, a reason from an older version) is shown as stored.
[[nodiscard]] QString shownReason(const QString &stored);

} // namespace barlink::base
