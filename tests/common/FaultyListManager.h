#pragma once

// A list manager that passes every member call on to the one it wraps, counts it, and makes it
// fail on purpose where the test plans so, to drive the station's error paths.
//
// Members are named as in the automation interface ("AddLine", "NewList", ...). A plain name
// stands for that member of every object ("Visible"); a name with its object in front for that
// object's member only ("ExeList.Visible", "Application.Visible", "Helicon.ExeList.Clear").
// Objects: "Application", "ExeList", "Helicon.ExeList" (the late-bound list) and "Provider"
// (members "CreateApplication", "CreateObject").

#include "base/Error.h"
#include "listmanager/Application.h"
#include "listmanager/ExeList.h"

#include <QMap>
#include <QString>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace barlink::testing {

// The planned failures and the calls made, shared by all objects of one wrapped list manager.
class ListManagerFaults
{
public:
    // The error a failing member raises unless told otherwise.
    [[nodiscard]] static base::Error automationError()
    {
        return {base::Error::AutomationError, "Automation error"};
    }

    // The next `times` calls of `member` throw `error`.
    void failNext(const QString &member, int times, const base::Error &error = automationError())
    {
        if (times > 0)
            m_rules.push_back({member, times, error});
    }
    // Every call of `member` throws `error` until switched off again.
    void
    setFailing(const QString &member, bool failing, const base::Error &error = automationError())
    {
        std::erase_if(
            m_rules, [&](const Rule &rule) { return rule.member == member && rule.remaining < 0; });
        if (failing)
            m_rules.push_back({member, -1, error});
    }
    // The next `times` calls of NewList hand out no list, as a list manager that is not ready.
    void withholdList(int times) { m_withheldLists = std::max(0, times); }
    // Forgets every planned failure; the calls stay counted.
    void reset() { m_rules.clear(), m_withheldLists = 0; }

    // How often `member` was called, failed calls included.
    [[nodiscard]] int calls(const QString &member) const
    {
        int count = 0;
        for (auto it = m_calls.cbegin(); it != m_calls.cend(); ++it)
            count += names(member, it.key().first, it.key().second) ? it.value() : 0;
        return count;
    }

    // Counts the call, then throws the planned error when `member` of `object` is to fail.
    void enter(QStringView object, QStringView member)
    {
        ++m_calls[{object.toString(), member.toString()}];
        for (auto it = m_rules.begin(); it != m_rules.end(); ++it) {
            if (!names(it->member, object, member))
                continue;
            const base::Error error = it->error;
            if (it->remaining > 0 && --it->remaining == 0)
                m_rules.erase(it);
            throw error;
        }
    }
    // True (and counted down) when NewList is to hand out no list this time.
    [[nodiscard]] bool takeWithheldList() { return m_withheldLists > 0 && m_withheldLists--; }

private:
    struct Rule
    {
        QString member;
        int remaining = 0; // -1: until switched off
        base::Error error;
    };

    static bool names(QStringView name, QStringView object, QStringView member)
    {
        return name == member || name == object.toString() + u'.' + member.toString();
    }

    std::vector<Rule> m_rules;
    int m_withheldLists = 0;
    QMap<std::pair<QString, QString>, int> m_calls;
};

// Holds the object it wraps and the plan shared by all objects of one list manager.
template<typename Inner> class Faulty : public Inner
{
public:
    Faulty(std::shared_ptr<Inner> inner, ListManagerFaults &faults)
        : m_inner(std::move(inner))
        , m_faults(faults)
    {}

protected:
    std::shared_ptr<Inner> m_inner;
    ListManagerFaults &m_faults;
};

