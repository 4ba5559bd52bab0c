#pragma once

#include "listmanager/ExeList.h"

#include <memory>

namespace barlink::embeddedlist {

class ListStore;

// The current list of the embedded list manager, as handed out by NewList and
// OpenList. Every object handed out shows the same list.
class EmbeddedExeList final : public listmanager::ExeList
{
public:
    explicit EmbeddedExeList(std::shared_ptr<ListStore> store);

    [[nodiscard]] bool listInRun() override;
    [[nodiscard]] bool visible() override;
    void setVisible(bool visible) override;
    [[nodiscard]] qint16 columns() override;
    [[nodiscard]] qint32 rows() override;
    [[nodiscard]] qint32 repetitions() override;
    [[nodiscard]] qint32 exeRow() override;
    // The field number of each column, as text ("161", "162", ...).
    [[nodiscard]] QStringList colInfo() override;
    void addLine(const QString &row) override;
    // Lines outside 1..Rows raise error 9.
    void delLine(qint32 line) override;
    [[nodiscard]] QString getLine(qint32 line) override;
    void setLine(qint32 line, const QString &row) override;
    // A missing file raises error 53.
    void appendList(const QString &path) override;
    void clearList() override;
    // Both bring the list into view; "throught" also goes to the executing row.
    void viewWorks() override;
    void viewWorksThrought() override;
    // Closes the list (ListOpened reads 0 until it is handed out again); the
    // rows stay and this object keeps working.
    void listClose(bool close) override;

private:
    std::shared_ptr<ListStore> m_store;
};

} // namespace barlink::embeddedlist
