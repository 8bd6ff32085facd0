#include "scanner/engine/mounttable.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace lyrova {
namespace {

// Undoes the octal escapes (\040 blank, \011 tab, \012 newline, \134 backslash) of a field.
QString Unescape(QByteArrayView field) {
  QByteArray bytes;
  bytes.reserve(field.size());
  for (qsizetype i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (c == '\\' && i + 3 < field.size()) {
      const char a = field[i + 1], b = field[i + 2], d = field[i + 3];
      if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && d >= '0' && d <= '7') {
        bytes.append(static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (d - '0')));
        i += 3;
        continue;
      }
    }
    bytes.append(c);
  }
  return QFile::decodeName(bytes);
}

std::optional<MountEntry> ParseLine(QByteArrayView line) {
  // id parent major:minor root mount-point options [optional fields...] - type source options
  QList<QByteArrayView> fields;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= line.size(); ++i) {
    if (i == line.size() || line[i] == ' ') {
      if (i > start) fields.append(line.sliced(start, i - start));
      start = i + 1;
    }
  }
  if (fields.size() < 9) return std::nullopt;
  qsizetype dash = -1;
  for (qsizetype i = 6; i < fields.size(); ++i) {
    if (fields[i] == "-") {
      dash = i;
      break;
    }
  }
  if (dash < 0 || dash + 1 >= fields.size()) return std::nullopt;
  const QByteArrayView device = fields[2];
  const qsizetype colon = device.indexOf(':');
  if (colon <= 0) return std::nullopt;
  bool okMajor = false;
  bool okMinor = false;
  MountEntry entry;
  entry.major = device.first(colon).toByteArray().toInt(&okMajor);
  entry.minor = device.sliced(colon + 1).toByteArray().toInt(&okMinor);
  if (!okMajor || !okMinor) return std::nullopt;
  entry.fsRoot = Unescape(fields[3]);
  entry.mountPoint = Unescape(fields[4]);
  entry.fsType = Unescape(fields[dash + 1]);
  if (dash + 2 < fields.size()) entry.source = Unescape(fields[dash + 2]);
  if (!entry.mountPoint.startsWith(u'/')) return std::nullopt;
  return entry;
}

bool IsAtOrBelow(const QString& path, const QString& folder) {
  return path == folder || path.startsWith(folder + u'/');
}

// fsRoot `inner` is `outer` or lies inside it.
bool RootCovers(const QString& outer, const QString& inner) {
  return outer == u"/" || IsAtOrBelow(inner, outer);
}

bool IsPseudoType(const QString& type) {
  static const QSet<QString> kPseudo = {
      QStringLiteral("proc"),      QStringLiteral("sysfs"),       QStringLiteral("cgroup"),
      QStringLiteral("cgroup2"),   QStringLiteral("devpts"),      QStringLiteral("devtmpfs"),
      QStringLiteral("mqueue"),    QStringLiteral("debugfs"),     QStringLiteral("tracefs"),
      QStringLiteral("securityfs"), QStringLiteral("pstore"),     QStringLiteral("bpf"),
      QStringLiteral("autofs"),    QStringLiteral("configfs"),    QStringLiteral("fusectl"),
      QStringLiteral("hugetlbfs"), QStringLiteral("binfmt_misc"), QStringLiteral("efivarfs"),
      QStringLiteral("rpc_pipefs"), QStringLiteral("nsfs"),       QStringLiteral("selinuxfs"),
      QStringLiteral("squashfs"),  QStringLiteral("nfsd"),
      QStringLiteral("fuse.portal"), QStringLiteral("fuse.lxcfs")};
  return kPseudo.contains(type);
}

}  // namespace

QList<MountEntry> ParseMountInfo(QByteArrayView text) {
  QList<MountEntry> entries;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n') {
      if (i > start) {
        if (auto entry = ParseLine(text.sliced(start, i - start))) entries.append(*entry);
      }
      start = i + 1;
    }
  }
  return entries;
}

