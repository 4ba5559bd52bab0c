#include "app/Error.h"
#include "text/NumberFormat.h"

#include <QTest>

#include <limits>

using namespace barlink;

class tst_NumberFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void forms_data();
    void forms();
    void nonFinite_data();
    void nonFinite();
};

void tst_NumberFormat::forms_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("compact");
    QTest::addColumn<QString>("shortest");

    const auto add = [](const char *name, float value, const char *compact, const char *shortest) {
        QTest::newRow(name) << value << QString::fromLatin1(compact)
                            << QString::fromLatin1(shortest);
    };

    add("zero", 0.0f, "0", "0");
    add("negative zero", -0.0f, "0", "0");
    add("half", 0.5f, ".5", "0.5");
    add("negative half", -0.5f, "-.5", "-0.5");
    add("whole", 800.0f, "800", "800");
    add("fraction", 18.5f, "18.5", "18.5");
    add("one tenth", 0.1f, ".1", "0.1");
    add("third", 1.0f / 3.0f, ".3333333", "0.3333333");
    add("two thirds rounds up", 2.0f / 3.0f, ".6666667", "0.6666667");
    add("seven digit whole", 9999999.0f, "9999999", "9999999");
    add("tie rounds to even", 1234567.5f, "1234568", "1234568");
    add("ten million", 10000000.0f, "1E+07", "1E+07");
    add("eight digits", 12345678.0f, "1.234568E+07", "1.234568E+07");
    add("rounds up to next power", 99999999.0f, "1E+08", "1E+08");
    add("largest float", std::numeric_limits<float>::max(), "3.402823E+38", "3.402823E+38");
    add("small plain", 0.00001f, ".00001", "0.00001");
    add("smallest plain", 1e-7f, ".0000001", "0.0000001");
    add("one digit too many", 1.5e-7f, "1.5E-07", "1.5E-07");
    add("negative very small", -1e-8f, "-1E-08", "-1E-08");
    add("small with many digits", 1.234567e-4f, "1.234567E-04", "1.234567E-04");
    add("smallest float", std::numeric_limits<float>::denorm_min(), "1.401298E-45", "1.401298E-45");
}

void tst_NumberFormat::forms()
{
    QFETCH(float, value);
    QFETCH(QString, compact);
    QFETCH(QString, shortest);
    QCOMPARE(text::formatSingleCompact(value), compact);
    QCOMPARE(text::formatSingleShortest(value), shortest);
}

void tst_NumberFormat::nonFinite_data()
{
    QTest::addColumn<float>("value");
    QTest::newRow("infinity") << std::numeric_limits<float>::infinity();
    QTest::newRow("negative infinity") << -std::numeric_limits<float>::infinity();
    QTest::newRow("nan") << std::numeric_limits<float>::quiet_NaN();
}

void tst_NumberFormat::nonFinite()
{
    QFETCH(float, value);
    QVERIFY_THROWS_EXCEPTION(Error, (void)text::formatSingleCompact(value));
    QVERIFY_THROWS_EXCEPTION(Error, (void)text::formatSingleShortest(value));
}

QTEST_GUILESS_MAIN(tst_NumberFormat)
#include "tst_numberformat.moc"
