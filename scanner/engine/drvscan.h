#pragma once

#include "scanner/engine/mounttable.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// The scan object of the Scanner. It walks every suitable drive (DriveScan) or the tree below
// one folder (DirScan), raises FindingDir for each directory it enters and FindingName for each
// entry matching ScanName, and can be stopped at any moment.
//
// Threading and re-entrancy: everything runs on the caller's thread; the signals are emitted
// synchronously from inside DriveScan/DirScan. Between steps the scan calls the yield function
// (at most every yield interval), in which the owner lets window events run; handlers of those
// events, and the signal handlers, may call StopScan and SkipIsDirFile. A start request while a
// scan runs, or while a stopped scan is still unwinding, is ignored.
//
// Order within one tree: a directory's FindingDir, then its matching entries, then each of its
// subdirectories in listing order (pre-order). Directories whose names start with "." are not
// entered, symbolic links are never followed, and no walk crosses into another mount.
namespace lyrova {

class TreeWalker;

class DrvScan : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool RemovalFloppyDisk READ RemovalFloppyDisk WRITE SetRemovalFloppyDisk)
  Q_PROPERTY(bool RemovalHardDisk READ RemovalHardDisk WRITE SetRemovalHardDisk)
  Q_PROPERTY(bool RemovalCdrom READ RemovalCdrom WRITE SetRemovalCdrom)
  Q_PROPERTY(bool RemovalRamDisk READ RemovalRamDisk WRITE SetRemovalRamDisk)
  Q_PROPERTY(bool RemovalRemoteDisk READ RemovalRemoteDisk WRITE SetRemovalRemoteDisk)
  Q_PROPERTY(QString ScanPath READ ScanPath WRITE SetScanPath)
  Q_PROPERTY(QString ScanName READ ScanName WRITE SetScanName)

 public:
  // The mount table the roots and the mount points come from (the real one by default).
  using MountSource = std::function<QList<MountEntry>()>;
  using YieldFunction = std::function<void()>;

  explicit DrvScan(QObject* parent = nullptr);
  ~DrvScan() override;

  // True: leave out drives of that kind in DriveScan.
  bool RemovalFloppyDisk() const { return removalFloppyDisk_; }
  void SetRemovalFloppyDisk(bool skip) { removalFloppyDisk_ = skip; }
  bool RemovalHardDisk() const { return removalHardDisk_; }
  void SetRemovalHardDisk(bool skip) { removalHardDisk_ = skip; }
  bool RemovalCdrom() const { return removalCdrom_; }
  void SetRemovalCdrom(bool skip) { removalCdrom_ = skip; }
  bool RemovalRamDisk() const { return removalRamDisk_; }
  void SetRemovalRamDisk(bool skip) { removalRamDisk_ = skip; }
  bool RemovalRemoteDisk() const { return removalRemoteDisk_; }
  void SetRemovalRemoteDisk(bool skip) { removalRemoteDisk_ = skip; }
  QString ScanPath() const { return scanPath_; }
  void SetScanPath(const QString& path) { scanPath_ = path; }
  QString ScanName() const { return scanName_; }
  void SetScanName(const QString& pattern) { scanName_ = pattern; }

  // Scans every root of the mount table whose drive kind is not excluded, in path order.
  // Returns when all are done or the scan was stopped. Nothing happens when ScanName is empty.
  void DriveScan();
  // Scans the tree below ScanPath (a "/" is appended when missing). With an empty ScanName
  // only the directories are reported.
  void DirScan();
  // Scans the trees below each of `folders` in turn, by the rules of the drive scan: below a
  // folder no link is followed, no folder starting with "." entered and no other mount
  // crossed. A named folder may itself be a mount point, or a link: then it is walked, and
  // reported, under the real path it leads to. A name that is not a folder is passed over.
  // Nothing happens when ScanName is empty.
  void FolderScan(const QStringList& folders);
  // Ends the running scan: no further events. Safe when no scan runs.
  void StopScan();
  // From a FindingName handler: the directory's remaining matches are not reported.
  void SkipIsDirFile();

  // True from the start of a scan until it has returned, stopped or not.
  bool IsBusy() const { return busy_; }

  // Test and benchmark seams.
  void SetMountSource(MountSource source) { mountSource_ = std::move(source); }
  void SetRemovableQuery(RemovableQuery query) { removable_ = std::move(query); }
  // `yield` runs when at least `intervalMs` have passed since it last ran.
  void SetYield(YieldFunction yield, int intervalMs = 10);

 signals:
  void FindingDir(const QString& directory);
  void FindingName(const QString& directory, const QString& name);

 private:
  class Owner;
  bool Excluded(DriveType type) const;
  // Walks the tree below `root` (ending in "/"), every mount point of `table` below it a
  // boundary.
  static void WalkFolder(TreeWalker& walker, const QList<MountEntry>& table, const QString& root);
  void Yield();
  // Sets up the walker for one scan; false when a scan is already busy.
  bool BeginScan();
  void EndScan();

  bool removalFloppyDisk_ = false;
  bool removalHardDisk_ = false;
  bool removalCdrom_ = false;
  bool removalRamDisk_ = false;
  bool removalRemoteDisk_ = false;
  QString scanPath_;
  QString scanName_;

  bool scanning_ = false;
  bool skip_ = false;
  bool busy_ = false;
  MountSource mountSource_;
  RemovableQuery removable_;
  YieldFunction yield_;
  int yieldIntervalMs_ = 10;
  QElapsedTimer sinceYield_;
  friend class Owner;
};

}  // namespace lyrova
