#include "DoubleScanGuard.h"

#include "base/Clock.h"
#include "base/Reasons.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace barlink::base {

DoubleScanGuard::DoubleScanGuard(const Clock &clock)
    : m_clock(clock)
{}

void DoubleScanGuard::rowsAdded()
{
    m_rowsAt = m_clock.now();
}

void DoubleScanGuard::setWindowSeconds(int seconds)
{
    m_windowSeconds = std::max(0, seconds);
    forget();
}

void DoubleScanGuard::add(const QString &label)
{
    if (m_windowSeconds > 0)
        m_collecting << label;
}

std::optional<qint64> DoubleScanGuard::repeatOfLast()
{
    const bool refusedBefore = std::exchange(m_refused, false);
    if (m_windowSeconds == 0 || m_typed || m_last.isEmpty() || m_collecting != m_last
        || refusedBefore)
        return std::nullopt;
    const qint64 since = m_clock.now() - m_lastAt;
    if (since > qint64(m_windowSeconds) * 1000)
        return std::nullopt;
    m_refused = true;
    return since;
}

void DoubleScanGuard::taken()
{
    m_refused = false;
    const std::optional<qint64> rowsAt = std::exchange(m_rowsAt, std::nullopt);
    if (m_windowSeconds == 0)
        return;
    m_last = std::exchange(m_collecting, {});
    m_lastAt = rowsAt.value_or(m_clock.now());
}

void DoubleScanGuard::forget()
{
    m_collecting.clear();
    m_last.clear();
    m_refused = false;
    m_rowsAt.reset();
}

QString DoubleScanGuard::statusText()
{
    return QCoreApplication::translate("DoubleScanGuard",
                                       "Scanned twice: not added again. Scan again to add it.");
}

Reason DoubleScanGuard::reason(qint64 sinceLastMs)
{
    return Reason(Reason::Code::ScannedTwice,
                  QString::number(double(sinceLastMs) / 1000.0, 'f', 1));
}

} // namespace barlink::base
