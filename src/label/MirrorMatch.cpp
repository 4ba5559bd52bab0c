#include "MirrorMatch.h"
#include "text/TrimSpaces.h"

#include "base/CurrentItem.h"
#include "base/Error.h"
#include "fieldsel/AutoSelSettings.h"

#include <limits>

namespace barlink::label {

namespace {

// Upper case one character at a time, so that positions keep their meaning.
[[nodiscard]] QString upperCase(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper)
        c = c.toUpper();
    return upper;
}

// A length or position as a 16-bit number.
[[nodiscard]] int position16(qsizetype value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        throw base::Error(base::Error::Overflow, base::Reason(base::Reason::Code::Overflow));
    return int(value);
}

// Whether the characters of source from position (counted from 1) equal trigger. Fewer
// characters than the trigger may remain, which never equals it.
[[nodiscard]] bool matchesAt(const QString &source, int position, const QString &trigger)
{
    if (position < 1)
        return false;
    return QStringView(source).mid(position - 1, trigger.size()) == trigger;
}

} // namespace

bool matchMirrorSpec(const fieldsel::AutoSelSettings &settings, base::CurrentItem &item)
{
    using fieldsel::TriggerSource;

    QString source;
    if (settings.source() == TriggerSource::ProgramName)
        source = item.programName;
    else if (settings.source() == TriggerSource::Comment)
        source = item.programComment;
    source = upperCase(text::trimSpaces(source));
    const int n = position16(source.size());

    const QString trigger = upperCase(settings.triggerText());
    const int length = position16(trigger.size());
    if (length == 0 || length > n)
        return false;

    bool match = false;
    const int v = settings.triggerPosition();
    if (settings.fromLeft()) {
        match = matchesAt(source, v, trigger);
    } else {
        const int start = position16(n - (settings.positionMaximum() - v));
        if (start > 0 && start < n)
            match = matchesAt(source, start, trigger);
    }
    if (trigger.startsWith(QLatin1Char('*')))
        match = true;

    const bool twice = match && settings.action() == fieldsel::MirrorAction::NormAndMirror;
    if (settings.mirrorSourceIsNameOrComment())
        item.runField = match ? QStringLiteral("W") : QStringLiteral("P");
    return twice;
}

} // namespace barlink::label
