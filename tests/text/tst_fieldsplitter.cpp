#include "text/FieldSplitter.h"

#include <QTest>

using namespace barlink;

class tst_FieldSplitter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("separators");
        QTest::addColumn<QStringList>("fields");
        using L = QStringList;
        // clang-format off
        QTest::newRow("program header")      << "PROG1^X800^Y600^Z18" << "^" << L{"PROG1", "X800", "Y600", "Z18"};
        QTest::newRow("adjacent separators") << "a^^b" << "^" << L{"a", "", "b"};
        QTest::newRow("separator first")     << "^a"   << "^" << L{"", "a"};
        QTest::newRow("separator last")      << "a^"   << "^" << L{"a", ""};
        QTest::newRow("no separator")        << "abc"  << "^" << L{"abc"};
        QTest::newRow("no separators given") << "a^b"  << ""  << L{"a^b"};
        QTest::newRow("empty text")          << ""     << "^" << L{};
        QTest::newRow("dimension line")      << "UN X=800 Y=600 Z=18\r" << " =\r" << L{"UN", "X", "800", "Y", "600", "Z", "18", ""};
        QTest::newRow("case-sensitive")      << "g71 x800" << "XYZT" << L{"g71 x800"};
        // clang-format on
    }
    void split()
    {
        QFETCH(QString, input);
        QFETCH(QString, separators);
        QFETCH(QStringList, fields);
        const text::FieldSplitter splitter = text::splitFields(input, separators);
        QCOMPARE(splitter.count(), fields.size());
        // Numbers outside 1..count give an empty field.
        for (qsizetype n = -1; n <= fields.size() + 1; ++n)
            QCOMPARE(splitter.field(n), fields.value(n - 1));
    }
};

QTEST_GUILESS_MAIN(tst_FieldSplitter)
#include "tst_fieldsplitter.moc"
