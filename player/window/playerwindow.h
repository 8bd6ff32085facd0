#pragma once

#include "lyrics/lyricsdocument.h"
#include "player/core/linecursor.h"
#include "player/core/playerhooks.h"
#include "player/core/playersettings.h"
#include "player/lookup/lyricswatch.h"
#include "player/window/playerbutton.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QUrl;

namespace lyrova {

class MediaControl;
class ChatHooks;
class CompanionHooks;
class Prompts;
class ProgressBar;
class SettingsStore;
class StatusLabel;
class ToolButton;
class VolumeBar;

// What the Player window works with. Every pointer must outlive the window.
struct PlayerServices {
  const SettingsStore* settings = nullptr;
  MediaControl* media = nullptr;
  Prompts* prompts = nullptr;
  CompanionHooks* companions = nullptr;
  ChatHooks* chat = nullptr;
  QString programFolder;  // the Player's own folder: default open folder
  QString dataFolder;     // holds the list files and the built-in "Lrc" folder
  bool layeredAvailable = false;
  // Opens the help file with the desktop's viewer.
  std::function<bool(const QUrl&)> openUrl;
  // When set, called with the text of every line the moment it becomes current.
  std::function<void(const QString&)> echo;
  // Close the window when a song ends and does not loop. A song that cannot be opened then ends
  // the program at once instead: `songFailed` is told why, and the window is not shown (or closes).
  bool quitAtEnd = false;
  std::function<void(const QString& reason)> songFailed;
};

// The Player's main window and the holder of all Player state: the song, its lyrics, the line
// cursor, the lyric shift and the settings read at start. The pure calculations live in
// player/core; this class wires them to the widgets, the timers and the media device.
class PlayerWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kButtonCount = kPlayerButtonCount;
  static constexpr int kTwipsPerPixel = 15;
  static constexpr int kMinWidthTwips = 5685;
  static constexpr int kMinWidthPixels = (kMinWidthTwips + kTwipsPerPixel - 1) / kTwipsPerPixel;
  static constexpr int kDesignWidthTwips = 7500;
  static constexpr int kInitialChatPanelHeight = 32;

  PlayerWindow(const PlayerServices& services, QWidget* parent = nullptr);
  ~PlayerWindow() override;

  // Runs the start-up steps that follow the window's creation: the command line (`arguments`
  // joined by blanks is one file path, optionally quoted) and the first showing. `unreadable`
  // holds the arguments whose bytes did not decode to a name (see CommandLine): the path is then
  // refused with a message instead of opening another file.
  void Start(const QStringList& arguments, const QStringList& unreadable = {});

  // Commands, as the toolbar, menus, keys and drops trigger them.
  void RunButton(PlayerButton button);
  void OpenFromDialog();
  void OpenDroppedFile(const QString& path);
  // A drop from a file manager: the first file it carries, when that file exists.
  bool OpenDrop(const QMimeData& dropped);
  void Play();
  // Loads the lyrics file again; when none was found, or it has gone, the lookup runs again.
  void ReloadLyrics();
  void LinkLyrics();
  void SetShiftFromMenu(qint32 shiftMs);
  void StepShiftByKey();
  void Tick();
  void SeekPress(int x);
  void SeekDrag(int x);
  void SeekRelease(int x);
  void SetVolumeAt(int x);
  void ToggleChatStrip();
  void ChooseFont(const QString& face);
  void ChooseFontSize(int size);
  void ChooseTransparency(int step);
  void SelectSendType(SendMethod method);
  void ShowHelp();
  void ShowAbout();
  void AddFileManagerEntry();
  void RemoveFileManagerEntry();
  // Shows a note in the status area until playback redraws it.
  void ShowStatusNote(const QString& text);

  // State, for the window's own parts and for tests.
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
  SendMethod SendType() const { return sendType_; }
  qint32 Transparency() const { return transparency_; }
  bool Topmost() const { return topmost_; }
  bool PlayLoop() const { return settings_.playLoop; }
  int ChatPanelHeight() const { return chatPanelHeight_; }
  int LastChatPanelHeight() const { return lastChatPanelHeight_; }
  QString CurrentLineText() const;
  QString NextLineText() const;
  QString StatusText() const;
  QString HintText() const;
  bool HintShown() const;
  bool VolumeBarShown() const;
  QTimer& PlaybackTimer() { return timer1_; }
  QTimer& ShiftTimer() { return timer2_; }
  ProgressBar* ProgressBarWidget() const { return locPut_; }
  ToolButton* Button(PlayerButton button) const { return controlButt_.value(ButtonIndex(button)); }
  // The status area's clock and notes (`Label1`) and its hints (`Label2`).
  StatusLabel* Label1() const { return label1_; }
  StatusLabel* Label2() const { return label2_; }
  QLineEdit* ChatInput() const { return text1_; }

  // The pop-up menus and their item arrays, named as the designs name them.
  QMenu* ChatoraSel() const { return chatoraSel_; }
  QMenu* LrcAdvance() const { return lrcAdvance_; }
  QMenu* SetMenu() const { return setMenu_; }
  QMenu* HelpMenu() const { return helpMm_; }
  QAction* LA1() const { return la1_; }
  QMenu* LA2() const { return la2_; }
  QMenu* LA3() const { return la3_; }
  const QList<QAction*>& LA2x() const { return la2x_; }
  const QList<QAction*>& LA3x() const { return la3x_; }
  // One item per SendMethod, at the method's number.
  const QList<QAction*>& SendTypeSel() const { return sendTypeSel_; }
  const QList<QAction*>& LFx() const { return lfx_; }
  const QList<QAction*>& LSx() const { return lsx_; }
  const QList<QAction*>& Alphas() const { return mAlphas_; }
  QMenu* AlphaMenu() const { return mAlpha_; }
  QMenu* FontMenu() const { return lFont_; }
  QMenu* FontSizeMenu() const { return lSize_; }
  QMenu* SendTypeMenu() const { return sendTypeM_; }
  QAction* Toggle(const QString& objectName) const;

