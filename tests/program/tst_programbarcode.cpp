// Program barcodes: the label forms, the header fields, the program file written from the
// label, dimensions taken from it, the rows sent, and labels abandoned on failure.

#include "DispatcherRig.h"
#include "embeddedlist/RunState.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace barlink;
using namespace barlink::testing;

namespace {

// An ISO program of 900 x 700 x 20 with the comment LEFT DOOR.
const QString Iso = QStringLiteral("G71 X900 Y700 Z20\r\n(LEFT DOOR)\r\nG0 X1 Y1\r\nM30");

// Makes a folder refuse new files while it lives: by its mode, or, for root, whom the mode
// does not stop, by the immutable attribute. Nothing for an empty path.
class FolderLock
{
public:
    explicit FolderLock(const QString &folder)
        : m_folder(folder)
    {
        if (m_folder.isEmpty())
            return;
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        if (!QFileInfo(m_folder).isWritable())
            return;
        m_immutable = QProcess::execute(QStringLiteral("chattr"), {"+i", m_folder}) == 0;
    }
    ~FolderLock()
    {
        if (m_immutable)
            QProcess::execute(QStringLiteral("chattr"), {"-i", m_folder});
        if (!m_folder.isEmpty())
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    [[nodiscard]] bool isLocked() const
    {
        return !m_folder.isEmpty() && !QFileInfo(m_folder).isWritable();
    }

private:
    QString m_folder;
    bool m_immutable = false;
};

// A program barcode handler on its parts, with overwrite on.
struct Rig : DispatcherRig
{
    explicit Rig(const QByteArray &keys = SelectionKeys)
        : DispatcherRig(keys)
    {
        options.setValue(base::Options::Overwrite, 1);
    }
    [[nodiscard]] QString gcodeFile() const { return settings.gcodePath + QStringLiteral("PROG1"); }
    [[nodiscard]] bool anyIndicatorLit() const
    {
        const auto &lit = display.segments;
        return display.autoFieldSelection || std::find(lit.begin(), lit.end(), true) != lit.end();
    }

