// PlayerSession in follow mode: the lyrics of what another player plays. The drawing and the
// wake-up plan are the same as for a song of its own (see playersession.cpp); only where the
// position, the length and the track come from differs.
#include "common/paths.h"
#include "media/mediacontrol.h"
#include "player/core/playersession.h"
#include "player/lookup/lyricslookup.h"

namespace lyrova {

void PlayerSession::Follow(FollowSource* source) {
  if (source == follow_) return;
  if (follow_ != nullptr) disconnect(follow_, nullptr, this, nullptr);
  wakeTimer_.stop();
  seekDragging_ = false;
  if (source != nullptr) services_.media->CloseMedia();
  follow_ = source;
  followedTrack_ = FollowedTrack{};
  followedSong_.clear();
  followedName_.clear();
  if (follow_ != nullptr) {
    connect(follow_, &FollowSource::TrackChanged, this, &PlayerSession::TakeFollowedTrack);
    connect(follow_, &FollowSource::PlaybackChanged, this, &PlayerSession::FollowedPlaybackChanged);
    // The first look always loads, even when nothing is followed yet (the idle text then).
    followedTrack_.id = QStringLiteral("\n");
    TakeFollowedTrack();
    emit StateChanged();
    return;
  }
  // Back to its own song: chosen and standing, its lyrics as the lookup finds them now.
  lyricsPath_ = openName_.isEmpty() ? QString() : FindSongLyrics();
  lyricsLoaded_ = LoadLyrics();
  cursor_.ForceRedraw();
  Track(0);
  DrawProgress(0);
  ShowIdleText();
  emit StateChanged();
}

void PlayerSession::TakeFollowedTrack() {
  const FollowedTrack track = follow_->Track();
  const bool sameTrack = track.id == followedTrack_.id && track.filePath == followedTrack_.filePath &&
                         track.artist == followedTrack_.artist && track.title == followedTrack_.title;
  // Only the length may be new for the same track: it then counts from the next redraw.
  followedTrack_ = track;
  if (!sameTrack) {
    const QString name = TrackName(track.artist, track.title);
    followedSong_ = !track.filePath.isEmpty() ? track.filePath : name;
    followedName_ = !track.filePath.isEmpty() ? TrimBlanks(FileNamePart(track.filePath))
                    : !name.isEmpty()         ? name
                                              : TrimBlanks(track.title);
    // A followed track with nothing to name it by still has lyrics to miss.
    if (followedName_.isEmpty() && !track.id.isEmpty()) followedName_ = QStringLiteral("未知歌曲");
    syncOffset_ = 0;
    lyricsPath_ = track.id.isEmpty() ? QString() : FindSongLyrics();
    lyricsLoaded_ = LoadLyrics();
    ShowIdleText();
  }
  FollowedPlaybackChanged();
}

void PlayerSession::FollowedPlaybackChanged() {
  // Players often tell a track's length only after the track itself (mpv once it has read the
  // file's header); that comes as a playback change of the same track.
  followedTrack_.lengthMs = follow_->Track().lengthMs;
  if (!SongOpen()) {
    wakeTimer_.stop();
    Track(0);
    DrawProgress(0);
    ShowIdleText();
    return;
  }
  lastWakePosition_ = -1;
  // (It may have jumped: a line it lands in is told from the word begun there.)
  WakeAs(LineMode::Send);
}

// The track's own file through the lookup of a song of its own; else, or when that finds
// nothing, its artist and title.
QString PlayerSession::FindFollowedLyrics() const {
  const LyricsLookup lookup(services_.dataFolder, services_.lookupIndex);
  if (!followedTrack_.filePath.isEmpty()) {
    const QString found = lookup.FindLyricsFile(followedTrack_.filePath);
    if (!found.isEmpty()) return found;
  }
  return lookup.FindTrackLyrics(followedTrack_.artist, followedTrack_.title);
}

}  // namespace lyrova
