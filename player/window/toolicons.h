#pragma once

#include "player/window/playerbutton.h"

#include <QPixmap>

// The pictures of the Player's toolbar (`ControlButt` items), drawn by the program itself.
namespace lyrova {

// The side of a toolbar button and of the square its picture is drawn in.
inline constexpr int kPlayerButtonSide = 18;
inline constexpr int kPlayerIconSide = 14;

// `variant` 1 is the "on" picture of the keep-on-top and sending buttons.
QPixmap ToolIcon(PlayerButton button, int variant = 0);

}  // namespace lyrova
