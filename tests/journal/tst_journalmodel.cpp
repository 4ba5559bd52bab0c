// The journal window's table: the filters' entries, newest first, read a page at a time as
// the view scrolls, with refused entries standing out.
#include "FilterCases.h"
#include "JournalFile.h"
#include "Tables.h"
#include "base/RowValues.h"
#include "journal/Journal.h"
#include "journal/ui/JournalTableModel.h"
#include "journal/ui/JournalWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using namespace barlink;
using namespace barlink::journal;

class tst_JournalModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filters_data() { filtercases::addRows(); }
    // Pages of two entries, so that every filter needs several, and a filter changed after
    // scrolling to the end starts again from the newest. Entries written later go on top.
    // Refused and failed entries stand out.
    void filters()
    {
        if (barlink::testing::fetch<int>("limit") != 0)
            QSKIP("pages are the model's own");
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        Journal journal(path, QStringLiteral("HERE"), 0);
        journal.open();
        const QList<Entry> entries = filtercases::entries();
        for (const Entry &e : entries.mid(0, 3))
            journal.append(e);
        testing::JournalFile file(path);
        journal::JournalTableModel model(file.db(), Store::Local, 2);
        model.setFilter({});
        while (model.canFetchMore({}))
            model.fetchMore({});
        model.setFilter(barlink::testing::fetch<Filter>("filter"));
        QVERIFY(model.rowCount() <= 2);
        while (model.canFetchMore({}))
            model.fetchMore({});
        for (const Entry &e : entries.mid(3))
            journal.append(e);
        model.fetchNewer();
        while (model.canFetchMore({}))
            model.fetchMore({});
        QStringList labels;
        for (int row = 0; row < model.rowCount(); ++row) {
            labels << model.entryAt(row).label;
            const Outcome outcome = model.entryAt(row).outcome;
            QCOMPARE(model.index(row, 0).data(Qt::BackgroundRole).isValid(),
                     outcome == Outcome::Refused || outcome == Outcome::Failed);
        }
        QTEST(labels, "shown");
    }

    // A reason shows in the operator's language and is found by the words shown; an entry of a
    // journal from before reasons had codes shows, and is found by, the text it was stored with.
    void reasonsInTheShownLanguage()
    {
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/i18n/barlink_de.qm")));
        QCoreApplication::installTranslator(&translator);
        const auto english = qScopeGuard([&] { QCoreApplication::removeTranslator(&translator); });
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        Entry refused;
        refused.label = QStringLiteral("OLD");
        refused.outcome = Outcome::Refused;
        refused.reason = base::rowValueRefusal(
            base::Reason(base::Reason::Code::DimensionValue, QStringLiteral("X")),
            QStringLiteral("1; 2"));
        const auto write = [&path](const Entry &entry) {
            Journal journal(path, QStringLiteral("HERE"), 0);
            journal.open();
            journal.append(entry);
        };
        write(refused);
        {
            // The file made one of the version before: its entry keeps the English text alone,
            // and is searched by it.
            const Connection connection(QStringLiteral("QSQLITE"));
            QSqlDatabase db = connection.database();
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const char *sql : {"UPDATE entries SET search = lower(label || char(31) || reason "
                                    "|| char(31) || char(31))",
                                    "ALTER TABLE entries DROP COLUMN reason_code",
                                    "ALTER TABLE entries DROP COLUMN reason_args",
                                    "PRAGMA user_version = 3"})
                QVERIFY2(query.exec(QString::fromLatin1(sql)), sql);
        }
        refused.label = QStringLiteral("NEW");
        write(refused);
        testing::JournalFile file(path);
        journal::JournalTableModel model(file.db(), Store::Local, 10);
        const auto shown = [&model](const QString &text) {
            Filter filter;
            filter.text = text;
            model.setFilter(filter);
            QStringList rows;
            for (int row = 0; row < model.rowCount(); ++row)
                rows << model.entryAt(row).label + u' '
                            + model.index(row, int(Column::Reason)).data().toString();
            return rows;
        };
        const QString german = QStringLiteral("Maß X abgelehnt: 1; 2 enthält „;“, das ein Feld der "
                                              "Listenzeile beenden würde."),
                      stored = QStringLiteral("Dimension X refused: 1; 2 holds \";\", which would "
                                              "end a field of the list row.");
        QCOMPARE(shown({}), (QStringList{"NEW " + german, "OLD " + stored}));
        QCOMPARE(shown(QStringLiteral("maß x")), QStringList{"NEW " + german});
        QCOMPARE(shown(QStringLiteral("dimension x")),
                 (QStringList{"NEW " + german, "OLD " + stored}));
    }

    // The window in words: kinds and outcomes as words, a filter that finds nothing says so,
    // the export says where it wrote or why it did not.
    void windowReadable()
    {
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        {
            Journal journal(path, QStringLiteral("HERE"), 0);
            journal.open();
            journal.append(stationEventEntry(StationEvent::PortLost));
            Entry plain;
            plain.label = QStringLiteral("PANEL.CNC");
            plain.kind = Kind::PlainName;
            journal.append(plain);
        }
        JournalWindow window(path, QString());
        auto *view = window.findChild<QTableView *>();
        const QAbstractItemModel *model = view->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(0, 4).data().toString(), QStringLiteral("plain name"));
        QCOMPARE(model->index(1, 5).data().toString(), QStringLiteral("station event"));

        auto *nothing = window.findChild<QLabel *>(QStringLiteral("lblNothingFound"));
        window.findChild<QLineEdit *>()->setText(QStringLiteral("no such label"));
        QVERIFY(nothing->isVisibleTo(&window));
        window.findChild<QLineEdit *>()->clear();
        QVERIFY(!nothing->isVisibleTo(&window));

        auto *exported = window.findChild<QLabel *>(QStringLiteral("lblExported"));
        window.exportTo(dir.filePath(QStringLiteral("out.csv")));
        QCOMPARE(exported->text(),
                 QStringLiteral("2 entries written to %1")
                     .arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("out.csv")))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("out.csv"))));
        window.exportTo(dir.filePath(QStringLiteral("none/out.csv")));
        QVERIFY2(exported->text().startsWith(QStringLiteral("Not exported to ")),
                 qPrintable(exported->text()));
    }
};

QTEST_MAIN(tst_JournalModel)
#include "tst_journalmodel.moc"
