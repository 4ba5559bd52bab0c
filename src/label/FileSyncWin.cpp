#include "label/FileSync.h"

#include "base/Error.h"

#include <QFile>

#include <io.h>

namespace barlink::label {

namespace {

[[noreturn]] void fail(int number, const char *description)
{
    throw base::Error(number, QString::fromLatin1(description));
}

} // namespace

void syncToDisk(QFile &file)
{
    const int fd = file.handle();
    if (fd < 0)
        return;
    if (_commit(fd) != 0)
        fail(base::Error::DeviceIoError, "Device I/O error");
}

} // namespace barlink::label
