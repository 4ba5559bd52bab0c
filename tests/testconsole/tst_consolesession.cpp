// The test console's own references, its typed line numbers and its list folder.

#include "app/Error.h"
#include "program/listmanager/Application.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListStore.h"
#include "testconsole/ConsoleSession.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testconsole;

namespace {

// The number of the barlink::Error that `call` throws, or 0 when it throws none.
template<typename Call> int errorOf(Call call)
{
    try {
        call();
    } catch (const Error &error) {
        return error.number();
    }
    return 0;
}

} // namespace

class tst_ConsoleSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_shared<listmanager::ListStore>(m_dir->filePath(QStringLiteral("data")));
        m_provider = std::make_unique<listmanager::EmbeddedListManagerProvider>(m_store);
    }

    void lineNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("error");

        QTest::newRow("plain") << "12" << 12 << 0;
        QTest::newRow("blanks around") << " 7 " << 7 << 0;
        QTest::newRow("half to even down") << "2.5" << 2 << 0;
        QTest::newRow("half to even up") << "3.5" << 4 << 0;
        QTest::newRow("negative") << "-1" << -1 << 0;
        QTest::newRow("largest") << "2147483647" << 2147483647 << 0;
        QTest::newRow("beyond 32 bits") << "2147483648" << 0 << 6;
        QTest::newRow("empty") << "" << 0 << 13;
        QTest::newRow("words") << "abc" << 0 << 13;
        QTest::newRow("number then words") << "12abc" << 0 << 13;
    }

    void lineNumber()
    {
        QFETCH(QString, typed);
        QFETCH(int, line);
        QFETCH(int, error);

        qint32 got = 0;
        QCOMPARE(errorOf([&] { got = lineNumberOf(typed); }), error);
        QCOMPARE(got, line);
    }

    void listFolder_data()
    {
        QTest::addColumn<QStringList>("subfolders");
        QTest::addColumn<QString>("expected");

        QTest::newRow("none yet") << QStringList{} << "Lsx";
        QTest::newRow("as designed") << QStringList{"Lsx"} << "Lsx";
        QTest::newRow("lower case") << QStringList{"lsx", "other"} << "lsx";
        QTest::newRow("upper case") << QStringList{"LSX"} << "LSX";
    }

    void listFolder()
    {
        QFETCH(QStringList, subfolders);
        QFETCH(QString, expected);

        const QString product = m_dir->filePath(QStringLiteral("product"));
        for (const QString &name : subfolders)
            QVERIFY(QDir().mkpath(product + QLatin1Char('/') + name));
        QCOMPARE(listFolderIn(product), product + QLatin1Char('/') + expected);
    }

    void references_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("application");
        QTest::addColumn<bool>("list");

        QTest::newRow("app init") << QStringList{"AppInit"} << true << false;
        QTest::newRow("new list") << QStringList{"AppInit", "NewList"} << true << true;
        QTest::newRow("app terminate keeps the list")
            << QStringList{"AppInit", "NewList", "AppTerminate"} << false << true;
        QTest::newRow("list terminate")
            << QStringList{"AppInit", "NewList", "ListTerminate"} << true << false;
        QTest::newRow("list close")
            << QStringList{"AppInit", "NewList", "ListClose"} << true << false;
    }

    void references()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, application);
        QFETCH(bool, list);

        ConsoleSession session(*m_provider);
        for (const QString &step : steps) {
            if (step == u"AppInit")
                session.appInit();
            else if (step == u"NewList")
                session.newList();
            else if (step == u"AppTerminate")
                session.appTerminate();
            else if (step == u"ListTerminate")
                session.listTerminate();
            else if (step == u"ListClose")
                session.listClose();
            else if (step == u"Quit")
                session.quit();
        }
        QCOMPARE(session.hasApplication(), application);
        QCOMPARE(session.hasList(), list);
    }

    // Quit and ListClose reach the list manager before the references go.
    void quitAndCloseReachTheListManager()
    {
        ConsoleSession session(*m_provider);
        session.appInit();
        session.newList();
        QVERIFY(m_store->listOpen());
        session.listClose();
        QVERIFY(!m_store->listOpen());
        session.quit();
        QVERIFY(m_store->quitRequested());
    }

    // A failing Quit keeps both references, as the error comes before they are dropped.
    void failingQuitKeepsReferences()
    {
        ConsoleSession session(*m_provider);
        session.appInit();
        session.newList();
        m_store->failures().failNext(QStringLiteral("Quit"), 1);
        QCOMPARE(errorOf([&] { session.quit(); }), int(Error::AutomationError));
        QVERIFY(session.hasApplication());
        QVERIFY(session.hasList());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<listmanager::ListStore> m_store;
    std::unique_ptr<listmanager::EmbeddedListManagerProvider> m_provider;
};

QTEST_GUILESS_MAIN(tst_ConsoleSession)
#include "tst_consolesession.moc"
