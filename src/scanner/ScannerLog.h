#pragma once

#include <QLoggingCategory>

// Scanner port events; silent unless switched on with
// QT_LOGGING_RULES="barlink.scanner.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcScanner)
