#include "scanner/ScanRouting.h"

#include <algorithm>

namespace barlink::scanner {

namespace {

// The position past the line-end characters (in any run) at position at of text.
qsizetype pastLineEnds(QStringView text, qsizetype at)
{
    while (at < text.size() && isLineEnd(text[at]))
        ++at;
    return at;
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

// The route of a buffer taken whole, its suffix (or else its line end) at the end removed.
ScanRoute routeWhole(QStringView buffer, QStringView suffix)
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
        return {
            .kind = ScanKind::Compressed, .fieldNFirst = fieldNFirst, .label = label.toString()};
    const bool suffixAtEnd = !suffix.isEmpty() && label.endsWith(suffix);
    // An ordinary label's rest keeps the line end it ended with: it stays a label of its own
    // when the next scan joins it in the buffer.
    ScanRoute route = routeLabel(suffixAtEnd ? label.chopped(suffix.size()) : label);
    if (route.kind == ScanKind::Ignored)
        return {.kind = ScanKind::Ignored, .label = label.toString()};
    // A program's own line ends stay; the scanner's one after it goes.
    if (route.kind == ScanKind::Program && !suffixAtEnd)
        route.label = withoutTrailingLineEnd(route.label).toString();
    route.fieldNFirst = fieldNFirst;
    return route;
}

// The route of the label before the first suffix, while the port is not yet quiet.
ScanRoute routeFramed(QStringView buffer, const LabelFrame &frame)
{
    const QStringView suffix = frame.suffix;
    const qsizetype end = buffer.indexOf(suffix);
    const QStringView body = buffer.startsWith(u'\'') ? buffer.sliced(1) : buffer;
    if (body.startsWith(scanmarker::Compressed)) {
        // Its data may hold the suffix's bytes: it is complete when all of it is there.
        if (end < 0 || !frame.compressedWhole || !frame.compressedWhole(body))
            return {.kind = ScanKind::Pending};
        return routeWhole(buffer, suffix);
    }
    if (end < 0)
        return {.kind = ScanKind::Pending};
    const QStringView unit = buffer.first(end);
    // A program's lines may end with the suffix: the program barcode waits for quiet.
    if (unit.contains(scanmarker::Program) && unit.contains(u'!'))
        return {.kind = ScanKind::Pending};

    qsizetype nextAt = end + suffix.size();
    // A scanner that ends labels with CR LF where LabelEnd names CR alone: the LF goes too.
    if (suffix.endsWith(u'\r') && nextAt < buffer.size() && buffer[nextAt] == u'\n')
        ++nextAt;
    ScanRoute route = routeWhole(unit, {});
    if (unit.isEmpty() || route.kind == ScanKind::Ignored)
        route = {.kind = ScanKind::Ignored, .label = buffer.sliced(0, nextAt).toString()};
    else if (!route.rest.isEmpty())
        route.rest += suffix; // the label after the closing "%" has ended too
    route.next = buffer.sliced(nextAt).toString();
    return route;
}

} // namespace

ScanRoute routeScan(QStringView buffer, const LabelFrame &frame)
{
    if (!frame.suffix.isEmpty() && !frame.quiet)
        return buffer.isEmpty() ? ScanRoute{} : routeFramed(buffer, frame);
    ScanRoute route = routeWhole(buffer, frame.suffix);
    route.withoutLabelEnd = !frame.suffix.isEmpty() && route.kind == ScanKind::Ordinary
                            && !buffer.contains(frame.suffix);
    return route;
}

ScanRoute routeLabel(QStringView label, LineEnds lineEnds)
{
    if (holdsNothing(label))
        return {.kind = ScanKind::Ignored, .label = label.toString()};
    if (label.contains(scanmarker::Program))
        return {.kind = ScanKind::Program, .label = label.toString()};

    const bool split = lineEnds == LineEnds::Split;
    // Line ends before the label are the end of the label before it.
    QString text = (split ? label.sliced(pastLineEnds(label, 0)) : label).toString();
    text.replace(QLatin1Char('!'), QLatin1Char(' '));
    qsizetype end = text.indexOf(QLatin1Char('%'), 1);
    end = end < 0 ? text.size() : end + 1;
    // A line end inside ends the label there: a scanner that triggered twice, or sent a label
    // end of more characters than one.
    if (split)
        end = std::find_if(text.cbegin(), text.cbegin() + end, isLineEnd) - text.cbegin();
    const qsizetype restAt = pastLineEnds(text, end);
    return {.kind = ScanKind::Ordinary, .label = text.left(end), .rest = text.mid(restAt)};
}

} // namespace barlink::scanner
