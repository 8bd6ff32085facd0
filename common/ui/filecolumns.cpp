#include "common/ui/filecolumns.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>

namespace lyrova {
namespace {

// QFileSystemModel's column order.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

}  // namespace

QVariant FileColumns::data(const QModelIndex& index, int role) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (files == nullptr || role != Qt::DisplayRole ||
      (index.column() != kSizeColumn && index.column() != kDateColumn))
    return QIdentityProxyModel::data(index, role);
  const QModelIndex source = mapToSource(index);
  if (index.column() == kSizeColumn) {
    // Folders have no size, as in the model's own column.
    if (files->isDir(source)) return QString();
    return QLocale().formattedDataSize(files->size(source));
  }
  const QDateTime modified = files->lastModified(source);
  return modified.isValid() ? QLocale().toString(modified, QLocale::ShortFormat) : QString();
}

void UseFileColumns(QFileDialog& dialog) { dialog.setProxyModel(new FileColumns(&dialog)); }

}  // namespace lyrova
