#pragma once

#include "player/dialogs/linkdialoglogic.h"
#include "player/lookup/lyricslookup.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// What the search-directory dialog does, without its widgets: the list of directories, its
// selection and the six buttons. The list reaches "LrcDir.ini" only through "确定".
namespace lyrova {

class Prompts;

class SearchDirLogic {
 public:
  enum Button { kBrowseAdd, kTypeAdd, kRemove, kOpenFolder, kSave, kCancel };

  static inline const QString kTitle = QStringLiteral("添加歌词的查找目录");

  // `openUrl` opens a folder in the desktop's file browser.
  SearchDirLogic(Prompts& prompts, const LyricsLookup& lookup,
                 std::function<bool(const QUrl&)> openUrl);

  // Fills the list from the search directories (the built-in folder first when it exists).
  void Open();

  const QStringList& Entries() const { return entries_; }
  int Selected() const { return selected_; }
  // Selects an entry; -1 or an index outside the list clears the selection.
  void Select(int index);

  DialogNext RunButton(int button);
  // Opens the double-clicked folder, as "打开" does for the selection.
  DialogNext DoubleClick(int index);

 private:
  void Add(bool typed);
  void Remove();
  DialogNext OpenSelectedFolder();
  DialogNext Save();

  Prompts& prompts_;
  const LyricsLookup& lookup_;
  std::function<bool(const QUrl&)> openUrl_;
  QStringList entries_;
  int selected_ = -1;
};

// A typed folder path as it is listed: "~" and "~/..." name the home folder, and a relative
// path is taken against the current folder, so the list never holds a path whose meaning
// depends on where a program happens to run.
QString AbsoluteTypedDir(const QString& typed);

}  // namespace lyrova
