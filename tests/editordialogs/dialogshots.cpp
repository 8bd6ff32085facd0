// Writes a picture of each Editor dialog into the folder named on the command line, for
// checking by eye that the Chinese captions fit. Run with QT_QPA_PLATFORM=offscreen.
#include "common/prompts/scriptedprompts.h"
#include "editor/dialogs/aboutdialog.h"
#include "editor/dialogs/chooserdialog.h"
#include "editor/dialogs/layoutdialog.h"
#include "editor/dialogs/offsetdialog.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTextStream>

using namespace lyrova;

namespace {

bool Shoot(QDialog& dialog, const QString& path) {
  dialog.show();
  QApplication::processEvents();
  const bool saved = dialog.grab().save(path);
  QTextStream(stdout) << path << u' ' << dialog.width() << u'x' << dialog.height() << (saved ? "" : " FAILED")
                      << Qt::endl;
  dialog.hide();
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  const QDir folder(args.size() > 1 ? args.at(1) : QDir::currentPath());
  ScriptedPrompts prompts;
  ChooserDialog chooser(2);
  OffsetDialog offset(prompts);
  LayoutDialog layout(true);
  AboutDialog about;
  AboutDialog aboutKeys({QStringLiteral("空格  播放或暂停"), QStringLiteral("F5  在当前行打上播放时间"),
                         QStringLiteral("Ctrl+S  保存歌词文件")});
  bool ok = Shoot(chooser, folder.filePath(QStringLiteral("chooser.png")));
  ok = Shoot(offset, folder.filePath(QStringLiteral("offset.png"))) && ok;
  ok = Shoot(layout, folder.filePath(QStringLiteral("layout.png"))) && ok;
  ok = Shoot(about, folder.filePath(QStringLiteral("about.png"))) && ok;
  ok = Shoot(aboutKeys, folder.filePath(QStringLiteral("about-keys.png"))) && ok;
  return ok ? 0 : 1;
}