std::optional<DriveType> ClassifyMount(const MountEntry& entry, const RemovableQuery& removable) {
  const QString& type = entry.fsType;
  const QString& point = entry.mountPoint;
  if (IsPseudoType(type)) return std::nullopt;
  for (const QString& kernelView : {QStringLiteral("/proc"), QStringLiteral("/sys"),
                                   QStringLiteral("/dev")}) {
    if (IsAtOrBelow(point, kernelView)) return std::nullopt;
  }
  if (type == u"overlay" || type == u"aufs" || type == u"unionfs") {
    if (point == u"/") return DriveType::Fixed;
    return std::nullopt;
  }
  if (type == u"iso9660" || type == u"udf") return DriveType::Optical;
  if (type == u"tmpfs" || type == u"ramfs") return DriveType::Ram;
  static const QSet<QString> kRemote = {
      QStringLiteral("nfs"),    QStringLiteral("nfs4"),      QStringLiteral("cifs"),
      QStringLiteral("smb3"),   QStringLiteral("smbfs"),     QStringLiteral("sshfs"),
      QStringLiteral("ceph"),   QStringLiteral("glusterfs"), QStringLiteral("9p"),
      QStringLiteral("virtiofs"), QStringLiteral("davfs"),   QStringLiteral("afs"),
      QStringLiteral("ncpfs"),  QStringLiteral("coda")};
  if (kRemote.contains(type)) return DriveType::Remote;
  // FUSE file systems of a local block device (ntfs-3g, exfat-fuse) say "fuseblk"; the other
  // FUSE types are network or gateway file systems.
  if (type.startsWith(u"fuse.") || type == u"fuse") return DriveType::Remote;
  if (IsAtOrBelow(point, QStringLiteral("/media")) || IsAtOrBelow(point, QStringLiteral("/run/media")))
    return DriveType::Removable;
  if (entry.major != 0 && removable && removable(entry.major, entry.minor))
    return DriveType::Removable;
  return DriveType::Fixed;
}

QList<QString> MountPoints(const QList<MountEntry>& entries) {
  QList<QString> points;
  QSet<QString> seen;
  for (const MountEntry& entry : entries) {
    QString point = entry.mountPoint;
    if (!point.endsWith(u'/')) point += u'/';
    if (!seen.contains(point)) {
      seen.insert(point);
      points.append(point);
    }
  }
  return points;
}

QList<ScanRoot> MountRoots(const QList<MountEntry>& entries, const RemovableQuery& removable) {
  // The last entry of a mount point is the one visible there.
  QHash<QString, qsizetype> lastAt;
  for (qsizetype i = 0; i < entries.size(); ++i) lastAt.insert(entries[i].mountPoint, i);

  struct Candidate {
    const MountEntry* entry;
    DriveType type;
  };
  QList<Candidate> candidates;
  for (qsizetype i = 0; i < entries.size(); ++i) {
    if (lastAt.value(entries[i].mountPoint) != i) continue;
    if (const auto type = ClassifyMount(entries[i], removable))
      candidates.append({&entries[i], *type});
  }
  // Prefer the widest view of each file system; among equal views the shortest mount point.
  std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    if (a.entry->fsRoot.size() != b.entry->fsRoot.size())
      return a.entry->fsRoot.size() < b.entry->fsRoot.size();
    return a.entry->mountPoint < b.entry->mountPoint;
  });
  QList<ScanRoot> roots;
  QList<const MountEntry*> kept;
  for (const Candidate& candidate : candidates) {
    const MountEntry& entry = *candidate.entry;
    // Anonymous devices (0:N: tmpfs, network file systems) are told apart by their minor
    // number too, so the same test holds for them.
    const bool covered =
        std::any_of(kept.cbegin(), kept.cend(), [&entry](const MountEntry* k) {
          return k->major == entry.major && k->minor == entry.minor &&
                 RootCovers(k->fsRoot, entry.fsRoot);
        });
    if (covered) continue;
    kept.append(&entry);
    roots.append({entry.mountPoint, candidate.type});
  }
  std::sort(roots.begin(), roots.end(),
            [](const ScanRoot& a, const ScanRoot& b) { return a.path < b.path; });
  return roots;
}

bool BlockDeviceIsRemovable(int major, int minor) {
  const QString device = QStringLiteral("/sys/dev/block/%1:%2").arg(major).arg(minor);
  const QString flags[] = {device + QStringLiteral("/removable"),
                           device + QStringLiteral("/../removable")};
  for (const QString& flag : flags) {
    QFile file(flag);
    if (file.open(QIODevice::ReadOnly)) return file.readAll().trimmed() == "1";
  }
  return false;
}

QList<MountEntry> ReadMountTable() {
  QFile file(QStringLiteral("/proc/self/mountinfo"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  // A /proc file reports no size; readAll reads it to the end.
  return ParseMountInfo(file.readAll());
}

}  // namespace lyrova
