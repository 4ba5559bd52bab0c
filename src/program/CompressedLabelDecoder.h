#pragma once

#include "program/CompressedLabel.h"

#include <QString>
#include <QStringView>

namespace barlink::app {
class OperatorDisplay;
struct Settings;
} // namespace barlink::app

namespace barlink::program {

// Turns a compressed label back into the text it carries: reads the length field, removes
// the backslash escaping and expands the zlib stream, in memory or, for a long text,
// through two temporary files.
class CompressedLabelDecoder
{
public:
    struct Result
    {
        QString text;  // the expanded text; empty when the label cannot be expanded
        QString error; // why it cannot, for the operator
        ExpandRoute route = ExpandRoute::Buffer;

        [[nodiscard]] bool ok() const { return error.isEmpty(); }
    };

    // The temporary files go into tempFolder, which is created when missing; they are
    // removed again after each expansion.
    explicit CompressedLabelDecoder(QString tempFolder);

    // The expanded text has exactly the length the label's length field gives (1 to
    // 32767). A length field out of range, data that is not one complete zlib stream, data
    // after the stream's end (other than the scanner's line end), an expanded size that
    // differs from the length field, compressed data longer than the input buffer on the
    // in-memory route, and a temporary folder that cannot be written all give a result
    // with an error instead. Nothing is read or written beyond the limits the length field
    // and the buffers set.
    [[nodiscard]] Result decode(QStringView label) const;

    [[nodiscard]] const QString &tempFolder() const { return m_tempFolder; }
    [[nodiscard]] QString compressedFilePath() const;
    [[nodiscard]] QString expandedFilePath() const;

private:
    [[nodiscard]] Result expandThroughFiles(const QByteArray &data, int length) const;

    QString m_tempFolder;
};

// Decodes a compressed label for the scanner polling: the expanded text, or an empty text
// when the label cannot be expanded, with the reason on the status line
// ("Compressed label not read: ..."). The temporary folder is Settings::tempPath (the
// default folder when that is empty).
[[nodiscard]] QString decodeCompressedLabel(const QString &label,
                                            const app::Settings &settings,
                                            app::OperatorDisplay &display);

} // namespace barlink::program
