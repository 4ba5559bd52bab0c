// The disk lets the station down: a g-code folder that cannot be written, a collecting CSV
// file on a full disk, a settings file that cannot be written, list files that cannot be
// read, a list manager whose list cannot grow. The operator gets a clear message where the
// failure matters to them, and nothing is lost: the companion CSV stays where it was, no
// program file is half written, the settings file and the list stay as they were.
//
// Permissions do not stop root, so the faults are made in ways that stop anyone: a folder
// path that runs through a plain file, /dev/full, a file size limit (RLIMIT_FSIZE), a folder
// or a fifo where a file is expected; the permission cases run only for other users.

#include "StationRig.h"
#include "program/ProgramBarcode.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace barlink;
using namespace barlink::testing;

namespace {

using Rig = StationRig<FakeScannerPort>;

// While it lives, no file of this process may grow beyond `bytes` (no bound when 0): a write
// past it fails (EFBIG) after writing what fits, as on a disk that fills up.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes > 0 ? bytes : m_old.rlim_max;
        m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    [[nodiscard]] bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    bool m_set = false;
    void (*m_oldHandler)(int) = nullptr;
};

// Scans the labels, each handled by the polling tick, while no file may grow beyond `limit`.
void scan(Rig &rig, const QByteArrayList &labels, rlim_t limit = 0)
{
    const FileSizeLimit bound(limit);
    QVERIFY(bound.isSet());
    for (const QByteArray &label : labels)
        rig.scanWithTicks(label);
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// A program barcode for PB1 whose program text has `textBytes` characters.
QByteArray programLabel(int textBytes)
{
    QByteArray text = "G71 X800 Y600 Z18\r\n(PB1)\r\n";
    while (text.size() < textBytes)
        text += "N10 G1 X100 Y100\r\n";
    text.truncate(textBytes);
    if (text.endsWith(' ')) // the handler trims the text
        text.back() = '0';
    return "PB1^X800^Y600^Z18!" + text;
}

const QByteArray CompanionBytes = "PROG;1;600;400\r\n";
const QByteArrayList Item = {"%12PROG.CNC N1 X", "%22600 400 18"};

} // namespace

class tst_FileFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void programFileNotWritten_data();
    void programFileNotWritten();
    void collectingFileNotWritten_data();
    void collectingFileNotWritten();
    void settingsFileNotWritten();
    void listFileNotRead_data();
    void listFileNotRead();
    void listManagerListCannotGrow();
    void listManagerListNotRead_data();
    void listManagerListNotRead();

private:
    [[nodiscard]] QString path(const char *relative = "") const
    {
        return m_dir->path() + QLatin1Char('/') + QLatin1String(relative);
    }
    [[nodiscard]] std::unique_ptr<Rig> startStation(const QByteArray &keys = {})
    {
        auto rig = std::make_unique<Rig>(m_dir->path());
        if (!Rig::prepare(m_dir->path(), QStringLiteral("/dev/scanner"), keys) || !rig->start())
            return nullptr;
        return rig;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_FileFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(writeBytes(path("plainfile"), "not a folder\n"));
}

