#include "player/core/playersession.h"

#include "common/clock.h"
#include "common/commandline.h"
#include "common/paths.h"
#include "common/prompts/prompts.h"
#include "lyrics/lrcreader.h"
#include "lyrics/wordtags.h"
#include "media/mediacontrol.h"
#include "player/core/playersettings.h"
#include "player/core/shifttext.h"
#include "player/core/wakeplan.h"
#include "player/lookup/lyricslookup.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <limits>

namespace lyrova {
namespace {

const QString kIdleTitle = QStringLiteral("Lyrova 1.42");
const QString kCredit = QStringLiteral("同步歌词，随歌而行 · Lyrova 开发组");

// No wake-up is planned further ahead than this, whatever the plan says.
constexpr qint64 kLongestSleepMs = 1000;

qint32 ClampToInt32(qint64 value) {
  return qint32(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                   std::numeric_limits<qint32>::max()));
}

}  // namespace

PlayerSession::PlayerSession(const PlayerSessionServices& services, PlayerView* view)
    : services_(services), watch_(services.dataFolder, services.lookupIndex) {
  // A program without dialogs or chat sending leaves these out; the defaults do nothing.
  static CompanionHooks noCompanions;
  static ChatHooks noChat;
  if (services_.companions == nullptr) services_.companions = &noCompanions;
  if (services_.chat == nullptr) services_.chat = &noChat;
  SetView(view);
  wakeTimer_.setSingleShot(true);
  wakeTimer_.setTimerType(Qt::PreciseTimer);
  connect(&wakeTimer_, &QTimer::timeout, this, [this] {
    WaitForTold();
    Wake();
  });
  shiftTimer_.setInterval(kShiftRepeatMs);
  connect(&shiftTimer_, &QTimer::timeout, this, &PlayerSession::StepShiftByKey);
  connect(&watch_, &LyricsWatch::LyricsChanged, this, &PlayerSession::PickUpLyrics);
  services_.chat->showSendState = [this](bool on) { view_->ShowSendState(on); };
  services_.companions->editorStarted = [this](const QString& song) { PauseForEditor(song); };
}

PlayerSession::~PlayerSession() {
  services_.chat->showSendState = nullptr;
  services_.companions->editorStarted = nullptr;
}

void PlayerSession::UseSettings(const PlayerSettings& settings) {
  openDir_ = settings.openDir;
  openName_ = settings.openName;
  volume_ = settings.volume;
  playLoop_ = settings.playLoop;
  autoPlay_ = settings.autoPlay;
  offerLinkDialog_ = settings.openLrcSel;
  bilingual_ = settings.bilingual;
}

void PlayerSession::SetBilingual(bool on) {
  if (bilingual_ == on) return;
  bilingual_ = on;
  cursor_.ForceRedraw();
  if (SongOpen()) RedrawAt(Position(), LineMode::Quiet);
  Replan();
}

PlaybackFacts PlayerSession::Facts() const {
  PlaybackFacts facts;
  facts.lyricsBusy = lyricsBusy_;
  facts.lyricsLoaded = lyricsLoaded_;
  facts.isOpen = SongOpen();
  facts.mediaLength = SongLength();
  facts.groupLines = bilingual_;
  return facts;
}

qint32 PlayerSession::Position() {
  return follow_ != nullptr ? follow_->PositionMs() : services_.media->GetMediaStatus(false);
}

bool PlayerSession::SongOpen() const {
  return follow_ != nullptr ? !followedTrack_.id.isEmpty() : services_.media->IsOpen();
}

bool PlayerSession::SongPlaying() const {
  return follow_ != nullptr ? SongOpen() && follow_->IsPlaying() : services_.media->IsPlaying();
}

qint32 PlayerSession::SongLength() const {
  return follow_ != nullptr ? followedTrack_.lengthMs : services_.media->MediaLength();
}

QString PlayerSession::SongLengthText() const {
  return follow_ != nullptr ? FormatClock(followedTrack_.lengthMs) : services_.media->MediaLengthText();
}

// --- Songs and their lyrics ---

