#include "platform/win/QtTranslations.h"

#include "platform/win/WinTypes.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

bool InstallQtTranslations(uint32_t languageId)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return languageId != LANG_JAPANESE;
    // One translator for the application's life, loaded anew at each switch.
    static QPointer<QTranslator> translator;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    if (languageId != LANG_JAPANESE)
        return true;
    translator = new QTranslator(app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                          folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
