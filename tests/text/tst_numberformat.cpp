#include "base/Error.h"
#include "text/NumberFormat.h"

#include "TestSupport.h"

#include <QTest>

#include <limits>

using namespace barlink;

class tst_NumberFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void forms_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("compact");
        QTest::addColumn<QString>("shortest"); // empty: the same as compact
        using F = std::numeric_limits<float>;
        const auto row
            = [](const char *name, float value, const char *compact, const char *shortest = "") {
                  QTest::newRow(name)
                      << value << QString::fromLatin1(compact) << QString::fromLatin1(shortest);
              };
        // clang-format off
        row("zero", 0.0f, "0");                                 row("negative zero", -0.0f, "0");
        row("half", 0.5f, ".5", "0.5");                         row("negative half", -0.5f, "-.5", "-0.5");
        row("whole", 800.0f, "800");                            row("fraction", 18.5f, "18.5");
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
        QFETCH(float, value);
        QFETCH(QString, compact);
        QFETCH(QString, shortest);
        QCOMPARE(text::formatSingleCompact(value), compact);
        QCOMPARE(text::formatSingleShortest(value), shortest.isEmpty() ? compact : shortest);
    }

    void nonFiniteOverflows()
    {
        using F = std::numeric_limits<float>;
        for (const float value : {F::infinity(), -F::infinity(), F::quiet_NaN()}) {
            QCOMPARE(testing::errorNumber([&] { (void)text::formatSingleCompact(value); }),
                     int(Error::Overflow));
            QCOMPARE(testing::errorNumber([&] { (void)text::formatSingleShortest(value); }),
                     int(Error::Overflow));
        }
    }
};

QTEST_GUILESS_MAIN(tst_NumberFormat)
#include "tst_numberformat.moc"
