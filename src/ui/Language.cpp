#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <algorithm>

namespace Language {

bool useJapanese()
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    static QTranslator qtTexts; // lives as long as the application
    if (!qtTexts.isEmpty())
        return true;
    // Qt's own folder, or beside the program where a Windows build ships it.
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/translations")};
    const bool loaded = std::any_of(folders.begin(), folders.end(), [](const QString &folder) {
        return qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"),
                            QStringLiteral("_"), folder);
    });
    if (!loaded)
        return false;
    QCoreApplication::installTranslator(&qtTexts);
    return true;
}

} // namespace Language
