#pragma once

// A throw-away file tree for the dialog tests, made inside the test's private data folder so that
// files moved to the trash stay on the same file system as the trash. Paths in the tables use
// "$" for the root; "$/data" is the Player's data folder (list files, built-in "Lrc" folder).

#include "common/textlines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

inline QStringList L(const QString& items) {
  return items.isEmpty() ? QStringList() : items.split(u'|');
}

class DialogTree {
 public:
  DialogTree() : dir_(Base() + QStringLiteral("/tree-XXXXXX")) { QDir().mkpath(DataFolder()); }

  bool IsValid() const { return dir_.isValid(); }
  QString Root() const { return dir_.path(); }
  QString DataFolder() const { return Root() + QStringLiteral("/data"); }

  QString X(const QString& text) const {
    QString expanded = text;
    return expanded.replace(u'$', Root());
  }
  QStringList X(const QStringList& texts) const {
    QStringList expanded;
    for (const QString& text : texts) expanded.append(X(text));
    return expanded;
  }
  // The root replaced by "$" again, for comparing with the tables.
  QString Unx(const QString& path) const {
    QString folded = path;
    return folded.replace(Root(), QStringLiteral("$"));
  }
  QStringList Unx(const QStringList& paths) const {
    QStringList folded;
    for (const QString& path : paths) folded.append(Unx(path));
    return folded;
  }

  // Each entry: a folder when it ends in "/", else a file holding its own name (folders made as
  // needed).
  bool Make(const QStringList& entries) const {
    for (const QString& entry : entries) {
      const QString path = X(entry);
      if (path.endsWith(u'/')) {
        if (!QDir().mkpath(path)) return false;
        continue;
      }
      if (!QDir().mkpath(QFileInfo(path).path())) return false;
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly) || file.write(entry.toUtf8()) < 0) return false;
    }
    return true;
  }

  bool WriteSearchDirs(const QStringList& lines) const {
    return lyrova::WriteTextLines(DataFolder() + QStringLiteral("/LrcDir.ini"), X(lines));
  }
  QStringList SearchDirLines() const {
    return Unx(lyrova::ReadTextLines(DataFolder() + QStringLiteral("/LrcDir.ini")).value_or(QStringList()));
  }
  bool WriteLinks(const QStringList& lines) const {
    return lyrova::WriteTextLines(DataFolder() + QStringLiteral("/LrcLink.ini"), X(lines));
  }
  // The lines of "LrcLink.ini"; {"<missing>"} when there is no such file.
  QStringList LinkLines() const {
    const auto lines = lyrova::ReadTextLines(DataFolder() + QStringLiteral("/LrcLink.ini"));
    return lines ? Unx(*lines) : QStringList{QStringLiteral("<missing>")};
  }

  static QString TrashRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Trash");
  }
  static QString TrashFolder() { return TrashRoot() + QStringLiteral("/files"); }

 private:
  static QString Base() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(base);
    return base;
  }

  QTemporaryDir dir_;
};