void PlayerSession::OpenAtStart(const QStringList& arguments, const QStringList& unreadable) {
  openName_ = Unquote(arguments.join(u' '));
  if (!unreadable.isEmpty()) {
    const QString message = UnreadableNameMessage(openName_);
    openName_.clear();
    if (services_.quitAtEnd)
      FailSong(message);
    else
      services_.prompts->Message(message, QStringLiteral("Lyrova"), MessageIcon::Critical);
  } else if (FileExists(openName_)) {
    // A relative name would lose its folder below; the file system's own spelling is kept.
    const QFileInfo info(openName_);
    openName_ = JoinPath(info.absolutePath(), info.fileName());
    if (FileExists(openName_)) {
      FindLyrics(offerLinkDialog_);
      lyricsLoaded_ = LoadLyrics();
      ShowIdleText();
      PlayIfAutomatic();
    }
  } else {
    if (services_.quitAtEnd && openName_.isEmpty())
      FailSong(QStringLiteral("没有指定音频文件"));
    else if (services_.quitAtEnd)
      FailSong(QStringLiteral("音频文件\"") + openName_ + QStringLiteral("\"找不到"));
    openName_.clear();
  }
  emit StateChanged();
}

void PlayerSession::OpenChosen(const QString& folder, const QString& path) {
  services_.media->CloseMedia();
  if (wakeTimer_.isActive()) WakeSoon();
  openDir_ = folder;
  openName_ = path;
  editorHasSong_ = false;
  AfterSongChosen();
  // The lyrics are read when the song starts.
  lyricsLoaded_ = !lyricsPath_.isEmpty();
  ShowIdleText();
  syncOffset_ = 0;
  PlayIfAutomatic();
  emit StateChanged();
}

void PlayerSession::OpenDropped(const QString& path) {
  if (!FileExists(path)) return;
  services_.media->CloseMedia();
  if (wakeTimer_.isActive()) WakeSoon();
  openName_ = path;
  editorHasSong_ = false;
  AfterSongChosen();
  lyricsLoaded_ = LoadLyrics();
  ShowIdleText();
  syncOffset_ = 0;
  PlayIfAutomatic();
  emit StateChanged();
}

// The lookup, and the link dialog when it finds nothing and the user wants to be asked.
QString PlayerSession::FindSongLyrics() const {
  ++lookupsMade_;
  if (follow_ != nullptr) return FindFollowedLyrics();
  return LyricsLookup(services_.dataFolder, services_.lookupIndex).FindLyricsFile(openName_);
}

void PlayerSession::FindLyrics(bool offerLinkDialog) {
  lyricsPath_ = FindSongLyrics();
  if (lyricsPath_.isEmpty() && offerLinkDialog) {
    services_.companions->ShowLinkDialog(view_->DialogOwner(), SongKey(), QString());
    lyricsPath_ = FindSongLyrics();
  }
}

void PlayerSession::AfterSongChosen() {
  FindLyrics(offerLinkDialog_);
  watch_.Follow(openName_, lyricsPath_);
}

bool PlayerSession::LoadLyrics() {
  cursor_.ForceRedraw();
  echoedLine_ = -1;
  strip_ = StripLine{};
  // The watch runs the lookup of a song file; a followed track without one is not watched.
  watch_.Follow(follow_ != nullptr ? followedTrack_.filePath : openName_, lyricsPath_);
  if (TrimBlanks(lyricsPath_).isEmpty() || !FileExists(lyricsPath_)) return false;
  lyricsBusy_ = true;
  const bool ok = LoadLrc(lyrics_, lyricsPath_, ReaderMode::Player);
  lyricsBusy_ = false;
  return ok;
}

void PlayerSession::ReloadLyrics() {
  // Lyrics made since the song was opened are found only by a new lookup.
  if (TrimBlanks(lyricsPath_).isEmpty() || !FileExists(lyricsPath_))
    lyricsPath_ = FindSongLyrics();
  ShowReloadedLyrics(LineMode::Send);
}

// The current line is not sent again: the user did not ask for the new lyrics, and an editor
// saving repeatedly would otherwise repeat it in the chat window at every save.
void PlayerSession::PickUpLyrics(const QString& path) {
  if (SongKey().isEmpty()) return;
  lyricsPath_ = path;
  ShowReloadedLyrics(LineMode::Quiet);
}

void PlayerSession::ShowReloadedLyrics(LineMode mode) {
  lyricsLoaded_ = LoadLyrics();
  ShowIdleText();
  if (SongOpen()) ShowLine(Position() + syncOffset_, mode);
  // The bar's span and the plan follow the new lines.
  if (SongPlaying()) WakeSoon();
  emit StateChanged();
}

void PlayerSession::LinkLyrics() {
  services_.companions->ShowLinkDialog(view_->DialogOwner(), SongKey(), lyricsPath_);
  lyricsPath_ = FindSongLyrics();
  ShowReloadedLyrics(LineMode::Send);
}

