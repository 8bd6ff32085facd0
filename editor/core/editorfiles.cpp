// The Editor session's start-up, shutdown, command dispatch and file commands: open, save, new
// or clear, layout, text mode and drops.
#include "common/audiofilters.h"
#include "common/commandline.h"
#include "common/numbertext.h"
#include "common/paths.h"
#include "common/programcontract.h"
#include "common/prompts/filedialogs.h"
#include "common/prompts/prompts.h"
#include "common/settings.h"
#include "common/tempfiles.h"
#include "editor/core/commandtable.h"
#include "editor/core/editorsession.h"
#include "lyrics/lrcreader.h"
#include "lyrics/lrcwriter.h"
#include "lyrics/textfiles.h"
#include "media/mediacontrol.h"

#include <QFileInfo>

namespace lyrova {

namespace {

const QString kKeyMp3OpenDir = QStringLiteral("Mp3OpenDir");
const QString kKeyLrcOpenDir = QStringLiteral("LrcOpenDir");
const QString kKeyMinSave = QStringLiteral("MinSave");

constexpr quint32 kOpenFlags = kOfnExplorer | kOfnFileMustExist | kOfnPathMustExist | kOfnHideReadOnly;
constexpr quint32 kSaveFlags = kOpenFlags | kOfnOverwritePrompt;

QString Quoted(const QString& path) { return u'"' + path + u'"'; }

bool HasLrcExtension(const QString& path) {
  return PathExtension(path).toUpper() == u"LRC";
}

// Text-box text as typed and as shown compare equal whatever line breaks the widget uses.
QString NormalizedBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

}  // namespace

EditorSession::EditorSession(const EditorServices& services, QObject* parent)
    : QObject(parent), services_(services) {
  timer1_.setInterval(10);
  connect(&timer1_, &QTimer::timeout, this, &EditorSession::Tick);
}

EditorSession::~EditorSession() { DeleteFileQuiet(tempPath_); }

void EditorSession::Start(const QStringList& arguments, const QStringList& unreadable) {
  const SettingsStore& settings = *services_.settings;
  mp3OpenDir_ = settings.ReadSetting(kKeyMp3OpenDir, services_.programFolder);
  lrcOpenDir_ = settings.ReadSetting(kKeyLrcOpenDir, services_.programFolder);
  compressed_ = settings.ReadNumberSetting(kKeyMinSave, QStringLiteral("0")) == 1.0;
  UpdateTitle();
  ShowPosition(0);

  const QString commandLine = TrimBlanks(arguments.join(u' '));
  if (!unreadable.isEmpty())
    ShowError(UnreadableNameMessage(UnquoteTrimmed(commandLine)));
  else if (commandLine.toUpper() == kEditorHandOffSwitch)
    StartWithHandOff();
  else
    StartWithArgument(UnquoteTrimmed(commandLine));
}

void EditorSession::StartWithHandOff() {
  const SettingsStore& settings = *services_.settings;
  const QString lrc = TrimBlanks(settings.ReadSetting(kHandOffLyricsKey, QString()));
  const QString mp3 = TrimBlanks(settings.ReadSetting(kHandOffSongKey, QString()));
  // Cleared first, so that a crash while loading does not repeat the hand-off next time.
  settings.WriteSetting(kHandOffSongKey, QString());
  settings.WriteSetting(kHandOffLyricsKey, QString());
  if (!lrc.isEmpty()) {
    if (FileExists(lrc))
      LoadAndShow(lrc);
    else
      ShowError(QStringLiteral("歌词文件") + Quoted(lrc) + QStringLiteral("找不到"));
  }
  if (!mp3.isEmpty()) {
    if (FileExists(mp3)) {
      audioPath_ = mp3;
      UpdateTitle();
    } else {
      ShowError(QStringLiteral("音频文件") + Quoted(mp3) + QStringLiteral("找不到"));
    }
  }
}

void EditorSession::StartWithArgument(const QString& argument) {
  if (argument.isEmpty()) return;
  if (!FileExists(argument)) {
    ShowError(QStringLiteral("文件") + Quoted(argument) + QStringLiteral("找不到"));
    return;
  }
  // Relative names become absolute, so that the title, the save and the dialogs' folders work.
  const QString path = QFileInfo(argument).absoluteFilePath();
  if (IsLyricsOrTextFile(path)) {
    LoadAndShow(path);
  } else {
    audioPath_ = path;
    UpdateTitle();
    mp3OpenDir_ = DirectoryPart(path);
  }
}

// Loads a lyrics file named at start-up or dropped, and on success makes it the document's file.
bool EditorSession::LoadAndShow(const QString& path) {
  lastLoadOk_ = LoadLyricsFile(path);
  if (lastLoadOk_) {
    lyricsPath_ = path;
    lrcOpenDir_ = DirectoryPart(path);
    UpdateTitle();
    ResetLines();
    ShowDocumentInfo();
  }
  return lastLoadOk_;
}

bool EditorSession::LoadLyricsFile(const QString& path) {
  followLine_ = -1;
  const QString trimmed = TrimBlanks(path);
  if (trimmed.isEmpty() || !FileExists(trimmed)) return false;
  QString message;
  if (!LoadLrc(doc_, trimmed, ReaderMode::Editor, &message)) {
    ShowError(message);
    return false;
  }
  // The old selection and edit line may name lines that no longer exist.
  selection_ = -1;
  editLine_ = -1;
  ClearEditBoxes();
  return true;
}

bool EditorSession::CanClose() {
  // Edits made in text mode count as changes of the document, so the prompt offers to save them.
  if (!TakeTextModeEdits()) return false;
  return MayProceed(AskSaveChanges(true));
}

bool EditorSession::TakeTextModeEdits() {
  if (!textMode_) return true;
  ReturnFromTextMode(view_->TextModeText().value_or(textSnapshot_));
  return !textMode_;
}

void EditorSession::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  timer1_.stop();
  services_.media->CloseMedia();
  const SettingsStore& settings = *services_.settings;
  settings.WriteSetting(kKeyMp3OpenDir, mp3OpenDir_);
  settings.WriteSetting(kKeyLrcOpenDir, lrcOpenDir_);
  settings.WriteSetting(kKeyMinSave, compressed_ ? QStringLiteral("1") : QStringLiteral("0"));
  DeleteFileQuiet(tempPath_);
  tempPath_.clear();
}

