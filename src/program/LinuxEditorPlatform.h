#pragma once

#include "EditorPlatform.h"

#include <map>

namespace barlink::program {

// The editor launch's platform on Linux: the editor is started as a program of its own (it
// outlives Barlink) and followed through a process handle, so that a later program reusing
// its process number is never taken for it. Window control and keystrokes are not offered:
// the desktop has no dependable way to type into one program's window only (X11's input
// extension types into whichever window has the keyboard, key events sent to a window are
// refused by many programs, Wayland offers neither), so these operations fail and the launch
// skips them. The editor then comes up without the program opened.
class LinuxEditorPlatform final : public EditorPlatform
{
public:
    LinuxEditorPlatform() = default;
    ~LinuxEditorPlatform() override;
    LinuxEditorPlatform(const LinuxEditorPlatform &) = delete;
    LinuxEditorPlatform &operator=(const LinuxEditorPlatform &) = delete;

    // Error 53 when the program cannot be started (an empty path included).
    [[nodiscard]] Task startProgram(const QString &path) override;
    // 1 while the task's process runs, 0 once it has ended; error 5 for an unknown task.
    [[nodiscard]] int moduleUsage(Task task) override;
    // Error 5: not offered here.
    void activateTask(Task task) override;
    [[nodiscard]] Window activeWindow() override;
    void placeOnTop(Window window) override;
    void sendKeys(Task task, const QString &keys) override;

private:
    struct Started
    {
        qint64 pid = 0;
        int handle = -1; // process file descriptor; -1 once the process has ended
    };

    Task m_lastTask = 0;
    std::map<Task, Started> m_tasks;
};

} // namespace barlink::program
