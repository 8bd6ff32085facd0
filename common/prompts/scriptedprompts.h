#pragma once

#include "common/prompts/prompts.h"

#include <QList>
#include <QQueue>

// Prompts for tests: answers come from queues the test fills beforehand, one queue per kind
// of answer, and everything shown is recorded in order. A prompt that finds no scripted
// answer fails the running QtTest function (QTest::qFail, with what was asked) and gets the
// safe answer: No, cancelled. Nothing ever blocks.
namespace lyrova {

enum class PromptKind { Message, Question, TextInput, OpenFile, SaveFile, Folder };

struct ShownPrompt {
  PromptKind kind = PromptKind::Message;
  QString title;
  QString text;  // message or question text, input prompt
  MessageIcon icon = MessageIcon::Information;     // messages
  DefaultAnswer preselected = DefaultAnswer::No;   // questions
  QString defaultText;                             // text inputs
  QString startFolder;                             // folder picker
  FileDialogRequest request;                       // file dialogs
};

class ScriptedPrompts : public Prompts {
 public:
  void AnswerQuestion(bool yes) { questions_.enqueue(yes); }
  void AnswerText(const QString& text) { texts_.enqueue(text); }
  void CancelText() { texts_.enqueue(std::nullopt); }
  // Open and save dialogs share one queue.
  void AnswerFiles(const QStringList& paths, int filterIndex = 0) {
    files_.enqueue(FileDialogAnswer{paths, filterIndex});
  }
  void CancelFileDialog() { files_.enqueue(std::nullopt); }
  void AnswerFolder(const QString& folder) { folders_.enqueue(folder); }
  void CancelFolder() { folders_.enqueue(std::nullopt); }

  const QList<ShownPrompt>& Shown() const { return shown_; }
  // The number of prompts of one kind shown so far.
  int ShownCount(PromptKind kind) const;
  // The last prompt shown; a default record when none was.
  ShownPrompt Last() const { return shown_.isEmpty() ? ShownPrompt{} : shown_.last(); }
  // Scripted answers not yet used.
  int PendingAnswers() const;
  // True once a prompt was shown without an answer for it.
  bool Unanswered() const { return unanswered_; }
  void ClearShown() { shown_.clear(); }

  void Message(const QString& text, const QString& title, MessageIcon icon) override;
  bool Question(const QString& text, const QString& title, DefaultAnswer preselected) override;
  std::optional<QString> InputText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override;
  std::optional<FileDialogAnswer> FileDialog(const FileDialogRequest& request) override;
  std::optional<QString> ChooseFolder(const QString& title, const QString& startFolder) override;

 private:
  void FailUnanswered(const ShownPrompt& prompt);

  QList<ShownPrompt> shown_;
  QQueue<bool> questions_;
  QQueue<std::optional<QString>> texts_;
  QQueue<std::optional<FileDialogAnswer>> files_;
  QQueue<std::optional<QString>> folders_;
  bool unanswered_ = false;
};

}  // namespace lyrova
