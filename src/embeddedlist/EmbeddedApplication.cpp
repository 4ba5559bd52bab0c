#include "EmbeddedApplication.h"

#include "EmbeddedExeList.h"
#include "ListStore.h"

namespace barlink::embeddedlist {

EmbeddedApplication::EmbeddedApplication(std::shared_ptr<ListStore> store)
    : m_store(std::move(store))
{}

bool EmbeddedApplication::visible()
{
    return m_store->visible();
}

void EmbeddedApplication::setVisible(bool visible)
{
    m_store->setVisible(visible);
}

bool EmbeddedApplication::connected()
{
    return true;
}

qint16 EmbeddedApplication::accessLevel()
{
    return fixedAccessLevel;
}

void EmbeddedApplication::setWindowState(listmanager::WindowState state)
{
    m_store->setWindowState(state);
}

qint16 EmbeddedApplication::listOpened()
{
    return m_store->listOpen() ? 1 : 0;
}

void EmbeddedApplication::quit(bool quit)
{
    if (quit)
        m_store->requestQuit();
}

std::shared_ptr<listmanager::ExeList> EmbeddedApplication::openList(const QString &path)
{
    m_store->openListFile(path);
    return std::make_shared<EmbeddedExeList>(m_store);
}

std::shared_ptr<listmanager::ExeList> EmbeddedApplication::newList()
{
    m_store->openCurrentList();
    return std::make_shared<EmbeddedExeList>(m_store);
}

void EmbeddedApplication::startList()
{
    m_store->runCommand(RunCommand::Start);
}

void EmbeddedApplication::holdList()
{
    m_store->runCommand(RunCommand::Hold);
}

void EmbeddedApplication::endList()
{
    m_store->runCommand(RunCommand::End);
}

void EmbeddedApplication::setpoint()
{
    m_store->addSetpoint();
}

void EmbeddedApplication::enableOpenList(bool enable)
{
    m_store->enableOpenList(enable);
}

void EmbeddedApplication::enableSaveList(bool enable)
{
    m_store->enableSaveList(enable);
}

void EmbeddedApplication::enableNewList(bool enable)
{
    m_store->enableNewList(enable);
}

void EmbeddedApplication::showOnTop(bool onTop)
{
    m_store->setShowOnTop(onTop);
}

} // namespace barlink::embeddedlist
