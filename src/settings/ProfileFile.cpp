#include "settings/ProfileFile.h"

#include "base/Error.h"
#include "text/SingleByte.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>

namespace barlink::settings {

namespace {

constexpr bool isBlank(char c)
{
    return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ' ' || c == '\x1a';
}

constexpr bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isBlank(QChar c)
{
    return c.unicode() < 0x80 && isBlank(static_cast<char>(c.unicode()));
}

// A file that begins with the UTF-8 byte-order mark is UTF-8 text after it (as an editor saves
// it); any other file is in the single-byte code page. The mark belongs to no line.
constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");

struct Encoding
{
    bool utf8 = false;

    [[nodiscard]] QString decode(QByteArrayView bytes) const
    {
        return utf8 ? QString::fromUtf8(bytes) : text::fromSingleByte(bytes);
    }
    [[nodiscard]] QByteArray encode(QStringView text) const
    {
        return utf8 ? text.toUtf8() : text::toSingleByte(text);
    }
};

// The file's text without its mark, and how it is encoded.
struct Content
{
    QByteArrayView mark;
    QByteArrayView text;
    Encoding encoding;
};

Content contentOf(QByteArrayView bytes)
{
    if (bytes.startsWith(Utf8Mark))
        return {bytes.first(Utf8Mark.size()), bytes.sliced(Utf8Mark.size()), {true}};
    return {{}, bytes, {false}};
}

QString trimmedBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// One line of the file: [begin, end) without its line end; next is where the line after
// it begins, past the whole run of CR and LF.
struct Line
{
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

class LineReader
{
public:
    explicit LineReader(QByteArrayView text)
        : m_text(text)
    {}

    bool next(Line &line)
    {
        const qsizetype size = m_text.size();
        if (m_pos >= size)
            return false;
        const char *data = m_text.data();
        const char *end = std::find_if(data + m_pos, data + size, isLineEnd);
        line.begin = m_pos;
        line.end = end - data;
        line.next = line.end;
        while (line.next < size && isLineEnd(data[line.next]))
            ++line.next;
        m_pos = line.next;
        return true;
    }

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
};

// What a line says; positions are offsets into the whole text.
struct Entry
{
    enum class Kind { Blank, Comment, Section, Key };
    Kind kind = Kind::Blank;
    QByteArrayView name;
    bool hasEquals = false;
    qsizetype equals = -1;    // the first "=" of a key line
    qsizetype valueBegin = 0; // the value, without the blanks around it
    qsizetype contentEnd = 0; // end of the line without its trailing blanks
};

Entry parseLine(QByteArrayView text, const Line &line)
{
    Entry entry;
    qsizetype begin = line.begin;
    qsizetype end = line.end;
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    entry.contentEnd = end;
    if (begin == end)
        return entry;
    const QByteArrayView content = text.sliced(begin, end - begin);
    if (content.front() == ';') {
        entry.kind = Entry::Kind::Comment;
        return entry;
    }
    if (content.front() == '[') {
        const qsizetype close = content.lastIndexOf(']');
        if (close > 0) {
            qsizetype nameBegin = 1;
            qsizetype nameEnd = close;
            while (nameBegin < nameEnd && isBlank(content[nameBegin]))
                ++nameBegin;
            while (nameEnd > nameBegin && isBlank(content[nameEnd - 1]))
                --nameEnd;
            entry.kind = Entry::Kind::Section;
            entry.name = content.sliced(nameBegin, nameEnd - nameBegin);
            return entry;
        }
    }
    entry.kind = Entry::Kind::Key;
    const qsizetype equals = content.indexOf('=');
    if (equals < 0) {
        entry.name = content;
        return entry;
    }
    qsizetype nameEnd = equals;
    while (nameEnd > 0 && isBlank(content[nameEnd - 1]))
        --nameEnd;
    entry.name = content.first(nameEnd);
    entry.hasEquals = true;
    entry.equals = begin + equals;
    entry.valueBegin = entry.equals + 1;
    while (entry.valueBegin < end && isBlank(text[entry.valueBegin]))
        ++entry.valueBegin;
    return entry;
}

// A section or key name looked for: trimmed, and in the file's single-byte characters,
// so that names are only decoded when their lengths match.
class Name
{
public:
    Name(const QString &name, Encoding encoding)
        : m_encoding(encoding)
        , m_text(encoding.decode(encoding.encode(trimmedBlanks(name))))
    {}

