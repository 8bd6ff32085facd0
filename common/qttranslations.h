#pragma once

#include <QString>

class QCoreApplication;

// Qt's own texts (standard buttons, the file dialog, its columns and places) in Simplified
// Chinese, so that they match the suite's Chinese captions.
namespace lyrova {

// The name of Qt's Simplified Chinese catalogue, looked for in Qt's translations folder
// (QLibraryInfo::TranslationsPath).
inline constexpr char kQtChineseCatalogue[] = "qtbase_zh_CN";

// The catalogue file in `translationsFolder`; "" when it is not there.
QString QtChineseCataloguePath(const QString& translationsFolder);

// Installs Qt's Simplified Chinese translations into `app` and makes Simplified Chinese (China)
// the default locale, whatever the user's locale is: the suite's interface is Chinese even under
// LANG=C. Call once, after the application object exists and before the first window. When the
// catalogue is missing, false is returned and Qt's own English texts stay; the program runs on.
bool InstallQtChinese(QCoreApplication& app);
// The same with the catalogue taken from `translationsFolder`.
bool InstallQtChinese(QCoreApplication& app, const QString& translationsFolder);

}  // namespace lyrova