    program::ProgramBarcode handler{context, sender};
};

} // namespace

class tst_ProgramBarcode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void header_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("item"); // the values the header set, by letter
        QTest::addColumn<QString>("lit");  // indicators: D dimensions, 3 vars A-D, 4 vars E-I
        // clang-format off
        QTest::newRow("values trimmed") << "P^X 800 ^Y600^Z18" << "X=800 Y=600 Z=18" << "D";
        QTest::newRow("variables by letter, no H") << "P^A1^D4^E5^I9^H7" << "A=1 D=4 E=5 I=9"
                                                   << "34";
        QTest::newRow("lower case and empty fields skipped") << "P^x800^^Y6" << "Y=6" << "D";
        QTest::newRow("later field overwrites") << "P^X1^X2" << "X=2" << "D";
        QTest::newRow("field 14 read, 15 ignored")
            << "P^V1^V2^V3^V4^V5^V6^V7^V8^V9^VA^VB^VC^Z14^X15" << "V=C Z=14" << "D";
        // clang-format on
    }

    void header()
    {
        QFETCH(QString, header);
        base::CurrentItem item;
        item.resetItem();
        const program::HeaderIndicators lit = program::applyProgramHeader(header, item);

        QStringList values;
        const auto add = [&values](char letter, const QString &value) {
            if (value != QLatin1String(" "))
                values << QLatin1Char(letter) + QStringLiteral("=") + value;
        };
        add('V', item.itemExtra);
        add('X', item.dimX);
        add('Y', item.dimY);
        add('Z', item.dimZ);
        for (std::size_t i = 0; i < item.itemVars.size(); ++i)
            add(base::CurrentItem::VarLetters[i], item.itemVars[i]);
        QTEST(values.join(QLatin1Char(' ')), "item");
        QTEST(QString(lit.dimensions ? "D" : "") + (lit.varsAToD ? "3" : "")
                  + (lit.varsEToI ? "4" : ""),
              "lit");
    }

    void programBarcode_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QByteArray>("existing"); // PROG1 before the label; null: none
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QString>("runField");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QByteArray>("saved"); // PROG1 afterwards; null: no file
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("locked"); // the g-code folder takes no new file
        // clang-format off
        const auto add = [](const char *name, const QByteArray &existing, bool overwrite,
                            const char *runField, const QString &label, const QByteArray &saved,
                            const QString &rows, const QByteArray &keys = SelectionKeys,
                            bool locked = false) {
            QTest::newRow(name) << keys << existing << overwrite << QString::fromLatin1(runField)
                                << label << saved << rows.split('|') << locked;
        };
        // clang-format on
        const QByteArray iso = Iso.toLatin1() + "\r\n", old = "G71 X100 Y100 Z5\r\n(OLD)\r\n", no;
        const QString dims = QStringLiteral("PROG1^X800^Y500");
        const QString fromFile = QStringLiteral("PROG1 f3 800x500x20 r1 c:LEFT DOOR");
        const QString given = QStringLiteral("PROG1 f3 800x500x18 r1"), z18 = dims + "^Z18!";
        const QString givenIso = given + " c:LEFT DOOR";

        // clang-format off
        // With all dimensions given the program file is not read for them; the comment is
        // still the program's own, from the text saved or else from the file.
        add("header dimensions, file not read", no, true, "", z18 + Iso, iso, givenIso);
        add("Z0 reads the program file", no, true, "", dims + "^Z0!" + Iso, iso, fromFile);
        add("all dimensions from the file", no, true, "", "PROG1!" + Iso, iso,
            "PROG1 f1 900x700x20 r1 c:LEFT DOOR");
        add("dimension from the file in the shortest form", no, true, "",
            dims + "!G71 X1 Y1 Z0.5\n(T)", "G71 X1 Y1 Z0.5\n(T)\r\n", "PROG1 f3 800x500x0.5 r1 c:T");
        add("overwrite off keeps a non-empty file", old, false, "", dims + "!" + Iso, old,
            "PROG1 f3 800x500x5 r1 c:OLD");
        add("overwrite on replaces it", old, true, "", dims + "!" + Iso, iso, fromFile);
        add("folder takes no new file: written in place", old, true, "", dims + "!" + Iso, iso,
            fromFile, SelectionKeys, true);
        add("overwrite off fills an empty file", "", false, "", dims + "!" + Iso, iso, fromFile);
        add("overwrite off, all dimensions: the kept file's comment", old, false, "", z18 + Iso,
            old, "PROG1 f3 800x500x18 r1 c:OLD");
        add("10 characters not saved", no, true, "", z18 + "  0123456789  ", no, given);
        add("11 characters saved", no, true, "", z18 + "01234567890", "01234567890\r\n", given);
        add("U ignored after a field label", no, true, "A", dims + "^UN^Z18!" + Iso, iso,
            "PROG1 f4 800x500x18 r1 c:LEFT DOOR");
        add("U taken when blank", no, true, " ", dims + "^UN1^Z18!" + Iso, iso,
            "PROG1 f7 800x500x18 r1 c:LEFT DOOR");
        add("blank field after a reset: no selection", no, true, " ", z18 + Iso, iso,
            "PROG1 f37 800x500x18 r1 c:LEFT DOOR");
        add("209 prefix with ! in it", no, true, "",
            QChar(209) + QStringLiteral("ABC!EFG") + z18 + Iso, iso, givenIso);
        add("single-byte program text", no, true, "", dims + QString::fromUtf8("^Z1!(PIÈCE) M30"),
            "(PI\xC8" "CE) M30\r\n", "PROG1 f3 800x500x1 r1");
        // clang-format on
    }

    void programBarcode()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QByteArray, existing);
        QFETCH(bool, overwrite);
        QFETCH(QString, runField);
        QFETCH(QString, label);
        QFETCH(QByteArray, saved);
        QFETCH(bool, locked);

        Rig rig(keys);
        if (!existing.isNull())
            QVERIFY(writeBytes(rig.gcodeFile(), existing));
        FolderLock lock(locked ? rig.settings.gcodePath : QString());
        if (locked && !lock.isLocked())
            QSKIP("no way to make a folder refuse new files here");
        rig.options.setValue(base::Options::Overwrite, overwrite ? 1 : 0);
        rig.item.runField = runField;
        // An earlier program's comment, which no row of this program may carry.
        rig.item.programComment = QStringLiteral("EARLIER");

        rig.handler.interpretProgramBarcode(label);
        QTEST(rig.rows(), "rows");
        QCOMPARE(QFile::exists(rig.gcodeFile()), !saved.isNull());
        QCOMPARE(readBytes(rig.gcodeFile()), saved);
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
        rig.item.programComment = QStringLiteral("EARLIER"); // PANEL.CNC has no file
        rig.handler.interpretProgramBarcode(QChar(209) + QStringLiteral("1234567^"));
        QCOMPARE(rig.rows(), QStringList{"PANEL.CNC f3 500x700x18 r"});
        QCOMPARE(rig.item.lastProgramName, QStringLiteral("PANEL.CNC"));
    }

    void listLabelLoadsTheList()
    {
        Rig rig;
        QVERIFY(writeBytes(rig.settings.listPath + QStringLiteral("PANEL1.LST"),
                           "#161=A.CNC;\r\n#161=B.CNC;\r\n"));
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
        QCOMPARE(rig.rows(), QStringList{"PROG1 f3 800x500x18 r1 c:LEFT DOOR"});
        QVERIFY(rig.store->listVisible());
        QVERIFY(!rig.item.clearListPending);
    }

    void autoStartAndEditor()
    {
        Rig rig;
        rig.options.setValue(base::Options::AutoStart, 1);
        rig.options.setValue(base::Options::ShowEd, 1);
        QStringList opened;
        QObject::connect(&rig.sender,
                         &label::ItemSender::editorRequested,
                         [&](const QString &programName) { opened << programName; });
        rig.handler.interpretProgramBarcode("PROG1^X800^Y600^Z18!" + Iso);
        QCOMPARE(rig.store->runState(), embeddedlist::RunState::Running);
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
        const QString abandoned = QStringLiteral("Program barcode abandoned: the ");
        // clang-format off
        QTest::newRow("g-code folder missing")
            << prog << "folder" << abandoned + "program file" << 0 << true;
        QTest::newRow("list manager refuses the row")
            << prog << "AddLine" << abandoned + "list manager failed to add" << 0 << true;
        QTest::newRow("list does not start after the row")
            << prog << "StartList" << abandoned + "list manager failed to start" << 1 << true;
        QTest::newRow("name reaching outside the folder")
            << "../PROG1!" + Iso << "" << "Name refused: ../PROG1 reaches outside" << 0 << false;
        // The system cuts a name at a NUL: "PROG1" would be written in its place.
        QTest::newRow("name holding a NUL")
            << QStringLiteral("PROG1") + QChar(0) + "X^X800!" + Iso << ""
            << "Program barcode abandoned: it names no program file." << 0 << true;
        // clang-format on
    }

    void failures()
    {
        QFETCH(QString, label);
        QFETCH(QString, failing);
        QFETCH(QString, message);
        Rig rig;
        rig.options.setValue(base::Options::AutoStart, 1);
        if (failing == QLatin1String("folder"))
            rig.settings.gcodePath = rig.root + QStringLiteral("/missing/");
        else if (!failing.isEmpty())
            rig.faults.setFailing(failing, true);
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
        rig.faults.reset();
        rig.handler.interpretProgramBarcode("NEXT^X800^Y600^Z18!" + Iso);
        QCOMPARE(rig.display.status(), QStringLiteral("Ready."));
        QVERIFY(rig.rows().last().startsWith(QStringLiteral("NEXT ")));
    }
};

QTEST_GUILESS_MAIN(tst_ProgramBarcode)
#include "tst_programbarcode.moc"
