// The journal window's table: the filters' entries, newest first, read a page at a time as
// the view scrolls, with refused entries standing out.
#include "FilterCases.h"
#include "JournalFile.h"
#include "Tables.h"
#include "journal/Journal.h"
#include "journal/ui/JournalTableModel.h"
#include "journal/ui/JournalWindow.h"

#include <QBrush>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

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

    // The window in words: kinds and outcomes as words, columns as wide as their texts, a
    // filter that finds nothing says so, and the export says where it wrote or why it did not.
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
            plain.reason = base::Reason::text(QStringLiteral("a long reason ") + QString(200, u'x'));
            journal.append(plain);
        }
        JournalWindow window(path, QString());
        auto *view = window.findChild<QTableView *>();
        const QAbstractItemModel *model = view->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(0, 4).data().toString(), QStringLiteral("plain name"));
        QCOMPARE(model->index(1, 5).data().toString(), QStringLiteral("station event"));
        const QString time = model->index(0, 0).data().toString();
        QVERIFY(view->columnWidth(0) > view->fontMetrics().horizontalAdvance(time));
        QVERIFY(view->columnWidth(6) < view->fontMetrics().horizontalAdvance(QString(200, u'x')));

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
        // Never over the journal it shows.
        QFile journalFile(path);
        QVERIFY(journalFile.open(QIODevice::ReadOnly));
        const QByteArray journalBytes = journalFile.readAll();
        journalFile.close();
        window.exportTo(path);
        QVERIFY2(exported->text().endsWith(QStringLiteral(
                     ": it is a file of the scan journal, which an export never writes over.")),
                 qPrintable(exported->text()));
        QVERIFY(journalFile.open(QIODevice::ReadOnly));
        QCOMPARE(journalFile.readAll(), journalBytes);
    }
};

QTEST_MAIN(tst_JournalModel)
#include "tst_journalmodel.moc"
