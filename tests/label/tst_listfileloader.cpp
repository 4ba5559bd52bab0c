// Loading a saved list file through the embedded list manager on a list label.
#include "DispatcherRig.h"
#include "label/ListFileLoader.h"

#include <QDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

class TestListFileLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The outcome is "loaded", "prompt:" and the warning shown (<lists> is the list folder),
    // or "status:" and the status line of a failure without a message box.
    void load_data()
    {
        QTest::addColumn<QString>("listName");
        QTest::addColumn<QString>("fileOnDisk"); // in the list folder; empty for none
        QTest::addColumn<int>("openListError");  // planned failure of OpenList; -1: no list manager
        QTest::addColumn<QString>("outcome");
        const int automation = testing::ListManagerFaults::automationError().number();
        // clang-format off
        QTest::newRow("loaded")             << "PANEL1" << "PANEL1.LST" << 0 << "loaded";
        QTest::newRow("lower case on disk") << "PANEL1" << "panel1.lst" << 0 << "loaded";
        QTest::newRow("subfolder")          << "sub\\P" << "sub/P.LST"  << 0 << "loaded";
        QTest::newRow("not found")          << "PANEL2" << "PANEL1.LST" << 0 << "prompt:List File <lists>PANEL2.LST Not Found";
        QTest::newRow("suffix doubled")     << "A.LST"  << "A.LST"      << 0 << "prompt:List File <lists>A.LST.LST Not Found";
        QTest::newRow("list manager says not found") << "PANEL1" << "PANEL1.LST" << 53 << "prompt:List File <lists>PANEL1.LST Not Found";
        QTest::newRow("other failure is silent") << "PANEL1" << "PANEL1.LST" << automation << "status:Ready.";
        QTest::newRow("no list manager")    << "PANEL1" << "PANEL1.LST" << -1 << "status:Ready.";
        QTest::newRow("outside the folder") << "../PANEL1" << "PANEL1.LST" << 0 << "status:Name refused: ../PANEL1 reaches outside its folder.";
        // clang-format on
    }
    void load()
    {
        QFETCH(QString, listName);
        QFETCH(QString, fileOnDisk);
        QFETCH(int, openListError);
        QFETCH(QString, outcome);

        DispatcherRig rig;
        const QString lists = rig.settings.listPath;
        QVERIFY(QDir().mkpath(lists + "sub"));
        QVERIFY(writeBytes(lists + fileOnDisk, "#161=A.CNC;\r\n#161=B.CNC;\r\n"));
        // A file of the same name just outside the list folder must not be reached.
        QVERIFY(writeBytes(rig.root + QStringLiteral("/PANEL1.LST"), "#161=OUT.CNC;\r\n"));
        rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
        if (openListError < 0)
            rig.link.release();
        if (openListError > 0)
            rig.faults.failNext(
                QStringLiteral("OpenList"), 1, Error(openListError, QStringLiteral("planned")));
        testing::FakeDisplay &display = rig.display;
        display.setStatus(QStringLiteral("busy"));
        display.segments.fill(true);
        testing::InstantPacer &pacer = rig.pacer;
        testing::ScriptedPrompter &prompter = rig.prompter;

        label::ListFileLoader loader(rig.settings, rig.link, display, pacer, prompter);
        const base::LabelOutcome result = loader.loadListFile(listName);

        const bool loaded = outcome == QLatin1String("loaded");
        using Result = base::LabelOutcome::Result;
        QCOMPARE(result.result,
                 loaded                      ? Result::Taken
                 : listName.startsWith("..") ? Result::Refused
                                             : Result::Failed);
        const QStringList loadedRows{"#161=A.CNC;", "#161=B.CNC;"};
        QCOMPARE(rig.store->rows(), loaded ? loadedRows : QStringList{"#161=OLD.CNC;"});
        // A failure pauses, clears the segment indicators and ends on a status line.
        QCOMPARE(pacer.pauses, loaded ? QList<float>{} : QList<float>{0.6f});
        QCOMPARE(display.segments[0], loaded);
        QCOMPARE(display.segments[4], loaded);
        if (loaded)
            QCOMPARE(display.status(), QStringLiteral("busy"));
        else if (outcome.startsWith(QLatin1String("status:")))
            QCOMPARE(display.status(), outcome.mid(7));
        if (!outcome.startsWith(QLatin1String("prompt:"))) {
            QVERIFY(prompter.shown.isEmpty());
            return;
        }
        QCOMPARE(display.status(), QStringLiteral("Ready."));
        QCOMPARE(prompter.texts(), QStringList{outcome.mid(7).replace("<lists>", lists)});
        QCOMPARE(result.reason, prompter.texts().value(0));
        QCOMPARE(prompter.shown.first().icon, base::Prompter::Icon::Warning);
        QCOMPARE(prompter.shown.first().buttons, base::Prompter::Buttons::Ok);
    }
};

QTEST_GUILESS_MAIN(TestListFileLoader)
#include "tst_listfileloader.moc"
