#include "FuzzStation.h"

#include "FuzzCheck.h"
#include "StationProbe.h"
#include "app/ScannerReply.h"
#include "app/StationBuilder.h"
#include "base/CurrentItem.h"
#include "base/Options.h"
#include "embeddedlist/RunState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <array>

namespace barlink::fuzz {

namespace {

// Field codes for the automatic selection: S for a piece that fits the half limits, N
// otherwise, M mirrored.
const QByteArray FieldCodeKeys = "FieldCode_FFS=S\r\nFieldFlag_FFS= 1\r\nFieldCode_FFA=A\r\n"
                                 "FieldFlag_FFA= 1\r\nFieldCode_SFN=N\r\nFieldCode_SFM=M\r\n"
                                 "HalfLimitX=1000\r\nHalfLimitY=600\r\n";
// Norm and mirror pieces for program names that begin with "MIR".
const QByteArray MirrorKeys = "AutoSelSetting=1\r\nPNameMSel=0\r\nPNameNandMText=MIR\r\n"
                              "PNameNandMLR=-1\r\nPNameNandMCPos=1\r\n"
                              "HalfLimitX=1000\r\nHalfLimitY=600\r\n"
                              "FieldCode_FFS=S\r\nFieldFlag_FFS= 1\r\nFieldCode_FFT=T\r\n"
                              "FieldFlag_FFT= 1\r\nFieldCode_FFA=A\r\nFieldFlag_FFA= 1\r\n"
                              "FieldCode_FFR=R\r\nFieldFlag_FFR= 1\r\nFieldCode_SFN=N\r\n"
                              "FieldCode_SFM=M\r\n";

const std::array<QByteArray, 4> SettingsVariants = {
    FieldCodeKeys,
    FieldCodeKeys + "FieldCode_DFN=t\r\n",
    FieldCodeKeys + "AutoSelSetting=1\r\n",
    MirrorKeys,
};

// The members the label path calls; index 0 is "no failure".
const std::array<const char *, 16> FailingMembers = {
    nullptr,
    "AddLine",
    "StartList",
    "HoldList",
    "EndList",
    "Setpoint",
    "ClearList",
    "OpenList",
    "NewList",
    "AppendList",
    "ListOpened",
    "Rows",
    "ViewWorks",
    "Visible",
    "Clear",
    "GetLine",
};

// What the station folder may hold after an input; anything else was written by a name
// that reached outside the folder it was meant for.
const QSet<QString> StationEntries = {
    QStringLiteral("program"),
    QStringLiteral("windows"),
    QStringLiteral("product"),
    QStringLiteral("csv"),
    QStringLiteral("data"),
    QStringLiteral("temp"),
    QStringLiteral("out.csv"),
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
          "the scratch folder can be written",
          path);
}

} // namespace

const QString &FuzzStation::scratchFolder()
{
    static const auto scratch = [] {
        // The application object the station's Qt classes expect, unless the program that
        // runs the harness (a test replaying the seeds) has one.
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "barlink-fuzz";
            static char *argv[] = {name, nullptr};
            static QCoreApplication application(argc, argv);
        }

        // A memory file system keeps the list manager's flushes from reaching a disk. A run
        // that ends in a crash leaves its folder behind: scripts/fuzz.sh names a folder of
        // its own for the harnesses and removes it afterwards.
        const QString shm = QStringLiteral("/dev/shm");
        QString base = qEnvironmentVariable("BARLINK_FUZZ_SCRATCH");
        if (base.isEmpty())
            base = QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
        auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/barlink-fuzz-XXXXXX"));
        check(dir->isValid(), "a scratch folder can be made", base);
        return dir;
    }();
    static const QString path = scratch->path();
    return path;
}

namespace {

void layOutStationFolder(int settingsVariant)
{
    const QString root = FuzzStation::stationFolder();
    QDir(root).removeRecursively();
    QDir dir(root);
    for (const char *folder : {"program", "windows", "product/lsx", "csv", "data", "temp"})
        check(dir.mkpath(QLatin1String(folder)), "the station folders can be made", root);
    writeFile(root + QStringLiteral("/program/KTQ.INI"),
              "[GESTBCOD]\r\n" + SettingsVariants[std::size_t(settingsVariant)]);
    writeFile(root + QStringLiteral("/product/PROG9.CNC"),
              "KTQ 2.0\r\n;;LEFT DOOR \r\nN1\r\nDIM UN=800 Y=600 Z=18\r\n");
    writeFile(root + QStringLiteral("/product/PROG.CNC"), "G71 X800 Y600 Z18\r\n(DOOR)\r\n");
    writeFile(root + QStringLiteral("/product/lsx/PANEL1.LST"),
              "#161=A.CNC;#171=3;\r\n#161=B.CNC;#171=6;\r\n");
    writeFile(root + QStringLiteral("/csv/PROG.CSV"), "PROG;800;600;18\r\n");
}

// The list manager's store over a station folder laid out anew.
std::shared_ptr<embeddedlist::ListStore> freshStore(int settingsVariant)
{
    layOutStationFolder(settingsVariant);
    return std::make_shared<embeddedlist::ListStore>(FuzzStation::stationFolder()
                                                     + QStringLiteral("/data"));
}

} // namespace

