// The module's own translations. Its texts are written in Chinese, the
// source language; a catalogue tarvolan_<language>.qm (compiled by lrelease
// from src/res/translations) carries them into another language. The module
// installs the catalogue for QLocale() when it initialises and removes it
// again at UnInit, so a host picks the language with QLocale::setDefault
// before Init.
#pragma once

#include <memory>

#include <QLocale>
#include <QStringList>

class QTranslator;

namespace tarvolan {

// Where catalogues are looked for, first first: the folder named by
// TARVOLAN_TRANSLATIONS, translations/ beside the module (the build tree),
// and share/tarvolan/translations of the prefix the module is installed in.
QStringList TranslationFolders();

// Whether the locale reads the source texts: Chinese, and the C/POSIX locale.
bool ReadsSourceTexts(const QLocale& locale);

class CModuleTranslator {
public:
    CModuleTranslator();
    ~CModuleTranslator();

    // Installs the catalogue for the locale: its own, else English, which a
    // person on a desktop in another language reads more easily; none for
    // a locale that reads the source texts. Once installed, stays so until
    // Remove. False when no catalogue was found for a locale that needs one.
    bool Install(const QLocale& locale = QLocale());
    void Remove();
    bool IsInstalled() const { return m_bInstalled; }

private:
    std::unique_ptr<QTranslator> m_translator;
    bool m_bInstalled = false;
};

} // namespace tarvolan
