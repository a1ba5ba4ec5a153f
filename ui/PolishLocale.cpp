#include "PolishLocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace PolishLocale {

bool install(QCoreApplication& application) {
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    QLocale::setDefault(polish);
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(polish, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    // The application owns it: Qt keeps using it until the application ends.
    translator->setParent(&application);
    return QCoreApplication::installTranslator(translator.release());
}

}  // namespace PolishLocale
