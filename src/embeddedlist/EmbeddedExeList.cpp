#include "EmbeddedExeList.h"

#include "ListStore.h"

#include <algorithm>

namespace barlink::embeddedlist {

namespace {

// Lines count from 1; anything below maps to an index the store refuses.
qint32 indexOf(qint32 line)
{
    return line < 1 ? -1 : line - 1;
}

} // namespace

EmbeddedExeList::EmbeddedExeList(std::shared_ptr<ListStore> store)
    : m_store(std::move(store))
{}

bool EmbeddedExeList::listInRun()
{
    return m_store->runState() == RunState::Running;
}

bool EmbeddedExeList::visible()
{
    return m_store->listVisible();
}

void EmbeddedExeList::setVisible(bool visible)
{
    m_store->setListVisible(visible);
}

qint16 EmbeddedExeList::columns()
{
    return qint16(std::min<qsizetype>(m_store->columns().count(), 32767));
}

qint32 EmbeddedExeList::rows()
{
    return m_store->rowCount();
}

qint32 EmbeddedExeList::repetitions()
{
    return m_store->repetitions();
}

qint32 EmbeddedExeList::exeRow()
{
    return m_store->exeRow();
}

QStringList EmbeddedExeList::colInfo()
{
    QStringList info;
    for (int number : m_store->columns().numbers())
        info.append(QString::number(number));
    return info;
}

void EmbeddedExeList::addLine(const QString &row)
{
    m_store->addRow(row);
}

void EmbeddedExeList::delLine(qint32 line)
{
    m_store->removeRow(indexOf(line));
}

QString EmbeddedExeList::getLine(qint32 line)
{
    return m_store->row(indexOf(line));
}

void EmbeddedExeList::setLine(qint32 line, const QString &row)
{
    m_store->setRow(indexOf(line), row);
}

void EmbeddedExeList::appendList(const QString &path)
{
    m_store->appendListFile(path);
}

void EmbeddedExeList::clearList()
{
    m_store->clear();
}

void EmbeddedExeList::viewWorks()
{
    m_store->requestViewWorks(false);
}

void EmbeddedExeList::viewWorksThrought()
{
    m_store->requestViewWorks(true);
}

void EmbeddedExeList::listClose(bool close)
{
    if (close)
        m_store->closeList();
}

} // namespace barlink::embeddedlist
