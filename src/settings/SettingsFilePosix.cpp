#include "settings/SettingsFile.h"
#include "settings/SettingsFilePlatform.h"

#include "base/FileExists.h"

#include <QDir>

namespace barlink::settings {

namespace {

// An XDG base folder: the variable when it holds an absolute path, else the fallback
// under the home folder.
QString xdgFolder(const char *variable, const QString &fallbackUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + QLatin1Char('/') + fallbackUnderHome;
}

} // namespace

SettingsDefaults settingsDefaults()
{
    SettingsDefaults defaults;
    const QString data
        = xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/barlink/");
    defaults.gcodePath = data + QStringLiteral("product/");
    defaults.listPath = data + QStringLiteral("product/lsx/");
    defaults.csvInPath = data + QStringLiteral("csv/");
    defaults.csvOutPath = data + QStringLiteral("Barlink.csv");
    return defaults;
}

QString windowsDirectory()
{
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/barlink");
}

QString withoutTrailingSeparator(QString path)
{
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    return path;
}

QString settingsFileInOtherCase(const QDir &dir, base::Prompter &prompter)
{
    // Name filters match regardless of case; the exact spelling has been tried already.
    const QStringList names = dir.entryList(
        {QString(SettingsFileName)}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        if (name == SettingsFileName)
            continue;
        const QString path = dir.filePath(name);
        if (fileExists(path, prompter))
            return path;
    }
    return {};
}

QString numberedPortDevice(int port)
{
    return QStringLiteral("/dev/ttyS") + QString::number(port - 1);
}

} // namespace barlink::settings
