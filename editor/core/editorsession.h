#pragma once

#include "editor/core/editordialogs.h"
#include "lyrics/lyricsdocument.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <optional>

class QWidget;

namespace lyrova {

class MediaControl;
class Prompts;
class SettingsStore;

// Tag times the Editor keeps: one millisecond short of 100 minutes either way.
inline constexpr qint32 kMaxTagMs = 5999999;
inline constexpr qint32 kMinTagMs = -5999999;

// The answer to the three-button save-changes question.
enum class SaveAnswer { Yes, No, Cancel };

// What became of unsaved changes once the user was asked about them. The first three let the
// caller go on with what it was about to do; the last two keep the document where it is.
enum class SaveOutcome { NothingToSave, Saved, NotSaved, Cancelled, SaveFailed };

constexpr bool MayProceed(SaveOutcome outcome) { return outcome < SaveOutcome::Cancelled; }

// The one Yes/No/Cancel question of the Editor, which the shared Prompts cannot ask.
class SaveQuestion {
 public:
  virtual ~SaveQuestion() = default;
  // Yes/No (and Cancel when `allowCancel`), no icon. Without Cancel the answer is Yes or No.
  virtual SaveAnswer Ask(QWidget* owner, const QString& text, bool allowCancel) = 0;
};

// What the session tells the window after it changed something the window shows. Every
// notification comes after the state is complete; the window reads what it needs back from the
// session. The defaults do nothing, so tests can run a session without any window.
class EditorView {
 public:
  virtual ~EditorView() = default;
  virtual void LinesReset() {}           // the row count or many rows changed
  virtual void LineChanged(int /*row*/) {}
  virtual void SelectionChanged() {}     // Selection() changed (the boxes may not have)
  virtual void EditBoxesChanged() {}     // TimeBoxText() / TextBoxText() were set by the program
  virtual void SelectTextBoxContents() {}
  virtual void FocusChanged() {}         // Focus() was moved by the program
  virtual void InfoChanged() {}
  virtual void TitleChanged() {}
  virtual void PositionChanged() {}
  virtual void FollowChanged() {}
  virtual void TextModeChanged() {}
  // The text being edited in text mode; nullopt when the view holds none (the snapshot stands).
  virtual std::optional<QString> TextModeText() { return std::nullopt; }
  virtual void CloseRequested() {}
  virtual QWidget* DialogOwner() { return nullptr; }
};

// Everything a session works with. Every pointer must outlive the session.
struct EditorServices {
  const SettingsStore* settings = nullptr;
  MediaControl* media = nullptr;
  Prompts* prompts = nullptr;
  SaveQuestion* saveQuestion = nullptr;
  EditorDialogs* dialogs = nullptr;
  QString programFolder;  // default folder of the open and save dialogs
};

// The Editor's state and every command of its main window, without widgets: the document and
// its files, the line list's selection, the two edit boxes, the info boxes, follow playback,
// playback polling, the progress bar and text mode. The window forwards user events here and
// redraws on the EditorView notifications. Runs on the user-interface thread only.
class EditorSession : public QObject {
  Q_OBJECT

 public:
  enum class Box { None, Time, Text };

  explicit EditorSession(const EditorServices& services, QObject* parent = nullptr);
  ~EditorSession() override;

  void SetView(EditorView* view) { view_ = view ? view : &noView_; }

  // Settings and the command line (the program's arguments joined by blanks). `unreadable` holds
  // the arguments whose bytes did not decode to a name (see CommandLine): the path is then
  // refused with a message instead of opening another file.
  void Start(const QStringList& arguments, const QStringList& unreadable = {});
  // The close request: false when the user cancelled the save-changes prompt.
  bool CanClose();
  // Closes the device, writes the settings, removes a left-over temporary file. Once only.
  void Shutdown();

  // One command of the tool bar (0..26) or kCmdNewDocument; any other index, and a command that
  // is not available now, does nothing.
  void RunCommand(int index);
  // In text mode the text box holds the document, so only the commands that leave the lines
  // alone run: open audio, the layout choice, playback, and save and save as, which take the
  // edited text first. Every command is available in tag mode.
  bool CommandAvailable(int index) const;
  // SaveFailed also stands for a save whose file dialog was cancelled.
  SaveOutcome AskSaveChanges(bool allowCancel);
  // A file dropped on the window (the first existing file of the drop).
  void OpenDroppedFile(const QString& path);
  bool LoadLyricsFile(const QString& path);

  // Text mode: entering is command 6; the return hands over the edited text.
  void ReturnFromTextMode(const QString& editedText);
  // The return from text mode with the view's edited text, as before closing or saving. False
  // while text mode still holds (the text could not be taken; the user was told).
  bool TakeTextModeEdits();
  // Text mode was entered again after a save from text mode, on the text just saved.
  bool TextModeResumed() const { return textModeResumed_; }

  // Events of the line list, the edit boxes and the info boxes (user actions only).
  void ClickRow(int row);
  void DoubleClickRow(int row);
  void SetFocus(Box box);
  void TimeBoxEnter();
  void TextBoxEnter();
  void TimeBoxEdited(const QString& text);
  void TextBoxEdited(const QString& text);
  void InfoEdited(int index, const QString& text);
  void SetFollow(bool on);

