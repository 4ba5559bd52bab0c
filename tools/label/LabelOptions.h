#pragma once

#include "BarcodeImage.h"
#include "LabelLayout.h"
#include "LabelText.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace barlink::labeltool {

// What one run of barlink-label was asked to make.
struct LabelRequest
{
    QString kind;                       // command, field, name, segment, program, list, bare
    QStringList values;                 // the arguments after the kind
    int count = 1;                      // --count (segments)
    bool repeat = false;                // --repeat (segments)
    QList<HeaderField> headerFields;    // --field --extra --x --y --z --var (program barcodes)
    bool compress = false;              // --compress
    std::optional<QString> prefix;      // --prefix209: the seven characters after code 209
    QString imagePath;                  // --output
    QString textPath;                   // --text; "-" is standard output
    std::optional<Symbology> symbology; // --symbol
    float scale = 2;                    // --scale
    QString sheet;                      // --sheet: the cutting list; the other sheet fields apply
    QString programsDir;                // --programs
    std::optional<SheetLayout> layout;  // --layout or --label
    int dpi = 203;                      // --dpi (ZPL)

    // Without an image or a text file the label's bytes go to standard output.
    [[nodiscard]] bool textToStandardOutput() const
    {
        return sheet.isEmpty()
               && (textPath == QLatin1String("-") || (imagePath.isEmpty() && textPath.isEmpty()));
    }
};

// The outcome of reading the command line: a request, a help request, or an error text.
struct LabelCommandLine
{
    std::optional<LabelRequest> request;
    bool helpRequested = false;
    bool versionRequested = false;
    QString error;
    QString helpText;
};

// Reads the command line (arguments()[0] is the program).
[[nodiscard]] LabelCommandLine parseLabelCommandLine(const QStringList &arguments);

// The label the request asks for, with the prefix and compression applied; programFile is
// the content of the program file named by a "program" request. A compressed label has
// been expanded again by the station's decoder and found equal.
[[nodiscard]] LabelText composeLabel(const LabelRequest &request, const QByteArray &programFile);

} // namespace barlink::labeltool
