#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
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

// A symbol as dark rectangles on a grid of modules, its quiet zones included: drawn at any
// module size, it stays as sharp as the printer can make it.
struct SymbolShape
{
    QList<QRectF> bars; // in modules; a Code 128 bar spans the height 1
    double width = 0;   // in modules
    double height = 0;  // in modules; 1 for Code 128, whose bar height the layout chooses
    QString error;

    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

// The bytes exactly as they are (no character set conversion) as a Code 128 or Data Matrix
// symbol, without the human-readable text.
[[nodiscard]] SymbolShape symbolShape(const QByteArray &bytes, Symbology symbology);

} // namespace barlink::labeltool
