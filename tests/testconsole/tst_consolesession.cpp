// The test console's own references, its typed line numbers and its list folder.

#include "FaultyListManager.h"
#include "TestSupport.h"
#include "base/Error.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"
#include "testconsole/ConsoleSession.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testconsole;
using testing::errorNumber;

class tst_ConsoleSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("error");
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
        QFETCH(QString, typed);
        qint32 got = 0;
        QTEST(errorNumber([&] { got = lineNumberOf(typed); }), "error");
        QTEST(int(got), "line");
    }

    void listFolder_data()
    {
        QTest::addColumn<QStringList>("subfolders");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none yet") << QStringList{} << "Lsx";
        QTest::newRow("lower case") << QStringList{"lsx", "other"} << "lsx";
        QTest::newRow("upper case") << QStringList{"LSX"} << "LSX";
    }
    void listFolder()
    {
        QFETCH(QStringList, subfolders);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString &name : subfolders)
            QVERIFY(QDir(dir.path()).mkpath(name));
        QCOMPARE(listFolderIn(dir.path()), dir.filePath(expected));
    }

    // Quit and ListClose reach the list manager before the references go; a failing Quit
    // keeps both references, as the error comes before they are dropped.
    void references()
    {
        QTemporaryDir dir;
        const auto store = std::make_shared<embeddedlist::ListStore>(dir.path());
        embeddedlist::EmbeddedListManagerProvider embedded(store);
        testing::ListManagerFaults faults;
        testing::FaultyProvider provider(embedded, faults);
        ConsoleSession session(provider);
        session.appInit();
        QVERIFY(session.hasApplication() && !session.hasList());
        session.newList();
        QVERIFY(session.hasList() && store->listOpen());

        faults.failNext(QStringLiteral("Quit"), 1);
        QCOMPARE(errorNumber([&] { session.quit(); }), int(Error::AutomationError));
        QVERIFY(session.hasApplication() && session.hasList());

        session.listClose();
        QVERIFY(!session.hasList() && !store->listOpen() && session.hasApplication());
        session.quit();
        QVERIFY(store->quitRequested() && !session.hasApplication());
    }
};

QTEST_GUILESS_MAIN(tst_ConsoleSession)
#include "tst_consolesession.moc"
