// Program files: the reader takes dimensions and comment from a program's first lines,
// whatever the bytes, within its read budget and the same for every form of line end and
// every way the bytes arrive.
//
// Input: one byte choosing the regional format (bits 0-1) and the read budget (bits 2-4),
// then the file's bytes.

#include "FuzzCheck.h"
#include "program/ProgramFileReader.h"

#include <QBuffer>
#include <QIODevice>
#include <QLocale>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace barlink;
using program::ProgramFileFacts;

namespace {

// A device that hands out its bytes a few at a time, as a pipe or a slow disk may.
class TricklingDevice : public QIODevice
{
public:
    explicit TricklingDevice(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        m_step = m_step % 7 + 1;
        const qint64 n = std::min({maxSize, qint64(m_step), qint64(m_bytes.size() - m_pos)});
        std::copy_n(m_bytes.constData() + m_pos, n, data);
        m_pos += qsizetype(n);
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qsizetype m_pos = 0;
    int m_step = 0;
};

bool same(const std::optional<float> &a, const std::optional<float> &b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || *a == *b || (std::isnan(*a) && std::isnan(*b));
}

bool same(const ProgramFileFacts &a, const ProgramFileFacts &b)
{
    return a.format == b.format && same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z)
           && a.comment == b.comment;
}

QString describe(const ProgramFileFacts &facts)
{
    QStringList parts{QString::number(int(facts.format))};
    for (const std::optional<float> &v : {facts.x, facts.y, facts.z})
        parts << (v ? QString::number(double(*v)) : QStringLiteral("-"));
    parts << (facts.comment ? QLatin1Char('(') + *facts.comment + QLatin1Char(')')
                            : QStringLiteral("-"));
    return parts.join(QLatin1Char(' '));
}

// The same lines, every line end (CR LF, CR or LF) written as LF.
QByteArray withLfLineEnds(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            out += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            out += bytes[i];
        }
    }
    return out;
}

ProgramFileFacts readFrom(QIODevice &device, const QLocale &locale, qint64 budget)
{
    const ProgramFileFacts facts = program::readProgramFacts(device, locale, budget);
    const bool isProgram = facts.format == ProgramFileFacts::Format::Ktq
                           || facts.format == ProgramFileFacts::Format::Iso;
    fuzz::check(
        isProgram || (!facts.x && !facts.comment), "only a program has values", describe(facts));
    fuzz::check((!facts.y || facts.x) && (!facts.z || facts.y) && (!facts.comment || facts.z),
                "reading stops at the first value missing",
                describe(facts));
    return facts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return -1;
    static const std::array<QLocale, 4> locales = {QLocale::c(),
                                                   QLocale(QStringLiteral("de_DE")),
                                                   QLocale(QStringLiteral("fr_FR")),
                                                   QLocale(QStringLiteral("en_US"))};
    constexpr std::array<qint64, 8> budgets
        = {0, 1, 7, 64, 4096, 4097, 1 << 20, program::programReadBudgetBytes};
    const QLocale &locale = locales[data[0] & 3];
    const qint64 budget = budgets[(data[0] >> 2) & 7];
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const ProgramFileFacts facts = readFrom(buffer, locale, budget);
    fuzz::check(buffer.pos() <= budget,
                "nothing is read beyond the budget",
                QStringLiteral("%1 of %2 bytes").arg(buffer.pos()).arg(budget));

    TricklingDevice trickle(bytes);
    const ProgramFileFacts trickled = readFrom(trickle, locale, budget);
    fuzz::check(same(facts, trickled),
                "the facts do not depend on how the bytes arrive",
                describe(facts) + QStringLiteral(" / ") + describe(trickled));

    if (budget > bytes.size()) {
        QBuffer lf;
        lf.setData(withLfLineEnds(bytes));
        lf.open(QIODevice::ReadOnly);
        const ProgramFileFacts lfFacts = readFrom(lf, locale, budget);
        fuzz::check(same(facts, lfFacts),
                    "the facts do not depend on the form of line end",
                    describe(facts) + QStringLiteral(" / ") + describe(lfFacts));
    }
    return 0;
}
