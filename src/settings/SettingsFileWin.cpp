#include "settings/SettingsFile.h"
#include "settings/SettingsFilePlatform.h"

#include <QDir>

#include <qt_windows.h>

namespace barlink::settings {

SettingsDefaults settingsDefaults()
{
    SettingsDefaults defaults;
    defaults.gcodePath = QStringLiteral("C:\\VNTX\\PRODUCT\\");
    defaults.listPath = QStringLiteral("C:\\VNTX\\PRODUCT\\lsx\\");
    defaults.csvInPath = QStringLiteral("C:\\");
    defaults.csvOutPath = QStringLiteral("C:\\Barlink.csv");
    defaults.editorPath = QStringLiteral("c:\\helicon\\bin\\Scriber.exe");
    return defaults;
}

QString windowsDirectory()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return QStringLiteral("C:\\Windows");
    return QString::fromWCharArray(buffer, static_cast<qsizetype>(length));
}

QString withoutTrailingSeparator(QString path)
{
    if (path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    return path;
}

// The file system finds the name in any letter case: the exact spelling has found it.
QString settingsFileInOtherCase(const QDir &, base::Prompter &)
{
    return {};
}

QString numberedPortDevice(int port)
{
    return QStringLiteral("COM") + QString::number(port);
}

} // namespace barlink::settings
