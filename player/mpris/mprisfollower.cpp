#include "player/mpris/mprisfollower.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <algorithm>
#include <chrono>
#include <limits>

namespace lyrova {
namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");

bool IsPlayerName(const QString& name) {
  return name.startsWith(MprisFollower::kNamePrefix) && name.size() > MprisFollower::kNamePrefix.size();
}

bool IsOwnName(const QString& name) {
  return name == MprisFollower::kOwnBusName || name.startsWith(MprisFollower::kOwnBusName + u'.');
}

}  // namespace

MprisFollower::MprisFollower(Options options, QObject* parent)
    : FollowSource(parent), options_(std::move(options)) {
  if (options_.ownPid == 0) options_.ownPid = QCoreApplication::applicationPid();
  reread_.setSingleShot(true);
  connect(&reread_, &QTimer::timeout, this, [this] {
    if (settleReads_ > 0) --settleReads_;
    ReadPosition();
  });
  QDBusConnection& bus = options_.connection;
  if (!bus.isConnected()) {
    problem_ = QStringLiteral("没有会话总线，无法跟随其他播放器");
    return;
  }
  bus.connect(kBusService, kBusPath, kBusService, QStringLiteral("NameOwnerChanged"), this,
              SLOT(OnNameOwnerChanged(QString, QString, QString)));
  // One subscription each for all players; the sender tells them apart.
  bus.connect(QString(), kObjectPath, kPropertiesInterface, QStringLiteral("PropertiesChanged"), this,
              SLOT(OnPropertiesChanged(QDBusMessage)));
  bus.connect(QString(), kObjectPath, kPlayerInterface, QStringLiteral("Seeked"), this,
              SLOT(OnSeeked(QDBusMessage)));
  ListPlayers();
}

MprisFollower::~MprisFollower() = default;

qint64 MprisFollower::Now() const {
  if (options_.clockMs) return options_.clockMs();
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// --- The players on the bus ---

void MprisFollower::ListPlayers() {
  const QDBusMessage call =
      QDBusMessage::createMethodCall(kBusService, kBusPath, kBusService, QStringLiteral("ListNames"));
  auto* watcher = new QDBusPendingCallWatcher(options_.connection.asyncCall(call, kCallTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    const QDBusPendingReply<QStringList> reply = *w;
    if (reply.isError()) return;
    for (const QString& name : reply.value()) {
      if (!IsPlayerName(name) || players_.contains(name)) continue;
      const QDBusReply<QString> owner = options_.connection.interface()->serviceOwner(name);
      if (owner.isValid()) AddPlayer(name, owner.value());
    }
  });
}

void MprisFollower::OnNameOwnerChanged(const QString& name, const QString& oldOwner,
                                       const QString& newOwner) {
  Q_UNUSED(oldOwner);
  if (!IsPlayerName(name)) return;
  RemovePlayer(name);
  if (!newOwner.isEmpty()) AddPlayer(name, newOwner);
}

void MprisFollower::AddPlayer(const QString& name, const QString& owner) {
  if (IsOwnName(name)) return;
  // The bus daemon answers this itself: no player can hold it up.
  const QDBusReply<uint> pid = options_.connection.interface()->servicePid(owner);
  if (!pid.isValid() || qint64(pid.value()) == options_.ownPid) return;
  Player player;
  player.owner = owner;
  players_.insert(name, player);
  ReadProperties(name);
  ReadIdentity(name);
  emit PlayersChanged();
}

void MprisFollower::RemovePlayer(const QString& name) {
  if (players_.remove(name) == 0) return;
  if (name == followed_) Choose();
  emit PlayersChanged();
}

void MprisFollower::ReadProperties(const QString& name) {
  QDBusPendingCallWatcher* watcher =
      Call(name, kPropertiesInterface, QStringLiteral("GetAll"), {kPlayerInterface});
  const QString owner = players_.value(name).owner;
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, name, owner](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    const auto found = players_.find(name);
    if (found == players_.end() || found->owner != owner) return;  // gone, or another program now
    const QDBusPendingReply<QVariantMap> reply = *w;
    found->ready = true;
    if (!reply.isError()) Apply(name, reply.value());
    Choose();
  });
}

