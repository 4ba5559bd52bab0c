// The editor launch: its call sequence against a recording platform, and the Linux platform's
// command line for the program file, with a real program as the editor.

#include "Fakes.h"
#include "TestSupport.h"
#include "base/Error.h"
#include "base/Pacer.h"
#include "base/Settings.h"
#include "program/EditorLaunch.h"

#ifdef Q_OS_LINUX
#include "program/LinuxEditorPlatform.h"
#endif

#include <QDir>
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
class RecordingPlatform : public EditorPlatform, public base::Pacer
{
public:
    bool opensProgramFiles() const override { return false; }
    Task startProgram(const QString &path, const QString &) override
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
        testing::FakeDisplay display;
        base::Settings settings;
        settings.editorPath = editorPath;
        program::EditorLaunch launch(platform, platform, display, settings);
        if (before != u"nothing") {
            launch.launchEditor(QStringLiteral("PROG.CNC"));
            if (before == u"closed")
                platform.running.clear();
            platform.log.clear();
        }
        if (!failing.isEmpty())
            platform.failing.insert(failing);

        launch.launchEditor(QStringLiteral("PROG.CNC"));
        QCOMPARE(platform.log, log);
        QCOMPARE(launch.editorTask(), task);
        QCOMPARE(launch.editorWindow(), window);
        QCOMPARE(display.status(),
                 failing == u"start" ? program::EditorLaunch::notStartedText(editorPath)
                                     : QStringLiteral("Ready."));
    }

#ifdef Q_OS_LINUX
    // A real program as the editor, which writes its arguments beside itself. "<editor>" in
    // the editor setting is its path, "<file>" in the arguments the program file PROG.CNC,
    // found for the item's program name prog.cnc.
    void linuxOpensTheProgram_data()
    {
        QTest::addColumn<QString>("editorPath");
        QTest::addColumn<QStringList>("arguments"); // empty: not started
        QTest::addColumn<QString>("status");
        const QString ready = QStringLiteral("Ready.");
        // clang-format off
        QTest::newRow("with %f") << "\"<editor>\" -a --file=%f"
                                 << QStringList{"-a", "--file=<file>"} << ready;
        QTest::newRow("without %f") << "\"<editor>\" --new-window"
                                    << QStringList{"--new-window", "<file>"} << ready;
        QTest::newRow("unquoted path with spaces") << "<editor>" << QStringList{"<file>"} << ready;
        QTest::newRow("no editor set") << "" << QStringList{} << program::EditorLaunch::noEditorText();
        QTest::newRow("editor missing") << "/nonexistent/editor %f" << QStringList{}
            << program::EditorLaunch::notStartedText(QStringLiteral("/nonexistent/editor %f"));
        // clang-format on
    }

    void linuxOpensTheProgram()
    {
        QFETCH(QString, editorPath);
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        const QString editor = dir.filePath(QStringLiteral("my editors/edit.sh"));
        QVERIFY(QDir().mkpath(QFileInfo(editor).path()));
        QVERIFY(testing::writeBytes(
            editor,
            "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.part\"\n"
            "mv \"$0.part\" \"$0.args\"\n"));
        QVERIFY(QFile::setPermissions(editor, QFile::ReadOwner | QFile::ExeOwner));
        base::Settings settings;
        settings.gcodePath = dir.filePath(QStringLiteral("gcode/"));
        const QString file = settings.gcodePath + QStringLiteral("PROG.CNC");
        QVERIFY(QDir().mkpath(settings.gcodePath));
        QVERIFY(testing::writeBytes(file, "G71 X1 Y1 Z1\r\n(DOOR)\r\n"));
        settings.editorPath = editorPath.replace(QStringLiteral("<editor>"), editor);

        program::LinuxEditorPlatform platform;
        testing::InstantPacer pacer;
        testing::FakeDisplay display;
        program::EditorLaunch launch(platform, pacer, display, settings);
        const QByteArray written
            = arguments.replaceInStrings(QStringLiteral("<file>"), file).join('\n').toLocal8Bit()
              + '\n';
        // Started for every program, also while the first copy may still run.
        for (int i = 0; i < 2; ++i) {
            QFile::remove(editor + QStringLiteral(".args"));
            launch.launchEditor(QStringLiteral("prog.cnc"));
            QTEST(display.status(), "status");
            if (arguments.isEmpty()) {
                QCOMPARE(launch.editorTask(), EditorPlatform::Task(0));
                break;
            }
            QCOMPARE(launch.editorTask(), EditorPlatform::Task(i + 1));
            QTRY_COMPARE(testing::readBytes(editor + QStringLiteral(".args")), written);
        }
    }
#endif
};

QTEST_GUILESS_MAIN(tst_EditorLaunch)
#include "tst_editorlaunch.moc"
