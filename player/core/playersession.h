#pragma once

#include "lyrics/lyricsdocument.h"
#include "player/core/followsource.h"
#include "player/core/linecursor.h"
#include "player/core/linestrip.h"
#include "player/core/playerhooks.h"
#include "player/core/progressgeometry.h"
#include "player/core/wakeplan.h"
#include "player/lookup/lyricswatch.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

namespace lyrova {

class LookupIndex;
class MediaControl;
class Prompts;
struct PlayerSettings;

// What the session tells the window to show. Every call comes after the session's state is
// complete. The defaults do nothing, so tests can run a session without any window.
class PlayerView {
 public:
  virtual ~PlayerView() = default;
  // The two lyric lines: the current and the next line (or the other lines of the current
  // group), or the idle texts. Texts are whole; cutting them to the labels is the view's
  // business. A new current line starts unsung and unscrolled.
  virtual void ShowLyricLines(const QString& /*current*/, const QString& /*next*/) {}
  // Whether the current line just shown is wider than its label (it then scrolls).
  virtual bool CurrentLineTooWide() const { return false; }
  // How far the current line is sung and scrolled; told only when it changes, at most once a
  // strip frame, and only for lines with word timing or too wide for their label.
  virtual void ShowLineProgress(const LineProgress& /*progress*/) {}
  // The progress bar's picture and the clock beside it ("mm:ss/mm:ss", or the stopped text when
  // `clock` is false).
  virtual void ShowProgress(const ProgressPicture& /*picture*/, const QString& /*status*/,
                            bool /*clock*/) {}
  virtual void ShowSendState(bool /*on*/) {}
  // A held arrow key steps the shift: the hint to show, and its end.
  virtual void ShowShiftStep(const QString& /*hint*/) {}
  virtual void EndShiftStep() {}
  // The program is to end (a song that ended with quit-at-end, or one that could not open).
  // A view that was never shown has nothing to close.
  virtual void RequestClose() {}
  virtual QWidget* DialogOwner() { return nullptr; }
};

// Everything a session works with. Every pointer must outlive the session.
struct PlayerSessionServices {
  MediaControl* media = nullptr;
  Prompts* prompts = nullptr;
  CompanionHooks* companions = nullptr;  // null: none
  ChatHooks* chat = nullptr;             // null: no chat sending
  QString dataFolder;                    // holds the list files and the built-in "Lrc" folder
  const LookupIndex* lookupIndex = nullptr;  // the program's index of the list files, if any
  // When set, called with the text of every line the moment it becomes current.
  // With a group of lines of one time, every line of the group in file order.
  std::function<void(const QString&)> echo;
  // When set, called with the text of every word of a word-timed line the moment its singing
  // begins (the plan then wakes at every word's start).
  std::function<void(const QString&)> echoWord;
  // End when a song ends and does not loop; a song that cannot be opened then ends the program
  // at once instead, and `songFailed` is told why.
  bool quitAtEnd = false;
  std::function<void(const QString& reason)> songFailed;
};

// The Player without its window: the song and its lyrics, the line cursor, the user's shift,
// the media device, loop and auto-play, chat sending of each new line and the companions that
// work on the song. The window forwards its commands here and shows what PlayerView is told.
//
// Playback is driven by one single-shot timer: after every redraw the session works out when
// anything shown next changes (the next line, the clock's next second, the progress bar's next
// pixel at the width SetBarWidth gave, the end of the song) and sleeps until then. Every
// command that moves or changes playback redraws and plans again at once. Runs on the
// user-interface thread only.
class PlayerSession : public QObject {
  Q_OBJECT

 public:
  // A wake-up that finds the position where the last one left it (a stalled output) waits at
  // least this long before it looks again.
  static constexpr int kStalledWakeMs = 10;
  // A moment printed with --echo or --echo-words is woken for this much early, and the
  // position looked at every kToldPollUs until it gets there, so the print keeps to the
  // millisecond that the timer's and the position's roundings would otherwise each add.
  static constexpr int kToldEarlyMs = 1;
  static constexpr unsigned long kToldPollUs = 200;
  // How long such a wait goes on at most when the position does not get there (a stalled
  // output): then the wake-up happens as planned without it.
  static constexpr int kToldLookMs = 3;
  // Other changes due this little before a printed moment are drawn at that moment instead,
  // after the print (a repaint takes a millisecond or two).
  static constexpr int kToldJoinMs = 4;
  // The repeat of a held arrow key after its first step.
  static constexpr int kShiftRepeatMs = 350;

