// Where the rows of an item land on the plan of the machine table: the field of their code and
// the piece to scale in it.
#include "fieldsel/AutoSelSettings.h"
#include "fieldsel/PiecePlan.h"

#include <QTest>

using namespace barlink::fieldsel;

using Places = QList<QRectF>; // per piece: its field, then the piece
Q_DECLARE_METATYPE(Places)

class tst_PiecePlan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void place_data();
    void place();
};

void tst_PiecePlan::place_data()
{
    QTest::addColumn<QString>("limits"); // "X Y" half limits in mm
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<Places>("places");
    QTest::addColumn<QList<bool>>("mirror");

    // The table is 2000 x 1200 mm: a 500 x 300 piece is a quarter of its length and depth.
    const QRectF frontLeft(0, 0.5, 0.5, 0.5);
    // clang-format off
    QTest::addRow("front field, against the front at the left end")
        << "1000 600" << QStringList{"S"} << 500.0 << 300.0
        << Places{frontLeft, {0, 0.75, 0.25, 0.25}} << QList<bool>{false};
    QTest::addRow("normal and mirror: the mirror at the right end")
        << "1000 600" << QStringList{"S", "A"} << 500.0 << 300.0
        << Places{frontLeft, {0, 0.75, 0.25, 0.25}, frontLeft, {0.25, 0.75, 0.25, 0.25}}
        << QList<bool>{false, true};
    QTest::addRow("back field: against the back")
        << "1000 600" << QStringList{"B"} << 500.0 << 300.0
        << Places{{0, 0, 1, 0.5}, {0, 0, 0.25, 0.25}} << QList<bool>{false};
    QTest::addRow("the enabled slot of a shared code")
        << "1000 600" << QStringList{"Q"} << 500.0 << 300.0
        << Places{{0.5, 0, 0.5, 1}, {0.5, 0.75, 0.25, 0.25}} << QList<bool>{false};
    QTest::addRow("a piece larger than its field fills it")
        << "1000 600" << QStringList{"S"} << 3000.0 << 300.0
        << Places{frontLeft, {0, 0.75, 0.5, 0.25}} << QList<bool>{false};
    QTest::addRow("no half limits: the field without the piece")
        << "0 600" << QStringList{"N"} << 500.0 << 300.0
        << Places{{0, 0, 1, 1}, {}} << QList<bool>{false};
    // clang-format on
}

void tst_PiecePlan::place()
{
    QFETCH(QString, limits);
    QFETCH(QStringList, codes);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(Places, places);
    QFETCH(QList<bool>, mirror);

    AutoSelSettings settings;
    settings.setHalfLimitX(limits.section(u' ', 0, 0));
    settings.setHalfLimitY(limits.section(u' ', 1, 1));
    const std::pair<FieldSlot, const char *> codesBySlot[] = {{FieldSlot::SFN, "N"},
                                                              {FieldSlot::FFS, "S"},
                                                              {FieldSlot::FFA, "A"},
                                                              {FieldSlot::BFN, "B"},
                                                              {FieldSlot::SFS, "Q"},
                                                              {FieldSlot::SFT, "Q"}};
    for (const auto &[slot, code] : codesBySlot)
        settings.setCode(slot, QLatin1String(code));
    for (FieldSlot slot : {FieldSlot::FFS, FieldSlot::FFA, FieldSlot::BFN, FieldSlot::SFT})
        settings.setEnableFlag(slot, 1);

    const std::vector<PlacedPiece> placed = placePieces(settings, codes, x, y);
    QCOMPARE(placed.size(), std::size_t(codes.size()));
    for (std::size_t i = 0; i < placed.size(); ++i) {
        QCOMPARE(placed[i].field, places.at(qsizetype(2 * i)));
        QCOMPARE(placed[i].piece, places.at(qsizetype(2 * i + 1)));
        QCOMPARE(placed[i].mirror, mirror.at(qsizetype(i)));
    }
}

QTEST_GUILESS_MAIN(tst_PiecePlan)
#include "tst_pieceplan.moc"
