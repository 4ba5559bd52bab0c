// The program file reader on program files of 1 MB and of 1 GB, in both formats: it reads
// the first lines only, so the size of the file must not matter.
// Target: the same cost within 10%.
// The 1 GB file is sparse past its first megabyte (quick to make, no disk space) and is
// removed when the benchmark ends.

#include "BenchSupport.h"
#include "Fakes.h"
#include "base/CurrentItem.h"
#include "base/Settings.h"
#include "program/ProgramFileReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace barlink;

namespace {

constexpr qint64 MB = 1024 * 1024;

// A program of `bytes` bytes: the header lines the reader looks at, then plain g-code lines
// up to 1 MB, then (for a larger size) a hole up to the full size.
bool writeProgram(const QString &path, bool ktq, qint64 bytes)
{
    QByteArray text = ktq ? QByteArray("KTQ 2.0\r\n;;LEFT DOOR\r\nN1\r\nDIM UN=800 Y=600 Z=18\r\n")
                          : QByteArray("G71 X800 Y600 Z18\r\n(LEFT DOOR)\r\n");
    const qint64 written = std::min(bytes, MB);
    for (int n = 10; text.size() < written; n += 10)
        text += "N" + QByteArray::number(n) + " G1 X" + QByteArray::number(n % 800) + " Y200\r\n";
    text.truncate(written);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.resize(bytes);
}

void BM_ReadProgramFile(benchmark::State &state)
{
    const qint64 bytes = state.range(0) * MB;
    const bool ktq = state.range(1) != 0;
    QTemporaryDir dir;
    if (!dir.isValid() || !writeProgram(dir.filePath(QStringLiteral("BIG.CNC")), ktq, bytes)) {
        state.SkipWithError("cannot write the program file");
        return;
    }
    base::Settings settings;
    settings.gcodePath = dir.path() + QLatin1Char('/');
    testing::ScriptedPrompter prompter;
    base::CurrentItem item;
    item.programName = QStringLiteral("BIG.CNC");
    const program::ProgramFileReader reader(settings, prompter);

    for (auto _ : state) {
        float x = 0;
        float y = 0;
        float z = 0;
        reader.readProgramFile(item, x, y, z);
        benchmark::DoNotOptimize(x);
        if (z != 18.0f) {
            state.SkipWithError("the dimensions were not read");
            return;
        }
    }
    state.SetLabel(
        QStringLiteral("%1 MB %2").arg(bytes / MB).arg(ktq ? "KTQ" : "ISO").toStdString());
}

} // namespace

BENCHMARK(BM_ReadProgramFile)
    ->ArgNames({"MB", "ktq"})
    ->Args({1, 1})
    ->Args({1024, 1})
    ->Args({1, 0})
    ->Args({1024, 0})
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.2)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

BARLINK_BENCHMARK_MAIN(QCoreApplication)
