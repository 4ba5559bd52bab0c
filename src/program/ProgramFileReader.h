#pragma once

#include <QLocale>
#include <QString>

#include <optional>

class QIODevice;

namespace barlink::base {
class Prompter;
struct Settings;
} // namespace barlink::base
namespace barlink::base {
struct CurrentItem;
} // namespace barlink::base

namespace barlink::label {}

namespace barlink::program {

// What the first lines of a program file say. A value is present once it was read;
// reading stops at the first thing that is missing or not a number, so values read
// before it are present and the rest are not.
struct ProgramFileFacts
{
    enum class Format {
        Unknown,    // the file ended before its first two non-blank lines
        Ktq,        // the first line holds "KTQ" in any letter case
        Iso,        // otherwise, the first line begins with "G71" or "G70"
        NotProgram, // neither: "Not a proper program file"
    };

    Format format = Format::Unknown;
    std::optional<float> x;
    std::optional<float> y;
    std::optional<float> z;
    std::optional<QString> comment;
};

// The reader gives up on a line longer than this, and on a file whose lines sought do not
// lie within the first readBudgetBytes: the values sit in a program's first lines, so a
// file of any size costs no more than those.
inline constexpr qsizetype maxProgramLineLength = 32767;
inline constexpr qint64 programReadBudgetBytes = 16 * 1024 * 1024;

// Reads the facts from a device open for reading, line by line. Lines end with LF, CR LF
// or CR; a blank line (empty or spaces only) is skipped where non-blank lines are sought.
//
// KTQ program: X, Y, Z are fields 3, 5, 7 of the first non-blank line after the second
// line that holds "UN" in any letter case, split at blank, "=" and CR and read by their
// leading numeric part; the comment is the second line from its third character on.
// ISO program: the first line, trimmed and upper-cased, split at "X", "Y", "Z", "T" gives
// X, Y, Z as fields 2, 3, 4, each a complete number in locale's format (read in this
// order, stopping at the first that is not); the comment is field 2 of the trimmed second
// line split at "(" and ")", the text inside the first pair of parentheses.
[[nodiscard]] ProgramFileFacts readProgramFacts(QIODevice &device,
                                                const QLocale &locale,
                                                qint64 budgetBytes = programReadBudgetBytes);

// The comment the program on the device carries: ProgramFileFacts::comment, "" when it has
// none (or the device holds no program).
[[nodiscard]] QString readProgramComment(QIODevice &device, const QLocale &locale);

// The program file of programName: GCodePath immediately followed by the name, the whole
// trimmed of blanks, found in any letter case (see base::resolveFileName). Empty for an empty
// name, one that reaches outside the folder, and one holding a NUL.
[[nodiscard]] QString programFilePath(const base::Settings &settings, const QString &programName);

// How a dimension taken from a program file is written into the item.
enum class DimensionText {
    Compact,  // text::formatSingleCompact: 0.5 gives ".5"
    Shortest, // text::formatSingleShortest: 0.5 gives "0.5"
};

// The plan dimensions of an item, as the field selection takes them.
struct PlanSize
{
    float x = 0;
    float y = 0;
    // The dimensions were to come from the program file, and there is no such file.
    bool programMissing = false;
};

// Looks up missing dimensions and the program comment in the item's program file, in the
// g-code folder.
class ProgramFileReader
{
public:
    ProgramFileReader(const base::Settings &settings, base::Prompter &prompter);

    // The regional number format of ISO programs; the user's own unless set.
    void setLocale(const QLocale &locale) { m_locale = locale; }
    [[nodiscard]] const QLocale &locale() const { return m_locale; }

    // program::programFilePath with these settings.
    [[nodiscard]] QString programFilePath(const QString &programName) const;

    // Sets item.programComment to "" and then to the comment read. Each of x, y, z that is
    // read replaces the value passed in; the others keep it. A missing, unreadable or
    // incomplete file ends the reading without a message; a file in neither format shows
    // "<path> Not a proper program file" (OK button) and changes no dimension. savedProgram,
    // when it holds any, is read instead of the file: the text just written to it.
    void readProgramFile(base::CurrentItem &item,
                         float &x,
                         float &y,
                         float &z,
                         const QByteArray &savedProgram = {}) const;

    // Sets item.programComment to the comment of the item's program file, read as above but
    // reading no dimension and showing no message: "" when the file is missing, unreadable,
    // incomplete or in neither format. For an item whose dimensions are all given, so that
    // its comment is still its own program's.
    void readComment(base::CurrentItem &item) const;

    // Completes the dimensions of an item about to be sent. When the numeric value of DimX,
    // DimY or DimZ is 0, the program file is read (readProgramFile) and each of the three
    // whose value is 0 becomes, in the given form, the value read for it (0 when none was).
    // Otherwise no file is read for them and only the comment is: from savedProgram, the
    // text just written to the program file, when it holds any, else from the file
    // (readComment). Dimensions and comment read from the file come from savedProgram too. Returns
    // the numeric DimX and DimY afterwards, and whether the file they were to come from is
    // missing.
    [[nodiscard]] PlanSize completeDimensions(base::CurrentItem &item,
                                              DimensionText form,
                                              const QByteArray &savedProgram = {}) const;

private:
    const base::Settings &m_settings;
    base::Prompter &m_prompter;
    QLocale m_locale = QLocale::system();
};

// ProgramFileReader::readProgramFile with the user's regional number format.
void readProgramFile(const base::Settings &settings,
                     base::CurrentItem &item,
                     base::Prompter &prompter,
                     float &x,
                     float &y,
                     float &z);

} // namespace barlink::program
