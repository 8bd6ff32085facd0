// The Player's commands: the toolbar, the open dialog, the volume bar and what the session
// asks the window to show.
#include "common/audiofilters.h"
#include "common/displaytext.h"
#include "common/paths.h"
#include "common/prompts/filedialogs.h"
#include "common/ui/toolbutton.h"
#include "player/core/progressgeometry.h"
#include "player/core/shifttext.h"
#include "player/window/bars.h"
#include "player/window/colors.h"
#include "player/window/lyriclabel.h"
#include "player/window/playerwindow.h"
#include "player/window/statuslabel.h"
#include "player/window/toolicons.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>

namespace lyrova {

void PlayerWindow::ShowLyricLines(const QString& current, const QString& next) {
  // A label lays out all it holds, so it gets no more of a line than a screen can show.
  lrc_[0]->setText(DisplayText(current));
  lrc_[1]->setText(DisplayText(next));
  currentLine_->SetProgress(LineProgress{});
  CenterLyricLines();
}

bool PlayerWindow::CurrentLineTooWide() const {
  return currentLine_->TextWidth() > lrcOut_->width();
}

void PlayerWindow::ShowLineProgress(const LineProgress& progress) {
  currentLine_->SetProgress(progress);
}

void PlayerWindow::ShowProgress(const ProgressPicture& picture, const QString& status, bool clock) {
  locPut_->SetPicture(picture);
  label1_->SetStatus(status, clock ? StatusLabel::Fit::Whole : StatusLabel::Fit::Elided);
}

void PlayerWindow::ShowSendState(bool on) {
  Button(PlayerButton::SendLyrics)->SetIcon(ToolIcon(PlayerButton::SendLyrics, on ? 1 : 0));
}

void PlayerWindow::ShowShiftStep(const QString& hint) {
  label1_->hide();
  label2_->show();
  label2_->SetStatus(hint, StatusLabel::Fit::Elided);
}

void PlayerWindow::EndShiftStep() {
  label1_->show();
  label2_->hide();
}

// A window that was never shown (the song failed at start) has nothing to close.
void PlayerWindow::RequestClose() {
  if (isVisible()) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void PlayerWindow::OpenFromDialog() {
  FileDialogs dialog(*services_.prompts);
  dialog.SetHwnd(this);
  dialog.SetFilter(AudioOpenFilter());
  dialog.SetFilterIndex(0);
  dialog.SetFlags(kOfnHideReadOnly | kOfnPathMustExist | kOfnFileMustExist | kOfnExplorer);
  const QString openDir = session_.OpenDir();
  dialog.SetInitialDir(DirExists(openDir) ? openDir : services_.programFolder);
  dialog.SetTitle(QStringLiteral("打开音频文件"));
  dialog.SetDefExt(QStringLiteral("*.Wav;*.Wma;*.Mp3;*.Asf"));
  dialog.SetFileName(session_.OpenName());
  dialog.PopOpen();
  label2_->hide();
  label1_->show();
  if (dialog.Cancel()) return;
  // A song of its own ends follow mode.
  if (session_.Following()) SetFollowing(false);
  session_.OpenChosen(dialog.InitialDir(), dialog.FileName());
}

void PlayerWindow::RunButton(PlayerButton button) {
  switch (button) {
    case PlayerButton::Open:
      OpenFromDialog();
      break;
    case PlayerButton::Play:
      session_.Play();
      break;
    case PlayerButton::Pause:
      session_.TogglePause();
      break;
    case PlayerButton::Stop:
      session_.Stop();
      break;
    case PlayerButton::KeepOnTop:
      ApplyTopmost(!topmost_);
      break;
    case PlayerButton::SendLyrics:
      session_.ToggleSending();
      break;
    case PlayerButton::SendTarget:
      PopUp(chatoraSel_, PlayerButton::SendTarget);
      break;
    case PlayerButton::ShiftTiming:
      SetOffsetMenus(session_.SyncOffset());
      PopUp(lrcAdvance_, PlayerButton::ShiftTiming);
      label2_->hide();
      label1_->show();
      break;
    case PlayerButton::Decoration:
      services_.chat->ShowDecorationDialog(this);
      break;
    case PlayerButton::ChatStrip:
      ToggleChatStrip();
      break;
    case PlayerButton::Settings:
      SetFontCaption();
      PopUp(setMenu_, PlayerButton::Settings);
      if (!closing_) {
        label2_->hide();
        label1_->show();
      }
      break;
    case PlayerButton::Help:
      PopUp(helpMm_, PlayerButton::Help);
      break;
    case PlayerButton::Exit:
      close();
      break;
  }
}

void PlayerWindow::PopUp(QMenu* menu, PlayerButton under) {
  ToolButton* button = Button(under);
  popUp(menu, button->mapToGlobal(QPoint(0, button->height())));
}

void PlayerWindow::OnButtonEntered(int index) {
  if (QGuiApplication::mouseButtons() != Qt::NoButton) return;
  controlButt_[index]->SetBackground(colors::kButtonHover);
  ShowHint(buttonHints_.value(index));
}

void PlayerWindow::OnButtonLeft(int index) {
  controlButt_[index]->SetBackground(colors::kButtonRest);
  label2_->hide();
  label1_->show();
}

void PlayerWindow::OnButtonPressed(int index) {
  controlButt_[index]->SetBackground(colors::kButtonPressed);
}

void PlayerWindow::OnButtonReleased(int index, bool inside) {
  for (ToolButton* button : controlButt_) button->SetBackground(colors::kButtonRest);
  if (inside) RunButton(PlayerButton(index));
}

void PlayerWindow::ShowHint(const QString& text) {
  label2_->SetStatus(text, StatusLabel::Fit::Elided);
  label1_->hide();
  label2_->show();
}

// The bar's fill follows the pointer as given; the session keeps the volume within its range.
void PlayerWindow::SetVolumeAt(int x) {
  const qint32 volume = VolumeForX(x, vol_->width());
  vol_->SetFillWidth(VolumeFillWidth(volume, vol_->width()));
  session_.SetVolume(volume);
}

void PlayerWindow::ApplyVolume() {
  vol_->SetFillWidth(VolumeFillWidth(session_.Volume(), vol_->width()));
  session_.SetVolume(session_.Volume());
}

void PlayerWindow::SetOffsetMenus(qint32 shiftMs) {
  const ShiftMenuState state = ShiftMenuFor(shiftMs);
  la1_->setChecked(state.noShiftChecked);
  la2_->setTitle(state.advanceCaption);
  la3_->setTitle(state.delayCaption);
  for (int i = 0; i < la2x_.size(); ++i) la2x_[i]->setChecked(i == state.advanceChecked);
  for (int i = 0; i < la3x_.size(); ++i) la3x_[i]->setChecked(i == state.delayChecked);
}

}  // namespace lyrova
