#include "player/mpris/mprismetadata.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QStringList>
#include <QUrl>

#include <cmath>
#include <limits>

namespace lyrova {
namespace {

bool IsNumber(const QVariant& value) {
  switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::Double:
      return true;
    default:
      return false;
  }
}

QString Cut(const QString& text) { return text.left(kLongestMprisText); }

// A local file from xesam:url: a file:// URL, or a plain absolute path as some players send.
QString LocalFileFrom(const QString& url) {
  if (url.startsWith(u'/')) return url;
  if (!url.startsWith(QStringLiteral("file://"), Qt::CaseInsensitive)) return {};
  const QString path = QUrl(url).toLocalFile();
  return path.startsWith(u'/') ? path : QString();
}

}  // namespace

MprisStatus StatusFrom(const QVariant& value) {
  if (value.metaType().id() != QMetaType::QString) return MprisStatus::Unknown;
  const QString text = value.toString();
  if (text == u"Playing") return MprisStatus::Playing;
  if (text == u"Paused") return MprisStatus::Paused;
  if (text == u"Stopped") return MprisStatus::Stopped;
  return MprisStatus::Unknown;
}

QVariantMap MapFrom(const QVariant& value) {
  if (value.metaType().id() == QMetaType::QVariantMap) return value.toMap();
  if (value.metaType() != QMetaType::fromType<QDBusArgument>()) return {};
  const QDBusArgument argument = value.value<QDBusArgument>();
  if (argument.currentSignature() != u"a{sv}") return {};
  QVariantMap map;
  argument >> map;
  return map;
}

std::optional<qint32> MillisecondsFrom(const QVariant& microseconds) {
  if (!IsNumber(microseconds)) return std::nullopt;
  double ms = 0;
  if (microseconds.metaType().id() == QMetaType::ULongLong)
    ms = double(microseconds.toULongLong()) / 1000.0;
  else if (microseconds.metaType().id() == QMetaType::Double)
    ms = microseconds.toDouble() / 1000.0;
  else
    ms = double(microseconds.toLongLong()) / 1000.0;
  if (!std::isfinite(ms) || ms <= 0) return 0;
  if (ms >= double(std::numeric_limits<qint32>::max())) return std::numeric_limits<qint32>::max();
  return qint32(std::llround(ms));
}

std::optional<bool> BoolFrom(const QVariant& value) {
  if (value.metaType().id() != QMetaType::Bool) return std::nullopt;
  return value.toBool();
}

std::optional<double> RateFrom(const QVariant& value) {
  if (!IsNumber(value)) return std::nullopt;
  const double rate = value.toDouble();
  if (!std::isfinite(rate)) return std::nullopt;
  return rate;
}

QString TextFrom(const QVariant& value) {
  if (value.metaType().id() != QMetaType::QString) return {};
  return Cut(value.toString());
}

QString TrackObjectPath(const QVariant& metadata) {
  const QVariant id = MapFrom(metadata).value(QStringLiteral("mpris:trackid"));
  QString path;
  if (id.metaType() == QMetaType::fromType<QDBusObjectPath>()) path = id.value<QDBusObjectPath>().path();
  else path = TextFrom(id);
  // What QDBusObjectPath accepts: "/" or "/"-separated parts of [A-Za-z0-9_].
  if (path.isEmpty() || path.size() > 255 || !path.startsWith(u'/')) return {};
  if (path == u"/") return path;
  if (path.endsWith(u'/') || path.contains(QStringLiteral("//"))) return {};
  for (const QChar c : path)
    if (!(c == u'/' || c == u'_' || (c.unicode() < 128 && c.isLetterOrNumber()))) return {};
  return path;
}

FollowedTrack TrackFrom(const QVariant& metadata) {
  const QVariantMap map = MapFrom(metadata);
  FollowedTrack track;
  if (map.isEmpty()) return track;
  const QVariant id = map.value(QStringLiteral("mpris:trackid"));
  if (id.metaType() == QMetaType::fromType<QDBusObjectPath>())
    track.id = Cut(id.value<QDBusObjectPath>().path());
  else
    track.id = TextFrom(id);
  const QString url = TextFrom(map.value(QStringLiteral("xesam:url")));
  track.filePath = LocalFileFrom(url);
  const QVariant artist = map.value(QStringLiteral("xesam:artist"));
  if (artist.metaType().id() == QMetaType::QStringList)
    track.artist = Cut(artist.toStringList().join(QStringLiteral(", ")));
  else
    track.artist = TextFrom(artist);
  track.title = TextFrom(map.value(QStringLiteral("xesam:title")));
  track.lengthMs = MillisecondsFrom(map.value(QStringLiteral("mpris:length"))).value_or(0);
  // The id tells tracks apart: players that give none (or one for all) still change the url or
  // the title from track to track.
  track.id = track.id + u'\n' + url.left(kLongestMprisText) + u'\n' + track.artist + u'\n' + track.title;
  return track;
}

}  // namespace lyrova
