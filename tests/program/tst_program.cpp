// The label grammar: commands, field-code labels, plain names and segments, the completion of
// an item and what reaches the list manager and the scanner; the row text, the mirror trigger,
// the field codes, list labels and the companion CSV file.
// Program barcodes: the label forms, the header fields, the program file written from the
// label, dimensions taken from it, the rows sent and labels abandoned on failure; compressed
// labels; reading program files; and the editor launch.

#include "StationRig.h"
#include "Tables.h"
#include "app/EventLoopPacer.h"
#include "embeddedlist/RunState.h"
#include "fieldsel/AutoSelSettings.h"
#include "label/CompanionCsv.h"
#include "label/FieldCodes.h"
#include "label/ListFileLoader.h"
#include "label/ListRow.h"
#include "label/MirrorMatch.h"
#include "program/CompressedLabel.h"
#include "program/CompressedLabelDecoder.h"
#include "program/EditorLaunch.h"
#include "program/ProgramFileReader.h"

#ifdef Q_OS_LINUX
#include "program/LinuxEditorPlatform.h"
#endif

#include <QBuffer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace barlink;
using namespace barlink::program;
using namespace barlink::testing;
using Route = ExpandRoute;
using fieldsel::MirrorAction;
using fieldsel::TriggerSource;

Q_DECLARE_METATYPE(barlink::program::ExpandRoute)

namespace {

// An ISO program of 900 x 700 x 20 with the comment LEFT DOOR.
const QString Iso = QStringLiteral("G71 X900 Y700 Z20\r\n(LEFT DOOR)\r\nG0 X1 Y1\r\nM30");

// Makes a folder refuse new files while it lives: by its mode, or, for root, whom the mode
// does not stop, by the immutable attribute. Nothing for an empty path.
struct FolderLock
{
    explicit FolderLock(const QString &folder)
        : folder(folder)
    {
        if (folder.isEmpty())
            return;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        immutable = QFileInfo(folder).isWritable()
                    && QProcess::execute(QStringLiteral("chattr"), {"+i", folder}) == 0;
    }
    ~FolderLock()
    {
        if (immutable)
            QProcess::execute(QStringLiteral("chattr"), {"-i", folder});
        if (!folder.isEmpty())
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    Q_DISABLE_COPY_MOVE(FolderLock)

    const QString folder;
    bool immutable = false;
};

// The folder a rig's station lives in and its settings file, made before the station.
struct Root
{
    explicit Root(const QByteArray &keys)
    {
        if (!StationRig<FakeScannerPort>::prepare(root, QStringLiteral("/dev/pts/1"), keys))
            qFatal("the station's folders cannot be made in %s", qPrintable(root));
    }
    QTemporaryDir dir;
    QString root = dir.path();
};

// The station's label dispatcher and program barcode handler, built as the try run builds a
// station: its settings file holds the section's `keys` over the rig's defaults (gcode/,
// lists/, csvin and collected.csv in a temporary root, overwrite on); a fresh current list,
// the port open.
struct Rig : Root, StationRig<FakeScannerPort>
{
    explicit Rig(const QByteArray &keys = SelectionKeys)
        : Root(keys)
        , StationRig(root, {.mode = app::StationBuilder::Mode::Try})
    {}
    [[nodiscard]] QString gcodeFile() const { return settings.gcodePath + QStringLiteral("PROG1"); }
    [[nodiscard]] bool anyIndicatorLit() const
    {
        const auto &lit = display.segments;
        return display.autoFieldSelection || std::find(lit.begin(), lit.end(), true) != lit.end();
    }

    // Copies the companion CSV file, and gives the error number thrown (0 for none).
    int copyCsv(const QString &programName)
    {
        return errorNumber([&] { label::copyCompanionCsv(settings, programName, prompter); });
    }
    [[nodiscard]] QString csvIn(const QString &name) const
    {
        QDir().mkpath(settings.csvInPath);
        return settings.csvInPath + u'/' + name;
    }

    base::Settings &settings = app::StationProbe(station).settings();
    base::Options &options = station.options();
    base::CurrentItem &item = app::StationProbe(station).item();
    listmanager::ListManagerLink &link = app::StationProbe(station).link();
    InstantPacer &pacer = instantPacer;
    label::ItemSender &sender = app::StationProbe(station).sender();
    program::ProgramBarcode &handler = app::StationProbe(station).programBarcode();
    label::LabelDispatcher &dispatcher = app::StationProbe(station).dispatcher();
};

// A program of the given length that compresses the way real ones do.
QString programText(int length, quint32 seed = 7)
{
    QRandomGenerator random(seed);
    QString text = QStringLiteral("PROG1^X800^Y500!");
    while (text.size() < length)
        text += QStringLiteral("G1 X%1 Y%2 F%3\r\n")
                    .arg(random.bounded(2000))
                    .arg(random.bounded(1000))
                    .arg(random.bounded(100, 9000));
    text.truncate(length);
    return text;
}

// The label layout around arbitrary compressed bytes (escaped here).
QString labelAround(const QByteArray &length, const QByteArray &compressed)
{
    return QString::fromLatin1("\xF1ZL" + length + "000" + escapeBackslashes(compressed));
}

// A zlib stream: what qCompress() writes after the length it puts first.
QByteArray zlibBytes(const QByteArray &bytes)
{
    return qCompress(bytes, 9).mid(4);
}

// Facts as one text: "iso 800 600 18 (LEFT DOOR)"; a value not read shows as "-".
QString describe(const ProgramFileFacts &facts)
{
    static const char *const formats[] = {"unknown", "ktq", "iso", "not a program"};
    QStringList parts{QLatin1String(formats[int(facts.format)])};
    for (const std::optional<float> &v : {facts.x, facts.y, facts.z})
        parts << (v ? QString::number(double(*v)) : QStringLiteral("-"));
    parts << (facts.comment ? '(' + *facts.comment + ')' : QStringLiteral("-"));
    return parts.join(' ');
}

QString readFacts(QByteArray content, const QLocale &locale, qint64 *bytesRead = nullptr)
{
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    const QString facts = describe(program::readProgramFacts(buffer, locale));
    if (bytesRead)
        *bytesRead = buffer.pos();
    return facts;
}

// Records the keystrokes (as "task:keys", Ctrl+O as "^O", Enter as "{ENTER}") and the pauses
// (as seconds) in one list. The calls named in `failing` throw, keystrokes after they are
// recorded; so does activating a task that does not run. Tasks are numbered from 1, the
// window of task n is 100 + n, and window 1 (this program's own) is active until a task is
// activated.
class RecordingPlatform : public EditorPlatform, public base::Pacer
{
public:
    // clang-format off
    bool opensProgramFiles() const override { return false; }
    Task startProgram(const QString &, const QString &) override { fail(u"start"); running.insert(++m_lastTask); return m_lastTask; }
    int moduleUsage(Task task) override { fail(u"usage"); return running.contains(task) ? 1 : 0; }
    void activateTask(Task task) override { fail(u"activate", !running.contains(task)); m_active = Window(100 + task); }
    Window activeWindow() override { return m_active; }
    void placeOnTop(Window) override { fail(u"placeOnTop"); }
    void sendKeys(Task task, const QString &keys) override
    {
        received << QString::number(task) + u':' + QString(keys).replace(QChar(15), "^O").replace(QChar(13), "{ENTER}");
    }
    void pause(float seconds) override { received << QString::number(seconds); }
    // clang-format on

