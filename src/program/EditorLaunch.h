#pragma once

#include "EditorPlatform.h"

#include <QString>

#include <functional>

namespace barlink::base {
class OperatorDisplay;
class Pacer;
struct Settings;
} // namespace barlink::base

namespace barlink::program {

// Opens the program just sent in the program editor (settings key EditorPath). Where the
// platform opens program files itself, the editor is started on the program file for every
// program. Elsewhere the editor is started when the copy started before is no longer
// running, its window is raised and the keystrokes that open the program are typed there; a
// step that fails is skipped. An editor that is not set or cannot be started is reported on
// the status line; nothing else is.
class EditorLaunch
{
public:
    // Keystrokes of the open step.
    static inline const QString openKeys = QStringLiteral("\x0f"); // Ctrl+O
    static inline const QString enterKey = QStringLiteral("\r");
    // Seconds for the editor to come up, and for its open dialog.
    static constexpr float startPause = 0.5f;
    static constexpr float openPause = 0.5f;

    EditorLaunch(EditorPlatform &platform,
                 base::Pacer &pacer,
                 base::OperatorDisplay &display,
                 const base::Settings &settings)
        : m_platform(platform)
        , m_pacer(pacer)
        , m_display(display)
        , m_settings(settings)
    {}

    // Opens programName, whose file is found in the g-code folder as the program file reader
    // finds it. Always returns normally.
    void launchEditor(const QString &programName);

    [[nodiscard]] static QString noEditorText();
    [[nodiscard]] static QString notStartedText(const QString &editor);

    // The editor started last, and the window taken as its window then.
    [[nodiscard]] EditorPlatform::Task editorTask() const { return m_editorTask; }
    [[nodiscard]] EditorPlatform::Window editorWindow() const { return m_editorWindow; }

private:
    // The usage count of the editor's task; `whenUnknown` when there is no task or the
    // query fails.
    [[nodiscard]] int editorUsage(int whenUnknown);
    // Runs one step; a failing step is left out and the launch goes on. False when it failed.
    bool step(const char *name, const std::function<void()> &action);

    EditorPlatform &m_platform;
    base::Pacer &m_pacer;
    base::OperatorDisplay &m_display;
    const base::Settings &m_settings;
    EditorPlatform::Task m_editorTask = 0;
    EditorPlatform::Window m_editorWindow = 0;
};

} // namespace barlink::program
