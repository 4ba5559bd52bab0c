#pragma once

#include <QString>
#include <QStringView>

namespace barlink::text {

// The text without the spaces at both ends. Only spaces: tabs, carriage returns and
// other blanks are part of a label or a name and stay.
[[nodiscard]] QString trimSpaces(QStringView text);

} // namespace barlink::text
