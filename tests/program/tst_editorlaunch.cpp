// The editor launch: its call sequence against a recording platform, and the Linux
// platform's starting and following of the editor.

#include "Fakes.h"
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
        record(QStringLiteral("start"), path);
        running.insert(++m_lastTask);
        return m_lastTask;
    }
    int moduleUsage(Task task) override
    {
        record(QStringLiteral("usage"), QString::number(task));
        return running.contains(task) ? 1 : 0;
    }
    void activateTask(Task task) override
    {
        record(QStringLiteral("activate"), QString::number(task), !running.contains(task));
        m_active = Window(100 + task);
    }
    Window activeWindow() override
    {
        record(QStringLiteral("activeWindow"), QString());
        return m_active;
    }
    void placeOnTop(Window window) override
    {
        record(QStringLiteral("placeOnTop"), QString::number(window));
    }
    void sendKeys(Task task, const QString &keys) override
    {
        QString shown = keys;
        shown.replace(QChar(15), QStringLiteral("^O"))
            .replace(QChar(13), QStringLiteral("{ENTER}"));
        record(QStringLiteral("keys"), QString::number(task) + QLatin1Char(' ') + shown);
    }
    void pause(float seconds) override { log << QStringLiteral("pause %1").arg(seconds); }

    QStringList log;
    QSet<QString> failing;
    QSet<Task> running;

private:
    void record(const QString &call, const QString &argument, bool fails = false)
    {
        QString entry = argument.isEmpty() ? call : call + QLatin1Char(' ') + argument;
        fails = fails || failing.contains(call);
        log << (fails ? entry + QStringLiteral(" !") : entry);
        if (fails)
            throw Error(Error::InvalidCall, call + QStringLiteral(" failed"));
    }

    Task m_lastTask = 0;
    Window m_active = 1;
};

const QString editorPath = QStringLiteral("/opt/control/bin/editor");

QStringList openStep(int task, int window)
{
    const QString t = QString::number(task);
    return {QStringLiteral("placeOnTop %1").arg(window),
            QStringLiteral("activate ") + t,
            QStringLiteral("keys %1 ^O").arg(t),
            QStringLiteral("pause 0.5"),
            QStringLiteral("keys %1 PROG.CNC").arg(t),
            QStringLiteral("keys %1 {ENTER}").arg(t),
            QStringLiteral("keys %1 {ENTER}").arg(t)};
}

QStringList startStep(int task)
{
    return {QStringLiteral("start ") + editorPath,
            QStringLiteral("pause 0.5"),
            QStringLiteral("activate %1").arg(task),
            QStringLiteral("activeWindow")};
}

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
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("failing");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<qint64>("task");
        QTest::addColumn<quint64>("window");

        QTest::newRow("first call starts the editor")
            << "nothing" << QStringList{}
            << startStep(1) + QStringList{"usage 1"} + openStep(1, 101) << qint64(1)
            << quint64(101);
        QTest::newRow("editor still running")
            << "running" << QStringList{} << QStringList{"usage 1", "usage 1"} + openStep(1, 101)
            << qint64(1) << quint64(101);
        QTest::newRow("editor closed by the user")
            << "closed" << QStringList{}
            << QStringList{"usage 1"} + startStep(2) + QStringList{"usage 2"} + openStep(2, 102)
            << qint64(2) << quint64(102);
        // No task: nothing to open the program in, and nothing is typed anywhere.
        QTest::newRow("editor cannot be started")
            << "nothing" << QStringList{"start"}
            << failed(failed(startStep(0), "start"), "activate") << qint64(0) << quint64(1);
        QTest::newRow("usage query fails: started, then opened")
            << "running" << QStringList{"usage"}
            << QStringList{"usage 1 !"} + startStep(2) + QStringList{"usage 2 !"} + openStep(2, 102)
            << qint64(2) << quint64(102);
        QTest::newRow("activation fails")
            << "nothing" << QStringList{"activate"}
            << failed(startStep(1) + QStringList{"usage 1"} + openStep(1, 1), "activate")
            << qint64(1) << quint64(1);
        QTest::newRow("raising fails")
            << "running" << QStringList{"placeOnTop"}
            << failed(QStringList{"usage 1", "usage 1"} + openStep(1, 101), "placeOnTop")
            << qint64(1) << quint64(101);
        QTest::newRow("keystrokes fail one by one")
            << "running" << QStringList{"keys"}
            << failed(QStringList{"usage 1", "usage 1"} + openStep(1, 101), "keys") << qint64(1)
            << quint64(101);
    }

    void callSequence()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, failing);
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
        for (const QString &call : failing)
            platform.failing.insert(call);

        launch.launchEditor(editorPath, QStringLiteral("PROG.CNC"));
        QCOMPARE(platform.log, log);
        QCOMPARE(launch.editorTask(), task);
        QCOMPARE(launch.editorWindow(), window);
    }

#ifdef Q_OS_LINUX
    void linuxStartFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("no editor set") << QString();
        QTest::newRow("missing program") << QStringLiteral("/nonexistent/barlink-editor");
    }

    void linuxStartFailures()
    {
        QFETCH(QString, path);
        program::LinuxEditorPlatform platform;
        int number = 0;
        try {
            (void)platform.startProgram(path);
        } catch (const Error &error) {
            number = error.number();
        }
        QCOMPARE(number, int(Error::FileNotFound));
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
