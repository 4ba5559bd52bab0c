#pragma once

// What the settings file's rules take from the platform: SettingsFileWin.cpp on Windows,
// SettingsFilePosix.cpp elsewhere. The platform files also define settingsDefaults() and
// windowsDirectory() of SettingsFile.h.

#include <QString>

class QDir;

namespace barlink::base {
class Prompter;
}

namespace barlink::settings {

// The path without one trailing folder separator: "\" on Windows, "/" or "\" elsewhere.
[[nodiscard]] QString withoutTrailingSeparator(QString path);

// The settings file in dir spelt in another letter case, or an empty text: only where the
// file system tells names apart by case. Disk prompts and errors as fileExists.
[[nodiscard]] QString settingsFileInOtherCase(const QDir &dir, base::Prompter &prompter);

// The device of serial port number port (1 and up): COMn on Windows, /dev/ttyS(n-1) elsewhere.
[[nodiscard]] QString numberedPortDevice(int port);

} // namespace barlink::settings
