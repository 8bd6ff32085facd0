#include "player/lookup/lookupindex.h"

#include "common/casematch.h"
#include "player/lookup/lyricslookup.h"
#include "common/listfiles.h"
#include "common/paths.h"
#include "common/programcontract.h"
#include "player/lookup/indexstate.h"
#include "player/lookup/linktable.h"
#include "player/lookup/listfilecache.h"
#include "player/lookup/searchdirs.h"

#include <QElapsedTimer>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace lyrova {
namespace {

// Lines of the list that named no folder are asked about at every lookup up to this many (a
// stat each); beyond that only the worker's check after a lookup finds one appearing.
constexpr qsizetype kAbsentPolled = 256;
// A folder that keeps changing (a download going on) is listed again at most this often.
constexpr qint64 kRelistGapMs = 100;
// The worker's check that every folder is still the one listed runs at most this often.
constexpr qint64 kRecheckGapMs = 1000;
constexpr int kNoWakeUpPollMs = 20;

qint64 NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

class LookupIndex::Impl {
 public:
  Impl(const QString& dataFolder, bool watchFolders)
      : dataFolder_(dataFolder),
        watchFolders_(watchFolders),
        builtInDir_(JoinPath(dataFolder, kBuiltInLyricsFolder)),
        callerList_(JoinPath(dataFolder, kSearchDirFileName)),
        workerList_(JoinPath(dataFolder, kSearchDirFileName)),
        links_(JoinPath(dataFolder, kLinkFileName)),
        wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

  ~Impl() {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    Wake();
    if (worker_.joinable()) worker_.join();
    if (wakeFd_ >= 0) ::close(wakeFd_);
  }

  void Start() {
    const std::lock_guard lock(mutex_);
    if (started_) return;
    started_ = true;
    ++wanted_;
    worker_ = std::thread([this] { Run(); });
  }

  QStringList SearchDirs() {
    const Snapshot list = CallerList();
    {
      std::unique_lock lock(mutex_);
      if (UsableLocked(list.digest)) return state_->dirs;
    }
    return DistinctSearchDirs(builtInDir_, ParseSearchDirLines(list.lines));
  }

  QString FindInSearchDirs(const QString& name) {
    const Snapshot list = CallerList();
    QStringList candidates;
    bool indexed = false;
    {
      std::unique_lock lock(mutex_);
      indexed = UsableLocked(list.digest);
      if (indexed) candidates = CandidatesLocked(name);
      if (indexed && !recheckWanted_ && NowMs() - lastRecheckMs_ >= kRecheckGapMs) {
        recheckWanted_ = true;
        Wake();
      }
    }
    if (!indexed) candidates = DistinctSearchDirs(builtInDir_, ParseSearchDirLines(list.lines));
    for (const QString& dir : std::as_const(candidates)) {
      const QString found = FindFileIgnoringCase(JoinPath(dir, name));
      if (!found.isEmpty()) return found;
    }
    return {};
  }

  QString FindLink(const QString& songPath) {
    const QString song = TrimBlanks(songPath);
    if (!SongEntryExists(song)) return {};
    const std::lock_guard lock(linkMutex_);
    return links_.Find(song);
  }

  bool IsReady() {
    const std::lock_guard lock(mutex_);
    return ReadyLocked();
  }

