// barlink-listmanager: the list of programs the machine is to run, as a program of its own. It
// keeps the list (crash-safe, in $XDG_DATA_HOME/barlink), shows it in its window and offers it
// on the session bus to the stations and any other client, through the objects of
// org.barlink.ListManager.xml. It keeps running when a station ends: the list is the machine's.

#include "BusObjects.h"
#include "base/Error.h"
#include "embeddedlist/ListManagerWindow.h"
#include "embeddedlist/ListStore.h"
#include "listmanageradaptor.h"
#include "listmanagerproxy.h"
#include "ui/Appearance.h"
#include "ui/Language.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QIcon>

#include <csignal>
#include <cstdio>
#include <memory>
#include <utility>

using namespace barlink;

namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "barlink-listmanager: %s\n", qUtf8Printable(text));
    std::fflush(stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    // --help and --version need no display.
    std::unique_ptr<QCoreApplication> application;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "-v" || argument == "--version")
            application = std::make_unique<QCoreApplication>(argc, argv);
    }
    if (!application) {
        application = std::make_unique<QApplication>(argc, argv);
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/barlink.svg")));
        QApplication::setDesktopFileName(QStringLiteral("org.barlink.ListManager"));
        // Closing the window hides the list; the list manager goes on serving the stations.
        QApplication::setQuitOnLastWindowClosed(false);
        // Its window speaks the operator's language, as the station's do.
        ui::installTranslations(*application);
    }
    QCoreApplication::setApplicationName(QStringLiteral("barlink-listmanager"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(BARLINK_VERSION_MAJOR)
                                                .arg(BARLINK_VERSION_MINOR)
                                                .arg(BARLINK_VERSION_PATCH));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Keeps the machine's list of programs and offers it on the session bus "
        "(org.barlink.ListManager). The session bus starts it at a station's first call; "
        "it keeps running when the station ends. Started while it runs, it shows the running "
        "one's window."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption nameOption(
        QStringLiteral("name"),
        QStringLiteral("The bus name to take (default org.barlink.ListManager)."),
        QStringLiteral("name"),
        QString::fromLatin1(listservice::serviceName));
    const QCommandLineOption hiddenOption(QStringLiteral("hidden"),
                                          QStringLiteral("Start without showing the window."));
    parser.addOption(nameOption);
    parser.addOption(hiddenOption);
    parser.process(*application);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        say(QStringLiteral("no session bus (%1). Start it from a desktop session, or under "
                           "dbus-run-session.")
                .arg(bus.lastError().message()));
        return 1;
    }
    const QString name = parser.value(nameOption);
    if (bus.interface()->isServiceRegistered(name).value()) {
        // Started from the menu while it runs: the running one shows its window.
        OrgBarlinkListManagerApplicationInterface running(
            name, QStringLiteral("/Application"), bus);
        running.setVisible(true);
        say(QStringLiteral("%1 runs already: its window is shown.").arg(name));
        return 0;
    }

    std::shared_ptr<embeddedlist::ListStore> store;
    try {
        store = std::make_shared<embeddedlist::ListStore>();
    } catch (const base::Error &error) {
        say(QStringLiteral("the list in %1 cannot be read: %2")
                .arg(embeddedlist::ListStore::defaultFolder(), error.description()));
        return 1;
    }
    listservice::BusApplication applicationObject(store);
    listservice::BusExeList listObject(store);
    listservice::BusLateBoundList lateBoundObject(store);
    new ApplicationAdaptor(&applicationObject);
    new ExeListAdaptor(&listObject);
    new LateBoundListAdaptor(&lateBoundObject);
    const auto registerObject = [&bus](const char *path, QObject *object) {
        if (!bus.registerObject(QString::fromLatin1(path), object))
            say(QStringLiteral("cannot offer %1: %2")
                    .arg(QLatin1String(path), bus.lastError().message()));
    };
    registerObject(listservice::applicationPath, &applicationObject);
    registerObject(listservice::currentListPath, &listObject);
    registerObject(listservice::lateBoundListPath, &lateBoundObject);

    // Test faults: the process dies when an AddLine comes in, before the row is stored, or
    // right after the row reached the disk, before its caller hears so, as in a crash while
    // an AddLine is on its way; or it stops (SIGSTOP) when the first AddLine comes in, as a
    // list manager that hangs with a call in hand, and stores the row once continued.
    const QString fault = qEnvironmentVariable("BARLINK_LISTMANAGER_FAULT");
    if (fault == QLatin1String("stop-at-first-add")) {
        QObject::connect(
            &listObject, &listservice::BusExeList::addLineReceived, [stopped = false]() mutable {
                if (!std::exchange(stopped, true))
                    std::raise(SIGSTOP);
            });
    } else if (fault == QLatin1String("die-before-add")) {
        QObject::connect(
            &listObject, &listservice::BusExeList::addLineReceived, [] { std::raise(SIGKILL); });
    } else if (fault == QLatin1String("die-after-add")) {
        QObject::connect(
            store.get(), &embeddedlist::ListStore::rowsAppended, [] { std::raise(SIGKILL); });
    }

    embeddedlist::ListManagerWindow window(store.get());
    // A station that asks keeps this window off its own, in its text size and colours: this
    // program has no other window, so the whole program follows.
    QObject::connect(
        &applicationObject,
        &listservice::BusApplication::placeBesideAsked,
        &window,
        [&window](
            const QRect &anchor, const QRect &keptClear, double textScale, bool highContrast) {
            ui::setTextScale(textScale);
            ui::setHighContrast(highContrast);
            window.placeBeside(anchor, keptClear, textScale);
        });
    // Hidden, it says so (Visible reads false) until a client shows it.
    if (parser.isSet(hiddenOption))
        store->setVisible(false);
    if (store->visible())
        window.show();

    // The name last: a client that sees it finds every object in place.
    const auto taken
        = bus.interface()->registerService(name,
                                           QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    if (!taken.isValid() || taken.value() != QDBusConnectionInterface::ServiceRegistered) {
        say(QStringLiteral("the bus name %1 is taken: another list manager runs.").arg(name));
        return 1;
    }
    say(QStringLiteral("serving %1 with %2 rows").arg(name).arg(store->rowCount()));
    return QApplication::exec();
}