void MprisFollower::ReadIdentity(const QString& name) {
  QDBusPendingCallWatcher* watcher =
      Call(name, kPropertiesInterface, QStringLiteral("Get"), {kRootInterface, QStringLiteral("Identity")});
  const QString owner = players_.value(name).owner;
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, name, owner](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    const auto found = players_.find(name);
    if (found == players_.end() || found->owner != owner) return;
    const QDBusPendingReply<QDBusVariant> reply = *w;
    if (reply.isError()) return;
    found->identity = TextFrom(reply.value().variant()).left(100);
    emit PlayersChanged();
  });
}

QStringList MprisFollower::NamesOwnedBy(const QString& owner) const {
  QStringList names;
  for (auto it = players_.cbegin(); it != players_.cend(); ++it)
    if (it->owner == owner) names.append(it.key());
  return names;
}

void MprisFollower::OnPropertiesChanged(const QDBusMessage& message) {
  const QVariantList arguments = message.arguments();
  if (arguments.size() < 2) return;
  const QString interface = arguments.at(0).toString();
  const QVariantMap changed = MapFrom(arguments.at(1));
  const bool invalidated = arguments.size() > 2 && !arguments.at(2).toStringList().isEmpty();
  for (const QString& name : NamesOwnedBy(message.service())) {
    if (interface == kPlayerInterface) {
      Apply(name, changed);
      // A player that only says what changed, not to what, is asked.
      if (invalidated) ReadProperties(name);
    } else if (interface == kRootInterface && changed.contains(QStringLiteral("Identity"))) {
      players_[name].identity = TextFrom(changed.value(QStringLiteral("Identity"))).left(100);
      emit PlayersChanged();
    }
  }
  if (interface == kPlayerInterface) Choose();
}

void MprisFollower::OnSeeked(const QDBusMessage& message) {
  const Player* player = FollowedPlayer();
  if (player == nullptr || message.service() != player->owner || message.arguments().isEmpty()) return;
  const std::optional<qint32> ms = MillisecondsFrom(message.arguments().at(0));
  if (!ms) return;
  position_.Reset(*ms, Now());
  settleReads_ = kSettleReads;
  ScheduleReread();
  emit PlaybackChanged();
}

void MprisFollower::Apply(const QString& name, const QVariantMap& properties) {
  const auto found = players_.find(name);
  if (found == players_.end()) return;
  Player& player = *found;
  const bool followed = name == followed_;
  bool trackChanged = false;
  bool playbackChanged = false;
  const qint64 now = Now();
  if (properties.contains(QStringLiteral("PlaybackStatus"))) {
    const MprisStatus status = StatusFrom(properties.value(QStringLiteral("PlaybackStatus")));
    if (status != player.status) {
      if (status == MprisStatus::Playing) player.startedAt = ++startCount_;
      player.status = status;
      playbackChanged = true;
    }
  }
  if (properties.contains(QStringLiteral("Metadata"))) {
    const QVariant metadata = properties.value(QStringLiteral("Metadata"));
    const FollowedTrack track = TrackFrom(metadata);
    player.trackPath = TrackObjectPath(metadata);
    if (!(track == player.track)) {
      trackChanged = track.id != player.track.id;
      playbackChanged = playbackChanged || !trackChanged;  // only the length is new
      player.track = track;
    }
  }
  if (const auto rate = RateFrom(properties.value(QStringLiteral("Rate"))); rate && *rate != player.rate) {
    player.rate = *rate;
    if (followed) position_.SetRate(*rate, now);
    playbackChanged = true;
  }
  for (const auto& [key, field] : {std::pair{QStringLiteral("CanPause"), &Player::canPause},
                                   std::pair{QStringLiteral("CanSeek"), &Player::canSeek}}) {
    const auto value = BoolFrom(properties.value(key));
    if (value && *value != player.*field) {
      player.*field = *value;
      playbackChanged = true;
    }
  }
  if (!followed) return;
  position_.SetLengthMs(player.track.lengthMs);
  if (trackChanged) {
    ++generation_;
    position_.Reset(0, now);
  }
  if (player.status == MprisStatus::Playing && (trackChanged || !position_.Running())) settleReads_ = kSettleReads;
  position_.SetRunning(player.status == MprisStatus::Playing, now);
  if (const auto ms = MillisecondsFrom(properties.value(QStringLiteral("Position")))) {
    position_.Read(*ms, now);
    playbackChanged = true;
  } else if (trackChanged || (playbackChanged && properties.contains(QStringLiteral("PlaybackStatus")))) {
    ReadPosition();
  }
  ScheduleReread();
  if (trackChanged) emit TrackChanged();
  if (playbackChanged && !trackChanged) emit PlaybackChanged();
}