  bool WaitUntilReady(int timeoutMs) {
    const Snapshot list = CallerList();
    std::unique_lock lock(mutex_);
    RequestBuildIfNewLocked(list.digest);
    return ready_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
      return ReadyLocked() && state_->listDigest == list.digest;
    });
  }

  Status CurrentStatus() {
    const std::lock_guard lock(mutex_);
    Status status = status_;
    status.ready = ReadyLocked();
    return status;
  }

  const QString& DataFolder() const { return dataFolder_; }

 private:
  struct Snapshot {
    QByteArray digest;
    QStringList lines;
  };

  // The list file as the caller's lookups read it: one stat unless it changed.
  Snapshot CallerList() {
    const std::lock_guard lock(callerMutex_);
    callerList_.Refresh();
    return {callerList_.Digest(), callerList_.Lines()};
  }

  void Wake() {
    if (wakeFd_ < 0) return;
    const eventfd_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
  }

  bool ReadyLocked() const { return state_ && !stale_ && built_ == wanted_; }

  // A build of a list other than `digest`, one being made or one finished, is asked for.
  void RequestBuildIfNewLocked(const QByteArray& digest) {
    if (!started_) return;
    if (building_ ? buildingDigest_ == digest : (state_ && state_->listDigest == digest))
      return;
    if (!building_ && built_ != wanted_) return;  // asked for already, not yet begun
    ++wanted_;
    Wake();
  }

  void OutdateLocked() {
    if (stale_) return;
    stale_ = true;
    ++wanted_;
    Wake();
  }

  // True when the index answers for the list with `digest` as the disk is now: notices read,
  // absent folders asked about. Otherwise the caller takes the unindexed path, and a build is
  // asked for when the list or the disk changed.
  bool UsableLocked(const QByteArray& digest) {
    RequestBuildIfNewLocked(digest);
    if (!ReadyLocked() || state_->listDigest != digest) return false;
    DrainLocked();
    const qsizetype polled = std::min(state_->absent.size(), kAbsentPolled);
    for (qsizetype i = 0; i < polled && !stale_; ++i)
      if (DirExists(state_->absent.at(i))) OutdateLocked();
    return !stale_;
  }

  // Reads the queued notices into the folders: a changed folder is checked on disk until
  // listed again; one gone, or a lost notice, outdates the whole build.
  void DrainLocked() {
    if (!state_ || stale_) return;
    QList<FolderWatch::Notice> notices;
    bool overflow = false;
    state_->watch.Drain(&notices, &overflow);
    if (overflow) OutdateLocked();
    for (const FolderWatch::Notice& notice : std::as_const(notices)) {
      if (notice.watch == state_->dataWatch) {
        if (notice.gone || notice.name == kBuiltInLyricsFolder.toUtf8()) {
          OutdateLocked();
        } else if (notice.name == kSearchDirFileName.toUtf8()) {
          listChanged_ = true;
          Wake();
        }
      }
      const auto folders = state_->foldersOfWatch.constFind(notice.watch);
      if (folders == state_->foldersOfWatch.cend()) continue;
      if (notice.gone) OutdateLocked();
      for (const qint32 index : *folders) {
        IndexedFolder& folder = state_->folders[static_cast<std::size_t>(index)];
        folder.dirty = true;
        ++folder.changes;
      }
      Wake();
    }
  }

  // The folders that may hold `name`, in list order: those whose names hold its key, and those
  // the index cannot speak for (changed, unreadable, or compared by stat and found changed).
  QStringList CandidatesLocked(const QString& name) {
    QList<qint32> indexes;
    state_->names.AppendFolders(CaseKey(name), &indexes);
    const qint64 now = WallClockNs();
    for (std::size_t i = 0; i < state_->folders.size(); ++i) {
      IndexedFolder& folder = state_->folders[i];
      if (folder.watch < 0 && folder.listed && !folder.dirty) {
        const FileStamp stamp = StampOf(folder.path);
        if (!(stamp == folder.stamp) || (!folder.settled && Settled(folder.stamp, now))) {
          folder.dirty = true;
          Wake();
        }
      }
      // A folder compared by stat whose listing came within the timestamp slack of a change
      // could have changed again unseen: it is checked on disk until listed again later.
      if (folder.dirty || !folder.listed || (folder.watch < 0 && !folder.settled))
        indexes.append(qint32(i));
    }
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    QStringList dirs;
    dirs.reserve(indexes.size());
    for (const qint32 index : std::as_const(indexes)) dirs.append(state_->dirs.at(index));
    return dirs;
  }

  // The worker: builds, lists changed folders again and checks folder identities, and
  // otherwise sleeps until a notice or a request wakes it.
  void Run() {
    for (;;) {
      enum class Work { None, Build, Relist, Recheck, ListCheck } work = Work::None;
      int watchFd = -1;
      int timeoutMs = -1;
      {
        const std::lock_guard lock(mutex_);
        if (stop_) return;
        DrainLocked();
        if (built_ != wanted_) {
          work = Work::Build;
        } else if (listChanged_) {
          work = Work::ListCheck;
        } else if (state_ && !stale_ && AnyRelistLocked()) {
          const qint64 wait = lastRelistMs_ + kRelistGapMs - NowMs();
          if (wait <= 0)
            work = Work::Relist;
          else
            timeoutMs = int(wait);
        } else if (recheckWanted_) {
          work = Work::Recheck;
        }
        if (state_) watchFd = state_->watch.Descriptor();
      }
      switch (work) {
        case Work::Build: Build(); continue;
        case Work::ListCheck: CheckList(); continue;
        case Work::Relist: Relist(); continue;
        case Work::Recheck: Recheck(); continue;
        case Work::None: break;
      }
      // Without its wake-up descriptor (the system had none to give) the worker looks for
      // requests every few milliseconds instead of sleeping until one comes.
      if (wakeFd_ < 0 && (timeoutMs < 0 || timeoutMs > kNoWakeUpPollMs)) timeoutMs = kNoWakeUpPollMs;
      struct pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {watchFd, POLLIN, 0}};
      ::poll(fds, 2, timeoutMs);
      if (wakeFd_ >= 0) {
        eventfd_t ignored = 0;
        [[maybe_unused]] const int read = ::eventfd_read(wakeFd_, &ignored);
      }
    }
  }

  bool AnyRelistLocked() const {
    return std::any_of(state_->folders.cbegin(), state_->folders.cend(),
                       [](const IndexedFolder& folder) { return folder.dirty; });
  }

  void Build() {
    qint64 generation = 0;
    {
      const std::lock_guard lock(mutex_);
      generation = wanted_;
    }
    QElapsedTimer timer;
    timer.start();
    workerList_.Refresh();
    const QByteArray digest = workerList_.Digest();
    {
      const std::lock_guard lock(mutex_);
      building_ = true;
      buildingDigest_ = digest;
      listChanged_ = false;
    }
    std::unique_ptr<IndexState> next =
        BuildIndexState(dataFolder_, builtInDir_, watchFolders_, workerList_.Lines(), digest, [&] {
          const std::lock_guard lock(mutex_);
          return stop_ || wanted_ != generation;
        });
    std::unique_ptr<IndexState> old;
    {
      const std::lock_guard lock(mutex_);
      building_ = false;
      if (!next || wanted_ != generation) return;
      old = std::move(state_);
      state_ = std::move(next);
      stale_ = false;
      built_ = generation;
      ++status_.builds;
      status_.lastBuildMs = timer.elapsed();
      status_.folders = state_->dirs.size();
      status_.watched = std::count_if(state_->folders.cbegin(), state_->folders.cend(),
                                      [](const IndexedFolder& folder) { return folder.watch >= 0; });
      status_.names = state_->names.NameCount();
    }
    ready_.notify_all();
  }

  // The data folder saw "LrcDir.ini" change: a build follows when its contents did.
  void CheckList() {
    workerList_.Refresh();
    const std::lock_guard lock(mutex_);
    listChanged_ = false;
    RequestBuildIfNewLocked(workerList_.Digest());
  }

  void Relist() {
    struct Job {
      qint32 index;
      QString path;
      quint32 changes;
      FolderListing listing;
    };
    std::vector<Job> jobs;
    const IndexState* listedFor = nullptr;
    {
      const std::lock_guard lock(mutex_);
      listedFor = state_.get();
      for (std::size_t i = 0; i < state_->folders.size(); ++i) {
        const IndexedFolder& folder = state_->folders[i];
        if (folder.dirty) jobs.push_back({qint32(i), folder.path, folder.changes, {}});
      }
    }
    for (Job& job : jobs) job.listing = ListFolder(job.path);
    const std::lock_guard lock(mutex_);
    lastRelistMs_ = NowMs();
    if (state_.get() != listedFor || stale_) return;
    for (Job& job : jobs) {
      IndexedFolder& folder = state_->folders[static_cast<std::size_t>(job.index)];
      if (folder.changes != job.changes) continue;  // changed again meanwhile: listed again
      const FileStamp& now = job.listing.stamp;
      if (!now.exists || now.dev != folder.stamp.dev || now.ino != folder.stamp.ino) {
        OutdateLocked();  // the path leads to another folder, or to none
        return;
      }
      folder.stamp = now;
      folder.settled = job.listing.settled;
      folder.listed = job.listing.listed;
      folder.dirty = false;
      state_->names.SetFolder(job.index, std::move(job.listing.keys));
      ++status_.relisted;
    }
  }

  void Recheck() {
    QStringList dirs;
    QStringList absent;
    std::vector<FileStamp> stamps;
    const IndexState* checkedFor = nullptr;
    {
      const std::lock_guard lock(mutex_);
      recheckWanted_ = false;
      if (!state_ || stale_) return;
      checkedFor = state_.get();
      dirs = state_->dirs;
      absent = state_->absent;
      for (const IndexedFolder& folder : state_->folders) stamps.push_back(folder.stamp);
    }
    const bool moved = SearchListMoved(dirs, stamps, absent);
    const std::lock_guard lock(mutex_);
    lastRecheckMs_ = NowMs();
    if (moved && state_.get() == checkedFor) OutdateLocked();
  }

  const QString dataFolder_;
  const bool watchFolders_;
  const QString builtInDir_;

  std::mutex callerMutex_;
  ListFileCache callerList_;
  ListFileCache workerList_;  // the worker's own reading
  std::mutex linkMutex_;
  LinkTable links_;

  std::mutex mutex_;  // guards everything below
  std::condition_variable ready_;
  std::unique_ptr<IndexState> state_;
  bool stale_ = false;       // a change outdated state_; a build of the same list follows
  qint64 wanted_ = 0;        // builds asked for so far
  qint64 built_ = 0;         // the request state_ answers
  bool building_ = false;
  QByteArray buildingDigest_;
  bool listChanged_ = false;
  bool recheckWanted_ = false;
  qint64 lastRecheckMs_ = 0;
  qint64 lastRelistMs_ = 0;
  bool started_ = false;
  bool stop_ = false;
  Status status_;
  const int wakeFd_;
  std::thread worker_;
};

LookupIndex::LookupIndex(const QString& dataFolder, LookupIndexOptions options)
    : d_(std::make_unique<Impl>(dataFolder, options.watchFolders)) {
  if (options.buildNow) d_->Start();
}

LookupIndex::~LookupIndex() = default;

const QString& LookupIndex::DataFolder() const { return d_->DataFolder(); }
void LookupIndex::StartBuild() const { d_->Start(); }
QStringList LookupIndex::SearchDirs() const { return d_->SearchDirs(); }
QString LookupIndex::FindInSearchDirs(const QString& name) const {
  return d_->FindInSearchDirs(name);
}
QString LookupIndex::FindLink(const QString& songPath) const { return d_->FindLink(songPath); }
bool LookupIndex::IsReady() const { return d_->IsReady(); }
bool LookupIndex::WaitUntilReady(int timeoutMs) const { return d_->WaitUntilReady(timeoutMs); }
LookupIndex::Status LookupIndex::CurrentStatus() const { return d_->CurrentStatus(); }

}  // namespace lyrova
