#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace barlink::settings {

// A profile file ("[Section]" headers, "key=value" lines) on one path, read and written
// key by key the way the Windows profile functions do, so the station shares its
// settings file with other programs without disturbing their lines.
//
// Reading:
// - Lines end at any run of CR and/or LF; blank lines are ignored. Blanks are tab, LF,
//   VT, FF, CR, space and Ctrl-Z, and every line is trimmed of them at both ends.
// - A line starting with "[" and holding a "]" is a section header; its name is the text
//   between the "[" and the last "]", trimmed. Any other line is a key line, split at its
//   first "=" (name without trailing blanks, value without leading ones); a line without
//   "=" is a key without a value, which reads as the default.
// - Only a line whose first non-blank character is ";" is a comment; there are no inline
//   comments and "#" is ordinary text.
// - Names are compared trimmed and case-insensitively. The first matching key wins and
//   only the first section of a name is searched. Key lines before the first section
//   header belong to no section.
// - A value (or default) of at least two characters that starts and ends with the same
//   quote (" or ') loses that pair; the default first loses its trailing blanks. The
//   answer is cut to bufferSize - 1 characters.
// - A file that begins with the UTF-8 byte-order mark is read as UTF-8 text after the mark;
//   any other file is in the single-byte code page.
// - A missing or unreadable file reads as defaults. Only the first MaxFileSize bytes of a
//   file are looked at, so a huge file cannot exhaust memory.
//
// Writing one key:
// - An existing key (the first match, in the first section of the name) keeps everything
//   up to and including its "=" and whatever follows its value on the line; only the value
//   changes. A matching key line without "=" gets "=" and the value.
// - A new key goes on a new line after the last non-blank line of its section (a comment
//   line counts), so the blank lines before the next section stay where they are.
// - A new section is appended at the end as "[S]", line end, "k=v", line end.
// - New lines use the file's own line end (that of its first line; CR LF for a file that
//   has none); a file that does not end with a line end gets one before appended text.
// - Names and values are written in the file's encoding; a byte-order mark stays in front.
// - Every other byte stays as it was; the file is replaced atomically. A missing parent
//   folder is created.
class ProfileFile
{
public:
    // Files larger than this are read as their first MaxFileSize bytes and refused for writing.
    static constexpr qsizetype MaxFileSize = 16 * 1024 * 1024;

    explicit ProfileFile(QString path);

    [[nodiscard]] const QString &path() const { return m_path; }

    // The value of key in section, or the default; at most bufferSize - 1 characters.
    [[nodiscard]] QString readString(const QString &section,
                                     const QString &key,
                                     const QString &defaultValue = QString(),
                                     int bufferSize = 128) const;

    // The value of key in section, at most bufferSize - 1 characters; nothing when the key
    // is missing or has no "=".
    [[nodiscard]] std::optional<QString>
    value(const QString &section, const QString &key, int bufferSize = 128) const;

    // The whole number the value begins with: optional "-" or "+", then decimal digits,
    // wrapping like a 32-bit number ("42A9" is 42, "B42" is 0, "-1" is -1). A missing key, a
    // key without value or an empty value gives the default.
    [[nodiscard]] int readInt(const QString &section, const QString &key, int defaultValue) const;

    // The number a value begins with, read as readInt reads it, and what the 32 bits lose.
    struct WholeNumber
    {
        qint64 value = 0;   // the number as written; beyond 2^40 either way, 2^40
        qint32 wrapped = 0; // what readInt gives
        bool fits = true;   // value is a 32-bit number: wrapped is value
    };
    [[nodiscard]] static WholeNumber wholeNumberIn(QStringView value);

    // A key given again in the section, or the section given again: only the first is read.
    struct Repeat
    {
        QString name;         // the key as written where it is given first; or the section
        bool section = false; // a section header given again: nothing after it is read
        int firstLine = 0;    // where it is given first, lines counted from 1 as an editor does
        int line = 0;         // where it is given again
    };
    // Every key of the section's first header given more than once (each later line once), then
    // a second header of the section, where looking stops.
    [[nodiscard]] QList<Repeat> repeats(const QString &section) const;
    [[nodiscard]] static QList<Repeat> repeatsFrom(QByteArrayView content, const QString &section);

    // Sets key in section to value, written as given. Throws barlink::base::Error when the names
    // or the value cannot be written as one line (5), the folder cannot be reached (76), the
    // file may not be written (70), the disk is full (61) or on any other failure (75);
    // the file is then as it was.
    void writeString(const QString &section, const QString &key, const QString &value) const;

    // The same rules on the file's bytes, without the file.
    [[nodiscard]] static QString readStringFrom(QByteArrayView content,
                                                const QString &section,
                                                const QString &key,
                                                const QString &defaultValue = QString(),
                                                int bufferSize = 128);
    [[nodiscard]] static std::optional<QString> valueFrom(QByteArrayView content,
                                                          const QString &section,
                                                          const QString &key,
                                                          int bufferSize = 128);
    [[nodiscard]] static QByteArray withString(const QByteArray &content,
                                               const QString &section,
                                               const QString &key,
                                               const QString &value);

private:
    QString m_path;
};

} // namespace barlink::settings