bool EditorSession::CommandAvailable(int index) const {
  if (index < 0 || index >= kEditorCommandLimit) return false;
  if (!textMode_) return true;
  // Anything else would change lines that the return from text mode then overwrites.
  switch (index) {
    case kCmdOpenAudio:
    case kCmdSave:
    case kCmdSaveAs:
    case kCmdLayout: return true;
    default: return index >= kCmdPlay && index <= kCmdStop;
  }
}

void EditorSession::RunCommand(int index) {
  if (!CommandAvailable(index)) return;
  const int s = selection_;
  switch (index) {
    case kCmdOpenAudio: OpenAudio(); break;
    case kCmdOpenLyrics: OpenLyrics(); break;
    case kCmdSave: SaveCommand(false); break;
    case kCmdSaveAs: SaveCommand(true); break;
    case kCmdNewOrClear: NewOrClear(); break;
    case kCmdLayout: ChooseLayout(); break;
    case kCmdTextMode: EnterTextMode(); break;
    case kCmdNewLine: InsertLine(s, false); break;
    case kCmdDuplicateLine: if (s >= 0) InsertLine(s, true); break;
    case kCmdDeleteLine: DeleteSelected(s); break;
    case kCmdMoveUp: MoveLine(s, -1); break;
    case kCmdMoveDown: MoveLine(s, +1); break;
    case kCmdSort: Sort(s); break;
    case kCmdStamp: Stamp(); break;
    case kCmdLineEarlier: if (ValidRow(s)) ShiftTags(s, -500); break;
    case kCmdLineLater: if (ValidRow(s)) ShiftTags(s, +500); break;
    case kCmdAllEarlier: if (doc_.count() > 0) ShiftTags(-1, -500); break;
    case kCmdAllLater: if (doc_.count() > 0) ShiftTags(-1, +500); break;
    case kCmdSyncCorrection: SyncCorrection(s); break;
    case kCmdOffset: TypedOffset(s); break;
    case kCmdRemoveTag: RemoveTag(s); break;
    case kCmdPlay: Play(); break;
    case kCmdPlayFromLine: PlayFromSelection(); break;
    case kCmdPause: Pause(); break;
    case kCmdBack5s: SeekBy(-5000); break;
    case kCmdForward5s: SeekBy(+5000); break;
    case kCmdStop: Stop(); break;
    case kCmdNewDocument: NewDocument(); break;
    default: break;
  }
}

