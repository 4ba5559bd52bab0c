// Program barcodes: the label forms, the header fields, the program file written from the
// label, dimensions taken from it, the rows sent, and labels abandoned on failure.

#include "Fakes.h"
#include "app/Options.h"
#include "app/Settings.h"
#include "fieldsel/AutoSelSettingsProvider.h"
#include "fieldsel/FieldSelector.h"
#include "label/CurrentItem.h"
#include "program/ProgramBarcode.h"
#include "program/listmanager/EmbeddedListManagerProvider.h"
#include "program/listmanager/ListManagerLink.h"
#include "program/listmanager/ListStore.h"
#include "program/listmanager/RunState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

// S for a piece within the half limits, N otherwise; A for the mirrored one.
const QByteArray SelectionKeys = "FieldCode_FFS=S\r\nFieldFlag_FFS= 1\r\nFieldCode_FFA=A\r\n"
                                 "FieldFlag_FFA= 1\r\nFieldCode_SFN=N\r\nFieldCode_SFM=M\r\n"
                                 "HalfLimitX=1000\r\nHalfLimitY=600\r\n";
const QByteArray MirrorKeys = SelectionKeys
                              + "AutoSelSetting=1\r\nPNameMSel=0\r\nPNameNandMText=MIR\r\n"
                                "PNameNandMLR=-1\r\nPNameNandMCPos=1\r\n";

// An ISO program of 900 x 700 x 20 with the comment LEFT DOOR.
const QString Iso = QStringLiteral("G71 X900 Y700 Z20\r\n(LEFT DOOR)\r\nG0 X1 Y1\r\nM30");

QString rowField(const QString &row, int number)
{
    const QString key = QLatin1Char('#') + QString::number(number) + QLatin1Char('=');
    const qsizetype start = row.indexOf(key) + key.size();
    return row.mid(start, row.indexOf(QLatin1Char(';'), start) - start);
}

// Program, work field number, dimensions and comment of a row.
QString summary(const QString &row)
{
    return QStringLiteral("%1 f%2 %3x%4x%5 c:%6")
        .arg(rowField(row, 161),
             rowField(row, 171),
             rowField(row, 168),
             rowField(row, 169),
             rowField(row, 170),
             rowField(row, 162));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Rig
{
    explicit Rig(const QByteArray &ini = SelectionKeys)
        : root(dir.path())
        , store(std::make_shared<listmanager::ListStore>(root + QStringLiteral("/data")))
        , provider(store)
        , autoSel(settings)
        , selector(autoSel)
        , handler({settings,
                   options,
                   display,
                   pacer,
                   prompter,
                   item,
                   link,
                   provider,
                   autoSel,
                   selector})
    {
        settings.settingsFilePath = root + QStringLiteral("/KTQ.INI");
        settings.gcodePath = root + QStringLiteral("/gcode/");
        settings.listPath = root + QStringLiteral("/lists/");
        QDir(root).mkpath(QStringLiteral("gcode"));
        QDir(root).mkpath(QStringLiteral("lists"));
        QFile file(settings.settingsFilePath);
        if (file.open(QIODevice::WriteOnly))
            file.write("[GESTBCOD]\r\n" + ini);
        file.close();
        link.setApplication(provider.createApplication());
        link.setCurrentList(link.application()->newList());
        options.setValue(app::Options::Overwrite, 1);
    }

    QStringList rows() const
    {
        QStringList list;
        for (const QString &row : store->rows())
            list << summary(row);
        return list;
    }
    QString gcodeFile(const QString &name) const { return settings.gcodePath + name; }
    bool anyIndicatorLit() const
    {
        return display.autoFieldSelection
               || std::any_of(
                   display.segments.begin(), display.segments.end(), [](bool lit) { return lit; });
    }

    QTemporaryDir dir;
    QString root;
    app::Settings settings;
    app::Options options;
    FakeDisplay display;
    InstantPacer pacer;
    ScriptedPrompter prompter;
    label::CurrentItem item;
    std::shared_ptr<listmanager::ListStore> store;
    listmanager::EmbeddedListManagerProvider provider;
    listmanager::ListManagerLink link;
    fieldsel::AutoSelSettingsProvider autoSel;
    fieldsel::FieldSelector selector;
    program::ProgramBarcode handler;
};

} // namespace

