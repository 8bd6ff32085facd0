#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

#include <sys/types.h>

#include <string>
#include <vector>

#include "scanner/engine/namepattern.h"

// The walk of one directory tree for DrvScan: pre-order, each directory reported, then its
// matching entries, then its subdirectories in listing order. It never recurses on the C++
// stack (an explicit stack of open directories), never follows a symbolic link, never enters
// another mount and skips every directory whose name starts with ".".
namespace lyrova {

// What the walk reports to and asks of its owner. All calls come from inside Walk().
class WalkOwner {
 public:
  virtual ~WalkOwner() = default;
  // False once the scan was stopped: the walk then returns without another report.
  virtual bool Scanning() const = 0;
  virtual void EnterDir(const QString& directory) = 0;
  virtual void ReportName(const QString& directory, const QString& name) = 0;
  // The skip request of SkipIsDirFile: cleared before a directory's matches are reported,
  // taken (and cleared) before each one.
  virtual void ClearSkip() = 0;
  virtual bool TakeSkip() = 0;
  // A point where the owner may let window events run. Called at every directory and at
  // least every few dozen entries.
  virtual void Tick() = 0;
};

class TreeWalker {
 public:
  TreeWalker(WalkOwner& owner, const NamePattern& pattern);
  ~TreeWalker();
  TreeWalker(const TreeWalker&) = delete;
  TreeWalker& operator=(const TreeWalker&) = delete;

  // Folders (each ending in "/") the walk does not enter from above: the other mount points.
  void SetMountPoints(QSet<QByteArray> mountPoints) { mountPoints_ = std::move(mountPoints); }

  // Walks the tree below `root` (which ends in "/"). The root itself may be a symbolic link.
  void Walk(const QString& root);

 private:
  struct Frame {
    int fd = -1;  // -1 while closed to bound the number of open descriptors
    dev_t dev = 0;
    ino_t ino = 0;
    qsizetype pathLength = 0;  // length of path_ for this directory, trailing "/" included
    std::string subdirs;       // names, each ended by '\0', in listing order
    std::size_t next = 0;      // offset of the next name in `subdirs`
  };

  // Reports the directory at path_ (open as `fd`) and its matches, and gathers its
  // subdirectories into `frame`. False when the scan was stopped meanwhile.
  bool Visit(int fd, Frame& frame);
  void Descend(std::vector<Frame>& stack);
  void Ascend(std::vector<Frame>& stack);
  QString CurrentDir() const;

  WalkOwner& owner_;
  const NamePattern& pattern_;
  QSet<QByteArray> mountPoints_;
  QByteArray path_;
  dev_t rootDev_ = 0;
  std::vector<char> buffer_;
  std::string matches_;
  int sinceTick_ = 0;
};

}  // namespace lyrova
