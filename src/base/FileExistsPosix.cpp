#include "base/FileExists.h"

#include "base/Error.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>

namespace barlink::base {

namespace {

PathStatus failed(int number, const char *description)
{
    return {PathStatus::Answer::Failed, number, QString::fromLatin1(description)};
}

PathStatus answered(PathStatus::Answer answer)
{
    return {answer, 0, QString()};
}

} // namespace

PathStatus statusFromErrno(int systemError)
{
    using A = PathStatus::Answer;
    switch (systemError) {
    case ENOENT:
        return answered(A::NotFound);
    case EIO:
        return answered(A::DeviceIoError);
#ifdef ENOMEDIUM
    case ENOMEDIUM:
        return answered(A::DiskNotReady);
#endif
    case ENODEV:
    case ENXIO:
        return answered(A::DeviceUnavailable);
    case ENOTDIR:
        return answered(A::PathNotFound);
    case EACCES:
    case EPERM:
        return failed(base::Error::PermissionDenied, "Permission denied");
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return failed(base::Error::BadFileName, "Bad file name or number");
    case ENOMEM:
        return failed(base::Error::OutOfMemory, "Out of memory");
    default:
        return failed(base::Error::PathFileAccessError, "Path/File access error");
    }
}

PathStatus queryPath(const QString &path)
{
    using A = PathStatus::Answer;
    if (path.isEmpty())
        return answered(A::NotFound);
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return statusFromErrno(errno);
    // Only the file's own name decides whether it is hidden.
    if (!S_ISREG(info.st_mode) || QFileInfo(path).fileName().startsWith(QLatin1Char('.')))
        return answered(A::OtherEntry);
    return answered(A::NormalFile);
}

} // namespace barlink::base
