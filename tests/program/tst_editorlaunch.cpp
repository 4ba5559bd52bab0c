// The editor launch: what reaches the editor through a recording platform, also when single
// platform calls fail, and the Linux platform's command line for the program file, with a
// real program as the editor.

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

// Records the keystrokes (as "task:keys", Ctrl+O as "^O", Enter as "{ENTER}") and the pauses
// (as seconds) in one list. The calls named in `failing` throw, keystrokes after they are
// recorded; so does activating a task that does not run. Tasks are numbered from 1, the
// window of task n is 100 + n, and window 1 (this program's own) is active until a task is
// activated.
class RecordingPlatform : public EditorPlatform, public base::Pacer
{
public:
    bool opensProgramFiles() const override { return false; }
    Task startProgram(const QString &, const QString &) override
    {
        fail(u"start");
        running.insert(++m_lastTask);
        return m_lastTask;
    }
    int moduleUsage(Task task) override
    {
        fail(u"usage");
        return running.contains(task) ? 1 : 0;
    }
    void activateTask(Task task) override
    {
        fail(u"activate", !running.contains(task));
        m_active = Window(100 + task);
    }
    Window activeWindow() override { return m_active; }
    void placeOnTop(Window) override { fail(u"placeOnTop"); }
    void sendKeys(Task task, const QString &keys) override
    {
        received << QString::number(task) + u':'
                        + QString(keys)
                              .replace(QChar(15), QStringLiteral("^O"))
                              .replace(QChar(13), QStringLiteral("{ENTER}"));
        fail(u"keys");
    }
    void pause(float seconds) override { received << QString::number(seconds); }

    QStringList received;
    QSet<QString> failing;
    QSet<Task> running;

private:
    void fail(QStringView call, bool fails = false)
    {
        if (fails || failing.contains(call.toString()))
            throw Error(Error::InvalidCall, call.toString() + QStringLiteral(" failed"));
    }

    Task m_lastTask = 0;
    Window m_active = 1;
};

const QString editorPath = QStringLiteral("/opt/control/bin/editor");

} // namespace

class tst_EditorLaunch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void launch_data()
    {
        QTest::addColumn<QString>("before"); // the editor: nothing, running, closed
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("received"); // "n": PROG.CNC opened in task n; "s" first: after
                                               // the pause of a start
        QTest::addColumn<qint64>("task");
        QTest::addColumn<quint64>("window");
        // clang-format off
        const auto add = [](const char *name, const char *before, const char *failing,
                            const char *received, int task, int window) {
            QTest::newRow(name) << before << failing << received << qint64(task) << quint64(window);
        };
        add("first call starts the editor",  "nothing", "",           "s1", 1, 101);
        add("editor still running",          "running", "",           "1",  1, 101);
        add("editor closed by the user",     "closed",  "",           "s2", 2, 102);
        // No task: nothing to open the program in, and nothing is typed anywhere.
        add("editor cannot be started",      "nothing", "start",      "s",  0, 1);
        // A failed query means "not running" before the start and "running" before the open.
        add("usage query fails",             "running", "usage",      "s2", 2, 102);
        add("activation fails",              "nothing", "activate",   "s1", 1, 1);
        add("raising fails",                 "running", "placeOnTop", "1",  1, 101);
        add("keystrokes fail one by one",    "running", "keys",       "1",  1, 101);
        // clang-format on
    }

    void launch()
    {
        QFETCH(QString, before);
        QFETCH(QString, failing);
        QFETCH(QString, received);

        RecordingPlatform platform;
        testing::FakeDisplay display;
        base::Settings settings;
        settings.editorPath = editorPath;
        program::EditorLaunch launch(platform, platform, display, settings);
        if (before != u"nothing") {
            launch.launchEditor(QStringLiteral("PROG.CNC"));
            if (before == u"closed")
                platform.running.clear();
            platform.received.clear();
        }
        platform.failing.insert(failing);

        launch.launchEditor(QStringLiteral("PROG.CNC"));
        QStringList expected;
        if (received.startsWith(u's'))
            expected << QStringLiteral("0.5");
        if (const QString task = received.remove(u's'); !task.isEmpty())
            expected << task + ":^O" << QStringLiteral("0.5") << task + ":PROG.CNC"
                     << task + ":{ENTER}" << task + ":{ENTER}";
        QCOMPARE(platform.received, expected);
        QTEST(launch.editorTask(), "task");
        QTEST(launch.editorWindow(), "window");
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
