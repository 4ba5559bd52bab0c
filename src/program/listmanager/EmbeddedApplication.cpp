#include "EmbeddedApplication.h"

#include "EmbeddedExeList.h"
#include "ListStore.h"

namespace barlink::listmanager {

EmbeddedApplication::EmbeddedApplication(std::shared_ptr<ListStore> store)
    : m_store(std::move(store))
{}

bool EmbeddedApplication::visible()
{
    check(u"Visible");
    return m_store->visible();
}

void EmbeddedApplication::setVisible(bool visible)
{
    check(u"Visible");
    m_store->setVisible(visible);
}

bool EmbeddedApplication::connected()
{
    check(u"Connected");
    return true;
}

qint16 EmbeddedApplication::accessLevel()
{
    check(u"AccessLevel");
    return fixedAccessLevel;
}

void EmbeddedApplication::setWindowState(int state)
{
    check(u"WindowState");
    m_store->setWindowState(state);
}

qint16 EmbeddedApplication::listOpened()
{
    check(u"ListOpened");
    return m_store->listOpen() ? 1 : 0;
}

void EmbeddedApplication::quit(bool quit)
{
    check(u"Quit");
    if (quit)
        m_store->requestQuit();
}

std::shared_ptr<ExeList> EmbeddedApplication::openList(const QString &path)
{
    check(u"OpenList");
    m_store->openListFile(path);
    return std::make_shared<EmbeddedExeList>(m_store);
}

std::shared_ptr<ExeList> EmbeddedApplication::newList()
{
    check(u"NewList");
    if (m_store->failures().takeWithheldList())
        return nullptr;
    m_store->openCurrentList();
    return std::make_shared<EmbeddedExeList>(m_store);
}

void EmbeddedApplication::startList()
{
    check(u"StartList");
    m_store->runCommand(RunCommand::Start);
}

void EmbeddedApplication::holdList()
{
    check(u"HoldList");
    m_store->runCommand(RunCommand::Hold);
}

void EmbeddedApplication::endList()
{
    check(u"EndList");
    m_store->runCommand(RunCommand::End);
}

void EmbeddedApplication::setpoint()
{
    check(u"Setpoint");
    m_store->addSetpoint();
}

void EmbeddedApplication::enableOpenList(bool enable)
{
    check(u"EnableOpenList");
    m_store->enableOpenList(enable);
}

void EmbeddedApplication::enableSaveList(bool enable)
{
    check(u"EnableSaveList");
    m_store->enableSaveList(enable);
}

void EmbeddedApplication::enableNewList(bool enable)
{
    check(u"EnableNewList");
    m_store->enableNewList(enable);
}

void EmbeddedApplication::showOnTop(bool onTop)
{
    check(u"ShowOnTop");
    m_store->setShowOnTop(onTop);
}

void EmbeddedApplication::check(QStringView member)
{
    m_store->failures().check(u"Application", member);
}

} // namespace barlink::listmanager
