#include "desktop/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace sorvenka {

bool InstallQtJapanese(QCoreApplication& application, const QString& folder) {
    const QString path =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    // qt_ja is the catalog of Qt's modules (base, multimedia …) that the program uses.
    auto* translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qt"),
                          QStringLiteral("_"), path) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace sorvenka
