#include "EmbeddedExeList.h"

#include "ListStore.h"

#include <algorithm>

namespace barlink::listmanager {

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
    check(u"ListInRun");
    return m_store->runState() == RunState::Running;
}

bool EmbeddedExeList::visible()
{
    check(u"Visible");
    return m_store->listVisible();
}

void EmbeddedExeList::setVisible(bool visible)
{
    check(u"Visible");
    m_store->setListVisible(visible);
}

qint16 EmbeddedExeList::columns()
{
    check(u"Columns");
    return qint16(std::min<qsizetype>(m_store->columns().count(), 32767));
}

qint32 EmbeddedExeList::rows()
{
    check(u"Rows");
    return m_store->rowCount();
}

qint32 EmbeddedExeList::repetitions()
{
    check(u"Repetitions");
    return m_store->repetitions();
}

qint32 EmbeddedExeList::exeRow()
{
    check(u"ExeRow");
    return m_store->exeRow();
}

QStringList EmbeddedExeList::colInfo()
{
    check(u"ColInfo");
    QStringList info;
    for (int number : m_store->columns().numbers())
        info.append(QString::number(number));
    return info;
}

void EmbeddedExeList::addLine(const QString &row)
{
    check(u"AddLine");
    m_store->addRow(row);
}

void EmbeddedExeList::delLine(qint32 line)
{
    check(u"DelLine");
    m_store->removeRow(indexOf(line));
}

QString EmbeddedExeList::getLine(qint32 line)
{
    check(u"GetLine");
    return m_store->row(indexOf(line));
}

void EmbeddedExeList::setLine(qint32 line, const QString &row)
{
    check(u"SetLine");
    m_store->setRow(indexOf(line), row);
}

void EmbeddedExeList::appendList(const QString &path)
{
    check(u"AppendList");
    m_store->appendListFile(path);
}

void EmbeddedExeList::clearList()
{
    check(u"ClearList");
    m_store->clear();
}

void EmbeddedExeList::viewWorks()
{
    check(u"ViewWorks");
    m_store->requestViewWorks(false);
}

void EmbeddedExeList::viewWorksThrought()
{
    check(u"ViewWorksThrought");
    m_store->requestViewWorks(true);
}

void EmbeddedExeList::listClose(bool close)
{
    check(u"ListClose");
    if (close)
        m_store->closeList();
}

void EmbeddedExeList::check(QStringView member)
{
    m_store->failures().check(u"ExeList", member);
}

} // namespace barlink::listmanager