// The pinned player when it is there; else the one that began playing last among those that
// play; else the one followed so far while it stays; else the one that played last.
void MprisFollower::Choose() {
  QString best;
  if (players_.value(pinned_).ready) {
    best = pinned_;
  } else {
    qint64 bestPlaying = -1;
    qint64 bestEver = -1;
    QString lastPlayed;
    for (auto it = players_.cbegin(); it != players_.cend(); ++it) {
      if (!it->ready) continue;
      if (it->status == MprisStatus::Playing && it->startedAt > bestPlaying) {
        bestPlaying = it->startedAt;
        best = it.key();
      }
      // Ties (never seen playing) go to the first name, so the choice does not wander.
      if (it->startedAt > bestEver || (it->startedAt == bestEver && it.key() < lastPlayed)) {
        bestEver = it->startedAt;
        lastPlayed = it.key();
      }
    }
    if (best.isEmpty()) best = players_.value(followed_).ready ? followed_ : lastPlayed;
  }
  if (best == followed_) return;
  followed_ = best;
  FollowAnew();
  emit PlayersChanged();
}

void MprisFollower::FollowAnew() {
  ++generation_;
  position_ = RunningPosition{};
  reread_.stop();
  const Player* player = FollowedPlayer();
  if (player != nullptr) {
    const qint64 now = Now();
    position_.SetLengthMs(player->track.lengthMs);
    position_.SetRate(player->rate, now);
    position_.SetRunning(player->status == MprisStatus::Playing, now);
    settleReads_ = kSettleReads;
    ReadPosition();
  }
  emit TrackChanged();
}

const MprisFollower::Player* MprisFollower::FollowedPlayer() const {
  const auto found = players_.constFind(followed_);
  return found == players_.cend() ? nullptr : &*found;
}

// --- The followed player's position ---

void MprisFollower::ReadPosition() {
  if (FollowedPlayer() == nullptr) return;
  // One read at a time: a player slow to answer is not asked again and again.
  if (reading_) {
    readAgain_ = true;
    return;
  }
  reading_ = true;
  QDBusPendingCallWatcher* watcher =
      Call(followed_, kPropertiesInterface, QStringLiteral("Get"), {kPlayerInterface, QStringLiteral("Position")});
  const qint64 sentAt = Now();
  const quint64 generation = generation_;
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, sentAt, generation](QDBusPendingCallWatcher* w) { PositionRead(w, sentAt, generation); });
}

void MprisFollower::PositionRead(QDBusPendingCallWatcher* watcher, qint64 sentAtMs, quint64 generation) {
  watcher->deleteLater();
  reading_ = false;
  const QDBusPendingReply<QDBusVariant> reply = *watcher;
  if (generation == generation_ && !reply.isError()) {
    if (const auto ms = MillisecondsFrom(reply.value().variant())) {
      // The answer was true somewhere between asking and hearing: the middle is the best guess.
      const qint64 at = sentAtMs + (Now() - sentAtMs) / 2;
      // A read that moves the position on (not only a seek) is told, so the session plans its
      // next moment from the new position instead of the old one.
      const qint64 before = position_.At(Now());
      if (position_.Read(*ms, at) || position_.At(Now()) != before) emit PlaybackChanged();
    }
  }
  if (readAgain_) {
    readAgain_ = false;
    ReadPosition();
    return;
  }
  ScheduleReread();
}