  // Playback polling and the progress bar (x within 0..width of the bar).
  void Tick();
  void SeekPress(int x, int width);
  void SeekMove(int x, int width);
  void SeekRelease(int x, int width);

  // The row of the line list and its hover tooltip; a long line's text is cut (DisplayText).
  QString RowText(int row) const;
  QString RowTooltip(int row) const;
  int LineAtPosition(qint32 positionMs) const;
  QString Title() const;

  const LyricsDocument& Document() const { return doc_; }
  const QString& AudioPath() const { return audioPath_; }
  const QString& LyricsPath() const { return lyricsPath_; }
  bool Changed() const { return changed_; }
  bool CompressedLayout() const { return compressed_; }
  int ChooserChoice() const { return chooserChoice_; }
  const QString& Mp3OpenDir() const { return mp3OpenDir_; }
  const QString& LrcOpenDir() const { return lrcOpenDir_; }
  bool LastLoadOk() const { return lastLoadOk_; }
  int Selection() const { return selection_; }
  int EditLine() const { return editLine_; }
  Box Focus() const { return focus_; }
  const QString& TimeBoxText() const { return timeBox_; }
  const QString& TextBoxText() const { return textBox_; }
  // A text box holds at most kDisplayTextChars characters. A longer line is shown cut, and the
  // box is read-only while it shows it, so that no edit there can cut the line in the document;
  // such a line is edited in text mode. TextBoxEdited is then ignored.
  bool TextBoxReadOnly() const;
  QString InfoText(int index) const;
  bool Follow() const { return follow_; }
  bool TextMode() const { return textMode_; }
  const QString& TextSnapshot() const { return textSnapshot_; }
  const QString& TempPath() const { return tempPath_; }
  qint32 ShownPositionMs() const { return shownPositionMs_; }
  // 0..1 of the progress bar filled.
  double ShownFraction() const;
  QString OutTimeText() const;
  QTimer& PlaybackTimer() { return timer1_; }

  // Shown before the file commands' messages and questions.
  static QString MessageTitle() { return QStringLiteral("Versel"); }

 private:
  // File commands (editorfiles.cpp).
  void StartWithHandOff();
  void StartWithArgument(const QString& argument);
  bool LoadAndShow(const QString& path);
  void OpenAudio();
  void OpenLyrics();
  void Save(bool always);
  void SaveCommand(bool always);
  void NewOrClear();
  void NewDocument();
  void ClearLyrics();
  void ClearTags();
  void ChooseLayout();
  void EnterTextMode();
  void FailTextReturn(const QString& editedText);
  void ShowError(const QString& text);
  void ShowNotice(const QString& text);
  void UpdateTitle();
  void ShowDocumentInfo();
  QString StartFolder(const QString& folder) const;

  // Tagging (editortagging.cpp).
  void Play();
  void PlayFromSelection();
  void Pause();
  void SeekBy(qint32 deltaMs);
  void Stop();
  void Stamp();
  void InsertLine(int selection, bool duplicate);
  void DeleteSelected(int selection);
  void MoveLine(int selection, int delta);
  void Sort(int selection);
  void RemoveTag(int selection);
  void ShiftTags(int target, qint32 deltaMs);
  void SyncCorrection(int selection);
  void TypedOffset(int selection);
  void AutoTag(bool byLines, int selection);
  void ShowPosition(qint32 positionMs);
  void StartTimer();
  // Selects a row; `fill` runs the list-click step that fills the edit boxes.
  void SelectRow(int row, bool fill);
  void FillBoxes(int row);
  // Empties the time and text boxes, for a document whose lines were all replaced.
  void ClearEditBoxes();
  // The line the edit boxes write to: EditLine while it names a line, else the selection.
  int WriteTarget() const;
  void FocusGained();
  void FocusLost();
  bool ValidRow(int row) const { return row >= 0 && row < doc_.count(); }
  void ResetLines();
  void ClampAllTimes();

  EditorServices services_;
  EditorView noView_;
  EditorView* view_ = &noView_;
  LyricsDocument doc_;

  QString audioPath_;
  QString lyricsPath_;
  bool changed_ = false;
  bool compressed_ = false;
  int chooserChoice_ = 0;
  QString mp3OpenDir_;
  QString lrcOpenDir_;
  bool lastLoadOk_ = false;
  int followLine_ = -1;
  bool textMode_ = false;
  bool textModeResumed_ = false;
  QString textSnapshot_;
  QString tempPath_;
  bool shutDown_ = false;

  int selection_ = -1;
  int editLine_ = -1;
  Box focus_ = Box::None;
  QString timeBox_;
  QString textBox_;
  bool follow_ = false;
  bool resumeAfterEdit_ = false;
  bool seekDragging_ = false;
  bool resumeAfterSeek_ = false;
  qint32 shownPositionMs_ = 0;
  QTimer timer1_;
};

}  // namespace lyrova
