#include "player/dialogs/linkdialoglogic.h"

#include "common/paths.h"
#include "common/prompts/filedialogs.h"
#include "common/prompts/prompts.h"
#include "player/dialogs/filechores.h"

namespace lyrova {

namespace {

const QString kMessageTitle = QStringLiteral("Lyrova");

}  // namespace

LinkDialogLogic::LinkDialogLogic(Prompts& prompts, const LyricsLookup& lookup,
                                 LinkDialogActions actions, QWidget* owner)
    : prompts_(prompts), lookup_(lookup), actions_(std::move(actions)), owner_(owner) {}

void LinkDialogLogic::Open(const QString& song, const QString& lyrics) {
  linkSongPath_ = song;
  linkLyricsPath_ = lyrics;
  songText_ = song;
  BuildCandidates();
  if (FileExists(linkLyricsPath_)) lyricsText_ = linkLyricsPath_;
}

QStringList LinkDialogLogic::ListItems() const {
  QStringList items;
  for (const LinkCandidate& candidate : candidates_.Entries()) items.append(FileNamePart(candidate.path));
  return items;
}

void LinkDialogLogic::Select(int index) {
  if (index < 0 || index >= candidates_.Count()) return;
  selected_ = index;
  lyricsText_ = candidates_.Entries().at(index).path;
}

DialogNext LinkDialogLogic::DoubleClick(int index) {
  if (index < 0 || index >= candidates_.Count()) return DialogNext::Stay;
  Select(index);
  // The boxes are read as before a button: the link is made with the file just double-clicked.
  TakeBoxes();
  LinkChosen();
  return DialogNext::Close;
}

void LinkDialogLogic::TakeBoxes() {
  linkSongPath_ = TrimBlanks(songText_);
  linkLyricsPath_ = TrimBlanks(lyricsText_);
}

void LinkDialogLogic::BuildCandidates() {
  candidates_.BuildCandidates(linkSongPath_, lookup_.ReadSearchDirs());
  selected_ = -1;
  if (!candidates_.IsEmpty()) Select(0);
}

void LinkDialogLogic::ShowSongMissing() {
  prompts_.Message(QStringLiteral("歌曲文件  ") + linkSongPath_ + QStringLiteral("  不存在"),
                   kMessageTitle, MessageIcon::Information);
}

void LinkDialogLogic::LinkChosen() {
  if (!SongEntryExists(linkSongPath_)) {
    ShowSongMissing();
  } else if (!FileExists(linkLyricsPath_)) {
    prompts_.Message(QStringLiteral("歌词文件  ") + linkLyricsPath_ + QStringLiteral("  不存在"),
                     kMessageTitle, MessageIcon::Information);
  } else {
    SaveLink(linkLyricsPath_);
  }
}

// Closing as if the link were stored would leave the user believing it.
void LinkDialogLogic::SaveLink(const QString& lyricsPath) {
  QString error;
  if (lookup_.SetLink(linkSongPath_, lyricsPath, &error) || error.isEmpty()) return;
  prompts_.Message(QStringLiteral("歌词关联保存失败，无法写入 ") + lookup_.LinkFile() + u',' + error,
                   kMessageTitle, MessageIcon::Critical);
}

DialogNext LinkDialogLogic::RunLinkButton(int button) {
  TakeBoxes();
  switch (button) {
    case kUnlink:
      if (SongEntryExists(linkSongPath_))
        SaveLink(QString());
      else
        ShowSongMissing();
      break;
    case kLink:
      LinkChosen();
      break;
    default:
      break;
  }
  return DialogNext::Close;
}

DialogNext LinkDialogLogic::RunFileButton(int button) {
  TakeBoxes();
  switch (button) {
    case kSearchDirs:
      if (actions_.showSearchDirs) actions_.showSearchDirs(owner_);
      BuildCandidates();
      return DialogNext::Stay;
    case kBrowse:
      return Browse() ? DialogNext::Close : DialogNext::Stay;
    case kDeleteFile:
      DeleteLyricsFile();
      return DialogNext::Stay;
    case kRename:
      RenameLyricsFile();
      return DialogNext::Stay;
    case kEditor:
      if (actions_.launchEditor) actions_.launchEditor(linkSongPath_, linkLyricsPath_);
      return DialogNext::Close;
    case kTextEditor:
      EditInTextEditor();
      return DialogNext::Close;
    default:
      return DialogNext::Stay;
  }
}

bool LinkDialogLogic::Browse() {
  FileDialogs dialog(prompts_);
  dialog.SetHwnd(owner_);
  dialog.SetFilter(QStringLiteral("歌词文件(*.lrc)|*.lrc"));
  dialog.SetFilterIndex(0);
  dialog.SetFlags(kOfnExplorer | kOfnFileMustExist | kOfnPathMustExist | kOfnHideReadOnly);
  dialog.SetTitle(QStringLiteral("打开歌词文件"));
  dialog.SetDefExt(QStringLiteral("*.Lrc"));
  dialog.SetFileName(linkLyricsPath_);
  dialog.PopOpen();
  if (dialog.Cancel()) return false;
  lyricsText_ = dialog.FileName();
  RunLinkButton(kLink);
  return true;
}

void LinkDialogLogic::DeleteLyricsFile() {
  const QString path = linkLyricsPath_;
  if (!FileExists(path)) return;
  if (!prompts_.Question(QStringLiteral("你确实要删除  ") + path + QStringLiteral("  吗？"),
                         kMessageTitle, DefaultAnswer::No))
    return;
  QString error;
  const bool deleted =
      actions_.deleteFile ? actions_.deleteFile(path, &error) : TrashOrDeleteFile(path, &error);
  if (!deleted) {
    prompts_.Message(QStringLiteral("删除  ") + path + QStringLiteral("  失败，") + error,
                     kMessageTitle, MessageIcon::Critical);
    return;
  }
  BuildCandidates();
}

void LinkDialogLogic::RenameLyricsFile() {
  const QString path = linkLyricsPath_;
  if (!FileExists(path)) return;
  const std::optional<QString> typed =
      prompts_.InputText(QStringLiteral("你要将  ") + path + QStringLiteral("  重命名为:"),
                         QStringLiteral("歌词重命名"), StripExtension(FileNamePart(linkSongPath_)));
  const QString answer = typed ? TrimBlanks(*typed) : QString();
  if (answer.isEmpty()) return;
  const QString newPath = JoinPath(DirectoryPart(path), answer + QStringLiteral(".lrc"));
  QString error;
  bool renamed = false;
  if (answer.contains(u'/'))
    error = QStringLiteral("文件名中不能含有“/”");  // it would move the file to another folder
  else
    renamed = RenameWithoutReplacing(path, newPath, &error);
  if (!renamed) {
    prompts_.Message(QStringLiteral("重命名  ") + path + QStringLiteral("  到  ") + newPath +
                         QStringLiteral("  失败，") + error,
                     kMessageTitle, MessageIcon::Critical);
    return;
  }
  BuildCandidates();
}

void LinkDialogLogic::EditInTextEditor() {
  QString error;
  if (actions_.startTextEditor && !actions_.startTextEditor(linkLyricsPath_, &error))
    prompts_.Message(QStringLiteral("记事本打开时发生错误，") + error, kMessageTitle,
                     MessageIcon::Critical);
}

}  // namespace lyrova
