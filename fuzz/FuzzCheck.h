#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace barlink::fuzz {

// Ends the run when a property the station promises does not hold, so that libFuzzer keeps
// the input that broke it as a crash.
[[noreturn]] inline void fail(const char *property, const QString &detail = QString())
{
    std::fprintf(stderr, "\n*** property violated: %s\n", property);
    if (!detail.isEmpty())
        std::fprintf(stderr, "*** %s\n", detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

inline void check(bool holds, const char *property, const QString &detail = QString())
{
    if (!holds)
        fail(property, detail);
}

// Bytes shown so that a reader sees control characters: "a\r\n" -> "a\x0d\x0a".
[[nodiscard]] inline QString escaped(const QByteArray &bytes)
{
    QString text;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && u != '\\')
            text += QLatin1Char(c);
        else
            text += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return text;
}

} // namespace barlink::fuzz
