#pragma once

#include <QString>

// The Player's transparency steps and whether the running platform can show them.
namespace lyrova {

inline constexpr int kTransparencySteps = 15;  // steps 0 (opaque) to 14 (70 %)

// The alpha byte of a transparency step: 255 for step 0, else (10 - 0.5 s) / 10 * 255 rounded to
// the nearest integer with halves to even (step 10 gives 128, step 14 gives 76). Steps outside
// 0..14 are clamped first, so no stored value can make the window vanish.
int AlphaForStep(int step);

// The same as the window opacity Qt takes (alpha / 255).
double OpacityForStep(int step);

// "不透明" for step 0, else 5 s followed by "%": the caption of menu item `step`.
QString TransparencyItemCaption(int step);
// "透明度: " followed by 5 s and "%": the caption of the transparency menu.
QString TransparencyMenuCaption(int step);

// Whether windows of the named Qt platform can be made partly transparent (xcb and windows can;
// offscreen, wayland and the others cannot).
bool LayeredAvailableOn(const QString& platformName);
// The same for the running application (false before a QGuiApplication exists).
bool LayeredAvailable();

}  // namespace lyrova
