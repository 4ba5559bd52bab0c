#include "EditorLaunch.h"

#include "app/Error.h"
#include "app/Pacer.h"

#include <QLoggingCategory>

namespace barlink::program {

namespace {
Q_LOGGING_CATEGORY(lcEditor, "barlink.program.editor", QtWarningMsg)
}

void EditorLaunch::step(const char *name, const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &error) {
        qCDebug(lcEditor) << name << "skipped:" << error.number() << error.description();
    } catch (const std::exception &error) {
        qCDebug(lcEditor) << name << "skipped:" << error.what();
    }
}

int EditorLaunch::editorUsage(int whenUnknown)
{
    if (m_editorTask == 0)
        return 0;
    try {
        return m_platform.moduleUsage(m_editorTask);
    } catch (const Error &error) {
        qCDebug(lcEditor) << "usage query failed:" << error.number() << error.description();
    } catch (const std::exception &error) {
        qCDebug(lcEditor) << "usage query failed:" << error.what();
    }
    return whenUnknown;
}

void EditorLaunch::launchEditor(const QString &editorPath, const QString &programName)
{
    // Start check: a failed query counts as "not running", so the editor is started.
    if (editorUsage(0) == 0) {
        step("start", [&] { m_editorTask = m_platform.startProgram(editorPath); });
        m_pacer.pause(startPause);
        step("activate", [&] { m_platform.activateTask(m_editorTask); });
        step("active window", [&] { m_editorWindow = m_platform.activeWindow(); });
    }

    // Open step: a failed query counts as "running", so the program is still opened.
    if (editorUsage(1) != 0) {
        step("place on top", [&] { m_platform.placeOnTop(m_editorWindow); });
        step("activate", [&] { m_platform.activateTask(m_editorTask); });
        step("open keys", [&] { m_platform.sendKeys(m_editorTask, openKeys); });
        m_pacer.pause(openPause);
        step("program name", [&] { m_platform.sendKeys(m_editorTask, programName); });
        step("enter", [&] { m_platform.sendKeys(m_editorTask, enterKey); });
        step("enter", [&] { m_platform.sendKeys(m_editorTask, enterKey); });
    }
}

} // namespace barlink::program
