#include "text/SingleByte.h"

#include <QTest>

using namespace barlink;

class tst_SingleByte : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("the expected bytes are those of Latin-1; Windows uses its ANSI code page");
#endif
    }

    void toSingleByte_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << "PROG.CNC" << QByteArray("PROG.CNC");
        QTest::newRow("compressed label marker") << QString(QChar(0xF1)) << QByteArray("\xF1");
        QTest::newRow("nul kept") << QString(QChar(0)) << QByteArray(1, '\0');
        QTest::newRow("above 255") << QStringLiteral(u"a\u0100b") << QByteArray("a?b");
        QTest::newRow("outside the BMP is one character")
            << QStringLiteral(u"x\U0001F600y") << QByteArray("x?y");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u'z' << QByteArray("?z");
    }
    void toSingleByte()
    {
        QFETCH(QString, input);
        QTEST(text::toSingleByte(input), "bytes");
    }

    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString decoded = text::fromSingleByte(all);
        QCOMPARE(decoded.size(), 256);
        QCOMPARE(decoded.at(0xF1), QChar(0xF1));
        QCOMPARE(text::toSingleByte(decoded), all);
    }
};

QTEST_GUILESS_MAIN(tst_SingleByte)
#include "tst_singlebyte.moc"
