#include "app/Error.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace barlink;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Runs call and checks that it raises exactly the overflow error.
template<typename Call> void verifyOverflow(Call call)
{
    try {
        (void)call();
        QFAIL("no error raised");
    } catch (const Error &error) {
        QCOMPARE(error.number(), int(Error::Overflow));
        QCOMPARE(error.description(), QStringLiteral("Overflow"));
    }
}

} // namespace

class tst_NumericValue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numericValue_data();
    void numericValue();
    void roundHalfEven_data();
    void roundHalfEven();
    void toSingle_data();
    void toSingle();
};

void tst_NumericValue::numericValue_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<double>("expected");
    QTest::addColumn<bool>("overflows");
    const auto add = [](const char *name, const QString &input, double expected) {
        QTest::newRow(name) << input << expected << false;
    };
    const auto addOverflow = [](const char *name, const QString &input) {
        QTest::newRow(name) << input << 0.0 << true;
    };

    add("whole", "600", 600);
    add("fraction", "18.5", 18.5);
    add("empty", "", 0);
    add("segment header", "%22", 0);
    add("trailing letters", "12abc", 12);
    add("leading blank", " 600", 600);
    add("blanks inside join digits", "600 400 18", 60040018);
    add("tab lf cr inside", "1\t2\n3\r4", 1234);
    add("other control stops", "1\v2", 1);
    add("minus", "-5", -5);
    add("blank after sign", "- 5", -5);
    add("two signs", "--5", 0);
    add("point first", ".5", 0.5);
    add("minus point", "-.5", -0.5);
    add("point last", "5.", 5);
    add("second point stops", "1.2.3", 1.2);
    add("comma stops", "1,5", 1);
    add("exponent E", "1E3", 1000);
    add("exponent D", "1D3", 1000);
    add("exponent d", "2.5d-1", 0.25);
    add("negative exponent", "1.5E-2", 0.015);
    add("exponent with blanks", "1 E - 2", 0.01);
    add("exponent sign only", "7E+x", 7);
    add("exponent alone", "E5", 0);
    add("point then exponent", ".E5", 0);
    add("zero with huge exponent", "0E99999", 0);
    add("underflow is zero", "1E-400", 0);
    add("negative zero", "-0", 0);
    add("non-ascii digit", QString::fromUtf8("\xd9\xa1"), 0);
    add("hex", "&HFF", 255);
    add("hex lower case", "&hff", 255);
    add("hex 16-bit minus one", "&HFFFF", -1);
    add("hex 16-bit lowest", "&H8000", -32768);
    add("hex leading zeros still 16-bit", "&H0000FFFF", -1);
    add("hex 32-bit", "&H10000", 65536);
    add("hex 32-bit lowest", "&H80000000", -2147483648.0);
    add("hex stops at non-digit", "&HFFG1", 255);
    add("hex with blanks", "& H 1 F", 31);
    add("hex without digits", "&H", 0);
    add("hex has no fraction", "&H1.8", 1);
    add("octal", "&O777", 511);
    add("octal 16-bit minus one", "&o177777", -1);
    add("octal stops at 8", "&O78", 7);
    add("unknown prefix", "&X1", 0);
    add("sign before prefix", "-&H10", 0);

    const QString zeros(900, u'0');
    add("digits beyond the kept ones count", u'1' + zeros + QStringLiteral("E-900"), 1);
    add("leading fraction zeros count", QStringLiteral("0.") + zeros + QStringLiteral("1E901"), 1);
    add("a million blanks", QString(1000000, u' ') + QStringLiteral("42"), 42);
    add("a million fraction zeros", u'.' + QString(1000000, u'0') + u'1', 0);
    add("a million hex zeros", QStringLiteral("&H") + QString(1000000, u'0') + u'F', 15);

    addOverflow("beyond double", "1E400");
    addOverflow("a million digits", QString(1000000, u'9'));
    addOverflow("hex beyond 32 bits", "&H100000000");
    addOverflow("octal beyond 32 bits", "&O40000000000");
}

void tst_NumericValue::numericValue()
{
    QFETCH(QString, input);
    QFETCH(double, expected);
    QFETCH(bool, overflows);

    if (overflows) {
        verifyOverflow([&] { return text::numericValue(input); });
        return;
    }
    const double value = text::numericValue(input);
    QCOMPARE(value, expected);
    QVERIFY2(!std::signbit(value) || value < 0, "negative zero");
}

void tst_NumericValue::roundHalfEven_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<bool>("overflows");
    const auto add = [](const char *name, int bits, double value, qint64 expected) {
        QTest::newRow(name) << bits << value << expected << false;
    };
    const auto addOverflow = [](const char *name, int bits, double value) {
        QTest::newRow(name) << bits << value << qint64(0) << true;
    };

    add("half down to even", 16, 2.5, 2);
    add("half up to even", 16, 3.5, 4);
    add("half to zero", 16, 0.5, 0);
    add("negative one and a half", 16, -1.5, -2);
    add("negative two and a half", 16, -2.5, -2);
    add("pause milliseconds", 16, double(0.6f) * 1000.0, 600);
    add("16-bit highest", 16, 32767.4, 32767);
    addOverflow("rounds past 16-bit highest", 16, 32767.5);
    add("16-bit lowest by rounding", 16, -32768.5, -32768);
    addOverflow("rounds past 16-bit lowest", 16, -32768.6);
    addOverflow("16-bit nan", 16, kNaN);
    add("32-bit beyond 16 bits", 32, 40001.5, 40002);
    add("32-bit highest by rounding", 32, 2147483646.5, 2147483646);
    addOverflow("rounds past 32-bit highest", 32, 2147483647.5);
    add("32-bit lowest by rounding", 32, -2147483648.5, -2147483648LL);
    addOverflow("rounds past 32-bit lowest", 32, -2147483648.6);
    addOverflow("32-bit nan", 32, kNaN);
}

void tst_NumericValue::roundHalfEven()
{
    QFETCH(int, bits);
    QFETCH(double, value);
    QFETCH(qint64, expected);
    QFETCH(bool, overflows);

    const auto call = [&]() -> qint64 {
        return bits == 16 ? text::roundHalfEven16(value) : text::roundHalfEven32(value);
    };
    if (overflows)
        verifyOverflow(call);
    else
        QCOMPARE(call(), expected);
}

void tst_NumericValue::toSingle_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<float>("expected");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("dimension") << 600.0 << 600.0f << false;
    QTest::newRow("largest float") << 3.4028234e38 << std::numeric_limits<float>::max() << false;
    QTest::newRow("tiny becomes zero") << 1e-50 << 0.0f << false;
    QTest::newRow("beyond float") << 1e39 << 0.0f << true;
    QTest::newRow("nan") << kNaN << 0.0f << true;
}

void tst_NumericValue::toSingle()
{
    QFETCH(double, value);
    QFETCH(float, expected);
    QFETCH(bool, overflows);

    if (overflows)
        verifyOverflow([&] { return text::toSingle(value); });
    else
        QCOMPARE(text::toSingle(value), expected);
}

QTEST_GUILESS_MAIN(tst_NumericValue)
#include "tst_numericvalue.moc"
