// The journal window's table: the filters' entries, newest first, read a page at a time as
// the view scrolls, with refused entries standing out.
#include "FilterCases.h"
#include "app/JournalTableModel.h"
#include "journal/Connection.h"
#include "journal/Journal.h"
#include "journal/LocalFile.h"

#include <QBrush>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::journal;

class tst_JournalModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Journal journal(path(), QStringLiteral("HERE"), 0);
        journal.open();
        for (const Entry &e : filtercases::entries())
            journal.append(e);
        QVERIFY(journal.isAvailable());
    }

    void filters_data() { filtercases::addRows(); }
    // Pages of two entries, so that every filter needs several, and a filter changed after
    // scrolling to the end starts again from the newest. Refused and failed entries stand out.
    void filters()
    {
        QFETCH(Filter, filter);
        QFETCH(int, limit);
        QFETCH(QStringList, shown);
        if (limit != 0)
            QSKIP("pages are the model's own");
        const Connection connection(QStringLiteral("QSQLITE"));
        QSqlDatabase db = connection.database();
        QCOMPARE(openLocalFile(db, path(), Durability::Checkpoints), QString());
        app::JournalTableModel model(db, Store::Local, 2);
        model.setFilter({});
        while (model.canFetchMore({}))
            model.fetchMore({});
        model.setFilter(filter);
        QVERIFY(model.rowCount() <= 2);
        while (model.canFetchMore({}))
            model.fetchMore({});
        QStringList labels;
        for (int row = 0; row < model.rowCount(); ++row) {
            labels << model.entryAt(row).label;
            const Outcome outcome = model.entryAt(row).outcome;
            QCOMPARE(model.index(row, 0).data(Qt::BackgroundRole).isValid(),
                     outcome == Outcome::Refused || outcome == Outcome::Failed);
        }
        QCOMPARE(labels, shown);
    }

private:
    [[nodiscard]] QString path() const { return m_dir.filePath(QStringLiteral("journal.sqlite")); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_JournalModel)
#include "tst_journalmodel.moc"
