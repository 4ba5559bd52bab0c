#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace barlink::ui {

// The operator's language: "de", "it" or an empty string for English. A non-empty `LANGUAGE`
// decides by its first entry (a colon list such as "de_CH:de:en"); otherwise the system locale.
// English, and any language without a translation, give English.
[[nodiscard]] QString chooseLanguage(const QString &languageVariable, const QLocale &system);

// Loads the translations of the chosen language (ours and Qt's own, for the standard buttons)
// into the application; returns the language loaded, empty for English.
QString installTranslations(QCoreApplication &application);

// The locale dates are shown in ("Mo 7 Dez" in German): the language installTranslations()
// loaded, English without one. Numbers keep the C locale everywhere: only dates follow it.
[[nodiscard]] QLocale shownLocale();

// The language installTranslations() loaded ("de", "it"), empty for English.
[[nodiscard]] QString shownLanguage();

// Removes what installTranslations() loaded: the windows made afterwards speak English.
void removeTranslations(QCoreApplication &application);

} // namespace barlink::ui
