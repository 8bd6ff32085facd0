#include "common/audiofilters.h"

namespace lyrova {

QString AllAudioPatterns() {
  // The old set first, then the lossless and container formats a present-day collection holds.
  return QStringLiteral(
      "*.ac3;*.dts;*.mp3;*.mpa;*.mp2;*.m1a;*.m2a;*.mid;*.midi;*.rmi;*.aac;*.wma;*.ogg;*.wav;"
      "*.flac;*.opus;*.m4a;*.ape;*.wv;*.aiff;*.aif;*.mka");
}

QString AudioOpenFilter() {
  return QStringLiteral("全部音频|") + AllAudioPatterns() +
         QStringLiteral(
             "|MP3 格式音频|*.mp3|MPEG 音频文件|*.mpa;*.mp2;*.m1a;*.m2a"
             "|Windows Media 音频文件|*.wma|WAV 音频文件|*.wav"
             "|Ogg Vorbis 音频文件|*.ogg|MPEG4 音频文件|*.aac"
             "|DVD 音频文件|*.ac3;*.dts|MIDI 文件|*.mid;*.midi;*.rmi|所有文件|*.*");
}

}  // namespace lyrova
