// The editor launch: its call sequence against a recording platform, and the Linux
// platform's starting and following of the editor.

#include "Fakes.h"
#include "TestSupport.h"
#include "app/Error.h"
#include "app/Pacer.h"
#include "program/EditorLaunch.h"

#ifdef Q_OS_LINUX
#include "program/LinuxEditorPlatform.h"
#endif

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using program::EditorPlatform;

namespace {

// Records every platform call and pause in one log; a call that fails (named in `failing`,
// or activating a task that does not run) is logged with a trailing " !" and throws. Tasks are
// numbered from 1, the window of task n is 100 + n, and window 1 (this program's own) is active
// until a task is activated.
class RecordingPlatform : public EditorPlatform, public app::Pacer
{
public:
    Task startProgram(const QString &path) override
    {
        record(QStringLiteral("start ") + path);
        running.insert(++m_lastTask);
        return m_lastTask;
    }
    int moduleUsage(Task task) override
    {
        record(QStringLiteral("usage %1").arg(task));
        return running.contains(task) ? 1 : 0;
    }
    void activateTask(Task task) override
    {
        record(QStringLiteral("activate %1").arg(task), !running.contains(task));
        m_active = Window(100 + task);
    }
    Window activeWindow() override
    {
        record(QStringLiteral("activeWindow"));
        return m_active;
    }
    void placeOnTop(Window window) override { record(QStringLiteral("placeOnTop %1").arg(window)); }
    void sendKeys(Task task, const QString &keys) override
    {
        QString shown = keys;
        shown.replace(QChar(15), QStringLiteral("^O"))
            .replace(QChar(13), QStringLiteral("{ENTER}"));
        record(QStringLiteral("keys %1 ").arg(task) + shown);
    }
    void pause(float seconds) override { log << QStringLiteral("pause %1").arg(seconds); }

    QStringList log;
    QSet<QString> failing;
    QSet<Task> running;

private:
    void record(const QString &entry, bool fails = false)
    {
        fails = fails || failing.contains(entry.section(QLatin1Char(' '), 0, 0));
        log << (fails ? entry + QStringLiteral(" !") : entry);
        if (fails)
            throw Error(Error::InvalidCall, entry + QStringLiteral(" failed"));
    }

    Task m_lastTask = 0;
    Window m_active = 1;
};

const QString editorPath = QStringLiteral("/opt/control/bin/editor");

// The calls that open PROG.CNC in the editor's window.
QStringList openStep(int task, int window)
{
    const QString keys = QStringLiteral("keys %1 ").arg(task);
    return {QStringLiteral("placeOnTop %1").arg(window),
            QStringLiteral("activate %1").arg(task),
            keys + "^O",
            QStringLiteral("pause 0.5"),
            keys + "PROG.CNC",
            keys + "{ENTER}",
            keys + "{ENTER}"};
}

// The calls that start the editor as task `task`.
QStringList startStep(int task)
{
    return {QStringLiteral("start ") + editorPath,
            QStringLiteral("pause 0.5"),
            QStringLiteral("activate %1").arg(task),
            QStringLiteral("activeWindow")};
}

// The log with the calls that begin with `call` marked as failed.
QStringList failed(QStringList log, const QString &call)
{
    for (QString &entry : log) {
        if (entry.startsWith(call))
            entry += QStringLiteral(" !");
    }
    return log;
}

} // namespace

