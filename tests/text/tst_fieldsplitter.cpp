#include "text/FieldSplitter.h"

#include <QTest>

using namespace barlink;

class tst_FieldSplitter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data();
    void split();
    void fieldOutsideRange_data();
    void fieldOutsideRange();
};

void tst_FieldSplitter::split_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("separators");
    QTest::addColumn<QStringList>("fields");

    const auto add =
        [](const char *name, const char *input, const char *separators, const QStringList &fields) {
            QTest::newRow(name) << QString::fromLatin1(input) << QString::fromLatin1(separators)
                                << fields;
        };

    add("program header", "PROG1^X800^Y600^Z18", "^", {"PROG1", "X800", "Y600", "Z18"});
    add("adjacent separators", "a^^b", "^", {"a", "", "b"});
    add("separator first", "^a", "^", {"", "a"});
    add("separator last", "a^", "^", {"a", ""});
    add("no separator", "abc", "^", {"abc"});
    add("no separators given", "a^b", "", {"a^b"});
    add("empty text", "", "^", {});
    add("dimension line",
        "UN X=800 Y=600 Z=18\r",
        " =\r",
        {"UN", "X", "800", "Y", "600", "Z", "18", ""});
    add("mixed adjacent separators", "X =1", " =", {"X", "", "1"});
    add("letters as separators", "G71 X800 Y600 Z18", "XYZT", {"G71 ", "800 ", "600 ", "18"});
    add("separators are case-sensitive", "g71 x800", "XYZT", {"g71 x800"});
    add("comment in parentheses", "(LEFT DOOR)", "()", {"", "LEFT DOOR", ""});
}

void tst_FieldSplitter::split()
{
    QFETCH(QString, input);
    QFETCH(QString, separators);
    QFETCH(QStringList, fields);

    const text::FieldSplitter splitter = text::splitFields(input, separators);
    QCOMPARE(splitter.count(), fields.size());
    for (qsizetype n = 1; n <= fields.size(); ++n)
        QCOMPARE(splitter.field(n), fields.at(n - 1));
    QCOMPARE(splitter.field(fields.size() + 1), QString());
}

void tst_FieldSplitter::fieldOutsideRange_data()
{
    QTest::addColumn<qsizetype>("number");
    QTest::newRow("zero") << qsizetype(0);
    QTest::newRow("negative") << qsizetype(-1);
    QTest::newRow("far beyond") << qsizetype(1000);
}

void tst_FieldSplitter::fieldOutsideRange()
{
    QFETCH(qsizetype, number);
    QVERIFY(text::splitFields(u"a^b", u"^").field(number).isEmpty());
    QVERIFY(text::FieldSplitter().field(number).isEmpty());
}

QTEST_GUILESS_MAIN(tst_FieldSplitter)
#include "tst_fieldsplitter.moc"
