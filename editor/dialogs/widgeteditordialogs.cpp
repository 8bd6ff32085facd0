#include "editor/dialogs/widgeteditordialogs.h"

#include "common/ui/widgetprompts.h"
#include "editor/dialogs/aboutdialog.h"
#include "editor/dialogs/chooserdialog.h"
#include "editor/dialogs/layoutdialog.h"
#include "editor/dialogs/offsetdialog.h"

namespace lyrova {

ChooserResult WidgetEditorDialogs::ChooseNewOrClear(QWidget* owner, int lastChoice) {
  ChooserDialog dialog(lastChoice, owner);
  dialog.exec();
  return dialog.Result();
}

OffsetResult WidgetEditorDialogs::AskOffset(QWidget* owner) {
  WidgetPrompts ownPrompts;
  OffsetDialog dialog(prompts_ != nullptr ? *prompts_ : ownPrompts, owner);
  ownPrompts.SetParent(&dialog);
  dialog.exec();
  return dialog.Result();
}

LayoutResult WidgetEditorDialogs::ChooseLayout(QWidget* owner, bool compressed) {
  LayoutDialog dialog(compressed, owner);
  dialog.exec();
  return dialog.Result();
}

void WidgetEditorDialogs::ShowAbout(QWidget* owner) {
  AboutDialog dialog(aboutExtraLines_, owner);
  dialog.exec();
}

}  // namespace lyrova
