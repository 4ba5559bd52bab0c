#include "InstanceCounter.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace barlink::app {

InstanceCounter::InstanceCounter(QString lockDir)
    : m_lockDir(std::move(lockDir))
{
}

QString InstanceCounter::defaultLockDir()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir(runtime).exists())
        return runtime;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/barlink");
}

InstanceCounter::~InstanceCounter() = default;

qint32 InstanceCounter::countInstances(const QString &name)
{
    if (m_lock && m_lock->isLocked())
        return 1;
    if (m_lockDir.isEmpty())
        m_lockDir = defaultLockDir();
    QDir().mkpath(m_lockDir);
    m_lock = std::make_unique<QLockFile>(QDir(m_lockDir).filePath(name + QStringLiteral(".lock")));
    // A lock older than this is only taken over when its owner no longer runs.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return 1;
    if (m_lock->error() == QLockFile::LockFailedError)
        return 2;
    // The folder cannot hold a lock: do not keep the station from starting.
    return 1;
}

} // namespace barlink::app
