#pragma once

// A list manager that counts every member call the station makes and passes it on to the
// embedded list manager, so that fault tests can tell how often a failing member was tried.

#include "program/listmanager/Application.h"
#include "program/listmanager/ExeList.h"

#include <QHash>
#include <QString>

#include <memory>

namespace barlink::testing {

// Calls by member name ("AddLine", "NewList", "Helicon.ExeList.Visible", ...), counted before
// the call is passed on, so a call that fails counts too.
class CallCounts
{
public:
    void note(const QString &member) { ++m_counts[member]; }
    [[nodiscard]] int of(const QString &member) const { return m_counts.value(member); }
    void reset() { m_counts.clear(); }

private:
    QHash<QString, int> m_counts;
};

// Notes the call, then makes it.
template<typename Call> auto counted(CallCounts &counts, QStringView member, Call call)
{
    counts.note(member.toString());
    return call();
}

class CountingExeList final : public listmanager::ExeList
{
public:
    CountingExeList(std::shared_ptr<listmanager::ExeList> inner, CallCounts &counts)
        : m_inner(std::move(inner))
        , m_counts(counts)
    {}

    bool listInRun() override
    {
        return counted(m_counts, u"ListInRun", [&] { return m_inner->listInRun(); });
    }
    bool visible() override
    {
        return counted(m_counts, u"ExeList.Visible", [&] { return m_inner->visible(); });
    }
    void setVisible(bool v) override
    {
        counted(m_counts, u"ExeList.Visible", [&] { m_inner->setVisible(v); });
    }
    qint16 columns() override
    {
        return counted(m_counts, u"Columns", [&] { return m_inner->columns(); });
    }
    qint32 rows() override
    {
        return counted(m_counts, u"Rows", [&] { return m_inner->rows(); });
    }
    qint32 repetitions() override
    {
        return counted(m_counts, u"Repetitions", [&] { return m_inner->repetitions(); });
    }
    qint32 exeRow() override
    {
        return counted(m_counts, u"ExeRow", [&] { return m_inner->exeRow(); });
    }
    QStringList colInfo() override
    {
        return counted(m_counts, u"ColInfo", [&] { return m_inner->colInfo(); });
    }
    void addLine(const QString &row) override
    {
        counted(m_counts, u"AddLine", [&] { m_inner->addLine(row); });
    }
    void delLine(qint32 line) override
    {
        counted(m_counts, u"DelLine", [&] { m_inner->delLine(line); });
    }
    QString getLine(qint32 line) override
    {
        return counted(m_counts, u"GetLine", [&] { return m_inner->getLine(line); });
    }
    void setLine(qint32 line, const QString &row) override
    {
        counted(m_counts, u"SetLine", [&] { m_inner->setLine(line, row); });
    }
    void appendList(const QString &path) override
    {
        counted(m_counts, u"AppendList", [&] { m_inner->appendList(path); });
    }
    void clearList() override
    {
        counted(m_counts, u"ClearList", [&] { m_inner->clearList(); });
    }
    void viewWorks() override
    {
        counted(m_counts, u"ViewWorks", [&] { m_inner->viewWorks(); });
    }
    void viewWorksThrought() override
    {
        counted(m_counts, u"ViewWorksThrought", [&] { m_inner->viewWorksThrought(); });
    }
    void listClose(bool close) override
    {
        counted(m_counts, u"ListClose", [&] { m_inner->listClose(close); });
    }

private:
    std::shared_ptr<listmanager::ExeList> m_inner;
    CallCounts &m_counts;
};

class CountingApplication final : public listmanager::Application
{
public:
    CountingApplication(std::shared_ptr<listmanager::Application> inner, CallCounts &counts)
        : m_inner(std::move(inner))
        , m_counts(counts)
    {}

