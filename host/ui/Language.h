// The client's language: which one it speaks, the process environment that
// tells the module the same, and the translations of Qt's own texts and of
// the client's menus and labels.
#pragma once

#include <QString>

class QCoreApplication;

namespace host {

// The locale the client speaks ("zh_CN", "en_US"): requested when it is not
// empty, otherwise the one the environment names (LC_ALL, LC_MESSAGES, LANG);
// "C" when none is named.
QString ClientLocaleName(const QString& requested);

// Makes the process environment name locale, before the application object
// exists, so that the module, which decides from the environment whether
// the system speaks Chinese, agrees with what the client shows.
void ClaimProcessLocale(const QString& locale);

// Installs Qt's translations (standard buttons, font and file dialogs) and
// the client's own for locale; sets it as the default QLocale. Returns false
// when a Chinese locale was asked for and Qt's Chinese texts are missing.
bool InstallTranslations(QCoreApplication& app, const QString& locale);

// Removes what InstallTranslations installed (tests switch languages).
void RemoveTranslations(QCoreApplication& app);

} // namespace host
