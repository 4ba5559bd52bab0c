#pragma once

#include "app/Error.h"

#include <QByteArray>
#include <QFile>
#include <QSignalSpy>
#include <QString>
#include <QTest>

#include <functional>

namespace barlink::listmanager::test {

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The number of the barlink::Error that `call` throws, or 0 when it throws none.
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

} // namespace barlink::listmanager::test
