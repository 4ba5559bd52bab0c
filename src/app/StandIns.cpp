#include "StandIns.h"

#include "base/Error.h"
#include "listmanager/ExeList.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace barlink::app {

void MemoryDisplay::setStatus(const QString &text)
{
    statusHistory << text;
    // The same text again changes nothing on the screen.
    const bool changed = text != m_status;
    m_status = text;
    if (changed)
        Q_EMIT statusChanged(text);
}

base::Prompter::Answer MemoryPrompter::askWithDetails(Icon icon,
                                                      Buttons buttons,
                                                      const QString &text,
                                                      const QString &details)
{
    shown.append({icon, buttons, text, details});
    Q_EMIT boxShown(shown.constLast().fullText());
    if (!answers.isEmpty())
        return answers.dequeue();
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::OkCancel:
    case Buttons::RetryCancel:
        break;
    }
    return Answer::Cancel;
}

QStringList MemoryPrompter::texts() const
{
    QStringList list;
    for (const Shown &s : shown)
        list << s.text;
    return list;
}

void MemoryScannerPort::write(const QByteArray &bytes)
{
    if (!m_open)
        throw base::Error(8012, base::Reason(base::Reason::Code::DeviceNotOpen));
    sent += bytes;
    Q_EMIT written(bytes);
}

class RecordingListManager::List : public listmanager::ExeList
{
public:
    explicit List(RecordingListManager &manager)
        : m_manager(manager)
    {}
    bool listInRun() override { return false; }
    bool visible() override { return true; }
    void setVisible(bool) override {}
    qint16 columns() override { return 18; }
    qint32 rows() override { return qint32(added.size()); }
    qint32 repetitions() override { return 0; }
    qint32 exeRow() override { return 0; }
    QStringList colInfo() override { return {}; }
    void addLine(const QString &row) override { added << row; }
    void delLine(qint32 line) override
    {
        Q_EMIT m_manager.told(
            QCoreApplication::translate("TryRun", "row %1 of the list would be deleted").arg(line));
    }
    QString getLine(qint32 line) override { return added.value(line - 1); }
    void setLine(qint32 line, const QString &) override
    {
        Q_EMIT m_manager.told(
            QCoreApplication::translate("TryRun", "row %1 of the list would be changed").arg(line));
    }
    void appendList(const QString &path) override
    {
        Q_EMIT m_manager.told(
            QCoreApplication::translate("TryRun", "the rows of %1 would be added").arg(path));
    }
    void clearList() override
    {
        Q_EMIT m_manager.told(QCoreApplication::translate("TryRun", "the list would be cleared"));
    }
    void viewWorks() override {}
    void viewWorksThrought() override {}
    void listClose(bool) override {}

    // The rows added, in order.
    QStringList added;

private:
    RecordingListManager &m_manager;
};

class RecordingListManager::Application : public listmanager::Application
{
public:
    Application(RecordingListManager &manager, std::shared_ptr<List> list)
        : m_manager(manager)
        , m_list(std::move(list))
    {}
    bool visible() override { return true; }
    void setVisible(bool) override {}
    bool connected() override { return true; }
    qint16 accessLevel() override { return 0; }
    void setWindowState(listmanager::WindowState) override {}
    qint16 listOpened() override { return 1; }
    void quit(bool) override {}
    std::shared_ptr<listmanager::ExeList> openList(const QString &path) override
    {
        if (!QFileInfo(path).isFile())
            throw base::Error(53, base::Reason(base::Reason::Code::FileNotFound));
        Q_EMIT m_manager.told(
            QCoreApplication::translate("TryRun", "list file %1 would be opened").arg(path));
        return m_list;
    }
    std::shared_ptr<listmanager::ExeList> newList() override { return m_list; }
    void startList() override { told(QT_TRANSLATE_NOOP("TryRun", "the list would be started")); }
    void holdList() override { told(QT_TRANSLATE_NOOP("TryRun", "the list would be held")); }
    void endList() override { told(QT_TRANSLATE_NOOP("TryRun", "the list would be ended")); }
    void setpoint() override
    {
        told(QT_TRANSLATE_NOOP("TryRun", "the list would be sent to its set point"));
    }
    void enableOpenList(bool) override {}
    void enableSaveList(bool) override {}
    void enableNewList(bool) override {}
    void showOnTop(bool) override {}

private:
    void told(const char *what)
    {
        Q_EMIT m_manager.told(QCoreApplication::translate("TryRun", what));
    }

    RecordingListManager &m_manager;
    std::shared_ptr<List> m_list;
};

namespace {

class NoLateBoundList : public listmanager::LateBoundList
{
public:
    void setVisible(bool) override {}
    void clear() override {}
};

} // namespace

RecordingListManager::RecordingListManager()
    : m_list(std::make_shared<List>(*this))
    , m_application(std::make_shared<Application>(*this, m_list))
{}

RecordingListManager::~RecordingListManager() = default;

std::shared_ptr<listmanager::Application> RecordingListManager::createApplication()
{
    return m_application;
}

std::shared_ptr<listmanager::LateBoundList> RecordingListManager::createObject(const QString &)
{
    return std::make_shared<NoLateBoundList>();
}

const QStringList &RecordingListManager::addedRows() const
{
    return m_list->added;
}

} // namespace barlink::app
