// Trying labels: the rows reported are the rows a real scan of the same labels adds, and
// nothing anywhere under the station's folders changes.
#include "StationRig.h"
#include "app/TryRun.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

using Rig = StationRig<FakeScannerPort>;

// Every file under root with its bytes.
QMap<QString, QByteArray> filesUnder(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, readBytes(path));
    }
    return files;
}

} // namespace

class tst_TryRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameRowsNothingWritten_data();
    void sameRowsNothingWritten();
};

void tst_TryRun::sameRowsNothingWritten_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QByteArrayList>("labels");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("because"); // a line of the account

    const QByteArray program = "BAR.CNC^UN^X600^Y400!G71 X600 Y400 Z18\r\n(BAR)\r\nG0 X0 Y0";
    // clang-format off
    QTest::addRow("a program name, its companion CSV, the default field")
        << QByteArray("FieldCode_DFN=N\r\n") << QByteArrayList{"DEMO"} << 1
        << "not written: companion CSV";
    QTest::addRow("an item of two labels, the field from the table")
        << QByteArray() << QByteArrayList{"%12PANEL.CNC P X", "%22600 400 18"} << 1
        << "field chosen from the table: piece 600 x 400 mm (taken as millimetres), normal fields, S first\n        FFS (S): fits, chosen";
    QTest::addRow("a mirror piece, sent twice")
        << MirrorKeys << QByteArrayList{"%12MIRDOOR.CNC N X", "%22500 300 18"} << 2
        << "taken: sent twice (normal and mirrored), fields S, A";
    QTest::addRow("a piece too large for S goes to N")
        << QByteArray() << QByteArrayList{"%12BIG.CNC P X", "%221200 700 18"} << 1
        << "FFS (S): needs x under 1000 and y under 600 mm, does not fit";
    QTest::addRow("a small piece is taken as measured in inches")
        << QByteArray() << QByteArrayList{"%12SMALL.CNC P X", "%2220 10 1"} << 1
        << "piece 20 x 10 in (under 140 x 60: taken as inches)";
    QTest::addRow("a program barcode and a refused label in one")
        << QByteArray() << QByteArrayList{program, "%7x"} << 1
        << "not written: program file";
    // clang-format on
}

void tst_TryRun::sameRowsNothingWritten()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArrayList, labels);
    QFETCH(int, rows);
    QFETCH(QString, because);

    QTemporaryDir dir;
    const QString root = dir.path();
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/xdg-data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/xdg-config")).toLocal8Bit());
    QVERIFY(Rig::prepare(root, QStringLiteral("memory"), SelectionKeys + keys));
    QVERIFY(
        writeBytes(root + QStringLiteral("/gcode/DEMO.CNC"), "G71 X800 Y600 Z18\r\n(DEMO)\r\n"));
    QVERIFY(writeBytes(root + QStringLiteral("/csvin/DEMO.CSV"), "1;2;3\r\n"));
    QVERIFY(writeBytes(root + QStringLiteral("/gcode/BAR.CNC"), "G71 X1 Y1 Z1\r\n(OLD)\r\n"));

    const QMap<QString, QByteArray> before = filesUnder(root);
    const app::TryRun::Result tried
        = app::TryRun(root + QStringLiteral("/program"), root + QStringLiteral("/windows"))
              .run(labels);
    QCOMPARE(filesUnder(root), before);
    QCOMPARE(tried.rows.size(), rows);
    QVERIFY2(tried.account.join(u'\n').contains(because), qPrintable(tried.account.join(u'\n')));

    Rig rig(root);
    QVERIFY(rig.start());
    // A station that has sent items before, as the try run takes it.
    rig.station.item().resetItem();
    for (const QByteArray &label : labels)
        rig.scanWithTicks(label);
    QCOMPARE(rig.store->rows(), tried.rows);
    QCOMPARE(tried.allTaken, !labels.contains("%7x"));
}

QTEST_GUILESS_MAIN(tst_TryRun)
#include "tst_tryrun.moc"
