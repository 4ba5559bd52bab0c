#include "text/FieldSplitter.h"

namespace barlink::text {

FieldSplitter::FieldSplitter(QStringView text, QStringView separators)
    : m_text(text.toString())
{
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        if (separators.contains(m_text[i]))
            m_separatorIndexes.append(i);
    }
}

qsizetype FieldSplitter::count() const noexcept
{
    return m_text.isEmpty() ? 0 : m_separatorIndexes.size() + 1;
}

QString FieldSplitter::field(qsizetype n) const
{
    if (n < 1 || n > count())
        return {};
    const qsizetype start = n == 1 ? 0 : m_separatorIndexes[n - 2] + 1;
    const qsizetype end
        = n <= m_separatorIndexes.size() ? m_separatorIndexes[n - 1] : m_text.size();
    return m_text.mid(start, end - start);
}

FieldSplitter splitFields(QStringView text, QStringView separators)
{
    return FieldSplitter(text, separators);
}

} // namespace barlink::text
