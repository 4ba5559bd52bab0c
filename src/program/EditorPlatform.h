#pragma once

#include <QString>

namespace barlink::program {

// What the editor launch needs of the platform: starting a program, its windows, and
// keystrokes. Every operation throws barlink::base::Error when it fails.
class EditorPlatform
{
public:
    // Identifies a started program; 0 is none. Never reused within a run.
    using Task = qint64;
    // A window handle; 0 is none.
    using Window = quint64;

    virtual ~EditorPlatform() = default;

    // Whether startProgram hands the program file to the editor on its command line. The
    // editor is then started for every program (an editor that already runs takes the file
    // over into its running copy), and no window is controlled and nothing typed.
    [[nodiscard]] virtual bool opensProgramFiles() const = 0;
    // Starts the editor with a normal window that takes the focus; with opensProgramFiles(),
    // on programFile.
    [[nodiscard]] virtual Task startProgram(const QString &editor, const QString &programFile) = 0;
    // How many copies of the task run: 0 once it has ended.
    [[nodiscard]] virtual int moduleUsage(Task task) = 0;
    // Brings the task's main window to the front and gives it the keyboard.
    virtual void activateTask(Task task) = 0;
    // The window that is active now.
    [[nodiscard]] virtual Window activeWindow() = 0;
    // Places the window above every window that is not topmost, keeping its position and size.
    virtual void placeOnTop(Window window) = 0;
    // Types the characters as keystrokes (code 15 is Ctrl+O, 13 is Enter) into the task's
    // window that has the keyboard. Keystrokes never go to any other program's window: when
    // that cannot be made sure of, nothing is typed and the call fails.
    virtual void sendKeys(Task task, const QString &keys) = 0;
};

} // namespace barlink::program