SaveOutcome EditorSession::AskSaveChanges(bool allowCancel) {
  if (!changed_) return SaveOutcome::NothingToSave;
  const QString path = TrimBlanks(lyricsPath_);
  const QString text = path.isEmpty() ? QStringLiteral("新建文件已改变，你要保存吗？")
                                      : QStringLiteral("文件 ") + Quoted(lyricsPath_) +
                                            QStringLiteral(" 已改变，你要保存吗？");
  const SaveAnswer answer = services_.saveQuestion->Ask(view_->DialogOwner(), text, allowCancel);
  if (answer == SaveAnswer::Cancel)
    return allowCancel ? SaveOutcome::Cancelled : SaveOutcome::NotSaved;
  if (answer == SaveAnswer::No) return SaveOutcome::NotSaved;
  // The document as it is: a caller in text mode has taken the edited text already.
  Save(false);
  return changed_ ? SaveOutcome::SaveFailed : SaveOutcome::Saved;
}

QString EditorSession::StartFolder(const QString& folder) const {
  return DirExists(folder) ? folder : services_.programFolder;
}

void EditorSession::OpenAudio() {
  FileDialogs dialog(*services_.prompts);
  dialog.SetHwnd(view_->DialogOwner());
  dialog.SetFilter(AudioOpenFilter());
  dialog.SetFilterIndex(0);
  dialog.SetFlags(kOpenFlags);
  dialog.SetInitialDir(StartFolder(mp3OpenDir_));
  dialog.SetTitle(QStringLiteral("打开音频文件"));
  dialog.SetDefExt(AllAudioPatterns());
  dialog.SetFileName(audioPath_);
  dialog.PopOpen();
  if (dialog.Cancel()) return;
  timer1_.stop();
  services_.media->CloseMedia();
  ShowPosition(0);
  mp3OpenDir_ = dialog.InitialDir();
  audioPath_ = dialog.FileName();
  UpdateTitle();
  followLine_ = -1;
}

void EditorSession::OpenLyrics() {
  if (!MayProceed(AskSaveChanges(false))) return;
  FileDialogs dialog(*services_.prompts);
  dialog.SetHwnd(view_->DialogOwner());
  dialog.SetFilter(QStringLiteral("歌词和文本文件|*.lrc;*.txt|歌词文件|*.lrc|文本文件|*.txt|所有文件|*.*"));
  dialog.SetFilterIndex(0);
  dialog.SetFlags(kOpenFlags);
  dialog.SetInitialDir(StartFolder(lrcOpenDir_));
  dialog.SetTitle(QStringLiteral("打开歌词文件"));
  dialog.SetDefExt(QStringLiteral("*.lrc;*.txt"));
  dialog.SetFileName(lyricsPath_);
  dialog.PopOpen();
  if (dialog.Cancel()) return;
  lrcOpenDir_ = dialog.InitialDir();
  lastLoadOk_ = LoadLyricsFile(dialog.FileName());
  if (!lastLoadOk_) return;
  ResetLines();
  ShowDocumentInfo();
  lyricsPath_ = dialog.FileName();
  UpdateTitle();
  changed_ = false;
}

// In text mode the edited text becomes the document first, the same return as before closing;
// after the save the window goes back to text mode on the text as saved, where the user was.
void EditorSession::SaveCommand(bool always) {
  if (!textMode_) {
    Save(always);
    return;
  }
  if (!TakeTextModeEdits()) return;
  Save(always);
  textModeResumed_ = true;
  EnterTextMode();
  textModeResumed_ = false;
}

