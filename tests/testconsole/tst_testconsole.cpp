// The "Runlist TEST" console against the embedded list manager, driven by object name: its own
// references, its typed line numbers and its list folder.

#include "../text/Tables.h"
#include "Fakes.h"
#include "FaultyListManager.h"
#include "TestSupport.h"
#include "base/Error.h"
#include "base/ProductEnvironment.h"
#include "base/Settings.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"
#include "testconsole/ConsoleSession.h"
#include "testconsole/TestConsoleWindow.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testconsole;
using namespace barlink::testing;

namespace {

// A product folder with its list folder, the embedded list manager, and the console on them.
struct Console
{
    QTemporaryDir dir;
    base::Settings settings;
    std::shared_ptr<embeddedlist::ListStore> store;
    std::unique_ptr<embeddedlist::EmbeddedListManagerProvider> provider;
    std::unique_ptr<base::ProductEnvironment> product;
    ScriptedPrompter prompter;
    std::unique_ptr<TestConsoleWindow> window;

    Console()
    {
        settings.gcodePath = dir.filePath(QStringLiteral("product")) + u'/';
        QDir().mkpath(settings.gcodePath + QStringLiteral("lsx"));
        store = std::make_shared<embeddedlist::ListStore>(dir.filePath(QStringLiteral("data")));
        provider = std::make_unique<embeddedlist::EmbeddedListManagerProvider>(store);
        product = std::make_unique<base::ProductEnvironment>(settings);
        window = std::make_unique<TestConsoleWindow>(*provider, *product, prompter);
    }
    QString text(const char *box) const { return child<QLineEdit>(*window, box)->text(); }

    // Runs a script of steps separated by blanks: "name" clicks a button, "name=text" types
    // into a box.
    void run(const QString &script)
    {
        for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
            const qsizetype equals = step.indexOf(u'=');
            if (equals > 0)
                child<QLineEdit>(*window, step.left(equals))->setText(step.mid(equals + 1));
            else
                QTest::mouseClick(child<QAbstractButton>(*window, step), Qt::LeftButton);
        }
    }
};

} // namespace

class tst_TestConsole : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineNumber_data()
    {
        columns<QString, int, int>({"typed", "line", "error"});
        const auto row = [](const char *name, const char *typed, int line, int error) {
            QTest::newRow(name) << QString::fromLatin1(typed) << line << error;
        };
        // clang-format off
        row("plain", "12", 12, 0);                     row("blanks around", " 7 ", 7, 0);
        row("half to even down", "2.5", 2, 0);         row("half to even up", "3.5", 4, 0);
        row("negative", "-1", -1, 0);                  row("largest", "2147483647", 2147483647, 0);
        row("beyond 32 bits", "2147483648", 0, 6);     row("empty", "", 0, 13);
        row("words", "abc", 0, 13);                    row("number then words", "12abc", 0, 13);
        // clang-format on
    }
    void lineNumber()
    {
        qint32 got = 0;
        QTEST(errorNumber([&] { got = lineNumberOf(fetch<QString>("typed")); }), "error");
        QTEST(int(got), "line");
    }

    void listFolder_data()
    {
        columns<QStringList, QString>({"subfolders", "expected"});
        QTest::newRow("none yet") << QStringList{} << "Lsx";
        QTest::newRow("lower case") << QStringList{"lsx", "other"} << "lsx";
        QTest::newRow("upper case") << QStringList{"LSX"} << "LSX";
    }
    void listFolder()
    {
        QTemporaryDir dir;
        for (const QString &name : fetch<QStringList>("subfolders"))
            QVERIFY(QDir(dir.path()).mkpath(name));
        QCOMPARE(listFolderIn(dir.path()), dir.filePath(fetch<QString>("expected")));
    }

    // Quit and ListClose reach the list manager before the references go; a failing Quit
    // keeps both references, as the error comes before they are dropped.
    void references()
    {
        Console console;
        ListManagerFaults faults;
        FaultyProvider provider(*console.provider, faults);
        ConsoleSession session(provider);
        session.appInit();
        QVERIFY(session.hasApplication() && !session.hasList());
        session.newList();
        QVERIFY(session.hasList() && console.store->listOpen());

        faults.failNext(QStringLiteral("Quit"), 1);
        QCOMPARE(errorNumber([&] { session.quit(); }), int(Error::AutomationError));
        QVERIFY(session.hasApplication() && session.hasList());

        session.listClose();
        QVERIFY(!session.hasList() && !console.store->listOpen() && session.hasApplication());
        session.quit();
        QVERIFY(console.store->quitRequested() && !session.hasApplication());
    }

    // Column Info adds the columns to what the box already holds.
    void columnInfoAccumulates()
    {
        Console console;
        auto *info = child<QListWidget>(*console.window, "lstListInfo");
        console.run(QStringLiteral("cmdAppInit cmdNewList cmdCols cmdColInfo"));
        const int columns = console.text("txtColumns").toInt();
        QVERIFY(columns > 0);
        QCOMPARE(info->count(), columns);
        const QString first = info->item(0)->text();
        console.run(QStringLiteral("cmdColInfo"));
        QCOMPARE(info->count(), 2 * columns);
        QCOMPARE(info->item(columns)->text(), first);
    }

    // Open List and Append List read the list files named in their boxes, which the "..."
    // buttons fill from a file dialog that starts in the product's list folder.
    void listFiles()
    {
        Console console;
        const QString lsx = console.settings.gcodePath + QStringLiteral("lsx");
        const QString listFile = lsx + QStringLiteral("/Two.lst");
        QVERIFY(writeBytes(listFile, "#161=X.CNC;\r\n#161=Y.CNC;\r\n"));
        QStringList folders;
        QString answer = listFile;
        console.window->chooseListFile = [&](const QString &folder) {
            folders << folder;
            return answer;
        };
        console.run(QStringLiteral("cmdListBrowse cmdListAppendBrowse"));
        QCOMPARE(folders, (QStringList{lsx, lsx}));
        QCOMPARE(console.text("txtAppLstName"), QDir::toNativeSeparators(listFile));
        QCOMPARE(console.text("txtListName"), QDir::toNativeSeparators(listFile));

        console.run(QStringLiteral("cmdAppInit cmdAppOpenLst cmdAppendList"));
        QCOMPARE(console.store->rows(),
                 (QStringList{"#161=X.CNC;", "#161=Y.CNC;", "#161=X.CNC;", "#161=Y.CNC;"}));

        answer.clear(); // a cancelled dialog leaves the box as it was
        console.run(QStringLiteral("cmdListBrowse"));
        QCOMPARE(console.text("txtAppLstName"), QDir::toNativeSeparators(listFile));
        QVERIFY(console.prompter.shown.isEmpty());
    }

    void closingDropsTheReferences()
    {
        Console console;
        console.window->show();
        console.run(QStringLiteral("cmdAppInit cmdNewList"));
        QVERIFY(console.window->session().hasList());
        console.window->close();
        QVERIFY(!console.window->session().hasList()
                && !console.window->session().hasApplication());
    }
};

QTEST_MAIN(tst_TestConsole)
#include "tst_testconsole.moc"
