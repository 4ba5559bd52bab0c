#include "ZplLabels.h"

#include <QFile>

#include <cmath>

namespace barlink::labeltool {

namespace {

// Field data with every byte that is no plain character, and the command characters "^",
// "~" and the escape "_" itself, as _XX.
QByteArray escaped(const QByteArray &bytes)
{
    QByteArray data;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '^' || c == '~' || c == '_')
            data += '_' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        else
            data += c;
    }
    return data;
}

class Dots
{
public:
    explicit Dots(int dpi)
        : m_perMm(dpi / 25.4)
    {}
    [[nodiscard]] int operator()(double mm) const { return int(std::lround(mm * m_perMm)); }

private:
    double m_perMm;
};

void addLabel(QByteArray &out,
              const SheetLayout &layout,
              const Dots &dots,
              const PrintedPiece &piece,
              int copy)
{
    const QPointF at = layout.contentRect(0).topLeft();
    out += "^XA\n^PW" + QByteArray::number(dots(layout.label.width())) + "\n^LL"
           + QByteArray::number(dots(layout.label.height())) + "\n^LH0,0\n^CI28\n";
    const QStringList texts = pieceLines(piece.plan, copy);
    for (qsizetype i = 0; i < piece.arrangement.lines.size() && i < texts.size(); ++i) {
        const TextLine &line = piece.arrangement.lines[i];
        const QRectF rect = line.rect.translated(at);
        const QByteArray height = QByteArray::number(dots(line.size / 0.72));
        out += "^FO" + QByteArray::number(dots(rect.x())) + ',' + QByteArray::number(dots(rect.y()))
               + "^A0N," + height + ',' + height + "^FB" + QByteArray::number(dots(rect.width()))
               + ",1,0,L,0^FH^FD" + escaped(texts[i].toUtf8()) + "^FS\n";
    }
    // The symbols' bytes go through one to one: Windows-1252 for the fields that follow.
    out += "^CI27\n";
    for (const PlacedSymbol &symbol : piece.arrangement.symbols) {
        // The field starts where the symbol does: its quiet zone is the space around it.
        const double quiet = (symbol.symbology == Symbology::Code128 ? 10 : 1) * symbol.module;
        const QRectF rect = symbol.rect.translated(at);
        const QByteArray module = QByteArray::number(dots(symbol.module));
        out += "^FO" + QByteArray::number(dots(rect.x() + quiet)) + ','
               + QByteArray::number(
                   dots(rect.y() + (symbol.symbology == Symbology::Code128 ? 0 : quiet)));
        if (symbol.symbology == Symbology::Code128) {
            out += "^BY" + module + ",3," + QByteArray::number(dots(rect.height())) + "^BCN,"
                   + QByteArray::number(dots(rect.height())) + ",N,N,N,A";
        } else {
            out += "^BXN," + module + ",200," + QByteArray::number(int(symbol.shape.width) - 2)
                   + ',' + QByteArray::number(int(symbol.shape.height) - 2) + ",6";
        }
        out += "^FH^FD" + escaped(symbol.bytes) + "^FS\n";
    }
    out += "^XZ\n";
}

} // namespace

QByteArray zplLabels(const SheetLayout &layout, int dpi, const QList<PrintedPiece> &pieces)
{
    const Dots dots(dpi);
    QByteArray out;
    for (const PrintedPiece &piece : pieces) {
        for (int copy = 1; copy <= piece.plan.quantity; ++copy)
            addLabel(out, layout, dots, piece, copy);
    }
    return out;
}

QString writeZpl(const QString &path,
                 const SheetLayout &layout,
                 int dpi,
                 const QList<PrintedPiece> &pieces,
                 int *labels)
{
    const QByteArray out = zplLabels(layout, dpi, pieces);
    *labels = int(out.count("^XA"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(out) != out.size()
        || !file.flush())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace barlink::labeltool