// clang-format off
class FaultyExeList final : public Faulty<listmanager::ExeList>
{
public:
    using Faulty::Faulty;
    bool listInRun() override { enter(u"ListInRun"); return m_inner->listInRun(); }
    bool visible() override { enter(u"Visible"); return m_inner->visible(); }
    void setVisible(bool v) override { enter(u"Visible"); m_inner->setVisible(v); }
    qint16 columns() override { enter(u"Columns"); return m_inner->columns(); }
    qint32 rows() override { enter(u"Rows"); return m_inner->rows(); }
    qint32 repetitions() override { enter(u"Repetitions"); return m_inner->repetitions(); }
    qint32 exeRow() override { enter(u"ExeRow"); return m_inner->exeRow(); }
    QStringList colInfo() override { enter(u"ColInfo"); return m_inner->colInfo(); }
    void addLine(const QString &row) override { enter(u"AddLine"); m_inner->addLine(row); }
    void delLine(qint32 line) override { enter(u"DelLine"); m_inner->delLine(line); }
    QString getLine(qint32 line) override { enter(u"GetLine"); return m_inner->getLine(line); }
    void setLine(qint32 n, const QString &r) override { enter(u"SetLine"); m_inner->setLine(n, r); }
    void appendList(const QString &p) override { enter(u"AppendList"); m_inner->appendList(p); }
    void clearList() override { enter(u"ClearList"); m_inner->clearList(); }
    void viewWorks() override { enter(u"ViewWorks"); m_inner->viewWorks(); }
    void viewWorksThrought() override { enter(u"ViewWorksThrought"); m_inner->viewWorksThrought(); }
    void listClose(bool close) override { enter(u"ListClose"); m_inner->listClose(close); }

private:
    void enter(QStringView member) { m_faults.enter(u"ExeList", member); }
};

class FaultyApplication final : public Faulty<listmanager::Application>
{
public:
    using Faulty::Faulty;
    bool visible() override { enter(u"Visible"); return m_inner->visible(); }
    void setVisible(bool v) override { enter(u"Visible"); m_inner->setVisible(v); }
    bool connected() override { enter(u"Connected"); return m_inner->connected(); }
    qint16 accessLevel() override { enter(u"AccessLevel"); return m_inner->accessLevel(); }
    void setWindowState(listmanager::WindowState s) override { enter(u"WindowState"); m_inner->setWindowState(s); }
    qint16 listOpened() override { enter(u"ListOpened"); return m_inner->listOpened(); }
    void quit(bool q) override { enter(u"Quit"); m_inner->quit(q); }
    void startList() override { enter(u"StartList"); m_inner->startList(); }
    void holdList() override { enter(u"HoldList"); m_inner->holdList(); }
    void endList() override { enter(u"EndList"); m_inner->endList(); }
    void setpoint() override { enter(u"Setpoint"); m_inner->setpoint(); }
    void enableOpenList(bool e) override { enter(u"EnableOpenList"); m_inner->enableOpenList(e); }
    void enableSaveList(bool e) override { enter(u"EnableSaveList"); m_inner->enableSaveList(e); }
    void enableNewList(bool e) override { enter(u"EnableNewList"); m_inner->enableNewList(e); }
    void showOnTop(bool onTop) override { enter(u"ShowOnTop"); m_inner->showOnTop(onTop); }
    std::shared_ptr<listmanager::ExeList> openList(const QString &path) override { enter(u"OpenList"); return wrap(m_inner->openList(path)); }
    std::shared_ptr<listmanager::ExeList> newList() override
    {
        enter(u"NewList");
        return m_faults.takeWithheldList() ? nullptr : wrap(m_inner->newList());
    }

private:
    void enter(QStringView member) { m_faults.enter(u"Application", member); }
    std::shared_ptr<listmanager::ExeList> wrap(std::shared_ptr<listmanager::ExeList> list)
    {
        return list ? std::make_shared<FaultyExeList>(std::move(list), m_faults) : nullptr;
    }
};

class FaultyLateBoundList final : public Faulty<listmanager::LateBoundList>
{
public:
    using Faulty::Faulty;
    void setVisible(bool v) override { m_faults.enter(u"Helicon.ExeList", u"Visible"); m_inner->setVisible(v); }
    void clear() override { m_faults.enter(u"Helicon.ExeList", u"Clear"); m_inner->clear(); }
};
// clang-format on

// Wraps every object the provider creates.
class FaultyProvider final : public listmanager::ListManagerProvider
{
public:
    FaultyProvider(listmanager::ListManagerProvider &inner, ListManagerFaults &faults)
        : m_inner(inner)
        , m_faults(faults)
    {}

    std::shared_ptr<listmanager::Application> createApplication() override
    {
        m_faults.enter(u"Provider", u"CreateApplication");
        return std::make_shared<FaultyApplication>(m_inner.createApplication(), m_faults);
    }
    std::shared_ptr<listmanager::LateBoundList> createObject(const QString &progId) override
    {
        m_faults.enter(u"Provider", u"CreateObject");
        return std::make_shared<FaultyLateBoundList>(m_inner.createObject(progId), m_faults);
    }

private:
    listmanager::ListManagerProvider &m_inner;
    ListManagerFaults &m_faults;
};

} // namespace barlink::testing
