#include "app/Error.h"
#include "text/TokenReader.h"

#include <QTest>

using namespace barlink;

class tst_TokenReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tokens_data();
    void tokens();
    void segmentWithBlankBeforeDimensions();
    void finishedTextBlocksNewTextUntilReset();
    void newTextMidwayStartsOver();
    void positionLimit_data();
    void positionLimit();
};

void tst_TokenReader::tokens_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("tokens");
    QTest::addColumn<int>("finalPos");

    QTest::newRow("dimensions") << "600 400 18" << QStringList{"600", "400", "18"} << 11;
    QTest::newRow("blank before") << " 600 400 18" << QStringList{"", "600", "400", "18"} << 12;
    QTest::newRow("two spaces give an empty token") << "a  b" << QStringList{"a", "", "b"} << 5;
    QTest::newRow("trailing space gives no token") << "a " << QStringList{"a"} << 2;
    QTest::newRow("one token") << "PROG" << QStringList{"PROG"} << 5;
    QTest::newRow("space only") << " " << QStringList{""} << 1;
    QTest::newRow("tab is no separator") << "a\tb c" << QStringList{"a\tb", "c"} << 6;
    QTest::newRow("run field and extra") << "N1 X" << QStringList{"N1", "X"} << 5;
}

void tst_TokenReader::tokens()
{
    QFETCH(QString, input);
    QFETCH(QStringList, tokens);
    QFETCH(int, finalPos);

    text::TokenReader reader;
    for (const QString &expected : std::as_const(tokens))
        QCOMPARE(reader.nextToken(input), expected);
    QCOMPARE(int(reader.tokenPos()), finalPos);
    // Past the end: nothing more, and the place stays.
    QCOMPARE(reader.nextToken(input), QString());
    QCOMPARE(int(reader.tokenPos()), finalPos);
    QCOMPARE(reader.tokenSource(), input);
}

void tst_TokenReader::segmentWithBlankBeforeDimensions()
{
    // Three dimension tokens read from " 600 400 18": the 18 is never reached.
    text::TokenReader reader;
    const QString contents = QStringLiteral(" 600 400 18");
    QCOMPARE(reader.nextToken(contents), QString());
    QCOMPARE(reader.nextToken(contents), QStringLiteral("600"));
    QCOMPARE(reader.nextToken(contents), QStringLiteral("400"));
}

void tst_TokenReader::finishedTextBlocksNewTextUntilReset()
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
    QVERIFY(reader.tokenSource().isEmpty());
    QCOMPARE(reader.nextToken(second), QStringLiteral("3"));

    reader.reset();
    QCOMPARE(int(reader.tokenPos()), 0);
    QCOMPARE(reader.nextToken(first), QStringLiteral("1"));
}

void tst_TokenReader::newTextMidwayStartsOver()
{
    text::TokenReader reader;
    QCOMPARE(reader.nextToken(QStringLiteral("1 2 3")), QStringLiteral("1"));
    // Place 2 is inside the new text, so the new text is read from its start.
    QCOMPARE(reader.nextToken(QStringLiteral("abc def")), QStringLiteral("abc"));
    QCOMPARE(reader.nextToken(QStringLiteral("abc def")), QStringLiteral("def"));
}

void tst_TokenReader::positionLimit_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("tokensBeforeLimit");

    QTest::newRow("longest readable") << QString(32766, u'a') << QStringList{QString(32766, u'a')};
    QTest::newRow("one too long") << QString(32767, u'a') << QStringList{};
    QTest::newRow("limit reached later")
        << QStringLiteral("a ") + QString(40000, u'b') << QStringList{"a"};
}

void tst_TokenReader::positionLimit()
{
    QFETCH(QString, input);
    QFETCH(QStringList, tokensBeforeLimit);

    text::TokenReader reader;
    for (const QString &expected : std::as_const(tokensBeforeLimit))
        QCOMPARE(reader.nextToken(input), expected);
    if (input.size() < 32767)
        return;

    const qint16 posBefore = reader.tokenPos();
    try {
        (void)reader.nextToken(input);
        QFAIL("no error raised");
    } catch (const Error &error) {
        QCOMPARE(error.number(), int(Error::Overflow));
    }
    QCOMPARE(reader.tokenPos(), posBefore);
}

QTEST_GUILESS_MAIN(tst_TokenReader)
#include "tst_tokenreader.moc"
