#pragma once

// Helpers the tests share: whole-file reads and writes, the number of a thrown
// barlink::Error, and controls found by object name.

#include "base/Error.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>

#include <functional>

namespace barlink::testing {

// The whole file; empty when it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Creates or replaces the file; true when every byte was written.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The number of the barlink::Error that call throws, 0 when it throws none.
inline int errorNumber(const std::function<void()> &call, QString *description = nullptr)
{
    try {
        call();
    } catch (const Error &error) {
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

} // namespace barlink::testing
