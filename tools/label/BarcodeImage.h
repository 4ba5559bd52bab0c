#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace barlink::labeltool {

// The barcode symbols barlink-label prints.
enum class Symbology { Code128, DataMatrix, Pdf417 };

// "code128", "datamatrix", "pdf417" (any letter case); nothing for another name.
[[nodiscard]] std::optional<Symbology> symbologyFromName(const QString &name);
[[nodiscard]] QString symbologyName(Symbology symbology);

// Code 128 for a short label of printable ASCII; Data Matrix for anything else: program
// barcodes, compressed labels and labels with characters a one-dimensional symbol carries
// only through shift codes that scanners read differently.
[[nodiscard]] Symbology defaultSymbology(bool twoDimensional);

struct ImageOptions
{
    Symbology symbology = Symbology::Code128;
    float scale = 2;           // size of one module: 1 gives 2 pixels in a PNG
    bool humanReadable = true; // the label's text under a Code 128 symbol
};

// Renders the bytes exactly as they are (no character set conversion) into a PNG or SVG
// file, chosen by the extension of path. Empty on success, otherwise why not.
[[nodiscard]] QString
writeBarcodeImage(const QByteArray &bytes, const QString &path, const ImageOptions &options);

} // namespace barlink::labeltool
