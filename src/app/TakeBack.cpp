#include "TakeBack.h"

#include "ScanWords.h"

namespace barlink::app {

QString TakeBack::refusal(const SentItem &item, const listmanager::ListManagerLink::ListEnd &end)
{
    if (item.rows.isEmpty())
        return nothingSent();
    if (end.running)
        return tr("The list is running: the last item cannot be taken back now. Hold the list "
                  "first, or take the rows out at the machine control.");
    const qint32 first = end.rows - qint32(item.rows.size()) + 1;
    if (end.rows != item.listRows || end.lastRows != item.rows)
        return tr("The list has changed since the last item went: its rows are no longer the "
                  "last rows of the list. Take them out at the machine control.");
    if (end.exeRow >= first)
        return tr("The machine is on the last item's rows: they cannot be taken back.");
    return {};
}

QString TakeBack::nothingSent()
{
    return tr("No item has gone into the list since Barlink started, or the last one was taken "
              "back already.");
}

QString TakeBack::notAfterRefusal()
{
    return tr("Nothing of the label shown went into the list: there is nothing of it to take "
              "back.");
}

QString TakeBack::listSilent(const QString &error)
{
    return tr("The list manager cannot tell what its list holds (%1): nothing was taken back.")
        .arg(error);
}

QStringList TakeBack::rowNames(const SentItem &item, qint32 firstLine)
{
    QStringList names;
    for (qsizetype i = 0; i < item.rows.size(); ++i) {
        const QString field = fieldWords(item.fields.value(i));
        names << tr("row %1: %2, %3").arg(firstLine + qint32(i)).arg(item.program, field);
    }
    return names;
}

QString TakeBack::question()
{
    return tr("Take back the last item? These rows are removed from the list:");
}

} // namespace barlink::app
