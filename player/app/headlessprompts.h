#pragma once

#include "common/prompts/prompts.h"

// What the Player asks when there is no display: nobody can answer, so every message goes to
// standard error and every question takes the answer that changes nothing (No, cancel).
namespace lyrova {

class HeadlessPrompts : public Prompts {
 public:
  void Message(const QString& text, const QString& title, MessageIcon icon) override;
  bool Question(const QString& text, const QString& title, DefaultAnswer preselected) override;
  std::optional<QString> InputText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override;
  std::optional<FileDialogAnswer> FileDialog(const FileDialogRequest& request) override;
  std::optional<QString> ChooseFolder(const QString& title, const QString& startFolder) override;
};

// One line on standard error: "lyrova: " + text.
void TellOnStandardError(const QString& text);

}  // namespace lyrova
