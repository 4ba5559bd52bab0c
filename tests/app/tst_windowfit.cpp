// The station's windows for keyboard and small screens: each opens within the screen and off
// the result band at large text sizes; Tab goes round every window, out of every control, and
// stops only where the focus is drawn; the accelerators of a menu differ in every language.

#include "Fakes.h"
#include "JournalFile.h"
#include "Tables.h"
#include "TestSupport.h"
#include "app/GuideWindow.h"
#include "app/MainWindow.h"
#include "app/PortControl.h"
#include "app/SettingsDialog.h"
#include "app/TryWindow.h"
#include "base/CurrentItem.h"
#include "base/Settings.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelectionDialog.h"
#include "journal/ui/JournalWindow.h"
#include "ui/Appearance.h"
#include "ui/Language.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace barlink;
using namespace barlink::testing;

namespace {

// The windows the station opens beside its main window, each with what it needs.
struct Windows
{
    QTemporaryDir dir;
    base::Settings settings;
    ScriptedPrompter prompter;
    FakeDisplay display;
    FakeScannerPort scanner;
    app::PortControl control{settings, scanner, display, prompter};
    fieldsel::AutoSelSettingsProvider fields{settings};
    base::CurrentItem item;

    Windows() { settings.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI")); }

    // The window by name, and its usual size as the station opens it (none: its own).
    std::pair<std::unique_ptr<QWidget>, QSize> make(const QString &name)
    {
        using Made = std::pair<std::unique_ptr<QWidget>, QSize>;
        if (name == QLatin1String("Settings"))
            return Made(std::make_unique<app::SettingsDialog>(settings, prompter, control), QSize());
        if (name == QLatin1String("Field selection"))
            return Made(std::make_unique<fieldsel::FieldSelectionDialog>(
                            fields.settings(), settings, item),
                        QSize());
        if (name == QLatin1String("Journal")) {
            // Rows in the table, which a Tab could walk through.
            const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
            JournalFile file(path);
            QSqlQuery query(file.db());
            query.prepare(journal::insertEntrySql(journal::Store::Local));
            for (const char *label : {"%19A.CNC N", "%19B.CNC N"}) {
                const journal::Entry entry{
                    .time = QDateTime::currentDateTimeUtc(), .station = "S1", .label = label};
                if (!journal::insertEntry(query, entry))
                    return {};
            }
            return Made(std::make_unique<journal::JournalWindow>(path, QString()), QSize(1000, 560));
        }
        if (name == QLatin1String("Try"))
            return Made(std::make_unique<app::TryWindow>(dir.path(), dir.path()), QSize(760, 860));
        return Made(std::make_unique<app::GuideWindow>(), QSize(760, 640));
    }
};

const QStringList WindowNames{"Settings", "Field selection", "Journal", "Try", "Guide"};

// The main window as the station shows it on a screen, with a long refusal in its band.
void showMain(app::MainWindow &main, QScreen *screen, double scale)
{
    main.setScreen(screen);
    main.move(screen->availableGeometry().topLeft() + QPoint(24, 24));
    main.setFontScale(scale);
    main.showEntry({.label = "%12PANNELLO-ANTA-SINISTRA.CNC N1 X",
                    .outcome = journal::Outcome::Refused,
                    .reason = base::Reason(base::Reason::Code::ScannedTwice, "0.8")});
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
}

QString named(const QWidget *widget)
{
    return QString::fromLatin1(widget->metaObject()->className()) + u' ' + widget->objectName();
}

} // namespace

class tst_WindowFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ui::setTextScale(1.0); }

    // On 1366x768 at 300% and on 1920x1080 at 200% each window lies within the screen and off
    // the result band (its headline and word), the field selection also when the text grows
    // while it is open.
    void opensWithinTheScreenOffTheResult_data()
    {
        // screen: a point on it
        columns<QPoint, double, double, QString>({"screen", "opened", "scale", "window"});
        const QPoint small(0, 0), large(1366, 0);
        for (const QString &window : WindowNames) {
            QTest::addRow("%s, 1366x768 300%%", qPrintable(window)) << small << 3.0 << 3.0 << window;
            QTest::addRow("%s, 1920x1080 200%%", qPrintable(window)) << large << 2.0 << 2.0 << window;
        }
        QTest::newRow("Field selection, 300% while open") << small << 1.0 << 3.0 << "Field selection";
    }
    void opensWithinTheScreenOffTheResult()
    {
        QScreen *screen = QGuiApplication::screenAt(fetch<QPoint>("screen"));
        const double scale = fetch<double>("scale");
        app::MainWindow main;
        showMain(main, screen, fetch<double>("opened"));
        Windows windows;
        auto [window, size] = windows.make(fetch<QString>("window"));
        QVERIFY(window);
        main.placeOffTheResult(window.get(), size);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        main.setFontScale(scale);
        QCOMPARE(main.screen(), screen);
        const QWidget *band = child<QWidget>(main, "fraResult");
        const auto placed = [&] {
            const QRect tile(band->mapToGlobal(QPoint(0, 0)), band->size());
            return screen->availableGeometry().contains(window->frameGeometry())
                   && !window->frameGeometry().intersects(tile);
        };
        QTRY_VERIFY2(placed(), qPrintable(QDebug::toString(window->frameGeometry())));
        // The text follows the size chosen, and the window grows with it where there is room.
        QCOMPARE(window->font().pointSizeF(), main.font().pointSizeF());
        if (size.isValid())
            QVERIFY(window->frameGeometry().width()
                    >= std::min(size.width() * scale, screen->size().width() - 96.0));
    }

    // Tab goes round each window: out of every control, back to the first, stopping only at
    // controls that draw their focus, and at one option of a group. first: where the focus
    // starts (not checked when empty).
    void tabGoesRound_data()
    {
        columns<QString, QString>({"window", "first"});
        QTest::newRow("main") << "main" << "cmdEdit";
        for (const QString &window : WindowNames)
            QTest::newRow(qPrintable(window)) << window << "";
    }
    void tabGoesRound()
    {
        app::MainWindow main;
        main.bindOptions(*new base::Options(&main));
        Windows windows;
        std::unique_ptr<QWidget> other;
        if (const QString &name = fetch<QString>("window"); name != QLatin1String("main")) {
            other = windows.make(name).first;
            QVERIFY(other);
        }
        QWidget *window = other ? other.get() : &main;
        window->show();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QWidget *first = QApplication::focusWidget();
        QVERIFY(first);
        const QString &expected = fetch<QString>("first");
        QVERIFY2(expected.isEmpty() || first->objectName() == expected, qPrintable(named(first)));
        QVERIFY2(!qobject_cast<QScrollArea *>(first), qPrintable(named(first)));
        int stops = 0;
        for (QWidget *w : window->findChildren<QWidget *>())
            stops += w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
        QWidget *at = first;
        for (int step = 0; step <= stops; ++step) {
            QTest::keyClick(at, Qt::Key_Tab);
            QWidget *next = QApplication::focusWidget();
            QVERIFY2(next != at || stops == 1, qPrintable("Tab stays in " + named(at)));
            QVERIFY2(!qobject_cast<QScrollArea *>(next), qPrintable(named(next)));
            const auto *option = qobject_cast<QRadioButton *>(next);
            QVERIFY2(!option || option->isChecked() || !option->group()
                         || !option->group()->checkedButton(),
                     qPrintable("Tab on an unchecked option: " + named(next)));
            at = next;
            if (at == first)
                return;
        }
        QFAIL(qPrintable("Tab does not come back to " + named(first)));
    }

    // Within one menu, and along the menu bar, no two items share an accelerator.
    void acceleratorsDifferInEachMenu_data()
    {
        columns<QString>({"language"});
        QTest::newRow("English") << "en";
        QTest::newRow("German") << "de";
        QTest::newRow("Italian") << "it";
    }
    void acceleratorsDifferInEachMenu()
    {
        const QByteArray before = qgetenv("LANGUAGE");
        qputenv("LANGUAGE", fetch<QString>("language").toUtf8());
        ui::installTranslations(*QCoreApplication::instance());
        const auto restore = qScopeGuard([&before] {
            qputenv("LANGUAGE", before);
            ui::removeTranslations(*QCoreApplication::instance());
        });
        app::MainWindow main;
        QList<QWidget *> menus{main.menuBar()};
        for (QMenu *menu : main.findChildren<QMenu *>())
            menus << menu;
        for (QWidget *menu : std::as_const(menus)) {
            QMap<QKeySequence, QString> taken;
            for (const QAction *action : menu->actions()) {
                const QKeySequence key = QKeySequence::mnemonic(action->text());
                if (action->isSeparator() || !action->isVisible() || key.isEmpty())
                    continue;
                QVERIFY2(!taken.contains(key),
                         qPrintable(taken.value(key) + " and " + action->text() + " share "
                                    + key.toString()));
                taken.insert(key, action->text());
            }
        }
    }
};

int main(int argc, char *argv[])
{
    // Two screens side by side, as the shop floor has them: a laptop's and a full HD panel.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    if (!writeBytes(config,
                    R"({"screens": [
        {"name": "small", "x": 0, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96},
        {"name": "large", "x": 1366, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96}]})"))
        return 1;
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication application(argc, argv);
    tst_WindowFit test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowfit.moc"
