#pragma once

#include "editor/core/editordialogs.h"

#include <QStringList>

namespace lyrova {

class Prompts;

// The real dialogs, each made when asked for, shown modally over `owner` and destroyed when it
// closes. The offset dialog's messages go through the Prompts given at construction, or, by
// default, through message boxes over the offset dialog itself.
class WidgetEditorDialogs : public EditorDialogs {
 public:
  WidgetEditorDialogs() = default;
  explicit WidgetEditorDialogs(Prompts& prompts) : prompts_(&prompts) {}

  // Lines the About box shows below the version line, such as the main window's shortcuts.
  void SetAboutExtraLines(const QStringList& lines) { aboutExtraLines_ = lines; }
  const QStringList& AboutExtraLines() const { return aboutExtraLines_; }

  ChooserResult ChooseNewOrClear(QWidget* owner, int lastChoice) override;
  OffsetResult AskOffset(QWidget* owner) override;
  LayoutResult ChooseLayout(QWidget* owner, bool compressed) override;
  void ShowAbout(QWidget* owner) override;

 private:
  Prompts* prompts_ = nullptr;
  QStringList aboutExtraLines_;
};

}  // namespace lyrova
