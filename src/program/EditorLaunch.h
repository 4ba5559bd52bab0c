#pragma once

#include "EditorPlatform.h"

#include <QString>

#include <functional>

namespace barlink::app {
class Pacer;
}

namespace barlink::program {

// Opens the program just sent in the control software's editor: starts the editor when the
// copy started before is no longer running, raises its window and types the keystrokes that
// open the program there. Nothing of it is ever reported: a step that fails is skipped.
class EditorLaunch
{
public:
    // Keystrokes of the open step.
    static inline const QString openKeys = QStringLiteral("\x0f"); // Ctrl+O
    static inline const QString enterKey = QStringLiteral("\r");
    // Seconds for the editor to come up, and for its open dialog.
    static constexpr float startPause = 0.5f;
    static constexpr float openPause = 0.5f;

    EditorLaunch(EditorPlatform &platform, app::Pacer &pacer)
        : m_platform(platform)
        , m_pacer(pacer)
    {}

    // Opens programName in the editor at editorPath. Always returns normally.
    void launchEditor(const QString &editorPath, const QString &programName);

    // The editor started last, and the window taken as its window then.
    [[nodiscard]] EditorPlatform::Task editorTask() const { return m_editorTask; }
    [[nodiscard]] EditorPlatform::Window editorWindow() const { return m_editorWindow; }

private:
    // The usage count of the editor's task; `whenUnknown` when there is no task or the
    // query fails.
    [[nodiscard]] int editorUsage(int whenUnknown);
    // Runs one step; a failing step is left out and the launch goes on.
    void step(const char *name, const std::function<void()> &action);

    EditorPlatform &m_platform;
    app::Pacer &m_pacer;
    EditorPlatform::Task m_editorTask = 0;
    EditorPlatform::Window m_editorWindow = 0;
};

} // namespace barlink::program
