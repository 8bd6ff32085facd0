#include "player/dialogs/searchdirlogic.h"

#include "common/casematch.h"
#include "common/listfiles.h"
#include "common/paths.h"
#include "common/prompts/prompts.h"

#include <QDir>

#include <algorithm>

namespace lyrova {

namespace {

const QString kMessageTitle = QStringLiteral("Lyrova");

}  // namespace

QString AbsoluteTypedDir(const QString& typed) {
  QString path = typed;
  if (path == u"~" || path.startsWith(u"~/")) path = QDir::homePath() + path.mid(1);
  if (path.isEmpty() || QDir::isAbsolutePath(path)) return path;
  return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

SearchDirLogic::SearchDirLogic(Prompts& prompts, const LyricsLookup& lookup,
                               std::function<bool(const QUrl&)> openUrl)
    : prompts_(prompts), lookup_(lookup), openUrl_(std::move(openUrl)) {}

void SearchDirLogic::Open() {
  entries_ = lookup_.ReadSearchDirs();
  selected_ = -1;
}

void SearchDirLogic::Select(int index) {
  selected_ = index >= 0 && index < entries_.size() ? index : -1;
}

DialogNext SearchDirLogic::RunButton(int button) {
  switch (button) {
    case kBrowseAdd:
      Add(false);
      return DialogNext::Stay;
    case kTypeAdd:
      Add(true);
      return DialogNext::Stay;
    case kRemove:
      Remove();
      return DialogNext::Stay;
    case kOpenFolder:
      return OpenSelectedFolder();
    case kSave:
      return Save();
    case kCancel:
      return DialogNext::Close;
    default:
      return DialogNext::Stay;
  }
}

DialogNext SearchDirLogic::DoubleClick(int index) {
  Select(index);
  return OpenSelectedFolder();
}

void SearchDirLogic::Add(bool typed) {
  const int sel = selected_;
  QString path;
  if (typed) {
    const std::optional<QString> answer = prompts_.InputText(
        QStringLiteral("请输入要添加的歌词目录"), QStringLiteral("添加歌词目录"), QString());
    path = answer ? TrimBlanks(*answer) : QString();
    if (path.isEmpty()) return;
    path = NormalizeDir(AbsoluteTypedDir(path));
    if (!DirExists(path)) {
      prompts_.Message(QStringLiteral("你输入的目录不存在"), kMessageTitle, MessageIcon::Information);
      return;
    }
  } else {
    const std::optional<QString> chosen =
        prompts_.ChooseFolder(QStringLiteral("请指定歌词文件夹"), QDir::homePath());
    if (!chosen || chosen->isEmpty()) return;
    path = NormalizeDir(*chosen);
  }
  const bool listed = std::any_of(entries_.cbegin(), entries_.cend(), [&path](const QString& entry) {
    return SameEntryIgnoringCase(entry, path);
  });
  if (listed) {
    prompts_.Message(QStringLiteral("此目录已添加"), kMessageTitle, MessageIcon::Information);
    return;
  }
  // The new folder goes before the selected one, so it is searched before it.
  entries_.insert(sel < 0 ? 0 : sel, path);
  if (sel >= 0) selected_ = sel;
}

void SearchDirLogic::Remove() {
  const int sel = selected_;
  if (sel < 0) return;
  entries_.removeAt(sel);
  Select(std::min(sel, static_cast<int>(entries_.size()) - 1));
}

DialogNext SearchDirLogic::OpenSelectedFolder() {
  if (selected_ < 0 && !entries_.isEmpty()) selected_ = 0;
  if (selected_ < 0) return DialogNext::Stay;
  const QString dir = entries_.at(selected_);
  if (!DirExists(dir)) {
    prompts_.Message(QStringLiteral("目录 ") + dir + QStringLiteral(" 不存在"), kMessageTitle,
                     MessageIcon::Information);
    return DialogNext::Stay;
  }
  if (openUrl_) openUrl_(QUrl::fromLocalFile(dir));
  return DialogNext::Close;
}

DialogNext SearchDirLogic::Save() {
  QString error;
  if (lookup_.WriteSearchDirs(entries_, &error)) return DialogNext::Close;
  // Closing as if saved would lose the user's changes without a word.
  prompts_.Message(QStringLiteral("歌词查找目录保存失败，无法写入 ") + lookup_.SearchDirFile() + u',' + error,
                   kMessageTitle, MessageIcon::Critical);
  return DialogNext::Stay;
}

}  // namespace lyrova
