#include "common/qttranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lyrova {
namespace {

// Qt 6 moved the file type names ("Folder", "Drive", "Shortcut", ...) from the QFileDialog
// context to QAbstractFileIconProvider, and the installed catalogue may still hold them under the
// old name only; a text missing under the new context is looked up under the old one.
class QtChineseTranslator : public QTranslator {
 public:
  using QTranslator::QTranslator;

  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override {
    QString text = QTranslator::translate(context, sourceText, disambiguation, n);
    if (text.isEmpty() && qstrcmp(context, "QAbstractFileIconProvider") == 0)
      text = QTranslator::translate("QFileDialog", sourceText, disambiguation, n);
    return text;
  }
};

}  // namespace

QString QtChineseCataloguePath(const QString& translationsFolder) {
  const QString path =
      QDir(translationsFolder).filePath(QLatin1String(kQtChineseCatalogue) + QStringLiteral(".qm"));
  return QFileInfo(path).isFile() ? path : QString();
}

bool InstallQtChinese(QCoreApplication& app) {
  return InstallQtChinese(app, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool InstallQtChinese(QCoreApplication& app, const QString& translationsFolder) {
  // Widgets ask the default locale for the texts they format themselves (the file dialog's
  // file type names, calendars, numbers), so it follows the interface, not the environment.
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China));
  const QString path = QtChineseCataloguePath(translationsFolder);
  if (path.isEmpty()) return false;
  // The application owns the translator, so it lives exactly as long as the texts it serves.
  auto* translator = new QtChineseTranslator(&app);
  if (!translator->load(path) || !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

}  // namespace lyrova
