#include "module/ModuleLanguage.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTranslator>

namespace tarvolan {

namespace {

// The folder of the binary this code is part of: libTarvolan.so, or the
// program that links the module statically.
QString ModuleFolder()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&TranslationFolders), &info) || !info.dli_fname) return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
}

bool Load(QTranslator& translator, const QLocale& locale)
{
    for (const QString& folder : TranslationFolders())
        if (translator.load(locale, QStringLiteral("tarvolan"), QStringLiteral("_"), folder)) return true;
    return false;
}

} // namespace

QStringList TranslationFolders()
{
    QStringList folders;
    if (const QString named = qEnvironmentVariable("TARVOLAN_TRANSLATIONS"); !named.isEmpty()) folders << named;
    if (const QString own = ModuleFolder(); !own.isEmpty()) {
        folders << own + QStringLiteral("/translations");
        folders << QDir::cleanPath(own + QStringLiteral("/" TARVOLAN_LIB_TO_TRANSLATIONS));
    }
    return folders;
}

bool ReadsSourceTexts(const QLocale& locale)
{
    return locale.language() == QLocale::C || locale.language() == QLocale::Chinese;
}

CModuleTranslator::CModuleTranslator() = default;

CModuleTranslator::~CModuleTranslator()
{
    Remove();
}

bool CModuleTranslator::Install(const QLocale& locale)
{
    if (m_bInstalled || ReadsSourceTexts(locale)) return true;
    if (!QCoreApplication::instance()) return false;
    m_translator = std::make_unique<QTranslator>();
    if (!Load(*m_translator, locale) && !Load(*m_translator, QLocale(QLocale::English))) {
        m_translator.reset();
        return false;
    }
    m_bInstalled = QCoreApplication::installTranslator(m_translator.get());
    return m_bInstalled;
}

void CModuleTranslator::Remove()
{
    if (m_bInstalled && QCoreApplication::instance()) QCoreApplication::removeTranslator(m_translator.get());
    m_bInstalled = false;
    m_translator.reset();
}

} // namespace tarvolan
