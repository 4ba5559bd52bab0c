#include "base/FileExists.h"

#include "base/Error.h"
#include "base/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <sys/stat.h>
#endif

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
        return failed(Error::PermissionDenied, "Permission denied");
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return failed(Error::BadFileName, "Bad file name or number");
    case ENOMEM:
        return failed(Error::OutOfMemory, "Out of memory");
    default:
        return failed(Error::PathFileAccessError, "Path/File access error");
    }
}

#ifdef Q_OS_WIN

PathStatus queryPath(const QString &path)
{
    using A = PathStatus::Answer;
    const DWORD attributes = GetFileAttributesW(
        reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
            return answered(A::NotFound);
        case ERROR_PATH_NOT_FOUND:
            return answered(A::PathNotFound);
        case ERROR_NOT_READY:
            return answered(A::DiskNotReady);
        case ERROR_CRC:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_UNRECOGNIZED_MEDIA:
            return answered(A::DeviceIoError);
        case ERROR_INVALID_DRIVE:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return answered(A::DeviceUnavailable);
        case ERROR_ACCESS_DENIED:
            return failed(Error::PermissionDenied, "Permission denied");
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return failed(Error::BadFileName, "Bad file name or number");
        default:
            return failed(Error::PathFileAccessError, "Path/File access error");
        }
    }
    const DWORD notNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                            | FILE_ATTRIBUTE_DEVICE;
    return answered((attributes & notNormal) ? A::OtherEntry : A::NormalFile);
}

#else

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

#endif

bool fileExists(const QString &path, Prompter &prompter, const PathQuery &query)
{
    using A = PathStatus::Answer;
    for (;;) {
        const PathStatus status = query(path);
        switch (status.answer) {
        case A::NormalFile:
            return true;
        case A::OtherEntry:
        case A::NotFound:
        case A::DeviceUnavailable:
        case A::PathNotFound:
            return false;
        case A::DeviceIoError:
            if (prompter.ask(Prompter::Icon::Question,
                             Prompter::Buttons::RetryCancel,
                             QStringLiteral("Unformatted Disk"))
                != Prompter::Answer::Retry)
                return false;
            break;
        case A::DiskNotReady:
            if (prompter.ask(Prompter::Icon::Question,
                             Prompter::Buttons::OkCancel,
                             QStringLiteral("Insert Disk"))
                != Prompter::Answer::Ok)
                return false;
            break;
        case A::Failed:
            throw Error(status.errorNumber, status.description);
        }
    }
}

} // namespace barlink::base
