#pragma once

#include "base/Error.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace barlink::listmanager {

// Makes members of the embedded list manager fail on purpose, so that tests can
// drive the station's error paths. A member is named as in the automation
// interface ("AddLine", "NewList", ...); "Visible" matches the member of every
// object, "ExeList.Visible" or "Application.Visible" only that object's.
// Objects: "Application", "ExeList", "Helicon.ExeList" (the late-bound list),
// "Provider" (members "CreateApplication", "CreateObject").
class FaultInjector
{
public:
    // The error a failing member raises unless told otherwise.
    [[nodiscard]] static Error automationError();

    // The next `times` calls of `member` throw `error`.
    void failNext(const QString &member, int times, const Error &error = automationError());
    // Every call of `member` throws `error` until switched off again.
    void setFailing(const QString &member, bool failing, const Error &error = automationError());
    // The next `times` calls of NewList hand out no list, as a list manager that
    // is not ready yet.
    void withholdList(int times) { m_withheldLists = std::max(0, times); }
    // Forgets every planned failure.
    void reset();

    // Throws the planned error when `member` of `object` is to fail.
    void check(QStringView object, QStringView member);
    // True (and counted down) when NewList is to hand out no list this time.
    [[nodiscard]] bool takeWithheldList();

private:
    struct Rule
    {
        QString member;
        int remaining = 0; // -1: until switched off
        Error error;
    };

    std::vector<Rule> m_rules;
    int m_withheldLists = 0;
};

} // namespace barlink::listmanager