void tst_FileFaults::programFileNotWritten_data()
{
    QTest::addColumn<QByteArray>("gcodePath"); // below the root
    QTest::addColumn<int>("sizeLimit");        // 0: none
    QTest::addColumn<int>("textBytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("folder path runs through a plain file")
        << QByteArray("plainfile/") << 0 << 200 << "Not a directory";
    // QSaveFile has no text for a write refused by the size limit.
    QTest::newRow("disk fills up while writing")
        << QByteArray("gcode/") << 4096 << 20000 << "could not be written";
}

void tst_FileFaults::programFileNotWritten()
{
    QFETCH(QByteArray, gcodePath);
    QFETCH(int, sizeLimit);
    QFETCH(int, textBytes);
    QFETCH(QString, reason);

    const QByteArray oldProgram = "G71 X1 Y1 Z1\r\n(OLD)\r\n";
    auto rig = startStation("GCodePath=" + path().toLocal8Bit() + gcodePath);
    QVERIFY(rig);
    QVERIFY(writeBytes(path("gcode/PB1"), oldProgram));
    scan(*rig, {programLabel(textBytes)}, rlim_t(sizeLimit));

    // Abandoned with a message that names the file and the reason; no row.
    QCOMPARE(rig->prompter.shown.size(), 1);
    const QString text = rig->prompter.shown.constFirst().text;
    QVERIFY2(text.startsWith(program::ProgramBarcode::abandonedText(
                 QStringLiteral("the program file %1%2PB1 could not be written")
                     .arg(path(), QString::fromLatin1(gcodePath))))
                 && text.contains(reason),
             qPrintable(text));
    QCOMPARE(rig->display.status(), text);
    QCOMPARE(rig->store->rowCount(), 0);
    // The program that was there stays whole, and nothing half written is left beside it.
    QCOMPARE(readBytes(path("gcode/PB1")), oldProgram);
    QCOMPARE(entriesOf(path("gcode")), QStringList{"PB1"});

    // Once the disk takes it again, the same label goes through.
    rig->station.settings().gcodePath = path("gcode/");
    scan(*rig, {programLabel(textBytes)});
    QCOMPARE(rig->store->rowCount(), 1);
    QCOMPARE(readBytes(path("gcode/PB1")).size(), textBytes + 2);
}

void tst_FileFaults::collectingFileNotWritten_data()
{
    QTest::addColumn<QString>("collecting"); // "<root>/" is replaced
    QTest::addColumn<int>("sizeLimit");
    QTest::addColumn<QByteArrayList>("labels"); // the item; the last one names the program
    QTest::addColumn<QString>("prompt");

    const QByteArrayList segments = {Item[1], Item[0]};
    const QString full = QStringLiteral("Unexpected error # 61 occured: Disk full");
    QTest::newRow("/dev/full, segment label") << "/dev/full" << 0 << segments << full;
    QTest::newRow("/dev/full, plain name")
        << "/dev/full" << 0 << QByteArrayList{"%R%", "PROG"} << full;
    QTest::newRow("disk fills up, segment label")
        << "<root>/collected.csv" << 5 << segments
        << "Unexpected error # 75 occured: Path/File access error";
}

void tst_FileFaults::collectingFileNotWritten()
{
    QFETCH(QString, collecting);
    QFETCH(int, sizeLimit);
    QFETCH(QByteArrayList, labels);
    QFETCH(QString, prompt);

    collecting.replace(QStringLiteral("<root>/"), path());
    const QByteArray earlier = "EARLIER;LINE;WRITTEN;BEFORE\r\n";
    auto rig = startStation("CSVOutPath=" + collecting.toLocal8Bit());
    QVERIFY(rig);
    QVERIFY(writeBytes(path("collected.csv"), earlier));
    QVERIFY(writeBytes(path("csvin/PROG.CSV"), CompanionBytes));
    scan(*rig, labels, sizeLimit > 0 ? rlim_t(earlier.size() + sizeLimit) : 0);

    QCOMPARE(rig->prompter.texts(), QStringList{prompt});
    // The companion stays where it was, the collecting file as it was, and the item whose
    // program named it is abandoned whole.
    QCOMPARE(readBytes(path("csvin/PROG.CSV")), CompanionBytes);
    QCOMPARE(readBytes(path("collected.csv")), earlier);
    QCOMPARE(rig->store->rowCount(), 0);
    QVERIFY(rig->port.sent.isEmpty());
    QVERIFY(rig->station.dispatcher().segmentsSeen().isEmpty());

    // With the collecting file back, the same labels scanned again do everything once.
    rig->station.settings().csvOutPath = path("collected.csv");
    scan(*rig, labels);
    QCOMPARE(rig->store->rowCount(), 1);
    QCOMPARE(rig->port.sent, QByteArray("ACK\r"));
    QVERIFY(!QFile::exists(path("csvin/PROG.CSV")));
    QCOMPARE(readBytes(path("collected.csv")), earlier + CompanionBytes);
}

// An option switch the settings file cannot take: the operator hears of it at once, the file
// keeps every byte, no stray copy is left, and the station goes on.
void tst_FileFaults::settingsFileNotWritten()
{
    auto rig = startStation();
    QVERIFY(rig);
    const QByteArray before = readBytes(path("program/KTQ.INI"));
    {
        const FileSizeLimit limit(1);
        QVERIFY(limit.isSet());
        rig->station.options().setValueByUser(base::Options::AutoClear, 1);
    }
    QCOMPARE(rig->prompter.shown.size(), 1);
    QCOMPARE(rig->prompter.shown.constFirst().icon, base::Prompter::Icon::Critical);
    QVERIFY2(rig->prompter.texts().constFirst().startsWith(QStringLiteral("Unexpected error #")),
             qPrintable(rig->prompter.texts().constFirst()));
    QCOMPARE(readBytes(path("program/KTQ.INI")), before);
    QCOMPARE(entriesOf(path("program")), QStringList{"KTQ.INI"});
    scan(*rig, {"%19ONE.CNC N"});
    QCOMPARE(rig->store->rowCount(), 1);
}

void tst_FileFaults::listFileNotRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("prompts");

    // Only a missing file is the operator's business; the others end quietly with "Ready."
    // and the indicators dark.
    QTest::newRow("missing") << "missing"
                             << QStringList{"List File <root>/lists/PANEL1.LST Not Found"};
    QTest::newRow("a folder") << "folder" << QStringList{};
    QTest::newRow("a fifo with no writer") << "fifo" << QStringList{};
    QTest::newRow("larger than any list") << "huge" << QStringList{};
    QTest::newRow("no permission to read") << "unreadable" << QStringList{};
}