  explicit PlayerSession(const PlayerSessionServices& services, PlayerView* view = nullptr);
  ~PlayerSession() override;

  void SetView(PlayerView* view) { view_ = view != nullptr ? view : &noView_; }

  // The stored song, its folder, the volume and the playback switches.
  void UseSettings(const PlayerSettings& settings);
  void SetPlayLoop(bool on) { playLoop_ = on; }
  void SetAutoPlay(bool on) { autoPlay_ = on; }
  void SetOfferLinkDialog(bool on) { offerLinkDialog_ = on; }
  // Lines of one time are current together (an original and its translations, the others shown
  // in the next line's place); off: the first of them at the time, the last after it.
  void SetBilingual(bool on);

  // The song named on the command line (`arguments` joined by blanks is one path, optionally
  // quoted); `unreadable` holds the arguments whose bytes did not decode (see CommandLine): the
  // path is then refused with a message. Starts the song when auto-play is on.
  void OpenAtStart(const QStringList& arguments, const QStringList& unreadable);
  // A song the open dialog chose, and its folder.
  void OpenChosen(const QString& folder, const QString& path);
  // A song dropped on the window; nothing happens when it does not exist.
  void OpenDropped(const QString& path);

  void Play();
  void TogglePause();
  void Stop();
  // Loads the lyrics file again; when none was found, or it has gone, the lookup runs again.
  void ReloadLyrics();
  void LinkLyrics();
  void EditLyrics(bool withEditor);
  void ToggleSending();

  void SetShift(qint32 shiftMs);
  // An arrow key went down (`stepMs` +-500) or up (0): the first step is taken at once, the
  // repeat timer steps on until the key is up.
  void HoldShiftKey(qint32 stepMs);
  void StepShiftByKey();

  // The progress bar's width in pixels: what seeking scales by and what the bar shows. A change
  // redraws everything at once, as after a new layout.
  void SetBarWidth(int pixels);
  void SeekPress(int x);
  void SeekDrag(int x);
  void SeekRelease(int x);
  void SetVolume(qint32 volume);
  // A seek to a moment of the own song from outside the window (the desktop's media controls):
  // clamped to the song, playing on when it played. Nothing happens while no song of its own
  // is open (in follow mode too).
  void SeekTo(qint32 positionMs);

  // Follow mode: the lyrics of what `source` plays instead of a song of its own (null: back to
  // its own songs). The own song is closed on the way in and stays chosen, not playing, on the
  // way out. Playback, seeking and the progress bar then act on `source`, which must outlive
  // the session or be handed back with Follow(nullptr) first.
  void Follow(FollowSource* source);
  bool Following() const { return follow_ != nullptr; }
  // The song as the lookup, the link dialog and the Editor know it: the own song, or in follow
  // mode the followed track's file or track name; "" for none.
  QString SongKey() const { return follow_ != nullptr ? followedSong_ : openName_; }

  // One playback step: what the position shows now, and the next wake-up.
  void Wake();
  void Shutdown();

  // The song being shown: the own media device's, or in follow mode the followed player's.
  bool SongOpen() const;
  bool SongPlaying() const;
  qint32 SongLength() const;
  // Where the song being shown stands now, in milliseconds.
  qint32 Position();

  const LyricsDocument& Lyrics() const { return lyrics_; }
  const LineCursor& Cursor() const { return cursor_; }
  QString OpenName() const { return openName_; }
  QString OpenDir() const { return openDir_; }
  QString LyricsPath() const { return lyricsPath_; }
  bool LyricsLoaded() const { return lyricsLoaded_; }
  // With quitAtEnd: the song could not be opened and the program is to end.
  bool SongFailed() const { return songFailed_; }
  qint32 SyncOffset() const { return syncOffset_; }
  qint32 Volume() const { return volume_; }
  bool PlayLoop() const { return playLoop_; }
  bool AutoPlay() const { return autoPlay_; }
  bool OfferLinkDialog() const { return offerLinkDialog_; }
  bool Bilingual() const { return bilingual_; }
  // The playback timer: active while a song plays; its interval is the planned sleep.
  const QTimer& PlaybackTimer() const { return wakeTimer_; }
  const QTimer& ShiftTimer() const { return shiftTimer_; }
  // How often the playback timer was armed: a caller that runs Wake itself (a test over a fake
  // clock) tells a new plan from the one it already follows.
  qint64 PlansMade() const { return plansMade_; }
  // How many lookups of the song's lyrics the session ran: one when a song opens (two with the
  // link dialog between them), one when it starts again after a stop, one for a reload or link.
  qint64 LookupsMade() const { return lookupsMade_; }

