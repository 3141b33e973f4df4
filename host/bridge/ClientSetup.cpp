#include "bridge/ClientSetup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>
#include <QFileInfo>

namespace host {

QString DefaultLibraryPath() { return LibraryPathFor(QCoreApplication::applicationDirPath()); }

QString LibraryPathFor(const QString& programFolder)
{
    const QString beside = programFolder + QStringLiteral("/libTarvolan.so");
    if (QFileInfo::exists(beside)) return beside;
    return QDir::cleanPath(programFolder + QStringLiteral("/" TARVOLAN_INSTALLED_MODULE));
}

QString DefaultClientFolder() { return ClientFolderFor(QCoreApplication::applicationDirPath()); }

QString ClientFolderFor(const QString& programFolder)
{
    const QDir installed(programFolder + QStringLiteral("/" TARVOLAN_INSTALLED_ASSETS));
    if (installed.exists()) return QDir::cleanPath(installed.absolutePath()) + QLatin1Char('/');
    return QStringLiteral(TARVOLAN_SOURCE_DIR "/assets/");
}

void NameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("tarvolan-client"));
    QCoreApplication::setOrganizationName(QStringLiteral("Velora"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Velora"));
}

} // namespace host