void PlayerSession::EditLyrics(bool withEditor) {
  // A followed track without a file of its own goes to the Editor without a song.
  const QString song = follow_ != nullptr ? followedTrack_.filePath : openName_;
  services_.companions->EditLyrics(view_->DialogOwner(), withEditor, song, lyricsPath_);
}

// --- Playback ---

void PlayerSession::Play() {
  if (follow_ != nullptr) {
    if (!follow_->IsPlaying() && follow_->CanPause()) follow_->PlayPause();
    return;
  }
  StartSong(Lookup::Again);
}

// A song opened just now was looked up then; a song started again after a stop is looked up
// anew, so lyrics made in between are found.
void PlayerSession::StartSong(Lookup lookup) {
  MediaControl& media = *services_.media;
  if (media.IsOpen()) {
    media.PlayMedia();
    WakeSoon();
    emit StateChanged();
    return;
  }
  if (!FileExists(openName_)) return;
  if (lookup == Lookup::Again) lyricsPath_ = FindSongLyrics();
  lyricsLoaded_ = LoadLyrics();
  media.OpenMedia(openName_, volume_);
  if (!media.IsOpen() && services_.quitAtEnd) {
    FailSong(QStringLiteral("无法打开音频文件 ") + openName_);
    return;
  }
  media.PlayMedia();
  WakeSoon();
  emit StateChanged();
}

void PlayerSession::TogglePause() {
  // The followed player answers with a change of its status, which redraws.
  if (follow_ != nullptr) {
    if (follow_->CanPause()) follow_->PlayPause();
    return;
  }
  services_.media->TogglePause();
  lastWakePosition_ = -1;
  Wake();
  emit StateChanged();
}

void PlayerSession::Stop() {
  if (follow_ != nullptr) {
    if (follow_->CanPause()) follow_->StopPlayback();
    return;
  }
  services_.media->CloseMedia();
  wakeTimer_.stop();
  Track(0);
  DrawProgress(0);
  ShowIdleText();
  emit StateChanged();
}

// Only with quitAtEnd: a song that cannot be opened can never end, so the program ends now.
void PlayerSession::FailSong(const QString& reason) {
  if (songFailed_) return;
  songFailed_ = true;
  if (services_.songFailed) services_.songFailed(reason);
  view_->RequestClose();
}

void PlayerSession::PlayIfAutomatic() {
  if (autoPlay_ && !editorHasSong_) StartSong(Lookup::Done);
}

void PlayerSession::PauseForEditor(const QString& song) {
  if (follow_ != nullptr) {
    if (!song.isEmpty() && song == followedTrack_.filePath && SongPlaying()) follow_->PlayPause();
    return;
  }
  MediaControl& media = *services_.media;
  if (song != openName_) return;
  // Started from the link dialog while the song is being opened: the song is not playing yet,
  // and the automatic start that would follow the dialog is left out instead.
  if (!media.IsPlaying()) {
    editorHasSong_ = true;
    return;
  }
  media.TogglePause();
  wakeTimer_.stop();
  emit StateChanged();
}

void PlayerSession::StopSendingAtEnd() {
  if (!services_.chat->Sending()) return;
  services_.chat->StopSending();
  view_->ShowSendState(false);
}

void PlayerSession::HandleSongEnd() {
  MediaControl& media = *services_.media;
  StopSendingAtEnd();
  if (playLoop_) {
    media.SeekMedia(0);
    media.PlayMedia();
    emit Seeked(0);
    return;
  }
  media.TogglePause();
  if (services_.quitAtEnd) view_->RequestClose();
}

void PlayerSession::ToggleSending() {
  services_.chat->ToggleSending(view_->DialogOwner());
  view_->ShowSendState(services_.chat->Sending());
}

// A wake-up changes what the desktop may show only when the song stops playing (its end) or
// closes; the many wake-ups in between tell nobody.
void PlayerSession::Wake() { WakeAs(LineMode::Played); }

void PlayerSession::WakeAs(LineMode mode) {
  const bool open = SongOpen();
  const bool playing = SongPlaying();
  WakeAndPlan(mode);
  if (SongOpen() != open || SongPlaying() != playing) emit StateChanged();
}

