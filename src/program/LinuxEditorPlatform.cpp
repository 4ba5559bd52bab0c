#include "LinuxEditorPlatform.h"

#include "app/Error.h"

#include <QProcess>

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace barlink::program {

namespace {

[[noreturn]] void notOffered()
{
    throw Error(Error::InvalidCall,
                QStringLiteral("Window control and keystrokes are not available on this desktop"));
}

// A handle on the process: it stays this process even when its number is reused later. Made
// through the system call itself, as not every C library declares a wrapper usable from C++.
int processHandle(qint64 pid)
{
    return int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
}

} // namespace

LinuxEditorPlatform::~LinuxEditorPlatform()
{
    for (auto &[task, started] : m_tasks) {
        if (started.handle >= 0)
            ::close(started.handle);
    }
}

EditorPlatform::Task LinuxEditorPlatform::startProgram(const QString &path)
{
    qint64 pid = 0;
    if (path.isEmpty() || !QProcess::startDetached(path, {}, QString(), &pid) || pid <= 0)
        throw Error(Error::FileNotFound, QStringLiteral("File not found"));
    // A program that has already ended (or a kernel without process handles) leaves no
    // handle; the editor then counts as ended and is started again next time.
    Started started{pid, processHandle(pid)};
    m_tasks[++m_lastTask] = started;
    return m_lastTask;
}

int LinuxEditorPlatform::moduleUsage(Task task)
{
    const auto it = m_tasks.find(task);
    if (it == m_tasks.end())
        throw Error(Error::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
    Started &started = it->second;
    if (started.handle < 0)
        return 0;
    // A process handle becomes readable when the process ends.
    pollfd ended{started.handle, POLLIN, 0};
    const int ready = ::poll(&ended, 1, 0);
    if (ready < 0)
        throw Error(Error::InvalidCall, QStringLiteral("The editor's state cannot be read"));
    if (ready == 0)
        return 1;
    ::close(started.handle);
    started.handle = -1;
    return 0;
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
