#pragma once

// Helpers the tests share: whole-file reads and writes, the files under a folder, the number of a
// thrown barlink::base::Error, and controls found by object name.

#include "base/Error.h"

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <csignal>
#include <functional>
#include <sys/resource.h>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace barlink::testing {

// The whole file; empty when it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The regular files under root, by path from root, with their bytes (beyond 1 MB, their size),
// but those under the folders named in `skipped` ("data/").
inline QMap<QString, QByteArray> filesUnder(const QString &root, const QStringList &skipped = {})
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = it.next().mid(root.size() + 1);
        const qint64 size = it.fileInfo().size();
        if (std::none_of(
                skipped.begin(), skipped.end(), [&](auto &s) { return relative.startsWith(s); }))
            files[relative]
                = size > (1 << 20) ? QByteArray::number(size) : readBytes(it.filePath());
    }
    return files;
}

// Creates or replaces the file; true when every byte was written.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The number of the barlink::base::Error that call throws, 0 when it throws none.
inline int errorNumber(const std::function<void()> &call, QString *description = nullptr)
{
    try {
        call();
    } catch (const base::Error &error) {
        if (description)
            *description = error.description();
        return error.number();
    }
    return 0;
}

// The control of that object name; a missing one ends the test program.
template<typename T> T *child(const QObject &parent, const QString &name)
{
    T *found = parent.findChild<T *>(name);
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}

// While it lives, no file of this process may grow beyond `bytes`: a write past it fails part
// way, as on a full disk, and this stops root too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limit{bytes, m_old.rlim_max};
        m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    Q_DISABLE_COPY(FileSizeLimit)

    [[nodiscard]] bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    bool m_set = false;
    void (*m_oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
};

#ifdef Q_OS_LINUX
// While it lives, this thread may not pass file permissions (root included): the capabilities
// that let root past them (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER) are dropped from
// its effective set, and given back at the end.
class WithoutFileRights
{
public:
    WithoutFileRights()
    {
        m_set = ::syscall(SYS_capget, &m_header, m_capabilities) == 0;
        m_effective = m_capabilities[0].effective;
        m_capabilities[0].effective
            &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH | 1u << CAP_FOWNER);
        m_set = m_set && ::syscall(SYS_capset, &m_header, m_capabilities) == 0;
    }
    ~WithoutFileRights()
    {
        m_capabilities[0].effective = m_effective;
        ::syscall(SYS_capset, &m_header, m_capabilities);
    }
    Q_DISABLE_COPY(WithoutFileRights)

    [[nodiscard]] bool isSet() const { return m_set; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_capabilities[2]{};
    quint32 m_effective = 0;
    bool m_set = false;
};
#endif

} // namespace barlink::testing
