#pragma once

// A stand-in MPRIS player on a bus connection of its own, for tests that need exact control
// of what a player says and when: every property, every signal, and whether it answers at all.
// It keeps its own position (run on with a QElapsedTimer while it plays) the way a real player
// does, and records every method called on it.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QStringList>
#include <QVariantMap>

namespace lyrova {

class StandInPlayer : public QDBusVirtualObject {
 public:
  static inline const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
  static inline const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
  static inline const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
  static inline const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

  // `suffix` makes the bus name org.mpris.MediaPlayer2.<suffix>.
  StandInPlayer(const QString& suffix, const QString& identity)
      : name_(QStringLiteral("org.mpris.MediaPlayer2.") + suffix),
        connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("standin-") + suffix)),
        identity_(identity) {
    properties_[QStringLiteral("PlaybackStatus")] = QStringLiteral("Stopped");
    properties_[QStringLiteral("Rate")] = 1.0;
    properties_[QStringLiteral("CanPause")] = true;
    properties_[QStringLiteral("CanSeek")] = true;
    properties_[QStringLiteral("CanPlay")] = true;
    clock_.start();
  }
  ~StandInPlayer() override { Quit(); }

  bool Start() {
    return connection_.registerVirtualObject(kPath, this) && connection_.registerService(name_);
  }
  void Quit() {
    if (!connection_.isConnected()) return;
    connection_.unregisterService(name_);
    connection_.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(connection_.name());
  }

  // Sets a property of the Player interface and announces it, as a player does.
  void Set(const QString& property, const QVariant& value, bool announce = true) {
    if (property == u"PlaybackStatus" || property == u"Rate") positionUs_ = PositionUs(), clock_.restart();
    properties_[property] = value;
    if (!announce) return;
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kProperties, QStringLiteral("PropertiesChanged"));
    signal << kPlayer << QVariantMap{{property, value}} << QStringList();
    connection_.send(signal);
  }
  void SetTrack(const QString& id, const QString& url, const QString& artist, const QString& title,
                qint64 lengthUs) {
    QVariantMap metadata;
    if (!id.isEmpty()) metadata[QStringLiteral("mpris:trackid")] = QVariant::fromValue(QDBusObjectPath(id));
    if (!url.isEmpty()) metadata[QStringLiteral("xesam:url")] = url;
    if (!artist.isEmpty()) metadata[QStringLiteral("xesam:artist")] = QStringList{artist};
    metadata[QStringLiteral("xesam:title")] = title;
    metadata[QStringLiteral("mpris:length")] = lengthUs;
    positionUs_ = 0;
    clock_.restart();
    Set(QStringLiteral("Metadata"), metadata);
  }
  // Moves the position without a word (as a player that does not announce seeks).
  void Jump(qint64 positionUs) {
    positionUs_ = positionUs;
    clock_.restart();
  }
  void Seeked(qint64 positionUs) {
    Jump(positionUs);
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kPlayer, QStringLiteral("Seeked"));
    signal << positionUs;
    connection_.send(signal);
  }

  qint64 PositionUs() const {
    if (properties_.value(QStringLiteral("PlaybackStatus")).toString() != u"Playing") return positionUs_;
    return positionUs_ + qint64(double(clock_.nsecsElapsed() / 1000) * properties_.value(QStringLiteral("Rate")).toDouble());
  }

  QString Name() const { return name_; }
  QDBusConnection& Connection() { return connection_; }
  // Every method called, "Interface.Method" or, for property reads, "Get Property".
  QStringList calls;
  bool answersPosition = true;
  // Overrides what Get of Position answers (in microseconds) when set.
  std::optional<qint64> reportedPositionUs;

  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    const QString interface = message.interface();
    const QString member = message.member();
    const QVariantList args = message.arguments();
    if (interface == kProperties && member == u"Get" && args.size() == 2) {
      const QString property = args.at(1).toString();
      calls.append(QStringLiteral("Get ") + property);
      QVariant value;
      if (args.at(0).toString() == kRoot && property == u"Identity") value = identity_;
      else if (property == u"Position") {
        if (!answersPosition) return true;  // never answers
        value = reportedPositionUs.value_or(PositionUs());
      } else value = properties_.value(property);
      connection.send(message.createReply(QVariant::fromValue(QDBusVariant(value))));
      return true;
    }
    if (interface == kProperties && member == u"GetAll") {
      calls.append(QStringLiteral("GetAll"));
      QVariantMap all = properties_;
      all[QStringLiteral("Position")] = PositionUs();
      connection.send(message.createReply(QVariant::fromValue(all)));
      return true;
    }
    calls.append(interface + u'.' + member);
    if (interface == kPlayer && member == u"PlayPause") {
      const bool playing = properties_.value(QStringLiteral("PlaybackStatus")).toString() == u"Playing";
      Set(QStringLiteral("PlaybackStatus"), playing ? QStringLiteral("Paused") : QStringLiteral("Playing"));
    } else if (interface == kPlayer && member == u"SetPosition" && args.size() == 2) {
      lastSetPositionTrack = args.at(0).value<QDBusObjectPath>().path();
      Seeked(args.at(1).toLongLong());
    } else if (interface == kPlayer && member == u"Seek" && args.size() == 1) {
      Seeked(PositionUs() + args.at(0).toLongLong());
    }
    connection.send(message.createReply());
    return true;
  }

  QString lastSetPositionTrack;

 private:
  QString name_;
  QDBusConnection connection_;
  QString identity_;
  QVariantMap properties_;
  qint64 positionUs_ = 0;
  QElapsedTimer clock_;
};

}  // namespace lyrova
