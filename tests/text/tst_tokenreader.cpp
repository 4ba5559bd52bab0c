#include "base/Error.h"
#include "text/TokenReader.h"

#include "TestSupport.h"

#include <QTest>

using namespace barlink;

class tst_TokenReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tokens_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("tokens");
        QTest::addColumn<int>("finalPos");
        using L = QStringList;
        // clang-format off
        QTest::newRow("dimensions")                     << "600 400 18"  << L{"600", "400", "18"} << 11;
        QTest::newRow("blank before")                   << " 600 400 18" << L{"", "600", "400", "18"} << 12;
        QTest::newRow("two spaces give an empty token") << "a  b"        << L{"a", "", "b"} << 5;
        QTest::newRow("trailing space gives no token")  << "a "          << L{"a"} << 2;
        QTest::newRow("space only")                     << " "           << L{""} << 1;
        QTest::newRow("tab is no separator")            << "a\tb c"      << L{"a\tb", "c"} << 6;
        // clang-format on
    }
    void tokens()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, tokens);
        text::TokenReader reader;
        for (const QString &expected : std::as_const(tokens))
            QCOMPARE(reader.nextToken(input), expected);
        QTEST(int(reader.tokenPos()), "finalPos");
        // Past the end: nothing more, and the place stays.
        QCOMPARE(reader.nextToken(input), QString());
        QTEST(int(reader.tokenPos()), "finalPos");
        QCOMPARE(reader.tokenSource(), input);
    }

    // A finished text blocks a new one until a reset or an empty text; a text that is not
    // finished gives way to a new one, which is read from its start.
    void switchingTexts()
    {
        text::TokenReader reader;
        const QString first = QStringLiteral("1 2");
        QCOMPARE(reader.nextToken(first), QStringLiteral("1"));
        QCOMPARE(reader.nextToken(first), QStringLiteral("2"));

        const QString second = QStringLiteral("3 4");
        QCOMPARE(reader.nextToken(second), QString());
        QCOMPARE(reader.tokenSource(), first);
        QCOMPARE(int(reader.tokenPos()), 4);

        QCOMPARE(reader.nextToken(QString()), QString());
        QCOMPARE(int(reader.tokenPos()), 0);
        QCOMPARE(reader.nextToken(second), QStringLiteral("3"));

        reader.reset();
        QCOMPARE(int(reader.tokenPos()), 0);
        QCOMPARE(reader.nextToken(first), QStringLiteral("1"));
        // Place 2 is inside a new text: that text is read from its start.
        QCOMPARE(reader.nextToken(QStringLiteral("abc def")), QStringLiteral("abc"));
        QCOMPARE(reader.nextToken(QStringLiteral("abc def")), QStringLiteral("def"));
    }

    // The place is a 16-bit number: a token that would move it past 32767 overflows.
    void positionLimit()
    {
        text::TokenReader reader;
        const QString longest(32766, u'a');
        QCOMPARE(reader.nextToken(longest), longest);
        QCOMPARE(
            testing::errorNumber([] { (void)text::TokenReader().nextToken(QString(32767, u'a')); }),
            int(Error::Overflow));
        const QString tooLong = QStringLiteral("a ") + QString(40000, u'b');
        QCOMPARE(reader.nextToken(tooLong), QStringLiteral("a"));
        QCOMPARE(testing::errorNumber([&] { (void)reader.nextToken(tooLong); }),
                 int(Error::Overflow));
        QCOMPARE(int(reader.tokenPos()), 2);
    }
};

QTEST_GUILESS_MAIN(tst_TokenReader)
#include "tst_tokenreader.moc"
