#include "ListStorage.h"

#include "ListFile.h"
#include "base/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSaveFile>

namespace barlink::embeddedlist {

namespace {

Q_LOGGING_CATEGORY(lcStorage, "barlink.listmanager", QtWarningMsg)

// Every error names the file or folder it is about.
[[noreturn]] void throwWriteError(const QString &path)
{
    throw base::Error(
        base::Error::DeviceIoError, base::Reason(base::Reason::Code::DeviceIoError), path);
}

} // namespace

ListStorage::ListStorage(QString folder)
    : m_folder(std::move(folder))
{}

QString ListStorage::listPath() const
{
    return m_folder + QStringLiteral("/current.lst");
}

QString ListStorage::statePath() const
{
    return m_folder + QStringLiteral("/listmanager.json");
}

ListStorage::Contents ListStorage::load()
{
    Contents contents;
    QFile list(listPath());
    const QFileInfo info(list);
    // A list that is there but cannot be read must not be taken for no list: the first
    // change would replace it with an empty one. (A fifo would block the open.)
    if (info.exists() && !info.isFile())
        throw base::Error(base::Error::PathFileAccessError,
                          base::Reason(base::Reason::Code::PathFileAccessError),
                          listPath());
    if (info.exists() && !list.open(QIODevice::ReadOnly)) {
        if (list.error() == QFileDevice::PermissionsError)
            throw base::Error(base::Error::PermissionDenied,
                              base::Reason(base::Reason::Code::PermissionDenied),
                              listPath());
        throw base::Error(base::Error::PathFileAccessError,
                          base::Reason(base::Reason::Code::PathFileAccessError),
                          listPath());
    }
    if (list.isOpen()) {
        contents.hasList = true;
        StoredList stored = parseStoredList(list.readAll());
        list.close();
        contents.rows = std::move(stored.rows);
        if (stored.tornTail) {
            qCWarning(lcStorage) << "dropped an incomplete last row of" << listPath();
            try {
                writeRows(contents.rows);
            } catch (const base::Error &error) {
                qCWarning(lcStorage) << "could not repair" << listPath() << error.what();
            }
        }
    }

    QFile state(statePath());
    if (state.open(QIODevice::ReadOnly)) {
        const QJsonObject object = QJsonDocument::fromJson(state.readAll()).object();
        contents.state = runStateFromName(object.value(QStringLiteral("state")).toString())
                             .value_or(RunState::Idle);
        contents.setpoints = std::max(0, object.value(QStringLiteral("setpoints")).toInt());
    }
    return contents;
}

void ListStorage::appendRow(const QString &row)
{
    appendRows({row});
}

void ListStorage::appendRows(const QStringList &rows)
{
    if (!m_appendFile.isOpen()) {
        makeFolder();
        m_appendFile.setFileName(listPath());
        // Unbuffered: every row goes to the system at once, and a write that fails leaves
        // nothing pending that would keep the resize below from taking the part back.
        if (!m_appendFile.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            throw base::Error(base::Error::PathFileAccessError,
                              base::Reason(base::Reason::Code::PathFileAccessError),
                              listPath());
        m_appendedSize = m_appendFile.size();
    }
    const QByteArray bytes = encodeRows(rows);
    if (m_appendFile.write(bytes) != bytes.size() || !m_appendFile.flush()) {
        // Take back whatever part reached the file, so the next row starts on its own line.
        m_appendFile.resize(m_appendedSize);
        m_appendFile.close();
        throwWriteError(listPath());
    }
    m_appendedSize += bytes.size();
}

void ListStorage::writeRows(const QStringList &rows)
{
    m_appendFile.close();
    makeFolder();
    writeListFile(listPath(), rows);
}

void ListStorage::writeState(RunState state, qint32 setpoints)
{
    makeFolder();
    const QJsonObject object{{QStringLiteral("state"), runStateName(state)},
                             {QStringLiteral("setpoints"), setpoints}};
    const QByteArray bytes = QJsonDocument(object).toJson();
    QSaveFile file(statePath());
    if (!file.open(QIODevice::WriteOnly))
        throw base::Error(base::Error::PathFileAccessError,
                          base::Reason(base::Reason::Code::PathFileAccessError),
                          statePath());
    if (file.write(bytes) != bytes.size() || !file.commit())
        throwWriteError(statePath());
}

void ListStorage::makeFolder()
{
    if (!QDir().mkpath(m_folder))
        throw base::Error(
            base::Error::PathNotFound, base::Reason(base::Reason::Code::PathNotFound), m_folder);
}

} // namespace barlink::embeddedlist
