#pragma once

#include <csignal>

#include <sys/resource.h>

namespace lyrova::testing {

// While it lives, no file of this process may grow beyond `bytes` (the soft file-size limit,
// which needs no privileges), and a write beyond it fails with EFBIG instead of raising SIGXFSZ.
// The way to make a write fail half-way without filling a disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved_;
    small.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool Active() const { return active_; }

 private:
  rlimit saved_{};
  void (*handler_)(int) = nullptr;
  bool active_ = false;
};

}  // namespace lyrova::testing
