#include "text/TokenReader.h"
#include "TrimSpaces.h"

#include "base/Error.h"

#include <limits>

namespace barlink::text {

namespace {


} // namespace

QString TokenReader::nextToken(const QString &text)
{
    if (text.isEmpty()) {
        reset();
        return {};
    }
    // Tested before the text is compared, so a finished text blocks a new one until a reset.
    if (m_tokenPos >= text.size())
        return {};

    const qsizetype start = text == m_tokenSource ? m_tokenPos : 0;
    const qsizetype space = text.indexOf(u' ', start);
    // The token runs up to and including the space that ends it, or to the end of the text.
    const qsizetype end = space < 0 ? text.size() : space + 1;
    // The place moves past the ending space, or one past the end when no space is left.
    const qsizetype newPos = space < 0 ? text.size() + 1 : end;
    if (newPos > std::numeric_limits<qint16>::max())
        throw base::Error(base::Error::Overflow, base::Reason(base::Reason::Code::Overflow));

    QString token = trimSpaces(QStringView(text).sliced(start, end - start));
    m_tokenPos = static_cast<qint16>(newPos);
    m_tokenSource = text;
    return token;
}

void TokenReader::reset()
{
    m_tokenSource.clear();
    m_tokenPos = 0;
}

} // namespace barlink::text