void PlayerSession::WakeAndPlan(LineMode mode) {
  MediaControl& media = *services_.media;
  const qint32 pos = Position();
  const bool stalled = pos == lastWakePosition_;
  lastWakePosition_ = pos;
  Track(pos);
  DrawProgress(pos);
  ShowLine(pos + syncOffset_, mode);
  // A followed song ends, loops or goes on as its own player decides.
  if (follow_ != nullptr) {
    if (SongPlaying())
      PlanWake(pos, stalled);
    else
      wakeTimer_.stop();
    return;
  }
  if (pos != media.MediaLength()) {
    if (media.IsPlaying()) {
      PlanWake(pos, stalled);
      return;
    }
  } else if (media.IsPlaying()) {
    HandleSongEnd();
    // Looped: the end stays shown for one short step, as it always has, then the start follows.
    if (media.IsPlaying()) {
      lastWakePosition_ = -1;
      Arm(kStalledWakeMs);
      return;
    }
  }
  wakeTimer_.stop();
}

void PlayerSession::Shutdown() {
  wakeTimer_.stop();
  shiftTimer_.stop();
  services_.media->CloseMedia();
  emit StateChanged();
}

// --- Drawing ---

void PlayerSession::Track(qint32 positionMs) {
  TrackCurrentLine(cursor_, lyrics_, Facts(), positionMs, syncOffset_);
}

void PlayerSession::DrawProgress(qint32 positionMs) {
  const qint32 length = SongLength();
  const ProgressPicture picture =
      ProgressFor(barWidth_, length, positionMs, cursor_.nextLineTime, lyricsLoaded_);
  if (length > 0)
    view_->ShowProgress(picture, FormatClock(positionMs) + u'/' + SongLengthText(), true);
  else if (follow_ != nullptr && SongOpen())
    view_->ShowProgress(picture, FormatClock(positionMs), true);
  else
    view_->ShowProgress(picture, QStringLiteral("播放已停止"), false);
}

void PlayerSession::ShowLine(qint32 key, LineMode mode) {
  const LineChange change = ShowCurrentLine(cursor_, lyrics_, Facts(), key);
  if (change.idle) {
    ShowIdleText();
    return;
  }
  if (change.changed) {
    // The line is current from this moment; the view follows. A line drawn anew (a new layout,
    // a shift or a seek within it) is not printed again, nor are its words already printed.
    const bool newLine = change.index != echoedLine_;
    // Played on into a later line, a wake-up that came late prints first the words the last
    // line still owed: the terminal's reader gets every word, in order.
    if (newLine && mode == LineMode::Played && strip_.index >= 0 && strip_.index < change.index)
      EchoWordsBegunBy(key);
    if (services_.echo && newLine) {
      for (qint32 i = change.index; i <= change.groupLast; ++i) services_.echo(lyrics_.lines[i].text);
    }
    ShowLines(change.current, change.next);
    strip_.index = change.index;
    strip_.scrolls = view_->CurrentLineTooWide();
    const qint32 begun = WordBegunAt(lyrics_, strip_, key);
    // A wake-up that came late into a new line prints the words it passed, late, not never.
    if (newLine)
      nextEchoWord_ = mode == LineMode::Played ? 0 : begun;
    else
      nextEchoWord_ = std::max(nextEchoWord_, begun);
    echoedLine_ = change.index;
    if (mode != LineMode::Quiet && services_.chat->Sending())
      services_.chat->SendLyricLine(lyrics_.lines[change.index]);
  }
  FollowStrip(key);
}

void PlayerSession::ShowLines(const QString& current, const QString& next) {
  strip_ = StripLine{};
  shownProgress_ = LineProgress{};
  view_->ShowLyricLines(current, next);
}

void PlayerSession::FollowStrip(qint32 key) {
  if (strip_.index < 0 || strip_.index >= lyrics_.lines.size()) return;
  // The line ends with the next later line, the last one with the song (in keys: the shift
  // may have changed since the line became current).
  const qint32 time = lyrics_.lines[strip_.index].time;
  const auto later = std::upper_bound(lyrics_.lines.cbegin(), lyrics_.lines.cend(), time,
                                      [](qint32 t, const LyricLine& line) { return t < line.time; });
  strip_.endKey = later != lyrics_.lines.cend() ? qint64(later->time)
                                                : qint64(SongLength()) + syncOffset_;
  const LineProgress progress = ProgressAt(lyrics_, strip_, key);
  if (progress != shownProgress_) {
    shownProgress_ = progress;
    view_->ShowLineProgress(progress);
  }
  EchoWordsBegunBy(key);
}