    QStringList received;
    QSet<QString> failing;
    QSet<Task> running;

private:
    void fail(QStringView call, bool fails = false)
    {
        if (fails || failing.contains(call.toString()))
            throw base::Error(base::Error::InvalidCall,
                              call.toString() + QStringLiteral(" failed"));
    }

    Task m_lastTask = 0;
    Window m_active = 1;
};

const QString editorPath = QStringLiteral("/opt/control/bin/editor");

} // namespace

class tst_Program : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void header_data()
    {
        // item: the values the header set, by letter
        // lit: indicators: D dimensions, 3 vars A-D, 4 vars E-I
        // clang-format off
        columns<QString, QString, QString>({"header", "item", "lit"});
        QTest::newRow("values trimmed") << "P^X 800 ^Y600^Z18" << "X=800 Y=600 Z=18" << "D";
        QTest::newRow("variables by letter, no H") << "P^A1^D4^E5^I9^H7" << "A=1 D=4 E=5 I=9" << "34";
        QTest::newRow("lower case and empty fields skipped") << "P^x800^^Y6" << "Y=6" << "D";
        QTest::newRow("later field overwrites") << "P^X1^X2" << "X=2" << "D";
        QTest::newRow("field 14 read, 15 ignored") << "P^V1^V2^V3^V4^V5^V6^V7^V8^V9^VA^VB^VC^Z14^X15" << "V=C Z=14" << "D";
        // clang-format on
    }
    void header()
    {
        base::CurrentItem item;
        item.resetItem();
        const program::HeaderIndicators lit
            = program::applyProgramHeader(fetch<QString>("header"), item);
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
        // existing: PROG1 before the label; null: none
        // saved: PROG1 afterwards; null: no file
        // locked: the g-code folder takes no new file
        // clang-format off
        columns<QByteArray, bool, QString, QString, QByteArray, QStringList, bool>({"existing", "overwrite", "runField", "label", "saved", "rows", "locked"});
        const auto add = [](const char *name, const QByteArray &existing, bool overwrite,
                            const char *runField, const QString &label, const QByteArray &saved,
                            const QString &rows, bool locked = false) {
            QTest::newRow(name) << existing << overwrite << QString::fromLatin1(runField) << label << saved << rows.split('|') << locked;
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
        add("all dimensions from the file", no, true, "", "PROG1!" + Iso, iso, "PROG1 f1 900x700x20 r1 c:LEFT DOOR");
        add("dimension from the file in the shortest form", no, true, "", dims + "!G71 X1 Y1 Z0.5\n(T)", "G71 X1 Y1 Z0.5\n(T)\r\n", "PROG1 f3 800x500x0.5 r1 c:T");
        add("overwrite off keeps a non-empty file", old, false, "", dims + "!" + Iso, old, "PROG1 f3 800x500x5 r1 c:OLD");
        add("overwrite on replaces it", old, true, "", dims + "!" + Iso, iso, fromFile);
        add("folder takes no new file: written in place", old, true, "", dims + "!" + Iso, iso, fromFile, true);
        add("overwrite off fills an empty file", "", false, "", dims + "!" + Iso, iso, fromFile);
        add("overwrite off, all dimensions: the kept file's comment", old, false, "", z18 + Iso, old, "PROG1 f3 800x500x18 r1 c:OLD");
        add("10 characters not saved", no, true, "", z18 + "  0123456789  ", no, given);
        add("11 characters saved", no, true, "", z18 + "01234567890", "01234567890\r\n", given);
        add("U ignored after a field label", no, true, "A", dims + "^UN^Z18!" + Iso, iso, "PROG1 f4 800x500x18 r1 c:LEFT DOOR");
        add("U taken when blank", no, true, " ", dims + "^UN1^Z18!" + Iso, iso, "PROG1 f7 800x500x18 r1 c:LEFT DOOR");
        add("blank field after a reset: no selection", no, true, " ", z18 + Iso, iso, "PROG1 f37 800x500x18 r1 c:LEFT DOOR");
        add("209 prefix with ! in it", no, true, "", QChar(209) + QStringLiteral("ABC!EFG") + z18 + Iso, iso, givenIso);
        add("single-byte program text", no, true, "", dims + QString::fromUtf8("^Z1!(PIÈCE) M30"), "(PI\xC8" "CE) M30\r\n", "PROG1 f3 800x500x1 r1");
        // clang-format on
    }
    void programBarcode()
    {
        const QByteArray &existing = fetch<QByteArray>("existing"),
                         &saved = fetch<QByteArray>("saved");
        const bool locked = fetch<bool>("locked");
        Rig rig;
        if (!existing.isNull())
            QVERIFY(writeBytes(rig.gcodeFile(), existing));
        const FolderLock lock(locked ? rig.settings.gcodePath : QString());
        if (locked && QFileInfo(lock.folder).isWritable())
            QSKIP("no way to make a folder refuse new files here");
        rig.options.setValue(base::Options::Overwrite, fetch<bool>("overwrite") ? 1 : 0);
        rig.item.runField = fetch<QString>("runField");
        // An earlier program's comment, which no row of this program may carry.
        rig.item.programComment = QStringLiteral("EARLIER");

        rig.handler.interpretProgramBarcode(fetch<QString>("label"));
        QTEST(rig.rows(), "rows");
        QCOMPARE(QFile::exists(rig.gcodeFile()), !saved.isNull());
        QCOMPARE(readBytes(rig.gcodeFile()), saved);
        QVERIFY2(rig.prompter.shown.isEmpty(), qPrintable(rig.prompter.texts().join('|')));
        QCOMPARE(rig.display.status(), QStringLiteral("Ready."));
        QCOMPARE(rig.pacer.pauses, (QList<float>{0.6f, 0.6f}));
        QVERIFY(!rig.anyIndicatorLit());
        QCOMPARE(rig.item.programName, QStringLiteral(" "));
        QVERIFY(!rig.item.runFieldFixed);
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

    // The first label clears the list and shows it; auto start starts it; the editor opens.
    void firstLabelAutoStartAndEditor()
    {
        Rig rig;
        rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
        rig.link.setLateBoundList(rig.provider.createObject(QStringLiteral("Helicon.ExeList")));
        rig.store->setListVisible(false);
        rig.item.clearListPending = true;
        rig.options.setValue(base::Options::AutoStart, 1);
        rig.options.setValue(base::Options::ShowEd, 1);
        QStringList opened;
        QObject::connect(&rig.sender,
                         &label::ItemSender::editorRequested,
                         [&](const QString &name) { opened << name; });
        rig.handler.interpretProgramBarcode("PROG1^X800^Y500^Z18!" + Iso);
        QCOMPARE(rig.rows(), QStringList{"PROG1 f3 800x500x18 r1 c:LEFT DOOR"});
        QVERIFY(rig.store->listVisible());
        QVERIFY(!rig.item.clearListPending);
        QCOMPARE(rig.store->runState(), embeddedlist::RunState::Running);
        QCOMPARE(opened, QStringList{"PROG1"});
    }

    // Labels refused or abandoned: nothing is written or sent, and the station goes on with
    // the next label. List manager failures are in tst_stationfaults.
    void failures_data()
    {
        // noFolder: the g-code folder is missing
        // message: start of the status text
        columns<QString, bool, QString, bool>({"label", "noFolder", "message", "prompted"});
        const QString prog = "PROG1^X800^Y600^Z18!" + Iso;
        // clang-format off
        QTest::newRow("g-code folder missing") << prog << true << "Program barcode abandoned: the program file" << true;
        QTest::newRow("name reaching outside the folder") << "../PROG1!" + Iso << false << "Name refused: ../PROG1 reaches outside" << false;
        // No name or dimension adds or ends a field of the row, or names another file than the row.
        QTest::newRow("name holding ;") << "B;#169=7777^X800^Y600^Z18!" + Iso << false << "Name refused: B;#169=7777 holds \";\"" << false;
        QTest::newRow("dimension holding ;") << "PROG1^X800;#1=1^Y600^Z18!" + Iso << false << "Dimension X refused: 800;#1=1 holds" << false;
        // clang-format on
    }
    void failures()
    {
        Rig rig;
        if (fetch<bool>("noFolder"))
            rig.settings.gcodePath = rig.root + QStringLiteral("/missing/");
        rig.item.programName = QStringLiteral("KEEP");
        rig.handler.interpretProgramBarcode(fetch<QString>("label"));
        QVERIFY2(rig.display.status().startsWith(fetch<QString>("message")),
                 qPrintable(rig.display.status()));
        QCOMPARE(rig.store->rowCount(), 0);
        QTEST(!rig.prompter.shown.isEmpty(), "prompted");
        QVERIFY(!rig.anyIndicatorLit());
        QVERIFY(QDir(rig.root).entryList({QStringLiteral("PROG1")}).isEmpty());
        QVERIFY(QDir(rig.root + QStringLiteral("/gcode")).isEmpty());
        // A refused name leaves the item alone; an abandoned label leaves it reset.
        QCOMPARE(rig.item.programName,
                 QString::fromLatin1(rig.prompter.shown.isEmpty() ? "KEEP" : " "));

        rig.settings.gcodePath = rig.root + QStringLiteral("/gcode/");
        rig.handler.interpretProgramBarcode("NEXT^X800^Y600^Z18!" + Iso);
        QCOMPARE(rig.display.status(), QStringLiteral("Ready."));
        QVERIFY(rig.rows().last().startsWith(QStringLiteral("NEXT ")));
    }

    void expands_data()
    {
        columns<QString, int, Route, QString>({"text", "level", "route", "labelHolds"});
        // clang-format off
        QTest::newRow("23072, last in memory") << programText(23072) << 9 << Route::Buffer << "";
        QTest::newRow("23073, first through files") << programText(23073) << 9 << Route::File << "";
        QTest::newRow("32767, the largest") << programText(32767) << 9 << Route::File << "";
        QTest::newRow("large, stored uncompressed") << programText(30000) << 0 << Route::File << "";
        // Stored blocks carry the text's bytes as they are: its backslash runs reach the
        // label, each backslash doubled.
        QTest::newRow("backslash runs in the data") << QStringLiteral("A\\B\\\\C\\\\\\D^\\\\\\\\") << 0 << Route::Buffer << QString(8, QLatin1Char('\\'));
        // clang-format on
        QString all;
        for (int c = 1; c < 256; ++c)
            all += QChar(c);
        QTest::newRow("every single-byte character") << all << 9 << Route::Buffer << "";
    }
    void expands()
    {
        const QString &text = fetch<QString>("text");
        const QString label = makeCompressedLabel(text, fetch<int>("level"));
        QVERIFY(label.mid(11).contains(fetch<QString>("labelHolds")));
        const CompressedLabelDecoder::Result result = CompressedLabelDecoder().decode(label);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QTEST(result.route, "route");
        QCOMPARE(result.text, text);
        QCOMPARE(result.rest, QString());
    }

    // What follows the compressed data is handed back as a label of its own; the scanner's
    // line end right after the data is not part of it.
    void rest_data()
    {
        columns<QString, QString>({"label", "rest"});
        const QByteArray stream = zlibBytes(programText(100).toLatin1());
        // A stream whose last byte (of its checksum) is a backslash, written twice in the
        // label: the last character of the text sets that byte.
        QByteArray backslashEnd;
        for (int c = 1; c < 256 && !backslashEnd.endsWith('\\'); ++c)
            backslashEnd = zlibBytes(QByteArray("PROG1^X800^Y500!") + char(c));
        const QString big = makeCompressedLabel(programText(23073));
        // clang-format off
        QTest::newRow("label after the data") << labelAround("00100", stream + "X") << "X";
        QTest::newRow("line end, then a label") << labelAround("00100", stream + "\r\n%START%\r\n") << "%START%\r\n";
        QTest::newRow("after a doubled backslash") << labelAround("00017", backslashEnd + "%START%") << "%START%";
        QTest::newRow("file route") << big + "%START%" << "%START%";
        QTest::newRow("past the input buffer") << labelAround("00100", stream + QByteArray(23200, 'A')) << QString(23200, 'A');
        // clang-format on
    }
    void rest()
    {
        const CompressedLabelDecoder::Result result
            = CompressedLabelDecoder().decode(fetch<QString>("label"));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QVERIFY(result.text.startsWith(QStringLiteral("PROG1^")));
        QTEST(result.rest, "rest");
    }

    void refuses_data()
    {
        // error: start of the reason
        columns<QString, QString>({"label", "error"});
        const QByteArray stream = zlibBytes(programText(100).toLatin1());
        const QByteArray big = programText(23073).toLatin1();
        const QString notZlib = QStringLiteral("its compressed data does not expand");
        // clang-format off
        QTest::newRow("length in exponent form over 32767") << labelAround("4E+04", stream) << "its length field \"4E+04\" says more than";
        QTest::newRow("half rounds to even 0") << labelAround("000.5", stream) << "its length field \"000.5\" gives no length";
        QTest::newRow("no data") << QStringLiteral("\u00F1ZL00100000") << "it holds no compressed";
        QTest::newRow("not zlib") << labelAround("00100", "hello, world") << notZlib;
        QTest::newRow("stream cut short") << labelAround("00100", stream.chopped(4)) << notZlib;
        QTest::newRow("one character short") << labelAround("00101", stream) << "it expands to 100 characters, but its length field says 101.";
        QTest::newRow("file route, one character over") << labelAround("23074", zlibBytes(programText(23075).toLatin1())) << "it expands to more than 23074";
        QTest::newRow("file route, one character short") << labelAround("23074", zlibBytes(big)) << "it expands to 23073 characters";
        QTest::newRow("input buffer overrun") << labelAround("00100", QByteArray(23201, 'x')) << "its compressed data (23201 bytes) is longer than the 23200-byte";
        // clang-format on
    }
    void refuses()
    {
        const QString &label = fetch<QString>("label");
        const CompressedLabelDecoder::Result result = CompressedLabelDecoder().decode(label);
        QVERIFY2(result.error.startsWith(fetch<QString>("error")), qPrintable(result.error));
        QVERIFY(result.text.isEmpty());
        // What the station shows: the reason on the status line, no text for the polling and
        // nothing after it.
        FakeDisplay display;
        QString rest = QStringLiteral("stale");
        QVERIFY(decodeCompressedLabel(label, display, rest).isEmpty());
        QCOMPARE(rest, QString());
        QCOMPARE(display.status(), QStringLiteral("Compressed label not read: ") + result.error);
    }

    void facts_data()
    {
        columns<QByteArray, QString, QString>({"content", "locale", "expected"});
        // clang-format off
        const auto add = [](const char *name, const QByteArray &content, const char *expected,
                            const char *locale = "C") {
            QTest::newRow(name) << content << QString::fromLatin1(locale) << expected;
        };
        add("iso", "G71 X800 Y600 Z18\r\n(LEFT DOOR)\r\n", "iso 800 600 18 (LEFT DOOR)");
        add("iso G70, no conversion", "G70 X10.5 Y20 Z1\n(A)\n", "iso 10.5 20 1 (A)");
        add("iso trimmed, upper-cased", "  g71 x800 y600 z18  \n  (B) \n", "iso 800 600 18 (B)");
        add("iso comment without parentheses", "G71 X1 Y2 Z3\nN10 G0\n", "iso 1 2 3 ()");
        add("blank lines skipped", "\n   \nG71 X1 Y2 Z3\n  \n\n(C)\n", "iso 1 2 3 (C)");
        add("iso T after Z", "G71 X800 Y600 Z18 T5\n(C)", "iso 800 600 18 (C)");
        add("iso Z not a number", "G71 X800 Y600 Z1A\n(C)\n", "iso 800 600 - -");
        add("iso regional comma", "G71 X800,5 Y600 Z18\n(C)\n", "iso 800.5 600 18 (C)", "de_DE");
        add("iso comma not a C number", "G71 X800,5 Y600 Z18\n(C)\n", "iso - - - -");
        add("iso one line only", "G71 X800 Y600 Z18\n", "unknown - - - -");
        add("not a program", "G90 X10\n(C)\n", "not a program - - - -");
        add("ktq", "KTQ 2.0\r\n;;LEFT DOOR \r\nN1\r\nDIM UN=800 Y=600 Z=18\r\n", "ktq 800 600 18 (LEFT DOOR )");
        add("ktq lower case, LF", "ktq\n;;C\nDim un=800.5 y=600 z=18\n", "ktq 800.5 600 18 (C)");
        add("ktq CR only", "x KtQ\r;;C\rDIM UN=1 Y=2 Z=3\r", "ktq 1 2 3 (C)");
        add("ktq UN sought after the second line", "KTQ UN=7\n;;UN=9\n\n  \nDIM UN=1 Y=2 Z=3\n", "ktq 1 2 3 (UN=9)");
        add("ktq leading numeric part", "KTQ\n;;C\nDIM UN=12mm Y=abc Z=\n", "ktq 12 0 0 (C)");
        add("ktq point even in a comma locale", "KTQ\n;;C\nDIM UN=1.5 Y=2 Z=3\n", "ktq 1.5 2 3 (C)", "de_DE");
        add("ktq without UN line", "KTQ\n;;C\nN10\nN20\n", "ktq - - - -");
        add("ktq overflow", "KTQ\n;;C\nDIM UN=1 Y=1e39 Z=3\n", "ktq 1 - - -");
        add("overlong line", QByteArray(40000, 'G') + "\n(C)\n", "unknown - - - -");
        // clang-format on
    }
    void facts()
    {
        QCOMPARE(readFacts(fetch<QByteArray>("content"), QLocale(fetch<QString>("locale"))),
                 fetch<QString>("expected"));
    }

    // In a large file the reader gives up after its budget when the UN line never comes.
    void largeFile()
    {
        const QByteArray body = QByteArray("N10 G1 X100 Y100\r\n").repeated(1 << 20); // 18 MB
        qint64 read = 0;
        QCOMPARE(readFacts("KTQ\r\n;;BIG\r\nDIM UN=1 Y=2 Z=3\r\n" + body, QLocale::c(), &read),
                 QStringLiteral("ktq 1 2 3 (BIG)"));
        QVERIFY2(read <= 64 * 1024, QByteArray::number(read));
        QCOMPARE(readFacts("KTQ\r\n;;BIG\r\n" + body, QLocale::c(), &read),
                 QStringLiteral("ktq - - - -"));
        QVERIFY2(read <= program::programReadBudgetBytes, QByteArray::number(read));
    }

    void readProgramFile_data()
    {
        // fileName: on disk; empty for none
        // expected: "x y z (comment)"
        // prompt: after the folder
        columns<QString, QByteArray, QString, QString, QString>(
            {"fileName", "content", "programName", "expected", "prompt"});
        const QByteArray iso("G71 X800 Y600 Z18\n(DOOR)\n");
        const QString read = QStringLiteral("800 600 18 (DOOR)"), kept = QStringLiteral("1 2 3 ()");
        // clang-format off
        QTest::newRow("name in other case") << "prog.cnc" << iso << "PROG.CNC" << read << "";
        QTest::newRow("name trimmed") << "PROG.CNC" << iso << "PROG.CNC  " << read << "";
        QTest::newRow("missing") << "" << QByteArray() << "PROG.CNC" << kept << "";
        QTest::newRow("folder, not a file") << "PROG.CNC/" << QByteArray() << "PROG.CNC" << kept << "";
        QTest::newRow("outside the folder") << "../OUT.CNC" << iso << "../OUT.CNC" << kept << "";
        QTest::newRow("partly read") << "PROG.CNC" << QByteArray("G71 X800 Y600 ZZ\n(DOOR)\n") << "PROG.CNC" << "800 600 3 ()" << "";
        QTest::newRow("not a program") << "PROG.CNC" << QByteArray("G90 X10\n(DOOR)\n") << "PROG.CNC" << kept << "PROG.CNC Not a proper program file";
        // clang-format on
    }
    void readProgramFile()
    {
        const QString &fileName = fetch<QString>("fileName"), &prompt = fetch<QString>("prompt");
        Rig rig;
        const QString folder = rig.settings.gcodePath;
        if (fileName.endsWith('/'))
            QVERIFY(QDir().mkpath(folder + fileName));
        else if (!fileName.isEmpty())
            QVERIFY(writeBytes(folder + fileName, fetch<QByteArray>("content")));
        program::ProgramFileReader reader(rig.settings, rig.prompter);
        reader.setLocale(QLocale::c());
        rig.item.programName = fetch<QString>("programName");
        rig.item.programComment = QStringLiteral("previous");
        float x = 1, y = 2, z = 3;
        reader.readProgramFile(rig.item, x, y, z);
        QCOMPARE(QStringLiteral("%1 %2 %3 (%4)").arg(x).arg(y).arg(z).arg(rig.item.programComment),
                 fetch<QString>("expected"));
        QCOMPARE(rig.prompter.texts(),
                 prompt.isEmpty() ? QStringList{} : QStringList{folder + prompt});
        if (!prompt.isEmpty())
            QCOMPARE(rig.prompter.shown.first().buttons, base::Prompter::Buttons::Ok);
    }

    void launch_data()
    {
        // before: the editor: nothing, running, closed
        // received: "n": PROG.CNC opened in task n; "s" first: after
        // the pause of a start
        columns<QString, QString, QString, qint64, quint64>(
            {"before", "failing", "received", "task", "window"});
        // clang-format off
        const auto add = [](const char *name, const char *before, const char *failing,
                            const char *received, int task, int window) {
            QTest::newRow(name) << before << failing << received << qint64(task) << quint64(window);
        };
        add("first call starts the editor",  "nothing", "",           "s1", 1, 101);
        add("editor still running",          "running", "",           "1",  1, 101);
        add("editor closed by the user",     "closed",  "",           "s2", 2, 102);
        // No task: nothing to open the program in, and nothing is typed anywhere.
        add("editor cannot be started",      "nothing", "start",      "s",  0, 1);
        // A failed query means "not running" before the start and "running" before the open.
        add("usage query fails",             "running", "usage",      "s2", 2, 102);
        add("activation fails",              "nothing", "activate",   "s1", 1, 1);
        // clang-format on
    }
    void launch()
    {
        const QString &before = fetch<QString>("before"), &failing = fetch<QString>("failing");
        QString received = fetch<QString>("received");
        RecordingPlatform platform;
        FakeDisplay display;
        base::Settings settings;
        settings.editorPath = editorPath;
        program::EditorLaunch launch(platform, platform, display, settings);
        if (before != u"nothing") {
            launch.launchEditor(QStringLiteral("PROG.CNC"));
            if (before == u"closed")
                platform.running.clear();
            platform.received.clear();
        }
        platform.failing.insert(failing);

        launch.launchEditor(QStringLiteral("PROG.CNC"));
        QStringList expected;
        if (received.startsWith(u's'))
            expected << QStringLiteral("0.5");
        if (const QString task = received.remove(u's'); !task.isEmpty())
            expected << task + ":^O" << QStringLiteral("0.5") << task + ":PROG.CNC"
                     << task + ":{ENTER}" << task + ":{ENTER}";
        QCOMPARE(platform.received, expected);
        QTEST(launch.editorTask(), "task");
        QTEST(launch.editorWindow(), "window");
        QCOMPARE(display.status(),
                 failing == u"start" ? program::EditorLaunch::notStartedText(editorPath)
                                     : QStringLiteral("Ready."));
    }

#ifdef Q_OS_LINUX
    // A real program as the editor, which writes its arguments beside itself. "<editor>" in
    // the editor setting is its path, "<file>" in the arguments the program file PROG.CNC,
    // found for the item's program name prog.cnc.
    void linuxOpensTheProgram_data()
    {
        // arguments: empty: not started
        columns<QString, QStringList, QString>({"editorPath", "arguments", "status"});
        const QString ready = QStringLiteral("Ready.");
        // clang-format off
        QTest::newRow("with %f") << "\"<editor>\" -a --file=%f" << QStringList{"-a", "--file=<file>"} << ready;
        QTest::newRow("without %f") << "\"<editor>\" --new-window" << QStringList{"--new-window", "<file>"} << ready;
        QTest::newRow("unquoted path with spaces") << "<editor>" << QStringList{"<file>"} << ready;
        QTest::newRow("no editor set") << "" << QStringList{} << program::EditorLaunch::noEditorText();
        QTest::newRow("editor missing") << "/nonexistent/editor %f" << QStringList{} << program::EditorLaunch::notStartedText(QStringLiteral("/nonexistent/editor %f"));
        // clang-format on
    }
    void linuxOpensTheProgram()
    {
        QStringList arguments = fetch<QStringList>("arguments");
        Rig rig;
        const QString editor = rig.root + QStringLiteral("/my editors/edit.sh");
        QVERIFY(QDir().mkpath(QFileInfo(editor).path()));
        QVERIFY(
            writeBytes(editor,
                       "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.part\"\n"
                       "mv \"$0.part\" \"$0.args\"\n"));
        QVERIFY(QFile::setPermissions(editor, QFile::ReadOwner | QFile::ExeOwner));
        const QString file = rig.settings.gcodePath + QStringLiteral("PROG.CNC");
        QVERIFY(writeBytes(file, "G71 X1 Y1 Z1\r\n(DOOR)\r\n"));
        rig.settings.editorPath = QString(fetch<QString>("editorPath")).replace("<editor>", editor);

        program::LinuxEditorPlatform platform;
        program::EditorLaunch launch(platform, rig.pacer, rig.display, rig.settings);
        const QByteArray written
            = arguments.replaceInStrings("<file>", file).join('\n').toLocal8Bit() + '\n';
        // Started for every program, also while the first copy may still run.
        for (int i = 0; i < 2; ++i) {
            QFile::remove(editor + QStringLiteral(".args"));
            launch.launchEditor(QStringLiteral("prog.cnc"));
            QTEST(rig.display.status(), "status");
            if (arguments.isEmpty()) {
                QCOMPARE(launch.editorTask(), EditorPlatform::Task(0));
                break;
            }
            QCOMPARE(launch.editorTask(), EditorPlatform::Task(i + 1));
            QTRY_COMPARE(readBytes(editor + QStringLiteral(".args")), written);
        }
    }
#endif

    void grammar_data()
    {
        columns<QByteArray, QStringList>({"keys", "labels"});
        // Per label: F when it did not complete an item, T when it did and nothing was sent,
        // or the number of "ACK"s it sent.
        columns<QString, QStringList, QString>({"results", "rows", "status"});
        // labels and rows: separated by "|".
        // clang-format off
        const auto add = [](const char *name, const QByteArray &keys, const char *labels,
                            const char *results, const char *rows,
                            const QString &status = "Ready.") {
            const auto list = [](const char *text) {
                return *text ? QString::fromLatin1(text).split('|') : QStringList();
            };
            QTest::newRow(name) << keys << list(labels) << results << list(rows) << status;
        };
        // clang-format on
        const QByteArray sel = SelectionKeys;
        const QByteArray dfn = SelectionKeys + "FieldCode_DFN=t\r\n";
        // Norm and mirror for comments that begin with "MIR".
        const QByteArray cmt = SelectionKeys
                               + "AutoSelSetting=2\r\nCommentMSel=0\r\nCommentNandMText=MIR\r\n"
                                 "CommentNandMLR=-1\r\nCommentNandMCPos=1\r\n";
        const QString badly = QStringLiteral("Barcode Formating Error.  ");
        const QString refused = QStringLiteral("Name refused: %1 reaches outside its folder.");

        // clang-format off
        add("segments in any order", sel, "%22600 400 18|%12PROG.CNC S1", "F1", "PROG.CNC f9 600x400x18 r1");
        add("program without a space keeps its name", sel, "%11PROG", "1", "PROG f3 xx r1");
        add("same segment twice", sel, "%12PROG.CNC N|%12OTHER.CNC M", "FF", "", badly + "%12OTHER.CNC M");
        add("blank before the dimensions", sel, "%12PROG.CNC N X|%22 600 400 18", "F1", "PROG.CNC f1 x600x400 r1");
        add("count 0 never completes", sel, "%10PROG.CNC N|%20600 400 18", "FF", "", " Waiting for next barcode...");
        add("dollar label completes by its count", sel, "%12PROG.CNC N|$21", "F1", "PROG.CNC f1 xx r1");
        add("count 9: one segment, repeated", sel, "%19PROG.CNC N", "1", "PROG.CNC f1 xx r999");
        add("type 5 is not taken in", sel, "%51abc", "F", "", badly + "%51abc");
        add("percent alone is not taken in", sel, "%", "F", "", badly + "%");
        add("field code in any wrapping, then plain name", sel, "*R*|PANEL", "T1", "PANEL.CNC f6 xx r1");
        add("inner part of a plain text is a field code", sel, "ANB|PANEL", "T1", "PANEL.CNC f1 xx r1");
        add("plain name without a field", sel, "PANEL", "F", "", "Run Field Not Selected");
        add("plain name with default field, upper case", dfn, "panel.cnc", "1", "panel.cnc f5 xx r1");
        add("plain name selected automatically", sel + "AutoSelSetting=1\r\n", "PANEL", "1", "PANEL.CNC f3 xx r1");
        add("plain name completes a half-collected item", sel, "%22600 400 18|%S%|PANEL", "FT1", "PANEL.CNC f3 600x400x18 r1");
        add("too large for the half limits", sel, "%22500 700 18|%12PROG.CNC  X", "F1", "PROG.CNC f1 500x700x18 r1");
        add("fixed field is not replaced by the segment", sel, "%A%|%12PROG.CNC N1 X|%22600 400 18", "TF1", "PROG.CNC f4 600x400x18 r1");
        add("clear drops the half item, keeps the list", sel, "%11DONE|%12PROG.CNC N|%CLEAR%", "1FT", "DONE f3 xx r1");
        // The reset blanks the field a field-code label fixed, but the field stays fixed: the
        // next item keeps the blank field and no field selection runs.
        add("clear keeps the field fixed", sel, "%R%|%12HALF.CNC N1 X|%CLEAR%|%12NEXT.CNC S X|%22700 200 9", "TFTF1", "NEXT.CNC f37 700x200x9 r1");
        add("unsafe plain name", dfn, "../ETC/PASSWD", "F", "", refused.arg("../ETC/PASSWD"));
        add("unsafe program segment", sel, "%12/TMP/X.CNC N", "F", "", refused.arg("/TMP/X.CNC"));
        add("subfolder name stays allowed", dfn, "JOBS/PANEL", "1", "JOBS/PANEL.CNC f5 xx r1");
        // No value of a label adds or ends a field of the row; "#" alone is harmless.
        add("; in a program segment's name", sel, "%11A;#168=9999;#171=9 N X", "F", "", "Name refused: A;#168=9999;#171=9 holds \";\", which would end a field of the list row.");
        add("line feed in a plain name", dfn, "AB\nCD", "F", "", "Name refused: AB<U+000A>CD holds a control character, which no list row can carry.");
        add("; in a dimension", sel, "%22600;#170=5 400 18", "F", "", "Dimension X refused: 600;#170=5 holds \";\", which would end a field of the list row.");
        add("# in a name stays allowed", dfn, "DOOR#1", "1", "DOOR#1.CNC f5 xx r1");
        // A comment read from the program file cannot be rescanned: ";" and a tab go as spaces.
        add("; and tab in the program's comment", sel, "%12SEMI.CNC N|%22600 400 18", "F1", "SEMI.CNC f1 600x400x18 r1 c:LEFT DOOR A");
        // An item with all its dimensions reads no program file for them; its comment is
        // still its own program's, so it is not mirrored for the comment of the program
        // before it.
        add("no-space program segment, its own comment", cmt, "%12MIRA.CNC X|%22600 400 18|%12PLAIN.CNC|%22600 400 18", "F2F1", "MIRA.CNC f3 600x400x18 r1 c:MIRROR A|MIRA.CNC f4 600x400x18 r1 c:MIRROR A|PLAIN.CNC f3 600x400x18 r1");
        add("dimension from the file in the compact form", sel, "%12PLAIN.CNC N|%22600 400 0", "F1", "PLAIN.CNC f1 600x400x.5 r1 c:PLAIN DOOR");
        add("plain name, its own comment", cmt, "%12MIRA.CNC X|%22600 400 18|%22600 400 18|PLAIN", "F2F1", "MIRA.CNC f3 600x400x18 r1 c:MIRROR A|MIRA.CNC f4 600x400x18 r1 c:MIRROR A|PLAIN.CNC f3 600x400x18 r1");
        // clang-format on
    }

    void grammar()
    {
        Rig rig(fetch<QByteArray>("keys"));
        QVERIFY(writeBytes(rig.settings.gcodePath + "MIRA.CNC",
                           "G71 X900 Y700 Z20\r\n(MIRROR A)\r\nM30\r\n"));
        QVERIFY(writeBytes(rig.settings.gcodePath + "PLAIN.CNC",
                           "G71 X900 Y700 Z0.5\r\n(PLAIN DOOR)\r\nM30\r\n"));
        QVERIFY(writeBytes(rig.settings.gcodePath + "SEMI.CNC",
                           "G71 X900 Y700 Z20\r\n(LEFT;DOOR\tA)\r\nM30\r\n"));
        QString got;
        for (const QString &label : fetch<QStringList>("labels")) {
            const qsizetype sent = rig.port.sent.size();
            const bool completed = rig.dispatcher.interpretLabel(label);
            const auto acks = rig.port.sent.mid(sent).count("ACK\r");
            got += QLatin1Char(!completed ? 'F' : acks == 0 ? 'T' : char('0' + acks));
        }
        QTEST(got, "results");
        QTEST(rig.rows(), "rows");
        QTEST(rig.display.status(), "status");
        // Indicators show the segments collected; the last item's name is kept.
        for (int i = 0; i < 5; ++i)
            QCOMPARE(rig.display.segments[std::size_t(i)],
                     rig.dispatcher.segmentsSeen().contains(QString::number(i)));
        QVERIFY(!rig.display.autoFieldSelection);
        if (!rig.rows().isEmpty())
            QCOMPARE(rig.item.lastProgramName, rig.rows().last().section(' ', 0, 0).trimmed());
    }

    // The outcome is "loaded", "prompt:" and the warning shown (<lists> is the list folder),
    // or "status:" and the status line of a failure without a message box.
    void listFile_data()
    {
        // fileOnDisk: in the list folder
        // openListError: planned failure of OpenList; -1: no list manager
        columns<QString, QString, int, QString>(
            {"listName", "fileOnDisk", "openListError", "outcome"});
        const int automation = ListManagerFaults::automationError().number();
        // clang-format off
        QTest::newRow("lower case on disk") << "PANEL1" << "panel1.lst" << 0 << "loaded";
        QTest::newRow("subfolder")          << "sub\\P" << "sub/P.LST"  << 0 << "loaded";
        QTest::newRow("not found")          << "PANEL2" << "PANEL1.LST" << 0 << "prompt:List File <lists>PANEL2.LST Not Found";
        QTest::newRow("suffix doubled")     << "A.LST"  << "A.LST"      << 0 << "prompt:List File <lists>A.LST.LST Not Found";
        QTest::newRow("list manager says not found") << "PANEL1" << "PANEL1.LST" << 53 << "prompt:List File <lists>PANEL1.LST Not Found";
        QTest::newRow("other failure is silent") << "PANEL1" << "PANEL1.LST" << automation << "status:Ready.";
        QTest::newRow("no list manager")    << "PANEL1" << "PANEL1.LST" << -1 << "status:Ready.";
        QTest::newRow("outside the folder") << "../PANEL1" << "PANEL1.LST" << 0 << "status:Name refused: ../PANEL1 reaches outside its folder.";
        // clang-format on
    }
    void listFile()
    {
        const int openListError = fetch<int>("openListError");
        QString outcome = fetch<QString>("outcome");
        Rig rig;
        const QString lists = rig.settings.listPath;
        QVERIFY(QDir().mkpath(lists + "sub"));
        QVERIFY(writeBytes(lists + fetch<QString>("fileOnDisk"), "#161=A.CNC;\r\n#161=B.CNC;\r\n"));
        // A file of the same name just outside the list folder must not be reached.
        QVERIFY(writeBytes(rig.root + QStringLiteral("/PANEL1.LST"), "#161=OUT.CNC;\r\n"));
        rig.store->addRow(QStringLiteral("#161=OLD.CNC;"));
        if (openListError < 0)
            rig.link.release();
        if (openListError > 0)
            rig.faults.failNext(QStringLiteral("OpenList"),
                                1,
                                base::Error(openListError, QStringLiteral("planned")));
        rig.display.setStatus(QStringLiteral("busy"));
        rig.display.segments.fill(true);

        label::ListFileLoader loader(rig.settings, rig.link, rig.display, rig.pacer, rig.prompter);
        const base::LabelOutcome result = loader.loadListFile(fetch<QString>("listName"));

        const bool loaded = outcome == QLatin1String("loaded");
        // What the journal records: taken, refused (a name outside the folder) or failed.
        using Result = base::LabelOutcome::Result;
        QCOMPARE(result.result,
                 loaded                              ? Result::Taken
                 : outcome.startsWith("status:Name") ? Result::Refused
                                                     : Result::Failed);
        const QStringList loadedRows{"#161=A.CNC;", "#161=B.CNC;"};
        QCOMPARE(rig.store->rows(), loaded ? loadedRows : QStringList{"#161=OLD.CNC;"});
        // A failure pauses, clears the segment indicators and ends on a status line.
        QCOMPARE(rig.pacer.pauses, loaded ? QList<float>{} : QList<float>{0.6f});
        QCOMPARE(rig.display.segments[4], loaded);
        const bool prompt = outcome.startsWith(QLatin1String("prompt:"));
        QCOMPARE(rig.display.status(),
                 loaded   ? QStringLiteral("busy")
                 : prompt ? QStringLiteral("Ready.")
                          : outcome.mid(7));
        QCOMPARE(rig.prompter.texts(),
                 prompt ? QStringList{outcome.mid(7).replace("<lists>", lists)} : QStringList{});
        if (prompt)
            QCOMPARE(result.reason.english(), rig.prompter.texts().value(0));
    }

    // The pauses that follow what the list manager was given, as the real pacer waits them
    // (ms): two after an item, one after a list command or a list file that failed to load,
    // each ItemPauseMs long (-1: the value the settings start with).
    void pausesAfterTheList_data()
    {
        columns<int, QString, QList<int>>({"itemPauseMs", "label", "ms"});
        // clang-format off
        QTest::newRow("item, as the settings start") << -1  << "%19PROG.CNC N" << QList<int>{600, 600};
        QTest::newRow("item, none")                  << 0   << "%19PROG.CNC N" << QList<int>{0, 0};
        QTest::newRow("list command, 250")           << 250 << "%START%"       << QList<int>{250};
        QTest::newRow("list file not loaded, 250")   << 250 << "%01NOLIST"     << QList<int>{250};
        // clang-format on
    }
    void pausesAfterTheList()
    {
        Rig rig;
        if (const int itemPauseMs = fetch<int>("itemPauseMs"); itemPauseMs >= 0)
            rig.settings.itemPauseMs = itemPauseMs;
        (void)rig.dispatcher.interpretLabel(fetch<QString>("label"));
        QList<int> waited;
        for (const float seconds : rig.pacer.pauses)
            waited << app::EventLoopPacer::milliseconds(seconds);
        QTEST(waited, "ms");
        QCOMPARE(rig.display.status(), QStringLiteral("Ready."));
    }

    // The row text built from the current item; adding it to the list manager, with its one
    // recovery, is tested with every list manager member failing in tst_stationfaults.
    void buildsTheRow_data()
    {
        // fields: 171, 284 and 170
        // clang-format off
        columns<QString, QString, QString>({"runField", "dimZ", "fields"});
        QTest::newRow("third code")           << "S"   << "20"  << "3 0 20";
        QTest::newRow("36th code, even")      << "R/1" << "20"  << "36 1 20";
        QTest::newRow("no code")              << " "   << "20"  << "37 0 20";
        QTest::newRow("zero Z is sent empty") << "M1"  << "0"   << "8 1 ";
        QTest::newRow("half Z unchanged")     << "M1"  << "0.5" << "8 1 0.5";
        // clang-format on
    }
    void buildsTheRow()
    {
        const QStringList f = fetch<QString>("fields").split(QLatin1Char(' '));
        base::CurrentItem item;
        item.resetItem();
        item.programName = QStringLiteral("forpunte.CNC");
        item.runField = fetch<QString>("runField");
        item.dimX = item.dimY = QStringLiteral("600");
        item.dimZ = fetch<QString>("dimZ");
        QCOMPARE(
            label::buildListRow(item),
            QStringLiteral("#161=forpunte.CNC;#162= ;#164=1;#165=1;#281=;#171=%1;#284=%2;#285=;"
                           "#280=;#168=600;#169=600;#170=%3;#282= ;#283=;#223= ;#277=;#278=;"
                           "#279=;")
                .arg(f[0], f[1], f[2]));
        QCOMPARE(item.dimZ, f[2].isEmpty() ? QString() : fetch<QString>("dimZ")); // in the item too
        // A value that would add or end fields goes with spaces in their place.
        item.programName = QStringLiteral("A;#B\r\n.CNC");
        QVERIFY(label::buildListRow(item).startsWith(QStringLiteral("#161=A #B  .CNC;#162= ;")));
    }

    void pauseLengths_data()
    {
        columns<float, int>({"seconds", "ms"});
        QTest::newRow("below half a millisecond") << 0.0004f << 0;
        QTest::newRow("rounded up") << 0.0017f << 2;
        QTest::newRow("negative") << -1.0f << 0;
    }
    void pauseLengths()
    {
        QTEST(app::EventLoopPacer::milliseconds(fetch<float>("seconds")), "ms");
    }

    void mirrorMatch_data()
    {
        // text: the program name, or the comment for source Comment
        columns<int, bool, QString, int, bool, QString, bool, QString>({"source",
                                                                        "normAndMirror",
                                                                        "trigger",
                                                                        "position",
                                                                        "fromLeft",
                                                                        "text",
                                                                        "twice",
                                                                        "runField"});
        const int name = int(TriggerSource::ProgramName);
        const int comment = int(TriggerSource::Comment);
        const int barcode = int(TriggerSource::Barcode);
        // Program name triggers of two characters have the maximum 11, from the right
        // position v looks at n - 11 + v.
        // clang-format off
        QTest::newRow("case ignored")              << name    << false << "mr"  << 5  << true  << "progMr.cnc"    << false << "W";
        QTest::newRow("source trimmed")            << name    << false << "MR"  << 5  << true  << "  PROGMR.CNC " << false << "W";
        QTest::newRow("trigger not trimmed")       << name    << false << "MR " << 5  << true  << "PROGMR.CNC"    << false << "P";
        QTest::newRow("fewer characters remain")   << name    << false << "MR"  << 4  << true  << "PROM"          << false << "P";
        QTest::newRow("norm and mirror: match")    << name    << true  << "MR"  << 5  << true  << "PROGMR.CNC"    << true  << "W";
        QTest::newRow("norm and mirror: no match") << name    << true  << "MR"  << 1  << true  << "PROGMR.CNC"    << false << "P";
        QTest::newRow("empty trigger")             << name    << true  << ""    << 1  << true  << "PROG"          << false << " ";
        QTest::newRow("trigger longer than source")<< name    << false << "ABC" << 1  << true  << " AB "          << false << " ";
        QTest::newRow("star anywhere")             << name    << true  << "*Z"  << 3  << true  << "PROG"          << true  << "W";
        QTest::newRow("star needs the length")     << name    << false << "*Z"  << 1  << true  << "A"             << false << " ";
        QTest::newRow("right: one off")            << name    << false << "MR"  << 7  << false << "PROGMR.CNC"    << false << "P";
        QTest::newRow("right: start 1")            << name    << false << "MR"  << 10 << false << "MR"            << false << "W";
        QTest::newRow("right: start 0")            << name    << false << "MR"  << 8  << false << "MRX"           << false << "P";
        QTest::newRow("right: at maximum, start n")<< name    << false << "R"   << 12 << false << "PR"            << false << "P";
        QTest::newRow("comment")                   << comment << false << "MIR" << 7  << true  << "PANEL MIRROR"  << false << "W";
        QTest::newRow("comment from right")        << comment << true  << "MIR" << 18 << false << "PANEL MIRROR"  << true  << "W";
        QTest::newRow("barcode: no test")          << barcode << true  << "*"   << 1  << true  << ""              << false << " ";
        // clang-format on
    }
    void mirrorMatch()
    {
        const int source = fetch<int>("source"), position = fetch<int>("position");
        fieldsel::AutoSelSettings settings;
        settings.setSource(TriggerSource(source));
        settings.setAction(fetch<bool>("normAndMirror") ? MirrorAction::NormAndMirror
                                                        : MirrorAction::Mirror);
        settings.placeText();
        settings.setTriggerText(fetch<QString>("trigger"));
        settings.setTriggerPosition(qint16(position));
        settings.setFromLeft(fetch<bool>("fromLeft"));

        base::CurrentItem item;
        item.resetItem();
        // The other text holds the trigger everywhere, so reading the wrong one shows.
        const QString decoy = QStringLiteral("MRMRMIRMIRMIRMIRMIR");
        const bool isComment = source == int(TriggerSource::Comment);
        item.programName = isComment ? decoy : fetch<QString>("text");
        item.programComment = isComment ? fetch<QString>("text") : decoy;
        QTEST(label::matchMirrorSpec(settings, item), "twice");
        QTEST(item.runField, "runField");
    }

    // Moving a program's companion CSV file into the collecting file: copied byte for byte; a
    // last line end that is not CR LF becomes one. A failure keeps the companion as it was.
    void companionCsv_data()
    {
        // companion: the file on disk, of content or, when size is not -1, sparse; collectingFile:
        // "<tmp>" for the test folder, empty for the station's; collectedBefore: empty: no
        // collecting file; collected: empty: none written
        columns<QString, QString, QByteArray, qint64, QString, QByteArray, int, QByteArray>(
            {"programName",
             "companion",
             "content",
             "size",
             "collectingFile",
             "collectedBefore",
             "error",
             "collected"});
        using B = QByteArray;
        const qint64 content = -1, tooLarge = label::maxCompanionCsvBytes + 1;
        // clang-format off
        QTest::newRow("LF CR: only the CR goes") << "PROG.CNC" << "PROG.CSV" << B("a\n\r") << content << "" << B() << 0 << B("a\n\r\n");
        QTest::newRow("inner bytes as they are") << "PROG.CNC" << "PROG.CSV" << B("x\r\n\xe9\0y\n", 7) << content << "" << B() << 0 << B("x\r\n\xe9\0y\r\n", 8);
        QTest::newRow("empty")         << "PROG.CNC" << "PROG.CSV" << B()            << content << "" << B() << 0 << B("\r\n");
        QTest::newRow("appended")      << "PROG.CNC" << "PROG.CSV" << B("2\r\n")     << content << "" << B("1\r\n") << 0 << B("1\r\n2\r\n");
        QTest::newRow("lower-case .cnc") << "prog.cnc" << "prog.CSV" << B("a")       << content << "" << B() << 0 << B("a\r\n");
        QTest::newRow("lower-case file on disk") << "PROG.CNC" << "prog.csv" << B("a") << content << "" << B() << 0 << B("a\r\n");
        QTest::newRow("other program's file") << "PROG.CNC" << "PROG2.CSV" << B("a") << content << "" << B() << 0 << B();
        QTest::newRow("disk full")     << "PROG.CNC" << "PROG.CSV" << B() << qint64(10) << "/dev/full" << B() << int(base::Error::DiskFull) << B();
        QTest::newRow("folder missing") << "PROG.CNC" << "PROG.CSV" << B() << qint64(10) << "<tmp>/none/out.csv" << B() << int(base::Error::PathNotFound) << B();
        QTest::newRow("companion too large") << "PROG.CNC" << "PROG.CSV" << B() << tooLarge << "<tmp>/out.csv" << B() << int(base::Error::OutOfMemory) << B();
        // The companion of "../PROG.CNC" would lie beside the companion folder.
        QTest::newRow("name outside the folder") << "../PROG.CNC" << "../PROG.CSV" << B() << qint64(10) << "<tmp>/out.csv" << B() << 0 << B();
        // clang-format on
    }
    void companionCsv()
    {
        const QString &programName = fetch<QString>("programName");
        const QByteArray &collected = fetch<QByteArray>("collected");
        const qint64 size = fetch<qint64>("size");
        QString collectingFile = fetch<QString>("collectingFile");
        const bool device = collectingFile.startsWith("/dev/");
        if (device && !QFile::exists(collectingFile))
            QSKIP("no /dev/full here");
        if (device) // opening a device to append seeks, and Qt says so
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot call seek"));
        Rig rig;
        if (!collectingFile.isEmpty())
            rig.settings.csvOutPath = collectingFile.replace("<tmp>", rig.root);
        const QString companion = rig.csvIn(fetch<QString>("companion"));
        QVERIFY(writeBytes(companion, fetch<QByteArray>("content")));
        QVERIFY(size < 0 || QFile(companion).resize(size)); // sparse
        if (!fetch<QByteArray>("collectedBefore").isEmpty())
            QVERIFY(writeBytes(rig.settings.csvOutPath, fetch<QByteArray>("collectedBefore")));

        QTEST(rig.copyCsv(programName), "error");
        const bool moved = !collected.isEmpty();
        QCOMPARE(QFile::exists(companion), !moved);
        QCOMPARE(QFileInfo(companion).size(),
                 moved      ? 0
                 : size < 0 ? fetch<QByteArray>("content").size()
                            : size);
        if (device)
            return;
        QCOMPARE(readBytes(rig.settings.csvOutPath), collected);
        QCOMPARE(QFile::exists(rig.settings.csvOutPath), moved);
        QCOMPARE(rig.copyCsv(programName), fetch<int>("error")); // a second scan finds nothing more
        QCOMPARE(readBytes(rig.settings.csvOutPath), collected);
        QVERIFY(rig.prompter.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_Program)
#include "tst_program.moc"
