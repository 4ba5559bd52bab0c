// The text rules: fields split at separators, the numeric value of a text, banker's rounding
// and narrowing, the forms of a single, single-byte text, the token reader, and bytes written
// as text with escapes (as the refusal reply and tried labels are written).

#include "Tables.h"
#include "TestSupport.h"
#include "base/Error.h"
#include "text/EscapedBytes.h"
#include "text/FieldSplitter.h"
#include "text/NumberFormat.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"
#include "text/SingleByte.h"
#include "text/TokenReader.h"

#include <cmath>
#include <limits>

using namespace barlink;
using testing::columns;
using testing::errorNumber;
using testing::fetch;

namespace {

// Expected values of NaN in the tables stand for the overflow error.
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kOverflow = int(base::Error::Overflow);

} // namespace

class tst_Text : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data()
    {
        columns<QString, QString, QStringList>({"input", "separators", "fields"});
        using L = QStringList;
        // clang-format off
        QTest::newRow("adjacent separators") << "a^^b" << "^" << L{"a", "", "b"};
        QTest::newRow("separator first")     << "^a"   << "^" << L{"", "a"};
        QTest::newRow("separator last")      << "a^"   << "^" << L{"a", ""};
        QTest::newRow("no separators given") << "a^b"  << ""  << L{"a^b"};
        QTest::newRow("empty text")          << ""     << "^" << L{};
        QTest::newRow("dimension line")      << "UN X=800 Y=600 Z=18\r" << " =\r" << L{"UN", "X", "800", "Y", "600", "Z", "18", ""};
        QTest::newRow("case-sensitive")      << "g71 x800" << "XYZT" << L{"g71 x800"};
        // clang-format on
    }
    void split()
    {
        const QStringList &fields = fetch<QStringList>("fields");
        const auto splitter
            = text::splitFields(fetch<QString>("input"), fetch<QString>("separators"));
        QCOMPARE(splitter.count(), fields.size());
        // Numbers outside 1..count give an empty field.
        for (qsizetype n = -1; n <= fields.size() + 1; ++n)
            QCOMPARE(splitter.field(n), fields.value(n - 1));
    }

    void forms_data()
    {
        // shortest: empty: the same as compact
        columns<float, QString, QString>({"value", "compact", "shortest"});
        using F = std::numeric_limits<float>;
        const auto row
            = [](const char *name, float value, const char *compact, const char *shortest = "") {
                  QTest::newRow(name)
                      << value << QString::fromLatin1(compact) << QString::fromLatin1(shortest);
              };
        // clang-format off
        row("zero", 0.0f, "0");                                 row("negative zero", -0.0f, "0");
        row("half", 0.5f, ".5", "0.5");                         row("negative half", -0.5f, "-.5", "-0.5");
        row("two thirds rounds up", 2.0f / 3, ".6666667", "0.6666667");
        row("seven digit whole", 9999999.0f, "9999999");        row("tie rounds to even", 1234567.5f, "1234568");
        row("ten million", 10000000.0f, "1E+07");               row("eight digits", 12345678.0f, "1.234568E+07");
        row("rounds up to next power", 99999999.0f, "1E+08");   row("largest", F::max(), "3.402823E+38");
        row("smallest plain", 1e-7f, ".0000001", "0.0000001");  row("one digit too many", 1.5e-7f, "1.5E-07");
        row("negative very small", -1e-8f, "-1E-08");           row("small, many digits", 1.234567e-4f, "1.234567E-04");
        row("smallest", F::denorm_min(), "1.401298E-45");
        // clang-format on
    }
    void forms()
    {
        const float value = fetch<float>("value");
        const QString &compact = fetch<QString>("compact"), &shortest = fetch<QString>("shortest");
        QCOMPARE(text::formatSingleCompact(value), compact);
        QCOMPARE(text::formatSingleShortest(value), shortest.isEmpty() ? compact : shortest);
    }

    void nonFiniteOverflows()
    {
        using F = std::numeric_limits<float>;
        for (const float value : {F::infinity(), -F::infinity(), F::quiet_NaN()}) {
            QCOMPARE(errorNumber([&] { (void)text::formatSingleCompact(value); }), kOverflow);
            QCOMPARE(errorNumber([&] { (void)text::formatSingleShortest(value); }), kOverflow);
        }
    }

    void numericValue_data()
    {
        columns<QString, double>({"input", "expected"});
        const auto row = [](const char *name, const QString &input, double expected) {
            QTest::newRow(name) << input << expected;
        };
        const QString zeros(900, u'0');
        // clang-format off
        row("fraction", "18.5", 18.5);                     row("empty", "", 0);
        row("segment header", "%22", 0);                   row("trailing letters", "12abc", 12);
        row("blanks join digits", " 600 400 18", 60040018); row("tab lf cr inside", "1\t2\n3\r4", 1234);
        row("other control stops", "1\v2", 1);             row("two signs", "--5", 0);
        row("minus point", "-.5", -0.5);                   row("second point stops", "1.2.3", 1.2);
        row("exponent d, negative", "2.5d-1", 0.25);       row("exponent with blanks", "1 E - 2", 0.01);
        row("exponent sign only", "7E+x", 7);
        row("underflow is zero", "1E-400", 0);
        row("negative zero", "-0", 0);                     row("non-ascii digit", QStringLiteral(u"\u0661"), 0);
        row("hex lower case", "&hff", 255);                row("hex 16-bit minus one", "&HFFFF", -1);
        row("hex 32-bit", "&H10000", 65536);               row("hex 32-bit lowest", "&H80000000", -2147483648.0);
        row("hex stops at non-digit", "&HFFG1", 255);      row("hex with blanks", "& H 1 F", 31);
        row("hex has no fraction", "&H1.8", 1);            row("octal", "&O777", 511);
        row("octal stops at 8", "&O78", 7);                row("unknown prefix", "&X1", 0);
        row("sign before prefix", "-&H10", 0);
        row("digits beyond kept ones", u'1' + zeros + "E-900", 1);
        row("leading fraction zeros", "0." + zeros + "1E901", 1);
        row("a million fraction zeros", u'.' + QString(1000000, u'0') + u'1', 0);
        row("beyond double", "1E400", kNaN);               row("hex beyond 32 bits", "&H100000000", kNaN);
        row("a million digits", QString(1000000, u'9'), kNaN);
        // clang-format on
    }
    void numericValue()
    {
        const QString &input = fetch<QString>("input");
        const double expected = fetch<double>("expected");
        QString description;
        if (std::isnan(expected)) {
            QCOMPARE(errorNumber([&] { (void)text::numericValue(input); }, &description),
                     kOverflow);
            QCOMPARE(description, QStringLiteral("Overflow"));
            return;
        }
        const double value = text::numericValue(input);
        QCOMPARE(value, expected);
        QVERIFY2(!std::signbit(value) || value < 0, "negative zero");
    }

    // Banker's rounding into 16 and 32 bits, and narrowing to a single (bits 0).
    void narrowing_data()
    {
        columns<int, double, double>({"bits", "value", "expected"});
        const auto row = [](const char *name, int bits, double value, double expected) {
            QTest::newRow(name) << bits << value << expected;
        };
        // clang-format off
        row("half down to even", 16, 2.5, 2);              row("half up to even", 16, 3.5, 4);
        row("minus one and a half", 16, -1.5, -2);         row("minus two and a half", 16, -2.5, -2);
        row("pause milliseconds", 16, double(0.6f) * 1000.0, 600);
        row("16-bit highest", 16, 32767.4, 32767);         row("past 16-bit highest", 16, 32767.5, kNaN);
        row("16-bit lowest", 16, -32768.5, -32768);        row("past 16-bit lowest", 16, -32768.6, kNaN);
        row("nan", 16, kNaN, kNaN);                        row("32-bit beyond 16 bits", 32, 40001.5, 40002);
        row("32-bit highest", 32, 2147483646.5, 2147483646); row("past 32-bit highest", 32, 2147483647.5, kNaN);
        row("32-bit lowest", 32, -2147483648.5, -2147483648.0); row("past 32-bit lowest", 32, -2147483648.6, kNaN);
        row("largest single", 0, 3.4028234e38, double(std::numeric_limits<float>::max())); row("tiny single is zero", 0, 1e-50, 0);
        row("beyond single", 0, 1e39, kNaN);               row("single nan", 0, kNaN, kNaN);
        // clang-format on
    }
    void narrowing()
    {
        const int bits = fetch<int>("bits");
        const double value = fetch<double>("value"), expected = fetch<double>("expected");
        const auto call = [&]() -> double {
            return bits == 16   ? text::roundHalfEven16(value)
                   : bits == 32 ? text::roundHalfEven32(value)
                                : double(text::toSingle(value));
        };
        if (std::isnan(expected))
            QCOMPARE(errorNumber([&] { (void)call(); }), kOverflow);
        else
            QCOMPARE(call(), expected);
    }

    // Latin-1 here; Windows uses its ANSI code page.
    void toSingleByte_data()
    {
        columns<QString, QByteArray>({"input", "bytes"});
        QTest::newRow("compressed label marker") << QString(QChar(0xF1)) << QByteArray("\xF1");
        QTest::newRow("nul kept") << QString(QChar(0)) << QByteArray(1, '\0');
        QTest::newRow("above 255") << QStringLiteral(u"a\u0100b") << QByteArray("a?b");
        QTest::newRow("outside the BMP is one character")
            << QStringLiteral(u"x\U0001F600y") << QByteArray("x?y");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u'z' << QByteArray("?z");
    }
    void toSingleByte()
    {
#ifdef Q_OS_WIN
        QSKIP("the expected bytes are those of Latin-1");
#endif
        QTEST(text::toSingleByte(fetch<QString>("input")), "bytes");
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString decoded = text::fromSingleByte(all);
        QCOMPARE(decoded.size(), 256);
        QCOMPARE(decoded.at(0xF1), QChar(0xF1));
        QCOMPARE(text::toSingleByte(decoded), all);
    }

    void tokens_data()
    {
        columns<QString, QStringList, int>({"input", "tokens", "finalPos"});
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
        const QString &input = fetch<QString>("input");
        text::TokenReader reader;
        for (const QString &expected : fetch<QStringList>("tokens"))
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
        const QString first = QStringLiteral("1 2"), second = QStringLiteral("3 4");
        QCOMPARE(reader.nextToken(first), QStringLiteral("1"));
        QCOMPARE(reader.nextToken(first), QStringLiteral("2"));
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

    // The place is a 16-bit number: a token that would move it past 32767 overflows, and the
    // place stays where it was.
    void positionLimit()
    {
        const QString tooLong = QStringLiteral("a ") + QString(32765, u'b');
        text::TokenReader reader;
        QCOMPARE(reader.nextToken(tooLong), QStringLiteral("a"));
        QCOMPARE(errorNumber([&] { (void)reader.nextToken(tooLong); }), kOverflow);
        QCOMPARE(int(reader.tokenPos()), 2);
        QCOMPARE(text::TokenReader().nextToken(QString(32766, u'a')).size(), 32766);
    }
    // error: for a text that is not read, the start of the reason
    void escapedBytes_data()
    {
        columns<QString, QByteArray, QString>({"text", "bytes", "error"});
        // clang-format off
        QTest::addRow("all four escapes") << "\\r\\n\\x07\\\\" << QByteArray("\r\n\x07\\") << QString();
        QTest::addRow("hex digits in either case, a high byte") << "\\x1b\\xFF!" << QByteArray("\x1b\xff!") << QString();
        QTest::addRow("a Latin-1 letter") << QString(QChar(0xE9)) << QByteArray("\xe9") << QString();
        QTest::addRow("no known escape") << "A\\q" << QByteArray() << "\\q is no escape";
        QTest::addRow("a lone backslash at the end") << "A\\" << QByteArray() << "a lone \\";
        QTest::addRow("one hex digit") << "\\x7" << QByteArray() << "\\x without two";
        QTest::addRow("no single-byte code") << QString(QChar(0x20AC)) << QByteArray() << "\"\u20ac\" has no";
        // clang-format on
    }
    void escapedBytes()
    {
        const QByteArray &bytes = fetch<QByteArray>("bytes");
        const text::EscapedBytes read = text::unescapeBytes(fetch<QString>("text"));
        QVERIFY2(read.error.english().startsWith(fetch<QString>("error")),
                 qPrintable(read.error.english()));
        QCOMPARE(read.ok(), fetch<QString>("error").isEmpty());
        QCOMPARE(read.bytes, read.ok() ? bytes : read.bytes);
        // What the try run shows of bytes reads back as the same bytes.
        QCOMPARE(text::unescapeBytes(text::escapeBytes(bytes)).bytes, bytes);
    }
};

QTEST_GUILESS_MAIN(tst_Text)
#include "tst_text.moc"