class tst_EditorLaunch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void callSequence_data()
    {
        QTest::addColumn<QString>("before"); // the editor: nothing, running, closed
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<qint64>("task");
        QTest::addColumn<quint64>("window");
        const QStringList again{"usage 1", "usage 1"}; // the first launch's check, and this one's
        const auto started
            = [](int task) { return startStep(task) << QStringLiteral("usage %1").arg(task); };

        // clang-format off
        const auto add = [](const char *name, const char *before, const char *failing,
                            const QStringList &log, int task, int window) {
            QTest::newRow(name) << before << failing << log << qint64(task) << quint64(window);
        };
        add("first call starts the editor", "nothing", "", started(1) + openStep(1, 101), 1, 101);
        add("editor still running", "running", "", again + openStep(1, 101), 1, 101);
        add("editor closed by the user", "closed", "",
            QStringList{"usage 1"} + started(2) + openStep(2, 102), 2, 102);
        // No task: nothing to open the program in, and nothing is typed anywhere.
        add("editor cannot be started", "nothing", "start",
            failed(failed(startStep(0), "start"), "activate"), 0, 1);
        add("usage query fails: started, then opened", "running", "usage",
            QStringList{"usage 1 !"} + startStep(2) + QStringList{"usage 2 !"} + openStep(2, 102),
            2, 102);
        add("activation fails", "nothing", "activate",
            failed(started(1) + openStep(1, 1), "activate"), 1, 1);
        add("raising fails", "running", "placeOnTop",
            failed(again + openStep(1, 101), "placeOnTop"), 1, 101);
        add("keystrokes fail one by one", "running", "keys",
            failed(again + openStep(1, 101), "keys"), 1, 101);
        // clang-format on
    }

    void callSequence()
    {
        QFETCH(QString, before);
        QFETCH(QString, failing);
        QFETCH(QStringList, log);
        QFETCH(qint64, task);
        QFETCH(quint64, window);

        RecordingPlatform platform;
        program::EditorLaunch launch(platform, platform);
        if (before != u"nothing") {
            launch.launchEditor(editorPath, QStringLiteral("PROG.CNC"));
            if (before == u"closed")
                platform.running.clear();
            platform.log.clear();
        }
        if (!failing.isEmpty())
            platform.failing.insert(failing);

        launch.launchEditor(editorPath, QStringLiteral("PROG.CNC"));
        QCOMPARE(platform.log, log);
        QCOMPARE(launch.editorTask(), task);
        QCOMPARE(launch.editorWindow(), window);
    }

#ifdef Q_OS_LINUX
    void linuxStartFailures()
    {
        program::LinuxEditorPlatform platform;
        for (const QString &path : {QString(), QStringLiteral("/nonexistent/barlink-editor")}) {
            QCOMPARE(testing::errorNumber([&] { (void)platform.startProgram(path); }),
                     int(Error::FileNotFound));
        }
    }

    // A real program as the editor: started once while it runs, again once it has ended;
    // nothing is typed, as this desktop cannot aim keystrokes at one program's window.
    void linuxEditorFollowed()
    {
        QTemporaryDir dir;
        const QString editor = dir.filePath(QStringLiteral("editor.sh"));
        {
            QFile script(editor);
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\nwhile [ ! -e \"$0.done\" ]; do sleep 0.05; done\n");
            QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        program::LinuxEditorPlatform platform;
        testing::InstantPacer pacer;
        program::EditorLaunch launch(platform, pacer);

        launch.launchEditor(editor, QStringLiteral("PROG.CNC"));
        const EditorPlatform::Task first = launch.editorTask();
        QVERIFY(first != 0);
        QCOMPARE(platform.moduleUsage(first), 1);
        launch.launchEditor(editor, QStringLiteral("PROG.CNC"));
        QCOMPARE(launch.editorTask(), first);

        QFile done(editor + QStringLiteral(".done"));
        QVERIFY(done.open(QIODevice::WriteOnly));
        done.close();
        QTRY_COMPARE(platform.moduleUsage(first), 0);
        launch.launchEditor(editor, QStringLiteral("PROG.CNC"));
        QVERIFY(launch.editorTask() != first);

        QVERIFY_THROWS_EXCEPTION(Error,
                                 platform.sendKeys(launch.editorTask(), QStringLiteral("x")));
        // The last copy ends at once; it has to be gone before its folder is.
        QTRY_COMPARE(platform.moduleUsage(launch.editorTask()), 0);
    }
#endif
};

QTEST_GUILESS_MAIN(tst_EditorLaunch)
#include "tst_editorlaunch.moc"
