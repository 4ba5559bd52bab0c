#include "ui/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

#include <memory>
#include <vector>

Q_LOGGING_CATEGORY(lcLanguage, "barlink.language")

namespace barlink::ui {

namespace {

// The languages the program carries a translation for.
const QStringList &translatedLanguages()
{
    static const QStringList languages{QStringLiteral("de"), QStringLiteral("it")};
    return languages;
}

std::vector<std::unique_ptr<QTranslator>> &installed()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

QString &installedLanguage()
{
    static QString language;
    return language;
}

} // namespace

QString chooseLanguage(const QString &languageVariable, const QLocale &system)
{
    QString name = languageVariable.section(QLatin1Char(':'), 0, 0).trimmed();
    if (name.isEmpty())
        name = system.name();
    // "de_CH.UTF-8" and "de-CH" both name German.
    const QString language = name.section(QLatin1Char('_'), 0, 0)
                                 .section(QLatin1Char('-'), 0, 0)
                                 .section(QLatin1Char('.'), 0, 0)
                                 .toLower();
    return translatedLanguages().contains(language) ? language : QString();
}

QString installTranslations(QCoreApplication &application)
{
    removeTranslations(application);
    const QString language = chooseLanguage(qEnvironmentVariable("LANGUAGE"), QLocale::system());
    if (language.isEmpty())
        return language;
    auto ours = std::make_unique<QTranslator>();
    if (!ours->load(QStringLiteral(":/i18n/barlink_%1.qm").arg(language))) {
        qCWarning(lcLanguage) << "no translation for" << language << "in the program";
        return {};
    }
    application.installTranslator(ours.get());
    installed().push_back(std::move(ours));
    // Qt's own texts (the standard buttons), where the system has them installed.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_%1").arg(language),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        application.installTranslator(qt.get());
        installed().push_back(std::move(qt));
    } else {
        qCInfo(lcLanguage) << "Qt's own translation for" << language << "is not installed";
    }
    qCInfo(lcLanguage) << "language" << language;
    installedLanguage() = language;
    return language;
}

void removeTranslations(QCoreApplication &application)
{
    for (const auto &translator : installed())
        application.removeTranslator(translator.get());
    installed().clear();
    installedLanguage().clear();
}

QLocale shownLocale()
{
    return installedLanguage().isEmpty() ? QLocale::c() : QLocale(installedLanguage());
}

QString shownLanguage()
{
    return installedLanguage();
}

} // namespace barlink::ui
