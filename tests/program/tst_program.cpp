// Program barcodes: the label forms, the header fields, the program file written from the
// label, dimensions taken from it, the rows sent and labels abandoned on failure; compressed
// labels; reading program files; and the editor launch.

#include "../text/Tables.h"
#include "DispatcherRig.h"
#include "embeddedlist/RunState.h"
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
#include <QScopeGuard>
#include <QSet>
#include <QTest>

#include <zlib.h>

using namespace barlink;
using namespace barlink::program;
using namespace barlink::testing;
using Route = ExpandRoute;

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

QByteArray zlibBytes(const QByteArray &bytes)
{
    uLongf size = compressBound(uLong(bytes.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef *>(out.data()),
              &size,
              reinterpret_cast<const Bytef *>(bytes.constData()),
              uLong(bytes.size()),
              9);
    out.truncate(qsizetype(size));
    return out;
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
    bool opensProgramFiles() const override { return false; }
    Task startProgram(const QString &, const QString &) override
    {
        fail(u"start");
        running.insert(++m_lastTask);
        return m_lastTask;
    }
    int moduleUsage(Task task) override
    {
        fail(u"usage");
        return running.contains(task) ? 1 : 0;
    }
    void activateTask(Task task) override
    {
        fail(u"activate", !running.contains(task));
        m_active = Window(100 + task);
    }
    Window activeWindow() override { return m_active; }
    void placeOnTop(Window) override { fail(u"placeOnTop"); }
    void sendKeys(Task task, const QString &keys) override
    {
        received << QString::number(task) + u':'
                        + QString(keys)
                              .replace(QChar(15), QStringLiteral("^O"))
                              .replace(QChar(13), QStringLiteral("{ENTER}"));
        fail(u"keys");
    }
    void pause(float seconds) override { received << QString::number(seconds); }

    QStringList received;
    QSet<QString> failing;
    QSet<Task> running;

private:
    void fail(QStringView call, bool fails = false)
    {
        if (fails || failing.contains(call.toString()))
            throw Error(Error::InvalidCall, call.toString() + QStringLiteral(" failed"));
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
        // The system cuts a name at a NUL: "PROG1" would be written in its place.
        QTest::newRow("name holding a NUL") << QStringLiteral("PROG1") + QChar(0) + "X^X800!" + Iso << false << "Program barcode abandoned: it names no program file." << true;
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
        // A refused name leaves the item alone; an abandoned label leaves it reset.
        QCOMPARE(rig.item.programName,
                 QString::fromLatin1(rig.prompter.shown.isEmpty() ? "KEEP" : " "));

        rig.settings.gcodePath = rig.root + QStringLiteral("/gcode/");
        rig.handler.interpretProgramBarcode("NEXT^X800^Y600^Z18!" + Iso);
        QCOMPARE(rig.display.status(), QStringLiteral("Ready."));
        QVERIFY(rig.rows().last().startsWith(QStringLiteral("NEXT ")));
    }

    void unescape_data()
    {
        columns<QByteArray, QByteArray>({"label", "data"});
        QTest::newRow("pair gives one") << QByteArray("a\\\\b") << QByteArray("a\\b");
        QTest::newRow("single stays") << QByteArray("a\\b") << QByteArray("a\\b");
        QTest::newRow("three give two") << QByteArray("\\\\\\") << QByteArray("\\\\");
        QTest::newRow("runs counted apart")
            << QByteArray("\\\\x\\\\\\y\\") << QByteArray("\\x\\\\y\\");
    }
    void unescape() { QTEST(unescapeBackslashes(fetch<QByteArray>("label")), "data"); }

    void expands_data()
    {
        columns<QString, int, Route, QString>({"text", "level", "route", "labelHolds"});
        QTest::newRow("100") << programText(100) << 9 << Route::Buffer << "";
        QTest::newRow("23072, last in memory") << programText(23072) << 9 << Route::Buffer << "";
        QTest::newRow("23073, first through files") << programText(23073) << 9 << Route::File << "";
        QTest::newRow("32767, the largest") << programText(32767) << 9 << Route::File << "";
        QTest::newRow("large, stored uncompressed") << programText(30000) << 0 << Route::File << "";
        // Stored blocks carry the text's bytes as they are: its backslash runs reach the
        // label, each backslash doubled.
        QTest::newRow("backslash runs in the data")
            << QStringLiteral("A\\B\\\\C\\\\\\D^\\\\\\\\") << 0 << Route::Buffer
            << QString(8, QLatin1Char('\\'));
        QString all;
        for (int c = 1; c < 256; ++c)
            all += QChar(c);
        QTest::newRow("every single-byte character") << all << 9 << Route::Buffer << "";
    }
    void expands()
    {
        const QString &text = fetch<QString>("text");
        const QString label = makeCompressedLabel(text, fetch<int>("level"));
        QCOMPARE(label.left(11),
                 QStringLiteral("\u00F1ZL%1").arg(text.size(), 5, 10, QLatin1Char('0')) + "000");
        QVERIFY(label.mid(11).contains(fetch<QString>("labelHolds")));
        const CompressedLabelDecoder::Result result = CompressedLabelDecoder().decode(label);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QTEST(result.route, "route");
        QCOMPARE(result.text.size(), text.size());
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
        QTest::newRow("line end only") << labelAround("00100", stream + "\r\n") << "";
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
        QTest::newRow("length over 32767") << labelAround("40000", stream) << "its length field \"40000\" says more than the 32767";
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

    // Another user may plant links named like temporary files in a shared temporary folder,
    // such as the station's runtime folder: a long label is still expanded, and the file the
    // links lead to keeps its content.
    void plantedLinksAreLeftAlone()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("barlink"));
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
        const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", runtime); });
        QVERIFY(QDir().mkpath(folder));
        const QString target = dir.filePath(QStringLiteral("operator.txt"));
        QVERIFY(writeBytes(target, "KEEP"));
        for (const char *name : {"Temp.Cmp", "Temp.Dat"})
            QVERIFY(QFile::link(target, QDir(folder).filePath(QLatin1String(name))));

        const QString text = programText(23073);
        FakeDisplay display;
        QString rest;
        QCOMPARE(decodeCompressedLabel(makeCompressedLabel(text), display, rest), text);
        QCOMPARE(readBytes(target), QByteArray("KEEP"));
        QCOMPARE(QDir(folder).entryList(QDir::System | QDir::Files).size(), 2);
    }

    void encoderRefuses()
    {
        for (const QString &text : {QString(), programText(32768), QStringLiteral("PROG^\u20AC!")})
            QVERIFY_THROWS_EXCEPTION(Error, (void)makeCompressedLabel(text));
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
        QTest::newRow("read") << "PROG.CNC" << iso << "PROG.CNC" << read << "";
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
        DispatcherRig rig;
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
        add("raising fails",                 "running", "placeOnTop", "1",  1, 101);
        add("keystrokes fail one by one",    "running", "keys",       "1",  1, 101);
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
        DispatcherRig rig;
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
};

QTEST_GUILESS_MAIN(tst_Program)
#include "tst_program.moc"