StationPlan StationPlan::take(const std::uint8_t *&data, std::size_t &size)
{
    StationPlan plan;
    if (size >= 2) {
        plan.switches = data[0];
        plan.faults = data[1];
        data += 2;
        size -= 2;
    }
    return plan;
}

QString FuzzStation::stationFolder()
{
    return scratchFolder() + QStringLiteral("/station");
}

FuzzStation::FuzzStation(StationPlan plan)
    : m_store(freshStore(plan.switches >> 6))
    , m_embedded(m_store)
    , m_provider(m_embedded, m_faults)
    , m_station(app::StationBuilder(m_display, m_prompter, m_pacer, m_port, m_provider)
                    .mode(app::StationBuilder::Mode::Try)
                    .folders(stationFolder() + QStringLiteral("/program"),
                             stationFolder() + QStringLiteral("/windows"))
                    .build())
{
    // The settings file holds the field selection; the folders are set here, where no
    // length limit of the file's values can cut a long scratch folder short.
    const QString root = stationFolder();
    base::Settings &settings = app::StationProbe(*m_station).settings();
    settings.serialSettings = QStringLiteral("9600,N,8,1");
    settings.serialPort = 1;
    settings.commDevice = QStringLiteral("/dev/pts/fuzz");
    settings.gcodePath = root + QStringLiteral("/product/");
    settings.listPath = root + QStringLiteral("/product/lsx/");
    settings.csvInPath = root + QStringLiteral("/csv");
    settings.csvOutPath = root + QStringLiteral("/out.csv");
    settings.commPollTime = 100;

    base::Options &options = m_station->options();
    const base::Options::Switch switches[] = {base::Options::AutoClear,
                                              base::Options::Overwrite,
                                              base::Options::AutoStart,
                                              base::Options::ShowEd};
    for (int bit = 0; bit < 4; ++bit)
        options.setValue(switches[bit], (plan.switches >> bit) & 1);
    app::StationProbe(*m_station).item().clearListPending = (plan.switches & 0x10) != 0;
    m_prompter.setGoOnAnswers((plan.switches & 0x20) != 0 ? 3 : 0);
    QObject::connect(
        m_station.get(), &app::Station::editorRequested, [this] { ++m_editorLaunches; });

    QObject::connect(
        m_store.get(), &embeddedlist::ListStore::rowsAppended, [this](qint32 first, qint32 last) {
            if (first == last)
                ++m_singleRowsAdded;
        });

    if (const char *member = FailingMembers[plan.faults & 0x0f]) {
        const int times = (plan.faults >> 4) & 3;
        if (times == 3)
            m_faults.setFailing(QLatin1String(member), true);
        else
            m_faults.failNext(QLatin1String(member), times + 1);
    }
}

FuzzStation::~FuzzStation()
{
    m_station->shutdown();
}

void FuzzStation::checkAfterInput(qsizetype maxItems)
{
    check(!app::StationProbe(*m_station).gate().isBusy(), "no label is left in hand");

    // Only "ACK" answers go back to the scanner, one per item at most.
    const QByteArray ack = app::ScannerReply::acknowledgement();
    const qsizetype acks = m_port.sent.size() / ack.size();
    check(m_port.sent == ack.repeated(acks),
          "the scanner gets nothing but ACK",
          escaped(m_port.sent));
    check(acks <= 2 * maxItems,
          "at most two ACKs for each item",
          QStringLiteral("%1 ACKs for at most %2 items").arg(acks).arg(maxItems));
    check(acks <= m_singleRowsAdded,
          "an ACK only for a row added",
          QStringLiteral("%1 ACKs, %2 rows added").arg(acks).arg(m_singleRowsAdded));

    // What the list manager holds is what it kept on disk: a crash now would lose nothing.
    {
        embeddedlist::ListStore reloaded(m_store->folder());
        check(reloaded.rows() == m_store->rows(),
              "the list on disk is the list in memory",
              QStringLiteral("%1 rows in memory, %2 on disk")
                  .arg(m_store->rowCount())
                  .arg(reloaded.rowCount()));
        check(reloaded.runState() == m_store->runState(),
              "the run state on disk is the one in memory",
              embeddedlist::runStateName(reloaded.runState()) + QStringLiteral(" on disk, ")
                  + embeddedlist::runStateName(m_store->runState()) + QStringLiteral(" in memory"));
        check(reloaded.setpoints() == m_store->setpoints(),
              "the setpoints on disk are the ones in memory");
    }

    // Nothing from a label reaches outside its folder.
    const QStringList outside
        = QDir(scratchFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    check(outside == QStringList{QStringLiteral("station")},
          "nothing is written beside the station folder",
          outside.join(QLatin1Char(',')));
    const QStringList inside
        = QDir(stationFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &entry : inside)
        check(StationEntries.contains(entry),
              "nothing is written into the station folder itself",
              entry);
}

} // namespace barlink::fuzz
