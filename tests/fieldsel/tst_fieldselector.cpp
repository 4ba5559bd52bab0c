#include "TestSupport.h"
#include "base/Error.h"
#include "base/Settings.h"
#include "fieldsel/AutoSelSettings.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelector.h"

#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::fieldsel;

namespace {

// A selector over settings whose codes are the slot keys, with the given slots enabled
// (all when none are named) and half limits of 1000 in X and 600 in Y.
struct Station
{
    QTemporaryDir dir;
    base::Settings settings;
    AutoSelSettingsProvider provider{settings};
    FieldSelector selector{provider};

    // enabled: slot keys, each with an optional "=flag" (1 when left out).
    explicit Station(const QStringList &enabled = {})
    {
        settings.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI")); // no file
        AutoSelSettings &model = provider.settings();
        for (FieldSlot slot : AllFieldSlots) {
            model.setCode(slot, slotKey(slot));
            qint16 flag = enabled.isEmpty() ? 1 : 0;
            for (const QString &item : enabled) {
                if (item.section('=', 0, 0) == slotKey(slot))
                    flag = qint16(item.contains('=') ? item.section('=', 1).toInt() : 1);
            }
            model.setEnableFlag(slot, flag);
        }
        model.setHalfLimitX(QStringLiteral("1000"));
        model.setHalfLimitY(QStringLiteral("600"));
    }

    // Steps: "0", "1", "8" select with the piece; "6:R", "7:s" seed from a run field.
    QStringList run(const QStringList &steps, float x = 500, float y = 300)
    {
        QStringList chosen;
        for (const QString &step : steps) {
            const int mode = step.left(1).toInt();
            if (mode == 6 || mode == 7) {
                if (!selector.autoSelectField(mode, 0, 0, step.mid(2)).isEmpty())
                    chosen << QStringLiteral("seed returned a code");
            } else {
                chosen << selector.autoSelectField(mode, x, y);
            }
        }
        return chosen;
    }
};

} // namespace

class tst_FieldSelector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void select_data()
    {
        // Slots enabled (all when empty), steps, piece, and the codes the selections return.
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<QString>("expected");

        // clang-format off
        const auto add = [](const char *name, const char *enabled, const char *steps,
                            const char *expected, float x = 500, float y = 300) {
            QTest::newRow(name) << QString(enabled) << QString(steps) << x << y
                                << QString(expected);
        };
        add("fits both", "", "0", "FFS");
        add("x only: standard slot", "", "0", "SFS", 500, 700);
        add("y only: front N", "", "0", "FFN", 1500, 300);
        add("neither: fallback", "", "0", "SFN", 1500, 700);
        add("x equal to limit", "", "0", "FFN", 1000, 300);
        add("y equal to limit", "", "0", "SFS", 500, 600);
        add("mirror group", "", "1", "FFA");
        add("mirror y only", "", "1", "FFM", 1500, 300);
        add("only a back slot", "BFT", "0", "BFT");
        add("flag 2 is disabled", "FFS=2,BFS", "0", "BFS");
        add("nothing enabled", "none", "0", "SFN");
        add("T first: FFN before SFS", "SFS,FFN", "7:T,0", "FFN");
        add("R first: SFA before FFM", "SFA,FFM", "7:R,1", "SFA");
        // Below 140 by 60 the piece is in inches: the limits become 39.37 and 23.622.
        add("inches: too big", "", "0", "SFN", 139.9f, 59.9f);
        add("inches: fits", "", "0", "FFS", 39, 23);
        add("inches: x just over", "", "0", "FFN", 39.5f, 23);
        add("x 140 is millimetres", "", "0", "FFS", 140, 30);
        add("y 60 is millimetres", "", "0", "FFS", 30, 60);

        add("mode 8: normal S, mirror R", "", "8,8,8,8", "FFS,FFR,FFS,FFR");
        add("mode 0: S and T in turn", "", "0,0,0", "FFS,FFT,FFS");
        add("mode 1: A and R in turn", "", "1,1", "FFA,FFR");
        add("only FFS, though T is tried first", "FFS", "0,0", "FFS,FFS");
        add("field code R: mode 0 mirrors once", "", "6:R,0,0", "FFR,FFS");
        add("mode 7 seeds, group unforced", "", "7:R,0,8", "FFT,FFA");
        add("seed A, item sent twice", "", "6:A,8,8", "FFA,FFT");
        add("seed N1", "", "8,7:N1,8", "FFS,FFS");
        add("seed M/0", "", "6:M/0,0", "FFR");
        add("lower case seed: no change", "", "8,7:s,8", "FFS,FFR");
        add("empty seed, mode 6 still forces", "", "8,6:,0", "FFS,FFR");
        // clang-format on
    }

    void select()
    {
        QFETCH(QString, enabled);
        QFETCH(QString, steps);
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(QString, expected);

        Station station(enabled.isEmpty() ? QStringList() : enabled.split(','));
        QCOMPARE(station.run(steps.split(','), x, y).join(','), expected);
    }

    void limitOverflow_data()
    {
        QTest::addColumn<QString>("limitX");
        QTest::addColumn<float>("x");
        QTest::addColumn<bool>("throws");

        QTest::newRow("millimetres beyond single") << "1E39" << 500.f << true;
        QTest::newRow("inches bring it in range") << "1E39" << 30.f << false;
        QTest::newRow("beyond double") << "1E400" << 500.f << true;
        QTest::newRow("not a number counts 0") << "abc" << 500.f << false;
    }

    void limitOverflow()
    {
        QFETCH(QString, limitX);
        QFETCH(float, x);
        QFETCH(bool, throws);

        Station station;
        station.provider.settings().setHalfLimitX(limitX);
        (void)station.selector.autoSelectField(6, 0, 0, QStringLiteral("R"));
        QCOMPARE(testing::errorNumber([&] { (void)station.selector.autoSelectField(0, x, 20); }),
                 throws ? int(Error::Overflow) : 0);
        // A failed selection uses up the pending seed and turns nothing else.
        using Alternation = FieldSelector::Alternation;
        QCOMPARE(station.selector.alternation(),
                 throws ? (Alternation{true, true, false}) : (Alternation{false, false, false}));
    }

    void settingsLoadedAtFirstSelection()
    {
        QTemporaryDir dir;
        base::Settings settings;
        settings.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI"));
        AutoSelSettingsProvider provider(settings);
        FieldSelector selector(provider);

        (void)selector.autoSelectField(6, 0, 0, QStringLiteral("S"));
        (void)selector.autoSelectField(7, 0, 0, QStringLiteral("S"));
        QVERIFY(!provider.isLoaded());
        // No keys at all: nothing is enabled and the fallback's code is empty.
        QCOMPARE(selector.autoSelectField(0, 500, 300), QString());
        QVERIFY(provider.isLoaded());
    }
};

QTEST_GUILESS_MAIN(tst_FieldSelector)
#include "tst_fieldselector.moc"
