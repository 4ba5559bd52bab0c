// The embedded list manager: the pure rules (row fields, run states, list file text, columns),
// its store on disk and what a restart finds, Application, ExeList, the late-bound list, the
// provider and the station's link, the table over the list and the window; and the
// "Runlist TEST" console against it, driven by object name: its own references, its typed line
// numbers and its list folder.

#include "Fakes.h"
#include "FaultyListManager.h"
#include "Tables.h"
#include "TestSupport.h"
#include "base/Error.h"
#include "base/ProductEnvironment.h"
#include "base/Settings.h"
#include "embeddedlist/EmbeddedApplication.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/FieldColumns.h"
#include "embeddedlist/ListFile.h"
#include "embeddedlist/ListManagerWindow.h"
#include "embeddedlist/ListStore.h"
#include "embeddedlist/ListTableModel.h"
#include "embeddedlist/RowFields.h"
#include "embeddedlist/RunState.h"
#include "listmanager/ListManagerLink.h"
#include "testconsole/ConsoleSession.h"
#include "testconsole/TestConsoleWindow.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using namespace barlink;
using namespace barlink::embeddedlist;
using namespace barlink::listmanager;
using namespace barlink::testconsole;
using namespace barlink::testing;

class tst_EmbeddedList : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<ListStore> m_store;
    std::unique_ptr<EmbeddedListManagerProvider> m_provider;
    std::shared_ptr<Application> m_app;
    std::shared_ptr<ExeList> m_list;
    std::shared_ptr<LateBoundList> m_lateBound;
    std::unique_ptr<ListTableModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester; // checks every signal the model sends
    base::Settings m_settings;
    std::unique_ptr<base::ProductEnvironment> m_product;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<TestConsoleWindow> m_console;

    [[nodiscard]] QString path(const QString &name) const { return m_dir->filePath(name); }
    [[nodiscard]] std::unique_ptr<ListStore> restart() const
    {
        return std::make_unique<ListStore>(m_dir->path());
    }
    // The list handed out by the Application, with the rows "one" and "two".
    void twoRows()
    {
        m_list = m_app->newList();
        m_lateBound = m_provider->createObject(QStringLiteral("Helicon.ExeList"));
        m_list->addLine(QStringLiteral("one"));
        m_list->addLine(QStringLiteral("two"));
    }
    void tableModel()
    {
        m_model = std::make_unique<ListTableModel>(m_store.get());
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    // The console on the list manager, with a product folder holding its list folder.
    void console()
    {
        m_settings.gcodePath = path("product") + u'/';
        QDir().mkpath(m_settings.gcodePath + QStringLiteral("lsx"));
        m_product = std::make_unique<base::ProductEnvironment>(m_settings);
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_console = std::make_unique<TestConsoleWindow>(*m_provider, *m_product, *m_prompter);
    }
    [[nodiscard]] QString text(const char *box) const
    {
        return child<QLineEdit>(*m_console, box)->text();
    }
    // Runs a script of steps separated by blanks: "name" clicks a button, "name=text" types
    // into a box.
    void run(const QString &script)
    {
        for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
            const qsizetype equals = step.indexOf(u'=');
            if (equals > 0)
                child<QLineEdit>(*m_console, step.left(equals))->setText(step.mid(equals + 1));
            else
                QTest::mouseClick(child<QAbstractButton>(*m_console, step), Qt::LeftButton);
        }
    }
    // The cell of a row under the column headed by the field number.
    [[nodiscard]] QString cell(int row, int field) const
    {
        for (int column = 0; column < m_model->columnCount(); ++column) {
            const QString heading = m_model->headerData(column, Qt::Horizontal).toString();
            if (heading.section(QLatin1Char(' '), 0, 0) == QString::number(field))
                return m_model->index(row, column).data().toString();
        }
        return QStringLiteral("<no column>");
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_shared<ListStore>(m_dir->path());
        m_provider = std::make_unique<EmbeddedListManagerProvider>(m_store);
        m_app = m_provider->createApplication();
    }
    void cleanup()
    {
        m_console.reset();
        m_tester.reset();
        m_model.reset();
    }

    void parseRowFields_data()
    {
        // fields: number=value pairs joined by "|"
        // clang-format off
        columns<QString, QString>({"row", "fields"});
        QTest::newRow("station row")        << "#161=forpunte.CNC;#162=;#171=3;" << "161=forpunte.CNC|162=|171=3";
        QTest::newRow("value with ; and #") << "#161=a;b#c;#162=x;" << "161=a;b#c|162=x";
        QTest::newRow("field start inside value") << "#161=#162=x;" << "161=#162=x";
        QTest::newRow("no closing ;")       << "#161=P;#170=20"  << "161=P|170=20";
        QTest::newRow("text before first field") << "junk;#161=P;" << "161=P";
        QTest::newRow("plain text")         << "PROG.CNC"        << "";
        QTest::newRow("no digits")          << "#abc=1;#161=P;"  << "161=P";
        QTest::newRow("blank value kept")   << "#282= ;"         << "282= ";
        QTest::newRow("too many digits")    << "#1234567890=x;"  << "";
        // clang-format on
    }
    void parseRowFields()
    {
        QStringList parts;
        for (const RowField &field : barlink::embeddedlist::parseRowFields(fetch<QString>("row")))
            parts.append(QString::number(field.number) + u'=' + field.value);
        QTEST(parts.join(u'|'), "fields");
    }

    void nextRunState_data()
    {
        // after: Start, Hold, End
        columns<RunState, QList<RunState>>({"from", "after"});
        const auto [idle, running, held, ended]
            = std::tuple(RunState::Idle, RunState::Running, RunState::Held, RunState::Ended);
        QTest::newRow("idle") << idle << QList{running, idle, idle};
        QTest::newRow("running") << running << QList{running, held, ended};
        QTest::newRow("held") << held << QList{running, held, ended};
        QTest::newRow("ended") << ended << QList{running, ended, ended};
    }
    void nextRunState()
    {
        const RunState from = fetch<RunState>("from");
        QList<RunState> after;
        for (RunCommand command : {RunCommand::Start, RunCommand::Hold, RunCommand::End})
            after.append(barlink::embeddedlist::nextRunState(from, command));
        QTEST(after, "after");
        QCOMPARE(runStateFromName(runStateName(from)), std::optional(from));
    }

    void parseListText_data()
    {
        columns<QByteArray, QStringList>({"bytes", "rows"});
        // clang-format off
        QTest::newRow("lf, no final end")    << QByteArray("a\nb\nc")    << QStringList{"a", "b", "c"};
        QTest::newRow("empty lines skipped") << QByteArray("\r\na\r\n\r\n\nb\r\n\r\n") << QStringList{"a", "b"};
        QTest::newRow("blank line is a row") << QByteArray(" \r\n")      << QStringList{" "};
        QTest::newRow("latin-1")             << QByteArray("caf\xe9\r\n") << QStringList{QStringLiteral(u"café")};
        QTest::newRow("stray CR")            << QByteArray("a\rb\r\n")   << QStringList{"a b"};
        // clang-format on
    }
    void parseListText()
    {
        QTEST(barlink::embeddedlist::parseListText(fetch<QByteArray>("bytes")), "rows");
    }

    void normalizeRow_data()
    {
        columns<QString, QString>({"row", "normalized"});
        QTest::newRow("line breaks") << "a\r\nb\nc"
                                     << "a  b c";
        QTest::newRow("outside latin-1") << QStringLiteral(u"x€y") << "x?y";
        QTest::newRow("overlong") << QString(maxRowLength + 5, u'x') << QString(maxRowLength, u'x');
    }
    void normalizeRow()
    {
        QTEST(barlink::embeddedlist::normalizeRow(fetch<QString>("row")), "normalized");
    }

    // Columns beyond the standard ones, in the order their fields were met.
    void fieldColumns_data()
    {
        columns<QStringList, QStringList, QList<int>>({"added", "removed", "extras"});
        using L = QStringList;
        // clang-format off
        QTest::newRow("extras in order met")   << L{"#161=P;#900=1;#300=2;", "#300=3;#400=4;#900=5;"} << L{} << QList<int>{900, 300, 400};
        QTest::newRow("repeat counts once")    << L{"#300=1;#300=2;", "#300=3;"} << L{"#300=1;#300=2;"} << QList<int>{300};
        QTest::newRow("goes with its last row") << L{"#300=1;#400=1;", "#300=2;"} << L{"#300=1;#400=1;", "#300=2;"} << QList<int>{};
        QTest::newRow("stays while another row has it") << L{"#300=1;#400=1;", "#400=2;"} << L{"#300=1;#400=1;"} << QList<int>{400};
        // clang-format on
    }
    void fieldColumns()
    {
        FieldColumns columns;
        for (const QString &row : fetch<QStringList>("added"))
            columns.addRow(row);
        for (const QString &row : fetch<QStringList>("removed"))
            columns.removeRow(row);
        QCOMPARE(columns.numbers(), standardFieldNumbers() + fetch<QList<int>>("extras"));
    }

    void restartKeepsListAndRunState()
    {
        QVERIFY(!restart()->hasList());
        m_store->addRow(QStringLiteral(u"#161=é;"));
        m_store->addRow(QString());
        m_store->runCommand(RunCommand::Start);
        m_store->runCommand(RunCommand::Hold);
        m_store->addSetpoint();
        m_store->addSetpoint();
        const auto store = restart();
        QVERIFY(store->hasList() && store->listOpen());
        QCOMPARE(store->rows(), (QStringList{QStringLiteral(u"#161=é;"), ""}));
        QCOMPARE(store->runState(), RunState::Held);
        QCOMPARE(store->setpoints(), 2);
        // An unknown run state reads as idle.
        QVERIFY(writeBytes(path("listmanager.json"), R"({"state": "flying", "setpoints": 4})"));
        QCOMPARE(restart()->runState(), RunState::Idle);
        QCOMPARE(restart()->setpoints(), 4);
    }

    // An added row is appended: the file grows by that one line and nothing else changes.
    void addLineAppendsOneLine()
    {
        QStringList expected;
        for (int i = 0; i < 1000; ++i) {
            const QByteArray before = readBytes(path("current.lst"));
            expected.append(QStringLiteral(u"#161=P%1ñ;#168=%2;").arg(i).arg(i % 7));
            m_store->addRow(expected.last());
            QCOMPARE(readBytes(path("current.lst")), before + expected.last().toLatin1() + "\r\n");
        }
        QCOMPARE(restart()->rows(), expected);
    }

    // The table follows every change: its columns, rows and cells.
    void rewritesReplaceTheFile_data()
    {
        columns<QString, QStringList, int>({"change", "rows", "columns"});
        using L = QStringList;
        // clang-format off
        QTest::newRow("clear") << "clear" << L{} << 18;
        QTest::newRow("remove drops extra column") << "remove" << L{"#161=A;", "#161=C;"} << 18;
        QTest::newRow("set keeps extra column") << "set" << L{"#161=A;", "#161=Z;#900=y;", "#161=C;"} << 19;
        QTest::newRow("set drops extra column") << "set plain" << L{"#161=A;", "#161=Z;", "#161=C;"} << 18;
        QTest::newRow("open") << "open" << L{"x", "y"} << 18;
        QTest::newRow("append") << "append" << L{"#161=A;", "#161=B;#900=x;", "#161=C;", "x", "y"} << 19;
        // clang-format on
    }
    void rewritesReplaceTheFile()
    {
        const QString &change = fetch<QString>("change");
        const QStringList &rows = fetch<QStringList>("rows");
        QVERIFY(writeBytes(path("other.lst"), "x\r\n\r\ny\n"));
        tableModel();
        for (const char *row : {"#161=A;", "#161=B;#900=x;", "#161=C;"})
            m_store->addRow(QString::fromLatin1(row));
        QCOMPARE(cell(1, 161), QStringLiteral("B")); // fills the cache before the change
        if (change == u"clear")
            m_store->clear();
        else if (change == u"remove")
            m_store->removeRow(1);
        else if (change.startsWith(u"set"))
            m_store->setRow(1, rows.at(1));
        else if (change == u"open")
            m_store->openListFile(path("other.lst"));
        else
            m_store->appendListFile(path("other.lst"));

        QCOMPARE(m_store->rows(), rows);
        QCOMPARE(readBytes(path("current.lst")), encodeRows(rows));
        QTEST(m_model->columnCount(), "columns");
        QCOMPARE(m_model->rowCount(), int(rows.size()));
        if (rows.size() > 1)
            QCOMPARE(cell(1, 161), rows.at(1).mid(5).section(u';', 0, 0));
        m_store->addRow(QStringLiteral("after")); // appends to the new file, not the replaced one
        QCOMPARE(restart()->rows(), rows + QStringList{"after"});
    }

    void tornLastRowIsDroppedAndRepaired()
    {
        QVERIFY(writeBytes(path("current.lst"), "a\r\nb\r\n#161=PR"));
        const auto store = restart();
        QCOMPARE(store->rows(), (QStringList{"a", "b"}));
        QCOMPARE(readBytes(path("current.lst")), QByteArray("a\r\nb\r\n"));
        store->addRow(QStringLiteral("c"));
        QCOMPARE(restart()->rows(), (QStringList{"a", "b", "c"}));
    }

    void unwritableFolderChangesNothing()
    {
        QVERIFY(writeBytes(path("blocked"), "x")); // a file where the folder should be
        ListStore store(path("blocked"));
        QSignalSpy appended(&store, &ListStore::rowsAppended);
        QVERIFY(errorNumber([&] { store.addRow(QStringLiteral("a")); }) != 0);
        QVERIFY(errorNumber([&] { store.runCommand(RunCommand::Start); }) != 0);
        QVERIFY(errorNumber([&] { store.addSetpoint(); }) != 0);
        QCOMPARE(store.rowCount(), 0);
        QCOMPARE(store.runState(), RunState::Idle);
        QCOMPARE(store.setpoints(), 0);
        QCOMPARE(appended.count(), 0);
    }

    // Steps on the list "one", "two" through the list, the late-bound list, the Application
    // and the station's link; then what they report: the rows, in run, the row run, lists
    // handed out, visible (list, application), window state, quit, each step that threw with
    // its error number, and the last error's description.
    void members_data()
    {
        columns<QString, QString>({"steps", "state"});
        // clang-format off
        QTest::newRow("line members") << "add:three set:2:TWO del:1" << "TWO,three run=0 exe=0 opened=1 visible=11 window=0 quit=0";
        QTest::newRow("start, stop, end") << "start" << "one,two run=1 exe=1 opened=1 visible=11 window=0 quit=0";
        QTest::newRow("stop keeps the row") << "start stop" << "one,two run=0 exe=1 opened=1 visible=11 window=0 quit=0";
        QTest::newRow("end") << "start stop end" << "one,two run=0 exe=0 opened=1 visible=11 window=0 quit=0";
        QTest::newRow("window states") << "maximize window:3" << "one,two run=0 exe=0 opened=1 visible=11 window=2 quit=0 window:3!5 | Invalid procedure call or argument";
        QTest::newRow("late-bound list is the same list") << "hide lateShow lateClear" << " run=0 exe=0 opened=1 visible=11 window=0 quit=0";
        QTest::newRow("close counts, new list keeps rows") << "close:0 close:1 new" << "one,two run=0 exe=0 opened=1 visible=11 window=0 quit=0 close:0=1 close:1=0";
        QTest::newRow("quit hides") << "quit" << "one,two run=0 exe=0 opened=1 visible=10 window=0 quit=1";
        QTest::newRow("other object") << "other" << "one,two run=0 exe=0 opened=1 visible=11 window=0 quit=0 other!429 | ActiveX component can't create object";
        QTest::newRow("line 0") << "get:0 set:0:x del:0" << "one,two run=0 exe=0 opened=1 visible=11 window=0 quit=0 get:0!9 set:0:x!9 del:0!9 | Subscript out of range";
        QTest::newRow("line past the end") << "get:3 set:3:x del:3 get:2" << "one,two run=0 exe=0 opened=1 visible=11 window=0 quit=0 get:3!9 set:3:x!9 del:3!9 two | Subscript out of range";
        QTest::newRow("missing list file") << "open:NOPE.LST append:NOPE.LST" << "one,two run=0 exe=0 opened=1 visible=11 window=0 quit=0 open:NOPE.LST!53 append:NOPE.LST!53 | File not found";
        QTest::newRow("station clears the list it holds") << "clearHost" << " run=0 exe=0 opened=1 visible=11 window=0 quit=0";
        QTest::newRow("no list held, empty command line") << "drop clearHost" << "one,two run=0 exe=0 opened=1 visible=11 window=0 quit=0 clearHost!91 | Object variable or With block variable not set";
        QTest::newRow("no list held, command line text") << "commandLine drop clearHost" << "one,two run=0 exe=0 opened=1 visible=11 window=0 quit=0";
        QTest::newRow("released link") << "release start setpoint" << "one,two run=0 exe=0 opened=1 visible=11 window=0 quit=0 start!91 setpoint!91 | Object variable or With block variable not set";
        // clang-format on
    }
    void members()
    {
        twoRows();
        ListManagerLink link;
        link.setApplication(m_app);
        link.setCurrentList(m_list);
        QString said; // what the steps told
        QString description;
        // clang-format off
        const QHash<QString, std::function<void(const QStringList &)>> steps{
            {"add", [&](const QStringList &a) { m_list->addLine(a[1]); }},
            {"set", [&](const QStringList &a) { m_list->setLine(a[1].toInt(), a[2]); }},
            {"del", [&](const QStringList &a) { m_list->delLine(a[1].toInt()); }},
            {"get", [&](const QStringList &a) { said += ' ' + m_list->getLine(a[1].toInt()); }},
            {"open", [&](const QStringList &a) { (void)m_app->openList(path(a[1])); }},
            {"append", [&](const QStringList &a) { m_list->appendList(path(a[1])); }},
            {"commandLine", [&](const QStringList &) { link.setCommandLineEmpty(false); }},
            {"drop", [&](const QStringList &) { link.setCurrentList(nullptr); }},
            {"clearHost", [&](const QStringList &) { link.clearHostList(); }},
            {"start", [&](const QStringList &) { link.hostListStart(); }},
            {"stop", [&](const QStringList &) { link.hostListStop(); }},
            {"end", [&](const QStringList &) { link.hostListEnd(); }},
            {"setpoint", [&](const QStringList &) { link.setpoint(); }},
            {"release", [&](const QStringList &) { link.release(); }},
            {"maximize", [&](const QStringList &) { m_app->setWindowState(listmanager::WindowState::Maximized); }},
            {"window", [&](const QStringList &a) { m_app->setWindowState(listmanager::WindowState(a[1].toInt())); }},
            {"hide", [&](const QStringList &) { m_list->setVisible(false); }},
            {"lateShow", [&](const QStringList &) { m_lateBound->setVisible(true); }},
            {"lateClear", [&](const QStringList &) { m_provider->createObject(QStringLiteral("helicon.exelist"))->clear(); }},
            {"other", [&](const QStringList &) { (void)m_provider->createObject(QStringLiteral("Helicon.Other")); }},
            {"close", [&](const QStringList &a) { m_list->listClose(a[1] == u"1"); said += QStringLiteral(" %1=%2").arg(a.join(u':')).arg(m_app->listOpened()); }},
            {"new", [&](const QStringList &) { m_list = m_app->newList(); }},
            {"quit", [&](const QStringList &) { m_app->quit(true); }}};
        // clang-format on
        for (const QString &step : fetch<QString>("steps").split(u' ')) {
            const QStringList args = step.split(u':');
            if (const int e = errorNumber([&] { steps.value(args[0])(args); }, &description))
                said += QStringLiteral(" %1!%2").arg(step).arg(e);
        }
        QStringList rows;
        for (qint32 line = 1; line <= m_list->rows(); ++line)
            rows << m_list->getLine(line);
        QCOMPARE(QStringLiteral("%1 run=%2 exe=%3 opened=%4 visible=%5%6 window=%7 quit=%8")
                         .arg(rows.join(u','))
                         .arg(m_list->listInRun())
                         .arg(m_list->exeRow())
                         .arg(m_app->listOpened())
                         .arg(m_list->visible())
                         .arg(m_app->visible())
                         .arg(int(m_store->windowState()))
                         .arg(m_store->quitRequested())
                     + said + (description.isEmpty() ? QString() : " | " + description),
                 fetch<QString>("state"));
    }

    // Added rows are inserted one by one, without a reset; an unknown field adds a column.
    void tableInsertsRows()
    {
        tableModel();
        m_store->addRow(QStringLiteral("#161=forpunte.CNC;#162=;#171=3;#282= ;#279=;"));
        QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
        QSignalSpy columns(m_model.get(), &QAbstractItemModel::columnsInserted);
        QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
        m_store->addRow(QStringLiteral("#161=B;"));
        m_store->addRow(QStringLiteral("#161=C;#900=x;"));
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(inserted.at(0).at(1).toInt(), 1);
        QCOMPARE(inserted.at(1).at(2).toInt(), 2);
        QCOMPARE(columns.count(), 1);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(cell(0, 161), QStringLiteral("forpunte.CNC"));
        QCOMPARE(cell(1, 168), QString());
        QCOMPARE(cell(2, 900), QStringLiteral("x"));
        QCOMPARE(m_model->index(1, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("#161=B;"));
        QCOMPARE(m_model->headerData(18, Qt::Horizontal).toString(), QStringLiteral("900"));
    }

    // The window shows rows and run state and follows the switches set through the Application.
    void window()
    {
        ListManagerWindow window(m_store.get());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto label = [&](const char *name) { return child<QLabel>(window, name)->text(); };
        const auto list = m_app->newList();
        list->addLine(QStringLiteral("#161=forpunte.CNC;#162=;#164=1;"));
        list->addLine(QStringLiteral("#161=second.CNC;"));
        m_app->startList();
        m_app->setpoint();
        const auto *table = child<QTableView>(window, "tblList");
        QCOMPARE(table->model()->index(1, 0).data().toString(), QStringLiteral("second.CNC"));
        QCOMPARE(label("lblRunState"), QStringLiteral("Running"));
        QCOMPARE(label("lblSetpoints"), QStringLiteral("Setpoints: 1"));
        QCOMPARE(label("lblRows"), QStringLiteral("Rows: 2"));
        // At three times the text size a row is still as high as its text.
        QFont large = window.font();
        large.setPointSizeF(large.pointSizeF() * 3);
        window.setFont(large);
        QVERIFY(table->rowHeight(0) > table->fontMetrics().height());
        m_app->holdList();
        list->clearList();
        QCOMPARE(label("lblRunState"), QStringLiteral("Held"));
        QCOMPARE(label("lblRows"), QStringLiteral("Rows: 0"));

        m_app->setVisible(false);
        QVERIFY(!window.isVisible());
        m_app->setVisible(true);
        QVERIFY(window.isVisible());
        // Shown again while another window has the front, it comes forward.
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        m_app->setVisible(true);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(&window));
        m_app->setWindowState(listmanager::WindowState::Maximized);
        QVERIFY(window.windowState().testFlag(Qt::WindowMaximized));
        m_app->enableOpenList(false);
        QVERIFY(!child<QAction>(window, "actOpenList")->isEnabled());

        const auto *pages = window.findChild<QStackedWidget *>();
        m_app->newList()->setVisible(false);
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("lblListHidden"));
        window.close();
        QVERIFY(!m_app->visible());
        m_app->newList()->viewWorks();
        QVERIFY(window.isVisible() && m_app->visible());
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("tblList"));
    }

    // Placed for a station, the window lies on the screen (800x600 here) off the part of the
    // station kept clear, beside the station where there is room, its usual size grown with
    // the station's text.
    void placedBeside_data()
    {
        columns<QRect, QRect, double, QSize>({"station", "keptClear", "scale", "size"});
        QTest::newRow("right of a narrow station, at half size")
            << QRect(0, 0, 200, 500) << QRect(0, 0, 200, 150) << 0.5 << QSize(450, 260);
        QTest::newRow("under the result of a station over the screen")
            << QRect(0, 0, 800, 600) << QRect(0, 0, 800, 400) << 1.0 << QSize();
    }
    void placedBeside()
    {
        ListManagerWindow window(m_store.get());
        const QRect &station = fetch<QRect>("station");
        window.placeBeside(station, fetch<QRect>("keptClear"), fetch<double>("scale"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect frame = window.frameGeometry();
        QCOMPARE(frame.intersected(window.screen()->availableGeometry()), frame);
        QVERIFY(!frame.intersects(fetch<QRect>("keptClear")));
        if (const QSize &size = fetch<QSize>("size"); size.isValid()) {
            QVERIFY(!frame.intersects(station));
            QCOMPARE(window.size(), size);
        }
    }

    void lineNumber_data()
    {
        columns<QString, int, int>({"typed", "line", "error"});
        const auto row = [](const char *name, const char *typed, int line, int error) {
            QTest::newRow(name) << QString::fromLatin1(typed) << line << error;
        };
        // clang-format off
        row("blanks around", " 7 ", 7, 0);             row("half to even down", "2.5", 2, 0);
        row("half to even up", "3.5", 4, 0);           row("largest", "2147483647", 2147483647, 0);
        row("beyond 32 bits", "2147483648", 0, 6);
        row("words", "abc", 0, 13);                    row("number then words", "12abc", 0, 13);
        // clang-format on
    }
    void lineNumber()
    {
        qint32 got = 0;
        QTEST(errorNumber([&] { got = lineNumberOf(fetch<QString>("typed")); }), "error");
        QTEST(int(got), "line");
    }

    // Quit and ListClose reach the list manager before the references go; a failing Quit
    // keeps both references, as the error comes before they are dropped.
    void references()
    {
        ListManagerFaults faults;
        FaultyProvider provider(*m_provider, faults);
        ConsoleSession session(provider);
        session.appInit();
        QVERIFY(session.hasApplication() && !session.hasList());
        session.newList();
        QVERIFY(session.hasList() && m_store->listOpen());

        faults.failNext(QStringLiteral("Quit"), 1);
        QCOMPARE(errorNumber([&] { session.quit(); }), int(base::Error::AutomationError));
        QVERIFY(session.hasApplication() && session.hasList());

        session.listClose();
        QVERIFY(!session.hasList() && !m_store->listOpen() && session.hasApplication());
        session.quit();
        QVERIFY(m_store->quitRequested() && !session.hasApplication());
    }

    // Open List and Append List read the list files named in their boxes, which the "..."
    // buttons fill from a file dialog that starts in the product's list folder.
    void listFiles()
    {
        console();
        const QString lsx = m_settings.gcodePath + QStringLiteral("lsx");
        const QString listFile = lsx + QStringLiteral("/Two.lst");
        QVERIFY(writeBytes(listFile, "#161=X.CNC;\r\n#161=Y.CNC;\r\n"));
        QStringList folders;
        m_console->chooseListFile = [&](const QString &folder) {
            folders << folder;
            return listFile;
        };
        run(QStringLiteral("cmdListBrowse cmdListAppendBrowse"));
        QCOMPARE(folders, (QStringList{lsx, lsx}));
        QCOMPARE(text("txtAppLstName"), QDir::toNativeSeparators(listFile));
        QCOMPARE(text("txtListName"), QDir::toNativeSeparators(listFile));

        run(QStringLiteral("cmdAppInit cmdAppOpenLst cmdAppendList"));
        QCOMPARE(m_store->rows(),
                 (QStringList{"#161=X.CNC;", "#161=Y.CNC;", "#161=X.CNC;", "#161=Y.CNC;"}));

        QVERIFY(m_prompter->shown.isEmpty());
        // Closing the console drops its references.
        m_console->show();
        QVERIFY(m_console->session().hasList());
        m_console->close();
        QVERIFY(!m_console->session().hasList() && !m_console->session().hasApplication());
    }
};

QTEST_MAIN(tst_EmbeddedList)
#include "tst_embeddedlist.moc"
