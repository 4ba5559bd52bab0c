// The "Runlist TEST" console against the embedded list manager, driven by object name.

#include "Fakes.h"
#include "app/ProductEnvironment.h"
#include "app/Settings.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListStore.h"
#include "testconsole/TestConsoleWindow.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

template<typename T> T *child(QWidget &window, const QString &name)
{
    auto *widget = window.findChild<T *>(name);
    if (!widget)
        qFatal("no control named %s", qPrintable(name));
    return widget;
}

const QString notSet = QStringLiteral(
    "Unexpected error # 91 occured: Object variable or With block variable not set");

} // namespace

class tst_TestConsoleWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings = {};
        m_settings.gcodePath = m_dir->filePath(QStringLiteral("product")) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(m_settings.gcodePath + QStringLiteral("lsx")));
        m_store = std::make_shared<listmanager::ListStore>(m_dir->filePath(QStringLiteral("data")));
        m_provider = std::make_unique<listmanager::EmbeddedListManagerProvider>(m_store);
        m_product = std::make_unique<app::ProductEnvironment>(m_settings);
    }

    // Each row is a script: "name" clicks a button, "name=text" types into a box. Then
    // the list's rows, the boxes named in `boxes` ("name=text") and the message boxes shown.
    void buttons_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("add line before list init")
            << QStringList{"txtAddLine=#161=A.CNC;", "cmdAddLine"} << QStringList{} << QStringList{}
            << QStringList{notSet};
        QTest::newRow("add, set and read back")
            << QStringList{"cmdAppInit",
                           "cmdInit",
                           "txtAddLine=#161=A.CNC;",
                           "cmdAddLine",
                           "txtAddLine=#161=B.CNC;",
                           "cmdAddLine",
                           "txtSetLineNumber=2",
                           "txtSetLine=#161=C.CNC;",
                           "cmdSetLine",
                           "txtGetLineNumber=1",
                           "cmdGetLine",
                           "cmdRows"}
            << QStringList{"#161=A.CNC;", "#161=C.CNC;"}
            << QStringList{"txtGetLine=#161=A.CNC;", "txtRows=2"} << QStringList{};
        QTest::newRow("del line") << QStringList{"cmdAppInit",
                                                 "cmdNewList",
                                                 "txtAddLine=#161=A.CNC;",
                                                 "cmdAddLine",
                                                 "txtAddLine=#161=B.CNC;",
                                                 "cmdAddLine",
                                                 "txtDelLineNumber=1",
                                                 "cmdDelLine"}
                                  << QStringList{"#161=B.CNC;"} << QStringList{} << QStringList{};
        QTest::newRow("line number that is no number")
            << QStringList{"cmdAppInit",
                           "cmdNewList",
                           "txtAddLine=#161=A.CNC;",
                           "cmdAddLine",
                           "txtDelLineNumber=first",
                           "cmdDelLine"}
            << QStringList{"#161=A.CNC;"} << QStringList{}
            << QStringList{"Unexpected error # 13 occured: Type mismatch"};
        QTest::newRow("clear list") << QStringList{"cmdAppInit",
                                                   "cmdNewList",
                                                   "txtAddLine=#161=A.CNC;",
                                                   "cmdAddLine",
                                                   "cmdClearList",
                                                   "cmdRows"}
                                    << QStringList{} << QStringList{"txtRows=0"} << QStringList{};
        QTest::newRow("not in run")
            << QStringList{"cmdAppInit", "cmdListOpened", "cmdNewList", "cmdListInRun", "cmdExeRow"}
            << QStringList{} << QStringList{"txtListOpened=0", "txtListInRun=False", "txtExeRow=0"}
            << QStringList{};
        QTest::newRow("in run") << QStringList{"cmdAppInit",
                                               "cmdNewList",
                                               "txtAddLine=#161=A.CNC;",
                                               "cmdAddLine",
                                               "cmdStartList",
                                               "cmdListInRun",
                                               "cmdExeRow",
                                               "cmdNumRep",
                                               "cmdListOpened"}
                                << QStringList{"#161=A.CNC;"}
                                << QStringList{"txtListInRun=True",
                                               "txtExeRow=1",
                                               "txtRepetition=1",
                                               "txtListOpened=1"}
                                << QStringList{};
        QTest::newRow("plain answers")
            << QStringList{"cmdAppInit", "cmdAppConnected", "cmdAppAccessLevel"} << QStringList{}
            << QStringList{} << QStringList{"True", "1"};
        QTest::newRow("quit drops both references")
            << QStringList{"cmdAppInit", "cmdNewList", "cmdAppQuit", "cmdRows", "cmdStartList"}
            << QStringList{} << QStringList{"txtRows="} << QStringList{notSet, notSet};
        QTest::newRow("list close drops the list only")
            << QStringList{"cmdAppInit", "cmdNewList", "cmdListClose", "cmdRows", "cmdListOpened"}
            << QStringList{} << QStringList{"txtListOpened=0"} << QStringList{notSet};
    }

    void buttons()
    {
        QFETCH(QStringList, script);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, messages);

        ScriptedPrompter prompter;
        testconsole::TestConsoleWindow console(*m_provider, *m_product, prompter);
        console.show();
        for (const QString &step : script) {
            const qsizetype equals = step.indexOf(QLatin1Char('='));
            if (equals > 0)
                child<QLineEdit>(console, step.left(equals))->setText(step.mid(equals + 1));
            else
                QTest::mouseClick(child<QAbstractButton>(console, step), Qt::LeftButton);
        }

        QCOMPARE(m_store->rows(), rows);
        for (const QString &box : boxes) {
            const qsizetype equals = box.indexOf(QLatin1Char('='));
            QCOMPARE(child<QLineEdit>(console, box.left(equals))->text(), box.mid(equals + 1));
        }
        QCOMPARE(prompter.texts(), messages);
        QVERIFY(console.isVisible());
    }

    // Column Info adds the columns to what the box already holds.
    void columnInfoAccumulates()
    {
        ScriptedPrompter prompter;
        testconsole::TestConsoleWindow console(*m_provider, *m_product, prompter);
        auto *info = child<QListWidget>(console, QStringLiteral("lstListInfo"));
        QTest::mouseClick(child<QAbstractButton>(console, QStringLiteral("cmdAppInit")),
                          Qt::LeftButton);
        QTest::mouseClick(child<QAbstractButton>(console, QStringLiteral("cmdNewList")),
                          Qt::LeftButton);
        QTest::mouseClick(child<QAbstractButton>(console, QStringLiteral("cmdCols")),
                          Qt::LeftButton);
        const int columns = child<QLineEdit>(console, QStringLiteral("txtColumns"))->text().toInt();
        QVERIFY(columns > 0);

        QTest::mouseClick(child<QAbstractButton>(console, QStringLiteral("cmdColInfo")),
                          Qt::LeftButton);
        QCOMPARE(info->count(), columns);
        const QString first = info->item(0)->text();
        QTest::mouseClick(child<QAbstractButton>(console, QStringLiteral("cmdColInfo")),
                          Qt::LeftButton);
        QCOMPARE(info->count(), 2 * columns);
        QCOMPARE(info->item(columns)->text(), first);
    }

    // Open List and Append List read the list files named in their boxes, which the "..."
    // buttons fill from a file dialog that starts in the product's list folder.
    void listFiles()
    {
        const QString listFile = m_settings.gcodePath + QStringLiteral("lsx/Two.lst");
        QFile file(listFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#161=X.CNC;\r\n#161=Y.CNC;\r\n");
        file.close();

        ScriptedPrompter prompter;
        testconsole::TestConsoleWindow console(*m_provider, *m_product, prompter);
        QStringList folders;
        QString answer = listFile;
        console.chooseListFile = [&](const QString &folder) {
            folders << folder;
            return answer;
        };
        auto click = [&](const char *name) {
            QTest::mouseClick(child<QAbstractButton>(console, QLatin1String(name)), Qt::LeftButton);
        };

        click("cmdListBrowse");
        click("cmdListAppendBrowse");
        const QString lsx = m_settings.gcodePath + QStringLiteral("lsx");
        QCOMPARE(folders, (QStringList{lsx, lsx}));
        QCOMPARE(child<QLineEdit>(console, QStringLiteral("txtAppLstName"))->text(),
                 QDir::toNativeSeparators(listFile));
        QCOMPARE(child<QLineEdit>(console, QStringLiteral("txtListName"))->text(),
                 QDir::toNativeSeparators(listFile));

        click("cmdAppInit");
        click("cmdAppOpenLst");
        click("cmdAppendList");
        QCOMPARE(m_store->rows(),
                 (QStringList{"#161=X.CNC;", "#161=Y.CNC;", "#161=X.CNC;", "#161=Y.CNC;"}));

        // A cancelled dialog leaves the box as it was.
        answer.clear();
        click("cmdListBrowse");
        QCOMPARE(child<QLineEdit>(console, QStringLiteral("txtAppLstName"))->text(),
                 QDir::toNativeSeparators(listFile));
        QVERIFY(prompter.shown.isEmpty());
    }

    void closingDropsTheReferences()
    {
        ScriptedPrompter prompter;
        testconsole::TestConsoleWindow console(*m_provider, *m_product, prompter);
        console.show();
        QTest::mouseClick(child<QAbstractButton>(console, QStringLiteral("cmdAppInit")),
                          Qt::LeftButton);
        QTest::mouseClick(child<QAbstractButton>(console, QStringLiteral("cmdNewList")),
                          Qt::LeftButton);
        QVERIFY(console.session().hasList());
        console.close();
        QVERIFY(!console.session().hasList());
        QVERIFY(!console.session().hasApplication());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    app::Settings m_settings;
    std::shared_ptr<listmanager::ListStore> m_store;
    std::unique_ptr<listmanager::EmbeddedListManagerProvider> m_provider;
    std::unique_ptr<app::ProductEnvironment> m_product;
};

QTEST_MAIN(tst_TestConsoleWindow)
#include "tst_testconsolewindow.moc"
