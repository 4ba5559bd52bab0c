#include "scanner/ScanRouting.h"

namespace barlink::scanner {

ScanRoute routeScan(QStringView buffer)
{
    QStringView label = buffer;
    bool fieldNFirst = false;
    if (label.startsWith(u'\'')) {
        const qsizetype dollar = label.indexOf(u'$', 1);
        if (dollar > 0) {
            label = label.sliced(1, dollar - 1);
            if (label.isEmpty())
                return {};
            fieldNFirst = true;
        }
    }

    ScanRoute route = label.startsWith(scanmarker::Compressed)
                          ? ScanRoute{ScanKind::Compressed, false, label.toString(), {}}
                          : routeLabel(label);
    route.fieldNFirst = fieldNFirst;
    return route;
}

ScanRoute routeLabel(QStringView label)
{
    if (label.isEmpty())
        return {};
    if (label.contains(scanmarker::Program))
        return {ScanKind::Program, false, label.toString(), {}};

    QString text = label.toString();
    text.replace(QLatin1Char('!'), QLatin1Char(' '));
    const qsizetype percent = text.indexOf(QLatin1Char('%'), 1);
    if (percent < 0)
        return {ScanKind::Ordinary, false, text, {}};
    return {ScanKind::Ordinary, false, text.left(percent + 1), text.mid(percent + 1)};
}

} // namespace barlink::scanner
