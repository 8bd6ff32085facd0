// The window effects and the shell: transparency, help, About and the file-manager entry.
#include "player/shell/about.h"
#include "player/shell/filemanagerentry.h"
#include "player/shell/help.h"
#include "player/shell/windoweffects.h"
#include "player/window/playerwindow.h"
#include "player/window/statuslabel.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMenu>

namespace lyrova {

void PlayerWindow::ChooseTransparency(int step) {
  transparency_ = step;
  ApplyAlpha(step);
  mAlpha_->setTitle(TransparencyMenuCaption(step));
  services_.settings->WriteSetting(playerkeys::kTransparence, QString::number(step));
}

void PlayerWindow::ApplyAlpha(int step) {
  if (services_.layeredAvailable) setWindowOpacity(OpacityForStep(step));
}

void PlayerWindow::ShowHelp() { OpenHelp(services_.programFolder, *services_.prompts, services_.openUrl); }

void PlayerWindow::ShowAbout() { lyrova::ShowAbout(*services_.prompts); }

// Failures are not reported: the entry is a convenience, and the menu offers both directions.
void PlayerWindow::AddFileManagerEntry() {
  lyrova::AddFileManagerEntry(QCoreApplication::applicationFilePath());
}

void PlayerWindow::RemoveFileManagerEntry() { lyrova::RemoveFileManagerEntry(); }

void PlayerWindow::ShowStatusNote(const QString& text) {
  label1_->SetStatus(text, StatusLabel::Fit::Elided);
}

}  // namespace lyrova
