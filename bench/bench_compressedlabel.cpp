// Decoding a compressed label, on both routes: the longest text expanded within the fixed
// buffers (BufferRouteLimit characters) and the longest text a label may carry (32,767
// characters), expanded as a stream. Program-like text, and text that does not
// compress at all. Target: at most 1 ms per label on either route.

#include "BenchSupport.h"
#include "program/CompressedLabel.h"
#include "program/CompressedLabelDecoder.h"

#include <QCoreApplication>
#include <QRandomGenerator>

using namespace barlink;

namespace {

// A machine program of `length` characters.
QString programText(int length)
{
    QString text = QStringLiteral("PB1^X800^Y600^Z18!G71 X800 Y600 Z18\r\n(LEFT DOOR)\r\n");
    for (int n = 10; text.size() < length; n += 10) {
        text += QStringLiteral("N%1 G1 X%2 Y%3 Z-%4 F%5\r\n")
                    .arg(n)
                    .arg(n % 800)
                    .arg((n * 7) % 600)
                    .arg(n % 19)
                    .arg(1000 + n % 3000);
    }
    text.truncate(length);
    return text;
}

// `length` characters that do not compress: random Latin-1 letters and digits.
QString noiseText(int length)
{
    static const QString alphabet
        = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .;:-+=()");
    QString text = QStringLiteral("PB1^X800!");
    QRandomGenerator random(42);
    while (text.size() < length)
        text += alphabet[int(random.bounded(alphabet.size()))];
    return text;
}

void BM_DecodeCompressedLabel(benchmark::State &state)
{
    const int length = int(state.range(0));
    const bool noise = state.range(1) != 0;
    QString label;
    try {
        label = program::makeCompressedLabel(noise ? noiseText(length) : programText(length));
    } catch (const std::exception &error) {
        state.SkipWithError(error.what());
        return;
    }
    const program::CompressedLabelDecoder decoder;
    program::ExpandRoute route = program::ExpandRoute::Buffer;
    bench::Samples samples;
    for (auto _ : state) {
        samples.start();
        const program::CompressedLabelDecoder::Result result = decoder.decode(label);
        samples.stop();
        if (!result.ok() || result.text.size() != length) {
            state.SkipWithError("the label did not decode");
            return;
        }
        route = result.route;
    }
    samples.report(state);
    state.counters["label_chars"] = double(label.size());
    state.SetLabel(route == program::ExpandRoute::Buffer ? "buffer route" : "file route");
}

} // namespace

BENCHMARK(BM_DecodeCompressedLabel)
    ->ArgNames({"chars", "noise"})
    ->Args({program::compressedlabel::BufferRouteLimit, 0})
    ->Args({program::compressedlabel::MaxExpandedLength, 0})
    ->Args({program::compressedlabel::BufferRouteLimit, 1})
    ->Args({program::compressedlabel::MaxExpandedLength, 1})
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

BARLINK_BENCHMARK_MAIN(QCoreApplication)
