#include "common/prompts/filedialogs.h"

#include "common/prompts/namefilters.h"

#include <algorithm>

namespace lyrova {

namespace {

QString JoinToFolder(const QString& folder, const QString& name) {
  if (folder.isEmpty() || name.startsWith(u'/')) return name;
  if (folder.endsWith(u'/')) return folder + name;
  return folder + u'/' + name;
}

// The folder of an absolute path: the text before its last "/", or "/" for a file in the root.
QString FolderOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  if (slash < 0) return {};
  return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString NameOf(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }

}  // namespace

QString PlainDefaultSuffix(const QString& defExt) {
  QString ext = defExt.trimmed();
  if (ext.startsWith(u'.')) ext.remove(0, 1);
  if (ext.isEmpty()) return {};
  const bool plain = std::all_of(ext.cbegin(), ext.cend(), [](QChar ch) { return ch.isLetterOrNumber(); });
  return plain ? ext : QString();
}

QString FileDialogs::Names(int index, bool integratedName) const {
  if (index < 0 || index >= names_.size()) return {};
  const QString& name = names_.at(index);
  return integratedName ? JoinToFolder(initialDir_, name) : NameOf(name);
}

FileDialogRequest FileDialogs::MakeRequest(FileDialogKind kind) {
  if (filter_.isEmpty()) filter_ = QStringLiteral("*.*|*.*");
  FileDialogRequest request;
  request.kind = kind;
  request.owner = owner_;
  request.title = title_;
  request.startFolder = initialDir_;
  request.initialName = fileName_;
  request.nameFilters = ToQtNameFilters(filter_);
  const int count = static_cast<int>(request.nameFilters.size());
  request.selectedFilter = filterIndex_ >= 1 && filterIndex_ <= count ? filterIndex_ - 1 : 0;
  request.multiSelect = kind == FileDialogKind::Open && (flags_ & kOfnAllowMultiSelect) != 0;
  request.overwritePrompt = kind == FileDialogKind::Save && (flags_ & kOfnOverwritePrompt) != 0;
  // A save names a file that need not exist yet: the bit means nothing there (the Editor's save
  // flags carry it), and passed on, Qt's save dialog would refuse every new name.
  request.fileMustExist = kind == FileDialogKind::Open && (flags_ & kOfnFileMustExist) != 0;
  request.pathMustExist = request.fileMustExist || (flags_ & kOfnPathMustExist) != 0;
  request.defaultSuffix = PlainDefaultSuffix(defExt_);
  return request;
}

void FileDialogs::Pop(FileDialogKind kind) {
  cancel_ = true;
  const FileDialogRequest request = MakeRequest(kind);
  const std::optional<FileDialogAnswer> answer = prompts_.FileDialog(request);
  if (!answer) return;
  if (TakeAnswer(*answer)) cancel_ = false;
}

// A chosen file is kept as its bare name when it lies in the folder of the first one (the
// normal case); a file from another folder keeps its full path, so that Names(i, true) still
// names the file the user chose.
bool FileDialogs::TakeAnswer(const FileDialogAnswer& answer) {
  if (answer.paths.isEmpty()) return false;
  for (const QString& path : answer.paths) {
    if (path.isEmpty() || path.endsWith(u'/')) return false;
  }
  const QString& first = answer.paths.first();
  const QString folder = FolderOf(first);
  QStringList names;
  for (const QString& path : answer.paths)
    names << (FolderOf(path) == folder ? NameOf(path) : path);
  initialDir_ = folder;
  names_ = names;
  fileName_ = JoinToFolder(initialDir_, names_.first());
  filterIndex_ = std::max(0, answer.filterIndex) + 1;
  return true;
}

}  // namespace lyrova
