#pragma once

#include <QString>

#include <array>

// The colour schemes of the lyric strip the settings menu offers, first the designed one. Values
// are in the 0xBBGGRR form of the window's colours; the sung part of a word-timed line always
// takes the progress bar's played colour, so every band here is dark enough to carry it.
namespace lyrova {

struct LyricColorScheme {
  QString name;
  unsigned band;
  unsigned current;
  unsigned next;
};

inline constexpr int kLyricColorSchemeCount = 4;

inline const std::array<LyricColorScheme, kLyricColorSchemeCount>& LyricColorSchemes() {
  static const std::array<LyricColorScheme, kLyricColorSchemeCount> schemes = {{
      {QStringLiteral("默认"), 0xC00000, 0x00FF00, 0xFF00FF},
      {QStringLiteral("夜色"), 0x202020, 0xF0F0F0, 0xA0A0A0},
      {QStringLiteral("琥珀"), 0x102040, 0x40C0FF, 0x90D8F0},
      {QStringLiteral("墨绿"), 0x204010, 0xA0FFFF, 0x90E090},
  }};
  return schemes;
}

}  // namespace lyrova
