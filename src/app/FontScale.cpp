#include "FontScale.h"

#include "settings/SettingsFile.h"

#include <algorithm>

namespace barlink::app {

namespace {
const QString Key = QStringLiteral("FontScale");
}

double readFontScale(const base::Settings &settings)
{
    bool ok = false;
    const double scale = settings::readKey(settings, Key).toDouble(&ok);
    if (!ok || !(scale > 0))
        return NormalTextScale;
    return std::clamp(scale, 0.5, 3.0);
}

void writeFontScale(const base::Settings &settings, double scale)
{
    settings::writeKey(settings, Key, QString::number(scale));
}

} // namespace barlink::app