 signals:
  // Something the desktop may show changed, or may have: the song chosen or opened, playing or
  // paused, its lyrics, follow mode on or off. Told at the end of every command, so sometimes
  // without a change (a listener compares with what it last saw), and by a wake-up only when
  // the song stopped playing or closed in it.
  void StateChanged();
  // The own song's position jumped: a seek from the bar or SeekTo, or a loop back to the start.
  void Seeked(qint32 positionMs);

 private:
  // Send: a new line goes to the chat; Played: so too, and the position got there by playing
  // on, so every word of a new line already due is printed (a seek prints the begun word only).
  enum class LineMode { Send, Played, Quiet };
  void WakeAs(LineMode mode);
  void WakeAndPlan(LineMode mode);

  PlaybackFacts Facts() const;
  QString SongLengthText() const;
  // Follow mode: the followed track changed (or was looked at the first time), and its
  // playback changed.
  void TakeFollowedTrack();
  void FollowedPlaybackChanged();
  QString FindFollowedLyrics() const;
  bool LoadLyrics();
  QString FindSongLyrics() const;
  void FindLyrics(bool offerLinkDialog);
  void PickUpLyrics(const QString& path);
  void ShowReloadedLyrics(LineMode mode);
  void AfterSongChosen();
  enum class Lookup { Done, Again };
  void StartSong(Lookup lookup);
  void FailSong(const QString& reason);
  void PlayIfAutomatic();
  void PauseForEditor(const QString& song);
  void HandleSongEnd();
  void StopSendingAtEnd();

  // Drawing one position: the cursor, the bar and clock, and the lines.
  void Track(qint32 positionMs);
  void DrawProgress(qint32 positionMs);
  void ShowLine(qint32 key, LineMode mode);
  void ShowLines(const QString& current, const QString& next);
  // The sung part and the scroll of the current line at `key`, and the words begun by then.
  void FollowStrip(qint32 key);
  void EchoWordsBegunBy(qint32 key);
  void ShowIdleText();
  // Draws the position as it stands now (after a shift, a seek or a new layout).
  void RedrawAt(qint32 positionMs, LineMode mode);

  // The wake-up plan.
  void PlanWake(qint32 positionMs, bool stalled);
  void WakeSoon();
  // Starts the playback timer: every plan goes through here, so PlansMade counts them all.
  // `toldAt`: the printed moment the wake-up comes early for, or kNever.
  void Arm(int sleepMs, qint64 toldAt = kNever);
  // A timer wake-up that came early for a printed moment waits here until the position gets
  // there (a caller that runs Wake itself gets the wake-up without it).
  void WaitForTold();
  void Replan();

  PlayerSessionServices services_;
  PlayerView noView_;
  PlayerView* view_ = &noView_;
  LyricsDocument lyrics_;
  LineCursor cursor_;
  LyricsWatch watch_;
  QTimer wakeTimer_;
  QTimer shiftTimer_;

  QString openDir_;
  QString openName_;
  QString lyricsPath_;
  bool lyricsLoaded_ = false;
  bool lyricsBusy_ = false;
  bool songFailed_ = false;
  bool editorHasSong_ = false;  // the Editor was started on the song being opened
  bool playLoop_ = false;
  bool autoPlay_ = true;
  bool offerLinkDialog_ = true;
  bool bilingual_ = true;
  StripLine strip_;              // the current line as the strip follows it; index -1: none
  LineProgress shownProgress_;   // what the view was last told of it
  qint32 nextEchoWord_ = 0;      // the first word of the current line not yet echoed
  qint32 echoedLine_ = -1;       // the line printed last, of the lyrics loaded last
  qint32 syncOffset_ = 0;
  qint32 shiftKeyStep_ = 0;
  qint32 volume_ = 750;
  int barWidth_ = 0;
  bool seekDragging_ = false;
  bool resumeAfterSeek_ = false;
  qint32 lastWakePosition_ = -1;  // the position the last timer wake-up drew
  qint64 toldAt_ = kNever;        // the printed moment the timer comes early for
  qint64 plansMade_ = 0;
  mutable qint64 lookupsMade_ = 0;

  FollowSource* follow_ = nullptr;
  FollowedTrack followedTrack_;
  QString followedSong_;  // its file, or its track name
  QString followedName_;  // what the idle text names it by
};

}  // namespace lyrova
