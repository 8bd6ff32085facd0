#include "player/lookup/folderwatch.h"

#include <QFile>

#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>

namespace lyrova {
namespace {

constexpr uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr uint32_t kGoneMask = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

}  // namespace

FolderWatch::FolderWatch() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FolderWatch::~FolderWatch() {
  if (fd_ >= 0) ::close(fd_);
}

int FolderWatch::Add(const QString& dir, bool fileWrites) {
  if (fd_ < 0) return -1;
  return ::inotify_add_watch(fd_, QFile::encodeName(dir).constData(),
                             kWatchMask | (fileWrites ? IN_CLOSE_WRITE : 0));
}

void FolderWatch::Drain(QList<Notice>* notices, bool* overflow) {
  if (fd_ < 0) return;
  alignas(struct inotify_event) char buffer[16 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    for (ssize_t offset = 0; offset < got;) {
      const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + offset);
      offset += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
      if (event->mask & IN_Q_OVERFLOW) {
        *overflow = true;
        continue;
      }
      Notice notice;
      notice.watch = event->wd;
      notice.gone = (event->mask & kGoneMask) != 0;
      if (event->len > 0) notice.name = QByteArray(event->name);
      notices->append(notice);
    }
  }
}

bool OnRemoteFileSystem(const QString& dir) {
  struct statfs info {};
  if (::statfs(QFile::encodeName(dir).constData(), &info) != 0) return true;
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969UL:      // NFS
    case 0x517BUL:      // SMB
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
    case 0x65735546UL:  // FUSE (sshfs, cloud drives, ...)
    case 0x01021997UL:  // 9P
    case 0x00C36400UL:  // Ceph
    case 0x5346414FUL:  // AFS
    case 0x6B414653UL:  // kAFS
    case 0x73757245UL:  // Coda
    case 0x47504653UL:  // GPFS
    case 0x013111A8UL:  // IBRIX
    case 0x0BD00BD0UL:  // Lustre
      return true;
    default:
      return false;
  }
}

}  // namespace lyrova
