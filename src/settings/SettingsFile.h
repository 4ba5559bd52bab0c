#pragma once

#include "base/Options.h"
#include "base/Reasons.h"

#include <QLatin1String>
#include <QString>

namespace barlink::base {
class Prompter;
struct Settings;
} // namespace barlink::base

namespace barlink::settings {

// The settings file: its name, its one section, and every key the station reads or writes
// there goes through the functions below, so the file format lives in one place.
inline constexpr QLatin1String SettingsFileName("KTQ.INI");
inline constexpr QLatin1String SettingsSection("GESTBCOD");

// The values that missing keys are read as, in one place. On Windows the paths are the
// control software's folders; elsewhere they are per-user folders under the data home
// ($XDG_DATA_HOME, default ~/.local/share):
//   GCodePath  <data>/barlink/product/          ListPath   <data>/barlink/product/lsx/
//   CSVInPath  <data>/barlink/csv/ (used without its last "/")
//   CSVOutPath <data>/barlink/Barlink.csv       EditorPath empty (no editor)
struct SettingsDefaults
{
    QString serialSettings = QStringLiteral("9600,N,8,1");
    QString gcodePath;
    QString listPath;
    int commPort = 1;
    int commPollTime = 1000;
    QString csvInPath;
    QString csvOutPath;
    int autoStart = 1;
    int overwrite = 1;
    int autoClear = 1;
    QString commDevice; // none: the port number names the device
    QString editorPath;
};

[[nodiscard]] SettingsDefaults settingsDefaults();

// The longest poll interval used: a longer one keeps a scanned label waiting for its "ACK"
// longer than the scanner does.
inline constexpr int MaxCommPollTime = 10000;
// The ranges of the keys this station adds, which are read strictly (see loadSettings).
inline constexpr int MaxJournalDays = 36500;
inline constexpr int MaxDuplicateSeconds = 3600;
// A longer pause after each item would keep a label scanned during it waiting for its answer
// longer than the scanner waits.
inline constexpr int MaxItemPauseMs = 10000;
inline constexpr double MinFontScale = 0.5;
inline constexpr double MaxFontScale = 3.0;
inline constexpr qsizetype MaxStationNameLength = 64;
// The longest bus name the bus takes.
inline constexpr qsizetype MaxBusNameLength = 255;
inline constexpr int MinListManagerTimeoutMs = 100;
inline constexpr int MaxListManagerTimeoutMs = 60'000;
inline constexpr qsizetype MaxJournalServerLength = 1024;

// The "Windows directory": the system's on Windows; elsewhere $XDG_CONFIG_HOME/barlink
// (default ~/.config/barlink).
[[nodiscard]] QString windowsDirectory();

// The settings file in folder, or an empty text. Besides the exact name, a case-insensitive
// spelling of it (a "ktq.ini" copied from a Windows station) is accepted where the file
// system tells names apart by case; with several, the first in name order. Disk prompts and
// errors as fileExists.
[[nodiscard]] QString findSettingsFile(const QString &folder, base::Prompter &prompter);

// Finds the settings file (settings.programDir first, then settings.windowsDir) and reads
// every key into settings and options. Without a file: "File KTQ.INI Not Found", false,
// settingsFilePath names the file in windowsDir (so later writes create it there) and
// nothing else changes.
//
// Texts are read through a 128-character buffer (at most 127 characters) and trimmed of
// spaces; CSVInPath and CSVOutPath lose one trailing separator ("\", and "/" off Windows).
// Numbers are read by their leading digits, as the number written: one that 32 bits cannot
// hold is never wrapped into another. CommPollTime is used only above 99 ms, otherwise the
// interval keeps its value, and above MaxCommPollTime it is MaxCommPollTime. A CommPort
// outside the 16-bit range reads as 0 (no port). AutoStart, Overwrite and AutoClear keep 0, 1
// and 2; any other number counts as 1 (ticked). A number outside its key's range (a CommPort
// beyond 16 bits, a CommPollTime above MaxCommPollTime or below the 32-bit range, a switch
// other than 0, 1, 2) adds a sentence to settings.problems with the value as written. So does
// each key given twice in the section (the first is read) and a second [GESTBCOD] header
// (nothing after it is read). The keys this station adds, CommDevice and EditorPath, are paths and take up to
// 4095 characters. A TempPath key left by an earlier version is not read: compressed labels
// are expanded in memory.
//
// The other keys this station adds take only a well-formed value in range; an empty one
// counts as missing: JournalDays, a whole number of days from 0 to MaxJournalDays (default
// 400); DuplicateSeconds, a whole number from 0 to MaxDuplicateSeconds (default 0);
// ItemPauseMs, a whole number of milliseconds from 0 to MaxItemPauseMs (default 600);
// FontScale, a number from MinFontScale to MaxFontScale written with digits and at most one
// point (default 1); RefuseReply, escaped bytes as text::unescapeBytes reads them, and
// LabelEnd, such bytes that are all control characters, below 0x20 or 0x7f (default none);
// StationName, up to MaxStationNameLength characters without a control character (default
// empty: the host name); ListManagerService, a bus name of two or more dot-separated parts of
// letters, digits, "_" and "-", no part beginning with a digit, up to 255 characters (default
// org.barlink.ListManager); ListManagerTimeoutMs, a whole number of milliseconds from
// MinListManagerTimeoutMs to MaxListManagerTimeoutMs (default 5000); JournalServer, as
// readJournalServer. A value that is not
// is not used: the default is. Each such value, a clamped CommPollTime, and a RefuseReply
// that holds "ACK" and a carriage return (used, but the scanner may take a refusal for an
// acknowledgement) add a sentence to settings.problems, which the file read last replaces.
// A file that begins with the UTF-8 byte-order mark is read as UTF-8 (see ProfileFile).
// HighContrast, Touch and ListManagerBeside, 0 or 1 (default 0), are read the same way.
[[nodiscard]] bool
loadSettings(base::Settings &settings, base::Options &options, base::Prompter &prompter);

// JournalServer of the settings file: a libpq connection string of keyword=value pairs
// (a value in single quotes may hold blanks, "\'" and "\\") or a postgresql:// URI without
// blanks, at most MaxJournalServerLength characters and without a control character; empty
// when the key is missing, empty or holds anything else, and then *problem (when given)
// says why, as settings.problems would.
[[nodiscard]] QString readJournalServer(const base::Settings &settings,
                                        base::Reason *problem = nullptr);

// Writes FontScale = scale, written as the shortest decimal number.
void writeFontScale(const base::Settings &settings, double scale);

// Writes HighContrast = 1 or 0.
void writeHighContrast(const base::Settings &settings, bool on);

// Writes Touch = 1 or 0.
void writeTouch(const base::Settings &settings, bool on);

// Writes Settings = serialSettings and CommPort = the port number in decimal.
void saveSerialSettings(const base::Settings &settings);

// Writes CommDevice = commDevice; an empty one is written empty, as keys are never deleted.
void saveCommDevice(const base::Settings &settings);

// The key of an option switch: AutoClear, Overwrite or AutoStart; empty for ShowEd, which
// is not stored.
[[nodiscard]] QString optionSwitchKey(base::Options::Switch s);

// A number the way a switch value is written: a blank before 0 and positive numbers, so
// the file line reads "AutoClear= 1".
[[nodiscard]] QString signedNumberText(int value);

// Writes the switch's key with the value as signedNumberText; nothing for ShowEd.
void writeOptionSwitch(const base::Settings &settings, base::Options::Switch s, int value);

// Any key of the settings section, for the subsystems with keys of their own.
[[nodiscard]] QString readKey(const base::Settings &settings,
                              const QString &key,
                              const QString &defaultValue = QString(),
                              int bufferSize = 128);
[[nodiscard]] int readIntKey(const base::Settings &settings, const QString &key, int defaultValue);
// Throws barlink::base::Error when the file cannot be written (see ProfileFile::writeString).
void writeKey(const base::Settings &settings, const QString &key, const QString &value);

// The serial device to open: CommDevice when set; otherwise "COMn" on Windows and
// "/dev/ttyS(n-1)" elsewhere. A port number below 1 gives an empty name, which no port
// opens.
[[nodiscard]] QString portDeviceName(const base::Settings &settings);

} // namespace barlink::settings
