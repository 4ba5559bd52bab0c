#pragma once

#include "program/CompressedLabel.h"

#include <QString>
#include <QStringView>

namespace barlink::base {
class OperatorDisplay;
} // namespace barlink::base

namespace barlink::app {}

namespace barlink::program {

// Turns a compressed label back into the text it carries: reads the length field, removes
// the backslash escaping and expands the zlib stream. Both routes expand in memory and
// write no file.
class CompressedLabelDecoder
{
public:
    struct Result
    {
        QString text;  // the expanded text; empty when the label cannot be expanded
        QString error; // why it cannot, for the operator
        ExpandRoute route = ExpandRoute::Buffer;
        // What follows the compressed stream in the label, without the scanner's line end
        // (up to two CR or LF characters) right after it: a label of its own. Empty when the
        // label cannot be expanded.
        QString rest;

        [[nodiscard]] bool ok() const { return error.isEmpty(); }
    };

    // The expanded text has exactly the length the label's length field gives (1 to
    // 32767). A length field out of range, data that does not begin with one complete zlib
    // stream, an expanded size that differs from the length field, and, on the in-memory
    // route, a stream that does not end within the input buffer's first BufferSize bytes
    // give a result with an error instead. Nothing is read or written beyond the limits the
    // length field and the buffers set.
    [[nodiscard]] Result decode(QStringView label) const;
};

// Decodes a compressed label for the scanner polling: the expanded text, or an empty text
// when the label cannot be expanded, with the reason on the status line
// ("Compressed label not read: ..."), and in *error when given. rest receives Result::rest.
[[nodiscard]] QString decodeCompressedLabel(const QString &label,
                                            base::OperatorDisplay &display,
                                            QString &rest,
                                            QString *error = nullptr);

} // namespace barlink::program
