// Trying labels: the rows reported are the rows a real scan of the same labels adds on a
// freshly started station, every status line text and message box that station shows is told,
// the exit status says how the labels ended, and nothing anywhere under the station's folders
// changes.
#include "StationRig.h"
#include "Tables.h"
#include "app/TryRun.h"
#include "program/CompressedLabel.h"
#include "text/EscapedBytes.h"

#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

using Rig = StationRig<FakeScannerPort>;

class tst_TryRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameRowsNothingWritten_data();
    void sameRowsNothingWritten();
};

void tst_TryRun::sameRowsNothingWritten_data()
{
    // because: a line of the account; said: a line of the standard error; status: the exit
    // status
    columns<QByteArray, QByteArrayList, int, QString, QString, int>(
        {"keys", "labels", "rows", "because", "said", "status"});
    const QByteArray program = "BAR.CNC^UN^X600^Y400!G71 X600 Y400 Z18\r\n(BAR)\r\nG0 X0 Y0";
    const QByteArray demoThenFieldN = program::makeCompressedLabel(u"DEMO").toLatin1() + "%N%";
    // clang-format off
    QTest::addRow("a program name, its companion CSV, the default field") << QByteArray("FieldCode_DFN=N\r\n") << QByteArrayList{"DEMO"} << 1 << "not written: companion CSV" << "DEMO: taken: sent once, field N" << 0;
    QTest::addRow("an item of two labels, the field from the table") << QByteArray() << QByteArrayList{"%12PANEL.CNC P X", "%22600 400 18"} << 1 << "field chosen from the table: piece 600 x 400 mm (taken as millimetres), normal fields, S first\n        FFS (S): fits, chosen" << "%22600 400 18: taken: sent once, field S" << 0;
    QTest::addRow("a mirror piece, sent twice") << MirrorKeys << QByteArrayList{"%12MIRDOOR.CNC N X", "%22500 300 18"} << 2 << "taken: sent twice (normal and mirrored), fields S, A" << "fields S, A" << 0;
    QTest::addRow("a piece too large for S goes to N") << QByteArray() << QByteArrayList{"%12BIG.CNC P X", "%221200 700 18"} << 1 << "FFS (S): needs x under 1000 and y under 600 mm, does not fit" << "field N" << 0;
    QTest::addRow("a small piece is taken as measured in inches") << QByteArray() << QByteArrayList{"%12SMALL.CNC P X", "%2220 10 1"} << 1 << "piece 20 x 10 in (under 140 x 60: taken as inches)" << "taken: sent once" << 0;
    QTest::addRow("a program barcode and a refused label in one") << QByteArray() << QByteArrayList{program, "%7x"} << 1 << "not written: program file" << "%7x: refused: " << 1;
    QTest::addRow("a program file that is none: held by its message box") << QByteArray("FieldCode_DFN=N\r\n") << QByteArrayList{"JUNK"} << 1 << "JUNK.CNC Not a proper program file" << "JUNK: held by a message box until it is answered, then taken: sent once, field N" << 1;
    QTest::newRow("a compressed label, %N% after it") << QByteArray("FieldCode_DFN=N\r\n") << QByteArrayList{demoThenFieldN} << 1 << "taken: sent once, field N" << ": taken: sent once, field N; taken\n" << 0;
    QTest::addRow("an item sent by a \"^\" label is not left waiting") << QByteArray() << QByteArrayList{"%12PANEL.CNC S X", "^"} << 1 << "item so far: program PANEL.CNC" << "The item was sent; the segments taken in before it (1) still count" << 0;
    QTest::addRow("an item left waiting for its second label") << QByteArray() << QByteArrayList{"%12PANEL.CNC S1 X"} << 0 << "item so far: program PANEL.CNC" << "The last item is not complete" << 3;
    // clang-format on
}

void tst_TryRun::sameRowsNothingWritten()
{
    const QByteArrayList &labels = fetch<QByteArrayList>("labels");
    const QString &because = fetch<QString>("because"), &said = fetch<QString>("said");
    QTemporaryDir dir;
    const QString root = dir.path();
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/xdg-data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/xdg-config")).toLocal8Bit());
    QVERIFY(
        Rig::prepare(root, QStringLiteral("memory"), SelectionKeys + fetch<QByteArray>("keys")));
    QVERIFY(
        writeBytes(root + QStringLiteral("/gcode/DEMO.CNC"), "G71 X800 Y600 Z18\r\n(DEMO)\r\n"));
    QVERIFY(writeBytes(root + QStringLiteral("/csvin/DEMO.CSV"), "1;2;3\r\n"));
    QVERIFY(writeBytes(root + QStringLiteral("/gcode/BAR.CNC"), "G71 X1 Y1 Z1\r\n(OLD)\r\n"));
    QVERIFY(writeBytes(root + QStringLiteral("/gcode/JUNK.CNC"), "M30\r\n(JUNK)\r\n"));

    const QString programDir = root + QStringLiteral("/program");
    const QString windowsDir = root + QStringLiteral("/windows");
    const QMap<QString, QByteArray> before = filesUnder(root);
    const app::TryRun::Result tried = app::TryRun(programDir, windowsDir).run(labels);
    QStringList arguments{QStringLiteral("barlink"), QStringLiteral("--try")};
    for (const QByteArray &label : labels)
        arguments << text::escapeBytes(label);
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QTEST(app::runTryCommand(arguments, programDir, windowsDir, outStream, errStream), "status");
    QCOMPARE(filesUnder(root), before);
    QTEST(int(tried.rows.size()), "rows");
    QCOMPARE(out, tried.rows.isEmpty() ? QString() : tried.rows.join(u'\n') + u'\n');
    QVERIFY2(tried.account.join(u'\n').contains(because), qPrintable(tried.account.join(u'\n')));
    QVERIFY2(err.contains(said), qPrintable(err));

    // A freshly started station, scanning the same labels.
    Rig rig(root);
    QVERIFY(rig.start());
    rig.display.statusHistory.clear();
    rig.prompter.shown.clear();
    for (const QByteArray &label : labels)
        rig.scanWithTicks(label);
    QCOMPARE(rig.store->rows(), tried.rows);
    // Every status line text and message box it showed is a line of the standard error.
    for (const QString &text : std::as_const(rig.display.statusHistory))
        QVERIFY2(err.contains(QStringLiteral("status line: ") + text),
                 qPrintable(text + u'\n' + err));
    for (QString text : rig.prompter.texts())
        QVERIFY2(err.contains(QStringLiteral("message box: ") + text.replace(u'\n', u' ')),
                 qPrintable(text + u'\n' + err));
}

QTEST_GUILESS_MAIN(tst_TryRun)
#include "tst_tryrun.moc"