class tst_ProgramBarcode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void header_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("runFieldBefore");
        QTest::addColumn<QString>("item"); // the values the header set, by letter
        QTest::addColumn<QString>("lit");  // indicators: D dimensions, 3 vars A-D, 4 vars E-I

        const QString blank = QStringLiteral(" ");
        QTest::newRow("dimensions, values trimmed")
            << "P^X 800 ^Y600^Z18" << blank << "X=800 Y=600 Z=18"
            << "D";
        QTest::newRow("variables by letter, no H")
            << "P^A1^D4^E5^I9^H7" << blank << "A=1 D=4 E=5 I=9"
            << "34";
        QTest::newRow("lower case and empty fields skipped") << "P^x800^^Y6" << blank << "Y=6"
                                                             << "D";
        QTest::newRow("later field overwrites") << "P^X1^X2" << blank << "X=2"
                                                << "D";
        QTest::newRow("U taken when blank") << "P^U N1 ^VX" << blank << "U=N1 V=X"
                                            << "";
        QTest::newRow("U ignored with a field") << "P^UN1"
                                                << "A"
                                                << "U=A"
                                                << "";
        QTest::newRow("field 14 read, 15 ignored")
            << "P^V1^V2^V3^V4^V5^V6^V7^V8^V9^VA^VB^VC^Z14^X15" << blank << "V=C Z=14"
            << "D";
    }

    void header()
    {
        QFETCH(QString, header);
        QFETCH(QString, runFieldBefore);
        label::CurrentItem item;
        item.resetItem();
        item.runField = runFieldBefore;
        const program::HeaderIndicators lit = program::applyProgramHeader(header, item);

        QStringList values;
        const auto add = [&values](char letter, const QString &value) {
            if (value != QLatin1String(" "))
                values << QString(QLatin1Char(letter)) + QLatin1Char('=') + value;
        };
        add('U', item.runField);
        add('V', item.itemExtra);
        add('X', item.dimX);
        add('Y', item.dimY);
        add('Z', item.dimZ);
        for (std::size_t i = 0; i < item.itemVars.size(); ++i)
            add(label::CurrentItem::VarLetters[i], item.itemVars[i]);
        QTEST(values.join(QLatin1Char(' ')), "item");
        QString litText;
        if (lit.dimensions)
            litText += QLatin1Char('D');
        if (lit.varsAToD)
            litText += QLatin1Char('3');
        if (lit.varsEToI)
            litText += QLatin1Char('4');
        QTEST(litText, "lit");
    }

    void programBarcode_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QByteArray>("existing"); // PROG1 before the label; null: none
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QString>("runField");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QByteArray>("saved"); // PROG1 afterwards; null: no file
        QTest::addColumn<QStringList>("rows");

        const QByteArray sel = SelectionKeys;
        const QByteArray none;
        const QByteArray isoFile = Iso.toLatin1() + "\r\n";
        const QByteArray old = "G71 X100 Y100 Z5\r\n(OLD)\r\n";
        const QString blank; // as at start-up: the field is chosen automatically
        const QString dims = QStringLiteral("PROG1^X800^Y500");

        QTest::newRow("header dimensions, file not read")
            << sel << none << true << blank << dims + "^Z18!" + Iso << isoFile
            << QStringList{"PROG1 f3 800x500x18 c:"};
        QTest::newRow("Z from the program file")
            << sel << none << true << blank << dims + "!" + Iso << isoFile
            << QStringList{"PROG1 f3 800x500x20 c:LEFT DOOR"};
        QTest::newRow("Z0 reads the program file")
            << sel << none << true << blank << dims + "^Z0!" + Iso << isoFile
            << QStringList{"PROG1 f3 800x500x20 c:LEFT DOOR"};
        QTest::newRow("all dimensions from the file")
            << sel << none << true << blank << "PROG1!" + Iso << isoFile
            << QStringList{"PROG1 f1 900x700x20 c:LEFT DOOR"};
        QTest::newRow("overwrite off keeps a non-empty file")
            << sel << old << false << blank << dims + "!" + Iso << old
            << QStringList{"PROG1 f3 800x500x5 c:OLD"};
        QTest::newRow("overwrite on replaces it")
            << sel << old << true << blank << dims + "!" + Iso << isoFile
            << QStringList{"PROG1 f3 800x500x20 c:LEFT DOOR"};
        QTest::newRow("overwrite off writes over an empty file")
            << sel << QByteArray("") << false << blank << dims + "!" + Iso << isoFile
            << QStringList{"PROG1 f3 800x500x20 c:LEFT DOOR"};
        QTest::newRow("10 characters not saved")
            << sel << none << true << blank << dims + "^Z18!  0123456789  " << none
            << QStringList{"PROG1 f3 800x500x18 c:"};
        QTest::newRow("11 characters saved")
            << sel << none << true << blank << dims + "^Z18!01234567890"
            << QByteArray("01234567890\r\n") << QStringList{"PROG1 f3 800x500x18 c:"};
        QTest::newRow("U ignored after a field label")
            << sel << none << true << "A" << dims + "^UN^Z18!" + Iso << isoFile
            << QStringList{"PROG1 f4 800x500x18 c:"};
        QTest::newRow("U taken when blank")
            << sel << none << true << " " << dims + "^UN1^Z18!" + Iso << isoFile
            << QStringList{"PROG1 f7 800x500x18 c:"};
        QTest::newRow("blank field after a reset: no selection")
            << sel << none << true << " " << dims + "^Z18!" + Iso << isoFile
            << QStringList{"PROG1 f37 800x500x18 c:"};
        QTest::newRow("209 prefix with ! in it")
            << sel << none << true << blank
            << QChar(209) + QStringLiteral("ABC!EFG") + dims + "^Z18!" + Iso << isoFile
            << QStringList{"PROG1 f3 800x500x18 c:"};
        QTest::newRow("single-byte program text")
            << sel << none << true << blank << dims + QString::fromUtf8("^Z1!(PIÈCE) M30")
            << QByteArray("(PI\xC8"
                          "CE) M30\r\n")
            << QStringList{"PROG1 f3 800x500x1 c:"};
        QTest::newRow("mirror piece gives two rows")
            << MirrorKeys << none << true << blank << "MIRDOOR^X500^Y300^Z18!" + Iso << none
            << QStringList{"MIRDOOR f3 500x300x18 c:", "MIRDOOR f4 500x300x18 c:"};
    }

    void programBarcode()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QByteArray, existing);
        QFETCH(bool, overwrite);
        QFETCH(QString, label);
        QFETCH(QByteArray, saved);

        Rig rig(ini);
        if (!existing.isNull()) {
            QFile file(rig.gcodeFile(QStringLiteral("PROG1")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(existing);
        }
        rig.options.setValue(app::Options::Overwrite, overwrite ? 1 : 0);
        QFETCH(QString, runField);
        rig.item.runField = runField;

        rig.handler.interpretProgramBarcode(label);
        QTEST(rig.rows(), "rows");
        QCOMPARE(QFile::exists(rig.gcodeFile(QStringLiteral("PROG1"))), !saved.isNull());
        QCOMPARE(readFile(rig.gcodeFile(QStringLiteral("PROG1"))), saved);
        QVERIFY2(rig.prompter.shown.isEmpty(), qPrintable(rig.prompter.texts().join('|')));
        QCOMPARE(rig.display.status(), QStringLiteral("Ready."));
        QCOMPARE(rig.pacer.pauses, (QList<float>{0.6f, 0.6f}));
        QVERIFY(!rig.anyIndicatorLit());
        QCOMPARE(rig.item.programName, QStringLiteral(" "));
        QVERIFY(!rig.item.runFieldFixed);
        QVERIFY(!rig.item.lastProgramName.isEmpty());
    }

    void bareItemIsSentAsItIs()
    {
        Rig rig;
        rig.item.programName = QStringLiteral("PANEL.CNC");
        rig.item.dimX = QStringLiteral("500");
        rig.item.dimY = QStringLiteral("700"); // beyond the half limit, but no "!": 0 x 0
        rig.item.dimZ = QStringLiteral("18");
        rig.handler.interpretProgramBarcode(QChar(209) + QStringLiteral("1234567^"));
        QCOMPARE(rig.rows(), QStringList{"PANEL.CNC f3 500x700x18 c:"});
        QCOMPARE(rig.item.lastProgramName, QStringLiteral("PANEL.CNC"));
    }

    void listLabelLoadsTheList()
    {
        Rig rig;
        QFile list(rig.settings.listPath + QStringLiteral("PANEL1.LST"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("#161=A.CNC;\r\n#161=B.CNC;\r\n");
        list.close();
        rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
        rig.item.programName = QStringLiteral("KEEP");
        rig.display.setStatus(QStringLiteral("before"));

        rig.handler.interpretProgramBarcode(QStringLiteral("*%00PANEL1^^"));
        QCOMPARE(rig.store->rows(), (QStringList{"#161=A.CNC;", "#161=B.CNC;"}));
        QCOMPARE(rig.item.programName, QStringLiteral("KEEP"));
        QCOMPARE(rig.display.status(), QStringLiteral("before"));
        QVERIFY(rig.pacer.pauses.isEmpty());
    }

    void firstLabelClearsTheList()
    {
        Rig rig;
        rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
        rig.link.setLateBoundList(rig.provider.createObject(QStringLiteral("Helicon.ExeList")));
        rig.store->setListVisible(false);
        rig.item.clearListPending = true;
        rig.handler.interpretProgramBarcode("PROG1^X800^Y500^Z18!" + Iso);
        QCOMPARE(rig.rows(), QStringList{"PROG1 f3 800x500x18 c:"});
        QVERIFY(rig.store->listVisible());
        QVERIFY(!rig.item.clearListPending);
    }

    void autoStartAndEditor()
    {
        Rig rig;
        rig.options.setValue(app::Options::AutoStart, 1);
        rig.options.setValue(app::Options::ShowEd, 1);
        QStringList opened;
        rig.handler.launchEditor = [&] { opened << rig.item.programName; };
        rig.handler.interpretProgramBarcode("PROG1^X800^Y600^Z18!" + Iso);
        QCOMPARE(rig.store->runState(), listmanager::RunState::Running);
        QCOMPARE(opened, QStringList{"PROG1"});
    }

    void failures_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("failing"); // list manager member, or "folder"
        QTest::addColumn<QString>("message"); // start of the status text
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("prompted");
        const QString prog = "PROG1^X800^Y600^Z18!" + Iso;
        QTest::newRow("g-code folder missing")
            << prog << "folder"
            << "Program barcode abandoned: the program file" << 0 << true;
        QTest::newRow("list manager refuses the row")
            << prog << "AddLine"
            << "Program barcode abandoned: the list manager failed to add" << 0 << true;
        QTest::newRow("list does not start after the row")
            << prog << "StartList"
            << "Program barcode abandoned: the list manager failed to start" << 1 << true;
        QTest::newRow("name reaching outside the folder")
            << "../PROG1^X1^Y1^Z1!" + Iso << ""
            << "Name refused: ../PROG1 reaches outside" << 0 << false;
        QTest::newRow("absolute name") << "/tmp/PROG1!" + Iso << ""
                                       << "Name refused: /tmp/PROG1 reaches outside" << 0 << false;
    }

    void failures()
    {
        QFETCH(QString, label);
        QFETCH(QString, failing);
        QFETCH(QString, message);
        Rig rig;
        rig.options.setValue(app::Options::AutoStart, 1);
        if (failing == QLatin1String("folder"))
            rig.settings.gcodePath = rig.root + QStringLiteral("/missing/");
        else if (!failing.isEmpty())
            rig.store->failures().setFailing(failing, true);
        rig.item.programName = QStringLiteral("KEEP");

        rig.handler.interpretProgramBarcode(label);
        QVERIFY2(rig.display.status().startsWith(message), qPrintable(rig.display.status()));
        QTEST(int(rig.store->rowCount()), "rows");
        QTEST(!rig.prompter.shown.isEmpty(), "prompted");
        QVERIFY(!rig.anyIndicatorLit());
        QVERIFY(QDir(rig.root).entryList({QStringLiteral("PROG1")}).isEmpty());
        // A refused name leaves the item alone; an abandoned label leaves it reset.
        QCOMPARE(rig.item.programName,
                 QString::fromLatin1(rig.prompter.shown.isEmpty() ? "KEEP" : " "));

        // The station goes on with the next label.
        rig.settings.gcodePath = rig.root + QStringLiteral("/gcode/");
        rig.store->failures().reset();
        rig.handler.interpretProgramBarcode("NEXT^X800^Y600^Z18!" + Iso);
        QCOMPARE(rig.display.status(), QStringLiteral("Ready."));
        QVERIFY(rig.rows().last().startsWith(QStringLiteral("NEXT ")));
    }
};

QTEST_GUILESS_MAIN(tst_ProgramBarcode)
#include "tst_programbarcode.moc"
