#pragma once

#include "EditorPlatform.h"

#include <QStringList>

namespace barlink::program {

// The editor's command line for one program file. editorPath is a path on its own when it
// names an existing file as a whole (blanks included); otherwise a command line split like a
// shell's words ("" quotes words with blanks), in which every "%f" after the program stands
// for the program file. Without "%f" the file is the last argument. Empty for an empty
// editorPath.
[[nodiscard]] QStringList editorCommand(const QString &editorPath, const QString &programFile);

// The editor launch's platform on Linux: the editor is started, detached (it outlives
// Barlink), with the program file on its command line, for every program; desktop editors
// hand the file over to the copy that already runs. Window control and keystrokes are not
// offered: the desktop has no dependable way to type into one program's window only (X11's
// input extension types into whichever window has the keyboard, key events sent to a window
// are refused by many programs, Wayland offers neither), so these operations fail.
class LinuxEditorPlatform final : public EditorPlatform
{
public:
    [[nodiscard]] bool opensProgramFiles() const override { return true; }
    // base::Error 53 when the editor cannot be started (an empty editor included).
    [[nodiscard]] Task startProgram(const QString &editor, const QString &programFile) override;
    // base::Error 5: not offered here, as the launch never needs to know.
    [[nodiscard]] int moduleUsage(Task task) override;
    void activateTask(Task task) override;
    [[nodiscard]] Window activeWindow() override;
    void placeOnTop(Window window) override;
    void sendKeys(Task task, const QString &keys) override;

private:
    Task m_lastTask = 0;
};

} // namespace barlink::program
