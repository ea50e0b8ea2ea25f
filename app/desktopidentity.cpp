#include "app/desktopidentity.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void SetDesktopIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Huebox"));
    QGuiApplication::setDesktopFileName(QStringLiteral(HUEBOX_DESKTOP_ID));
}

bool InstallQtTranslation()
{
    return InstallQtTranslation(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool InstallQtTranslation(const QString& folder)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}
