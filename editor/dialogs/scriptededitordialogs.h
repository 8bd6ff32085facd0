#pragma once

#include "editor/core/editordialogs.h"

#include <QList>
#include <QQueue>

#include <optional>

// EditorDialogs for tests: answers come from queues the test fills beforehand, one queue per
// dialog, and every call is recorded in order with what the caller passed in. A dialog that
// finds no scripted answer fails the running QtTest function (QTest::qFail, naming the dialog)
// and gets the cancel answer: cancelled, offset 0. Nothing ever blocks. The About box needs no
// answer; it is only recorded.
namespace lyrova {

enum class EditorDialogKind { Chooser, Offset, Layout, About };

struct EditorDialogCall {
  EditorDialogKind kind = EditorDialogKind::Chooser;
  QWidget* owner = nullptr;
  int lastChoice = 0;       // chooser: the preselection the caller asked for
  bool compressed = false;  // layout: the layout the dialog was opened on
};

class ScriptedEditorDialogs : public EditorDialogs {
 public:
  // The chooser closes with OK on `choice`.
  void AnswerChooser(int choice) { choosers_.enqueue(ChooserResult{false, choice}); }
  // The chooser is cancelled; the answer's choice is the lastChoice passed in.
  void CancelChooser() { choosers_.enqueue(std::nullopt); }
  // The offset dialog closes with OK on these values.
  void AnswerOffset(bool allTags, qint32 valueMs) { offsets_.enqueue(OffsetResult{allTags, valueMs}); }
  // The offset dialog is closed by its close box: all tags, 0 ms.
  void CloseOffset() { offsets_.enqueue(OffsetResult{}); }
  // The layout dialog closes with OK on `compressed`.
  void AnswerLayout(bool compressed) { layouts_.enqueue(LayoutResult{false, compressed}); }
  // The layout dialog is cancelled; the answer keeps the layout passed in.
  void CancelLayout() { layouts_.enqueue(std::nullopt); }

  const QList<EditorDialogCall>& Calls() const { return calls_; }
  int CallCount(EditorDialogKind kind) const;
  // The last call; a default record when there was none.
  EditorDialogCall Last() const { return calls_.isEmpty() ? EditorDialogCall{} : calls_.last(); }
  // Scripted answers not yet used.
  int PendingAnswers() const { return static_cast<int>(choosers_.size() + offsets_.size() + layouts_.size()); }
  // True once a dialog was asked for without an answer for it.
  bool Unanswered() const { return unanswered_; }
  void ClearCalls() { calls_.clear(); }

  ChooserResult ChooseNewOrClear(QWidget* owner, int lastChoice) override;
  OffsetResult AskOffset(QWidget* owner) override;
  LayoutResult ChooseLayout(QWidget* owner, bool compressed) override;
  void ShowAbout(QWidget* owner) override;

 private:
  void FailUnanswered(EditorDialogKind kind);

  QList<EditorDialogCall> calls_;
  QQueue<std::optional<ChooserResult>> choosers_;  // nullopt: cancelled
  QQueue<OffsetResult> offsets_;
  QQueue<std::optional<LayoutResult>> layouts_;  // nullopt: cancelled
  bool unanswered_ = false;
};

}  // namespace lyrova
