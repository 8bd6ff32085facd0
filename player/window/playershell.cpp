// The window effects and the shell: transparency, help, About and the file-manager entry.
#include "common/paths.h"
#include "common/ui/prompts.h"
#include "player/window/playerwindow.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QUrl>

namespace lyrova {

void PlayerWindow::ChooseTransparency(int step) {
  transparency_ = step;
  ApplyAlpha(step);
  mAlpha_->setTitle(QStringLiteral("透明度: ") + QString::number(5 * step) + u'%');
  services_.settings->WriteSetting(playerkeys::kTransparence, QString::number(step));
}

void PlayerWindow::ApplyAlpha(int step) {
  if (!services_.layeredAvailable) return;
  const double alpha = step == 0 ? 255 : std::nearbyint((10 - 0.5 * step) / 10 * 255);
  setWindowOpacity(alpha / 255.0);
}

void PlayerWindow::ShowHelp() {}
void PlayerWindow::ShowAbout() {}
void PlayerWindow::AddFileManagerEntry() {}
void PlayerWindow::RemoveFileManagerEntry() {}

void PlayerWindow::ShowStatusNote(const QString& text) { label1_->setText(text); }

}  // namespace lyrova
