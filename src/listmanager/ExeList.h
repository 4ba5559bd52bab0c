#pragma once

#include <QString>
#include <QStringList>

namespace barlink::listmanager {

// One list of the list manager, as its automation interface offers it.
// Every member throws barlink::base::Error when the list manager reports a failure.
class ExeList
{
public:
    virtual ~ExeList() = default;

    [[nodiscard]] virtual bool listInRun() = 0;
    [[nodiscard]] virtual bool visible() = 0;
    virtual void setVisible(bool visible) = 0;
    [[nodiscard]] virtual qint16 columns() = 0;
    [[nodiscard]] virtual qint32 rows() = 0;
    [[nodiscard]] virtual qint32 repetitions() = 0;
    [[nodiscard]] virtual qint32 exeRow() = 0;
    [[nodiscard]] virtual QStringList colInfo() = 0;
    // Appends one row ("#161=PROG.CNC;#162=...;").
    virtual void addLine(const QString &row) = 0;
    // Lines count from 1.
    virtual void delLine(qint32 line) = 0;
    [[nodiscard]] virtual QString getLine(qint32 line) = 0;
    virtual void setLine(qint32 line, const QString &row) = 0;
    // Appends the rows of a list file.
    virtual void appendList(const QString &path) = 0;
    // Removes all rows.
    virtual void clearList() = 0;
    virtual void viewWorks() = 0;
    virtual void viewWorksThrought() = 0;
    virtual void listClose(bool close) = 0;
};

} // namespace barlink::listmanager
