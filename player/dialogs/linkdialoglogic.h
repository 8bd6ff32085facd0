#pragma once

#include "player/dialogs/candidates.h"
#include "player/lookup/lyricslookup.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// What the link dialog does, without its widgets: the song box, the lyrics box, the list of
// proposed lyrics files and the nine buttons. The dialog widget forwards typing, clicks and
// double-clicks here and shows the state back; tests drive this class directly.
namespace lyrova {

class Prompts;

// What the dialog reaches outside itself.
struct LinkDialogActions {
  // Shows the search-directory dialog modally over `owner`.
  std::function<void(QWidget* owner)> showSearchDirs;
  // Hands song and lyrics to the Editor and starts it.
  std::function<void(const QString& song, const QString& lyrics)> launchEditor;
  // Starts the plain text editor on a file; false with the system's description on failure.
  std::function<bool(const QString& path, QString* error)> startTextEditor;
  // Removes a lyrics file the user agreed to delete; empty: TrashOrDeleteFile.
  std::function<bool(const QString& path, QString* error)> deleteFile;
};

// Whether the dialog stays open after an action.
enum class DialogNext { Stay, Close };

class LinkDialogLogic {
 public:
  // The file buttons, in the order of their control array.
  enum FileButton { kSearchDirs, kBrowse, kDeleteFile, kRename, kEditor, kTextEditor };
  // The link buttons.
  enum LinkButton { kUnlink, kLink, kCancel };

  static inline const QString kTitle = QStringLiteral("为当前歌曲指定歌词");

  // `owner` owns the file dialog and the search-directory dialog (may be null).
  LinkDialogLogic(Prompts& prompts, const LyricsLookup& lookup, LinkDialogActions actions,
                  QWidget* owner = nullptr);

  // Fills the boxes and the list for `song` with its current `lyrics` (may be ""): the best
  // candidate is selected, but an existing current lyrics file wins the lyrics box.
  void Open(const QString& song, const QString& lyrics);

  QString SongText() const { return songText_; }
  void SetSongText(const QString& text) { songText_ = text; }
  QString LyricsText() const { return lyricsText_; }
  void SetLyricsText(const QString& text) { lyricsText_ = text; }

  // The list's item texts: each candidate's file name, best first.
  QStringList ListItems() const;
  const CandidateList& Candidates() const { return candidates_; }
  int Selected() const { return selected_; }
  // Selects a list entry (ignored outside the list); its full path goes into the lyrics box.
  void Select(int index);
  // Selects the entry, links its file to the song and closes.
  DialogNext DoubleClick(int index);

  DialogNext RunFileButton(int button);
  DialogNext RunLinkButton(int button);

  // The paths the last action worked with: the boxes' texts, trimmed.
  QString LinkSongPath() const { return linkSongPath_; }
  QString LinkLyricsPath() const { return linkLyricsPath_; }

 private:
  void TakeBoxes();
  void BuildCandidates();
  void LinkChosen();
  void SaveLink(const QString& lyricsPath);
  void ShowSongMissing();
  // True when a file was chosen (and linked).
  bool Browse();
  void DeleteLyricsFile();
  void RenameLyricsFile();
  void EditInTextEditor();

  Prompts& prompts_;
  const LyricsLookup& lookup_;
  LinkDialogActions actions_;
  QWidget* owner_;
  CandidateList candidates_;
  QString songText_;
  QString lyricsText_;
  int selected_ = -1;
  QString linkSongPath_;
  QString linkLyricsPath_;
};

}  // namespace lyrova
