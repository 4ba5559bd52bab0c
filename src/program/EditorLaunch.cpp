#include "EditorLaunch.h"

#include "ProgramFileReader.h"
#include "base/Error.h"
#include "base/OperatorDisplay.h"
#include "base/Pacer.h"
#include "base/Settings.h"
#include "text/TrimSpaces.h"

#include <QLoggingCategory>

namespace barlink::program {

namespace {
Q_LOGGING_CATEGORY(lcEditor, "barlink.program.editor", QtWarningMsg)
}

QString EditorLaunch::noEditorText()
{
    return QStringLiteral("Program not opened: no editor is set (EditorPath).");
}

QString EditorLaunch::notStartedText(const QString &editor)
{
    return QStringLiteral("Program not opened: the editor %1 could not be started.").arg(editor);
}

bool EditorLaunch::step(const char *name, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const base::Error &error) {
        qCDebug(lcEditor) << name << "skipped:" << error.number() << error.description();
    } catch (const std::exception &error) {
        qCDebug(lcEditor) << name << "skipped:" << error.what();
    }
    return false;
}

int EditorLaunch::editorUsage(int whenUnknown)
{
    if (m_editorTask == 0)
        return 0;
    try {
        return m_platform.moduleUsage(m_editorTask);
    } catch (const base::Error &error) {
        qCDebug(lcEditor) << "usage query failed:" << error.number() << error.description();
    } catch (const std::exception &error) {
        qCDebug(lcEditor) << "usage query failed:" << error.what();
    }
    return whenUnknown;
}

void EditorLaunch::launchEditor(const QString &programName)
{
    const QString editor = text::trimSpaces(m_settings.editorPath);
    if (editor.isEmpty()) {
        m_display.setStatus(noEditorText());
        return;
    }
    if (m_platform.opensProgramFiles()) {
        const QString file = programFilePath(m_settings, programName);
        if (file.isEmpty()) {
            qCDebug(lcEditor) << "no program file to open for" << programName;
            return;
        }
        if (!step("start", [&] { m_editorTask = m_platform.startProgram(editor, file); }))
            m_display.setStatus(notStartedText(editor));
        return;
    }

    // Start check: a failed query counts as "not running", so the editor is started.
    if (editorUsage(0) == 0) {
        if (!step("start", [&] { m_editorTask = m_platform.startProgram(editor, QString()); }))
            m_display.setStatus(notStartedText(editor));
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
