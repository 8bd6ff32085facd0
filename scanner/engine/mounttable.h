#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The roots a drive scan walks, taken from the mount table (/proc/self/mountinfo). Every real
// mounted file system is a root and gets the kind of drive it stands for; kernel and other
// pseudo file systems are never roots.
namespace lyrova {

// The drive kinds a scan can leave out, numbered as the classic drive types.
enum class DriveType {
  Unknown = 0,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  Optical = 5,
  Ram = 6,
};

// One line of the mount table, with the escapes of the text form ("\040" for a blank) undone.
struct MountEntry {
  int major = 0;
  int minor = 0;
  QString fsRoot;      // the folder of the file system that is mounted ("/" for all of it)
  QString mountPoint;  // where it is mounted
  QString fsType;      // "ext4", "nfs4", "fuse.sshfs", ...
  QString source;      // "/dev/sda1", "server:/export", ...

  friend bool operator==(const MountEntry&, const MountEntry&) = default;
};

struct ScanRoot {
  QString path;  // a mount point, without a trailing "/" except for "/" itself
  DriveType type = DriveType::Unknown;

  friend bool operator==(const ScanRoot&, const ScanRoot&) = default;
};

// The entries of a mountinfo text, in table order; malformed lines are left out.
QList<MountEntry> ParseMountInfo(QByteArrayView text);

// Whether the block device major:minor is a removable medium.
using RemovableQuery = std::function<bool(int major, int minor)>;

// The drive kind of one mount, or nullopt when it is never a root: pseudo file systems
// (proc, sysfs, cgroup, devpts, ...), package images (squashfs), anything mounted at or below
// /proc, /sys or /dev, and overlay/union mounts other than "/" (those are container layers;
// "/" itself is the container's one real root).
std::optional<DriveType> ClassifyMount(const MountEntry& entry, const RemovableQuery& removable);

// The scan roots of a mount table, ordered by path: classified mounts that are visible (a
// mount point mounted over again counts only with its last entry) and not already reachable
// from another root (the same file system mounted twice, or a bind mount of a folder of a
// file system that is mounted whole elsewhere).
QList<ScanRoot> MountRoots(const QList<MountEntry>& entries, const RemovableQuery& removable);

// All mount points of the table that are visible, each ending in "/". A scan never enters one
// from above; it reaches them only as roots of their own.
QList<QString> MountPoints(const QList<MountEntry>& entries);

// The real query: the device's (or for a partition, its disk's) "removable" flag in /sys.
bool BlockDeviceIsRemovable(int major, int minor);

// The mount table of this process; an empty list when it cannot be read.
QList<MountEntry> ReadMountTable();

}  // namespace lyrova