// The words of the strip's line begun by `key` and not printed yet.
void PlayerSession::EchoWordsBegunBy(qint32 key) {
  if (!services_.echoWord || strip_.index < 0 || strip_.index >= lyrics_.lines.size()) return;
  const LyricLine& line = lyrics_.lines[strip_.index];
  if (line.words < 0 || line.words >= lyrics_.words.size()) return;
  const QList<LyricWord>& words = lyrics_.words[line.words];
  for (; nextEchoWord_ < words.size() && qint64(line.time) + words[nextEchoWord_].time <= key; ++nextEchoWord_) {
    const QString text = WordText(line.text, words, nextEchoWord_).trimmed().toString();
    if (!text.isEmpty()) services_.echoWord(text);
  }
}

void PlayerSession::ShowIdleText() {
  echoedLine_ = -1;  // a song started again prints its lines again
  const QString name = follow_ != nullptr ? followedName_ : TrimBlanks(FileNamePart(openName_));
  if (name.isEmpty()) {
    ShowLines(kIdleTitle, kCredit);
  } else if (lyricsPath_.isEmpty()) {
    ShowLines(name, QStringLiteral("歌词未找到"));
  } else if (lyricsLoaded_) {
    ShowLines(name, QStringLiteral("歌词:") + lyricsPath_);
  } else {
    ShowLines(name, QStringLiteral("歌词读取失败:") + lyricsPath_);
  }
}

void PlayerSession::RedrawAt(qint32 positionMs, LineMode mode) {
  ShowLine(positionMs + syncOffset_, mode);
  Track(positionMs);
  DrawProgress(positionMs);
}

void PlayerSession::SetBarWidth(int pixels) {
  barWidth_ = pixels;
  cursor_.ForceRedraw();
  const qint32 pos = Position();
  Track(pos);
  DrawProgress(pos);
  // A new layout shows what is known: the lyrics are looked up when a song opens or starts.
  if (SongOpen())
    ShowLine(pos + syncOffset_, LineMode::Quiet);
  else
    ShowIdleText();
  Replan();
}

// --- The user's shift ---

void PlayerSession::SetShift(qint32 shiftMs) {
  syncOffset_ = shiftMs;
  if (SongOpen())
    RedrawAt(Position(), LineMode::Send);
  else
    ShowIdleText();
  Replan();
}

void PlayerSession::HoldShiftKey(qint32 stepMs) {
  shiftKeyStep_ = stepMs;
  if (stepMs == 0) return;  // the repeat timer ends the stepping
  StepShiftByKey();
  shiftTimer_.start();
}

void PlayerSession::StepShiftByKey() {
  if (shiftKeyStep_ == 0) {
    shiftTimer_.stop();
    view_->EndShiftStep();
    return;
  }
  syncOffset_ = StepShift(syncOffset_, shiftKeyStep_);
  view_->ShowShiftStep(ShiftStepLabel(syncOffset_));
  if (SongOpen())
    RedrawAt(Position(), LineMode::Quiet);
  else
    ShowIdleText();
  Replan();
}

// --- Seeking and volume ---

void PlayerSession::SeekPress(int x) {
  // The followed player keeps playing while the bar is dragged and is told where on release.
  if (follow_ != nullptr) {
    seekDragging_ = SongOpen() && follow_->CanSeek();
    if (seekDragging_) SeekDrag(x);
    return;
  }
  MediaControl& media = *services_.media;
  seekDragging_ = true;
  resumeAfterSeek_ = media.IsPlaying();
  if (media.IsPlaying()) media.TogglePause();
  wakeTimer_.stop();
  const qint32 pos = media.SeekMedia(SeekTargetFor(x, barWidth_, media.MediaLength()));
  Track(pos);
  DrawProgress(pos);
  ShowLine(Position() + syncOffset_, LineMode::Quiet);
}

void PlayerSession::SeekDrag(int x) {
  if (!seekDragging_) return;
  const qint32 p = SeekTargetFor(x, barWidth_, SongLength());
  Track(p);
  DrawProgress(p);
  ShowLine(p + syncOffset_, LineMode::Quiet);
}

void PlayerSession::SeekRelease(int x) {
  if (follow_ != nullptr) {
    if (!seekDragging_) return;
    seekDragging_ = false;
    follow_->SetPosition(SeekTargetFor(x, barWidth_, SongLength()));
    return;
  }
  MediaControl& media = *services_.media;
  seekDragging_ = false;
  media.SeekMedia(SeekTargetFor(x, barWidth_, media.MediaLength()));
  const qint32 pos = Position();
  qint32 landedAt = pos;
  if (resumeAfterSeek_) {
    if (pos < media.MediaLength()) {
      media.PlayMedia();
      WakeSoon();
    } else if (playLoop_) {
      media.SeekMedia(0);
      media.PlayMedia();
      WakeSoon();
      landedAt = 0;
    }
  }
  Track(pos);
  DrawProgress(pos);
  if (media.IsOpen()) emit Seeked(landedAt);
  emit StateChanged();
}

