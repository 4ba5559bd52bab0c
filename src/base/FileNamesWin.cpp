#include "base/FileNames.h"

namespace barlink::base {

// The built path as it is: the file system finds names in any letter case itself.
QString resolveFileName(const QString &folder, const QString &relativeName)
{
    return folder + relativeName;
}

} // namespace barlink::base
