#pragma once

// Records the events of a DrvScan as text: "D:<dir>" for FindingDir, "N:<dir>><name>" for
// FindingName, with the tree's root written as "$" so tables read like paths.

#include "scanner/engine/drvscan.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class ScanRecorder {
 public:
  ScanRecorder(lyrova::DrvScan& scan, const QString& root) : root_(root) {
    QObject::connect(&scan, &lyrova::DrvScan::FindingDir, [this](const QString& dir) {
      events.append(QStringLiteral("D:") + Short(dir));
      if (onDir) onDir(dir);
    });
    QObject::connect(&scan, &lyrova::DrvScan::FindingName,
                     [this](const QString& dir, const QString& name) {
                       events.append(QStringLiteral("N:") + Short(dir) + u'>' + name);
                       if (onName) onName(dir, name);
                     });
  }

  QString Short(const QString& path) const {
    return path.startsWith(root_) ? u'$' + path.mid(root_.size()) : path;
  }
  int Count(QChar kind) const {
    int n = 0;
    for (const QString& event : events) n += event.startsWith(kind) ? 1 : 0;
    return n;
  }

  QStringList events;
  std::function<void(const QString&)> onDir;
  std::function<void(const QString&, const QString&)> onName;

 private:
  QString root_;
};
