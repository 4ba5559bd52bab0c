#include "program/ProgramFileReader.h"
#include "text/TrimSpaces.h"

#include "base/CurrentItem.h"
#include "base/Error.h"
#include "base/FileNames.h"
#include "base/Prompter.h"
#include "base/Settings.h"
#include "text/FieldSplitter.h"
#include "text/NumberFormat.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"
#include "text/SingleByte.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

namespace barlink::program {

namespace {

// Lines of a device, read in small chunks so that nothing past the lines asked for is
// read. Gives up (no further line) on a read error, an overlong line or a spent budget.
class LineReader
{
public:
    LineReader(QIODevice &device, qint64 budgetBytes)
        : m_device(device)
        , m_budgetLeft(budgetBytes)
    {}

    // The next line without its line end; nothing at the end of the file or on giving up.
    std::optional<QByteArray> next()
    {
        if (m_done)
            return std::nullopt;
        QByteArray line;
        for (;;) {
            if (m_pos == m_chunk.size() && !fill()) {
                m_done = true;
                // A last line without a line end counts only when the file really ended.
                if (m_ended && !line.isEmpty())
                    return line;
                return std::nullopt;
            }
            const char c = m_chunk[m_pos++];
            if (m_skipLf) {
                m_skipLf = false;
                if (c == '\n')
                    continue;
            }
            if (c == '\r' || c == '\n') {
                m_skipLf = c == '\r';
                return line;
            }
            if (line.size() == maxProgramLineLength) {
                m_done = true;
                return std::nullopt;
            }
            line.append(c);
        }
    }

private:
    bool fill()
    {
        constexpr qint64 ChunkSize = 4096;
        if (m_budgetLeft <= 0)
            return false;
        m_chunk.resize(qsizetype(std::min(ChunkSize, m_budgetLeft)));
        const qint64 n = m_device.read(m_chunk.data(), m_chunk.size());
        if (n <= 0) {
            m_ended = n == 0;
            m_chunk.clear();
            m_pos = 0;
            return false;
        }
        m_chunk.resize(qsizetype(n));
        m_pos = 0;
        m_budgetLeft -= n;
        return true;
    }

