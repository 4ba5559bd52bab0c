#pragma once

#include <QString>

namespace barlink::base {

struct Settings;

// The machine control's product environment: the program registers itself at
// start-up, and the test console asks it for the product folder.
class ProductEnvironment
{
public:
    struct ApplicationInfo
    {
        QString title;
        QString folder;
        QString executableName;
        QString version;
    };

    explicit ProductEnvironment(const Settings &settings)
        : m_settings(settings)
    {}

    void registerApplication(const ApplicationInfo &info) { m_registered = info; }
    [[nodiscard]] const ApplicationInfo &registeredApplication() const { return m_registered; }

    // The control software's product folder, without a trailing separator: the
    // folder of the program files.
    [[nodiscard]] QString productFolder() const;

private:
    const Settings &m_settings;
    ApplicationInfo m_registered;
};

} // namespace barlink::base
