#include "SpillReader.h"

#include "SpillFile.h"

#include <QCryptographicHash>

namespace barlink::journal {

namespace {

constexpr qint64 Chunk = 1 << 16;
// An entry is a label and its reason: far less. A longer line is no entry.
constexpr qsizetype MaxLine = 4 << 20;

} // namespace

SpillReader::SpillReader(const QString &path)
    : m_path(path)
    , m_file(path)
{
    if (!m_file.open(QIODevice::ReadOnly)) {
        fail();
        return;
    }
    const QByteArray first = readLine();
    if (SpillFile::isNameLine(first)) {
        m_token = SpillFile::tokenOf(first);
        return;
    }
    // No name line: the file is known by its bytes, and its first line may be an entry.
    QCryptographicHash digest(QCryptographicHash::Sha256);
    if (!m_file.seek(0) || !digest.addData(&m_file) || !m_file.seek(0)) {
        fail();
        return;
    }
    m_token = QStringLiteral("sha256:") + QString::fromLatin1(digest.result().toHex());
    m_buffer.clear();
    m_at = 0;
    m_read = 0;
    m_end = false;
}

void SpillReader::fail()
{
    m_error
        = m_file.errorString().isEmpty() ? QStringLiteral("cannot be read") : m_file.errorString();
    m_end = true;
}

QByteArray SpillReader::readLine()
{
    for (;;) {
        const qsizetype end = m_buffer.indexOf('\n', m_at);
        if (end >= 0) {
            QByteArray line = m_buffer.mid(m_at, end + 1 - m_at);
            m_at = end + 1;
            return line;
        }
        if (m_buffer.size() - m_at > MaxLine) {
            // Too long to be an entry: given cut, so that it counts as unreadable, and the
            // rest of it is passed over up to its line end.
            QByteArray part = m_buffer.mid(m_at);
            m_buffer.clear();
            m_at = 0;
            for (QByteArray more; !(more = m_file.read(Chunk)).isEmpty();) {
                m_read += more.size();
                const qsizetype lineEnd = more.indexOf('\n');
                if (lineEnd >= 0) {
                    m_buffer = more.mid(lineEnd + 1);
                    break;
                }
            }
            return part.left(64);
        }
        const QByteArray more = m_file.read(Chunk);
        if (more.isEmpty()) {
            QByteArray rest = m_buffer.mid(m_at);
            m_buffer.clear();
            m_at = 0;
            return rest;
        }
        m_read += more.size();
        m_buffer = m_buffer.mid(m_at) + more;
        m_at = 0;
    }
}

bool SpillReader::next(qsizetype most, std::vector<Entry> &entries)
{
    for (qsizetype n = 0; !m_end && n < most;) {
        const QByteArray line = readLine();
        if (line.isEmpty()) {
            m_end = true;
            break;
        }
        // A line without its line end was cut short while it was written.
        std::optional<Entry> entry
            = line.endsWith('\n') ? SpillFile::entryOf(line) : std::optional<Entry>();
        if (entry) {
            entries.push_back(std::move(*entry));
            ++n;
        } else if (!line.trimmed().isEmpty()) {
            ++m_unreadable;
        }
    }
    return !m_end;
}

int SpillReader::percent() const
{
    const qint64 size = m_file.size();
    const qint64 done = m_read - (m_buffer.size() - m_at);
    return size > 0 ? int(std::min<qint64>(100, done * 100 / size)) : 100;
}

} // namespace barlink::journal
