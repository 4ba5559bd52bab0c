// Bytes written as text with escapes, as the refusal reply and tried labels are written.
#include "text/EscapedBytes.h"

#include <QTest>

using namespace barlink;

class tst_EscapedBytes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unescape_data();
    void unescape();
};

void tst_EscapedBytes::unescape_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes"); // for a text that is read
    QTest::addColumn<QString>("error");    // for one that is not: the start of the reason

    QTest::addRow("plain text") << "BAD" << QByteArray("BAD") << QString();
    QTest::addRow("all four escapes") << "\\r\\n\\x07\\\\" << QByteArray("\r\n\x07\\") << QString();
    QTest::addRow("hex digits in either case, a high byte")
        << "\\x1b\\xFF!" << QByteArray("\x1b\xff!") << QString();
    QTest::addRow("a Latin-1 letter") << QString(QChar(0xE9)) << QByteArray("\xe9") << QString();
    QTest::addRow("no known escape") << "A\\q" << QByteArray() << "\\q is no escape";
    QTest::addRow("a lone backslash at the end") << "A\\" << QByteArray() << "a lone \\";
    QTest::addRow("one hex digit") << "\\x7" << QByteArray() << "\\x without two";
    QTest::addRow("no hex digit") << "\\xG0" << QByteArray() << "\\x without two";
    QTest::addRow("no single-byte code")
        << QString(QChar(0x20AC)) << QByteArray() << "\"\u20ac\" has no";
}

void tst_EscapedBytes::unescape()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);

    const text::EscapedBytes read = text::unescapeBytes(text);
    QVERIFY2(read.error.startsWith(error), qPrintable(read.error));
    QCOMPARE(read.ok(), error.isEmpty());
    if (!read.ok())
        return;
    QCOMPARE(read.bytes, bytes);
    // What the try run shows of bytes reads back as the same bytes.
    QCOMPARE(text::unescapeBytes(text::escapeBytes(bytes)).bytes, bytes);
}

QTEST_GUILESS_MAIN(tst_EscapedBytes)
#include "tst_escapedbytes.moc"
