#include "LinuxEditorPlatform.h"

#include "base/Error.h"

#include <QFileInfo>
#include <QProcess>

namespace barlink::program {

namespace {

[[noreturn]] void notOffered()
{
    throw base::Error(
        base::Error::InvalidCall,
        QStringLiteral("Window control and keystrokes are not available on this desktop"));
}

} // namespace

QStringList editorCommand(const QString &editorPath, const QString &programFile)
{
    if (editorPath.trimmed().isEmpty())
        return {};
    if (QFileInfo(editorPath).isFile())
        return {editorPath, programFile};
    QStringList words = QProcess::splitCommand(editorPath);
    if (words.isEmpty())
        return {};
    bool placed = false;
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (words[i].contains(QLatin1String("%f"))) {
            words[i].replace(QLatin1String("%f"), programFile);
            placed = true;
        }
    }
    if (!placed)
        words << programFile;
    return words;
}

EditorPlatform::Task LinuxEditorPlatform::startProgram(const QString &editor,
                                                       const QString &programFile)
{
    const QStringList command = editorCommand(editor, programFile);
    qint64 pid = 0;
    if (command.isEmpty()
        || !QProcess::startDetached(command.first(), command.mid(1), QString(), &pid) || pid <= 0)
        throw base::Error(base::Error::FileNotFound,
                          base::Reason(base::Reason::Code::FileNotFound));
    return ++m_lastTask;
}

int LinuxEditorPlatform::moduleUsage(Task)
{
    notOffered();
}

void LinuxEditorPlatform::activateTask(Task)
{
    notOffered();
}

EditorPlatform::Window LinuxEditorPlatform::activeWindow()
{
    notOffered();
}

void LinuxEditorPlatform::placeOnTop(Window)
{
    notOffered();
}

void LinuxEditorPlatform::sendKeys(Task, const QString &)
{
    notOffered();
}

} // namespace barlink::program
