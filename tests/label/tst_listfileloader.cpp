// Loading a saved list file through the embedded list manager on a list label.
#include "app/Error.h"
#include "app/Settings.h"
#include "label/ListFileLoader.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListManagerLink.h"
#include "program/listmanager/ListStore.h"

#include "Fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;

class TestListFileLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void load_data();
    void load();
};

void TestListFileLoader::load_data()
{
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QString>("fileOnDisk"); // in the list folder; empty for none
    QTest::addColumn<int>("openListError");  // planned failure of OpenList; 0 for none
    QTest::addColumn<bool>("withApplication");
    QTest::addColumn<QStringList>("rows"); // the list afterwards
    QTest::addColumn<QString>("prompt");   // "<lists>" stands for the list folder
    QTest::addColumn<QString>("status");

    const QStringList before{"#161=OLD.CNC;"};
    const QStringList loaded{"#161=A.CNC;", "#161=B.CNC;"};
    const int automation = int(listmanager::FaultInjector::automationError().number());

    QTest::newRow("loaded") << "PANEL1"
                            << "PANEL1.LST" << 0 << true << loaded << ""
                            << "busy";
    QTest::newRow("lower case on disk") << "PANEL1"
                                        << "panel1.lst" << 0 << true << loaded << ""
                                        << "busy";
    QTest::newRow("subfolder") << "sub\\P"
                               << "sub/P.LST" << 0 << true << loaded << ""
                               << "busy";
    QTest::newRow("not found") << "PANEL2"
                               << "PANEL1.LST" << 0 << true << before
                               << "List File <lists>PANEL2.LST Not Found"
                               << "Ready.";
    QTest::newRow("empty name") << ""
                                << "" << 0 << true << before << "List File <lists>.LST Not Found"
                                << "Ready.";
    QTest::newRow("suffix doubled")
        << "A.LST"
        << "A.LST" << 0 << true << before << "List File <lists>A.LST.LST Not Found"
        << "Ready.";
    QTest::newRow("list manager says not found")
        << "PANEL1"
        << "PANEL1.LST" << 53 << true << before << "List File <lists>PANEL1.LST Not Found"
        << "Ready.";
    QTest::newRow("other failure is silent") << "PANEL1"
                                             << "PANEL1.LST" << automation << true << before << ""
                                             << "Ready.";
    QTest::newRow("no list manager") << "PANEL1"
                                     << "PANEL1.LST" << 0 << false << before << ""
                                     << "Ready.";
    QTest::newRow("outside the folder") << "../PANEL1"
                                        << "PANEL1.LST" << 0 << true << before << ""
                                        << "Name refused: ../PANEL1 reaches outside its folder.";
}

void TestListFileLoader::load()
{
    QFETCH(QString, listName);
    QFETCH(QString, fileOnDisk);
    QFETCH(int, openListError);
    QFETCH(bool, withApplication);
    QFETCH(QStringList, rows);
    QFETCH(QString, prompt);
    QFETCH(QString, status);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString lists = dir.filePath(QStringLiteral("lists/"));
    QVERIFY(QDir().mkpath(lists + "sub"));
    if (!fileOnDisk.isEmpty()) {
        QFile f(lists + fileOnDisk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#161=A.CNC;\r\n#161=B.CNC;\r\n");
    }
    // A file of the same name just outside the list folder must not be reached.
    QFile outside(dir.filePath(QStringLiteral("PANEL1.LST")));
    QVERIFY(outside.open(QIODevice::WriteOnly));
    outside.write("#161=OUT.CNC;\r\n");
    outside.close();

    auto store = std::make_shared<listmanager::ListStore>(dir.filePath(QStringLiteral("store")));
    store->addRow(QStringLiteral("#161=OLD.CNC;"));
    listmanager::EmbeddedListManagerProvider provider(store);
    listmanager::ListManagerLink link;
    if (withApplication)
        link.setApplication(provider.createApplication());
    if (openListError)
        store->failures().failNext(
            QStringLiteral("OpenList"), 1, Error(openListError, QStringLiteral("planned")));

    app::Settings settings;
    settings.listPath = lists;
    testing::FakeDisplay display;
    display.setStatus(QStringLiteral("busy"));
    display.segments.fill(true);
    testing::InstantPacer pacer;
    testing::ScriptedPrompter prompter;

    label::ListFileLoader loader(settings, link, display, pacer, prompter);
    QCOMPARE(loader.loadListFile(listName), false);

    QCOMPARE(store->rows(), rows);
    QCOMPARE(display.status(), status);
    const bool failed = status != QLatin1String("busy");
    QCOMPARE(pacer.pauses, failed ? QList<float>{0.6f} : QList<float>{});
    QCOMPARE(display.segments[0], !failed);
    QCOMPARE(display.segments[4], !failed);
    if (prompt.isEmpty()) {
        QVERIFY(prompter.shown.isEmpty());
    } else {
        QCOMPARE(prompter.texts(), QStringList{prompt.replace("<lists>", lists)});
        QCOMPARE(prompter.shown.first().icon, app::Prompter::Icon::Warning);
        QCOMPARE(prompter.shown.first().buttons, app::Prompter::Buttons::Ok);
    }
}

QTEST_GUILESS_MAIN(TestListFileLoader)
#include "tst_listfileloader.moc"