    QIODevice &m_device;
    qint64 m_budgetLeft = 0;
    QByteArray m_chunk;
    qsizetype m_pos = 0;
    bool m_skipLf = false;
    bool m_ended = false;
    bool m_done = false;
};

bool isBlank(QStringView line)
{
    for (const QChar c : line) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

std::optional<QString> nextNonBlank(LineReader &lines)
{
    while (const std::optional<QByteArray> bytes = lines.next()) {
        QString line = text::fromSingleByte(*bytes);
        if (!isBlank(line))
            return line;
    }
    return std::nullopt;
}

// The leading numeric part of a field as a single-precision value; nothing when it
// overflows.
std::optional<float> leadingNumber(const QString &field)
{
    try {
        return text::toSingle(text::numericValue(field));
    } catch (const base::Error &) {
        return std::nullopt;
    }
}

// A field that must be a complete number in the regional format.
std::optional<float> regionalNumber(const QString &field, const QLocale &locale)
{
    bool ok = false;
    const float value = locale.toFloat(text::trimSpaces(field), &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

void readKtq(LineReader &lines, const QString &second, ProgramFileFacts &facts)
{
    std::optional<QString> unitsLine;
    while ((unitsLine = nextNonBlank(lines))) {
        if (unitsLine->contains(QLatin1String("UN"), Qt::CaseInsensitive))
            break;
    }
    if (!unitsLine)
        return;
    const text::FieldSplitter fields = text::splitFields(*unitsLine, u" =\r");
    if (!(facts.x = leadingNumber(fields.field(3))))
        return;
    if (!(facts.y = leadingNumber(fields.field(5))))
        return;
    if (!(facts.z = leadingNumber(fields.field(7))))
        return;
    facts.comment = second.mid(2);
}

void readIso(const QString &head,
             const QString &second,
             const QLocale &locale,
             ProgramFileFacts &facts)
{
    const text::FieldSplitter fields = text::splitFields(head, u"XYZT");
    if (!(facts.x = regionalNumber(fields.field(2), locale)))
        return;
    if (!(facts.y = regionalNumber(fields.field(3), locale)))
        return;
    if (!(facts.z = regionalNumber(fields.field(4), locale)))
        return;
    facts.comment = text::splitFields(text::trimSpaces(second), u"()").field(2);
}

} // namespace

ProgramFileFacts readProgramFacts(QIODevice &device, const QLocale &locale, qint64 budgetBytes)
{
    ProgramFileFacts facts;
    LineReader lines(device, budgetBytes);
    const std::optional<QString> first = nextNonBlank(lines);
    if (!first)
        return facts;
    const std::optional<QString> second = nextNonBlank(lines);
    if (!second)
        return facts;

    if (first->contains(QLatin1String("KTQ"), Qt::CaseInsensitive)) {
        facts.format = ProgramFileFacts::Format::Ktq;
        readKtq(lines, *second, facts);
        return facts;
    }
    const QString head = text::trimSpaces(*first).toUpper();
    if (!head.startsWith(QLatin1String("G71")) && !head.startsWith(QLatin1String("G70"))) {
        facts.format = ProgramFileFacts::Format::NotProgram;
        return facts;
    }
    facts.format = ProgramFileFacts::Format::Iso;
    readIso(head, *second, locale, facts);
    return facts;
}

QString readProgramComment(QIODevice &device, const QLocale &locale)
{
    return readProgramFacts(device, locale).comment.value_or(QString());
}

QString programFilePath(const base::Settings &settings, const QString &programName)
{
    // The path is trimmed as a whole: the folder loses leading blanks, the name trailing
    // ones, and leading ones too when there is no folder.
    QString folder = settings.gcodePath;
    while (folder.startsWith(QLatin1Char(' ')))
        folder.remove(0, 1);
    QString name = programName;
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (folder.isEmpty())
        name = text::trimSpaces(name);
    // A NUL would cut the name short where the system takes it, naming another file.
    if (name.isEmpty() || !base::isSafeRelativeName(name) || name.contains(QChar(0)))
        return {};
    return base::resolveFileName(folder, name);
}

ProgramFileReader::ProgramFileReader(const base::Settings &settings, base::Prompter &prompter)
    : m_settings(settings)
    , m_prompter(prompter)
{}

QString ProgramFileReader::programFilePath(const QString &programName) const
{
    return program::programFilePath(m_settings, programName);
}

void ProgramFileReader::readProgramFile(
    base::CurrentItem &item, float &x, float &y, float &z, const QByteArray &savedProgram) const
{
    item.programComment = QLatin1String("");
    const QString path = programFilePath(item.programName);
    ProgramFileFacts facts;
    if (!savedProgram.isEmpty()) {
        QBuffer buffer;
        buffer.setData(savedProgram);
        buffer.open(QIODevice::ReadOnly);
        facts = readProgramFacts(buffer, m_locale);
    } else {
        // Only a plain file is opened: a folder, a fifo or a device is no program file.
        if (path.isEmpty() || !QFileInfo(path).isFile())
            return;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        facts = readProgramFacts(file, m_locale);
    }

    if (facts.format == ProgramFileFacts::Format::NotProgram) {
        m_prompter.ask(base::Prompter::Icon::None,
                       base::Prompter::Buttons::Ok,
                       path + QStringLiteral(" Not a proper program file"));
        return;
    }
    if (facts.x)
        x = *facts.x;
    if (facts.y)
        y = *facts.y;
    if (facts.z)
        z = *facts.z;
    if (facts.comment)
        item.programComment = *facts.comment;
}

void ProgramFileReader::readComment(base::CurrentItem &item) const
{
    item.programComment = QLatin1String("");
    const QString path = programFilePath(item.programName);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        item.programComment = readProgramComment(file, m_locale);
}

PlanSize ProgramFileReader::completeDimensions(base::CurrentItem &item,
                                               DimensionText form,
                                               const QByteArray &savedProgram) const
{
    const auto singleValue
        = [](const QString &value) { return text::toSingle(text::numericValue(value)); };
    // All three are read first: a dimension too large for a single-precision number stops
    // the item whichever of them is 0.
    const float givenX = singleValue(item.dimX);
    const float givenY = singleValue(item.dimY);
    const float givenZ = singleValue(item.dimZ);
    if (givenX != 0 && givenY != 0 && givenZ != 0) {
        // The comment is still this item's program's, never an earlier one's.
        if (savedProgram.isEmpty()) {
            readComment(item);
        } else {
            QBuffer buffer;
            buffer.setData(savedProgram);
            buffer.open(QIODevice::ReadOnly);
            item.programComment = readProgramComment(buffer, m_locale);
        }
        return {givenX, givenY};
    }

    float x = 0;
    float y = 0;
    float z = 0;
    readProgramFile(item, x, y, z, savedProgram);
    const QString path = programFilePath(item.programName);
    const bool missing = savedProgram.isEmpty() && (path.isEmpty() || !QFileInfo(path).isFile());
    const auto format
        = form == DimensionText::Compact ? text::formatSingleCompact : text::formatSingleShortest;
    for (auto [dimension, value] : {std::pair{&item.dimX, x}, {&item.dimY, y}, {&item.dimZ, z}}) {
        if (text::numericValue(*dimension) == 0)
            *dimension = format(value);
    }
    return {singleValue(item.dimX), singleValue(item.dimY), missing};
}

void readProgramFile(const base::Settings &settings,
                     base::CurrentItem &item,
                     base::Prompter &prompter,
                     float &x,
                     float &y,
                     float &z)
{
    ProgramFileReader(settings, prompter).readProgramFile(item, x, y, z);
}

} // namespace barlink::program