void PlayerSession::SeekTo(qint32 positionMs) {
  MediaControl& media = *services_.media;
  if (follow_ != nullptr || !media.IsOpen()) return;
  const qint32 pos = media.SeekMedia(std::clamp(positionMs, 0, media.MediaLength()));
  RedrawAt(pos, LineMode::Quiet);
  // A song that played plays on from there (its end, if the seek went there, as any end).
  if (media.IsPlaying()) WakeSoon();
  emit Seeked(pos);
  emit StateChanged();
}

void PlayerSession::SetVolume(qint32 volume) {
  volume_ = volume;
  services_.media->SetVolume(volume_);
}

// --- The wake-up plan ---

// The earliest moment anything shown changes: the end of the song, the clock's next second,
// the bar's next pixel and the next line (the line moments are keys: position plus shift).
void PlayerSession::PlanWake(qint32 positionMs, bool stalled) {
  const qint32 length = SongLength();
  qint64 next = std::min(NextClockChange(positionMs), NextPixelChange(barWidth_, length, positionMs));
  qint64 told = kNever;  // the next moment printed on the terminal
  // (A followed song may be of unknown length, or stand at its end while its player goes on.)
  if (length > positionMs) next = std::min<qint64>(next, length);
  if (lyricsLoaded_ && !lyrics_.lines.isEmpty()) {
    const qint32 now = ClampToInt32(qint64(positionMs) + syncOffset_);
    qint64 key = NextLineChangeKey(lyrics_, now, bilingual_);
    if (services_.echo || services_.echoWord) told = key;
    // While a word is sung or a wide line scrolls: the next strip frame; with words told about,
    // each word's start too.
    key = std::min(key, NextProgressKey(lyrics_, strip_, now));
    if (services_.echoWord) {
      const qint64 word = NextWordStartKey(lyrics_, strip_, now);
      told = std::min(told, word);
      key = std::min(key, word);
    }
    if (key != kNever) next = std::min(next, key - syncOffset_);
    if (told != kNever) told -= syncOffset_;
  }
  // Anything else due just before a printed moment (a strip frame, the clock, a pixel of the
  // bar) waits for it and is drawn with it, a few milliseconds late: drawn first, its repaint
  // would hold up the print. Only a printed moment that is the next thing to happen is woken
  // for early.
  if (told != kNever && told - next <= kToldJoinMs) next = told;
  if (told != next) told = kNever;
  qint64 sleepMs = next - positionMs;
  // A followed player may play faster or slower: the media time to go becomes clock time,
  // rounded down so the moment is never missed.
  if (follow_ != nullptr && follow_->Rate() > 0) sleepMs = qint64(double(sleepMs) / follow_->Rate());
  if (told != kNever && sleepMs > kToldEarlyMs) sleepMs -= kToldEarlyMs;
  sleepMs = std::clamp<qint64>(sleepMs, 1, kLongestSleepMs);
  // An output that does not move (still starting, or stuck) is looked at no more often than this.
  if (stalled) sleepMs = std::max<qint64>(sleepMs, kStalledWakeMs);
  Arm(int(sleepMs), stalled ? kNever : told);
}

void PlayerSession::WaitForTold() {
  if (toldAt_ == kNever) return;
  // At most a millisecond or two to go. A zero-time timer would hand the wait to the event
  // loop, but there timers that follow zero-time ones may wait for other events, tens of
  // milliseconds; a short sleep in place keeps every timer on time.
  const QDeadlineTimer end(kToldLookMs, Qt::PreciseTimer);
  while (!end.hasExpired() && SongPlaying() && Position() < toldAt_) QThread::usleep(kToldPollUs);
  toldAt_ = kNever;
}

void PlayerSession::WakeSoon() {
  lastWakePosition_ = -1;
  Arm(0);
}

void PlayerSession::Arm(int sleepMs, qint64 toldAt) {
  toldAt_ = toldAt;
  wakeTimer_.start(sleepMs);
  ++plansMade_;
}

void PlayerSession::Replan() {
  if (!SongPlaying()) return;
  lastWakePosition_ = -1;
  PlanWake(Position(), false);
}

}  // namespace lyrova
