#pragma once

#include "player/core/playerhooks.h"
#include "player/core/playersession.h"
#include "player/core/playersettings.h"
#include "player/window/playerbutton.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QUrl;

namespace lyrova {

class LookupIndex;
class MediaControl;
class ChatHooks;
class CompanionHooks;
class Prompts;
class ProgressBar;
class SettingsStore;
class LyricLabel;
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
  const LookupIndex* lookupIndex = nullptr;  // the program's index of the list files, if any
  bool layeredAvailable = false;
  // Opens the help file with the desktop's viewer.
  std::function<bool(const QUrl&)> openUrl;
  // When set, called with the text of every line the moment it becomes current (every line of
  // a group of one time), and with every word of a word-timed line as its singing begins.
  std::function<void(const QString&)> echo;
  std::function<void(const QString&)> echoWord;
  // Close the window when a song ends and does not loop. A song that cannot be opened then ends
  // the program at once instead: `songFailed` is told why, and the window is not shown (or closes).
  bool quitAtEnd = false;
  std::function<void(const QString& reason)> songFailed;
  // Makes what follow mode follows (another player on the session bus); empty: the program has
  // no follow mode. `followAtStart` starts in follow mode whatever the settings say.
  std::function<std::unique_ptr<FollowSource>()> makeFollowSource;
  bool followAtStart = false;
};

// The Player's main window: the layout, the menus, the look and the events. The song, its
// lyrics and playback live in the PlayerSession it holds; the window forwards its commands
// there and shows what the session tells it (PlayerView).
class PlayerWindow : public QWidget, private PlayerView {
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
  void OpenDroppedFile(const QString& path) { session_.OpenDropped(path); }
  // A drop from a file manager: the first file it carries, when that file exists.
  bool OpenDrop(const QMimeData& dropped);
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
  // Follow mode on or off, as its menu entry switches it (the entry and the setting follow).
  void SetFollowing(bool on);
  FollowSource* Follower() const { return follower_.get(); }
  QMenu* FollowPlayerMenu() const { return followPlayers_; }
  // Shows a note in the status area until playback redraws it.
  void ShowStatusNote(const QString& text);

  // The song, its lyrics and playback.
  PlayerSession& Session() { return session_; }
  const PlayerSession& Session() const { return session_; }

  // What the window shows, for its own parts and for tests.
  SendMethod SendType() const { return sendType_; }
  qint32 Transparency() const { return transparency_; }
  bool Topmost() const { return topmost_; }
  int ChatPanelHeight() const { return chatPanelHeight_; }
  int LastChatPanelHeight() const { return lastChatPanelHeight_; }
  QString CurrentLineText() const;
  QString NextLineText() const;
  QString StatusText() const;
  QString HintText() const;
  bool HintShown() const;
  bool VolumeBarShown() const;
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
  QMenu* LyricColorMenu() const { return lyricColors_; }
  // The current line's label (sung part, scroll) and the next line's, for their own parts and tests.
  LyricLabel* CurrentLineLabel() const { return currentLine_; }
  const QLabel* NextLineLabel() const { return lrc_[1]; }
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
  // PlayerView.
  void ShowLyricLines(const QString& current, const QString& next) override;
  bool CurrentLineTooWide() const override;
  void ShowLineProgress(const LineProgress& progress) override;
  void ShowProgress(const ProgressPicture& picture, const QString& status, bool clock) override;
  void ShowSendState(bool on) override;
  void ShowShiftStep(const QString& hint) override;
  void EndShiftStep() override;
  void RequestClose() override;
  QWidget* DialogOwner() override { return this; }

  void BuildControls();
  void BuildMenus();
  // The parts of the settings menu, top to bottom.
  QAction* AddToggle(const QString& objectName, const QString& caption);
  void AddLyricsFileItems();
  void AddPlaybackToggles();
  void AddFollowItems();
  void FillFollowPlayerMenu();
  // Play, pause and the progress bar as the followed player allows them.
  void UpdateFollowControls();
  void AddSendingItems();
  void AddLookItems();
  void AddEditItems();
  void AddFileManagerItems();
  void BuildShiftMenus();
  void LoadSettings();
  int FitStoredWidth();
  void Shutdown();
  void ApplyVolume();

  // Look.
  void LayOut();
  void CenterLyricLines();
  void ShowHint(const QString& text);
  void ApplyTopmost(bool on);
  void ApplyAlpha(int step);
  void ResizeHeightBy(int pixels);
  void ApplyLyricFontSize(double points);
  // The lyric strip's colours: scheme `index` of LyricColorSchemes, checked in its menu.
  void ApplyLyricColors(int index);
  // Stores a settings-menu switch; returns its new state.
  bool StoreToggle(QAction* action, const QString& key);
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
  // Before the session, so the session goes first and never outlives what it follows.
  std::unique_ptr<FollowSource> follower_;
  bool followProblemShown_ = false;
  PlayerSession session_;

  SendMethod sendType_ = SendMethod::Paste;
  qint32 transparency_ = 0;
  bool topmost_ = false;
  int chatPanelHeight_ = 0;
  int lastChatPanelHeight_ = 0;
  bool closing_ = false;
  bool fontListBuilt_ = false;
  bool layingOut_ = false;
  QStringList buttonHints_;
  bool windowDragging_ = false;
  QPoint dragOffset_;

  // Controls, named as the designs name them.
  QWidget* showWin_ = nullptr;
  QWidget* lrcOut_ = nullptr;
  QList<QLabel*> lrc_;
  LyricLabel* currentLine_ = nullptr;  // lrc_[0]
  QWidget* panel_ = nullptr;
  QList<ToolButton*> controlButt_;
  ProgressBar* locPut_ = nullptr;
  StatusLabel* label1_ = nullptr;
  StatusLabel* label2_ = nullptr;
  QWidget* shape1_ = nullptr;
  VolumeBar* vol_ = nullptr;
  QLineEdit* text1_ = nullptr;

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
  QMenu* lyricColors_ = nullptr;
  QList<QAction*> lyricColorItems_;
  QMenu* helpMm_ = nullptr;
  QMenu* followPlayers_ = nullptr;
};

}  // namespace lyrova
