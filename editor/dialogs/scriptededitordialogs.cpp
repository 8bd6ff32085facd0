#include "editor/dialogs/scriptededitordialogs.h"

#include <QTest>

#include <algorithm>

namespace lyrova {

namespace {

const char* KindName(EditorDialogKind kind) {
  switch (kind) {
    case EditorDialogKind::Chooser: return "new-or-clear chooser";
    case EditorDialogKind::Offset: return "offset dialog";
    case EditorDialogKind::Layout: return "layout dialog";
    case EditorDialogKind::About: return "About box";
  }
  return "dialog";
}

}  // namespace

int ScriptedEditorDialogs::CallCount(EditorDialogKind kind) const {
  return static_cast<int>(
      std::count_if(calls_.cbegin(), calls_.cend(), [kind](const EditorDialogCall& c) { return c.kind == kind; }));
}

void ScriptedEditorDialogs::FailUnanswered(EditorDialogKind kind) {
  unanswered_ = true;
  const QByteArray message = QByteArray("ScriptedEditorDialogs: no scripted answer for the ") + KindName(kind);
  if (QTest::currentTestFunction() == nullptr) qFatal("%s", message.constData());
  QTest::qFail(message.constData(), __FILE__, __LINE__);
}

ChooserResult ScriptedEditorDialogs::ChooseNewOrClear(QWidget* owner, int lastChoice) {
  calls_ << EditorDialogCall{EditorDialogKind::Chooser, owner, lastChoice, false};
  const ChooserResult cancelled{true, lastChoice};
  if (choosers_.isEmpty()) {
    FailUnanswered(EditorDialogKind::Chooser);
    return cancelled;
  }
  return choosers_.dequeue().value_or(cancelled);
}

OffsetResult ScriptedEditorDialogs::AskOffset(QWidget* owner) {
  calls_ << EditorDialogCall{EditorDialogKind::Offset, owner, 0, false};
  if (offsets_.isEmpty()) {
    FailUnanswered(EditorDialogKind::Offset);
    return OffsetResult{};
  }
  return offsets_.dequeue();
}

LayoutResult ScriptedEditorDialogs::ChooseLayout(QWidget* owner, bool compressed) {
  calls_ << EditorDialogCall{EditorDialogKind::Layout, owner, 0, compressed};
  const LayoutResult cancelled{true, compressed};
  if (layouts_.isEmpty()) {
    FailUnanswered(EditorDialogKind::Layout);
    return cancelled;
  }
  return layouts_.dequeue().value_or(cancelled);
}

void ScriptedEditorDialogs::ShowAbout(QWidget* owner) {
  calls_ << EditorDialogCall{EditorDialogKind::About, owner, 0, false};
}

}  // namespace lyrova
