#include "settings/SettingsFile.h"
#include "text/TrimSpaces.h"

#include "base/FileExists.h"
#include "base/Prompter.h"
#include "base/Settings.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsFilePlatform.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace barlink::settings {

namespace {

// Texts of the station's standard keys are read through a buffer of this size (127
// characters and the end mark).
constexpr int TextBuffer = 128;
// The keys this station adds hold paths, which must not be cut short.
constexpr int PathBuffer = 4096;

QString section()
{
    return QString(SettingsSection);
}

int switchValue(int stored)
{
    return stored == 0 || stored == 1 || stored == 2 ? stored : 1;
}

qint16 portNumber(int stored)
{
    if (stored < std::numeric_limits<qint16>::min() || stored > std::numeric_limits<qint16>::max())
        return 0;
    return static_cast<qint16>(stored);
}

} // namespace

QString findSettingsFile(const QString &folder, base::Prompter &prompter)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    const QString exact = dir.filePath(SettingsFileName);
    if (fileExists(exact, prompter))
        return exact;
    return settingsFileInOtherCase(dir, prompter);
}

bool loadSettings(base::Settings &settings, base::Options &options, base::Prompter &prompter)
{
    settings.settingsFilePath = QDir(settings.programDir).filePath(SettingsFileName);
    QString found = findSettingsFile(settings.programDir, prompter);
    if (found.isEmpty()) {
        settings.settingsFilePath = QDir(settings.windowsDir).filePath(SettingsFileName);
        found = findSettingsFile(settings.windowsDir, prompter);
    }
    if (found.isEmpty()) {
        const auto shown = [](const QString &folder) {
            return QDir::toNativeSeparators(QDir(folder).filePath(SettingsFileName));
        };
        prompter.informWithDetails(
            base::Prompter::Icon::Critical,
            QStringLiteral("File KTQ.INI Not Found"),
            QStringLiteral("Looked for:\n%1\n%2\n\nSettings saved from now on go to a new "
                           "file:\n%2")
                .arg(shown(settings.programDir), shown(settings.windowsDir)));
        return false;
    }
    settings.settingsFilePath = found;

    const SettingsDefaults defaults = settingsDefaults();
    const ProfileFile file(found);
    const QString sec = section();
    const auto text
        = [&](const char *key, const QString &defaultValue, int bufferSize = TextBuffer) {
              // A missing key takes the default whole; only values from the file are cut.
              return file.value(sec, QLatin1String(key), bufferSize).value_or(defaultValue);
          };
    const auto number = [&](const char *key, int defaultValue) {
        return file.readInt(sec, QLatin1String(key), defaultValue);
    };

    settings.serialSettings = text("Settings", defaults.serialSettings);
    settings.gcodePath = barlink::text::trimSpaces(text("GCodePath", defaults.gcodePath));
    settings.listPath = barlink::text::trimSpaces(text("ListPath", defaults.listPath));
    settings.serialPort = portNumber(number("CommPort", defaults.commPort));
    const int pollTime = number("CommPollTime", defaults.commPollTime);
    if (pollTime > 99)
        settings.commPollTime = pollTime;
    settings.csvInPath = withoutTrailingSeparator(
        barlink::text::trimSpaces(text("CSVInPath", defaults.csvInPath)));
    settings.csvOutPath = withoutTrailingSeparator(
        barlink::text::trimSpaces(text("CSVOutPath", defaults.csvOutPath)));
    const int autoStart = number("AutoStart", defaults.autoStart);
    const int overwrite = number("Overwrite", defaults.overwrite);
    const int autoClear = number("AutoClear", defaults.autoClear);
    settings.commDevice
        = barlink::text::trimSpaces(text("CommDevice", defaults.commDevice, PathBuffer));
    settings.editorPath
        = barlink::text::trimSpaces(text("EditorPath", defaults.editorPath, PathBuffer));

    settings.refuseReply = text("RefuseReply", QString(), PathBuffer);
    settings.duplicateSeconds = std::max(0, number("DuplicateSeconds", 0));

    options.setValue(base::Options::AutoStart, switchValue(autoStart));
    options.setValue(base::Options::Overwrite, switchValue(overwrite));
    options.setValue(base::Options::AutoClear, switchValue(autoClear));
    return true;
}

void saveSerialSettings(const base::Settings &settings)
{
    writeKey(settings, QStringLiteral("Settings"), settings.serialSettings);
    writeKey(settings, QStringLiteral("CommPort"), QString::number(settings.serialPort));
}

void saveCommDevice(const base::Settings &settings)
{
    writeKey(settings, QStringLiteral("CommDevice"), settings.commDevice);
}

QString optionSwitchKey(base::Options::Switch s)
{
    switch (s) {
    case base::Options::AutoClear:
        return QStringLiteral("AutoClear");
    case base::Options::Overwrite:
        return QStringLiteral("Overwrite");
    case base::Options::AutoStart:
        return QStringLiteral("AutoStart");
    case base::Options::ShowEd:
        break;
    }
    return {};
}

QString signedNumberText(int value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

void writeOptionSwitch(const base::Settings &settings, base::Options::Switch s, int value)
{
    const QString key = optionSwitchKey(s);
    if (!key.isEmpty())
        writeKey(settings, key, signedNumberText(value));
}

QString readKey(const base::Settings &settings,
                const QString &key,
                const QString &defaultValue,
                int bufferSize)
{
    return ProfileFile(settings.settingsFilePath)
        .readString(section(), key, defaultValue, bufferSize);
}

int readIntKey(const base::Settings &settings, const QString &key, int defaultValue)
{
    return ProfileFile(settings.settingsFilePath).readInt(section(), key, defaultValue);
}

void writeKey(const base::Settings &settings, const QString &key, const QString &value)
{
    ProfileFile(settings.settingsFilePath).writeString(section(), key, value);
}

QString portDeviceName(const base::Settings &settings)
{
    if (!settings.commDevice.isEmpty())
        return settings.commDevice;
    if (settings.serialPort < 1)
        return {};
    return numberedPortDevice(settings.serialPort);
}

} // namespace barlink::settings
