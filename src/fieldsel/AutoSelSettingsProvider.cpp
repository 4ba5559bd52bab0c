#include "AutoSelSettingsProvider.h"

#include "AutoSelSettings.h"
#include "AutoSelSettingsFile.h"

namespace barlink::fieldsel {

AutoSelSettingsProvider::AutoSelSettingsProvider(const base::Settings &settings)
    : m_settings(settings)
{}

AutoSelSettingsProvider::~AutoSelSettingsProvider() = default;

AutoSelSettings &AutoSelSettingsProvider::settings()
{
    if (!m_model) {
        auto model = std::make_unique<AutoSelSettings>();
        loadAutoSelSettings(*model, m_settings);
        m_model = std::move(model);
    }
    return *m_model;
}

} // namespace barlink::fieldsel