void MprisFollower::ScheduleReread() {
  const Player* player = FollowedPlayer();
  if (player == nullptr || player->status != MprisStatus::Playing) {
    reread_.stop();
    settleReads_ = 0;
  } else if (settleReads_ > 0) {
    reread_.start(kSettleRereadMs);
  } else {
    reread_.start(kRereadMs);
  }
}

// --- FollowSource ---

FollowedTrack MprisFollower::Track() const {
  const Player* player = FollowedPlayer();
  if (player == nullptr) return {};
  FollowedTrack track = player->track;
  // The same track in another player is another track to follow.
  if (!track.id.isEmpty()) track.id = followed_ + u'\n' + track.id;
  return track;
}

bool MprisFollower::IsPlaying() const {
  const Player* player = FollowedPlayer();
  return player != nullptr && player->status == MprisStatus::Playing;
}

qint32 MprisFollower::PositionMs() const {
  return qint32(std::min<qint64>(position_.At(Now()), std::numeric_limits<qint32>::max()));
}

bool MprisFollower::CanPause() const {
  const Player* player = FollowedPlayer();
  return player != nullptr && player->canPause;
}

bool MprisFollower::CanSeek() const {
  const Player* player = FollowedPlayer();
  return player != nullptr && player->canSeek;
}

double MprisFollower::Rate() const {
  const Player* player = FollowedPlayer();
  return player != nullptr ? player->rate : 1.0;
}

QList<FollowablePlayer> MprisFollower::Players() const {
  QList<FollowablePlayer> list;
  for (auto it = players_.cbegin(); it != players_.cend(); ++it) {
    const QString caption = !it->identity.isEmpty() ? it->identity : it.key().mid(kNamePrefix.size());
    list.append({it.key(), caption});
  }
  std::sort(list.begin(), list.end(), [](const FollowablePlayer& a, const FollowablePlayer& b) {
    return a.caption != b.caption ? a.caption.localeAwareCompare(b.caption) < 0 : a.id < b.id;
  });
  return list;
}

void MprisFollower::Pin(const QString& id) {
  if (id == pinned_) return;
  pinned_ = id;
  Choose();
  emit PlayersChanged();
}

// --- Commands ---

QDBusPendingCallWatcher* MprisFollower::Call(const QString& name, const QString& interface,
                                            const QString& method, const QVariantList& arguments) {
  QDBusMessage call = QDBusMessage::createMethodCall(name, kObjectPath, interface, method);
  call.setArguments(arguments);
  ++callsMade_;
  return new QDBusPendingCallWatcher(options_.connection.asyncCall(call, kCallTimeoutMs), this);
}

void MprisFollower::PlayPause() {
  if (FollowedPlayer() == nullptr) return;
  QDBusPendingCallWatcher* watcher = Call(followed_, kPlayerInterface, QStringLiteral("PlayPause"), {});
  connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
}

void MprisFollower::StopPlayback() {
  if (FollowedPlayer() == nullptr) return;
  QDBusPendingCallWatcher* watcher = Call(followed_, kPlayerInterface, QStringLiteral("Stop"), {});
  connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
}

void MprisFollower::SetPosition(qint32 positionMs) {
  const Player* player = FollowedPlayer();
  if (player == nullptr || !player->canSeek) return;
  const qint64 target = std::max<qint64>(positionMs, 0);
  QDBusPendingCallWatcher* watcher = nullptr;
  // SetPosition names the track, so it cannot move the next one; without a usable track id
  // only the relative Seek is left.
  if (!player->trackPath.isEmpty()) {
    watcher = Call(followed_, kPlayerInterface, QStringLiteral("SetPosition"),
                   {QVariant::fromValue(QDBusObjectPath(player->trackPath)), QVariant::fromValue(target * 1000)});
  } else {
    watcher = Call(followed_, kPlayerInterface, QStringLiteral("Seek"),
                   {QVariant::fromValue((target - position_.At(Now())) * 1000)});
  }
  connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
  // Shown at once; the player's Seeked (or the next read) says where it really went.
  position_.Reset(target, Now());
  emit PlaybackChanged();
}

}  // namespace lyrova
