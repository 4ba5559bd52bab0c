#include "base/FileExists.h"

#include "base/Error.h"

#include <QDir>

#include <qt_windows.h>

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
            return failed(base::Error::PermissionDenied, "Permission denied");
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return failed(base::Error::BadFileName, "Bad file name or number");
        default:
            return failed(base::Error::PathFileAccessError, "Path/File access error");
        }
    }
    const DWORD notNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                            | FILE_ATTRIBUTE_DEVICE;
    return answered((attributes & notNormal) ? A::OtherEntry : A::NormalFile);
}

} // namespace barlink::base
