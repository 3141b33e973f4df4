#include "ui/Language.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace host {

namespace {

// Translators live as long as they are installed.
std::vector<std::unique_ptr<QTranslator>>& Installed()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

bool Install(QCoreApplication& app, const QLocale& locale, const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, name, QStringLiteral("_"), folder)) return false;
    app.installTranslator(translator.get());
    Installed().push_back(std::move(translator));
    return true;
}

} // namespace

QString ClientLocaleName(const QString& requested)
{
    if (!requested.isEmpty()) return requested;
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = QString::fromLocal8Bit(qgetenv(var));
        if (!value.isEmpty()) return value.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    }
    return QStringLiteral("C");
}

void ClaimProcessLocale(const QString& locale)
{
    const QByteArray value = locale.contains(QLatin1Char('.')) ? locale.toLocal8Bit() : (locale + QStringLiteral(".UTF-8")).toLocal8Bit();
    // LC_ALL overrides the others when it is set; leave it unset otherwise.
    if (qEnvironmentVariableIsSet("LC_ALL")) qputenv("LC_ALL", value);
    qputenv("LC_MESSAGES", value);
    qputenv("LANG", value);
}

bool InstallTranslations(QCoreApplication& app, const QString& localeName)
{
    RemoveTranslations(app);
    const QLocale locale(localeName);
    QLocale::setDefault(locale);
    if (locale.language() == QLocale::C || locale.language() == QLocale::English) return true;
    const bool qt = Install(app, locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    Install(app, locale, QStringLiteral("tarvolan-client"), QStringLiteral(":/i18n"));
    return qt || locale.language() != QLocale::Chinese;
}

void RemoveTranslations(QCoreApplication& app)
{
    for (const auto& translator : Installed()) app.removeTranslator(translator.get());
    Installed().clear();
}

} // namespace host