  // Pop-up menus are shown through this, so tests can look at a menu instead of running it.
  std::function<void(QMenu*, const QPoint&)> popUp;

  // Builds the font menu the first time and sets its caption to the face the lyric lines are
  // drawn in: the font system's fallback when the stored face is not installed.
  void SetFontCaption();
  void SetOffsetMenus(qint32 shiftMs);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class LineMode { Send, Quiet };

  void BuildControls();
  void BuildMenus();
  // The parts of the settings menu, top to bottom.
  QAction* AddToggle(const QString& objectName, const QString& caption);
  void AddLyricsFileItems();
  void AddPlaybackToggles();
  void AddSendingItems();
  void AddLookItems();
  void AddEditItems();
  void AddFileManagerItems();
  void BuildShiftMenus();
  void LoadSettings();
  int FitStoredWidth();
  void Shutdown();

  // Playback and sync.
  bool LoadLyrics();
  // Lyrics the watch found while the song is open: loaded and shown, without a stop.
  void PickUpLyrics(const QString& path);
  void ShowReloadedLyrics(LineMode mode);
  qint32 Position();
  qint32 TrackLine(qint32 positionMs);
  void DrawProgress(qint32 positionMs, qint32 nextMs);
  void ShowLine(qint32 key, LineMode mode);
  void OpenSong(const QString& path);
  void FailSong(const QString& reason);
  void AfterSongChosen();
  PlaybackFacts Facts() const;
  void StopPlayback();
  void HandleSongEnd();
  // The Editor plays the song it edits: the Player pauses that song rather than play along, or,
  // when the Editor was started while the song was being opened, does not start it.
  void PauseForEditor(const QString& song);
  // Starts a song just opened when the user wants that and the Editor has not taken it.
  void PlayIfAutomatic();
  void TimeNextLine(qint32 positionMs);
  void ApplyVolume();

  // Look.
  void LayOut();
  void ShowIdleText();
  void CenterLyricLines();
  void ShowStatusLabel();
  void ShowHint(const QString& text);
  void ApplyTopmost(bool on);
  void ApplyAlpha(int step);
  void ResizeHeightBy(int pixels);
  void ApplyLyricFontSize(double points);
  void ApplyToggle(QAction* action, bool& field, const QString& key);
  // Chat sending: the menu choices it needs, and the chat strip's Enter and text drops.
  void ForwardChatOptions();
  bool ChatStripEvent(QEvent* event);

  // Toolbar look.
  void OnButtonEntered(int index);
  void OnButtonLeft(int index);
  void OnButtonPressed(int index);
  void OnButtonReleased(int index, bool inside);
  void PopUp(QMenu* menu, PlayerButton under);

  // Volume bar hover.
  void ShowVolumeBar(bool show);

  PlayerServices services_;
  PlayerSettings settings_;
  LyricsDocument lyrics_;
  LineCursor cursor_;

  QString openDir_;
  QString openName_;
  QString lyricsPath_;
  bool lyricsLoaded_ = false;
  bool lyricsBusy_ = false;
  qint32 syncOffset_ = 0;
  qint32 offsetStep_ = 0;
  qint32 volume_ = 750;
  SendMethod sendType_ = SendMethod::Paste;
  qint32 transparency_ = 0;
  bool topmost_ = false;
  bool seekDragging_ = false;
  bool resumeAfterSeek_ = false;
  int chatPanelHeight_ = 0;
  int lastChatPanelHeight_ = 0;
  bool editorHasSong_ = false;  // the Editor was started on the song being opened
  int barWidth_ = 0;
  int barHeight_ = 0;
  bool closing_ = false;
  bool songFailed_ = false;
  bool fontListBuilt_ = false;
  bool layingOut_ = false;
  QStringList buttonHints_;
  bool windowDragging_ = false;
  QPoint dragOffset_;

  // Controls, named as the designs name them.
  QWidget* showWin_ = nullptr;
  QWidget* lrcOut_ = nullptr;
  QList<QLabel*> lrc_;
  QWidget* panel_ = nullptr;
  QList<ToolButton*> controlButt_;
  ProgressBar* locPut_ = nullptr;
  StatusLabel* label1_ = nullptr;
  StatusLabel* label2_ = nullptr;
  QWidget* shape1_ = nullptr;
  VolumeBar* vol_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QTimer timer1_;
  QTimer lineTimer_;  // one extra tick at the moment the next line starts
  QTimer timer2_;
  LyricsWatch watch_;

  QMenu* chatoraSel_ = nullptr;
  QList<QAction*> sendSel_;
  QMenu* lrcAdvance_ = nullptr;
  QAction* la1_ = nullptr;
  QMenu* la2_ = nullptr;
  QMenu* la3_ = nullptr;
  QList<QAction*> la2x_;
  QList<QAction*> la3x_;
  QMenu* setMenu_ = nullptr;
  QMenu* sendTypeM_ = nullptr;
  QList<QAction*> sendTypeSel_;
  QMenu* lFont_ = nullptr;
  QList<QAction*> lfx_;
  QMenu* lSize_ = nullptr;
  QList<QAction*> lsx_;
  QMenu* mAlpha_ = nullptr;
  QList<QAction*> mAlphas_;
  QMenu* helpMm_ = nullptr;
};

}  // namespace lyrova
