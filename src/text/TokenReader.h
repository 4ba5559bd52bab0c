#pragma once

#include <QString>

namespace barlink::text {

// Takes a text apart at single spaces, one token per call, keeping its place between calls.
// Two spaces in a row give an empty token; a trailing space gives no extra token.
class TokenReader
{
public:
    // The next token of text, trimmed of spaces. An empty text resets the reader. Once the place
    // has reached the end of a text, every call returns "" and changes nothing, even for a new
    // text: reset with an empty text before splitting another one. The place is a 16-bit
    // position: a call that would move it past 32767 throws barlink::base::Error 6 "Overflow" and
    // leaves the reader as it was.
    [[nodiscard]] QString nextToken(const QString &text);
    // The same as nextToken with an empty text.
    void reset();

    // The text being split.
    [[nodiscard]] const QString &tokenSource() const noexcept { return m_tokenSource; }
    // The number of characters taken so far (one past the space that ended the last token).
    [[nodiscard]] qint16 tokenPos() const noexcept { return m_tokenPos; }

private:
    QString m_tokenSource;
    qint16 m_tokenPos = 0;
};

} // namespace barlink::text