// Save (`always` false) shows the dialog only when the document has no usable .lrc file yet;
// save as (`always` true) always asks.
void EditorSession::Save(bool always) {
  const QString path = TrimBlanks(lyricsPath_);
  QString name;
  bool dialogNeeded = true;
  if (always) {
    name = path.isEmpty() ? LrcNameFor(audioPath_) : lyricsPath_;
    if (!name.isEmpty() && !HasLrcExtension(name)) name = StripExtension(name) + u".lrc";
  } else if (path.isEmpty()) {
    name = LrcNameFor(audioPath_);
  } else if (FileExists(path)) {
    if (!HasLrcExtension(path)) {
      name = StripExtension(path) + u".lrc";
    } else {
      name = path;
      dialogNeeded = false;
    }
  } else {
    name = lyricsPath_;
  }

  if (dialogNeeded) {
    FileDialogs dialog(*services_.prompts);
    dialog.SetHwnd(view_->DialogOwner());
    dialog.SetFilter(QStringLiteral("歌词文件|*.lrc|所有文件|*.*"));
    dialog.SetFilterIndex(0);
    dialog.SetFlags(kSaveFlags);
    dialog.SetInitialDir(StartFolder(lrcOpenDir_));
    dialog.SetTitle(QStringLiteral("保存歌词文件"));
    dialog.SetDefExt(QStringLiteral("*.lrc"));
    dialog.SetFileName(name);
    dialog.PopSave();
    if (dialog.Cancel()) return;
    lrcOpenDir_ = dialog.InitialDir();
    name = dialog.FileName();
  }

  QString message;
  if (!SaveLrc(doc_, name, compressed_, &message)) {
    ShowError(message);
    return;
  }
  lyricsPath_ = name;
  UpdateTitle();
  changed_ = false;
}

void EditorSession::NewOrClear() {
  const ChooserResult result = services_.dialogs->ChooseNewOrClear(view_->DialogOwner(), chooserChoice_);
  if (result.cancelled || result.choice < 0 || result.choice > 4) return;
  chooserChoice_ = result.choice;
  switch (result.choice) {
    case 0: NewDocument(); break;
    case 1: ClearLyrics(); break;
    case 2: ClearTags(); break;
    case 3: AutoTag(false, selection_); break;
    case 4: AutoTag(true, selection_); break;
    default: break;
  }
}

void EditorSession::NewDocument() {
  if (!MayProceed(AskSaveChanges(true))) return;
  // A new document starts in the code page, like one never saved.
  lyrova::ClearLyrics(doc_);
  selection_ = -1;
  editLine_ = -1;
  ClearEditBoxes();
  ResetLines();
  ShowDocumentInfo();
  lyricsPath_.clear();
  UpdateTitle();
  changed_ = false;
}

void EditorSession::ClearLyrics() {
  if (!services_.prompts->Question(QStringLiteral("你的真的要清除所有歌词吗？"), MessageTitle(),
                                   DefaultAnswer::No))
    return;
  if (doc_.count() < 1) return;
  doc_.lines.clear();
  selection_ = -1;
  editLine_ = -1;
  ClearEditBoxes();
  changed_ = true;
  ResetLines();
}

void EditorSession::ClearTags() {
  if (!services_.prompts->Question(QStringLiteral("你的真的要清除所有时间标签吗？"), MessageTitle(),
                                   DefaultAnswer::No))
    return;
  bool any = false;
  for (LyricLine& line : doc_.lines) {
    any = any || line.timed;
    line.timed = false;
  }
  if (any) changed_ = true;
  if (doc_.count() > 0) ResetLines();
}

void EditorSession::ChooseLayout() {
  const LayoutResult result = services_.dialogs->ChooseLayout(view_->DialogOwner(), compressed_);
  if (!result.cancelled) compressed_ = result.compressed;
}

void EditorSession::EnterTextMode() {
  tempPath_ = MakeTempFile(QStringLiteral("lrc"));
  bool ok = false;
  if (!tempPath_.isEmpty()) {
    QString message;
    QString text;
    ok = SaveLrc(doc_, tempPath_, compressed_, &message) && LoadTextFile(tempPath_, &text, &message);
    if (ok)
      textSnapshot_ = text;
    else
      ShowError(message);
  }
  DeleteFileQuiet(tempPath_);
  tempPath_.clear();
  if (!ok) {
    ShowError(QStringLiteral("临时文件生成失败,不能进行文本模式编辑"));
    return;
  }
  SetFocus(Box::None);
  textMode_ = true;
  view_->TextModeChanged();
}

