#include "base/Error.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"

#include "TestSupport.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace barlink;
using testing::errorNumber;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kOverflow = int(Error::Overflow);

} // namespace

// Expected values of NaN in these tables stand for the overflow error.
class tst_NumericValue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numericValue_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<double>("expected");
        const auto row = [](const char *name, const QString &input, double expected) {
            QTest::newRow(name) << input << expected;
        };
        const QString zeros(900, u'0');
        // clang-format off
        row("whole", "600", 600);                          row("fraction", "18.5", 18.5);
        row("empty", "", 0);                               row("segment header", "%22", 0);
        row("trailing letters", "12abc", 12);              row("blanks join digits", " 600 400 18", 60040018);
        row("tab lf cr inside", "1\t2\n3\r4", 1234);        row("other control stops", "1\v2", 1);
        row("minus", "-5", -5);                            row("two signs", "--5", 0);
        row("minus point", "-.5", -0.5);                   row("second point stops", "1.2.3", 1.2);
        row("exponent E", "1E3", 1000);                    row("exponent D", "1D3", 1000);
        row("exponent d, negative", "2.5d-1", 0.25);       row("exponent with blanks", "1 E - 2", 0.01);
        row("exponent sign only", "7E+x", 7);
        row("underflow is zero", "1E-400", 0);
        row("negative zero", "-0", 0);                     row("non-ascii digit", QStringLiteral(u"\u0661"), 0);
        row("hex", "&HFF", 255);                           row("hex lower case", "&hff", 255);
        row("hex 16-bit minus one", "&HFFFF", -1);         row("hex leading zeros", "&H0000FFFF", -1);
        row("hex 32-bit", "&H10000", 65536);               row("hex 32-bit lowest", "&H80000000", -2147483648.0);
        row("hex stops at non-digit", "&HFFG1", 255);      row("hex with blanks", "& H 1 F", 31);
        row("hex has no fraction", "&H1.8", 1);            row("octal", "&O777", 511);
        row("octal 16-bit minus one", "&o177777", -1);     row("octal stops at 8", "&O78", 7);
        row("unknown prefix", "&X1", 0);                   row("sign before prefix", "-&H10", 0);
        row("digits beyond kept ones", u'1' + zeros + "E-900", 1);
        row("leading fraction zeros", "0." + zeros + "1E901", 1);
        row("a million fraction zeros", u'.' + QString(1000000, u'0') + u'1', 0);
        row("beyond double", "1E400", kNaN);               row("hex beyond 32 bits", "&H100000000", kNaN);
        row("a million digits", QString(1000000, u'9'), kNaN);
        // clang-format on
    }
    void numericValue()
    {
        QFETCH(QString, input);
        QFETCH(double, expected);
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
        QTest::addColumn<int>("bits");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
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
        row("single", 0, 600, 600);                        row("largest single", 0, 3.4028234e38, double(std::numeric_limits<float>::max()));
        row("tiny single is zero", 0, 1e-50, 0);           row("beyond single", 0, 1e39, kNaN);
        row("single nan", 0, kNaN, kNaN);
        // clang-format on
    }
    void narrowing()
    {
        QFETCH(int, bits);
        QFETCH(double, value);
        QFETCH(double, expected);
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
};

QTEST_GUILESS_MAIN(tst_NumericValue)
#include "tst_numericvalue.moc"
