#include "FaultInjector.h"

#include <algorithm>

namespace barlink::listmanager {

Error FaultInjector::automationError()
{
    return Error(Error::AutomationError, QStringLiteral("Automation error"));
}

void FaultInjector::failNext(const QString &member, int times, const Error &error)
{
    if (times > 0)
        m_rules.push_back({member, times, error});
}

void FaultInjector::setFailing(const QString &member, bool failing, const Error &error)
{
    std::erase_if(m_rules,
                  [&](const Rule &rule) { return rule.member == member && rule.remaining < 0; });
    if (failing)
        m_rules.push_back({member, -1, error});
}

void FaultInjector::reset()
{
    m_rules.clear();
    m_withheldLists = 0;
}

void FaultInjector::check(QStringView object, QStringView member)
{
    for (auto it = m_rules.begin(); it != m_rules.end(); ++it) {
        const QString &name = it->member;
        const bool matches
            = name == member
              || (name.size() == object.size() + 1 + member.size() && name.startsWith(object)
                  && name.endsWith(member) && name[object.size()] == QLatin1Char('.'));
        if (!matches)
            continue;
        const Error error = it->error;
        if (it->remaining > 0 && --it->remaining == 0)
            m_rules.erase(it);
        throw error;
    }
}

bool FaultInjector::takeWithheldList()
{
    if (m_withheldLists == 0)
        return false;
    --m_withheldLists;
    return true;
}

} // namespace barlink::listmanager
