#include "scanner/ScanRouting.h"

#include <algorithm>

namespace barlink::scanner {

namespace {

// The length of the line end (CR, LF or CR LF) at position at of text; 0 when there is none.
qsizetype lineEndAt(QStringView text, qsizetype at)
{
    if (at >= text.size())
        return 0;
    if (text[at] == u'\r')
        return at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
    return text[at] == u'\n' ? 1 : 0;
}

QStringView withoutTrailingLineEnd(QStringView text)
{
    if (text.endsWith(u"\r\n"))
        return text.chopped(2);
    if (text.endsWith(u'\r') || text.endsWith(u'\n'))
        return text.chopped(1);
    return text;
}

bool holdsNothing(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control;
    });
}

} // namespace

ScanRoute routeScan(QStringView buffer)
{
    if (buffer.isEmpty())
        return {};
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

    if (label.startsWith(scanmarker::Compressed))
        return {ScanKind::Compressed, fieldNFirst, label.toString(), {}};
    ScanRoute route = routeLabel(withoutTrailingLineEnd(label));
    if (route.kind == ScanKind::Ignored)
        return {ScanKind::Ignored, false, label.toString(), {}};
    route.fieldNFirst = fieldNFirst;
    return route;
}

ScanRoute routeLabel(QStringView label)
{
    if (holdsNothing(label))
        return {ScanKind::Ignored, false, label.toString(), {}};
    if (label.contains(scanmarker::Program))
        return {ScanKind::Program, false, label.toString(), {}};

    QString text = label.toString();
    text.replace(QLatin1Char('!'), QLatin1Char(' '));
    const qsizetype percent = text.indexOf(QLatin1Char('%'), 1);
    if (percent < 0)
        return {ScanKind::Ordinary, false, text, {}};
    const qsizetype restAt = percent + 1 + lineEndAt(text, percent + 1);
    return {ScanKind::Ordinary, false, text.left(percent + 1), text.mid(restAt)};
}

} // namespace barlink::scanner