    bool visible() override
    {
        return counted(m_counts, u"Application.Visible", [&] { return m_inner->visible(); });
    }
    void setVisible(bool v) override
    {
        counted(m_counts, u"Application.Visible", [&] { m_inner->setVisible(v); });
    }
    bool connected() override
    {
        return counted(m_counts, u"Connected", [&] { return m_inner->connected(); });
    }
    qint16 accessLevel() override
    {
        return counted(m_counts, u"AccessLevel", [&] { return m_inner->accessLevel(); });
    }
    void setWindowState(int state) override
    {
        counted(m_counts, u"WindowState", [&] { m_inner->setWindowState(state); });
    }
    qint16 listOpened() override
    {
        return counted(m_counts, u"ListOpened", [&] { return m_inner->listOpened(); });
    }
    void quit(bool q) override
    {
        counted(m_counts, u"Quit", [&] { m_inner->quit(q); });
    }
    std::shared_ptr<listmanager::ExeList> openList(const QString &path) override
    {
        return wrap(counted(m_counts, u"OpenList", [&] { return m_inner->openList(path); }));
    }
    std::shared_ptr<listmanager::ExeList> newList() override
    {
        return wrap(counted(m_counts, u"NewList", [&] { return m_inner->newList(); }));
    }
    void startList() override
    {
        counted(m_counts, u"StartList", [&] { m_inner->startList(); });
    }
    void holdList() override
    {
        counted(m_counts, u"HoldList", [&] { m_inner->holdList(); });
    }
    void endList() override
    {
        counted(m_counts, u"EndList", [&] { m_inner->endList(); });
    }
    void setpoint() override
    {
        counted(m_counts, u"Setpoint", [&] { m_inner->setpoint(); });
    }
    void enableOpenList(bool e) override
    {
        counted(m_counts, u"EnableOpenList", [&] { m_inner->enableOpenList(e); });
    }
    void enableSaveList(bool e) override
    {
        counted(m_counts, u"EnableSaveList", [&] { m_inner->enableSaveList(e); });
    }
    void enableNewList(bool e) override
    {
        counted(m_counts, u"EnableNewList", [&] { m_inner->enableNewList(e); });
    }
    void showOnTop(bool onTop) override
    {
        counted(m_counts, u"ShowOnTop", [&] { m_inner->showOnTop(onTop); });
    }

private:
    std::shared_ptr<listmanager::ExeList> wrap(std::shared_ptr<listmanager::ExeList> list)
    {
        if (!list)
            return list;
        return std::make_shared<CountingExeList>(std::move(list), m_counts);
    }

    std::shared_ptr<listmanager::Application> m_inner;
    CallCounts &m_counts;
};

class CountingLateBoundList final : public listmanager::LateBoundList
{
public:
    CountingLateBoundList(std::shared_ptr<listmanager::LateBoundList> inner, CallCounts &counts)
        : m_inner(std::move(inner))
        , m_counts(counts)
    {}

    void setVisible(bool v) override
    {
        m_counts.note(QStringLiteral("Helicon.ExeList.Visible"));
        m_inner->setVisible(v);
    }
    void clear() override
    {
        m_counts.note(QStringLiteral("Helicon.ExeList.Clear"));
        m_inner->clear();
    }

private:
    std::shared_ptr<listmanager::LateBoundList> m_inner;
    CallCounts &m_counts;
};

class CountingProvider final : public listmanager::ListManagerProvider
{
public:
    CountingProvider(listmanager::ListManagerProvider &inner, CallCounts &counts)
        : m_inner(inner)
        , m_counts(counts)
    {}

    std::shared_ptr<listmanager::Application> createApplication() override
    {
        m_counts.note(QStringLiteral("CreateApplication"));
        return std::make_shared<CountingApplication>(m_inner.createApplication(), m_counts);
    }
    std::shared_ptr<listmanager::LateBoundList> createObject(const QString &progId) override
    {
        m_counts.note(QStringLiteral("CreateObject"));
        return std::make_shared<CountingLateBoundList>(m_inner.createObject(progId), m_counts);
    }

private:
    listmanager::ListManagerProvider &m_inner;
    CallCounts &m_counts;
};

} // namespace barlink::testing
