// The settings file: any bytes are read as a profile file, then one key is written into
// them. Other programs share this file, so the write must leave every other line byte for
// byte as it was, and what was written must read back.
//
// Input: the read buffer size less one, then five fields, each a length byte (taken modulo
// 64) and that many bytes: section, key and value to write, and a section and key to read
// before and after; the rest is the file.

#include "FuzzCheck.h"
#include "base/Error.h"
#include "settings/ProfileFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace barlink;
using settings::ProfileFile;

namespace {

// The rule as written: blanks are tab, LF, VT, FF, CR, space and Ctrl-Z, and names and
// values lose them at both ends. Stated as a pattern rather than as the reader's loops, so
// that a fault in the reader's blank test shows here as a difference.
QString trimmedBlanks(const QString &text)
{
    static const QRegularExpression edges(
        QStringLiteral("\\A[\\t\\n\\x{0B}\\f\\r \\x{1A}]+|[\\t\\n\\x{0B}\\f\\r \\x{1A}]+\\z"));
    return QString(text).remove(edges);
}

bool sameName(const QString &a, const QString &b)
{
    return trimmedBlanks(a).compare(trimmedBlanks(b), Qt::CaseInsensitive) == 0;
}

// A value as it reads back: blanks gone at both ends, then one pair of like quotes.
QString valueAsRead(const QString &written)
{
    QString value = trimmedBlanks(written);
    if (value.size() >= 2 && value.front() == value.back()
        && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
        value = value.mid(1, value.size() - 2);
    return value;
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Reads an input front to back; past its end every field is empty.
class InputReader
{
public:
    explicit InputReader(QByteArrayView input)
        : m_input(input)
    {}

    [[nodiscard]] int byte() { return m_pos < m_input.size() ? quint8(m_input[m_pos++]) : 0; }
    [[nodiscard]] QString field()
    {
        const qsizetype length = std::min<qsizetype>(byte() % 64, m_input.size() - m_pos);
        const QString text = QString::fromLatin1(m_input.sliced(m_pos, length));
        m_pos += length;
        return text;
    }
    [[nodiscard]] QByteArray rest() const { return m_input.sliced(m_pos).toByteArray(); }

private:
    QByteArrayView m_input;
    qsizetype m_pos = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    InputReader input(QByteArrayView(data, qsizetype(size)));
    const int bufferSize = input.byte() + 1;
    const QString section = input.field();
    const QString key = input.field();
    const QString value = input.field();
    const QString probeSection = input.field();
    const QString probeKey = input.field();
    const QByteArray before = input.rest();

    // Reading: never more than the buffer allows.
    const QString dflt = QStringLiteral("\x01missing");
    const QString read = ProfileFile::readStringFrom(before, section, key, dflt, bufferSize);
    fuzz::check(read.size() <= bufferSize - 1, "a value is cut to the buffer size");
    const std::optional<QString> present = ProfileFile::valueFrom(before, section, key, bufferSize);
    fuzz::check(!present || present->size() <= bufferSize - 1, "a value is cut to the buffer size");

    QByteArray after;
    try {
        after = ProfileFile::withString(before, section, key, value);
    } catch (const base::Error &error) {
        fuzz::check(error.number() == base::Error::InvalidCall,
                    "a refused write raises error 5",
                    QString::fromUtf8(error.what()));
        return 0;
    }

    // The bytes that changed lie within one line, or are whole lines put in between two.
    qsizetype prefix = 0;
    const qsizetype common = std::min(before.size(), after.size());
    while (prefix < common && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix
           && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const QByteArray removed = before.mid(prefix, before.size() - prefix - suffix);
    const QByteArray added = after.mid(prefix, after.size() - prefix - suffix);
    const QString change
        = QStringLiteral("before: %1\nafter:  %2").arg(fuzz::escaped(before), fuzz::escaped(after));
    fuzz::check(std::none_of(removed.cbegin(), removed.cend(), isLineEnd),
                "every other line stays byte for byte",
                change);
    fuzz::check(removed.isEmpty() || std::none_of(added.cbegin(), added.cend(), isLineEnd),
                "a changed line stays one line",
                change);

    // What was written reads back.
    constexpr int Unlimited = 1 << 20;
    fuzz::check(ProfileFile::readStringFrom(after, section, key, dflt, Unlimited)
                    == valueAsRead(value),
                "the written value reads back",
                QStringLiteral("[%1] %2=%3\n").arg(section, key, value) + change);

    // Every other key reads as before.
    if (!(sameName(probeSection, section) && sameName(probeKey, key))) {
        fuzz::check(
            ProfileFile::readStringFrom(before, probeSection, probeKey, dflt, Unlimited)
                == ProfileFile::readStringFrom(after, probeSection, probeKey, dflt, Unlimited),
            "other keys read as before",
            QStringLiteral("[%1] %2\n").arg(probeSection, probeKey) + change);
    }
    return 0;
}
