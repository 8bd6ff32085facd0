#include "scanner/engine/drvscan.h"

#include "common/paths.h"
#include "scanner/engine/namepattern.h"
#include "scanner/engine/treewalk.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace lyrova {

// The walk's view of the scan object: the flags and the signals.
class DrvScan::Owner : public WalkOwner {
 public:
  explicit Owner(DrvScan& scan) : scan_(scan) {}
  bool Scanning() const override { return scan_.scanning_; }
  void EnterDir(const QString& directory) override { emit scan_.FindingDir(directory); }
  void ReportName(const QString& directory, const QString& name) override {
    emit scan_.FindingName(directory, name);
  }
  void ClearSkip() override { scan_.skip_ = false; }
  bool TakeSkip() override {
    const bool skip = scan_.skip_;
    scan_.skip_ = false;
    return skip;
  }
  void Tick() override { scan_.Yield(); }

 private:
  DrvScan& scan_;
};

DrvScan::DrvScan(QObject* parent)
    : QObject(parent), mountSource_(ReadMountTable), removable_(BlockDeviceIsRemovable) {}

DrvScan::~DrvScan() = default;

void DrvScan::SetYield(YieldFunction yield, int intervalMs) {
  yield_ = std::move(yield);
  yieldIntervalMs_ = intervalMs;
}

void DrvScan::Yield() {
  if (!yield_ || sinceYield_.elapsed() < yieldIntervalMs_) return;
  yield_();
  sinceYield_.restart();
}

bool DrvScan::Excluded(DriveType type) const {
  switch (type) {
    case DriveType::Removable: return removalFloppyDisk_;
    case DriveType::Fixed: return removalHardDisk_;
    case DriveType::Remote: return removalRemoteDisk_;
    case DriveType::Optical: return removalCdrom_;
    case DriveType::Ram: return removalRamDisk_;
    case DriveType::Unknown: return false;
  }
  return false;
}

bool DrvScan::BeginScan() {
  // busy_ also covers a stopped scan that has not unwound yet: a new one must not start
  // inside it, or the old one would resume when the new one sets the flag again.
  if (scanning_ || busy_) return false;
  scanning_ = true;
  busy_ = true;
  skip_ = false;
  sinceYield_.start();
  return true;
}

void DrvScan::EndScan() {
  scanning_ = false;
  busy_ = false;
}

namespace {

QSet<QByteArray> MountPointSet(const QList<MountEntry>& table) {
  QSet<QByteArray> points;
  for (const QString& point : MountPoints(table)) points.insert(QFile::encodeName(point));
  return points;
}

}  // namespace

void DrvScan::DriveScan() {
  if (!BeginScan()) return;
  if (scanName_.isEmpty()) {
    EndScan();
    return;
  }
  const QList<MountEntry> table = mountSource_ ? mountSource_() : QList<MountEntry>();
  const QList<ScanRoot> roots = MountRoots(table, removable_);
  const NamePattern pattern(scanName_);
  Owner owner(*this);
  TreeWalker walker(owner, pattern);
  walker.SetMountPoints(MountPointSet(table));
  for (const ScanRoot& root : roots) {
    Yield();
    if (!scanning_) break;
    if (Excluded(root.type)) continue;
    // A file can be mounted too (containers bind single files); it is no drive.
    if (!DirExists(root.path)) continue;
    walker.Walk(root.path);
  }
  EndScan();
}

void DrvScan::WalkFolder(TreeWalker& walker, const QList<MountEntry>& table, const QString& root) {
  QSet<QByteArray> points = MountPointSet(table);
  // The start folder may itself be a mount point; only the ones below it are boundaries.
  points.remove(QFile::encodeName(root));
  walker.SetMountPoints(std::move(points));
  walker.Walk(root);
}

void DrvScan::DirScan() {
  if (!BeginScan()) return;
  QString root = scanPath_;
  if (!root.endsWith(u'/')) root += u'/';
  const NamePattern pattern(scanName_);
  Owner owner(*this);
  TreeWalker walker(owner, pattern);
  WalkFolder(walker, mountSource_ ? mountSource_() : QList<MountEntry>(), root);
  EndScan();
}

void DrvScan::FolderScan(const QStringList& folders) {
  if (!BeginScan()) return;
  if (scanName_.isEmpty()) {
    EndScan();
    return;
  }
  const QList<MountEntry> table = mountSource_ ? mountSource_() : QList<MountEntry>();
  const NamePattern pattern(scanName_);
  Owner owner(*this);
  TreeWalker walker(owner, pattern);
  for (const QString& folder : folders) {
    Yield();
    if (!scanning_) break;
    // The mount table names real paths: a folder reached through a link is walked under its
    // real path, so that the mount points below it are known as such.
    const QString real = QFileInfo(folder).canonicalFilePath();
    if (real.isEmpty() || !DirExists(real)) continue;
    WalkFolder(walker, table, real.endsWith(u'/') ? real : real + u'/');
  }
  EndScan();
}

void DrvScan::StopScan() { scanning_ = false; }

void DrvScan::SkipIsDirFile() { skip_ = true; }

}  // namespace lyrova
