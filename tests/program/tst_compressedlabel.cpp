// Compressed labels: the backslash escaping, both expansion routes and their threshold, what
// follows the compressed data, and every way a label can fail to expand.

#include "Fakes.h"
#include "TestSupport.h"
#include "settings/SettingsFile.h"
#include "program/CompressedLabel.h"
#include "program/CompressedLabelDecoder.h"

#include <QDir>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

using namespace barlink;
using namespace barlink::program;
using Route = ExpandRoute;

Q_DECLARE_METATYPE(barlink::program::ExpandRoute)

namespace {

// A program of the given length that compresses the way real ones do.
QString programText(int length, quint32 seed = 7)
{
    QRandomGenerator random(seed);
    QString text = QStringLiteral("PROG1^X800^Y500!");
    while (text.size() < length)
        text += QStringLiteral("G1 X%1 Y%2 F%3\r\n")
                    .arg(random.bounded(2000))
                    .arg(random.bounded(1000))
                    .arg(random.bounded(100, 9000));
    text.truncate(length);
    return text;
}

// The label layout around arbitrary compressed bytes (escaped here).
QString labelAround(const QByteArray &length, const QByteArray &compressed)
{
    return QString::fromLatin1("\xF1ZL" + length + "000" + escapeBackslashes(compressed));
}

QByteArray zlibBytes(const QByteArray &bytes)
{
    uLongf size = compressBound(uLong(bytes.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef *>(out.data()),
              &size,
              reinterpret_cast<const Bytef *>(bytes.constData()),
              uLong(bytes.size()),
              9);
    out.truncate(qsizetype(size));
    return out;
}

} // namespace

class tst_CompressedLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unescape_data()
    {
        QTest::addColumn<QByteArray>("label");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("pair gives one") << QByteArray("a\\\\b") << QByteArray("a\\b");
        QTest::newRow("single stays") << QByteArray("a\\b") << QByteArray("a\\b");
        QTest::newRow("three give two") << QByteArray("\\\\\\") << QByteArray("\\\\");
        QTest::newRow("runs counted apart")
            << QByteArray("\\\\x\\\\\\y\\") << QByteArray("\\x\\\\y\\");
    }

    void unescape()
    {
        QFETCH(QByteArray, label);
        QTEST(unescapeBackslashes(label), "data");
    }

