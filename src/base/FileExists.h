#pragma once

#include <QString>

#include <functional>

namespace barlink::base {

class Prompter;

// What the file system answered about one path.
struct PathStatus
{
    enum class Answer {
        NormalFile,        // a file that is not a folder, not hidden and not a system file
        OtherEntry,        // a folder, a hidden file, a device, a fifo or a socket
        NotFound,          // nothing by that name
        DeviceIoError,     // the medium cannot be read (an unformatted disk)
        DiskNotReady,      // no medium in the drive
        DeviceUnavailable, // the device is gone
        PathNotFound,      // a folder of the path is missing or not a folder
        Failed,            // anything else: errorNumber and description say what
    };

    Answer answer = Answer::NotFound;
    int errorNumber = 0;
    QString description;
};

// Asks the file system about a path; the real one is queryPath, tests script their own.
using PathQuery = std::function<PathStatus(const QString &path)>;

// The file system's answer for path: stat() on POSIX, the file attributes on Windows. A
// hidden file is, on POSIX, one whose own name starts with "."; the folders above it may
// be hidden.
[[nodiscard]] PathStatus queryPath(const QString &path);

// How a failed stat() (its errno) is answered; POSIX only.
[[nodiscard]] PathStatus statusFromErrno(int systemError);

// True when a normal file is at path. A drive that cannot be read asks "Unformatted Disk"
// (Retry, Cancel) and a drive without medium "Insert Disk" (OK, Cancel): Retry and OK test
// again, as often as the operator asks, Cancel gives false. A missing device or folder
// gives false. Any other failure throws barlink::base::Error (70 permission denied, 52 bad
// name, 75 otherwise), for the caller's unexpected-error report.
[[nodiscard]] bool
fileExists(const QString &path, Prompter &prompter, const PathQuery &query = queryPath);

} // namespace barlink::base
