// The "Runlist TEST" console against the embedded list manager, driven by object name.

#include "Fakes.h"
#include "TestSupport.h"
#include "base/ProductEnvironment.h"
#include "base/Settings.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"
#include "testconsole/TestConsoleWindow.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

// Runs a script of steps separated by blanks: "name" clicks a button, "name=text" types
// into a box.
void run(QWidget &console, const QString &script)
{
    for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = step.indexOf(u'=');
        if (equals > 0)
            child<QLineEdit>(console, step.left(equals))->setText(step.mid(equals + 1));
        else
            QTest::mouseClick(child<QAbstractButton>(console, step), Qt::LeftButton);
    }
}

} // namespace

class tst_TestConsoleWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings = {};
        m_settings.gcodePath = m_dir->filePath(QStringLiteral("product")) + u'/';
        QVERIFY(QDir().mkpath(m_settings.gcodePath + QStringLiteral("lsx")));
        m_store
            = std::make_shared<embeddedlist::ListStore>(m_dir->filePath(QStringLiteral("data")));
        m_provider = std::make_unique<embeddedlist::EmbeddedListManagerProvider>(m_store);
        m_product = std::make_unique<base::ProductEnvironment>(m_settings);
    }

    // Column Info adds the columns to what the box already holds.
    void columnInfoAccumulates()
    {
        ScriptedPrompter prompter;
        testconsole::TestConsoleWindow console(*m_provider, *m_product, prompter);
        auto *info = child<QListWidget>(console, "lstListInfo");
        run(console, QStringLiteral("cmdAppInit cmdNewList cmdCols cmdColInfo"));
        const int columns = child<QLineEdit>(console, "txtColumns")->text().toInt();
        QVERIFY(columns > 0);
        QCOMPARE(info->count(), columns);
        const QString first = info->item(0)->text();
        run(console, QStringLiteral("cmdColInfo"));
        QCOMPARE(info->count(), 2 * columns);
        QCOMPARE(info->item(columns)->text(), first);
    }

    // Open List and Append List read the list files named in their boxes, which the "..."
    // buttons fill from a file dialog that starts in the product's list folder.
    void listFiles()
    {
        const QString listFile = m_settings.gcodePath + QStringLiteral("lsx/Two.lst");
        QVERIFY(writeBytes(listFile, "#161=X.CNC;\r\n#161=Y.CNC;\r\n"));
        ScriptedPrompter prompter;
        testconsole::TestConsoleWindow console(*m_provider, *m_product, prompter);
        QStringList folders;
        QString answer = listFile;
        console.chooseListFile = [&](const QString &folder) {
            folders << folder;
            return answer;
        };
        run(console, QStringLiteral("cmdListBrowse cmdListAppendBrowse"));
        const QString lsx = m_settings.gcodePath + QStringLiteral("lsx");
        QCOMPARE(folders, (QStringList{lsx, lsx}));
        QCOMPARE(child<QLineEdit>(console, "txtAppLstName")->text(),
                 QDir::toNativeSeparators(listFile));
        QCOMPARE(child<QLineEdit>(console, "txtListName")->text(),
                 QDir::toNativeSeparators(listFile));

        run(console, QStringLiteral("cmdAppInit cmdAppOpenLst cmdAppendList"));
        QCOMPARE(m_store->rows(),
                 (QStringList{"#161=X.CNC;", "#161=Y.CNC;", "#161=X.CNC;", "#161=Y.CNC;"}));

        answer.clear(); // a cancelled dialog leaves the box as it was
        run(console, QStringLiteral("cmdListBrowse"));
        QCOMPARE(child<QLineEdit>(console, "txtAppLstName")->text(),
                 QDir::toNativeSeparators(listFile));
        QVERIFY(prompter.shown.isEmpty());
    }

    void closingDropsTheReferences()
    {
        ScriptedPrompter prompter;
        testconsole::TestConsoleWindow console(*m_provider, *m_product, prompter);
        console.show();
        run(console, QStringLiteral("cmdAppInit cmdNewList"));
        QVERIFY(console.session().hasList());
        console.close();
        QVERIFY(!console.session().hasList() && !console.session().hasApplication());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    base::Settings m_settings;
    std::shared_ptr<embeddedlist::ListStore> m_store;
    std::unique_ptr<embeddedlist::EmbeddedListManagerProvider> m_provider;
    std::unique_ptr<base::ProductEnvironment> m_product;
};

QTEST_MAIN(tst_TestConsoleWindow)
#include "tst_testconsolewindow.moc"
