// The journal window's table: the filters' entries, newest first, read a page at a time as
// the view scrolls, with refused entries standing out.
#include "FilterCases.h"
#include "JournalFile.h"
#include "Tables.h"
#include "journal/Journal.h"
#include "journal/ui/JournalTableModel.h"

#include <QBrush>
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
};

QTEST_MAIN(tst_JournalModel)
#include "tst_journalmodel.moc"