void tst_FileFaults::listFileNotRead()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, prompts);

    auto rig = startStation();
    QVERIFY(rig);
    const QString list = path("lists/PANEL1.LST");
    QFile file(list);
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(list));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(list).constData(), 0600), 0);
    } else if (kind == QLatin1String("huge")) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(65) * 1024 * 1024)); // sparse: quick to make
    } else if (kind == QLatin1String("unreadable")) {
        if (::geteuid() == 0)
            QSKIP("permissions do not stop root");
        QVERIFY(writeBytes(list, "#161=A.CNC;\r\n"));
        QVERIFY(QFile::setPermissions(list, QFile::WriteOwner));
    }
    scan(*rig, {"%19ONE.CNC N", "%01PANEL1"});

    QCOMPARE(rig->prompter.texts(), prompts.replaceInStrings(QStringLiteral("<root>/"), path()));
    QCOMPARE(rig->display.status(), QStringLiteral("Ready."));
    QVERIFY(rig->display.segments == decltype(rig->display.segments){});
    // The list was cleared for the list that was to come, as a list label always does.
    QCOMPARE(rig->store->rowCount(), 0);
    scan(*rig, {"%19TWO.CNC N"});
    QCOMPARE(rig->rowNames(), QStringList{"TWO.CNC"});
}

void tst_FileFaults::listManagerListCannotGrow()
{
    auto rig = startStation();
    QVERIFY(rig);
    scan(*rig, {"%19ONE.CNC N"});
    const QString listFile = rig->store->folder() + QStringLiteral("/current.lst");
    const QByteArray before = readBytes(listFile);
    QVERIFY(!before.isEmpty());
    scan(*rig, Item, rlim_t(before.size() + 20));
    // AddLine and its one retry fail: a message, no "ACK" for the item, and neither the list
    // nor its file holds any part of the row.
    QCOMPARE(rig->prompter.texts(),
             QStringList{QStringLiteral("Unexpected error # 57 occured: Device I/O error")});
    QCOMPARE(rig->port.sent, QByteArray("ACK\r"));
    QCOMPARE(rig->rowNames(), QStringList{"ONE.CNC"});
    QCOMPARE(readBytes(listFile), before);

    scan(*rig, Item);
    QCOMPARE(rig->rowNames(), (QStringList{"ONE.CNC", "PROG.CNC"}));
    QCOMPARE(embeddedlist::ListStore(rig->store->folder()).rows(), rig->store->rows());
}

void tst_FileFaults::listManagerListNotRead_data()
{
    QTest::addColumn<bool>("fifo"); // else: no permission to read
    QTest::newRow("no permission to read") << false;
    QTest::newRow("a fifo") << true;
}

// The list manager's list is there but cannot be read: it refuses to start on an empty list,
// which would replace the one on disk at the first change.
void tst_FileFaults::listManagerListNotRead()
{
    QFETCH(bool, fifo);
    const QString listFile = path("data/current.lst");
    QVERIFY(QDir().mkpath(path("data")));
    if (fifo) {
        QCOMPARE(::mkfifo(QFile::encodeName(listFile).constData(), 0600), 0);
    } else {
        if (::geteuid() == 0)
            QSKIP("permissions do not stop root");
        QVERIFY(writeBytes(listFile, "#161=ONE.CNC;\r\n"));
        QVERIFY(QFile::setPermissions(listFile, QFile::WriteOwner));
    }
    QVERIFY_THROWS_EXCEPTION(Error, embeddedlist::ListStore store(path("data")));
    if (!fifo) {
        QVERIFY(QFile::setPermissions(listFile, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(readBytes(listFile), QByteArray("#161=ONE.CNC;\r\n"));
    }
}

QTEST_GUILESS_MAIN(tst_FileFaults)
#include "tst_filefaults.moc"
