// The Player's engine: opening songs, the playback tick, seeking, volume and the lyric shift.
#include "common/audiofilters.h"
#include "common/clock.h"
#include "common/displaytext.h"
#include "common/paths.h"
#include "common/prompts/filedialogs.h"
#include "common/ui/toolbutton.h"
#include "lyrics/lrcreader.h"
#include "media/mediacontrol.h"
#include "player/core/playerhooks.h"
#include "player/core/progressgeometry.h"
#include "player/core/shifttext.h"
#include "player/lookup/lyricslookup.h"
#include "player/window/bars.h"
#include "player/window/colors.h"
#include "player/window/playerwindow.h"
#include "player/window/statuslabel.h"
#include "player/window/toolicons.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>

namespace lyrova {

PlaybackFacts PlayerWindow::Facts() const {
  PlaybackFacts facts;
  facts.lyricsBusy = lyricsBusy_;
  facts.lyricsLoaded = lyricsLoaded_;
  facts.isOpen = services_.media->IsOpen();
  facts.mediaLength = services_.media->MediaLength();
  return facts;
}

qint32 PlayerWindow::Position() { return services_.media->GetMediaStatus(false); }

bool PlayerWindow::LoadLyrics() {
  cursor_.ForceRedraw();
  watch_.Follow(openName_, lyricsPath_);
  if (TrimBlanks(lyricsPath_).isEmpty() || !FileExists(lyricsPath_)) return false;
  lyricsBusy_ = true;
  const bool ok = LoadLrc(lyrics_, lyricsPath_, ReaderMode::Player);
  lyricsBusy_ = false;
  return ok;
}

qint32 PlayerWindow::TrackLine(qint32 positionMs) {
  return TrackCurrentLine(cursor_, lyrics_, Facts(), positionMs, syncOffset_);
}

void PlayerWindow::DrawProgress(qint32 positionMs, qint32 nextMs) {
  const qint32 length = services_.media->MediaLength();
  locPut_->SetPicture(ProgressFor(barWidth_, length, positionMs, nextMs, lyricsLoaded_));
  if (length > 0)
    label1_->SetStatus(FormatClock(positionMs) + u'/' + services_.media->MediaLengthText(),
                       StatusLabel::Fit::Whole);
  else
    label1_->SetStatus(QStringLiteral("播放已停止"), StatusLabel::Fit::Elided);
}

void PlayerWindow::ShowLine(qint32 key, LineMode mode) {
  const LineChange change = ShowCurrentLine(cursor_, lyrics_, Facts(), key);
  if (change.idle) {
    ShowIdleText();
    return;
  }
  if (!change.changed) return;
  // The line is current from this moment; the labels follow.
  if (services_.echo) services_.echo(change.current);
  // A label lays out all it holds, so it gets no more of a line than a screen can show.
  lrc_[0]->setText(DisplayText(change.current));
  lrc_[1]->setText(DisplayText(change.next));
  CenterLyricLines();
  if (mode == LineMode::Send && services_.chat->Sending())
    services_.chat->SendLyricLine(lyrics_.lines[change.index]);
}

void PlayerWindow::Tick() {
  MediaControl& media = *services_.media;
  const qint32 pos = Position();
  TrackLine(pos);
  DrawProgress(pos, cursor_.nextLineTime);
  ShowLine(pos + syncOffset_, LineMode::Send);
  if (pos != media.MediaLength()) {
    if (media.IsPlaying()) {
      TimeNextLine(pos);
      return;
    }
  } else if (media.IsPlaying()) {
    HandleSongEnd();
    if (media.IsPlaying()) return;
  }
  timer1_.stop();
}

void PlayerWindow::PlayIfAutomatic() {
  if (settings_.autoPlay && !editorHasSong_) Play();
}

void PlayerWindow::PauseForEditor(const QString& song) {
  MediaControl& media = *services_.media;
  if (song != openName_) return;
  // Started from the link dialog while the song is being opened: the song is not playing yet,
  // and the automatic start that would follow the dialog is left out instead.
  if (!media.IsPlaying()) {
    editorHasSong_ = true;
    return;
  }
  media.TogglePause();
  timer1_.stop();
  lineTimer_.stop();
}

// The 10 ms tick shows a line up to one interval after its time. When the next line starts before
// the next tick, one more tick is timed for the moment it starts, so lines appear on time.
void PlayerWindow::TimeNextLine(qint32 positionMs) {
  const qint32 wait = cursor_.nextLineTime - positionMs;
  if (wait > 0 && wait < timer1_.interval() && !lineTimer_.isActive()) lineTimer_.start(wait);
}

void PlayerWindow::HandleSongEnd() {
  MediaControl& media = *services_.media;
  if (services_.chat->Sending()) {
    services_.chat->StopSending();
    Button(PlayerButton::SendLyrics)->SetIcon(ToolIcon(PlayerButton::SendLyrics, 0));
  }
  if (settings_.playLoop) {
    media.SeekMedia(0);
    media.PlayMedia();
    return;
  }
  media.TogglePause();
  if (services_.quitAtEnd) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void PlayerWindow::Play() {
  MediaControl& media = *services_.media;
  if (media.IsOpen()) {
    media.PlayMedia();
    timer1_.start();
    return;
  }
  if (!FileExists(openName_)) return;
  lyricsPath_ = LyricsLookup(services_.dataFolder).FindLyricsFile(openName_);
  lyricsLoaded_ = LoadLyrics();
  media.OpenMedia(openName_, volume_);
  if (!media.IsOpen() && services_.quitAtEnd) {
    FailSong(QStringLiteral("无法打开音频文件 ") + openName_);
    return;
  }
  media.PlayMedia();
  timer1_.start();
}

// Only with quitAtEnd: a song that cannot be opened can never end, so the program ends now.
void PlayerWindow::FailSong(const QString& reason) {
  if (songFailed_) return;
  songFailed_ = true;
  if (services_.songFailed) services_.songFailed(reason);
  if (isVisible()) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void PlayerWindow::StopPlayback() {
  services_.media->CloseMedia();
  DrawProgress(0, 0);
  ShowIdleText();
}

void PlayerWindow::OpenFromDialog() {
  FileDialogs dialog(*services_.prompts);
  dialog.SetHwnd(this);
  dialog.SetFilter(AudioOpenFilter());
  dialog.SetFilterIndex(0);
  dialog.SetFlags(kOfnHideReadOnly | kOfnPathMustExist | kOfnFileMustExist | kOfnExplorer);
  dialog.SetInitialDir(DirExists(openDir_) ? openDir_ : services_.programFolder);
  dialog.SetTitle(QStringLiteral("打开音频文件"));
  dialog.SetDefExt(QStringLiteral("*.Wav;*.Wma;*.Mp3;*.Asf"));
  dialog.SetFileName(openName_);
  dialog.PopOpen();
  label2_->hide();
  label1_->show();
  if (dialog.Cancel()) return;
  services_.media->CloseMedia();
  openDir_ = dialog.InitialDir();
  openName_ = dialog.FileName();
  editorHasSong_ = false;
  AfterSongChosen();
  lyricsLoaded_ = !lyricsPath_.isEmpty();
  ShowIdleText();
  syncOffset_ = 0;
  PlayIfAutomatic();
}

void PlayerWindow::OpenDroppedFile(const QString& path) {
  if (!FileExists(path)) return;
  services_.media->CloseMedia();
  openName_ = path;
  editorHasSong_ = false;
  AfterSongChosen();
  lyricsLoaded_ = LoadLyrics();
  ShowIdleText();
  syncOffset_ = 0;
  PlayIfAutomatic();
}

void PlayerWindow::AfterSongChosen() {
  const LyricsLookup lookup(services_.dataFolder);
  lyricsPath_ = lookup.FindLyricsFile(openName_);
  if (lyricsPath_.isEmpty() && settings_.openLrcSel) {
    services_.companions->ShowLinkDialog(this, openName_, QString());
    lyricsPath_ = lookup.FindLyricsFile(openName_);
  }
  watch_.Follow(openName_, lyricsPath_);
}

void PlayerWindow::ReloadLyrics() {
  // Lyrics made since the song was opened are found only by a new lookup.
  if (TrimBlanks(lyricsPath_).isEmpty() || !FileExists(lyricsPath_))
    lyricsPath_ = LyricsLookup(services_.dataFolder).FindLyricsFile(openName_);
  ShowReloadedLyrics(LineMode::Send);
}

// The current line is not sent again: the user did not ask for the new lyrics, and an editor
// saving repeatedly would otherwise repeat it in the chat window at every save.
void PlayerWindow::PickUpLyrics(const QString& path) {
  if (openName_.isEmpty()) return;
  lyricsPath_ = path;
  ShowReloadedLyrics(LineMode::Quiet);
}

void PlayerWindow::ShowReloadedLyrics(LineMode mode) {
  lyricsLoaded_ = LoadLyrics();
  ShowIdleText();
  if (services_.media->IsOpen()) ShowLine(Position() + syncOffset_, mode);
}

void PlayerWindow::LinkLyrics() {
  services_.companions->ShowLinkDialog(this, openName_, lyricsPath_);
  lyricsPath_ = LyricsLookup(services_.dataFolder).FindLyricsFile(openName_);
  lyricsLoaded_ = LoadLyrics();
  ShowIdleText();
  if (services_.media->IsOpen()) ShowLine(Position() + syncOffset_, LineMode::Send);
}

void PlayerWindow::RunButton(PlayerButton button) {
  MediaControl& media = *services_.media;
  switch (button) {
    case PlayerButton::Open:
      OpenFromDialog();
      break;
    case PlayerButton::Play:
      Play();
      break;
    case PlayerButton::Pause:
      media.TogglePause();
      if (media.IsPlaying()) timer1_.start();
      break;
    case PlayerButton::Stop:
      StopPlayback();
      break;
    case PlayerButton::KeepOnTop:
      ApplyTopmost(!topmost_);
      break;
    case PlayerButton::SendLyrics:
      services_.chat->ToggleSending(this);
      Button(PlayerButton::SendLyrics)
          ->SetIcon(ToolIcon(PlayerButton::SendLyrics, services_.chat->Sending() ? 1 : 0));
      break;
    case PlayerButton::SendTarget:
      PopUp(chatoraSel_, PlayerButton::SendTarget);
      break;
    case PlayerButton::ShiftTiming:
      SetOffsetMenus(syncOffset_);
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

void PlayerWindow::SeekPress(int x) {
  MediaControl& media = *services_.media;
  seekDragging_ = true;
  resumeAfterSeek_ = media.IsPlaying();
  if (media.IsPlaying()) media.TogglePause();
  const qint32 pos = media.SeekMedia(SeekTargetFor(x, barWidth_, media.MediaLength()));
  TrackLine(pos);
  DrawProgress(pos, cursor_.nextLineTime);
  ShowLine(Position() + syncOffset_, LineMode::Quiet);
}

void PlayerWindow::SeekDrag(int x) {
  if (!seekDragging_) return;
  const qint32 p = SeekTargetFor(x, barWidth_, services_.media->MediaLength());
  TrackLine(p);
  DrawProgress(p, cursor_.nextLineTime);
  ShowLine(p + syncOffset_, LineMode::Quiet);
}

void PlayerWindow::SeekRelease(int x) {
  MediaControl& media = *services_.media;
  seekDragging_ = false;
  media.SeekMedia(SeekTargetFor(x, barWidth_, media.MediaLength()));
  const qint32 pos = Position();
  if (resumeAfterSeek_) {
    if (pos < media.MediaLength()) {
      media.PlayMedia();
      timer1_.start();
    } else if (settings_.playLoop) {
      media.SeekMedia(0);
      media.PlayMedia();
      timer1_.start();
    }
  }
  TrackLine(pos);
  DrawProgress(pos, cursor_.nextLineTime);
}

void PlayerWindow::SetVolumeAt(int x) {
  volume_ = VolumeForX(x, vol_->width());
  ApplyVolume();
}

void PlayerWindow::ApplyVolume() {
  vol_->SetFillWidth(VolumeFillWidth(volume_, vol_->width()));
  services_.media->SetVolume(volume_);
}

void PlayerWindow::SetShiftFromMenu(qint32 shiftMs) {
  syncOffset_ = shiftMs;
  if (services_.media->IsOpen()) {
    const qint32 pos = Position();
    ShowLine(pos + syncOffset_, LineMode::Send);
    TrackLine(pos);
    DrawProgress(pos, cursor_.nextLineTime);
  } else {
    ShowIdleText();
  }
}

void PlayerWindow::SetOffsetMenus(qint32 shiftMs) {
  const ShiftMenuState state = ShiftMenuFor(shiftMs);
  la1_->setChecked(state.noShiftChecked);
  la2_->setTitle(state.advanceCaption);
  la3_->setTitle(state.delayCaption);
  for (int i = 0; i < la2x_.size(); ++i) la2x_[i]->setChecked(i == state.advanceChecked);
  for (int i = 0; i < la3x_.size(); ++i) la3x_[i]->setChecked(i == state.delayChecked);
}

void PlayerWindow::StepShiftByKey() {
  if (offsetStep_ == 0) {
    timer2_.stop();
    label1_->show();
    label2_->hide();
    return;
  }
  label1_->hide();
  label2_->show();
  timer2_.setInterval(350);
  syncOffset_ = StepShift(syncOffset_, offsetStep_);
  label2_->SetStatus(ShiftStepLabel(syncOffset_), StatusLabel::Fit::Elided);
  if (services_.media->IsOpen()) {
    const qint32 pos = Position();
    ShowLine(pos + syncOffset_, LineMode::Quiet);
    TrackLine(pos);
    DrawProgress(pos, cursor_.nextLineTime);
  } else {
    ShowIdleText();
  }
}

}  // namespace lyrova
