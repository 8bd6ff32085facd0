#include "common/prompts/scriptedprompts.h"

#include <QTest>

#include <algorithm>

namespace lyrova {

namespace {

const char* KindName(PromptKind kind) {
  switch (kind) {
    case PromptKind::Message: return "message";
    case PromptKind::Question: return "question";
    case PromptKind::TextInput: return "text input";
    case PromptKind::OpenFile: return "open-file dialog";
    case PromptKind::SaveFile: return "save-file dialog";
    case PromptKind::Folder: return "folder picker";
  }
  return "prompt";
}

}  // namespace

int ScriptedPrompts::ShownCount(PromptKind kind) const {
  return static_cast<int>(
      std::count_if(shown_.cbegin(), shown_.cend(), [kind](const ShownPrompt& p) { return p.kind == kind; }));
}

int ScriptedPrompts::PendingAnswers() const {
  return static_cast<int>(questions_.size() + texts_.size() + files_.size() + folders_.size());
}

void ScriptedPrompts::FailUnanswered(const ShownPrompt& prompt) {
  unanswered_ = true;
  const QByteArray message = QByteArray("ScriptedPrompts: no scripted answer for a ") + KindName(prompt.kind) +
                             " titled \"" + prompt.title.toUtf8() + "\": " + prompt.text.toUtf8();
  if (QTest::currentTestFunction() == nullptr) qFatal("%s", message.constData());
  QTest::qFail(message.constData(), __FILE__, __LINE__);
}

void ScriptedPrompts::Message(const QString& text, const QString& title, MessageIcon icon) {
  ShownPrompt shown;
  shown.kind = PromptKind::Message;
  shown.title = title;
  shown.text = text;
  shown.icon = icon;
  shown_ << shown;
}

bool ScriptedPrompts::Question(const QString& text, const QString& title, DefaultAnswer preselected) {
  ShownPrompt shown;
  shown.kind = PromptKind::Question;
  shown.title = title;
  shown.text = text;
  shown.preselected = preselected;
  shown_ << shown;
  if (questions_.isEmpty()) {
    FailUnanswered(shown);
    return false;
  }
  return questions_.dequeue();
}

std::optional<QString> ScriptedPrompts::InputText(const QString& prompt, const QString& title,
                                                  const QString& defaultText) {
  ShownPrompt shown;
  shown.kind = PromptKind::TextInput;
  shown.title = title;
  shown.text = prompt;
  shown.defaultText = defaultText;
  shown_ << shown;
  if (texts_.isEmpty()) {
    FailUnanswered(shown);
    return std::nullopt;
  }
  return texts_.dequeue();
}

std::optional<FileDialogAnswer> ScriptedPrompts::FileDialog(const FileDialogRequest& request) {
  ShownPrompt shown;
  shown.kind = request.kind == FileDialogKind::Save ? PromptKind::SaveFile : PromptKind::OpenFile;
  shown.title = request.title;
  shown.request = request;
  shown_ << shown;
  if (files_.isEmpty()) {
    FailUnanswered(shown);
    return std::nullopt;
  }
  return files_.dequeue();
}

std::optional<QString> ScriptedPrompts::ChooseFolder(const QString& title, const QString& startFolder) {
  ShownPrompt shown;
  shown.kind = PromptKind::Folder;
  shown.title = title;
  shown.startFolder = startFolder;
  shown_ << shown;
  if (folders_.isEmpty()) {
    FailUnanswered(shown);
    return std::nullopt;
  }
  return folders_.dequeue();
}

}  // namespace lyrova
