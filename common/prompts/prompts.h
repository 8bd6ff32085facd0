#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// Every modal interaction of a program goes through one Prompts object: message boxes, Yes/No
// questions, text input boxes, file dialogs and the folder picker. The program holds a
// WidgetPrompts; tests hand the same logic a ScriptedPrompts that answers from a script and
// records what was shown. All calls are made on the user-interface thread and return only when
// the user (or the script) has answered.
namespace lyrova {

enum class MessageIcon { Critical, Information, Warning };

// The button of a Yes/No question that Enter presses before the user moves the focus.
enum class DefaultAnswer { Yes, No };

enum class FileDialogKind { Open, Save };

// What a file dialog shows and allows. Name filters are in Qt's form ("desc (*.a *.b)");
// selectedFilter is a 0-based index into them.
struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  QWidget* owner = nullptr;  // null: the owner the Prompts object was made with
  QString title;
  QString startFolder;
  QString initialName;  // a bare name, or a full path whose folder then wins over startFolder
  QStringList nameFilters;
  int selectedFilter = 0;
  bool multiSelect = false;      // open dialogs only
  bool overwritePrompt = false;  // save dialogs: ask before an existing file is chosen
  bool fileMustExist = false;    // only existing files can be chosen
  bool pathMustExist = false;    // the chosen file's folder must exist
  QString defaultSuffix;         // without the dot; appended to a typed name that has none

  friend bool operator==(const FileDialogRequest&, const FileDialogRequest&) = default;
};

// The user's choice: absolute paths (one unless multiSelect) and the 0-based index of the
// name filter shown when the dialog was closed.
struct FileDialogAnswer {
  QStringList paths;
  int filterIndex = 0;
};

class Prompts {
 public:
  virtual ~Prompts() = default;

  virtual void Message(const QString& text, const QString& title, MessageIcon icon) = 0;
  // True for Yes.
  virtual bool Question(const QString& text, const QString& title, DefaultAnswer preselected) = 0;
  // The text typed (untrimmed), or nullopt when the user cancelled.
  virtual std::optional<QString> InputText(const QString& prompt, const QString& title,
                                           const QString& defaultText) = 0;
  virtual std::optional<FileDialogAnswer> FileDialog(const FileDialogRequest& request) = 0;
  // An existing folder, or nullopt when the user cancelled.
  virtual std::optional<QString> ChooseFolder(const QString& title, const QString& startFolder) = 0;
};

}  // namespace lyrova
