#pragma once

#include "player/core/followsource.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QtGlobal>

#include <optional>

// What the properties of an MPRIS player (the org.mpris.MediaPlayer2.Player interface) say, read
// from the loosely typed values other programs send: a value of a wrong type counts as absent,
// texts are cut to a sane length, numbers out of range are clamped. Pure functions, no bus.
namespace lyrova {

// Text from a player is cut to this many characters: enough for any real title, and a player
// that sends a megabyte cannot make the Player carry it around.
inline constexpr qsizetype kLongestMprisText = 1024;

enum class MprisStatus { Unknown, Playing, Paused, Stopped };

// "Playing", "Paused", "Stopped"; anything else (or another type) Unknown.
MprisStatus StatusFrom(const QVariant& value);

// A track from the "Metadata" map (an a{sv}, also when it arrives as a QDBusArgument):
// mpris:trackid (object path or string) as the id, xesam:url as the local file when it is a
// file:// URL (or a plain absolute path), xesam:artist (a list, joined by ", ", or one string),
// xesam:title, mpris:length in microseconds. The id is never "" for a map that says anything
// at all: without a track id it is made from the url and the title.
FollowedTrack TrackFrom(const QVariant& metadata);

// mpris:trackid when it is an object path (what SetPosition needs); "" otherwise.
QString TrackObjectPath(const QVariant& metadata);

// A map from an a{sv} value that may arrive as a QVariantMap or a QDBusArgument; empty else.
QVariantMap MapFrom(const QVariant& value);

// Microseconds (any integer or floating type) as milliseconds clamped to 0..INT32_MAX; none
// for another type.
std::optional<qint32> MillisecondsFrom(const QVariant& microseconds);

// A Boolean property; none for another type.
std::optional<bool> BoolFrom(const QVariant& value);

// A rate; none for another type or a value that is not a finite number.
std::optional<double> RateFrom(const QVariant& value);

// A text property cut to kLongestMprisText; "" for another type.
QString TextFrom(const QVariant& value);

}  // namespace lyrova
