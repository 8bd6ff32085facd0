#pragma once

#include "common/prompts/prompts.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace lyrova {

// Option bits of the Windows file dialogs that the callers are written with. Only those that
// change what the user can choose have an effect; the others are accepted and ignored.
inline constexpr quint32 kOfnOverwritePrompt = 0x2;
inline constexpr quint32 kOfnHideReadOnly = 0x4;        // no effect: there is no read-only box
inline constexpr quint32 kOfnAllowMultiSelect = 0x200;  // open dialogs only
inline constexpr quint32 kOfnPathMustExist = 0x800;
inline constexpr quint32 kOfnFileMustExist = 0x1000;    // implies kOfnPathMustExist
inline constexpr quint32 kOfnExplorer = 0x80000;        // no effect

// The open and save dialogs behind string and integer properties. A caller sets the
// properties, calls PopOpen or PopSave, tests Cancel and reads FileName, InitialDir,
// FilterIndex and, after a multiple selection, NameCount and Names. Use a fresh object per
// dialog. A cancelled dialog changes nothing but Cancel (and an empty Filter, which becomes
// "*.*|*.*").
class FileDialogs {
 public:
  explicit FileDialogs(Prompts& prompts) : prompts_(prompts) {}

  void SetHwnd(QWidget* owner) { owner_ = owner; }
  QWidget* Hwnd() const { return owner_; }

  int NameCount() const { return static_cast<int>(names_.size()); }
  // Name number `index` (from 0) of the last selection; with `integratedName` the folder
  // InitialDir is joined in front. "" for an index outside the selection.
  QString Names(int index, bool integratedName) const;

  // Before the call: the name shown at first (a bare name or a full path). After success:
  // the full path of the first chosen file.
  QString FileName() const { return fileName_; }
  void SetFileName(const QString& name) { fileName_ = name; }
  // Before the call: the folder the dialog opens in. After success: the folder of the chosen
  // file(s), without a trailing "/" except for the root "/".
  QString InitialDir() const { return initialDir_; }
  void SetInitialDir(const QString& folder) { initialDir_ = folder; }
  // "desc|pattern|desc|pattern", patterns separated by ";".
  QString Filter() const { return filter_; }
  void SetFilter(const QString& filter) { filter_ = filter; }
  // 1-based; 0 (or any index outside the filters) means the first. After success: the
  // 1-based index of the filter the user ended with.
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int index) { filterIndex_ = index; }
  // Used as the default suffix only when it is a plain extension such as "lrc" or ".lrc";
  // a pattern such as "*.Wav;*.Mp3" is ignored.
  QString DefExt() const { return defExt_; }
  void SetDefExt(const QString& ext) { defExt_ = ext; }
  QString Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }
  quint32 Flags() const { return flags_; }
  void SetFlags(quint32 flags) { flags_ = flags; }
  bool Cancel() const { return cancel_; }

  void PopOpen() { Pop(FileDialogKind::Open); }
  void PopSave() { Pop(FileDialogKind::Save); }

 private:
  // The request handed to Prompts for the current properties (an empty Filter becomes
  // "*.*|*.*" here).
  FileDialogRequest MakeRequest(FileDialogKind kind);
  void Pop(FileDialogKind kind);
  bool TakeAnswer(const FileDialogAnswer& answer);

  Prompts& prompts_;
  QWidget* owner_ = nullptr;
  QStringList names_;
  QString fileName_;
  QString initialDir_;
  QString filter_;
  int filterIndex_ = 0;
  QString defExt_;
  QString title_;
  quint32 flags_ = 0;
  bool cancel_ = true;
};

// The default suffix a DefExt text gives ("" when it is not a plain extension).
QString PlainDefaultSuffix(const QString& defExt);

}  // namespace lyrova
