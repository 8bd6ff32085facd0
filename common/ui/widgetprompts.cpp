#include "common/ui/widgetprompts.h"

#include "common/paths.h"
#include "common/prompts/namefilters.h"
#include "common/ui/filecolumns.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace lyrova {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: break;
  }
  return QMessageBox::Information;
}

void SetChineseLabels(QFileDialog& dialog, const QString& acceptText, const QString& nameLabel) {
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("查找范围:"));
  dialog.setLabelText(QFileDialog::FileName, nameLabel);
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型:"));
  dialog.setLabelText(QFileDialog::Accept, acceptText);
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
}

// The folder of an absolute path ("/" for a file in the root).
QString FolderOfPath(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  if (slash < 0) return {};
  return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

// The index of the filter QFileDialog reports as selected. With HideNameFilterDetails it
// reports the description only, so the first filter whose description matches is taken.
int ShownFilterIndex(const QStringList& shownFilters, const QString& selected) {
  const qsizetype exact = shownFilters.indexOf(selected);
  if (exact >= 0) return static_cast<int>(exact);
  for (qsizetype i = 0; i < shownFilters.size(); ++i) {
    const QString& filter = shownFilters.at(i);
    const qsizetype open = filter.lastIndexOf(u'(');
    if (filter.endsWith(u')') && open >= 0 && filter.left(open).trimmed() == selected.trimmed())
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

void WidgetPrompts::Message(const QString& text, const QString& title, MessageIcon icon) {
  QMessageBox box(ToQtIcon(icon), title, text, QMessageBox::Ok, parent_);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  box.exec();
}

bool WidgetPrompts::Question(const QString& text, const QString& title, DefaultAnswer preselected) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent_);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
  box.button(QMessageBox::No)->setText(QStringLiteral("否"));
  box.setDefaultButton(preselected == DefaultAnswer::Yes ? QMessageBox::Yes : QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<QString> WidgetPrompts::InputText(const QString& prompt, const QString& title,
                                                const QString& defaultText) {
  QInputDialog dialog(parent_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setTextValue(defaultText);
  dialog.setOkButtonText(QStringLiteral("确定"));
  dialog.setCancelButtonText(QStringLiteral("取消"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue();
}

bool WidgetPrompts::AcceptChoice(const FileDialogRequest& request, const QStringList& paths,
                                 QWidget* owner) {
  // The dialog itself checks existing files, but not the folder of a typed new name.
  WidgetPrompts ownerPrompts(owner);
  for (const QString& path : paths) {
    const QString folder = FolderOfPath(path);
    if (request.pathMustExist && !DirExists(folder)) {
      ownerPrompts.Message(QStringLiteral("文件夹 ") + folder + QStringLiteral(" 不存在。\n请检查路径是否正确。"),
                           request.title, MessageIcon::Warning);
      return false;
    }
  }
  if (request.kind == FileDialogKind::Save && request.overwritePrompt && FileExists(paths.first())) {
    return ownerPrompts.Question(paths.first() + QStringLiteral(" 已存在。\n要替换它吗？"), request.title,
                                 DefaultAnswer::No);
  }
  return true;
}

std::optional<FileDialogAnswer> WidgetPrompts::FileDialog(const FileDialogRequest& request) {
  QWidget* owner = request.owner ? request.owner : parent_.data();
  QFileDialog dialog(owner, request.title);
  UseFileColumns(dialog);
  const bool save = request.kind == FileDialogKind::Save;
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (!save && request.multiSelect)
    dialog.setFileMode(QFileDialog::ExistingFiles);
  else if (request.fileMustExist)
    dialog.setFileMode(QFileDialog::ExistingFile);
  else
    dialog.setFileMode(QFileDialog::AnyFile);
  // The overwrite question is asked in Chinese below; the details of each filter are patterns
  // folded for letter case, which the user need not read.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  SetChineseLabels(dialog, save ? QStringLiteral("保存") : QStringLiteral("打开"), QStringLiteral("文件名:"));

  QStringList shownFilters;
  for (const QString& filter : request.nameFilters) shownFilters << CaseInsensitiveNameFilter(filter);
  if (!shownFilters.isEmpty()) {
    dialog.setNameFilters(shownFilters);
    dialog.selectNameFilter(shownFilters.value(request.selectedFilter, shownFilters.first()));
  }
  if (DirExists(request.startFolder)) dialog.setDirectory(request.startFolder);
  if (!request.initialName.isEmpty()) {
    // A full path opens its own folder, as long as that folder exists.
    const bool fullPath = request.initialName.contains(u'/');
    if (!fullPath)
      dialog.selectFile(request.initialName);
    else if (DirExists(FolderOfPath(request.initialName)))
      dialog.selectFile(request.initialName);
    else
      dialog.selectFile(FileNamePart(request.initialName));
  }
  if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);

  while (dialog.exec() == QDialog::Accepted) {
    const QStringList paths = dialog.selectedFiles();
    if (paths.isEmpty()) continue;
    if (!AcceptChoice(request, paths, &dialog)) continue;
    FileDialogAnswer answer;
    answer.paths = paths;
    const int shown = ShownFilterIndex(shownFilters, dialog.selectedNameFilter());
    answer.filterIndex = shown >= 0 ? shown : request.selectedFilter;
    return answer;
  }
  return std::nullopt;
}

std::optional<QString> WidgetPrompts::ChooseFolder(const QString& title, const QString& startFolder) {
  QFileDialog dialog(parent_, title);
  UseFileColumns(dialog);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  SetChineseLabels(dialog, QStringLiteral("确定"), QStringLiteral("文件夹:"));
  if (DirExists(startFolder)) dialog.setDirectory(startFolder);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QString folder = dialog.selectedFiles().value(0);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

}  // namespace lyrova
