#include "player/app/headlessprompts.h"

#include <cstdio>

namespace lyrova {

void TellOnStandardError(const QString& text) {
  std::fputs(qPrintable(QStringLiteral("lyrova: ") + text + u'\n'), stderr);
  std::fflush(stderr);
}

void HeadlessPrompts::Message(const QString& text, const QString& title, MessageIcon) {
  TellOnStandardError(title + QStringLiteral(": ") + text);
}

bool HeadlessPrompts::Question(const QString& text, const QString& title, DefaultAnswer) {
  TellOnStandardError(title + QStringLiteral(": ") + text + QStringLiteral(" -> no (no display)"));
  return false;
}

std::optional<QString> HeadlessPrompts::InputText(const QString&, const QString&,
                                                  const QString&) {
  return std::nullopt;
}

std::optional<FileDialogAnswer> HeadlessPrompts::FileDialog(const FileDialogRequest&) {
  return std::nullopt;
}

std::optional<QString> HeadlessPrompts::ChooseFolder(const QString&, const QString&) {
  return std::nullopt;
}

}  // namespace lyrova
