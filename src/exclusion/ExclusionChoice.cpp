#include "ExclusionChoice.h"

#include "base/OperatorDisplay.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>

namespace barlink::exclusion {

ExclusionBoxes boxesFromMask(const QString &mask)
{
    ExclusionBoxes boxes{};
    for (int i = 0; i < ExclusionCount && i < mask.size(); ++i)
        boxes[std::size_t(i)] = mask.at(i) == QLatin1Char('1');
    return boxes;
}

QString maskFromBoxes(const ExclusionBoxes &boxes)
{
    QString mask;
    mask.reserve(ExclusionCount);
    for (bool set : boxes)
        mask += set ? QLatin1Char('1') : QLatin1Char('0');
    return mask;
}

QString exclusionCaption(const QString &mask)
{
    QString numbers;
    const ExclusionBoxes boxes = boxesFromMask(mask);
    for (int i = 0; i < ExclusionCount; ++i) {
        if (boxes[std::size_t(i)])
            numbers += QString::number(i + 1);
    }
    if (numbers.isEmpty())
        return {};
    return QCoreApplication::translate("ExclusionChoice", " Exclusion Number %1  for insertion.")
        .arg(numbers);
}

void ExclusionChoice::choose(const ExclusionBoxes &boxes)
{
    const QString mask = maskFromBoxes(boxes);
    settings::writeKey(m_settings, ExclusionKey, mask);
    m_mask = mask;
    m_display.setExclusionText(exclusionCaption(m_mask));
}

} // namespace barlink::exclusion
