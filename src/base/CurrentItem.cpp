#include "CurrentItem.h"

namespace barlink::base {

void CurrentItem::resetItem()
{
    const QString blank(QLatin1Char(' '));
    programName = blank;
    itemRepeat = QStringLiteral("1");
    runField = blank;
    itemCount = QStringLiteral("1");
    dimX = blank;
    dimY = blank;
    dimZ = blank;
    itemComment = blank;
    rowValue282 = blank;
    itemExtra = blank;
    rowValue223 = blank;
    itemVars.fill(blank);
}

QString *CurrentItem::itemVar(QChar letter)
{
    for (std::size_t i = 0; i < VarLetters.size(); ++i) {
        if (letter == QLatin1Char(VarLetters[i]))
            return &itemVars[i];
    }
    return nullptr;
}

} // namespace barlink::base
