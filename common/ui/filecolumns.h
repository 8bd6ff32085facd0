#pragma once

#include <QIdentityProxyModel>

class QFileDialog;

namespace lyrova {

// The file list of a QFileDialog with its size and date columns written in the default locale
// (Chinese in the programs) instead of the system locale QFileSystemModel uses, which under
// LANG=C gives "688 bytes" and "8 Dec 2026". The other columns and roles pass through.
class FileColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override;
};

// Puts a FileColumns between `dialog` and its file system model. Call before the dialog is shown.
void UseFileColumns(QFileDialog& dialog);

}  // namespace lyrova
