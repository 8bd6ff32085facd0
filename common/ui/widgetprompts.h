#pragma once

#include "common/prompts/prompts.h"

#include <QPointer>
#include <QWidget>

namespace lyrova {

// The real prompts: QMessageBox, QInputDialog and QFileDialog, owned by a parent window, with
// the button texts in Chinese. Each call runs a modal event loop and returns when the user
// has answered; the parent may be destroyed meanwhile (it is held weakly).
class WidgetPrompts : public Prompts {
 public:
  explicit WidgetPrompts(QWidget* parent = nullptr) : parent_(parent) {}

  void SetParent(QWidget* parent) { parent_ = parent; }
  QWidget* Parent() const { return parent_; }

  void Message(const QString& text, const QString& title, MessageIcon icon) override;
  bool Question(const QString& text, const QString& title, DefaultAnswer preselected) override;
  std::optional<QString> InputText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override;
  std::optional<FileDialogAnswer> FileDialog(const FileDialogRequest& request) override;
  std::optional<QString> ChooseFolder(const QString& title, const QString& startFolder) override;

 private:
  // Whether the chosen files can be taken: their folders exist when the request says so, and
  // the user agreed to replace an existing file. Tells the user why not.
  bool AcceptChoice(const FileDialogRequest& request, const QStringList& paths, QWidget* owner);

  QPointer<QWidget> parent_;
};

}  // namespace lyrova
