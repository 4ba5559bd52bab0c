#include "JournalLog.h"

Q_LOGGING_CATEGORY(lcJournal, "barlink.journal", QtWarningMsg)
