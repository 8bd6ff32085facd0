#include "scanner/engine/treewalk.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lyrova {
namespace {

// Directories deeper than this many levels above the current one have their descriptor closed
// and reopened through ".." on the way back, so any depth fits in the descriptor limit while
// ordinary trees never pay for the reopening.
constexpr std::size_t kOpenLevels = 64;
// The owner gets a Tick at least this often while a long listing is read.
constexpr int kTickEntries = 64;
constexpr std::size_t kListingBuffer = 32 * 1024;

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

TreeWalker::TreeWalker(WalkOwner& owner, const NamePattern& pattern)
    : owner_(owner), pattern_(pattern), buffer_(kListingBuffer) {}

TreeWalker::~TreeWalker() = default;

QString TreeWalker::CurrentDir() const { return QFile::decodeName(path_); }

void TreeWalker::Walk(const QString& root) {
  path_ = QFile::encodeName(root);
  if (!path_.endsWith('/')) path_.append('/');
  const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0) {
    if (fd >= 0) ::close(fd);
    owner_.EnterDir(CurrentDir());
    return;
  }
  rootDev_ = info.st_dev;
  Frame rootFrame;
  rootFrame.dev = info.st_dev;
  rootFrame.ino = info.st_ino;
  rootFrame.pathLength = path_.size();
  if (!Visit(fd, rootFrame) || rootFrame.subdirs.empty()) {
    ::close(fd);
    return;
  }
  rootFrame.fd = fd;
  std::vector<Frame> stack;
  stack.push_back(std::move(rootFrame));
  while (!stack.empty() && owner_.Scanning()) {
    const Frame& top = stack.back();
    if (top.next >= top.subdirs.size())
      Ascend(stack);
    else
      Descend(stack);
  }
  for (const Frame& frame : stack)
    if (frame.fd >= 0) ::close(frame.fd);
}

void TreeWalker::Descend(std::vector<Frame>& stack) {
  Frame& top = stack.back();
  const char* name = top.subdirs.data() + top.next;
  const std::size_t length = std::strlen(name);
  top.next += length + 1;
  path_.truncate(top.pathLength);
  path_.append(name, static_cast<qsizetype>(length));
  path_.append('/');
  if (mountPoints_.contains(path_)) return;

  const int fd = ::openat(top.fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const int error = errno;
    // Replaced by a link or a file, or gone since it was listed: nothing to report.
    if (error == ELOOP || error == ENOTDIR || error == ENOENT) return;
    struct stat info {};
    if (::fstatat(top.fd, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && info.st_dev != rootDev_) return;
    // Listed but not readable: it is entered and yields nothing more.
    owner_.EnterDir(CurrentDir());
    return;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_dev != rootDev_) {
    ::close(fd);
    return;
  }
  Frame child;
  child.dev = info.st_dev;
  child.ino = info.st_ino;
  child.pathLength = path_.size();
  if (!Visit(fd, child) || child.subdirs.empty()) {
    ::close(fd);
    return;
  }
  child.fd = fd;
  stack.push_back(std::move(child));
  if (stack.size() > kOpenLevels) {
    Frame& far = stack[stack.size() - 1 - kOpenLevels];
    if (far.fd >= 0) {
      ::close(far.fd);
      far.fd = -1;
    }
  }
}

void TreeWalker::Ascend(std::vector<Frame>& stack) {
  Frame& top = stack.back();
  if (stack.size() >= 2) {
    Frame& parent = stack[stack.size() - 2];
    if (parent.fd < 0 && top.fd >= 0) {
      const int fd = ::openat(top.fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
      struct stat info {};
      if (fd >= 0 && ::fstat(fd, &info) == 0 && info.st_dev == parent.dev &&
          info.st_ino == parent.ino)
        parent.fd = fd;
      else if (fd >= 0)
        ::close(fd);
    }
    // The folder was moved away during the scan: its other subdirectories are out of reach.
    if (parent.fd < 0) parent.next = parent.subdirs.size();
  }
  if (top.fd >= 0) ::close(top.fd);
  stack.pop_back();
}

bool TreeWalker::Visit(int fd, Frame& frame) {
  const QString directory = CurrentDir();
  owner_.EnterDir(directory);
  owner_.Tick();
  if (!owner_.Scanning()) return false;

  matches_.clear();
  for (;;) {
    const ssize_t got = ::getdents64(fd, buffer_.data(), buffer_.size());
    // A listing that fails part way keeps what was read.
    if (got <= 0) break;
    for (ssize_t offset = 0; offset < got;) {
      const auto* entry = reinterpret_cast<const struct dirent64*>(buffer_.data() + offset);
      offset += entry->d_reclen;
      const char* name = entry->d_name;
      if (IsDotOrDotDot(name)) continue;
      if (++sinceTick_ >= kTickEntries) {
        sinceTick_ = 0;
        owner_.Tick();
      }
      if (!owner_.Scanning()) return false;
      const std::size_t length = std::strlen(name);
      if (pattern_.Matches(name, length)) matches_.append(name, length + 1);
      if (name[0] == '.') continue;
      bool isDir = entry->d_type == DT_DIR;
      if (entry->d_type == DT_UNKNOWN) {
        struct stat info {};
        isDir = ::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
      }
      if (isDir) frame.subdirs.append(name, length + 1);
    }
  }

  if (!matches_.empty()) {
    owner_.ClearSkip();
    for (std::size_t offset = 0; offset < matches_.size();) {
      const char* name = matches_.data() + offset;
      const std::size_t length = std::strlen(name);
      offset += length + 1;
      owner_.Tick();
      if (!owner_.Scanning()) return false;
      if (owner_.TakeSkip()) break;
      owner_.ReportName(directory,
                        QFile::decodeName(QByteArray(name, static_cast<qsizetype>(length))));
    }
  }
  return owner_.Scanning();
}

}  // namespace lyrova
