#pragma once

class QFile;

namespace barlink::label {

// Asks the system to put the data of the open file on the disk: fsync() on POSIX, _commit()
// on Windows. Throws barlink::base::Error "Disk full" or "Device I/O error" when it cannot; a
// device that cannot be synced has nothing to lose and passes.
void syncToDisk(QFile &file);

} // namespace barlink::label
