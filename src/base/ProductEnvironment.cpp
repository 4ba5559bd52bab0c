#include "ProductEnvironment.h"

#include "Settings.h"

namespace barlink::base {

QString ProductEnvironment::productFolder() const
{
    QString folder = m_settings.gcodePath;
    while (folder.size() > 1
           && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    return folder;
}

} // namespace barlink::base
