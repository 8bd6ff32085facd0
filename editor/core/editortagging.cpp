// The Editor session's time tagging: playback and polling, the progress bar, the line list and
// the edit boxes, stamping, the line commands, shifts, the sync correction and automatic tags.
#include "common/displaytext.h"
#include "common/paths.h"
#include "common/prompts/prompts.h"
#include "editor/core/editorsession.h"
#include "lyrics/lineoperations.h"
#include "lyrics/timetext.h"
#include "media/mediacontrol.h"

#include <algorithm>
#include <cmath>

namespace lyrova {

namespace {

qint32 ClampTag(qint64 ms) { return static_cast<qint32>(std::clamp<qint64>(ms, kMinTagMs, kMaxTagMs)); }

// round(numerator / denominator), halves to even; denominator > 0.
qint64 RoundDivide(double numerator, double denominator) {
  return static_cast<qint64>(std::nearbyint(numerator / denominator));
}

}  // namespace

QString EditorSession::RowText(int row) const {
  if (!ValidRow(row)) return {};
  const LyricLine& line = doc_.lines[row];
  return u'[' + FormatTimeTag(line.time, line.timed, false) + u']' + DisplayText(line.text);
}

QString EditorSession::RowTooltip(int row) const {
  if (!ValidRow(row) || !doc_.lines[row].timed) return {};
  return QStringLiteral("双击此处从\"") + DisplayText(doc_.lines[row].text) + QStringLiteral("\"开始播放");
}

int EditorSession::LineAtPosition(qint32 positionMs) const {
  int best = 0;
  qint64 bestDistance = -1;
  for (int i = 0; i < doc_.count(); ++i) {
    const LyricLine& line = doc_.lines[i];
    if (!line.timed || line.time > positionMs) continue;
    const qint64 distance = qint64(positionMs) - line.time;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

double EditorSession::ShownFraction() const {
  const qint32 length = services_.media->MediaLength();
  if (length < 1) return 0.0;
  return std::clamp(double(shownPositionMs_) / length, 0.0, 1.0);
}

QString EditorSession::OutTimeText() const { return FormatTimeTag(shownPositionMs_, true, false); }

void EditorSession::ShowPosition(qint32 positionMs) {
  shownPositionMs_ = positionMs;
  view_->PositionChanged();
}

void EditorSession::StartTimer() {
  if (!timer1_.isActive()) timer1_.start();
}

void EditorSession::Play() {
  MediaControl& media = *services_.media;
  if (!media.IsOpen()) {
    if (!FileExists(audioPath_)) {
      RunCommand(0);
      if (!FileExists(audioPath_)) return;
    }
    media.OpenMedia(audioPath_);
    if (!media.IsOpen()) return;
  }
  media.PlayMedia();
  StartTimer();
}

void EditorSession::PlayFromSelection() { DoubleClickRow(selection_); }

void EditorSession::DoubleClickRow(int row) {
  if (!ValidRow(row) || !doc_.lines[row].timed) return;
  MediaControl& media = *services_.media;
  if (!media.IsOpen() && FileExists(audioPath_)) media.OpenMedia(audioPath_);
  if (!media.IsOpen()) return;
  const qint32 t = doc_.lines[row].time;
  if (t > media.MediaLength()) return;
  media.SeekMedia(std::max(t, 0));
  media.PlayMedia();
  StartTimer();
}

void EditorSession::Pause() {
  MediaControl& media = *services_.media;
  media.TogglePause();
  if (media.IsPlaying()) StartTimer();
}

void EditorSession::SeekBy(qint32 deltaMs) {
  MediaControl& media = *services_.media;
  const qint64 target = qint64(media.GetMediaStatus(false)) + deltaMs;
  const qint32 p = static_cast<qint32>(std::clamp<qint64>(target, 0, std::max(0, media.MediaLength())));
  media.SeekMedia(p);
  ShowPosition(p);
}

void EditorSession::Stop() {
  services_.media->CloseMedia();
  ShowPosition(0);
}

void EditorSession::Tick() {
  MediaControl& media = *services_.media;
  const qint32 pos = media.GetMediaStatus(false);
  ShowPosition(pos);
  if (pos == media.MediaLength() && media.IsPlaying()) media.TogglePause();
  if (!media.IsPlaying()) timer1_.stop();
  if (follow_) {
    const int i = LineAtPosition(pos);
    if (followLine_ < 0 || followLine_ != i) {
      if (i < doc_.count()) SelectRow(i, true);
      followLine_ = i;
    }
  }
}

void EditorSession::SeekPress(int x, int width) {
  MediaControl& media = *services_.media;
  const int clamped = std::clamp(x, 0, std::max(width, 0));
  const qint32 p = width > 0 ? static_cast<qint32>(RoundDivide(double(clamped) * media.MediaLength(), width)) : 0;
  seekDragging_ = true;
  resumeAfterSeek_ = media.IsPlaying();
  if (resumeAfterSeek_) media.TogglePause();
  ShowPosition(p);
  media.SeekMedia(p);
}

void EditorSession::SeekMove(int x, int width) {
  if (!seekDragging_) return;
  const int clamped = std::clamp(x, 0, std::max(width, 0));
  const qint32 length = services_.media->MediaLength();
  ShowPosition(width > 0 ? static_cast<qint32>(RoundDivide(double(clamped) * length, width)) : 0);
}

void EditorSession::SeekRelease(int x, int width) {
  if (!seekDragging_) return;
  MediaControl& media = *services_.media;
  seekDragging_ = false;
  const int clamped = std::clamp(x, 0, std::max(width, 0));
  const qint32 p = width > 0 ? static_cast<qint32>(RoundDivide(double(clamped) * media.MediaLength(), width)) : 0;
  media.SeekMedia(p);
  const qint32 q = media.GetMediaStatus(false);
  if (resumeAfterSeek_ && q < media.MediaLength()) {
    media.PlayMedia();
    StartTimer();
  }
  ShowPosition(q);
}

void EditorSession::SetFollow(bool on) {
  if (follow_ == on) return;
  follow_ = on;
  followLine_ = -1;
  view_->FollowChanged();
}

void EditorSession::ClickRow(int row) {
  selection_ = ValidRow(row) ? row : -1;
  FillBoxes(selection_);
}

void EditorSession::SelectRow(int row, bool fill) {
  selection_ = ValidRow(row) ? row : -1;
  view_->SelectionChanged();
  if (fill) FillBoxes(selection_);
}

void EditorSession::FillBoxes(int row) {
  if (!ValidRow(row)) return;
  const LyricLine& line = doc_.lines[row];
  textBox_ = line.text;
  timeBox_ = line.timed && line.time >= kMinTagMs ? FormatTimeTag(line.time, true, false) : QString();
  view_->EditBoxesChanged();
}

void EditorSession::ClearEditBoxes() {
  // A box left holding an old line's text would add that text to the next line typed there.
  timeBox_.clear();
  textBox_.clear();
  view_->EditBoxesChanged();
}

void EditorSession::ResetLines() {
  followLine_ = -1;
  if (!ValidRow(selection_)) selection_ = -1;
  view_->LinesReset();
  view_->SelectionChanged();
}

void EditorSession::SetFocus(Box box) {
  if (box == focus_) return;
  if (focus_ != Box::None) FocusLost();
  focus_ = box;
  if (box != Box::None) FocusGained();
  view_->FocusChanged();
}

void EditorSession::FocusGained() {
  MediaControl& media = *services_.media;
  resumeAfterEdit_ = follow_ && media.IsPlaying();
  if (resumeAfterEdit_) media.TogglePause();
  editLine_ = selection_;
}

void EditorSession::FocusLost() {
  MediaControl& media = *services_.media;
  if (resumeAfterEdit_) media.PlayMedia();
  resumeAfterEdit_ = media.IsPlaying();
  if (media.IsPlaying())
    StartTimer();
  else
    timer1_.stop();
}

void EditorSession::TimeBoxEnter() { SetFocus(Box::Text); }

void EditorSession::TextBoxEnter() {
  editLine_ = selection_ + 1;
  if (editLine_ == doc_.count()) {
    InsertLineAt(doc_, QString(), -1);
    ResetLines();
    changed_ = true;
  }
  SelectRow(editLine_, true);
  SetFocus(Box::Time);
}

int EditorSession::WriteTarget() const {
  if (ValidRow(editLine_)) return editLine_;
  return ValidRow(selection_) ? selection_ : -1;
}

bool EditorSession::TextBoxReadOnly() const { return CutForDisplay(textBox_); }

void EditorSession::TextBoxEdited(const QString& text) {
  // The box shows only the start of a longer text; an edit of that would cut the line.
  if (TextBoxReadOnly()) return;
  textBox_ = text;
  if (editLine_ < 0) {
    InsertLineAt(doc_, text, -1);
    editLine_ = static_cast<int>(doc_.count()) - 1;
    ResetLines();
    SelectRow(editLine_, false);
  }
  const int target = WriteTarget();
  if (target < 0) return;
  editLine_ = target;
  changed_ = true;
  doc_.lines[target].text = TrimBlanks(text);
  view_->LineChanged(target);
}

void EditorSession::TimeBoxEdited(const QString& text) {
  timeBox_ = text;
  const QString trimmed = TrimBlanks(text);
  if (doc_.count() == 0 && !trimmed.isEmpty()) {
    InsertLineAt(doc_, textBox_, 0);
    editLine_ = 0;
    ResetLines();
    SelectRow(0, false);
  }
  if (editLine_ < 0) return;
  const int target = WriteTarget();
  if (target < 0) return;
  editLine_ = target;
  changed_ = true;
  LyricLine& line = doc_.lines[target];
  if (trimmed.isEmpty()) {
    line.timed = false;
  } else if (const std::optional<qint32> ms = ParseTimeText(text)) {
    line.time = *ms;
    line.timed = true;
  } else {
    return;
  }
  view_->LineChanged(target);
}

void EditorSession::Stamp() {
  MediaControl& media = *services_.media;
  if (!media.IsOpen()) return;
  const int s = selection_;
  const int count = static_cast<int>(doc_.count());
  if (s >= 0 && s < count) {
    SetFollow(false);
    LyricLine& line = doc_.lines[s];
    line.time = media.GetMediaStatus(false);
    line.timed = true;
    view_->LineChanged(s);
    changed_ = true;
  }
  if (s < count - 1) SelectRow(s + 1, true);
}

void EditorSession::InsertLine(int s, bool duplicate) {
  const QString text = duplicate && ValidRow(s) ? doc_.lines[s].text : QString();
  editLine_ = s + 1;
  InsertLineAt(doc_, text, editLine_);
  changed_ = true;
  ResetLines();
  SelectRow(editLine_, false);
  view_->SelectTextBoxContents();
}

void EditorSession::DeleteSelected(int s) {
  if (!ValidRow(s)) return;
  DeleteLine(doc_, s);
  changed_ = true;
  ResetLines();
  SelectRow(std::min(s, static_cast<int>(doc_.count()) - 1), false);
}

void EditorSession::MoveLine(int s, int delta) {
  const int other = s + delta;
  if (!ValidRow(s) || !ValidRow(other)) return;
  SwapLines(doc_, s, other);
  changed_ = true;
  view_->LineChanged(s);
  view_->LineChanged(other);
  SelectRow(other, false);
}

void EditorSession::Sort(int s) {
  if (doc_.count() < 1 || !SortLines(doc_)) return;
  ResetLines();
  if (s >= 0) SelectRow(s, true);
  followLine_ = -1;
  changed_ = true;
}

void EditorSession::RemoveTag(int s) {
  if (!ValidRow(s)) return;
  doc_.lines[s].timed = false;
  changed_ = true;
  view_->LineChanged(s);
}

void EditorSession::ShiftTags(int target, qint32 deltaMs) {
  const auto shiftOne = [this, deltaMs](int i) {
    LyricLine& line = doc_.lines[i];
    if (!line.timed) return false;
    line.time = ClampTag(qint64(line.time) + deltaMs);
    changed_ = true;
    return true;
  };
  if (target >= 0) {
    if (ValidRow(target) && shiftOne(target)) view_->LineChanged(target);
    return;
  }
  bool any = false;
  for (int i = 0; i < doc_.count(); ++i) any = shiftOne(i) || any;
  // One repaint for the whole list rather than one per row.
  if (any) view_->LinesReset();
}

void EditorSession::ClampAllTimes() {
  for (LyricLine& line : doc_.lines) line.time = ClampTag(line.time);
}

void EditorSession::SyncCorrection(int s) {
  MediaControl& media = *services_.media;
  if (!ValidRow(s) || !doc_.lines[s].timed || !media.IsOpen()) return;
  const qint64 d = qint64(media.GetMediaStatus(false)) - doc_.lines[s].time;
  for (LyricLine& line : doc_.lines) {
    if (!line.timed) continue;
    line.time = ClampTag(qint64(line.time) + d);
    changed_ = true;
  }
  ClampAllTimes();
  ResetLines();
  SelectRow(s, true);
}

void EditorSession::TypedOffset(int s) {
  const OffsetResult offset = services_.dialogs->AskOffset(view_->DialogOwner());
  if (offset.valueMs == 0) return;
  if (offset.allTags) {
    if (doc_.count() < 1) return;
    for (LyricLine& line : doc_.lines) {
      if (!line.timed) continue;
      line.time = ClampTag(qint64(line.time) + offset.valueMs);
      changed_ = true;
    }
    ClampAllTimes();
    ResetLines();
    if (s >= 0) SelectRow(s, true);
    return;
  }
  if (!ValidRow(s) || !doc_.lines[s].timed) return;
  LyricLine& line = doc_.lines[s];
  changed_ = true;
  // Clamped like every other shift: a time beyond 100 minutes could not be written as a tag and
  // would silently lose its tag on the next save.
  line.time = ClampTag(qint64(line.time) + offset.valueMs);
  view_->LineChanged(s);
  timeBox_ = line.time >= kMinTagMs ? FormatTimeTag(line.time, true, false) : QString();
  view_->EditBoxesChanged();
}

void EditorSession::AutoTag(bool byLines, int s) {
  Prompts& prompts = *services_.prompts;
  if (byLines ? doc_.count() < 1 : TotalTextLength(doc_) < 1) {
    ShowNotice(byLines ? QStringLiteral("行数为 0,不能执行") : QStringLiteral("字数为 0,不能执行"));
    return;
  }
  const QString question =
      byLines ? QStringLiteral("按行数自动建立时间标签，所有时间标签将被更改，你要继续吗？")
              : QStringLiteral("按字数自动建立时间标签，所有时间标签将被更改，你要继续吗？");
  if (!prompts.Question(question, MessageTitle(), DefaultAnswer::No)) return;
  MediaControl& media = *services_.media;
  qint32 length = 0;
  if (media.IsOpen()) {
    length = media.MediaLength();
  } else if (FileExists(audioPath_)) {
    media.OpenMedia(audioPath_);
    length = media.MediaLength();
    media.CloseMedia();
  }
  if (length < 1) {
    ShowNotice(QStringLiteral("音频未打开或打开失败"));
    return;
  }
  if (!AutoTimeLines(doc_, byLines, length)) return;
  ResetLines();
  changed_ = true;
  if (s >= 0) SelectRow(s, true);
}

}  // namespace lyrova