    [[nodiscard]] bool matches(QByteArrayView bytes) const
    {
        // A single-byte name has as many bytes as characters: most names differ in length.
        if (!m_encoding.utf8 && bytes.size() != m_text.size())
            return false;
        return m_encoding.decode(bytes).compare(m_text, Qt::CaseInsensitive) == 0;
    }

private:
    Encoding m_encoding;
    QString m_text;
};

// Where a key stands in the file.
struct Search
{
    bool sectionFound = false;
    Line lastLine;            // the last non-blank line of the section, its header at least
    std::optional<Entry> key; // the first line of the key in that section
};

Search search(QByteArrayView text, const Name &section, const Name &key)
{
    Search result;
    bool inSection = false;
    LineReader lines(text);
    Line line;
    while (lines.next(line)) {
        const Entry entry = parseLine(text, line);
        if (entry.kind == Entry::Kind::Section) {
            if (result.sectionFound)
                break;
            inSection = section.matches(entry.name);
            if (inSection) {
                result.sectionFound = true;
                result.lastLine = line;
            }
            continue;
        }
        if (!inSection || entry.kind == Entry::Kind::Blank)
            continue;
        result.lastLine = line;
        if (entry.kind == Entry::Kind::Key && key.matches(entry.name)) {
            result.key = entry;
            break;
        }
    }
    return result;
}

template<typename Text> Text withoutQuotes(Text value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

QByteArray lineEndOf(QByteArrayView text)
{
    const char *data = text.data();
    const char *end = std::find_if(data, data + text.size(), isLineEnd);
    if (end == data + text.size())
        return QByteArrayLiteral("\r\n");
    if (*end == '\r')
        return end + 1 < data + text.size() && end[1] == '\n' ? QByteArrayLiteral("\r\n")
                                                              : QByteArrayLiteral("\r");
    return QByteArrayLiteral("\n");
}

// Where the text after a line goes: past the line's own line end, or -1 when the line
// is the last one and has none.
qsizetype afterLineEnd(QByteArrayView text, const Line &line)
{
    if (line.end == line.next)
        return -1;
    if (text[line.end] == '\r' && line.end + 1 < line.next && text[line.end + 1] == '\n')
        return line.end + 2;
    return line.end + 1;
}

[[noreturn]] void throwInvalidName()
{
    throw base::Error(base::Error::InvalidCall, base::Reason(base::Reason::Code::InvalidCall));
}

QByteArray checkedName(const QString &name, bool isKey, Encoding encoding)
{
    const QByteArray bytes = encoding.encode(trimmedBlanks(name));
    if (bytes.isEmpty() || bytes.contains('\r') || bytes.contains('\n'))
        throwInvalidName();
    // A key must read back as that key: not a comment, not a header, split at its own "=".
    if (isKey && (bytes.contains('=') || bytes.front() == ';' || bytes.front() == '['))
        throwInvalidName();
    return bytes;
}

// The error a failed file operation is reported with; systemError is errno just after it.
base::Error fileError(QFileDevice::FileError error, int systemError)
{
    switch (systemError) {
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return base::Error(base::Error::DiskFull, base::Reason(base::Reason::Code::DiskFull));
    case EACCES:
    case EPERM:
    case EROFS:
        return base::Error(base::Error::PermissionDenied,
                           base::Reason(base::Reason::Code::PermissionDenied));
    case ENOENT:
    case ENOTDIR:
        return base::Error(base::Error::PathNotFound,
                           base::Reason(base::Reason::Code::PathNotFound));
    default:
        break;
    }
    if (error == QFileDevice::ResourceError)
        return base::Error(base::Error::DiskFull, base::Reason(base::Reason::Code::DiskFull));
    if (error == QFileDevice::PermissionsError)
        return base::Error(base::Error::PermissionDenied,
                           base::Reason(base::Reason::Code::PermissionDenied));
    return base::Error(base::Error::PathFileAccessError,
                       base::Reason(base::Reason::Code::PathFileAccessError));
}

QByteArray readBounded(const QString &path)
{
    // An empty name is no file (the settings before start-up has found one): read as missing.
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // read(n) sets n bytes aside before reading: ask for no more than the file holds.
    return file.read(std::min(file.size(), ProfileFile::MaxFileSize));
}

QByteArray withStringIn(const QByteArray &content,
                        const Search &found,
                        const QByteArray &sectionBytes,
                        const QByteArray &keyBytes,
                        const QByteArray &valueBytes)
{
    QByteArray updated = content;
    if (found.key) {
        if (found.key->hasEquals) {
            const qsizetype from = found.key->equals + 1;
            updated.replace(from, found.key->contentEnd - from, valueBytes);
        } else {
            updated.insert(found.key->contentEnd, '=' + valueBytes);
        }
        return updated;
    }

    const QByteArray eol = lineEndOf(content);
    const QByteArray keyLine = keyBytes + '=' + valueBytes + eol;
    if (found.sectionFound) {
        const qsizetype at = afterLineEnd(content, found.lastLine);
        if (at < 0)
            updated.append(eol + keyLine);
        else
            updated.insert(at, keyLine);
        return updated;
    }
    if (!updated.isEmpty() && !isLineEnd(updated.back()))
        updated.append(eol);
    updated.append('[' + sectionBytes + ']' + eol + keyLine);
    return updated;
}

} // namespace

ProfileFile::ProfileFile(QString path)
    : m_path(std::move(path))
{}

std::optional<QString> ProfileFile::valueFrom(QByteArrayView content,
                                              const QString &section,
                                              const QString &key,
                                              int bufferSize)
{
    const Content file = contentOf(content);
    const Search found = search(file.text, Name(section, file.encoding), Name(key, file.encoding));
    if (!found.key || !found.key->hasEquals)
        return std::nullopt;
    if (bufferSize <= 1)
        return QString();
    const qsizetype limit = bufferSize - 1;
    QByteArrayView value = withoutQuotes(
        file.text.sliced(found.key->valueBegin, found.key->contentEnd - found.key->valueBegin));
    // A character takes at most four bytes: no more is decoded than can be kept.
    value = value.first(std::min<qsizetype>(file.encoding.utf8 ? 4 * limit : limit, value.size()));
    QString text = file.encoding.decode(value);
    text.truncate(limit);
    return text;
}

QString ProfileFile::readStringFrom(QByteArrayView content,
                                    const QString &section,
                                    const QString &key,
                                    const QString &defaultValue,
                                    int bufferSize)
{
    if (std::optional<QString> found = valueFrom(content, section, key, bufferSize))
        return *found;
    if (bufferSize <= 1)
        return {};
    QString fallback = defaultValue;
    while (!fallback.isEmpty() && isBlank(fallback.back()))
        fallback.chop(1);
    fallback = withoutQuotes(fallback);
    fallback.truncate(bufferSize - 1);
    return fallback;
}

QString ProfileFile::readString(const QString &section,
                                const QString &key,
                                const QString &defaultValue,
                                int bufferSize) const
{
    return readStringFrom(readBounded(m_path), section, key, defaultValue, bufferSize);
}

std::optional<QString>
ProfileFile::value(const QString &section, const QString &key, int bufferSize) const
{
    return valueFrom(readBounded(m_path), section, key, bufferSize);
}

ProfileFile::WholeNumber ProfileFile::wholeNumberIn(QStringView value)
{
    // Beyond this the number is held here: far past every range a key has.
    constexpr qint64 Held = Q_INT64_C(1) << 40;
    WholeNumber result;
    qsizetype i = 0;
    while (i < value.size() && isBlank(value[i]))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == u'-' || value[i] == u'+')) {
        negative = value[i] == u'-';
        ++i;
    }
    quint32 low = 0;
    qint64 number = 0;
    for (; i < value.size() && value[i] >= u'0' && value[i] <= u'9'; ++i) {
        const int digit = value[i].unicode() - u'0';
        low = low * 10u + static_cast<quint32>(digit);
        number = std::min(number * 10 + digit, Held);
    }
    result.value = negative ? -number : number;
    result.wrapped = static_cast<qint32>(negative ? 0u - low : low);
    result.fits = result.value >= std::numeric_limits<qint32>::min()
                  && result.value <= std::numeric_limits<qint32>::max();
    return result;
}

int ProfileFile::readInt(const QString &section, const QString &key, int defaultValue) const
{
    const std::optional<QString> found = value(section, key, std::numeric_limits<int>::max());
    if (!found || found->isEmpty())
        return defaultValue;
    return wholeNumberIn(*found).wrapped;
}

QList<ProfileFile::Repeat> ProfileFile::repeatsFrom(QByteArrayView content, const QString &section)
{
    const Content file = contentOf(content);
    const Name wanted(section, file.encoding);
    QList<Repeat> repeats;
    // Where each key of the section was given first, by its name in one case.
    QHash<QString, std::pair<QString, int>> firstLines;
    int sectionLine = 0;
    bool inSection = false;
    int lineNumber = 1;
    qsizetype counted = 0;
    const QByteArrayView text = file.text;
    LineReader lines(text);
    Line line;
    while (lines.next(line)) {
        // Lines as an editor counts them: CR LF, a lone CR and a lone LF each end one.
        for (; counted < line.begin; ++counted) {
            if (text[counted] == '\n'
                || (text[counted] == '\r'
                    && (counted + 1 >= text.size() || text[counted + 1] != '\n')))
                ++lineNumber;
        }
        const Entry entry = parseLine(text, line);
        if (entry.kind == Entry::Kind::Section) {
            inSection = wanted.matches(entry.name);
            if (!inSection)
                continue;
            if (sectionLine == 0) {
                sectionLine = lineNumber;
            } else {
                repeats.append({.name = file.encoding.decode(entry.name),
                                .section = true,
                                .firstLine = sectionLine,
                                .line = lineNumber});
                // Only the first section of a name is read: nothing after it counts.
                break;
            }
            continue;
        }
        if (!inSection || entry.kind != Entry::Kind::Key)
            continue;
        const QString name = file.encoding.decode(entry.name);
        const auto first = firstLines.constFind(name.toCaseFolded());
        if (first == firstLines.cend())
            firstLines.insert(name.toCaseFolded(), {name, lineNumber});
        else
            repeats.append({.name = first->first,
                            .section = false,
                            .firstLine = first->second,
                            .line = lineNumber});
    }
    return repeats;
}

QList<ProfileFile::Repeat> ProfileFile::repeats(const QString &section) const
{
    return repeatsFrom(readBounded(m_path), section);
}

QByteArray ProfileFile::withString(const QByteArray &content,
                                   const QString &section,
                                   const QString &key,
                                   const QString &value)
{
    const Content file = contentOf(content);
    const QByteArray sectionBytes = checkedName(section, false, file.encoding);
    const QByteArray keyBytes = checkedName(key, true, file.encoding);
    const QByteArray valueBytes = file.encoding.encode(value);
    if (valueBytes.contains('\r') || valueBytes.contains('\n'))
        throwInvalidName();
    // The byte-order mark stays where it is, in front of the text that changes.
    return file.mark.toByteArray()
           + withStringIn(file.text.toByteArray(),
                          search(file.text, Name(section, file.encoding), Name(key, file.encoding)),
                          sectionBytes,
                          keyBytes,
                          valueBytes);
}

void ProfileFile::writeString(const QString &section,
                              const QString &key,
                              const QString &value) const
{
    const QFileInfo info(m_path);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        errno = 0;
        if (!QDir().mkpath(folder))
            throw base::Error(base::Error::PathNotFound,
                              base::Reason(base::Reason::Code::PathNotFound));
    }

    QByteArray content;
    QFile existing(m_path);
    if (existing.exists()) {
        errno = 0;
        if (!existing.open(QIODevice::ReadOnly))
            throw fileError(existing.error(), errno);
        if (existing.size() > MaxFileSize)
            throw base::Error(base::Error::PathFileAccessError,
                              base::Reason(base::Reason::Code::PathFileAccessError));
        content = existing.readAll();
        existing.close();
    }

    const QByteArray updated = withString(content, section, key, value);
    if (updated == content && existing.exists())
        return;

    QSaveFile file(m_path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw fileError(file.error(), errno);
    errno = 0;
    // commit() does not report a failing flush of its buffer and would put a cut-short
    // file in place: flush first and check.
    if (file.write(updated) != updated.size() || !file.flush()
        || file.error() != QFileDevice::NoError) {
        const int systemError = errno;
        const QFileDevice::FileError error = file.error();
        file.cancelWriting();
        throw fileError(error, systemError);
    }
    errno = 0;
    if (!file.commit())
        throw fileError(file.error(), errno);
}

} // namespace barlink::settings
