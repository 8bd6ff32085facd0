#pragma once

// The thirteen buttons of the Player's toolbar, left to right; the value is the button's place in
// the `ControlButt` array and in the hint list.
namespace lyrova {

enum class PlayerButton {
  Open,
  Play,
  Pause,
  Stop,
  KeepOnTop,
  SendLyrics,
  SendTarget,
  ShiftTiming,
  Decoration,
  ChatStrip,
  Settings,
  Help,
  Exit,
};

inline constexpr int kPlayerButtonCount = int(PlayerButton::Exit) + 1;

constexpr int ButtonIndex(PlayerButton button) { return int(button); }

}  // namespace lyrova
