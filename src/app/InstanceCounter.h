#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace barlink::app {

// Counts the running copies of the program for this user, through a lock file in
// the user's runtime folder. The lock is held until this object goes away, and a
// lock left by a copy that crashed is taken over.
class InstanceCounter
{
public:
    // lockDir empty: defaultLockDir().
    explicit InstanceCounter(QString lockDir = {});

    // $XDG_RUNTIME_DIR when it exists, else the station's folder in the user's data home:
    // never a shared folder such as /tmp, where another user could plant the lock's name.
    [[nodiscard]] static QString defaultLockDir();
    ~InstanceCounter();

    void setLockDir(QString dir) { m_lockDir = std::move(dir); }

    // Registers this copy under the name and returns how many copies of that name
    // run, this one included: 1 when it is alone, 2 when another holds the name.
    [[nodiscard]] qint32 countInstances(const QString &name);

private:
    QString m_lockDir;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace barlink::app
