// The list manager window: rows, run state and the switches set through the Application.
#include "TestSupport.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListManagerWindow.h"
#include "embeddedlist/ListStore.h"

#include <QAction>
#include <QLabel>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace barlink::embeddedlist;
using namespace barlink::listmanager;
using barlink::testing::child;

class TestListManagerWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<ListStore> m_store;
    std::shared_ptr<Application> m_app;
    std::unique_ptr<ListManagerWindow> m_window;

    [[nodiscard]] QString label(const char *name) const
    {
        return child<QLabel>(*m_window, name)->text();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_shared<ListStore>(m_dir->path());
        m_app = EmbeddedListManagerProvider(m_store).createApplication();
        m_window = std::make_unique<ListManagerWindow>(m_store.get());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void showsRowsAndState()
    {
        const auto list = m_app->newList();
        list->addLine(QStringLiteral("#161=forpunte.CNC;#162=;#164=1;"));
        list->addLine(QStringLiteral("#161=second.CNC;"));
        m_app->startList();
        m_app->setpoint();
        const auto *table = child<QTableView>(*m_window, "tblList");
        QCOMPARE(table->model()->rowCount(), 2);
        QCOMPARE(table->model()->index(1, 0).data().toString(), QStringLiteral("second.CNC"));
        QCOMPARE(label("lblRunState"), QStringLiteral("Running"));
        QCOMPARE(label("lblSetpoints"), QStringLiteral("Setpoints: 1"));
        QCOMPARE(label("lblRows"), QStringLiteral("Rows: 2"));
        m_app->holdList();
        list->clearList();
        QCOMPARE(label("lblRunState"), QStringLiteral("Held"));
        QCOMPARE(label("lblRows"), QStringLiteral("Rows: 0"));
    }

    void followsApplicationSwitches()
    {
        m_app->setVisible(false);
        QVERIFY(!m_window->isVisible());
        m_app->setVisible(true);
        m_app->showOnTop(true);
        QVERIFY(m_window->isVisible()
                && m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        m_app->setWindowState(Application::Maximized);
        QVERIFY(m_window->windowState().testFlag(Qt::WindowMaximized));
        m_app->setWindowState(Application::Normal);
        QVERIFY(!m_window->windowState().testFlag(Qt::WindowMaximized));

        m_app->enableOpenList(false);
        m_app->enableNewList(false);
        QVERIFY(!child<QAction>(*m_window, "actOpenList")->isEnabled());
        QVERIFY(!child<QAction>(*m_window, "actNewList")->isEnabled());
        QVERIFY(child<QAction>(*m_window, "actSaveList")->isEnabled());

        const auto *pages = m_window->findChild<QStackedWidget *>();
        m_app->newList()->setVisible(false);
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("lblListHidden"));
        m_window->close();
        QVERIFY(!m_app->visible());
        m_app->newList()->viewWorks();
        QVERIFY(m_window->isVisible() && m_app->visible());
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("tblList"));
    }
};

QTEST_MAIN(TestListManagerWindow)
#include "tst_listmanagerwindow.moc"
