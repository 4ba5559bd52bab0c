#pragma once

class QFile;
class QString;

namespace barlink::journal {

// Asks the system to put the data of the open file on the disk (fdatasync() on POSIX,
// _commit() on Windows); false when it could not.
[[nodiscard]] bool syncData(QFile &file);

// Asks the system to keep the folder's list of names on the disk, so that a file just made in
// it is still there after a power cut; false when it could not. Where folders cannot be synced
// this way (Windows) it does nothing and succeeds.
[[nodiscard]] bool syncFolder(const QString &folder);

} // namespace barlink::journal
