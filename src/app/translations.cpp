#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool LoadQtTranslations() {
    // A desktop's own file chooser would speak the desktop's language instead.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    static QTranslator translator;
    if (!translator.isEmpty())
        return true;
    // The program speaks Chinese whatever the system's language is. "qt" is
    // the catalogue that brings in qtbase's.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    if (!translator.load(chinese, QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}
