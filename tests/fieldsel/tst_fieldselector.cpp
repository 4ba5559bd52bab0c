#include "app/Error.h"
#include "app/Settings.h"
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
    app::Settings settings;
    AutoSelSettingsProvider provider{settings};
    FieldSelector selector{provider};

    // enabled: slot keys, each with an optional "=flag" (1 when left out).
    explicit Station(const QStringList &enabled = {})
    {
        settings.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI")); // no file
        AutoSelSettings &model = provider.settings();
        for (FieldSlot slot : AllFieldSlots) {
            model.setCode(slot, slotKey(slot));
            model.setEnableFlag(slot, enabled.isEmpty() ? 1 : 0);
        }
        for (const QString &item : enabled) {
            const QString key = item.section('=', 0, 0);
            for (FieldSlot slot : AllFieldSlots) {
                if (slotKey(slot) == key)
                    model.setEnableFlag(
                        slot, qint16(item.contains('=') ? item.section('=', 1).toInt() : 1));
            }
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
    void select_data();
    void select();
    void limitOverflow_data();
    void limitOverflow();
    void settingsLoadedAtFirstSelection();
};

void tst_FieldSelector::select_data()
{
    // Slots enabled (all when empty), steps, piece, and the codes the selections return.
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QString>("expected");

    // clang-format off
    QTest::newRow("fits both")                 << ""          << "0"     << 500.f  << 300.f << "FFS";
    QTest::newRow("x only: standard slot")     << ""          << "0"     << 500.f  << 700.f << "SFS";
    QTest::newRow("y only: front N")           << ""          << "0"     << 1500.f << 300.f << "FFN";
    QTest::newRow("neither: fallback")         << ""          << "0"     << 1500.f << 700.f << "SFN";
    QTest::newRow("x equal to limit")          << ""          << "0"     << 1000.f << 300.f << "FFN";
    QTest::newRow("y equal to limit")          << ""          << "0"     << 500.f  << 600.f << "SFS";
    QTest::newRow("mirror group")              << ""          << "1"     << 500.f  << 300.f << "FFA";
    QTest::newRow("mirror y only")             << ""          << "1"     << 1500.f << 300.f << "FFM";
    QTest::newRow("only a back slot")          << "BFT"       << "0"     << 500.f  << 300.f << "BFT";
    QTest::newRow("flag 2 is disabled")        << "FFS=2,BFS" << "0"     << 500.f  << 300.f << "BFS";
    QTest::newRow("nothing enabled")           << "none"      << "0"     << 500.f  << 300.f << "SFN";
    QTest::newRow("T first: FFN before SFS")   << "SFS,FFN"   << "7:T,0" << 500.f  << 300.f << "FFN";
    QTest::newRow("R first: SFA before FFM")   << "SFA,FFM"   << "7:R,1" << 500.f  << 300.f << "SFA";
    // Below 140 by 60 the piece is in inches: the limits become 39.37 and 23.622.
    QTest::newRow("inches: too big")           << ""          << "0"     << 139.9f << 59.9f << "SFN";
    QTest::newRow("inches: fits")              << ""          << "0"     << 39.f   << 23.f  << "FFS";
    QTest::newRow("inches: x just over")       << ""          << "0"     << 39.5f  << 23.f  << "FFN";
    QTest::newRow("x 140 is millimetres")      << ""          << "0"     << 140.f  << 30.f  << "FFS";
    QTest::newRow("y 60 is millimetres")       << ""          << "0"     << 30.f   << 60.f  << "FFS";

    QTest::newRow("mode 8: normal S, mirror R")        << "" << "8,8,8,8"  << 500.f << 300.f << "FFS,FFR,FFS,FFR";
    QTest::newRow("mode 0: S and T in turn")           << "" << "0,0,0"    << 500.f << 300.f << "FFS,FFT,FFS";
    QTest::newRow("mode 1: A and R in turn")           << "" << "1,1"      << 500.f << 300.f << "FFA,FFR";
    QTest::newRow("only FFS, though T is tried first") << "FFS" << "0,0"   << 500.f << 300.f << "FFS,FFS";
    QTest::newRow("field code R: mode 0 mirrors once") << "" << "6:R,0,0"  << 500.f << 300.f << "FFR,FFS";
    QTest::newRow("mode 7 seeds, group unforced")      << "" << "7:R,0,8"  << 500.f << 300.f << "FFT,FFA";
    QTest::newRow("seed A, item sent twice")           << "" << "6:A,8,8"  << 500.f << 300.f << "FFA,FFT";
    QTest::newRow("seed N1")                           << "" << "8,7:N1,8" << 500.f << 300.f << "FFS,FFS";
    QTest::newRow("seed M/0")                          << "" << "6:M/0,0"  << 500.f << 300.f << "FFR";
    QTest::newRow("lower case seed: no change")        << "" << "8,7:s,8"  << 500.f << 300.f << "FFS,FFR";
    QTest::newRow("space seed: no change")             << "" << "8,7: ,8"  << 500.f << 300.f << "FFS,FFR";
    QTest::newRow("empty seed, mode 6 still forces")   << "" << "8,6:,0"   << 500.f << 300.f << "FFS,FFR";
    // clang-format on
}

void tst_FieldSelector::select()
{
    QFETCH(QString, enabled);
    QFETCH(QString, steps);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QString, expected);

    Station station(enabled.isEmpty() ? QStringList() : enabled.split(','));
    QCOMPARE(station.run(steps.split(','), x, y).join(','), expected);
}

void tst_FieldSelector::limitOverflow_data()
{
    QTest::addColumn<QString>("limitX");
    QTest::addColumn<float>("x");
    QTest::addColumn<bool>("throws");

    QTest::newRow("millimetres beyond single") << "1E39" << 500.f << true;
    QTest::newRow("inches bring it in range") << "1E39" << 30.f << false;
    QTest::newRow("beyond double") << "1E400" << 500.f << true;
    QTest::newRow("not a number counts 0") << "abc" << 500.f << false;
}

void tst_FieldSelector::limitOverflow()
{
    QFETCH(QString, limitX);
    QFETCH(float, x);
    QFETCH(bool, throws);

    Station station;
    station.provider.settings().setHalfLimitX(limitX);
    (void)station.selector.autoSelectField(6, 0, 0, QStringLiteral("R"));
    int error = 0;
    try {
        (void)station.selector.autoSelectField(0, x, 20);
    } catch (const Error &e) {
        error = e.number();
    }
    QCOMPARE(error, throws ? int(Error::Overflow) : 0);
    // A failed selection uses up the pending seed and turns nothing else.
    using Alternation = FieldSelector::Alternation;
    QCOMPARE(station.selector.alternation(),
             throws ? (Alternation{true, true, false}) : (Alternation{false, false, false}));
}

void tst_FieldSelector::settingsLoadedAtFirstSelection()
{
    QTemporaryDir dir;
    app::Settings settings;
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

QTEST_GUILESS_MAIN(tst_FieldSelector)
#include "tst_fieldselector.moc"
