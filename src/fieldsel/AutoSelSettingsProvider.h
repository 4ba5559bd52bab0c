#pragma once

#include <QString>

#include <memory>

namespace barlink::base {
struct Settings;
} // namespace barlink::base

namespace barlink::app {}

namespace barlink::fieldsel {

class AutoSelSettings;

// Hands out the one AutoSelSettings of the process, loading it from the settings file the
// first time anything asks for it and never again: from then on the setup dialog edits it
// in place and the selection and the mirror match read it.
class AutoSelSettingsProvider
{
public:
    // settings names the settings file; it is read at the first settings() call.
    explicit AutoSelSettingsProvider(const base::Settings &settings);
    ~AutoSelSettingsProvider();
    AutoSelSettingsProvider(const AutoSelSettingsProvider &) = delete;
    AutoSelSettingsProvider &operator=(const AutoSelSettingsProvider &) = delete;

    // The model, loaded on the first call. When the load throws (a number in the file that
    // does not fit 16 bits), the error reaches the caller and the next call loads again.
    [[nodiscard]] AutoSelSettings &settings();
    [[nodiscard]] bool isLoaded() const { return m_model != nullptr; }

private:
    const base::Settings &m_settings;
    std::unique_ptr<AutoSelSettings> m_model;
};

} // namespace barlink::fieldsel
