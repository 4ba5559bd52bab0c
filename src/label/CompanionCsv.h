#pragma once

#include <QByteArray>
#include <QString>

namespace barlink::base {
class Prompter;
struct Settings;
} // namespace barlink::base

namespace barlink::base {
struct CurrentItem;
} // namespace barlink::base

namespace barlink::label {

// A companion file larger than this is refused with error 7 "Out of memory" and stays
// where it is: a program's companion data is a line or a few, and the whole file is
// held in memory while it is copied.
inline constexpr qint64 maxCompanionCsvBytes = 64 * 1024 * 1024;

// The companion file name as built from the settings: CSVInPath, the folder separator,
// the program name without its last four characters (".CNC" in some letter case), then
// ".CSV"; the whole trimmed of blanks. Before the lookup in any letter case.
[[nodiscard]] QString companionCsvName(const base::Settings &settings, const QString &programName);

// The content as it goes into the collecting file: one trailing LF removed, then one
// trailing CR, so one line end in either form goes and inner line ends stay.
[[nodiscard]] QByteArray withoutTrailingLineEnd(QByteArray content);

// The companion CSV file of programName that copyCompanionCsv would move, found in any letter
// case; empty when there is none or it would be left alone.
[[nodiscard]] QString findCompanionCsv(const base::Settings &settings,
                                       const QString &programName,
                                       base::Prompter &prompter);

// Moves the companion CSV file of programName into the collecting file CSVOutPath: its
// content, byte for byte and without its trailing line end, is appended as one line
// ending with CR LF (the collecting file is created when missing), and the companion file
// is deleted. The file is found in any letter case ("prog.csv" for PROG.CNC); without
// one nothing happens (disk prompts as base::fileExists). A name that reaches outside
// CSVInPath, and a companion that is the collecting file itself, are left alone.
//
// The companion file is deleted only once its content has safely reached the collecting
// file: written, flushed to the disk and closed without error. Otherwise it stays, the
// collecting file is cut back to its former length where that is possible, and
// barlink::base::Error is thrown: 61 "Disk full", 57 "Device I/O error", 70 "Permission
// denied", 76 "Path not found", 75 "Path/File access error", 7 for a file over
// maxCompanionCsvBytes. Errors of the deletion itself are thrown too (70 or 75). Each error
// carries the path of the file it is about (base::Error::path).
void copyCompanionCsv(const base::Settings &settings,
                      const QString &programName,
                      base::Prompter &prompter);

// The same for the current item's program.
void copyCompanionCsv(const base::Settings &settings,
                      const base::CurrentItem &item,
                      base::Prompter &prompter);

} // namespace barlink::label
