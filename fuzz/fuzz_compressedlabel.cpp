// Compressed labels: the decoder turns any label that begins with "ñ" into the text it
// carries and what follows it, or into a reason why it cannot, within its buffers; what the
// label encoder makes, the decoder gives back unchanged.
//
// Input: one byte, then the rest. Bit 0 of the byte chooses what the rest is: 0, a label
// after its "ñ" (decoded; a text it gives is encoded again and decoded once more); 1, a text
// to encode and decode. Bits 1-4 are the compression level (0 to 9).

#include "FuzzCheck.h"
#include "base/Error.h"
#include "program/CompressedLabel.h"
#include "program/CompressedLabelDecoder.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"
#include "text/SingleByte.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

using namespace barlink;
using program::CompressedLabelDecoder;
namespace layout = program::compressedlabel;

namespace {

// The expanded length the label's length field gives, when it gives one.
std::optional<int> lengthField(QStringView label)
{
    try {
        const double value
            = text::numericValue(label.mid(layout::LengthPosition, layout::LengthWidth).toString());
        if (value < 0.5 || value >= layout::MaxExpandedLength + 0.5)
            return std::nullopt;
        return text::roundHalfEven16(value);
    } catch (const base::Error &) {
        return std::nullopt;
    }
}

CompressedLabelDecoder::Result decode(QStringView label)
{
    const CompressedLabelDecoder::Result result = CompressedLabelDecoder().decode(label);
    if (!result.ok()) {
        fuzz::check(result.text.isEmpty() && result.rest.isEmpty(),
                    "a label that cannot be expanded gives no text");
        return result;
    }
    fuzz::check(result.rest.size() < label.size() - layout::DataPosition
                    && label.endsWith(result.rest),
                "what follows the compressed data is the end of the label");
    fuzz::check(!result.text.isEmpty() && result.text.size() <= layout::MaxExpandedLength,
                "an expanded text is 1 to 32767 characters long");
    const std::optional<int> length = lengthField(label);
    fuzz::check(length && result.text.size() == *length,
                "the expanded text is as long as the length field says",
                QStringLiteral("%1 characters").arg(result.text.size()));
    fuzz::check(result.route == program::expandRouteFor(int(result.text.size())),
                "the route follows the length");
    return result;
}

// What the encoder makes of text decodes to text; false when the encoder refuses it.
bool roundTrip(const QString &text, int level)
{
    QString label;
    try {
        label = program::makeCompressedLabel(text, level);
    } catch (const base::Error &error) {
        fuzz::check(error.number() == base::Error::InvalidCall,
                    "the encoder refuses with error 5",
                    QString::fromUtf8(error.what()));
        return false;
    }
    fuzz::check(label.startsWith(QChar(layout::Marker)), "an encoded label begins with its marker");
    const CompressedLabelDecoder::Result result = decode(label);
    fuzz::check(result.ok(), "an encoded label decodes", result.error);
    fuzz::check(result.text == text && result.rest.isEmpty(),
                "an encoded label decodes to its text");
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return -1;
    const bool encodeFirst = (data[0] & 1) != 0;
    const int level = std::min((data[0] >> 1) & 15, 9);
    const QByteArrayView rest(data + 1, qsizetype(size - 1));

    const QByteArray escaped = program::escapeBackslashes(rest);
    fuzz::check(program::unescapeBackslashes(escaped) == rest,
                "doubled backslashes come back single");

    if (encodeFirst) {
        const QString text = text::fromSingleByte(rest);
        const bool encoded = roundTrip(text, level);
        // Even doubled and stored without compression, such a text fits the input buffer.
        if (!text.isEmpty() && text.size() <= layout::BufferSize / 4)
            fuzz::check(encoded,
                        "a short text can be encoded",
                        QStringLiteral("%1 characters at level %2").arg(text.size()).arg(level));
        return 0;
    }

    const QString label = QChar(layout::Marker) + text::fromSingleByte(rest);
    const CompressedLabelDecoder::Result result = decode(label);
    if (result.ok())
        (void)roundTrip(result.text, level);
    return 0;
}