    void expands_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("level");
        QTest::addColumn<Route>("route");
        QTest::addColumn<QString>("labelHolds");
        QTest::newRow("100") << programText(100) << 9 << Route::Buffer << "";
        QTest::newRow("23072, last in memory") << programText(23072) << 9 << Route::Buffer << "";
        QTest::newRow("23073, first through files") << programText(23073) << 9 << Route::File << "";
        QTest::newRow("32767, the largest") << programText(32767) << 9 << Route::File << "";
        QTest::newRow("large, stored uncompressed") << programText(30000) << 0 << Route::File << "";
        // Stored blocks carry the text's bytes as they are: its backslash runs reach the
        // label, each backslash doubled.
        QTest::newRow("backslash runs in the data")
            << QStringLiteral("A\\B\\\\C\\\\\\D^\\\\\\\\") << 0 << Route::Buffer
            << QString(8, QLatin1Char('\\'));
        QTest::newRow("every single-byte character") << [] {
            QString all;
            for (int c = 1; c < 256; ++c)
                all += QChar(c);
            return all;
        }() << 9 << Route::Buffer << "";
    }

    void expands()
    {
        QFETCH(QString, text);
        QFETCH(int, level);
        const QString label = makeCompressedLabel(text, level);
        QCOMPARE(label.left(11),
                 QStringLiteral("\u00F1ZL%1").arg(text.size(), 5, 10, QLatin1Char('0'))
                     + QStringLiteral("000"));
        QFETCH(QString, labelHolds);
        QVERIFY(label.mid(11).contains(labelHolds));

        const CompressedLabelDecoder::Result result = CompressedLabelDecoder().decode(label);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QTEST(result.route, "route");
        QCOMPARE(result.text.size(), text.size());
        QCOMPARE(result.text, text);
        QCOMPARE(result.rest, QString());
    }

    // What follows the compressed data is handed back as a label of its own; the scanner's
    // line end right after the data is not part of it.
    void rest_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("rest");
        const QByteArray stream = zlibBytes(programText(100).toLatin1());
        // A stream whose last byte (of its checksum) is a backslash, written twice in the
        // label: the last character of the text sets that byte.
        QByteArray backslashEnd;
        for (int c = 1; c < 256 && !backslashEnd.endsWith('\\'); ++c)
            backslashEnd = zlibBytes(QByteArray("PROG1^X800^Y500!") + char(c));
        const QString big = makeCompressedLabel(programText(23073));
        // clang-format off
        QTest::newRow("line end only") << labelAround("00100", stream + "\r\n") << "";
        QTest::newRow("label after the data") << labelAround("00100", stream + "X") << "X";
        QTest::newRow("line end, then a label")
            << labelAround("00100", stream + "\r\n%START%\r\n") << "%START%\r\n";
        QTest::newRow("after a doubled backslash")
            << labelAround("00017", backslashEnd + "%START%") << "%START%";
        QTest::newRow("file route") << big + "%START%" << "%START%";
        QTest::newRow("past the input buffer")
            << labelAround("00100", stream + QByteArray(23200, 'A')) << QString(23200, 'A');
        // clang-format on
    }

    void rest()
    {
        QFETCH(QString, label);
        const CompressedLabelDecoder::Result result = CompressedLabelDecoder().decode(label);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QVERIFY(result.text.startsWith(QStringLiteral("PROG1^")));
        QTEST(result.rest, "rest");
    }

    void refuses_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("error"); // start of the reason
        const QByteArray hundred = programText(100).toLatin1();
        const QByteArray big = programText(23073).toLatin1();
        const QByteArray stream = zlibBytes(hundred);
        const QString notZlib = QStringLiteral("its compressed data does not expand");
        // clang-format off
        QTest::newRow("length over 32767") << labelAround("40000", stream)
            << "its length field \"40000\" says more than the 32767";
        QTest::newRow("length in exponent form over 32767")
            << labelAround("4E+04", stream) << "its length field \"4E+04\" says more than";
        QTest::newRow("half rounds to even 0")
            << labelAround("000.5", stream) << "its length field \"000.5\" gives no length";
        QTest::newRow("no data") << QStringLiteral("\u00F1ZL00100000") << "it holds no compressed";
        QTest::newRow("not zlib") << labelAround("00100", "hello, world") << notZlib;
        QTest::newRow("stream cut short") << labelAround("00100", stream.chopped(4)) << notZlib;
        QTest::newRow("one character short") << labelAround("00101", stream)
            << "it expands to 100 characters, but its length field says 101.";
        QTest::newRow("file route, one character over")
            << labelAround("23074", zlibBytes(programText(23075).toLatin1()))
            << "it expands to more than 23074";
        QTest::newRow("file route, one character short")
            << labelAround("23074", zlibBytes(big)) << "it expands to 23073 characters";
        QTest::newRow("input buffer overrun") << labelAround("00100", QByteArray(23201, 'x'))
            << "its compressed data (23201 bytes) is longer than the 23200-byte";
        // clang-format on
    }

    void refuses()
    {
        QFETCH(QString, label);
        QFETCH(QString, error);
        const CompressedLabelDecoder::Result result = CompressedLabelDecoder().decode(label);
        QVERIFY2(result.error.startsWith(error), qPrintable(result.error));
        QVERIFY(result.text.isEmpty());

        // What the station shows: the reason on the status line, no text for the polling and
        // nothing after it.
        testing::FakeDisplay display;
        QString rest = QStringLiteral("stale");
        QVERIFY(decodeCompressedLabel(label, display, rest).isEmpty());
        QCOMPARE(rest, QString());
        QCOMPARE(display.status(), QStringLiteral("Compressed label not read: ") + result.error);
    }

    // Another user may plant links named like temporary files in a shared temporary folder,
    // such as the station's runtime folder: a long label is still expanded, and the file the
    // links lead to keeps its content.
    void plantedLinksAreLeftAlone()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("barlink"));
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
        const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", runtime); });
        QVERIFY(QDir().mkpath(folder));
        const QString target = dir.filePath(QStringLiteral("operator.txt"));
        QVERIFY(testing::writeBytes(target, "KEEP"));
        for (const char *name : {"Temp.Cmp", "Temp.Dat"})
            QVERIFY(QFile::link(target, QDir(folder).filePath(QLatin1String(name))));

        const QString text = programText(23073);
        testing::FakeDisplay display;
        QString rest;
        QCOMPARE(decodeCompressedLabel(makeCompressedLabel(text), display, rest), text);
        QCOMPARE(testing::readBytes(target), QByteArray("KEEP"));
        QCOMPARE(QDir(folder).entryList(QDir::System | QDir::Files).size(), 2);
    }

    void encoderRefuses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("longer than 32767") << programText(32768);
        QTest::newRow("outside the code page") << QStringLiteral("PROG^\u20AC!");
    }

    void encoderRefuses()
    {
        QFETCH(QString, text);
        QVERIFY_THROWS_EXCEPTION(Error, (void)makeCompressedLabel(text));
    }
};

QTEST_GUILESS_MAIN(tst_CompressedLabel)
#include "tst_compressedlabel.moc"