void EditorSession::ReturnFromTextMode(const QString& editedText) {
  if (!textMode_) return;
  if (NormalizedBreaks(editedText) != NormalizedBreaks(textSnapshot_)) {
    const TextEncoding encoding = doc_.encoding;
    tempPath_ = MakeTempFile(QStringLiteral("lrc"));
    QString message;
    const bool written =
        !tempPath_.isEmpty() &&
        SaveTextFile(tempPath_, NormalizedBreaks(editedText).split(u'\n').join(QStringLiteral("\r\n")),
                     TextEncoding::Utf8, &message);
    if (!written) {
      // Nothing is lost yet: the edited text stays in the box, and the return can be tried again
      // once the temporary folder has room.
      DeleteFileQuiet(tempPath_);
      tempPath_.clear();
      ShowError(message.isEmpty() ? QStringLiteral("临时文件生成失败,不能返回标签编辑模式") : message);
      return;
    }
    const bool ok = LoadLyricsFile(tempPath_);
    DeleteFileQuiet(tempPath_);
    tempPath_.clear();
    if (!ok) {
      FailTextReturn(editedText);
      return;
    }
    // The temporary copy's encoding is an accident of text mode; the file keeps its own.
    doc_.encoding = encoding;
    ResetLines();
    ShowDocumentInfo();
    changed_ = true;
  }
  textSnapshot_.clear();
  textMode_ = false;
  view_->TextModeChanged();
}

// The edited text could not become a document again: offer to keep it, then close. The backup
// holds the text being edited, as the question says, not the one text mode started with.
void EditorSession::FailTextReturn(const QString& editedText) {
  if (services_.prompts->Question(
          QStringLiteral("在返回时产生了一个错误，软件将会关闭，你要将你现在所编辑的歌词备份保存吗？"),
          MessageTitle(), DefaultAnswer::No)) {
    FileDialogs dialog(*services_.prompts);
    dialog.SetHwnd(view_->DialogOwner());
    dialog.SetFilter(QStringLiteral("歌词文件|*.lrc|所有文件|*.*"));
    dialog.SetFlags(kSaveFlags);
    dialog.SetInitialDir(StartFolder(lrcOpenDir_));
    dialog.SetTitle(QStringLiteral("保存歌词文件"));
    dialog.SetDefExt(QStringLiteral("*.lrc"));
    dialog.PopSave();
    if (!dialog.Cancel()) {
      lrcOpenDir_ = dialog.InitialDir();
      QString message;
      if (!SaveTextFile(dialog.FileName(), NormalizedBreaks(editedText), doc_.encoding, &message))
        ShowError(message);
    }
  }
  changed_ = false;
  view_->CloseRequested();
}

void EditorSession::OpenDroppedFile(const QString& path) {
  if (!FileExists(path)) return;
  if (IsLyricsOrTextFile(path)) {
    // The return from text mode would overwrite a document loaded now.
    if (textMode_) return;
    // Dropping replaces the document, so unsaved changes are offered for saving first.
    if (!MayProceed(AskSaveChanges(true))) return;
    if (LoadAndShow(path)) changed_ = false;
    return;
  }
  timer1_.stop();
  services_.media->CloseMedia();
  ShowPosition(0);
  audioPath_ = path;
  UpdateTitle();
  mp3OpenDir_ = DirectoryPart(path);
}

void EditorSession::InfoEdited(int index, const QString& text) {
  switch (index) {
    case 0: doc_.title = text; break;
    case 1: doc_.artist = text; break;
    case 2: doc_.album = text; break;
    case 3: doc_.by = text; break;
    default: return;
  }
  changed_ = true;
}

QString EditorSession::InfoText(int index) const {
  switch (index) {
    case 0: return doc_.title;
    case 1: return doc_.artist;
    case 2: return doc_.album;
    case 3: return doc_.by;
    default: return {};
  }
}

void EditorSession::ShowDocumentInfo() { view_->InfoChanged(); }

QString EditorSession::Title() const {
  const QString lyricsName = FileNamePart(lyricsPath_);
  const QString audioName = FileNamePart(audioPath_);
  QString title = QStringLiteral("Versel");
  if (!lyricsName.isEmpty()) title += u" - " + lyricsName;
  if (!audioName.isEmpty()) title += u" (" + audioName + u')';
  return title;
}

void EditorSession::UpdateTitle() { view_->TitleChanged(); }

void EditorSession::ShowError(const QString& text) {
  services_.prompts->Message(text, MessageTitle(), MessageIcon::Critical);
}

void EditorSession::ShowNotice(const QString& text) {
  services_.prompts->Message(text, MessageTitle(), MessageIcon::Information);
}

}  // namespace lyrova
