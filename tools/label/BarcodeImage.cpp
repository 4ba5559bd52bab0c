#include "BarcodeImage.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <memory>

#include <zint.h>

namespace barlink::labeltool {

namespace {

struct SymbolDeleter
{
    void operator()(zint_symbol *symbol) const { ZBarcode_Delete(symbol); }
};

int zintSymbology(Symbology symbology)
{
    switch (symbology) {
    case Symbology::Code128:
        return BARCODE_CODE128;
    case Symbology::DataMatrix:
        return BARCODE_DATAMATRIX;
    case Symbology::Pdf417:
        return BARCODE_PDF417;
    }
    return BARCODE_CODE128;
}

} // namespace

std::optional<Symbology> symbologyFromName(const QString &name)
{
    for (Symbology s : {Symbology::Code128, Symbology::DataMatrix, Symbology::Pdf417}) {
        if (name.compare(symbologyName(s), Qt::CaseInsensitive) == 0)
            return s;
    }
    return std::nullopt;
}

QString symbologyName(Symbology symbology)
{
    switch (symbology) {
    case Symbology::Code128:
        return QStringLiteral("code128");
    case Symbology::DataMatrix:
        return QStringLiteral("datamatrix");
    case Symbology::Pdf417:
        return QStringLiteral("pdf417");
    }
    return {};
}

Symbology defaultSymbology(bool twoDimensional)
{
    return twoDimensional ? Symbology::DataMatrix : Symbology::Code128;
}

QString writeBarcodeImage(const QByteArray &bytes, const QString &path, const ImageOptions &options)
{
    // libzint reads a length of 0 as "up to the first NUL".
    if (bytes.isEmpty())
        return QStringLiteral("an empty label cannot be printed");
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg"))
        return QStringLiteral("the image file name must end in .png or .svg: %1").arg(path);
    if (!(options.scale > 0))
        return QStringLiteral("the scale must be greater than 0");

    const std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol)
        return QStringLiteral("libzint is out of memory");
    const QByteArray file = QFile::encodeName(path);
    if (file.size() >= qsizetype(sizeof symbol->outfile))
        return QStringLiteral("the image path is longer than libzint takes (%1 bytes)")
            .arg(sizeof symbol->outfile - 1);
    std::memcpy(symbol->outfile, file.constData(), std::size_t(file.size()) + 1);

    symbol->symbology = zintSymbology(options.symbology);
    symbol->input_mode = DATA_MODE; // the bytes as they are, no character set conversion
    symbol->scale = options.scale;
    symbol->output_options |= BARCODE_QUIET_ZONES;
    symbol->show_hrt = options.symbology == Symbology::Code128 && options.humanReadable ? 1 : 0;

    const int status
        = ZBarcode_Encode_and_Print(symbol.get(),
                                    reinterpret_cast<const unsigned char *>(bytes.constData()),
                                    int(bytes.size()),
                                    0);
    if (status >= ZINT_ERROR) {
        return QStringLiteral("libzint cannot print %1 bytes as %2: %3")
            .arg(bytes.size())
            .arg(symbologyName(options.symbology), QString::fromLatin1(symbol->errtxt));
    }
    return {};
}

SymbolShape symbolShape(const QByteArray &bytes, Symbology symbology)
{
    SymbolShape shape;
    if (bytes.isEmpty()) {
        shape.error = QStringLiteral("an empty label cannot be printed");
        return shape;
    }
    const std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        shape.error = QStringLiteral("libzint is out of memory");
        return shape;
    }
    symbol->symbology = zintSymbology(symbology);
    symbol->input_mode = DATA_MODE;
    symbol->output_options |= BARCODE_QUIET_ZONES;
    symbol->show_hrt = 0;
    // Square Data Matrix symbols only: every scanner reads them.
    if (symbology == Symbology::DataMatrix)
        symbol->option_3 = DM_SQUARE;
    // At scale 0.5 one module is one unit of the vector output.
    symbol->scale = 0.5F;
    const int status = ZBarcode_Encode_and_Buffer_Vector(
        symbol.get(),
        reinterpret_cast<const unsigned char *>(bytes.constData()),
        int(bytes.size()),
        0);
    if (status >= ZINT_ERROR || !symbol->vector) {
        shape.error = QStringLiteral("libzint cannot make %1 bytes a %2 symbol: %3")
                          .arg(bytes.size())
                          .arg(symbologyName(symbology), QString::fromLatin1(symbol->errtxt));
        return shape;
    }
    const zint_vector &vector = *symbol->vector;
    shape.width = double(vector.width);
    const bool linear = symbology == Symbology::Code128;
    shape.height = linear ? 1.0 : double(vector.height);
    const double yScale = linear ? 1.0 / double(vector.height) : 1.0;
    for (const zint_vector_rect *rect = vector.rectangles; rect; rect = rect->next) {
        shape.bars << QRectF(double(rect->x),
                             double(rect->y) * yScale,
                             double(rect->width),
                             double(rect->height) * yScale);
    }
    return shape;
}

} // namespace barlink::labeltool
