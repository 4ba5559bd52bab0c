#include "PlanCaption.h"

#include "ScanWords.h"
#include "text/NumericValue.h"

#include <QCoreApplication>

namespace barlink::app {

namespace {

// The caption's texts, translated under one name.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(PlanCaption)
};

} // namespace

QString planCaption(const QString &program,
                    const QString &x,
                    const QString &y,
                    const std::vector<fieldsel::PlacedPiece> &pieces)
{
    const bool sizeKnown = text::numericValue(x) > 0 && text::numericValue(y) > 0;
    QString caption = sizeKnown ? Words::tr("%1, %2 \u00d7 %3 mm").arg(program, x, y)
                                : Words::tr("%1, size unknown").arg(program);
    QStringList places;
    for (const fieldsel::PlacedPiece &piece : pieces) {
        places << (piece.mirror && !places.isEmpty()
                       ? Words::tr("its mirror in %1").arg(fieldWords(piece.code))
                   : piece.mirror ? Words::tr("mirrored in %1").arg(fieldWords(piece.code))
                                  : fieldWords(piece.code));
    }
    if (!places.isEmpty())
        caption += QStringLiteral(": ") + places.join(Words::tr(" and "));
    return caption;
}

} // namespace barlink::app
